// Helpers shared by the XML document tests: loading bytes into a parser,
// reading nodes, texts, attributes and whole subtrees, reading the error
// record, and printing parse points.
#pragma once

#include "xml/ExtensibleMarkupLanguageDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

inline CParsePoint At(DWORD index, DWORD line, DWORD column)
{
    CParsePoint point;
    point.SetIndex(index);
    point.SetLine(line);
    point.SetColumn(column);
    return point;
}

inline void PrintTo(const CParsePoint& point, std::ostream* out)
{
    *out << "(index " << point.GetIndex() << ", line " << point.GetLine() << ", column " << point.GetColumn() << ")";
}

inline std::string AsString(const CByteArray& bytes)
{
    return std::string(reinterpret_cast<const char*>(bytes.GetData()), std::size_t(bytes.GetSize()));
}

// The document's bytes as it writes them with its write options.
inline std::string Written(const CExtensibleMarkupLanguageDocument& document)
{
    CByteArray bytes;
    document.WriteTo(bytes);
    return AsString(bytes);
}

// Hands the parser a copy of the bytes, which it then owns.
inline bool Attach(CDataParser& parser, const std::string& bytes)
{
    auto* array = new CByteArray;
    array->SetSize(int(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), array->GetData());
    return parser.Initialize(array, true);
}

// Parses bytes into a document with the given parse options.
inline bool ParseBytes(CExtensibleMarkupLanguageDocument& document, const std::string& bytes,
    DWORD options = CExtensibleMarkupLanguageDocument::parseDefault)
{
    document.SetParseOptions(options);
    CDataParser parser;
    Attach(parser, bytes);
    return document.Parse(parser);
}

// A new element node with the tag under parent (none: a loose node).
inline CExtensibleMarkupLanguageElement* AddElement(CExtensibleMarkupLanguageElement* parent, const char* tag)
{
    auto* element = CExtensibleMarkupLanguageElement::NewElement(parent, CExtensibleMarkupLanguageElement::typeElement);
    element->SetTag(tag);
    return element;
}

// The element's children in order.
inline std::vector<CExtensibleMarkupLanguageElement*> Children(const CExtensibleMarkupLanguageElement* element)
{
    std::vector<CExtensibleMarkupLanguageElement*> children;
    DWORD index = 0;
    CExtensibleMarkupLanguageElement* child = nullptr;
    while (element->GetNextChild(index, child))
        children.push_back(child);
    return children;
}

// The element's text, all of its text segments joined.
inline std::string TextOf(const CExtensibleMarkupLanguageElement* element)
{
    CString text;
    element->GetText(text);
    return text.GetString();
}

// The value of the element's attribute, or "<missing>".
inline std::string AttributeOf(const CExtensibleMarkupLanguageElement* element, const char* name)
{
    CString value;
    return element->GetAttributeByName(name, value) ? value.GetString() : "<missing>";
}

// The element's attributes in order, each as " name=[value]".
inline std::string AttributeList(const CExtensibleMarkupLanguageElement* element)
{
    std::string list;
    DWORD index = 0;
    CExtensibleMarkupLanguageAttribute* attribute = nullptr;
    while (element->GetNextAttribute(index, attribute))
        list += " " + std::string(attribute->m_Name.View()) + "=[" + std::string(attribute->m_Value.View()) + "]";
    return list;
}

// A readable description of a subtree: each node as its type, <tag> (<tag/>
// for an empty-element tag), [contents] and attributes, then its children in
// braces.
inline std::string TreeOf(const CExtensibleMarkupLanguageElement* node)
{
    std::string out = std::to_string(node->GetType()) + "<" + node->Tag().GetString()
        + (node->IsEmptyTag() ? "/>[" : ">[") + node->Contents().GetString() + "]" + AttributeList(node) + "{";
    for (const CExtensibleMarkupLanguageElement* child : Children(node))
        out += TreeOf(child);
    return out + "}";
}

struct ErrorRecord {
    std::string message;
    std::string tag;
    CParsePoint beginning;
    CParsePoint location;
};

inline ErrorRecord ErrorOf(const CExtensibleMarkupLanguageDocument& document)
{
    CString tag;
    CString message;
    ErrorRecord record;
    document.GetParsingErrorInformation(tag, record.beginning, record.location, &message);
    record.message = message.GetString();
    record.tag = tag.GetString();
    return record;
}

// Checks the document's error record: message, tag and both points.
inline void ExpectError(const CExtensibleMarkupLanguageDocument& document, const std::string& message,
    const std::string& tag, const CParsePoint& beginning, const CParsePoint& location)
{
    const ErrorRecord error = ErrorOf(document);
    EXPECT_EQ(error.message, message);
    EXPECT_EQ(error.tag, tag);
    EXPECT_EQ(error.beginning, beginning);
    EXPECT_EQ(error.location, location);
}

// The text written count times over.
inline std::string Repeated(const std::string& text, std::size_t count)
{
    std::string out;
    out.reserve(text.size() * count);
    while (count-- > 0)
        out += text;
    return out;
}

// The bytes of single-byte text written as UTF-16 or UCS-4.
inline std::string Widen(const std::string& text, int width, bool bigEndian)
{
    std::string out;
    for (char c : text) {
        std::string unit(std::size_t(width), '\0');
        unit[bigEndian ? std::size_t(width - 1) : 0] = c;
        out += unit;
    }
    return out;
}
