// XML parsing throughput: our document engine beside pugixml, tinyxml2,
// libxml2 and expat, on the same in-memory documents in one run.
//
// Three documents are generated once: about 8 MB of attribute-heavy symbol
// reference data, about 8 MB of text with entity and character references,
// comments and CDATA sections, and a document of about 4 KB parsed many times.
// Every iteration parses the whole buffer into a new tree and releases it
// (expat has no tree: its callbacks count elements). Throughput is counted in
// document bytes. The ParseWalk group then also reads the whole tree after
// each parse (every element name, attribute and text; our engine beside
// pugixml), so that work a parser defers to later calls is counted.
//
// Two memory counters are taken once per benchmark, outside the timed loop,
// both divided by the document size:
// - retained_bytes_per_doc_byte: the heap in use just after one parse, tree
//   still held, minus the heap in use before it (the finished tree);
// - peak_bytes_per_doc_byte: the high-water mark of the heap during that
//   parse, above what was in use before it (the tree plus whatever the parse
//   used on the way and freed). Every malloc, calloc, realloc, aligned
//   allocation and free of the process goes through the counting wrappers at
//   the end of this file, which add up the usable size of each block; C and
//   C++ parsers are counted alike.
#include "xml/ExtensibleMarkupLanguageDocument.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#if defined(ORV_HAVE_PUGIXML)
#include <pugixml.hpp>
#endif
#if defined(ORV_HAVE_TINYXML2)
#include <tinyxml2.h>
#endif
#if defined(ORV_HAVE_LIBXML2)
#include <libxml/parser.h>
#include <libxml/tree.h>
#endif
#if defined(ORV_HAVE_EXPAT)
#include <expat.h>
#endif

