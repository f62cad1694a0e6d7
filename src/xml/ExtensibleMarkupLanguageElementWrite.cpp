// Writing nodes back to bytes. The output is built in one growing buffer and
// appended to the caller's array once; single-byte output copies whole
// strings, the other encodings widen each byte. The subtree is walked with
// an explicit stack, so any depth is safe.
#include "xml/ExtensibleMarkupLanguageElement.h"

#include "xml/ExtensibleMarkupLanguageDocument.h"
#include "xml/XmlParseSupport.h"

#include <cstring>
#include <string>
#include <vector>

using Element = CExtensibleMarkupLanguageElement;
using Document = CExtensibleMarkupLanguageDocument;

namespace OrvXml {

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
        // Without the system's converters, UTF-8 (65001) is encoded here and
        // any other code page receives the byte itself for 7-bit characters
        // and '?' for the rest.
        const DWORD unit = c & 0xFFFF;
        if (unit < 0x80) {
            out += char(unit);
        } else if (codePage != 65001) {
            out += '?';
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
        const Document* document = start.m_Document;
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
            if (!Opening(*step.node)) {
                continue;
            }
            pending.push_back({step.node, true});
            if (step.node->m_Type == Element::typeElement && step.node->m_IsTagEmpty) {
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
        const Document* document = root.m_Document;
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

private:
    // The part before the children; false when the node has no children
    // part and no closing (unknown nodes).
    bool Opening(const Element& node)
    {
        switch (node.m_Type) {
        case Element::typeTextSegment:
            Text(node.m_Contents);
            return true;
        case Element::typeComment:
            Text("<!--");
            Text(node.m_Contents);
            Text("-->");
            return true;
        case Element::typeCDATASection:
            CDATA(node.m_Contents);
            return true;
        case Element::typeProcessingInstruction:
            if (node.m_Parent == nullptr) {
                Declaration(node);
            } else {
                Text("<?");
                Text(node.m_Contents);
                Text("?>");
            }
            return true;
        case Element::typeMetaData:
            Text("<!");
            Text(node.m_Tag);
            Text(" ");
            Text(node.m_Contents);
            if (!StartsWithDOCTYPE(node)) {
                Text(">");
            }
            return true;
        case Element::typeElement:
            m_Level += m_Automatic ? m_IndentBy : 0;
            Indentation();
            Text("<");
            Text(node.m_Tag);
            Attributes(node);
            Text(node.m_IsTagEmpty ? "/>" : ">");
            if (!node.m_IsTagEmpty) {
                Text(node.m_Contents);
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
            const std::string_view contents = View(node.m_Contents);
            if (node.m_Children.GetSize() > 0 || (!contents.empty() && contents.back() == '[')) {
                Text("]");
            }
            Text(">");
            return;
        }
        if (node.m_Type != Element::typeElement) {
            return;
        }
        if (!node.m_IsTagEmpty) {
            const int count = node.m_Children.GetSize();
            const bool onlyText = count == 1 && node.m_Children.GetData()[0]->m_Type == Element::typeTextSegment;
            if (count > 0 && !onlyText) {
                Indentation();
            }
            Text("</");
            Text(node.m_Tag);
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

    static bool StartsWithDOCTYPE(const Element& node) noexcept
    {
        return View(node.m_Tag).substr(0, 7) == "DOCTYPE";
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
    CXmlWriter writer(*this);
    writer.Subtree(*this);
    OrvXml::AppendBytes(bytes, writer.Output());
}

void Element::m_AppendChildren(CByteArray& bytes) const
{
    CXmlWriter writer(*this);
    writer.Children(*this);
    OrvXml::AppendBytes(bytes, writer.Output());
}

void Element::m_AppendAttributes(CByteArray& bytes) const
{
    CXmlWriter writer(*this);
    writer.Attributes(*this);
    OrvXml::AppendBytes(bytes, writer.Output());
}

void Element::m_AddIndentation(CByteArray& bytes) const
{
    CXmlWriter writer(*this);
    writer.Indentation();
    OrvXml::AppendBytes(bytes, writer.Output());
}

void Element::m_AddCharacterToOutput(DWORD character, DWORD writeOptions, CByteArray& bytes) const
{
    std::string out;
    OrvXml::EncodeCharacter(out, character, writeOptions, m_Document != nullptr ? m_Document->GetConversionCodePage() : 65001);
    OrvXml::AppendBytes(bytes, out);
}

void Element::m_IncrementIndentation() const
{
    if (m_Document != nullptr) {
        bool automatic = false;
        DWORD level = 0;
        DWORD indentBy = 0;
        m_Document->GetAutomaticIndentation(automatic, level, indentBy);
        if (automatic) {
            m_Document->SetAutomaticIndentation(automatic, level + indentBy, indentBy);
        }
    }
}

void Element::m_DecrementIndentation() const
{
    if (m_Document != nullptr) {
        bool automatic = false;
        DWORD level = 0;
        DWORD indentBy = 0;
        m_Document->GetAutomaticIndentation(automatic, level, indentBy);
        if (automatic) {
            m_Document->SetAutomaticIndentation(automatic, level - indentBy, indentBy);
        }
    }
}
