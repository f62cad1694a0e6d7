// How a node reads itself from a CDataParser: text segments, the markup of a
// node and its classification, attributes and element names, and the loop
// that reads the content of elements. Open elements are kept on a heap
// stack, so the depth of a document costs no machine stack.
#include "xml/ExtensibleMarkupLanguageElement.h"

#include "xml/ExtensibleMarkupLanguageDocument.h"
#include "xml/XmlNodeArena.h"
#include "xml/XmlParseSupport.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <typeinfo>
#include <unordered_set>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using Element = CExtensibleMarkupLanguageElement;
using Document = CExtensibleMarkupLanguageDocument;
using namespace OrvXml;

namespace {

// The number of Parse calls active on this thread (see kMaximumRecursiveParseDepth).
thread_local DWORD t_ParseDepth = 0;

class ParseDepthScope {
public:
    ParseDepthScope() noexcept { ++t_ParseDepth; }
    ~ParseDepthScope() { --t_ParseDepth; }
    ParseDepthScope(const ParseDepthScope&) = delete;
    ParseDepthScope& operator=(const ParseDepthScope&) = delete;
};

// The document of the innermost Parse running on this thread, found once
// per parse instead of by walking up from every node the parse completes;
// null outside a parse and in a parse of nodes without a document, where
// the nodes' steps walk up instead.
constinit ORV_FAST_THREAD_LOCAL Document* t_ParsingDocument = nullptr;

class ParsingDocumentScope {
public:
    explicit ParsingDocumentScope(Document* document) noexcept : m_Saved(t_ParsingDocument)
    {
        t_ParsingDocument = document;
    }
    ~ParsingDocumentScope() { t_ParsingDocument = m_Saved; }
    ParsingDocumentScope(const ParsingDocumentScope&) = delete;
    ParsingDocumentScope& operator=(const ParsingDocumentScope&) = delete;

private:
    Document* const m_Saved;
};

const char kNestedTooDeeply[] = "Elements are nested too deeply.";

// About the bytes of tree per byte of attribute-rich markup.
constexpr std::size_t kTreeBytesPerDocumentByte = 4;

bool IsAllSpace(std::string_view text) noexcept
{
    for (char c : text) {
        if (!IsXmlSpace(c)) {
            return false;
        }
    }
    return true;
}

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
// A reference of up to eight bytes as a number, its bytes in memory order.
constexpr std::uint64_t ReferenceKey(std::string_view reference) noexcept
{
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < reference.size(); ++i) {
        key |= std::uint64_t(static_cast<unsigned char>(reference[i])) << (8 * i);
    }
    return key;
}
#endif

// The length of the predefined reference ("&lt;", "&gt;", "&amp;",
// "&quot;" or "&apos;") that starts at text[at], or 0 when none does. A
// document's table always holds these five (a document may give them other
// texts, never remove them), so the text check recognises them in place:
// one load and five comparisons, without looking for the ';' first.
std::size_t PredefinedReferenceLength(std::string_view text, std::size_t at) noexcept
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (at + 8 > text.size()) {
        return 0;
    }
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, text.data() + at, sizeof bytes);
    const std::uint64_t four = bytes & 0xFFFFFFFFu;
    const std::uint64_t five = bytes & 0xFFFFFFFFFFu;
    const std::uint64_t six = bytes & 0xFFFFFFFFFFFFu;
    constexpr std::uint64_t lt = ReferenceKey("&lt;");
    constexpr std::uint64_t gt = ReferenceKey("&gt;");
    constexpr std::uint64_t amp = ReferenceKey("&amp;");
    constexpr std::uint64_t quot = ReferenceKey("&quot;");
    constexpr std::uint64_t apos = ReferenceKey("&apos;");
    // At most one of the three can match, so the lengths combine without
    // a branch.
    return (std::size_t((four == lt) | (four == gt)) * 4) | (std::size_t(five == amp) * 5)
        | (std::size_t((six == quot) | (six == apos)) * 6);
#else
    (void)text;
    (void)at;
    return 0;
#endif
}

// Whether text[at, at + length) is "&#" digits ";".
bool IsDecimalCharacterReference(std::string_view text, std::size_t at, std::size_t length) noexcept
{
    if (length < 4 || text[at + 1] != '#') {
        return false;
    }
    for (std::size_t i = at + 2; i < at + length - 1; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return true;
}

// The name part of a piece of markup (see m_GetTag).
std::string_view TagOf(std::string_view body) noexcept
{
    if (!body.empty() && body.front() == '<') {
        body.remove_prefix(1);
    }
    const std::size_t space = FindSpace(body);
    if (space != std::string_view::npos) {
        return body.substr(0, space);
    }
    if (!body.empty() && body.back() == '>') {
        body.remove_suffix(1);
    }
    return Trim(body);
}

} // namespace

// --- Entry points ---

bool Element::Parse(const CParsePoint& beginning, CDataParser& parser)
{
    if (t_ParseDepth >= kMaximumRecursiveParseDepth) {
        return m_Fail(kNestedTooDeeply);
    }
    if (t_ParseDepth == 0) {
        t_EntityExpansion = CEntityExpansion();
    }
    const ParsingDocumentScope parsing(m_FindDocument());
    try {
        ParseDepthScope depth;
        // A tree takes a few times the bytes it is read from; a small
        // document is then served by one block.
        const CNodeArenaScope arena(std::size_t(parser.GetSize() - std::min(beginning.GetIndex(), parser.GetSize()))
            * kTreeBytesPerDocumentByte);
        bool open = false;
        if (!m_ParseOneNode(beginning, parser, open)) {
            return false;
        }
        return !open || m_ParseContent(parser);
    } catch (const std::bad_alloc&) {
    } catch (const CMemoryException&) {
    }
    // Memory ran out somewhere in the parse: what was read stays, and the
    // parse fails like any other.
    try {
        m_ReportParsingError("Can't allocate memory.");
    } catch (...) {
        if (Document* document = m_FindDocument()) {
            document->m_ErrorRecorded = true;
        }
    }
    return false;
}

inline Document* Element::m_ParsingDocument() const noexcept
{
    Document* const document = t_ParsingDocument;
    return document != nullptr ? document : m_FindDocument();
}

bool Element::m_IsPlain() const noexcept
{
    return typeid(*this) == typeid(Element);
}