namespace {

constexpr std::size_t kLargeSize = 8u << 20;
constexpr std::size_t kSmallSize = 4u << 10;

// --- The documents ---

const char* const kCurrencies[] = {"EUR", "USD", "GBP", "JPY", "CHF", "AUD", "NZD", "CAD", "SEK", "NOK", "DKK",
    "SGD", "HKD", "ZAR", "MXN", "TRY", "PLN", "CZK", "HUF", "CNH"};
const char* const kExchanges[] = {"CME", "CBOT", "NYMEX", "COMEX", "ICE", "EUREX", "LIFFE", "SGX"};
const char* const kWords[] = {"market", "order", "price", "quote", "symbol", "session", "margin", "clearing",
    "settlement", "position", "ledger", "account", "volume", "spread", "tick", "contract", "expiry", "rollover",
    "hedge", "book", "depth", "fill", "venue", "route"};

// A value from 0 to n - 1, as unsigned for the formats below.
unsigned Pick(std::mt19937& random, unsigned n)
{
    return unsigned(random() % n);
}

// A Pair or Root element of symbol reference data, each with several
// attributes, generated from the counter.
void AppendSymbolElement(std::string& out, std::mt19937& random, unsigned counter)
{
    char line[512];
    if (counter % 4 != 3) {
        const char* base = kCurrencies[random() % std::size(kCurrencies)];
        const char* quote = kCurrencies[random() % std::size(kCurrencies)];
        const bool yen = std::strcmp(quote, "JPY") == 0;
        std::snprintf(line, sizeof line,
            "  <Pair symbol=\"%s/%s\" base=\"%s\" quote=\"%s\" pip=\"%s\" margin=\"0.0%u\" spot=\"%u\" "
            "displayFormat=\"%u\" id=\"%u\"/>\n",
            base, quote, base, quote, yen ? "0.01" : "0.0001", 1 + Pick(random, 9), 1 + Pick(random, 2), yen ? 3 : 5,
            counter);
    } else {
        const char* exchange = kExchanges[random() % std::size(kExchanges)];
        std::snprintf(line, sizeof line,
            "  <Root symbol=\"R%u\" exchange=\"%s\" currency=\"%s\" tick=\"0.%02u\" tickValue=\"%u.5\" "
            "months=\"HMUZ\" session=\"0930-1615\" contractSize=\"%u\"/>\n",
            counter, exchange, kCurrencies[random() % std::size(kCurrencies)], 1 + Pick(random, 99),
            1 + Pick(random, 50), 1000u * (1 + Pick(random, 100)));
    }
    out += line;
}

std::string MakeSymbolData(std::size_t size)
{
    std::string out = "<?xml version=\"1.0\"?>\n<SymbolData version=\"3\">\n";
    std::mt19937 random(42);
    for (unsigned counter = 0; out.size() < size; ++counter) {
        AppendSymbolElement(out, random, counter);
    }
    out += "</SymbolData>\n";
    return out;
}

// A sentence of words with, here and there, the predefined entities, a
// character reference and a numeric reference in hexadecimal.
void AppendSentence(std::string& out, std::mt19937& random)
{
    const unsigned words = 8 + random() % 16;
    for (unsigned i = 0; i < words; ++i) {
        if (i > 0) {
            out += ' ';
        }
        out += kWords[random() % std::size(kWords)];
        switch (random() % 12) {
        case 0:
            out += " &amp;";
            break;
        case 1:
            out += " &lt;";
            break;
        case 2:
            out += " &#169;";
            break;
        case 3:
            out += " &gt;";
            break;
        case 4:
            out += " &quot;x&quot;";
            break;
        default:
            break;
        }
    }
    out += ". ";
}

std::string MakeTextDocument(std::size_t size)
{
    std::string out = "<?xml version=\"1.0\"?>\n<Notes>\n";
    std::mt19937 random(7);
    for (unsigned counter = 0; out.size() < size; ++counter) {
        out += "  <Note id=\"" + std::to_string(counter) + "\">\n    <Title>";
        AppendSentence(out, random);
        out += "</Title>\n    <!-- note " + std::to_string(counter) + ": kept for the audit trail -->\n    <Body>";
        const unsigned sentences = 4 + random() % 8;
        for (unsigned i = 0; i < sentences; ++i) {
            AppendSentence(out, random);
        }
        out += "</Body>\n";
        if (counter % 3 == 0) {
            out += "    <Code><![CDATA[if (bid < ask && size > 0) { route(\"";
            out += kWords[random() % std::size(kWords)];
            out += "\"); }]]></Code>\n";
        }
        out += "  </Note>\n";
    }
    out += "</Notes>\n";
    return out;
}

std::string MakeSmallDocument(std::size_t size)
{
    std::string out = "<?xml version=\"1.0\"?>\n<SymbolData>\n";
    std::mt19937 random(3);
    for (unsigned counter = 0; out.size() + 160 < size; ++counter) {
        if (counter % 5 == 4) {
            out += "  <Comment><!-- desk note -->";
            AppendSentence(out, random);
            out += "<![CDATA[a < b]]></Comment>\n";
        } else {
            AppendSymbolElement(out, random, counter);
        }
    }
    out += "</SymbolData>\n";
    return out;
}

struct Corpus {
    std::string text;
    CByteArray bytes; // the same bytes, for our engine
};

Corpus MakeCorpus(std::string text)
{
    Corpus corpus;
    corpus.text = std::move(text);
    corpus.bytes.SetSize(int(corpus.text.size()));
    std::memcpy(corpus.bytes.GetData(), corpus.text.data(), corpus.text.size());
    return corpus;
}

const Corpus& SymbolData()
{
    static const Corpus corpus = MakeCorpus(MakeSymbolData(kLargeSize));
    return corpus;
}

const Corpus& TextDocument()
{
    static const Corpus corpus = MakeCorpus(MakeTextDocument(kLargeSize));
    return corpus;
}

const Corpus& SmallDocument()
{
    static const Corpus corpus = MakeCorpus(MakeSmallDocument(kSmallSize));
    return corpus;
}

// --- Heap measurement ---

std::size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

} // namespace

// The counting allocation functions (see the top of the file).
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}

