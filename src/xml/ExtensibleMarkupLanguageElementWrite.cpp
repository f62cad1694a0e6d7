// Writing nodes back to bytes. The output is built in one growing buffer and
// appended to the caller's array once; single-byte output copies whole
// strings, the other encodings widen each byte. The subtree is walked with
// an explicit stack, so any depth is safe.
#include "xml/ExtensibleMarkupLanguageElement.h"

#include "xml/ExtensibleMarkupLanguageDocument.h"
#include "xml/XmlParseSupport.h"

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <iconv.h>
#endif

using Element = CExtensibleMarkupLanguageElement;
using Document = CExtensibleMarkupLanguageDocument;

namespace OrvXml {

#if !defined(_WIN32)
namespace {

// The code pages written natively besides UTF-8, with their iconv names:
// the Windows single-byte pages and ISO 8859-1.
struct CodePageName {
    DWORD codePage;
    const char* name;
};
constexpr CodePageName kCodePages[] = {{1250, "CP1250"}, {1251, "CP1251"}, {1252, "CP1252"}, {1253, "CP1253"},
    {1254, "CP1254"}, {1255, "CP1255"}, {1256, "CP1256"}, {1257, "CP1257"}, {1258, "CP1258"},
    {28591, "ISO-8859-1"}};
constexpr std::size_t kCodePageCount = sizeof kCodePages / sizeof kCodePages[0];

// One UTF-16 code unit in the code page through iconv; '?' for a unit the
// page cannot hold, as the system's converter writes its default character.
void ConvertUnit(const char* name, DWORD unit, std::string& out)
{
    iconv_t converter = iconv_open(name, "UTF-16LE");
    char converted[32];
    std::size_t length = 0;
    if (converter != iconv_t(-1)) {
        char input[2] = {char(unit & 0xFF), char((unit >> 8) & 0xFF)};
        char* in = input;
        std::size_t inLeft = sizeof input;
        char* outAt = converted;
        std::size_t outLeft = 31;
        if (iconv(converter, &in, &inLeft, &outAt, &outLeft) != std::size_t(-1)
            && iconv(converter, nullptr, nullptr, &outAt, &outLeft) != std::size_t(-1)) {
            length = std::size_t(outAt - converted);
        }
        iconv_close(converter);
    }
    if (length == 0) {
        out += '?';
    } else {
        out.append(converted, length);
    }
}

// The bytes of the units 0 to 255, which are all a tree's single-byte
// text holds, converted once per code page.
struct CodePageTable {
    std::once_flag built;
    std::string bytes[256];
};
CodePageTable g_Tables[kCodePageCount];

std::size_t CodePageIndex(DWORD codePage) noexcept
{
    for (std::size_t i = 0; i < kCodePageCount; ++i) {
        if (kCodePages[i].codePage == codePage) {
            return i;
        }
    }
    return kCodePageCount;
}

void AppendInCodePage(std::string& out, DWORD unit, DWORD codePage)
{
    const std::size_t index = CodePageIndex(codePage);
    if (index == kCodePageCount) {
        return; // refused by SetConversionCodePage; a derived caller's own value
    }
    if (unit > 0xFF) {
        ConvertUnit(kCodePages[index].name, unit, out);
        return;
    }
    CodePageTable& table = g_Tables[index];
    std::call_once(table.built, [&table, index] {
        for (DWORD c = 0; c < 256; ++c) {
            ConvertUnit(kCodePages[index].name, c, table.bytes[c]);
        }
    });
    out += table.bytes[unit];
}

} // namespace
#endif

bool IsSupportedCodePage(DWORD codePage)
{
#if defined(_WIN32)
    return codePage == 0 || codePage == 65001 || IsValidCodePage(codePage) != FALSE;
#else
    return codePage == 65001 || CodePageIndex(codePage) != kCodePageCount;
#endif
}

namespace {

// Appends the bytes of character c (0 to 255) under the write options.
void EncodeCharacter(std::string& out, DWORD c, DWORD options, DWORD codePage)
{
    const bool bigEndian = (options & Document::writeBigEndian) != 0;
    const char b0 = char(c & 0xFF);
    const char b1 = char((c >> 8) & 0xFF);
    const char b2 = char((c >> 16) & 0xFF);
    const char b3 = char((c >> 24) & 0xFF);
    if ((options & Document::writeSingleByte) != 0) {
        out += b0;
    } else if ((options & Document::writeUnicode) != 0) {
        out += bigEndian ? b1 : b0;
        out += bigEndian ? b0 : b1;
    } else if ((options & Document::writeUCS4) != 0) {
        const char ordered[4] = {b0, b1, b2, b3};
        const char reversed[4] = {b3, b2, b1, b0};
        out.append(bigEndian ? reversed : ordered, 4);
    } else if ((options & Document::writeUCS4_2143) != 0) {
        const char bytes[4] = {b2, b3, b0, b1};
        out.append(bytes, 4);
    } else if ((options & Document::writeUCS4_3412) != 0) {
        const char bytes[4] = {b1, b0, b3, b2};
        out.append(bytes, 4);
    } else if ((options & Document::writeCodePage) != 0) {
#if defined(_WIN32)
        const wchar_t unit = wchar_t(c & 0xFFFF);
        char converted[32];
        const int length = WideCharToMultiByte(codePage, 0, &unit, 1, converted, 31, nullptr, nullptr);
        if (length > 0) {
            out.append(converted, std::size_t(length));
        }
#else
        // UTF-8 (65001) is encoded here, the single-byte pages through
        // iconv (see IsSupportedCodePage).
        const DWORD unit = c & 0xFFFF;
        if (codePage != 65001) {
            AppendInCodePage(out, unit, codePage);
        } else if (unit < 0x80) {
            out += char(unit);
        } else if (unit < 0x800) {
            out += char(0xC0 | (unit >> 6));
            out += char(0x80 | (unit & 0x3F));
        } else {
            out += char(0xE0 | (unit >> 12));
            out += char(0x80 | ((unit >> 6) & 0x3F));
            out += char(0x80 | (unit & 0x3F));
        }
#endif
    }
}

} // namespace

// Writes a subtree under one set of write options and one indentation state.
class CXmlWriter {
public:
    explicit CXmlWriter(const Element& start)
    {
        const Document* document = start.m_FindDocument();
        if (document != nullptr) {
            m_Options = document->GetWriteOptions();
            m_CodePage = document->GetConversionCodePage();
            document->GetAutomaticIndentation(m_Automatic, m_Level, m_IndentBy);
        }
    }