bool Element::m_CountEntityWork()
{
    if (++t_EntityExpansion.work <= kMaximumEntityExpansion) {
        return true;
    }
    return m_Fail(kEntityExpansionTooLarge);
}

void Element::m_ReportParsingError(const CString& message) const
{
    if (Document* document = m_FindDocument()) {
        document->SetParsingErrorInformation(Tag().ToCString(), m_Beginning, m_Ending, &message);
    }
}

bool Element::m_Fail(const CString& message) const
{
    m_ReportParsingError(message);
    return false;
}

// (Inline: it runs for every node, and usually calls nothing.)
inline bool Element::m_RunCallbacks(const char* abortMessage)
{
    // A document of the library's own class with no callbacks registered
    // would call none: the call is left out for every node.
    Document* const document = m_ParsingDocument();
    if (document != nullptr && (!document->m_Callbacks.IsEmpty() || typeid(*document) != typeid(Document))) {
        document->ExecuteCallbacks(this);
    }
    if (m_AbortParsing) {
        return m_Fail(abortMessage);
    }
    return true;
}

// Reads this node's own markup (or text); open tells that an element start
// tag was read and its content follows.
bool Element::m_ParseOneNode(const CParsePoint& beginning, CDataParser& parser, bool& open)
{
    open = false;
    m_AbortParsing = false;
    // A node just created holds nothing to empty.
    if (m_IsPlain() && m_Children.IsEmpty() && m_Attributes.IsEmpty() && m_HoldsNoText()) {
        m_IsDone = false;
    } else {
        Empty();
    }
    // (The size read in place: the reader's GetSize also sets the last error.)
    if (beginning.GetIndex() >= parser.GetByteView().size()) {
        return m_Fail("There are no more bytes to parse. We ran out of bytes before we rand out of XML.");
    }
    if (m_Type == typeUnknown) {
        return m_Fail("Type of element is unknown. Could not parse element data.");
    }
    m_Beginning = beginning;
    m_Ending = beginning;
    if (m_Type == typeTextSegment) {
        return m_ParseTextSegment(parser);
    }
    return m_ParseMarkup(parser, open);
}

// --- Text segments ---

bool Element::m_ParseTextSegment(CDataParser& parser)
{
    CString text;
    bool reachedMarkup = false;
    if (parser.IsTextASCII()) {
        // One bulk scan to the next '<'; the point is then moved back over
        // the '<', which is never a line feed.
        CParsePoint point = m_Ending;
        if (parser.GetUntilAndIncluding(point, BYTE('<'), text)) {
            text.Delete(text.GetLength() - 1);
            point.SetIndex(point.GetIndex() - 1);
            point.SetColumn(point.GetColumn() - 1);
            reachedMarkup = true;
        } else {
            point = m_Ending;
            parser.Get(point, parser.GetSize() - point.GetIndex(), text);
        }
        m_Ending = point;
    } else {
        std::string gathered;
        gathered.reserve(16384);
        DWORD character = 0;
        while (parser.PeekAtCharacter(m_Ending, character)) {
            if (character == '<') {
                reachedMarkup = true;
                break;
            }
            if (!parser.GetNextCharacter(m_Ending, character)) {
                break;
            }
            gathered += char(BYTE(character));
        }
        text = ToCString(gathered);
    }
    m_IsAllWhiteSpace = IsAllSpace(View(text));
    if (reachedMarkup) {
        m_ContentsSlot() = text;
        m_IsDone = true;
        return true;
    }
    return m_RunCallbacks("Parsing aborted by Callback function.");
}

// --- Markup ---

namespace {

// How far the markup at the start of rest runs, by its opener: a comment
// to "-->", a CDATA section to "]]>", a processing instruction or a
// DOCTYPE (whose internal subset is read on its own) to the first '>', and
// any other tag or declaration to the first '>' outside quotes (see
// QuotedMarkupLength).
enum class MarkupKind { Comment, CDATA, Plain, Tag, Entity, Declaration };

MarkupKind KindOf(std::string_view rest) noexcept
{
    if (StartsWith(rest, "<!--")) {
        return MarkupKind::Comment;
    }
    if (StartsWith(rest, "<![CDATA[")) {
        return MarkupKind::CDATA;
    }
    if (rest.size() > 1 && rest[1] != '?' && !StartsWith(rest, "<!DOCTYPE")) {
        if (rest[1] != '!') {
            return MarkupKind::Tag;
        }
        return StartsWith(rest, "<!ENTITY") ? MarkupKind::Entity : MarkupKind::Declaration;
    }
    return MarkupKind::Plain;
}

std::size_t MarkupLength(std::string_view rest, MarkupKind kind) noexcept
{
    constexpr std::size_t none = std::string_view::npos;
    std::size_t found = none;
    switch (kind) {
    case MarkupKind::Comment:
        found = rest.find("-->");
        return found == none ? none : found + 3;
    case MarkupKind::CDATA:
        found = rest.find("]]>");
        return found == none ? none : found + 3;
    case MarkupKind::Tag:
        return QuotedMarkupLength(rest, false, true);
    case MarkupKind::Entity:
        return QuotedMarkupLength(rest, true, true, true);
    case MarkupKind::Declaration:
        return QuotedMarkupLength(rest, true, false);
    case MarkupKind::Plain:
        break;
    }
    found = FindNearByte(rest, 0, '>');
    return found == none ? none : found + 1;
}

} // namespace

