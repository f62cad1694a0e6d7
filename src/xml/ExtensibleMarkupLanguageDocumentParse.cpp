// CExtensibleMarkupLanguageDocument::Parse: the encoding, the prolog, and
// the nodes at the top of the document.
#include "xml/ExtensibleMarkupLanguageDocument.h"

#include "xml/XmlParseSupport.h"

#include <new>

using Element = CExtensibleMarkupLanguageElement;

namespace {

bool IsSpaceCharacter(DWORD c) noexcept
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

DWORD Lower(DWORD c) noexcept
{
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

} // namespace

void CExtensibleMarkupLanguageDocument::m_ClearError()
{
    m_ErrorRecorded = false;
    m_ErrorBeginning.Empty();
    m_ErrorLocation.Empty();
    m_ErrorTag.Empty();
    m_ErrorMessage.Empty();
}

void CExtensibleMarkupLanguageDocument::m_ReportError(const char* message)
{
    if (!m_ErrorRecorded) {
        m_ErrorMessage = message;
        m_ErrorRecorded = true;
    }
}

bool CExtensibleMarkupLanguageDocument::Parse(CDataParser& parser)
{
    m_ClearError();
    try {
        return m_Parse(parser);
    } catch (const std::bad_alloc&) {
    } catch (const CMemoryException&) {
    }
    // Memory ran out outside the nodes' own parsing, which report it
    // themselves: the tree read so far stays, and the parse fails.
    try {
        m_ReportError("Can't allocate memory.");
    } catch (...) {
        m_ErrorRecorded = true;
    }
    return false;
}

bool CExtensibleMarkupLanguageDocument::m_Parse(CDataParser& parser)
{
    if (m_XML == nullptr) {
        try {
            m_XML = m_NewRoot();
        } catch (const std::bad_alloc&) {
        } catch (const CMemoryException&) {
        }
        if (m_XML == nullptr) {
            m_ReportError("Can't allocate memory.");
            return false;
        }
    }
    if (parser.GetSize() < 4) {
        m_ReportError("Too few bytes to parse.");
        return false;
    }
    CParsePoint start;
    if (!m_DetectEncoding(parser, start)) {
        return false;
    }
    CParsePoint point = start;
    if (!m_SkipWhiteSpace(parser, point)) {
        return false;
    }
    // "<?xml", with the letters in either case, as a whole target: white
    // space or the "?>" follows (xml-stylesheet is no declaration).
    const DWORD after = parser.GetCharacter(point, 5);
    const bool declared = parser.GetCharacter(point, 1) == '?' && Lower(parser.GetCharacter(point, 2)) == 'x'
        && Lower(parser.GetCharacter(point, 3)) == 'm' && Lower(parser.GetCharacter(point, 4)) == 'l'
        && (IsSpaceCharacter(after) || after == '?');
    return declared ? m_ParseWithDeclaration(parser, point) : m_ParseWithoutDeclaration(parser, point);
}

// Sets the encoding found in the first four bytes into the parser; start
// is moved past a byte order mark.
bool CExtensibleMarkupLanguageDocument::m_DetectEncoding(CDataParser& parser, CParsePoint& start)
{
    const BYTE b0 = parser.GetAt(0);
    const BYTE b1 = parser.GetAt(1);
    const BYTE b2 = parser.GetAt(2);
    const BYTE b3 = parser.GetAt(3);
    start.Empty();
    parser.SetTextToASCII(true);
    if (b0 == 0xEF && b1 == 0xBB && b2 == 0xBF) {
        start.SetIndex(3);
        return true;
    }
    if (b0 == 0xFE || b0 == 0xFF) {
        const bool bigEndian = b0 == 0xFE;
        if (b1 != (bigEndian ? 0xFF : 0xFE)) {
            m_ReportError(bigEndian
                    ? "Second character of Byte Order Mark is invalid for UTF-16 Big Endian (Appendix F)."
                    : "Second character of Byte Order Mark is invalid for UTF-16 Little Endian (Appendix F).");
            return false;
        }
        parser.SetTextToASCII(false);
        parser.SetTextToBigEndian(bigEndian);
        start.SetIndex(2);
        return true;
    }
    if (b0 == 0x3C) {
        if (b1 != 0) {
            return true;
        }
        if (b2 == 0x3F && b3 == 0) {
            parser.SetTextToASCII(false);
            parser.SetTextToBigEndian(false);
            return true;
        }
        if (b2 == 0 && b3 == 0) {
            parser.SetTextToUCS4(true);
            parser.SetUCS4Order(4321);
        }
        return true;
    }
    if (b0 == 0) {
        if (b1 == 0x3C && b2 == 0 && b3 == 0x3F) {
            parser.SetTextToASCII(false);
            parser.SetTextToBigEndian(true);
            return true;
        }
        if (b1 == 0x3C && b2 == 0 && b3 == 0) {
            parser.SetTextToUCS4(true);
            parser.SetUCS4Order(3412);
            return true;
        }
        if (b1 == 0 && b2 == 0 && b3 == 0x3C) {
            parser.SetTextToUCS4(true);
            parser.SetUCS4Order(1234);
            return true;
        }
        if (b1 == 0 && b2 == 0x3C && b3 == 0) {
            parser.SetTextToUCS4(true);
            parser.SetUCS4Order(2143);
            return true;
        }
    }
    m_ReportError("Can't determine Character Encoding (Appendix F).");
    return false;
}

// Moves point to the first character that is not white space, which must
// be '<'.
bool CExtensibleMarkupLanguageDocument::m_SkipWhiteSpace(CDataParser& parser, CParsePoint& point)
{
    const DWORD width = parser.IsTextUCS4() ? 4 : (parser.IsTextASCII() ? 1 : 2);
    DWORD c = 0;
    for (;;) {
        if (!parser.PeekAtCharacter(point, c)) {
            m_ReportError("Document is all white space (Rule 1).");
            return false;
        }
        if (!IsSpaceCharacter(c)) {
            break;
        }
        point.AutoIncrement(BYTE(c));
        point.SetIndex(point.GetIndex() + width - 1);
    }
    if (c != '<') {
        m_ReportError("First non-space character is not '<' (Rule 1).");
        return false;
    }
    return true;
}

bool CExtensibleMarkupLanguageDocument::m_ParseWithDeclaration(CDataParser& parser, const CParsePoint& start)
{
    if ((m_ParseOptions & parseAcceptUpperCaseXMLDeclaration) == 0) {
        for (DWORD i = 2; i <= 4; ++i) {
            const DWORD c = parser.GetCharacter(start, i);
            if (c >= 'A' && c <= 'Z') {
                m_ReportError("XML Declaration is not lower case (Rule 23).");
                return false;
            }
        }
    }
    CParsePoint end;
    if (!parser.Find(start, CString("?>"), end)) {
        m_ReportError("Can't find the end of the end of the beginning-of-XML tag (?>).");
        return false;
    }
    if (m_XML == nullptr) {
        m_ReportError("Internal error : m_XML is NULL.");
        return false;
    }
    if (!m_XML->Parse(start, parser)) {
        m_SetDefaultDeclaration();
        return false;
    }
    if ((m_ParseOptions & parseOnlyOneElement) != 0 && !m_CheckOnlyOneElement()) {
        return false;
    }
    return !m_ErrorRecorded;
}

bool CExtensibleMarkupLanguageDocument::m_ParseWithoutDeclaration(CDataParser& parser, const CParsePoint& start)
{
    if ((m_ParseOptions & parseAcceptNoXMLDeclaration) == 0) {
        m_ReportError("Can't find beginning-of-XML tag (<?xml) regardless of case.");
        return false;
    }
    // A document parsed again starts from an empty root, as it does when
    // the root reads a declaration.
    m_XML->Empty();
    m_SetDefaultDeclaration();
    m_Version = "1.0";
    m_IsStandalone = true;
    CParsePoint point = start;
    DWORD c = 0;
    while (parser.PeekAtCharacter(point, c)) {
        Element* child = nullptr;
        try {
            child = Element::NewElement(m_XML, c == '<' ? Element::typeElement : Element::typeTextSegment, this);
        } catch (const std::bad_alloc&) {
        } catch (const CMemoryException&) {
        }
        if (child == nullptr) {
            m_XML->DestroyChildren();
            m_ReportError("Internal error: Could not create new element.");
            return false;
        }
        if (!child->Parse(point, parser)) {
            m_XML->DestroyChildren();
            return false;
        }
        if (child->GetType() == Element::typeElement && child->Tag().GetLength() > 0 && child->Tag()[0] == '/') {
            // An end tag with no element open: the same fault as an end tag
            // that does not match, here with nothing to match.
            CString message;
            message.Format("Overlapping tags detected. Found \"%s\" but needed to find \"\".",
                child->Tag().ToCString().Mid(1).Trim().GetString());
            child->m_ReportParsingError(message);
            m_XML->DestroyChildren();
            return false;
        }
        CParsePoint next;
        child->GetEnding(next);
        if (next.GetIndex() <= point.GetIndex()) {
            break;
        }
        point = next;
    }
    return !m_ErrorRecorded;
}

// The declaration a document gets when its data had none, or when reading
// its own failed.
void CExtensibleMarkupLanguageDocument::m_SetDefaultDeclaration()
{
    m_XML->DestroyAttributes();
    m_XML->SetContents("xml version=\"1.0\" standalone=\"yes\"");
    m_XML->m_Attributes.Add(new CExtensibleMarkupLanguageAttribute("version", "1.0"));
    m_XML->m_Attributes.Add(new CExtensibleMarkupLanguageAttribute("standalone", "yes"));
}

bool CExtensibleMarkupLanguageDocument::m_CheckOnlyOneElement()
{
    bool seen = false;
    for (int i = 0; i < m_XML->m_Children.GetSize(); ++i) {
        Element* child = m_XML->m_Children[i];
        if (child->GetType() != Element::typeElement) {
            continue;
        }
        if (seen) {
            const CString message("There can be only one element (Rule 1).");
            SetParsingErrorInformation(child->Tag().ToCString(), child->m_Beginning, child->m_Beginning, &message);
            return false;
        }
        seen = true;
    }
    return true;
}