    void Text(std::string_view text)
    {
        if (m_Options == Document::writeSingleByte || (m_Options & Document::writeSingleByte) != 0) {
            m_Out.append(text);
            return;
        }
        for (char c : text) {
            EncodeCharacter(m_Out, DWORD(BYTE(c)), m_Options, m_CodePage);
        }
    }
    void Text(const CString& text) { Text(View(text)); }
    void Text(const CNodeText& text) { Text(text.View()); }
    void Text(const char* text) { Text(std::string_view(text)); }

    void Indentation()
    {
        if (m_Automatic) {
            Text("\r\n");
            m_Out.reserve(m_Out.size() + m_Level);
            for (DWORD i = 0; i < m_Level; ++i) {
                Text(" ");
            }
        }
    }

    void Attributes(const Element& node)
    {
        for (int i = 0; i < node.m_Attributes.GetSize(); ++i) {
            const CExtensibleMarkupLanguageAttribute* attribute = node.m_Attributes[i];
            if (!attribute->m_Name.IsEmpty()) {
                Text(" ");
                Text(attribute->m_Name);
            }
            const char* quote = attribute->m_Value.View().find('"') != std::string_view::npos ? "'" : "\"";
            Text("=");
            Text(quote);
            Text(attribute->m_Value);
            Text(quote);
        }
    }