namespace {

// Counting is on only while the one measured parse runs, so the timed
// loop pays no more than a test of this flag per call.
std::atomic<bool> g_Counting{false};
// The count starts here, so that frees of older blocks cannot take it below zero.
constexpr std::size_t kPeakBase = std::size_t(1) << 40;
std::atomic<std::size_t> g_HeapBytes{0};
std::atomic<std::size_t> g_HeapPeak{0};

void CountAllocated(void* block)
{
    if (block != nullptr && g_Counting.load(std::memory_order_relaxed)) {
        const std::size_t now = g_HeapBytes.fetch_add(malloc_usable_size(block), std::memory_order_relaxed)
            + malloc_usable_size(block);
        std::size_t peak = g_HeapPeak.load(std::memory_order_relaxed);
        while (now > peak && !g_HeapPeak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
        }
    }
}

void CountFreed(void* block)
{
    if (block != nullptr && g_Counting.load(std::memory_order_relaxed)) {
        g_HeapBytes.fetch_sub(malloc_usable_size(block), std::memory_order_relaxed);
    }
}

// Starts a high-water measurement from zero. (A block allocated before it
// and freed during it would lower the count; a parse frees none of those.)
void StartPeak()
{
    g_HeapBytes.store(kPeakBase, std::memory_order_relaxed);
    g_HeapPeak.store(kPeakBase, std::memory_order_relaxed);
    g_Counting.store(true, std::memory_order_relaxed);
}

// Ends it; returns the high-water mark in bytes.
std::size_t StopPeak()
{
    g_Counting.store(false, std::memory_order_relaxed);
    return g_HeapPeak.load(std::memory_order_relaxed) - kPeakBase;
}

} // namespace

extern "C" {

void* malloc(std::size_t size)
{
    void* block = __libc_malloc(size);
    CountAllocated(block);
    return block;
}

void* calloc(std::size_t count, std::size_t size)
{
    void* block = __libc_calloc(count, size);
    CountAllocated(block);
    return block;
}

void* realloc(void* block, std::size_t size)
{
    const std::size_t old = block != nullptr ? malloc_usable_size(block) : 0;
    void* moved = __libc_realloc(block, size);
    if ((moved != nullptr || size == 0) && g_Counting.load(std::memory_order_relaxed)) {
        g_HeapBytes.fetch_sub(old, std::memory_order_relaxed);
        CountAllocated(moved);
    }
    return moved;
}

void* memalign(std::size_t alignment, std::size_t size)
{
    void* block = __libc_memalign(alignment, size);
    CountAllocated(block);
    return block;
}

void* aligned_alloc(std::size_t alignment, std::size_t size)
{
    return memalign(alignment, size);
}

int posix_memalign(void** result, std::size_t alignment, std::size_t size)
{
    void* block = memalign(alignment, size);
    if (block == nullptr) {
        return ENOMEM;
    }
    *result = block;
    return 0;
}

void free(void* block)
{
    CountFreed(block);
    __libc_free(block);
}

} // extern "C"