// Single-byte text is a view into the parser's bytes. UTF-16 and UCS-4
// characters are read one by one into wide, as single-byte text, up to the
// same terminator; what the node keeps is copied from the view either way.
Element::MarkupRead Element::m_ReadMarkup(CDataParser& parser, std::string& wide, std::string_view& markup)
{
    if (parser.IsTextASCII()) {
        const std::string_view data = parser.GetByteView();
        const DWORD index = m_Ending.GetIndex();
        if (index >= data.size() || data[index] != '<') {
            return MarkupRead::NotMarkup;
        }
        const std::string_view rest = data.substr(index);
        const std::size_t length = MarkupLength(rest, KindOf(rest));
        if (length == std::string_view::npos) {
            parser.StepPointTo(m_Ending, DWORD(data.size()));
            return MarkupRead::Unterminated;
        }
        parser.StepPointTo(m_Ending, DWORD(index + length));
        markup = rest.substr(0, length);
        return MarkupRead::Read;
    }
    if (parser.GetCharacter(m_Ending) != '<') {
        return MarkupRead::NotMarkup;
    }
    // The opener decides the kind; the characters are then read until the
    // markup read so far is complete. In a start tag an unclosed quote falls
    // back to the first '>' (see QuotedMarkupLength), whose end point is kept.
    char opener[10] = {};
    for (DWORD i = 0; i < 9; ++i) {
        opener[i] = char(BYTE(parser.GetCharacter(m_Ending, i)));
    }
    const MarkupKind kind = KindOf(std::string_view(opener, 9));
    const bool quoted = kind == MarkupKind::Tag || kind == MarkupKind::Entity || kind == MarkupKind::Declaration;
    CParsePoint point = m_Ending;
    CParsePoint afterFirstClose;
    bool sawClose = false;
    DWORD quote = 0;
    bool literalRead = false;
    char before = '\0';
    DWORD c = 0;
    while (parser.GetNextCharacter(point, c)) {
        wide += char(BYTE(c));
        if (c != '>') {
            if (quote != 0) {
                quote = c == quote ? 0 : quote;
                literalRead = quote == 0;
            } else if (quoted && (c == '"' || c == '\'') && (kind != MarkupKind::Tag || before == '=')
                && !(kind == MarkupKind::Entity && literalRead)) {
                quote = c;
            }
            if (!IsXmlSpace(char(BYTE(c)))) {
                before = char(BYTE(c));
            }
            continue;
        }
        if (!sawClose) {
            sawClose = true;
            afterFirstClose = point;
        }
        if ((quoted && quote == 0) || kind == MarkupKind::Plain
            || (kind == MarkupKind::Comment && EndsWith(wide, "-->"))
            || (kind == MarkupKind::CDATA && wide.size() >= 12 && EndsWith(wide, "]]>"))) {
            m_Ending = point;
            markup = wide;
            return MarkupRead::Read;
        }
    }
    if ((kind == MarkupKind::Tag || kind == MarkupKind::Entity) && sawClose) {
        m_Ending = afterFirstClose;
        markup = std::string_view(wide).substr(0, FindByte(wide, 0, '>') + 1);
        return MarkupRead::Read;
    }
    return MarkupRead::Unterminated;
}

// A start tag of the usual shape in single-byte text, read by
// m_ReadSimpleStartTag; any other markup takes the general path.
namespace {

// Left uninitialised until used: a tag fills only the entries it needs.
using SimpleAttribute = OrvXml::CAttributeSource;

// More attributes than this in one tag take the general path.
constexpr int kMostSimpleAttributes = 32;

bool IsNameStartByte(char c) noexcept
{
    return IsLetterByte(c) || c == '_' || c == ':';
}

// One bit of a 64-bit filter per attribute name: a repeated name always
// finds its bit set, so a clear bit proves a name new without comparing.
std::uint64_t NameBit(std::string_view name) noexcept
{
    return std::uint64_t(1) << ((BYTE(name.front()) * 7u + BYTE(name.back()) * 3u + name.size()) & 63u);
}

// Bytes of an attribute value that need a closer look: those that
// normalisation rewrites, and '<', which a value may not hold.
struct ValueStops {
    bool stop[256] = {};
    constexpr ValueStops() { stop[BYTE('\r')] = stop[BYTE('\n')] = stop[BYTE('\t')] = stop[BYTE('<')] = true; }
};
constexpr ValueStops kValueStops;

// The index in text of the first byte that is the quote or a value stop,
// or npos. Sixteen bytes are tested at a time where they can be.
std::size_t FindValueEnd(std::string_view text, char quote) noexcept
{
    std::size_t at = 0;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(quote);
    const __m128i less = _mm_set1_epi8('<');
    // Tab, LF and CR are 9, 10 and 13: below 14, with only bytes 0 to 8,
    // 11 and 12 as false alarms, which are looked at and passed over.
    const __m128i control = _mm_set1_epi8(14);
    for (; at + 16 <= text.size(); at += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, wanted), _mm_cmpeq_epi8(chunk, less)),
            _mm_and_si128(_mm_cmplt_epi8(chunk, control), _mm_cmpgt_epi8(chunk, _mm_set1_epi8(-1))));
        for (unsigned mask = unsigned(_mm_movemask_epi8(hits)); mask != 0; mask &= mask - 1) {
            const std::size_t hit = at + unsigned(__builtin_ctz(mask));
            if (text[hit] == quote || kValueStops.stop[BYTE(text[hit])]) {
                return hit;
            }
        }
    }
#endif
    for (; at < text.size(); ++at) {
        if (text[at] == quote || kValueStops.stop[BYTE(text[at])]) {
            return at;
        }
    }
    return std::string_view::npos;
}

#if defined(__SSE2__)
// The bytes of sixteen from low to high (unsigned), as a mask of 0xFF
// bytes: each is moved so that low becomes -128, and the range is then one
// signed comparison.
inline __m128i InRange(__m128i chunk, char low, char high) noexcept
{
    const __m128i moved = _mm_add_epi8(chunk, _mm_set1_epi8(char(0x80 - BYTE(low))));
    return _mm_cmplt_epi8(moved, _mm_set1_epi8(char(BYTE(high) - BYTE(low) - 127)));
}

// The name bytes (see IsNameCharByte) of sixteen, as a mask of 0xFF bytes.
inline __m128i NameBytesOf(__m128i chunk) noexcept
{
    const __m128i letter = InRange(_mm_or_si128(chunk, _mm_set1_epi8(0x20)), 'a', 'z');
    // '-', '.', the digits and ':' are 0x2D to 0x3A, all but '/'.
    const __m128i punctuationOrDigit
        = _mm_andnot_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('/')), InRange(chunk, '-', ':'));
    return _mm_or_si128(_mm_or_si128(letter, punctuationOrDigit), _mm_cmpeq_epi8(chunk, _mm_set1_epi8('_')));
}

// What a start tag's attributes look like over up to 64 bytes, one bit
// per byte (bit i for window[i]): the name bytes, and the bytes that end
// or stop a plain value: both quotes, '<', and every byte below 14 (tab, LF
// and CR among them). A window starts with 48 bytes classified and takes
// the last 16 when an attribute needs them; the bits past those filled
// are clear.
struct TagWindow {
    const char* window;
    std::size_t filled;
    std::uint64_t nameBytes;
    std::uint64_t valueEnds;

