// The document type declaration: its name, its external identifier and its
// internal subset, whose items become children of the declaration's node.
#include "xml/ExtensibleMarkupLanguageElement.h"

#include "xml/ExtensibleMarkupLanguageDocument.h"
#include "xml/XmlParseSupport.h"

#include <cstring>
#include <new>
#include <string>

using Element = CExtensibleMarkupLanguageElement;
using namespace OrvXml;

namespace {

// One quoted literal of an external identifier, read from text at index.
bool ReadQuoted(std::string_view text, std::size_t& index, std::string_view& literal, char& quote,
    const char*& message)
{
    if (text.size() - index < 2) {
        message = "Not enough room to quote a string (Rule 11).";
        return false;
    }
    quote = text[index];
    if (!IsQuote(quote)) {
        message = "String not properly quoted (Rule 11).";
        return false;
    }
    const std::size_t close = text.find(quote, index + 1);
    if (close == std::string_view::npos) {
        message = "Mismatched quotes (Rule 11).";
        return false;
    }
    literal = text.substr(index + 1, close - index - 1);
    index = close + 1;
    return true;
}

void SkipSpace(std::string_view text, std::size_t& index) noexcept
{
    while (index < text.size() && IsXmlSpace(text[index])) {
        ++index;
    }
}

bool IsSpaceCharacter(DWORD c) noexcept
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void SkipSpace(const CDataParser& parser, CParsePoint& point)
{
    DWORD c = 0;
    while (parser.PeekAtCharacter(point, c) && IsSpaceCharacter(c)) {
        parser.GetNextCharacter(point, c);
    }
}

// A replacement text being read as markup; a declaration met inside one is
// embedded in a parameter entity.
class ReplacementScope {
public:
    ReplacementScope() noexcept { ++t_EntityExpansion.depth; }
    ~ReplacementScope() { --t_EntityExpansion.depth; }
    ReplacementScope(const ReplacementScope&) = delete;
    ReplacementScope& operator=(const ReplacementScope&) = delete;
};

// Whether the ENTITY declaration held in contents (the text after
// "ENTITY") declares the parameter entity name with an external identifier.
bool DeclaresExternalParameterEntity(std::string_view contents, std::string_view name) noexcept
{
    contents = TrimLeft(contents);
    if (contents.empty() || contents.front() != '%') {
        return false;
    }
    contents = TrimLeft(contents.substr(1));
    const std::size_t space = FindSpace(contents);
    if (space == std::string_view::npos || contents.substr(0, space) != name) {
        return false;
    }
    const std::string_view definition = TrimLeft(contents.substr(space));
    return StartsWith(definition, "SYSTEM") || StartsWith(definition, "PUBLIC");
}

} // namespace

