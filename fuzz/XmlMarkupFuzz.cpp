// Parses arbitrary text with CXML, walks every element with the navigation
// operations reading tags, data and attributes, then applies a few add
// operations and checks that the index kept in step with the edits is the
// one a fresh parse of the edited document builds.
//
// Input: the first byte holds the number of edits (low three bits); the
// next bytes, one per edit, choose each edit; the rest is the document.
#include "xml/XML.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// Reads the current element and appends what was read to out, checking that
// the offsets lie in the document and point at the tag's brackets.
void Visit(const CXML& xml, const CString& doc, std::string& out)
{
    int start = 0;
    int end = 0;
    Check(xml.GetOffsets(start, end));
    Check(0 <= start && start < end && end < doc.GetLength());
    Check(doc[start] == '<' && doc[end] == '>');
    const CString tag = xml.GetTagName();
    const CString data = xml.GetData();
    Check(data.GetLength() <= end - start);
    out += std::to_string(start) + "-" + std::to_string(end) + ":";
    out.append(tag.GetString(), static_cast<std::size_t>(tag.GetLength()));
    out += "|";
    out.append(data.GetString(), static_cast<std::size_t>(data.GetLength()));
    for (const char* name : {"a", "id", "x"}) {
        const CString value = xml.GetAttrib(name);
        out += "|";
        out.append(value.GetString(), static_cast<std::size_t>(value.GetLength()));
    }
    out += "|";
    out += xml.GetChildTagName().GetString();
}

// Visits every element in document order without recursion: down with
// IntoElem, along with FindElem, up with OutOfElem.
std::string Walk(CXML& xml)
{
    std::string out;
    const CString doc = xml.GetDoc();
    xml.ResetPos();
    if (!xml.FindElem()) {
        Check(!xml.IsWellFormed());
        return out;
    }
    Check(xml.IsWellFormed());
    for (;;) {
        Visit(xml, doc, out);
        if (xml.IntoElem()) {
            out += "(";
            continue;
        }
        while (!xml.FindElem()) {
            if (!xml.OutOfElem()) {
                xml.ResetPos();
                return out;
            }
            out += ")";
        }
        out += ",";
    }
}

// Moves to the n-th element in document order (or as far as there are).
void MoveTo(CXML& xml, int n)
{
    xml.ResetPos();
    if (!xml.FindElem()) {
        return;
    }
    while (n-- > 0) {
        if (xml.IntoElem()) {
            continue;
        }
        while (!xml.FindElem()) {
            if (!xml.OutOfElem()) {
                return;
            }
        }
    }
}

const char* const kNames[] = {"a", "id", "x", "long-name.1", "n\xC3\xA9", "a b", "", "q\"", "<", nullptr};
const char* const kValues[] = {nullptr, "", "v", "<&>'\"", "]]>", "&lt;", "line\r\nbreak"};

void Edit(CXML& xml, std::uint8_t op, bool ownDocument)
{
    MoveTo(xml, op >> 5);
    const char* name = kNames[(op >> 1) % (sizeof kNames / sizeof kNames[0])];
    const char* value = kValues[op % (sizeof kValues / sizeof kValues[0])];
    const CString before = xml.GetDoc();
    bool added = false;
    switch (op & 3) {
    case 0: added = xml.AddElem(name, value); break;
    case 1: added = xml.AddChildElem(name, value); break;
    case 2: added = xml.AddAttrib(name, value); break;
    default:
        xml.FindChildElem();
        added = xml.AddChildAttrib(name, value);
        break;
    }
    if (!added) {
        Check(xml.GetDoc() == before);
        return;
    }
    // What was added reads back as it was given. An attribute does only when
    // it is the first of its name (the first is the one read) and no stray
    // quote in the start tag can swallow it: checked in documents without
    // quotes, or made by these edits alone.
    const CString expected(value);
    const bool firstOfName = name != nullptr && before.Find(CString(" ") + name + "=") < 0
        && (ownDocument || before.Find('"') < 0);
    switch (op & 3) {
    case 0: Check(xml.GetTagName() == name && xml.GetData() == expected); break;
    case 1: Check(xml.GetChildTagName() == name && xml.GetChildData() == expected); break;
    case 2: Check(!firstOfName || xml.GetAttrib(name) == expected); break;
    default: Check(!firstOfName || xml.GetChildAttrib(name) == expected); break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::size_t edits = data[0] & 7;
    if (size < 1 + edits) {
        return 0;
    }
    const std::size_t skip = 1 + edits;
    const CString text(reinterpret_cast<const char*>(data + skip), static_cast<int>(size - skip));

    CXML xml;
    const bool parsed = xml.SetDoc(text);
    Check(parsed == xml.IsWellFormed());
    Check(parsed == xml.GetError().IsEmpty());
    const std::string walked = Walk(xml);

    CXML copy(xml);
    Check(Walk(copy) == walked);

    for (std::size_t i = 0; i < edits; ++i) {
        Edit(xml, data[1 + i], !parsed);
        if (xml.IsWellFormed()) {
            CXML reparsed;
            Check(reparsed.SetDoc(xml.GetDoc()));
            Check(Walk(reparsed) == Walk(xml));
        }
    }
    return 0;
}