    // window[filled, filled + 16) must lie in the data, and filled be
    // below 64.
    void Fill16() noexcept
    {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(window + filled));
        const __m128i ends = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('"')), _mm_cmpeq_epi8(chunk, _mm_set1_epi8('\''))),
            _mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('<')),
                _mm_cmpeq_epi8(_mm_min_epu8(chunk, _mm_set1_epi8(13)), chunk)));
        nameBytes |= std::uint64_t(unsigned(_mm_movemask_epi8(NameBytesOf(chunk)))) << filled;
        valueEnds |= std::uint64_t(unsigned(_mm_movemask_epi8(ends))) << filled;
        filled += 16;
    }
    // Starts a window at at, of which 48 bytes must lie in the data.
    void Restart(const char* at) noexcept
    {
        window = at;
        filled = 0;
        nameBytes = 0;
        valueEnds = 0;
        Fill16();
        Fill16();
        Fill16();
    }
};
#endif

// The first byte at or after at (before end) that is not a name byte
// (see IsNameCharByte), or end. Sixteen bytes are classified at a time
// where they can be: most names end within the first sixteen.
inline const char* SkipNameBytes(const char* at, const char* end) noexcept
{
#if defined(__SSE2__)
    while (end - at >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const unsigned others = ~unsigned(_mm_movemask_epi8(NameBytesOf(chunk))) & 0xFFFFu;
        if (others != 0) {
            return at + __builtin_ctz(others);
        }
        at += 16;
    }
#endif
    while (at != end && IsNameCharByte(*at)) {
        ++at;
    }
    return at;
}

} // namespace

// Reads the start tag (or empty-element tag) at m_Ending in one pass when
// it has the usual shape: '<', a well-formed name, then name="value" pairs
// (single or double quotes, white space around '=' allowed) with distinct
// names and no '<' in a value, then '>' or "/>". Such a tag reads the same
// through the general path, which is left everything else, faults
// included: nothing is changed when this returns false.
bool Element::m_ReadSimpleStartTag(CDataParser& parser, bool& closed)
{
    const std::string_view data = parser.GetByteView();
    const char* const first = data.data();
    const char* const end = first + data.size();
    const char* const begin = first + m_Ending.GetIndex();
    if (end - begin < 3 || begin[0] != '<' || !IsNameStartByte(begin[1])) {
        return false;
    }
    const char* at = begin + 1;
    do {
        ++at;
    } while (at != end && IsNameCharByte(*at));
    const std::string_view tag(begin + 1, std::size_t(at - begin - 1));

    SimpleAttribute attributes[kMostSimpleAttributes];
    int count = 0;
    std::uint64_t seen = 0;
    std::size_t room = 0;
    DWORD lines = 0;
    const char* lastBreak = nullptr;
    const auto skipSpace = [&]() {
        while (at != end && IsXmlSpace(*at)) {
            if (*at == '\n') {
                ++lines;
                lastBreak = at;
            }
            ++at;
        }
        return at != end;
    };
    // Takes an attribute read; false when the tag has one of that name.
    // (Forced inline: called out of line it costs a tenth more per parse of
    // attribute-heavy data.)
    const auto take = [&](std::string_view name, std::string_view value, bool normalise) __attribute__((always_inline)) {
        const std::uint64_t bit = NameBit(name);
        if ((seen & bit) != 0) {
            for (int i = 0; i < count; ++i) {
                if (attributes[i].Name() == name) {
                    return false;
                }
            }
        }
        seen |= bit;
        room += CExtensibleMarkupLanguageAttribute::EmbeddedRoom(name.size(), value.size());
        attributes[count++] = SimpleAttribute{name.data(), name.size(), value.data(), value.size(), normalise};
        return true;
    };
#if defined(__SSE2__)
    // The usual attribute, a single space, a name of name bytes, '=', and a
    // quoted value of bytes that need no closer look, is read from the
    // masks of a window of up to 64 bytes, started again where an attribute
    // starts that does not lie in the current one; any other (or one too
    // near the end of the data) is read byte by byte below.
    TagWindow window{end, 64, 0, 0};
#endif
    for (;;) {
#if defined(__SSE2__)
        while (at != end && *at == ' ' && count != kMostSimpleAttributes) {
            // Where the name and the value lie, when both lie in the window
            // (started again at most once, here, at the attribute: with all
            // 64 bytes at once when the tag has shown an attribute before).
            const char* valueStart = nullptr;
            std::size_t nameLength = 0;
            std::size_t valueLength = 0;
            for (;;) {
                const std::size_t offset = std::size_t(at - window.window);
                if (offset < 60) {
                    // Bit j: at[1 + j] is not a name byte. Past the window
                    // the bits read as name bytes; the one set for its last
                    // byte ends a name that runs that far, which then leaves
                    // no room for a value. (A name that runs past the bytes
                    // filled seems to end there, and finds no value end.)
                    const std::uint64_t others
                        = (~window.nameBytes >> (offset + 1)) | (std::uint64_t(1) << (62 - offset));
                    nameLength = std::size_t(__builtin_ctzll(others));
                    const std::size_t valueOffset = offset + nameLength + 3;
                    if (valueOffset < 64) {
                        const std::uint64_t ends = window.valueEnds >> valueOffset;
                        if (ends != 0) {
                            valueStart = window.window + valueOffset;
                            valueLength = std::size_t(__builtin_ctzll(ends));
                            break;
                        }
                    }
                    // The first 48 bytes do not hold the attribute: the
                    // last 16 are classified.
                    if (window.filled == 48 && end - window.window >= 64) {
                        window.Fill16();
                        continue;
                    }
                }
                if (window.window == at || end - at < 48) {
                    break;
                }
                window.Restart(at);
                if (count != 0 && end - at >= 64) {
                    window.Fill16();
                }
            }
            if (valueStart == nullptr || nameLength == 0 || at[nameLength + 1] != '=' || !IsQuote(valueStart[-1])
                || valueStart[valueLength] != valueStart[-1]) {
                break;
            }
            if (!take(std::string_view(at + 1, nameLength), std::string_view(valueStart, valueLength), false)) {
                return false;
            }
            at = valueStart + valueLength + 1;
        }
#endif
        // Usually a single space comes next, then a byte above the space
        // (every byte at or below it is left to the general skip).
        if (end - at > 1 && *at == ' ' && BYTE(at[1]) > BYTE(' ')) {
            ++at;
        } else if (!skipSpace()) {
            return false;
        }
        if (*at == '>') {
            closed = false;
            ++at;
            break;
        }
        if (*at == '/') {
            if (end - at < 2 || at[1] != '>') {
                return false;
            }
            closed = true;
            at += 2;
            break;
        }
        if (count == kMostSimpleAttributes || !IsNameCharByte(*at)) {
            return false;
        }
        const char* const nameStart = at;
        at = SkipNameBytes(at + 1, end);
        const std::string_view name(nameStart, std::size_t(at - nameStart));
        // Usually '=' follows the name and the quote follows '=' directly.
        if ((at == end || *at != '=') && (!skipSpace() || *at != '=')) {
            return false;
        }
        ++at;
        if ((at == end || !IsQuote(*at)) && (!skipSpace() || !IsQuote(*at))) {
            return false;
        }
        // The value runs to the matching quote; most hold no byte that
        // needs a closer look, and one scan finds the quote.
        const char quote = *at;
        const char* const valueStart = at + 1;
        bool normalise = false;
        for (at = valueStart;; ++at) {
            const std::size_t stop = FindValueEnd(std::string_view(at, std::size_t(end - at)), quote);
            if (stop == std::string_view::npos) {
                return false;
            }
            at += stop;
            if (*at == quote) {
                break;
            }
            if (*at == '<') {
                return false;
            }
            if (*at == '\n') {
                ++lines;
                lastBreak = at;
            }
            normalise = true;
        }
        const std::string_view value(valueStart, std::size_t(at - valueStart));
        ++at;
        if (!take(name, value, normalise)) {
            return false;
        }
    }

    // The tag is read: the point moves past it as stepping over each byte
    // would, then the node takes its name and attributes.
    if (lines != 0) {
        m_Ending.SetLine(m_Ending.GetLine() + lines);
        m_Ending.SetColumn(DWORD(at - lastBreak));
    } else {
        m_Ending.SetColumn(m_Ending.GetColumn() + DWORD(at - begin));
    }
    m_Ending.SetIndex(DWORD(at - first));
    m_Type = typeElement;
    m_SetTextAfterNode(m_TagSlot(), tag);
    m_IsTagEmpty = closed;
    if (count == 0) {
        return true;
    }
    if (count == 1) {
        // A list of one holds its item in place, without a block.
        m_Attributes.Add(CExtensibleMarkupLanguageAttribute::NewWithTexts(
            attributes[0].Name(), attributes[0].Value(), attributes[0].normalise));
        return true;
    }
    // The list and the attributes take one allocation: the attributes live
    // in the list's room. Nothing after the allocation can fail.
    // A node's text holds at most kLengthMask bytes, which data within that
    // length cannot exceed.
    if (data.size() > CNodeText::kLengthMask) {
        for (int i = 0; i < count; ++i) {
            if (attributes[i].nameLength > CNodeText::kLengthMask || attributes[i].valueLength > CNodeText::kLengthMask) {
                throw std::bad_alloc();
            }
        }
    }
    CExtensibleMarkupLanguageAttribute** items = nullptr;
    char* const slots = m_Attributes.ReserveWithRoom(count, room, items);
    CExtensibleMarkupLanguageAttribute::ConstructEmbeddedRun(slots, attributes, count, items);
    return true;
}