    // Writes the subtree of start, children after their parent's opening
    // and before its closing.
    void Subtree(const Element& start)
    {
        struct Step {
            const Element* node;
            bool closing;
        };
        std::vector<Step> pending{{&start, false}};
        while (!pending.empty()) {
            const Step step = pending.back();
            pending.pop_back();
            if (step.closing) {
                Closing(*step.node);
                continue;
            }
            if (!step.node->m_IsPlain()) {
                Delegate(*step.node);
                continue;
            }
            if (!Opening(*step.node)) {
                continue;
            }
            pending.push_back({step.node, true});
            if (WritesEmptyTag(*step.node)) {
                continue; // an empty-element tag has no content to write
            }
            const auto& children = step.node->m_Children;
            for (int i = children.GetSize() - 1; i >= 0; --i) {
                pending.push_back({children.GetData()[i], false});
            }
        }
    }

    void Children(const Element& node)
    {
        for (int i = 0; i < node.m_Children.GetSize(); ++i) {
            Subtree(*node.m_Children.GetData()[i]);
        }
    }

    void Declaration(const Element& root)
    {
        const Document* document = root.m_FindDocument();
        CString version;
        CString encoding;
        bool standalone = true;
        if (document != nullptr) {
            document->GetVersion(version);
            document->GetEncoding(encoding);
            standalone = document->IsStandalone();
        }
        Text("<?xml version=\"");
        Text(version.IsEmpty() ? CString("1.0") : version);
        Text("\"");
        if (!encoding.IsEmpty()) {
            Text(" encoding=\"");
            Text(encoding);
            Text("\"");
        }
        Text(standalone ? " standalone=\"yes\"" : " standalone=\"no\"");
        Text("?>");
    }

    std::string& Output() noexcept { return m_Out; }
    void SetSingleByte() noexcept { m_Options = Document::writeSingleByte; }

private:
    // A node of a derived class writes itself through its own steps, from
    // the indentation level reached here.
    void Delegate(const Element& node)
    {
        Document* document = node.m_FindDocument();
        if (document != nullptr) {
            document->SetAutomaticIndentation(m_Automatic, m_Level, m_IndentBy);
        }
        CByteArray bytes;
        node.WriteTo(bytes);
        m_Out.append(reinterpret_cast<const char*>(bytes.GetData()), std::size_t(bytes.GetSize()));
    }

    // The part before the children; false when the node has no children
    // part and no closing (unknown nodes).
    bool Opening(const Element& node)
    {
        switch (node.m_Type) {
        case Element::typeTextSegment:
            Text(node.Contents());
            return true;
        case Element::typeComment:
            Text("<!--");
            Text(node.Contents());
            Text("-->");
            return true;
        case Element::typeCDATASection:
            CDATA(node.Contents());
            return true;
        case Element::typeProcessingInstruction:
            if (node.m_ParentNode() == nullptr) {
                Declaration(node);
            } else {
                Text("<?");
                Text(node.Contents());
                Text("?>");
            }
            return true;
        case Element::typeMetaData:
            Text("<!");
            Text(node.Tag());
            Text(" ");
            Text(node.Contents());
            if (!StartsWithDOCTYPE(node)) {
                Text(">");
            }
            return true;
        case Element::typeElement:
            m_Level += m_Automatic ? m_IndentBy : 0;
            Indentation();
            Text("<");
            Text(node.Tag());
            Attributes(node);
            Text(WritesEmptyTag(node) ? "/>" : ">");
            if (!WritesEmptyTag(node)) {
                Text(node.Contents());
            }
            return true;
        default:
            return false;
        }
    }