bool Element::m_ParseDOCTYPESection(const CString& markup, CDataParser& parser)
{
    std::string_view text = View(markup);
    if (!text.empty() && text.back() == '>') {
        text.remove_suffix(1);
    }
    std::size_t index = text.find("DOCTYPE") + 7;
    SkipSpace(text, index);
    if (index >= text.size()) {
        return m_Fail("DOCTYPE Section, not enough room to parse Name (Rule 28).");
    }
    const char first = text[index];
    if (!IsLetterByte(first) && first != '_' && first != ':') {
        return m_Fail("DOCTYPE Section, illegal first character of Name (Rule 5).");
    }
    // The name runs over name characters to white space, '[' or the end
    // of the declaration. A character that begins the next part of a
    // declaration (a quote, '%' or ']') straight after the name ends it
    // where it may not; any other character is not allowed in a name.
    std::size_t end = index + 1;
    while (end < text.size() && !IsXmlSpace(text[end]) && text[end] != '[') {
        if (!IsNameCharByte(text[end])) {
            const bool terminator = IsQuote(text[end]) || text[end] == '%' || text[end] == ']';
            return m_Fail(terminator ? "Illegal DOCTYPE name terminator (Rule 28)."
                                     : "Illegal DOCTYPE name character (Rule 28).");
        }
        ++end;
    }
    m_TagSlot() = "DOCTYPE " + ToCString(text.substr(index, end - index));
    index = end;
    SkipSpace(text, index);
    if (index < text.size() && (text[index] == 'S' || text[index] == 'P')) {
        if (text.size() - index < 6) {
            return m_Fail("No more room to parse SYSTEM or PUBLIC (Rule 75).");
        }
        const std::string_view keyword = text.substr(index, 6);
        if (keyword != "SYSTEM" && keyword != "PUBLIC") {
            return m_Fail("DOCTYPE ExternalID is not SYSTEM or PUBLIC (Rule 75).");
        }
        index += 6;
        SkipSpace(text, index);
        const char* message = nullptr;
        std::string_view literal;
        char quote = '"';
        CString identifier = keyword == "SYSTEM" ? " SYSTEM " : " PUBLIC ";
        if (keyword == "PUBLIC") {
            if (!ReadQuoted(text, index, literal, quote, message)) {
                return m_Fail(message);
            }
            for (char c : literal) {
                if (!IsPubidChar(DWORD(BYTE(c))) || (c == '\'' && quote == '\'')) {
                    return m_Fail("Illegal PubidChar (Rule 13).");
                }
            }
            identifier += quote + ToCString(literal) + quote + ' ';
            SkipSpace(text, index);
            if (index >= text.size() || !IsQuote(text[index])) {
                return m_Fail("PUBLIC SystemLiteral not properly quoted (Rule 11).");
            }
        }
        if (!ReadQuoted(text, index, literal, quote, message)) {
            return m_Fail(message);
        }
        identifier += quote + ToCString(literal) + quote;
        m_ContentsSlot() = identifier;
        SkipSpace(text, index);
    }
    if (index >= text.size()) {
        return true;
    }
    if (text[index] != '[') {
        return m_Fail("Impossible character in DOCTYPE declaration (Rule 28).");
    }
    m_ContentsSlot() = Contents().ToCString() + " [";
    return m_ReadDOCTYPESubset(DWORD(index), parser);
}

// Reads the internal subset from the data, starting after the '[' that
// stands at character offset bracket of this node's markup.
bool Element::m_ReadDOCTYPESubset(DWORD bracket, CDataParser& parser)
{
    const DWORD width = parser.IsTextUCS4() ? 4 : (parser.IsTextASCII() ? 1 : 2);
    CParsePoint point = m_Beginning;
    CString skipped;
    if (!parser.Get(point, (bracket + 1) * width, skipped)) {
        return m_Fail("Error 2490 (Rule 28).");
    }
    for (;;) {
        SkipSpace(parser, point);
        m_Ending = point;
        DWORD c = 0;
        if (!parser.PeekAtCharacter(point, c)) {
            return m_Fail("No more room (Rule 28).");
        }
        if (c == ']') {
            parser.GetNextCharacter(point, c);
            m_Ending = point;
            if (!parser.PeekAtCharacter(point, c)) {
                return m_Fail("No room after closing ] (Rule 28).");
            }
            // The declaration continues after ']' with white space or '>'.
            if (c != '>' && !IsSpaceCharacter(c)) {
                return m_Fail("Illegal character at contiuation point (Rule 28).");
            }
            SkipSpace(parser, point);
            m_Ending = point;
            if (!parser.PeekAtCharacter(point, c)) {
                return m_Fail("No room after continuation point (Rule 28).");
            }
            if (c != '>') {
                return m_Fail("Missing closing > (Rule 28).");
            }
            parser.GetNextCharacter(point, c);
            m_Ending = point;
            return true;
        }
        if (c == '%') {
            if (!m_ReadPEReference(point, parser)) {
                return false;
            }
            continue;
        }
        if (c != '<') {
            return m_Fail("Ill-formed DOCTYPE child, missing < (Rule 29).");
        }
        CParsePoint close;
        if (!parser.Find(point, CString(">"), close)) {
            return m_Fail("Ill-formed DOCTYPE child, missing terminating > (Rule 28).");
        }
        if (t_EntityExpansion.depth != 0 && !m_CountEntityWork()) {
            return false;
        }
        Element* child = NewElement(this, typeElement);
        if (!child->Parse(point, parser)) {
            m_Ending = child->m_Ending;
            if (!child->m_AbortParsing) {
                m_DeleteChild(child);
            }
            return false;
        }
        point = child->m_Ending;
        if (!m_RefuseEndTagChild(child)) {
            return false;
        }
    }
}