// Takes a well-formed comment, or a CDATA section that the data does not
// continue with a doubled "]]>", straight from its markup, as the general
// path would read it; false, with nothing changed, for any other markup.
bool Element::m_ReadSimpleDeclaration(std::string_view markup, CDataParser& parser)
{
    if (markup.size() >= 7 && StartsWith(markup, "<!--")) {
        // The first "--" after the opener must be the terminator's.
        if (markup.find("--", 4) != markup.size() - 3) {
            return false;
        }
        m_Type = typeComment;
        m_SetTextAfterNode(m_ContentsSlot(), markup.substr(4, markup.size() - 7));
        return true;
    }
    if (markup.size() >= 12 && StartsWith(markup, "<![CDATA[") && EndsWith(markup, "]]>") && parser.IsTextASCII()) {
        const std::string_view data = parser.GetByteView();
        if (StartsWith(data.substr(std::min<std::size_t>(m_Ending.GetIndex(), data.size())), "]]>")) {
            return false;
        }
        m_Type = typeCDATASection;
        m_MarkCDATA();
        m_SetTextAfterNode(m_ContentsSlot(), markup.substr(9, markup.size() - 12));
        return true;
    }
    return false;
}

inline bool Element::m_FinishMarkup(bool closed, bool& open)
{
    if (closed) {
        m_IsDone = true;
        return m_RunCallbacks("Parsing aborted by Callback function.");
    }
    open = true;
    return true;
}

inline bool Element::m_ParseMarkup(CDataParser& parser, bool& open)
{
    bool closed = false;
    if (parser.IsTextASCII() && m_IsPlain() && m_ReadSimpleStartTag(parser, closed)) {
        return m_FinishMarkup(closed, open);
    }
    return m_ParseOtherMarkup(parser, open);
}

bool Element::m_ParseOtherMarkup(CDataParser& parser, bool& open)
{
    bool closed = false;
    std::string wide;
    std::string_view markup;
    switch (m_ReadMarkup(parser, wide, markup)) {
    case MarkupRead::NotMarkup:
        return false;
    case MarkupRead::Unterminated:
        return m_Fail("Could not find terminator. Premature end of data encountered.");
    case MarkupRead::Read:
        break;
    }
    if (m_IsPlain() && m_ReadSimpleDeclaration(markup, parser)) {
        return m_FinishMarkup(true, open);
    }
    const bool parsed = m_IsPlain() ? m_ParseTagView(markup, closed, parser)
                                    : m_ParseTag(ToCString(markup), closed, parser);
    if (!parsed) {
        Empty();
        return false;
    }
    return m_FinishMarkup(closed, open);
}

void Element::m_GetTag(const CString& text, CString& tag) const
{
    tag = ToCString(TagOf(View(text)));
}

bool Element::m_ParseTag(const CString& text, bool& closed, CDataParser& parser)
{
    return m_ParseTagView(View(text), closed, parser);
}