    void Closing(const Element& node)
    {
        if (node.m_Type == Element::typeMetaData && StartsWithDOCTYPE(node)) {
            // An opened internal subset is closed even when it held nothing,
            // so the declaration reads back.
            const std::string_view contents = View(node.Contents());
            if (node.m_Children.GetSize() > 0 || (!contents.empty() && contents.back() == '[')) {
                Text("]");
            }
            Text(">");
            return;
        }
        if (node.m_Type != Element::typeElement) {
            return;
        }
        if (!WritesEmptyTag(node)) {
            const int count = node.m_Children.GetSize();
            const bool onlyText = count == 1 && node.m_Children.GetData()[0]->m_Type == Element::typeTextSegment;
            if (count > 0 && !onlyText) {
                Indentation();
            }
            Text("</");
            Text(node.Tag());
            Text(">");
        }
        m_Level -= m_Automatic ? m_IndentBy : 0;
    }

    void CDATA(const CNodeText& contents)
    {
        Text("<![CDATA[");
        std::string_view rest = View(contents);
        for (;;) {
            const std::size_t found = rest.find("]]>");
            if (found == std::string_view::npos) {
                break;
            }
            Text(rest.substr(0, found));
            Text("]]>]]>");
            rest.remove_prefix(found + 3);
        }
        Text(rest);
        Text("]]>");
    }

    // A parsed empty-element tag that has since been given children is
    // written with a start and an end tag, so the children are kept.
    static bool WritesEmptyTag(const Element& node) noexcept
    {
        return node.m_Type == Element::typeElement && node.m_IsTagEmpty && node.m_Children.GetSize() == 0;
    }

    static bool StartsWithDOCTYPE(const Element& node) noexcept
    {
        return View(node.Tag()).substr(0, 7) == "DOCTYPE";
    }

    std::string m_Out;
    DWORD m_Options = Document::writeSingleByte;
    DWORD m_CodePage = 65001;
    bool m_Automatic = false;
    DWORD m_Level = 0;
    DWORD m_IndentBy = 0;
};

namespace {

void AppendBytes(CByteArray& bytes, const std::string& out)
{
    if (out.empty()) {
        return;
    }
    const int old = bytes.GetSize();
    bytes.SetSize(old + int(out.size()));
    std::memcpy(bytes.GetData() + old, out.data(), out.size());
}

} // namespace

} // namespace OrvXml

using OrvXml::CXmlWriter;

void Element::WriteTo(CByteArray& bytes) const
{
    if (!m_IsPlain()) {
        m_WriteThroughSteps(bytes);
        return;
    }
    CXmlWriter writer(*this);
    writer.Subtree(*this);
    OrvXml::AppendBytes(bytes, writer.Output());
}

// The writer of a node of a derived class: every step is the overridable
// one, so an override changes what this node writes. Its children write
// themselves (the library's own nodes on the fast path).
void Element::m_WriteThroughSteps(CByteArray& bytes) const
{
    const DWORD options = m_DocumentWriteOptions();
    const auto put = [&](std::string_view text) { m_PutText(text, options, bytes); };
    switch (m_Type) {
    case typeTextSegment:
        put(View(Contents()));
        break;
    case typeComment:
        put("<!--");
        put(View(Contents()));
        put("-->");
        break;
    case typeCDATASection: {
        put("<![CDATA[");
        std::string_view rest = View(Contents());
        for (std::size_t found = rest.find("]]>"); found != std::string_view::npos; found = rest.find("]]>")) {
            put(rest.substr(0, found));
            put("]]>]]>");
            rest.remove_prefix(found + 3);
        }
        put(rest);
        put("]]>");
        break;
    }
    case typeProcessingInstruction: {
        // The declaration is built as single-byte text, then put through
        // the step character by character.
        std::string text;
        if (m_ParentNode() == nullptr) {
            CXmlWriter declaration(*this);
            declaration.SetSingleByte();
            declaration.Declaration(*this);
            text = declaration.Output();
        } else {
            text = "<?" + std::string(View(Contents())) + "?>";
        }
        put(text);
        m_AppendChildren(bytes);
        break;
    }
    case typeMetaData: {
        put("<!");
        put(View(Tag()));
        put(" ");
        put(View(Contents()));
        const bool doctype = View(Tag()).substr(0, 7) == "DOCTYPE";
        if (!doctype) {
            put(">");
        }
        m_AppendChildren(bytes);
        if (doctype) {
            const std::string_view contents = View(Contents());
            if (m_Children.GetSize() > 0 || (!contents.empty() && contents.back() == '[')) {
                put("]");
            }
            put(">");
        }
        break;
    }
    case typeElement: {
        m_IncrementIndentation();
        m_AddIndentation(bytes);
        put("<");
        put(View(Tag()));
        m_AppendAttributes(bytes);
        const int count = m_Children.GetSize();
        if (m_IsTagEmpty && count == 0) {
            put("/>");
        } else {
            put(">");
            put(View(Contents()));
            m_AppendChildren(bytes);
            if (count > 0 && !(count == 1 && m_Children.GetData()[0]->m_Type == typeTextSegment)) {
                m_AddIndentation(bytes);
            }
            put("</");
            put(View(Tag()));
            put(">");
        }
        m_DecrementIndentation();
        break;
    }
    default:
        break;
    }
}

