// The lightweight markup document CXML beside the main XML engine
// (CExtensibleMarkupLanguageDocument) on the same generated document of
// about 1 MB, in one run:
//
//   Parse/cxml      SetDoc: the document string and its element index
//   Parse/document  CDataParser + Parse: the full element tree
//   Walk/cxml       every element with FindElem / IntoElem / OutOfElem,
//                   reading its tag, one attribute and GetData
//   Walk/document   every element of the tree, reading its tag, the same
//                   attribute and the resolved text of its text children
//
// Throughput is counted in document bytes. The walks run on a document
// parsed once outside the timed loop, and both must visit the same number
// of elements (checked before anything is measured).
#include "xml/ExtensibleMarkupLanguageDocument.h"
#include "xml/XML.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kDocumentSize = 1u << 20;

const char* const kWords[] = {"market", "order", "price", "quote", "symbol", "session", "margin", "fill", "venue",
    "route", "book", "depth", "spread", "tick", "contract", "expiry"};

// Settings-like markup: sections of entries, each entry with attributes and
// a few leaf elements holding text, some with entity references.
std::string MakeDocument(std::size_t size)
{
    std::mt19937 random(11);
    std::string out = "<?xml version=\"1.0\"?>\r\n<Settings version=\"2\">\r\n";
    for (unsigned section = 0; out.size() < size; ++section) {
        out += "  <Section name=\"s" + std::to_string(section) + "\">\r\n";
        for (unsigned entry = 0; entry < 20 && out.size() < size; ++entry) {
            out += "    <Entry id=\"" + std::to_string(entry) + "\" kind=\"" + kWords[random() % 16] + "\">\r\n";
            out += "      <Name>" + std::string(kWords[random() % 16]) + " " + kWords[random() % 16] + "</Name>\r\n";
            out += "      <Value>" + std::to_string(random() % 100000) + "." + std::to_string(random() % 100)
                + "</Value>\r\n";
            if (entry % 3 == 0) {
                out += "      <Note>bid &lt; ask &amp;&amp; size &gt; 0</Note>\r\n";
            }
            out += "      <Flag/>\r\n    </Entry>\r\n";
        }
        out += "  </Section>\r\n";
    }
    out += "</Settings>\r\n";
    return out;
}

const std::string& Document()
{
    static const std::string text = MakeDocument(kDocumentSize);
    return text;
}

const CString& DocumentString()
{
    static const CString text(Document().data(), int(Document().size()));
    return text;
}

const CByteArray& DocumentBytes()
{
    static const CByteArray bytes = [] {
        CByteArray result;
        result.SetSize(int(Document().size()));
        std::memcpy(result.GetData(), Document().data(), Document().size());
        return result;
    }();
    return bytes;
}

bool ParseDocument(CExtensibleMarkupLanguageDocument& document)
{
    CDataParser parser;
    // Attached, not handed over: the parser only reads the bytes.
    parser.Initialize(const_cast<CByteArray*>(&DocumentBytes()), false);
    return document.Parse(parser);
}

// Every element in document order; returns how many, and adds what was read
// to the checksum.
std::size_t WalkCxml(CXML& xml, std::size_t& checksum)
{
    std::size_t visited = 0;
    xml.ResetPos();
    if (!xml.FindElem()) {
        return 0;
    }
    for (;;) {
        ++visited;
        checksum += std::size_t(xml.GetTagName().GetLength() + xml.GetAttrib("id").GetLength()
            + xml.GetData().GetLength());
        if (xml.IntoElem()) {
            continue;
        }
        while (!xml.FindElem()) {
            if (!xml.OutOfElem()) {
                return visited;
            }
        }
    }
}

std::size_t WalkElement(const CExtensibleMarkupLanguageElement* element, std::size_t& checksum)
{
    std::size_t visited = 1;
    CString value;
    element->GetAttributeByName("id", value);
    checksum += std::size_t(element->Tag().GetLength() + value.GetLength());
    DWORD index = 0;
    CExtensibleMarkupLanguageElement* child = nullptr;
    while (element->GetNextChild(index, child)) {
        if (child->GetType() == CExtensibleMarkupLanguageElement::typeElement) {
            visited += WalkElement(child, checksum);
        } else if (child->GetType() == CExtensibleMarkupLanguageElement::typeTextSegment) {
            CString text;
            child->GetText(text);
            checksum += std::size_t(text.GetLength());
        }
    }
    return visited;
}

std::size_t WalkTree(const CExtensibleMarkupLanguageDocument& document, std::size_t& checksum)
{
    std::size_t visited = 0;
    DWORD index = 0;
    CExtensibleMarkupLanguageElement* child = nullptr;
    while (document.GetRootElement()->GetNextChild(index, child)) {
        if (child->GetType() == CExtensibleMarkupLanguageElement::typeElement) {
            visited += WalkElement(child, checksum);
        }
    }
    return visited;
}

void Counted(benchmark::State& state)
{
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(Document().size()));
    state.counters["doc_bytes"] = double(Document().size());
}

void ParseCxml(benchmark::State& state)
{
    for (auto _ : state) {
        CXML xml;
        benchmark::DoNotOptimize(xml.SetDoc(DocumentString()));
    }
    Counted(state);
}

void ParseTree(benchmark::State& state)
{
    for (auto _ : state) {
        CExtensibleMarkupLanguageDocument document;
        benchmark::DoNotOptimize(ParseDocument(document));
    }
    Counted(state);
}

void WalkCxmlBench(benchmark::State& state)
{
    CXML xml;
    xml.SetDoc(DocumentString());
    std::size_t checksum = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(WalkCxml(xml, checksum));
    }
    benchmark::DoNotOptimize(checksum);
    Counted(state);
}

void WalkTreeBench(benchmark::State& state)
{
    CExtensibleMarkupLanguageDocument document;
    ParseDocument(document);
    std::size_t checksum = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(WalkTree(document, checksum));
    }
    benchmark::DoNotOptimize(checksum);
    Counted(state);
}

[[noreturn]] void Abort(const char* what)
{
    std::fprintf(stderr, "orv_bench_markup: %s\n", what);
    std::abort();
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    // Both engines must read the document, and see the same elements.
    CXML xml;
    if (!xml.SetDoc(DocumentString())) {
        Abort(("CXML failed: " + std::string(xml.GetError().GetString())).c_str());
    }
    CExtensibleMarkupLanguageDocument document;
    if (!ParseDocument(document)) {
        Abort("the document engine failed to parse");
    }
    std::size_t ignored = 0;
    const std::size_t cxmlElements = WalkCxml(xml, ignored);
    const std::size_t treeElements = WalkTree(document, ignored);
    if (cxmlElements == 0 || cxmlElements != treeElements) {
        Abort(("element counts differ: " + std::to_string(cxmlElements) + " / " + std::to_string(treeElements)).c_str());
    }
    std::printf("document: %zu bytes, %zu elements\n", Document().size(), cxmlElements);

    benchmark::RegisterBenchmark("Parse/cxml", ParseCxml)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Parse/document", ParseTree)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Walk/cxml", WalkCxmlBench)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Walk/document", WalkTreeBench)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