bool Element::m_ParseTagView(std::string_view markup, bool& closed, CDataParser& parser)
{
    closed = false;
    if (markup.size() >= 10 && StartsWith(markup, "<![CDATA[")) {
        if (!m_ParseCDATASection(ToCString(markup), parser)) {
            return m_Fail("Ill formed CDATA section.");
        }
        closed = true;
        return true;
    }
    CString derivedTag;
    std::string_view name;
    if (m_IsPlain()) {
        name = TagOf(markup);
    } else {
        m_GetTag(ToCString(markup), derivedTag);
        name = View(derivedTag);
    }
    if (name.empty()) {
        return m_Fail("Tag is empty.");
    }
    if (name[0] == '?') {
        return m_ParseProcessingInstructionTag(markup, closed, parser);
    }
    if (name[0] == '!') {
        return m_ParseBangTag(ToCString(markup), ToCString(name), closed, parser);
    }

    // An element: a start tag, an end tag or an empty-element tag.
    const std::string_view afterOpener = markup.substr(1);
    const std::size_t space = FindSpace(afterOpener);
    const bool hasSpace = space != std::string_view::npos;
    // The attributes follow the first white space (a derived m_GetTag may
    // give a name that is not the text before it).
    const std::size_t nameLength = hasSpace ? space : name.size();
    const bool isEndTag = name[0] == '/';
    if (!hasSpace && name.size() > 1 && name.back() == '/') {
        name.remove_suffix(1);
        m_IsTagEmpty = true;
    }
    m_Type = typeElement;
    m_TagSlot() = name;
    if (hasSpace) {
        const std::string_view list = afterOpener.substr(nameLength);
        if (!m_ParseAttributeList(list.data(), int(list.size()), isEndTag)) {
            return false;
        }
    }
    if (!(m_IsPlain() ? m_CheckElementName(Tag().View()) : m_ParseElementName(Tag().ToCString()))) {
        return false;
    }
    closed = isEndTag || m_IsTagEmpty;
    return true;
}

// Reads name="value" pairs from the text after an element's name (which
// still ends with the markup's '>').
bool Element::m_ParseAttributeList(const char* listText, int listLength, bool isEndTag)
{
    std::string_view list(listText, std::size_t(listLength));
    const bool hasClose = !list.empty() && list.back() == '>';
    if (hasClose) {
        list.remove_suffix(1);
    }
    list = TrimRight(list);
    if (!list.empty() && list.back() == '/') {
        m_IsTagEmpty = true;
        list.remove_suffix(1);
    }
    list = TrimLeft(list);
    if (isEndTag && !list.empty()) {
        return m_Fail("Attributes not allowed in end tag (Rule 42).");
    }
    // Names are checked for repeats in a hash set once a tag holds more
    // than a few attributes; a few are compared with each other directly.
    constexpr int kDirectlyCompared = 16;
    std::unordered_set<std::string_view> names;
    bool indexed = false;
    if (m_Attributes.IsEmpty()) {
        // Room for every attribute the list can hold, allocated at once:
        // there are at most as many as there are '='.
        int pairs = 0;
        for (std::size_t at = FindNearByte(list, 0, '='); at != std::string_view::npos;
             at = FindNearByte(list, at + 1, '=')) {
            ++pairs;
        }
        m_Attributes.Reserve(std::min(pairs, 1024));
        if (pairs > kDirectlyCompared) {
            indexed = true;
            names.reserve(std::size_t(pairs));
        }
    }
    const auto add = [&](std::string_view name, std::string_view value) {
        if (!indexed) {
            return m_AddParsedAttribute(name, value);
        }
        if (!names.insert(name).second) {
            m_ReportRepeatedAttribute(name);
            return false;
        }
        return m_AddParsedAttribute(name, value, false);
    };
    bool first = true;
    while (!list.empty()) {
        const std::size_t equals = FindNearByte(list, 0, '=');
        if (equals == std::string_view::npos) {
            if (first) {
                return m_Fail("Attribute must have '=' between the name and the value (Rule 41).");
            }
            break;
        }
        const std::string_view name = Trim(list.substr(0, equals));
        const std::string_view rest = TrimLeft(list.substr(equals + 1));
        if (rest.empty() && !hasClose) {
            return m_Fail("Not yet documented error 2726.");
        }
        if (rest.empty() || !IsQuote(rest.front())) {
            return m_Fail("Attribute values must begin with a \" or a ' (Rule 10).");
        }
        const char quote = rest.front();
        const std::size_t close = FindNearByte(rest, 1, quote);
        if (close == std::string_view::npos) {
            // The value runs to the end of the markup and must be closed there.
            if (!hasClose) {
                return m_Fail("Not yet documented error 2785.");
            }
            CString value = ToCString(rest);
            if (value.IsEmpty()) {
                return m_Fail("Empty attribute not allowed (Rule 10).");
            }
            if (!m_TrimQuotesAndSpaces(value, quote)) {
                return m_Fail(quote == '"' ? "Attribute missing matching \" (Rule 10)."
                                           : "Attribute missing matching ' (Rule 10).");
            }
            return add(name, View(value));
        }
        if (!add(name, rest.substr(1, close - 1))) {
            return false;
        }
        list = TrimLeft(rest.substr(close + 1));
        first = false;
    }
    return true;
}

bool Element::m_TrimQuotesAndSpaces(CString& text, char quote) const
{
    std::string_view view = Trim(View(text));
    if (view.empty()) {
        text.Empty();
        return false;
    }
    if (view.front() == quote) {
        view.remove_prefix(1);
    }
    bool closed = false;
    if (!view.empty() && view.back() == quote) {
        view.remove_suffix(1);
        closed = true;
    }
    text = ToCString(Trim(view));
    return closed;
}

bool Element::m_ParseElementName(const CString& name)
{
    return m_CheckElementName(View(name));
}

bool Element::m_CheckElementName(std::string_view name)
{
    if (name.empty()) {
        return m_Fail("EmptyTag.");
    }
    const char first = name[0];
    if (!IsLetterByte(first) && first != '/' && first != '_' && first != ':') {
        return m_Fail("First character of element name is not legal (Rule 5).");
    }
    for (std::size_t i = 1; i < name.size(); ++i) {
        if (!IsNameCharByte(name[i])) {
            CString message;
            message.Format("Character %lu of element named \"%s\" is invalid (Rule 999192).",
                static_cast<unsigned long>(i), ToCString(name).GetString());
            return m_Fail(message);
        }
    }
    return true;
}