void Element::m_PutText(std::string_view text, DWORD writeOptions, CByteArray& bytes) const
{
    for (const char c : text) {
        m_AddCharacterToOutput(DWORD(BYTE(c)), writeOptions, bytes);
    }
}

void Element::m_AppendChildren(CByteArray& bytes) const
{
    for (int i = 0; i < m_Children.GetSize(); ++i) {
        m_Children.GetData()[i]->WriteTo(bytes);
    }
}

void Element::m_AppendAttributes(CByteArray& bytes) const
{
    const DWORD options = m_DocumentWriteOptions();
    for (int i = 0; i < m_Attributes.GetSize(); ++i) {
        const CExtensibleMarkupLanguageAttribute* attribute = m_Attributes[i];
        if (!attribute->m_Name.IsEmpty()) {
            m_PutText(" ", options, bytes);
            m_PutText(View(attribute->m_Name), options, bytes);
        }
        const char* quote = attribute->m_Value.View().find('"') != std::string_view::npos ? "'" : "\"";
        m_PutText("=", options, bytes);
        m_PutText(quote, options, bytes);
        m_PutText(attribute->m_Value.View(), options, bytes);
        m_PutText(quote, options, bytes);
    }
}

void Element::m_AddIndentation(CByteArray& bytes) const
{
    const Document* const document = m_FindDocument();
    if (document == nullptr) {
        return;
    }
    bool automatic = false;
    DWORD level = 0;
    DWORD indentBy = 0;
    document->GetAutomaticIndentation(automatic, level, indentBy);
    if (automatic) {
        const DWORD options = document->GetWriteOptions();
        m_PutText("\r\n", options, bytes);
        for (DWORD i = 0; i < level; ++i) {
            m_PutText(" ", options, bytes);
        }
    }
}

void Element::m_AddCharacterToOutput(DWORD character, DWORD writeOptions, CByteArray& bytes) const
{
    std::string out;
    const Document* const document = m_FindDocument();
    OrvXml::EncodeCharacter(out, character, writeOptions, document != nullptr ? document->GetConversionCodePage() : 65001);
    OrvXml::AppendBytes(bytes, out);
}

void Element::m_IncrementIndentation() const
{
    if (Document* const document = m_FindDocument()) {
        bool automatic = false;
        DWORD level = 0;
        DWORD indentBy = 0;
        document->GetAutomaticIndentation(automatic, level, indentBy);
        if (automatic) {
            document->SetAutomaticIndentation(automatic, level + indentBy, indentBy);
        }
    }
}

void Element::m_DecrementIndentation() const
{
    if (Document* const document = m_FindDocument()) {
        bool automatic = false;
        DWORD level = 0;
        DWORD indentBy = 0;
        document->GetAutomaticIndentation(automatic, level, indentBy);
        if (automatic) {
            document->SetAutomaticIndentation(automatic, level - indentBy, indentBy);
        }
    }
}