namespace {

[[noreturn]] void Abort(const char* parser, const char* document, const std::string& detail)
{
    std::fprintf(stderr, "orv_bench_xml: %s failed to parse the %s document: %s\n", parser, document,
        detail.c_str());
    std::abort();
}

// --- The parsers ---
//
// Each parser is a function that parses a corpus and, while its result is
// still held, calls `held` (the heap measurement); it returns an error text,
// empty on success.

using Held = const std::function<void()>&;

std::string ParseOrv(const Corpus& corpus, Held held)
{
    CExtensibleMarkupLanguageDocument document;
    CDataParser parser;
    // Attached, not handed over: the parser only reads the bytes.
    parser.Initialize(const_cast<CByteArray*>(&corpus.bytes), false);
    const bool parsed = document.Parse(parser);
    benchmark::DoNotOptimize(document.GetRootElement());
    held();
    if (parsed) {
        return {};
    }
    CString tag;
    CString message;
    CParsePoint beginning;
    CParsePoint location;
    document.GetParsingErrorInformation(tag, beginning, location, &message);
    return "line " + std::to_string(location.GetLine()) + ", column " + std::to_string(location.GetColumn())
        + ": " + message.GetString() + " [tag: " + tag.GetString() + "]";
}

#if defined(ORV_HAVE_PUGIXML)
std::string ParsePugixml(const Corpus& corpus, Held held)
{
    pugi::xml_document document;
    const pugi::xml_parse_result result = document.load_buffer(corpus.text.data(), corpus.text.size());
    benchmark::DoNotOptimize(document.first_child());
    held();
    return result ? std::string() : std::string(result.description());
}
#endif

#if defined(ORV_HAVE_TINYXML2)
std::string ParseTinyxml2(const Corpus& corpus, Held held)
{
    tinyxml2::XMLDocument document;
    const tinyxml2::XMLError error = document.Parse(corpus.text.data(), corpus.text.size());
    benchmark::DoNotOptimize(document.RootElement());
    held();
    return error == tinyxml2::XML_SUCCESS ? std::string() : std::string(document.ErrorStr());
}
#endif

#if defined(ORV_HAVE_LIBXML2)
std::string ParseLibxml2(const Corpus& corpus, Held held)
{
    xmlDocPtr document = xmlReadMemory(corpus.text.data(), int(corpus.text.size()), "bench.xml", nullptr,
        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    benchmark::DoNotOptimize(document);
    held();
    if (document == nullptr) {
        const xmlError* error = xmlGetLastError();
        return error != nullptr && error->message != nullptr ? std::string(error->message) : std::string("failed");
    }
    xmlFreeDoc(document);
    return {};
}
#endif

#if defined(ORV_HAVE_EXPAT)
void XMLCALL ExpatStart(void* count, const XML_Char*, const XML_Char**)
{
    ++*static_cast<std::size_t*>(count);
}

void XMLCALL ExpatEnd(void*, const XML_Char*) { }

void XMLCALL ExpatText(void*, const XML_Char*, int) { }

std::string ParseExpat(const Corpus& corpus, Held held)
{
    XML_Parser parser = XML_ParserCreate(nullptr);
    std::size_t elements = 0;
    XML_SetUserData(parser, &elements);
    XML_SetElementHandler(parser, ExpatStart, ExpatEnd);
    XML_SetCharacterDataHandler(parser, ExpatText);
    const XML_Status status = XML_Parse(parser, corpus.text.data(), int(corpus.text.size()), XML_TRUE);
    benchmark::DoNotOptimize(elements);
    held();
    std::string error;
    if (status != XML_STATUS_OK) {
        error = XML_ErrorString(XML_GetErrorCode(parser));
    } else if (elements == 0) {
        error = "no elements";
    }
    XML_ParserFree(parser);
    return error;
}
#endif

// --- Walking a parsed tree ---
//
// A caller reads what it parsed: every element's name and every attribute's
// name and value, and the text of every text node. Each walker visits the
// whole tree and adds up the lengths of what it read and its first bytes, so
// that nothing the parser deferred can go unpaid.

std::size_t WalkOrv(const CExtensibleMarkupLanguageElement& top)
{
    std::size_t sum = 0;
    std::vector<const CExtensibleMarkupLanguageElement*> pending{&top};
    while (!pending.empty()) {
        const CExtensibleMarkupLanguageElement* node = pending.back();
        pending.pop_back();
        const DWORD type = node->GetType();
        if (type == CExtensibleMarkupLanguageElement::typeElement) {
            sum += std::size_t(node->Tag().GetLength()) + BYTE(node->Tag().GetString()[0]);
            DWORD index = 0;
            CExtensibleMarkupLanguageAttribute* attribute = nullptr;
            while (node->GetNextAttribute(index, attribute)) {
                sum += std::size_t(attribute->m_Name.GetLength()) + std::size_t(attribute->m_Value.GetLength())
                    + BYTE(attribute->m_Value.GetString()[0]);
            }
        } else if (type == CExtensibleMarkupLanguageElement::typeTextSegment) {
            sum += std::size_t(node->Contents().GetLength()) + BYTE(node->Contents().GetString()[0]);
        }
        DWORD index = 0;
        CExtensibleMarkupLanguageElement* child = nullptr;
        while (node->GetNextChild(index, child)) {
            pending.push_back(child);
        }
    }
    return sum;
}

std::string ParseWalkOrv(const Corpus& corpus, Held held)
{
    CExtensibleMarkupLanguageDocument document;
    CDataParser parser;
    parser.Initialize(const_cast<CByteArray*>(&corpus.bytes), false);
    if (!document.Parse(parser)) {
        return "parse failed";
    }
    const std::size_t sum = WalkOrv(*document.GetRootElement());
    benchmark::DoNotOptimize(sum);
    held();
    return sum != 0 ? std::string() : std::string("nothing read");
}

#if defined(ORV_HAVE_PUGIXML)
std::size_t WalkPugixml(const pugi::xml_node& top)
{
    std::size_t sum = 0;
    std::vector<pugi::xml_node> pending{top};
    while (!pending.empty()) {
        const pugi::xml_node node = pending.back();
        pending.pop_back();
        if (node.type() == pugi::node_element) {
            const char* name = node.name();
            sum += std::strlen(name) + BYTE(name[0]);
            for (const pugi::xml_attribute attribute : node.attributes()) {
                const char* value = attribute.value();
                sum += std::strlen(attribute.name()) + std::strlen(value) + BYTE(value[0]);
            }
        } else if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            const char* value = node.value();
            sum += std::strlen(value) + BYTE(value[0]);
        }
        for (const pugi::xml_node child : node.children()) {
            pending.push_back(child);
        }
    }
    return sum;
}

std::string ParseWalkPugixml(const Corpus& corpus, Held held)
{
    pugi::xml_document document;
    if (!document.load_buffer(corpus.text.data(), corpus.text.size())) {
        return "parse failed";
    }
    const std::size_t sum = WalkPugixml(document);
    benchmark::DoNotOptimize(sum);
    held();
    return sum != 0 ? std::string() : std::string("nothing read");
}
#endif

using ParseFunction = std::string (*)(const Corpus&, Held);

void RunParse(benchmark::State& state, const char* parserName, ParseFunction parse, const char* documentName,
    const Corpus& (*documentOf)())
{
    const Corpus& corpus = documentOf();
    // One parse outside the timed loop: it must succeed, and it gives the
    // heap the finished tree holds.
    const std::size_t before = HeapInUse();
    std::size_t after = before;
    StartPeak();
    const std::string error = parse(corpus, [&] { after = HeapInUse(); });
    const std::size_t peak = StopPeak();
    if (!error.empty()) {
        Abort(parserName, documentName, error);
    }
    static const std::function<void()> nothing = [] { };
    for (auto _ : state) {
        benchmark::DoNotOptimize(parse(corpus, nothing));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(corpus.text.size()));
    state.counters["retained_bytes_per_doc_byte"] =
        after >= before ? double(after - before) / double(corpus.text.size()) : 0.0;
    state.counters["peak_bytes_per_doc_byte"] = double(peak) / double(corpus.text.size());
    state.counters["doc_bytes"] = double(corpus.text.size());
}

struct ParserEntry {
    const char* name;
    ParseFunction parse;
};

struct DocumentEntry {
    const char* name;
    const Corpus& (*corpus)();
    bool large;
};

// The documents by name, for the benchmarks and for --parse_once.
const DocumentEntry kDocuments[] = {
    {"symbol_data_8MB", &SymbolData, true},
    {"text_entities_8MB", &TextDocument, true},
    {"small_4KB", &SmallDocument, false},
};

// --parse_once=<document>[,walk][,pugixml][,x<count>]: generates the document, then
// parses it (and walks the tree) once with our engine, or with pugixml,
// outside any benchmark, for counting instructions, e.g.
//   valgrind --tool=callgrind --toggle-collect='*ParseOrv*' orv_bench_xml --parse_once=small_4KB
// (ParseWalkOrv, ParsePugixml, ParseWalkPugixml for the others). Returns -1
// when the option is not given.
int ParseOnce(int argc, char** argv)
{
    constexpr std::string_view option = "--parse_once=";
    for (int i = 1; i < argc; ++i) {
        std::string_view argument(argv[i]);
        if (argument.substr(0, option.size()) != option) {
            continue;
        }
        argument.remove_prefix(option.size());
        const std::size_t comma = argument.find(',');
        const std::string_view rest = comma == std::string_view::npos ? std::string_view() : argument.substr(comma);
        const bool walk = rest.find(",walk") != std::string_view::npos;
        ParseFunction parse = walk ? &ParseWalkOrv : &ParseOrv;
#if defined(ORV_HAVE_PUGIXML)
        if (rest.find(",pugixml") != std::string_view::npos) {
            parse = walk ? &ParseWalkPugixml : &ParsePugixml;
        }
#endif
        // ",x<count>" parses that many times (so that one-time set-up can
        // be told from the cost of each parse).
        int count = 1;
        if (const std::size_t times = rest.find(",x"); times != std::string_view::npos) {
            count = std::max(1, std::atoi(std::string(rest.substr(times + 2)).c_str()));
        }
        const std::string_view name = argument.substr(0, comma);
        for (const DocumentEntry& document : kDocuments) {
            if (name == document.name) {
                for (int i = 0; i < count; ++i) {
                    const std::string error = parse(document.corpus(), [] { });
                    if (!error.empty()) {
                        Abort("orv", document.name, error);
                    }
                }
                return 0;
            }
        }
        std::fprintf(stderr, "orv_bench_xml: no document named %.*s\n", int(name.size()), name.data());
        return 1;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (const int result = ParseOnce(argc, argv); result >= 0) {
        return result;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }

    const auto& documents = kDocuments;
    const ParserEntry parsers[] = {
        {"orv", &ParseOrv},
#if defined(ORV_HAVE_PUGIXML)
        {"pugixml", &ParsePugixml},
#endif
#if defined(ORV_HAVE_TINYXML2)
        {"tinyxml2", &ParseTinyxml2},
#endif
#if defined(ORV_HAVE_LIBXML2)
        {"libxml2", &ParseLibxml2},
#endif
#if defined(ORV_HAVE_EXPAT)
        {"expat_sax", &ParseExpat},
#endif
    };

    // Our engine must read every document before anything is measured.
    for (const DocumentEntry& document : documents) {
        const std::string error = ParseOrv(document.corpus(), [] { });
        if (!error.empty()) {
            Abort("orv", document.name, error);
        }
    }

    // Parsing and then reading the whole tree, our engine beside pugixml.
    const ParserEntry walkers[] = {
        {"orv", &ParseWalkOrv},
#if defined(ORV_HAVE_PUGIXML)
        {"pugixml", &ParseWalkPugixml},
#endif
    };

    const auto add = [](const char* group, const DocumentEntry& document, const ParserEntry& parser) {
        const std::string name = std::string(group) + "/" + document.name + "/" + parser.name;
        auto* benchmark = benchmark::RegisterBenchmark(name.c_str(), [parser, document](benchmark::State& state) {
            RunParse(state, parser.name, parser.parse, document.name, document.corpus);
        });
        benchmark->Unit(document.large ? benchmark::kMillisecond : benchmark::kMicrosecond);
    };
    for (const DocumentEntry& document : documents) {
        for (const ParserEntry& parser : parsers) {
            add("Parse", document, parser);
        }
        for (const ParserEntry& parser : walkers) {
            add("ParseWalk", document, parser);
        }
    }

#if defined(ORV_HAVE_LIBXML2)
    xmlInitParser();
#endif
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
#if defined(ORV_HAVE_LIBXML2)
    xmlCleanupParser();
#endif
    return 0;
}