// --- Content of elements ---

// Reads children until this node's end tag. Open elements are kept on a
// heap stack. A node that breaks a rule is taken out of its parent and
// destroyed; its ancestors stay in the tree, so a failed parse leaves
// everything read before the error.
bool Element::m_ParseContent(CDataParser& parser)
{
    std::vector<Element*> open;
    // Room for the usual depth at once, instead of a few growth steps.
    open.reserve(32);
    open.push_back(this);
    // Nodes count as entity expansion work while a replacement text is
    // read; that does not change during this loop (a replacement read
    // inside it ends inside it), so it is looked up once.
    const bool counting = t_EntityExpansion.depth != 0;
    for (;;) {
        Element* node = open.back();
        DWORD next = 0;
        DWORD second = 0;
        if (parser.IsTextASCII()) {
            // Single-byte text: the two bytes that decide what comes next
            // are read in place.
            const std::string_view data = parser.GetByteView();
            const std::size_t index = node->m_Ending.GetIndex();
            if (index >= data.size()) {
                return m_EndOfDataInside(open);
            }
            next = BYTE(data[index]);
            second = index + 1 < data.size() ? BYTE(data[index + 1]) : 0;
        } else if (!parser.PeekAtCharacter(node->m_Ending, next)) {
            return m_EndOfDataInside(open);
        } else {
            second = parser.GetCharacter(node->m_Ending, 1);
        }
        if (next != '<' && parser.IsTextASCII()) {
            const TextChild text = node->m_ReadTextChild(parser, counting);
            if (text == TextChild::Failed) {
                return false;
            }
            if (text == TextChild::Read) {
                continue;
            }
        }
        if (next == '<' && second == '/') {
            if (!node->m_ReadEndTag(parser)) {
                m_DropFailed(open, node);
                return false;
            }
        } else {
            Element* child = nullptr;
            bool childOpen = false;
            if (!node->m_ReadChild(next, parser, counting, child, childOpen)) {
                return false;
            }
            if (childOpen) {
                if (open.size() >= kMaximumNestingDepth) {
                    child->m_ReportParsingError(kNestedTooDeeply);
                    node->m_DeleteChild(child);
                    return false;
                }
                open.push_back(child);
                continue;
            }
            bool finished = false;
            if (!node->m_AcceptChild(child, finished)) {
                m_DropFailed(open, node);
                return false;
            }
            if (!finished) {
                continue;
            }
        }
        // The node is complete: its parent reads on from its end.
        open.pop_back();
        if (open.empty()) {
            return true;
        }
        open.back()->m_Ending = node->m_Ending;
    }
}

// The data ended inside the innermost open node: the root is complete (its
// callbacks run), any other node lacks its end tag.
bool Element::m_EndOfDataInside(std::vector<Element*>& open)
{
    Element* node = open.back();
    if (node->IsRoot()) {
        if (Document* document = node->m_ParsingDocument()) {
            document->ExecuteCallbacks(node);
        }
        return true;
    }
    node->m_ReportParsingError("Premature end of data.");
    node->Empty();
    if (open.size() > 1) {
        open[open.size() - 2]->m_DeleteChild(node);
    }
    return false;
}

// A node whose end tag or content broke a rule leaves its parent, unless a
// callback stopped the parse on it (it is complete then) or it is the node
// the parse started with.
void Element::m_DropFailed(std::vector<Element*>& open, Element* node)
{
    if (open.size() > 1 && !node->m_AbortParsing) {
        open[open.size() - 2]->m_DeleteChild(node);
    }
}

// Creates the next child (an element at '<', else a text segment) and reads
// its own markup or text; open tells that its content follows.
bool Element::m_ReadChild(DWORD next, CDataParser& parser, bool counting, Element*& child, bool& open)
{
    if (counting && !m_CountEntityWork()) {
        return false;
    }
    try {
        // What NewElement does for a parent, without its general steps.
        // (m_AppendNew deletes the node when it throws: child stays null.)
        auto* made = m_Make();
        made->m_Type = next == '<' ? typeElement : typeTextSegment;
        made->m_LinkToParent(this);
        m_AppendNew(this, made);
        child = made;
    } catch (const std::bad_alloc&) {
    } catch (const CMemoryException&) {
    }
    if (child == nullptr) {
        return m_Fail("Internal error: Could not create new element.");
    }
    const bool parsed = child->m_ParseOneNode(m_Ending, parser, open);
    m_Ending = child->m_Ending;
    if (!parsed) {
        // A node that a callback stopped is complete; it stays.
        if (!child->m_AbortParsing) {
            m_DeleteChild(child);
        }
        return false;
    }
    return true;
}

// (Inline: it runs for every run of white space between tags.)
inline bool Element::m_DropsWhiteSpace() const
{
    const Document* const document = m_ParsingDocument();
    const DWORD options = document != nullptr ? document->GetParseOptions() : Document::parseDefault;
    return (options & Document::parseDropWhiteSpaceAndVerifyEntities) != 0
        || (options & Document::parseKeepWhiteSpaceAndUnverifiedEntities) == 0;
}

// Single-byte text up to the next '<', read straight into a child. Text
// that would be dropped as white space never becomes a node. Text that runs
// to the end of the data is left to the general path (AtEnd).
// (Inline in the content loop: most calls only step over white space.)
inline Element::TextChild Element::m_ReadTextChild(CDataParser& parser, bool counting)
{
    const std::string_view data = parser.GetByteView();
    const DWORD index = m_Ending.GetIndex();
    if (index >= data.size()) {
        return TextChild::AtEnd;
    }
    {
        // Most text between tags is a line break and indentation: when white
        // space runs up to markup and is dropped, one pass steps over it.
        const char* const first = data.data() + index;
        const char* const end = data.data() + data.size();
        const char* at = first;
        const char* lastBreak = nullptr;
        DWORD lines = 0;
        for (; at != end && IsXmlSpace(*at); ++at) {
            if (*at == '\n') {
                ++lines;
                lastBreak = at;
            }
        }
        if (at != end && *at == '<' && m_DropsWhiteSpace()) {
            if (lines != 0) {
                m_Ending.SetLine(m_Ending.GetLine() + lines);
                m_Ending.SetColumn(DWORD(at - lastBreak));
            } else {
                m_Ending.SetColumn(m_Ending.GetColumn() + DWORD(at - first));
            }
            m_Ending.SetIndex(DWORD(at - data.data()));
            return TextChild::Read;
        }
    }
    return m_ReadText(parser, counting);
}