// An end tag closes nothing inside the subset; kept as a child it would be
// written back as markup that cannot be read again.
bool Element::m_RefuseEndTagChild(Element* child)
{
    if (child->m_Type != typeElement || child->Tag().IsEmpty() || child->Tag()[0] != '/') {
        return true;
    }
    m_DeleteChild(child);
    return m_Fail("Ill-formed DOCTYPE child, end tag not allowed (Rule 28).");
}

// A parameter-entity reference ("%name;") inside the internal subset. Its
// replacement text, when it is markup, is read as a child of this node.
bool Element::m_ReadPEReference(CParsePoint& point, CDataParser& parser)
{
    CString reference("&");
    DWORD c = 0;
    parser.GetNextCharacter(point, c);
    for (;;) {
        m_Ending = point;
        if (!parser.PeekAtCharacter(point, c) || IsSpaceCharacter(c) || c == '<' || c == '>' || c == '%') {
            return m_Fail("DOCTYPE PEReference is missing terminating semi-colon (Rule 69).");
        }
        parser.GetNextCharacter(point, c);
        reference += char(BYTE(c));
        if (c == ';') {
            break;
        }
    }
    m_Ending = point;
    CExtensibleMarkupLanguageDocument* const document = m_FindDocument();
    if (document == nullptr) {
        return m_Fail("No entity database.");
    }
    if (!m_CountEntityWork()) {
        return false;
    }
    CString replacement;
    if (!document->ResolveEntity(reference, replacement)) {
        // External entities are recognised but never fetched: a reference
        // to one declared earlier in this subset is reported as such.
        const std::string_view name = View(reference).substr(1, std::size_t(reference.GetLength()) - 2);
        for (int i = 0; i < m_Children.GetSize(); ++i) {
            const Element* item = m_Children.GetData()[i];
            if (item->m_Type == typeMetaData && item->Tag() == "ENTITY"
                && DeclaresExternalParameterEntity(View(item->Contents()), name)) {
                return m_Fail("Unsupported (non-standalone) External Reference to \"%" + ToCString(name) + ";\"");
            }
        }
        return m_Fail(t_EntityExpansion.depth > 0 ? "Can't resolve embedded DOCTYPE PEReference (Rule 69)."
                                                  : "Can't resolve DOCTYPE PEReference (Rule 69).");
    }
    const std::string_view markup = Trim(View(replacement));
    if (markup.empty() || markup.front() != '<') {
        return true;
    }
    return m_ParseTrickyElement(ToCString(markup));
}

bool Element::m_ParseTrickyElement(const CString& replacement)
{
    CDataParser temporary;
    try {
        auto* bytes = new CByteArray;
        temporary.Initialize(bytes, true);
        bytes->SetSize(replacement.GetLength());
        std::memcpy(bytes->GetData(), replacement.GetString(), std::size_t(replacement.GetLength()));
    } catch (const std::bad_alloc&) {
        return m_Fail("Ran out of memory allocating for a tricky element.");
    } catch (const CMemoryException&) {
        return m_Fail("Ran out of memory allocating for a tricky element.");
    }
    Element* child = NewElement(this, typeElement);
    const ReplacementScope replacementScope;
    if (!child->Parse(CParsePoint(), temporary)) {
        m_DeleteChild(child);
        return m_Fail("Can't parse tricky element (Rule 69).");
    }
    return m_RefuseEndTagChild(child);
}