Element::TextChild Element::m_ReadText(CDataParser& parser, bool counting)
{
    const std::string_view data = parser.GetByteView();
    const DWORD index = m_Ending.GetIndex();
    const void* hit = std::memchr(data.data() + index, '<', data.size() - index);
    if (hit == nullptr) {
        return TextChild::AtEnd;
    }
    const DWORD end = DWORD(static_cast<const char*>(hit) - data.data());
    const std::string_view text = data.substr(index, end - index);
    CParsePoint point = m_Ending;
    parser.StepPointTo(point, end);
    const bool allWhiteSpace = IsAllSpace(text);
    if (allWhiteSpace && m_DropsWhiteSpace()) {
        m_Ending = point;
        return TextChild::Read;
    }
    if (counting && !m_CountEntityWork()) {
        return TextChild::Failed;
    }
    Element* child = nullptr;
    try {
        child = m_NewTextSegment(this, text);
    } catch (const std::bad_alloc&) {
    } catch (const CMemoryException&) {
    }
    if (child == nullptr) {
        m_ReportParsingError("Internal error: Could not create new element.");
        return TextChild::Failed;
    }
    child->m_Beginning = m_Ending;
    child->m_Ending = point;
    child->m_IsAllWhiteSpace = allWhiteSpace;
    m_Ending = point;
    bool finished = false;
    return m_AcceptChild(child, finished) ? TextChild::Read : TextChild::Failed;
}


// Applies the rules for a child that has been read completely; finished
// tells that the child was this node's end tag.
bool Element::m_AcceptChild(Element* child, bool& finished)
{
    finished = false;
    if (child->Tag().IsEmpty()) {
        if (child->m_Type != typeTextSegment) {
            return true;
        }
        if (!m_DropsWhiteSpace()) {
            return true;
        }
        if (child->m_IsAllWhiteSpace) {
            m_DeleteChild(child);
            return true;
        }
        if (!m_VerifyEntityReferences(child)) {
            m_DeleteChild(child);
            return false;
        }
        return true;
    }
    if (child->Tag()[0] != '/') {
        return true;
    }
    const CString found = ToCString(Trim(View(child->Tag()).substr(1)));
    m_DeleteChild(child);
    finished = true;
    return m_CloseWithEndTag(found);
}

// Reads the end tag at m_Ending ("</" stands there) and closes this node
// with it. An end tag that is exactly "</" tag ">" in single-byte text is
// taken in place when no callbacks are registered: the name was checked
// when the start tag was read. Any other is read into a node of its own
// that never joins the tree and lives only while its markup is checked.
bool Element::m_ReadEndTag(CDataParser& parser)
{
    const Document* const document = m_ParsingDocument();
    if (parser.IsTextASCII() && !Tag().IsEmpty() && (document == nullptr || document->m_Callbacks.IsEmpty())) {
        const std::string_view data = parser.GetByteView();
        const std::string_view tag = View(Tag());
        const std::size_t index = m_Ending.GetIndex();
        const std::size_t length = tag.size() + 3;
        if (data.size() - index >= length && data.compare(index + 2, tag.size(), tag) == 0
            && data[index + tag.size() + 2] == '>') {
            parser.StepPointTo(m_Ending, DWORD(index + length));
            m_IsDone = true;
            return m_RunCallbacks("Parsing was aborted by Callback function.");
        }
    }
    Element endTag;
    endTag.m_Type = typeElement;
    endTag.m_LinkToParent(this);
    bool open = false;
    const bool parsed = endTag.m_ParseOneNode(m_Ending, parser, open);
    m_Ending = endTag.m_Ending;
    endTag.m_DropParent();
    if (!parsed) {
        return false;
    }
    // Markup that begins "</" always reads as an end tag, which closes itself.
    return m_CloseWithEndTag(ToCString(Trim(View(endTag.Tag()).substr(1))));
}

// Closes this node with the name found in an end tag.
bool Element::m_CloseWithEndTag(const CString& found)
{
    // An end tag without a name closes nothing, not even the root.
    if (found == Tag() && !found.IsEmpty()) {
        m_IsDone = true;
        return m_RunCallbacks("Parsing was aborted by Callback function.");
    }
    CString message;
    message.Format("Overlapping tags detected. Found \"%s\" but needed to find \"%s\".", found.GetString(),
        Tag().GetString());
    m_ReportParsingError(message);
    Empty();
    return false;
}

// Every '&' in a text child must start a reference that ends with ';' and
// that the document's entity table knows.
bool Element::m_VerifyEntityReferences(const Element* child)
{
    const Document* const document = m_ParsingDocument();
    if (document == nullptr) {
        return true;
    }
    const std::string_view text = View(child->Contents());
    const CExtensibleMarkupLanguageEntities& entities = document->GetEntities();
    constexpr std::size_t stop = std::string_view::npos;
    return ForEachAmpersand(text, [&](std::size_t ampersand) {
        const std::size_t predefined = PredefinedReferenceLength(text, ampersand);
        if (predefined != 0) {
            return ampersand + predefined;
        }
        // Otherwise the reference runs to the first ';'. One found in the
        // table is well formed; anything else takes the full check, which
        // names the rule it breaks.
        const std::size_t semicolon = FindNearByte(text, ampersand + 1, ';');
        if (semicolon == std::string_view::npos) {
            m_ReportParsingError("Ill-formed entity reference in text section (Rule 68).");
            return stop;
        }
        const std::size_t length = semicolon - ampersand + 1;
        const char* reference = text.data() + ampersand;
        DWORD rule = 0;
        if (IsDecimalCharacterReference(text, ampersand, length) || entities.Find(reference, int(length)) != nullptr
            || entities.IsEntityReference(reference, int(length), rule)) {
            return semicolon + 1;
        }
        CString message;
        message.Format("Bad entity reference in text section (Rule %lu).", static_cast<unsigned long>(rule));
        m_ReportParsingError(message);
        return stop;
    });
}
