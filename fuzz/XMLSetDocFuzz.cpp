// Parses arbitrary text with CXML::SetDoc and navigates every element in
// every way the class offers, checking that the ways agree: the children
// seen through FindChildElem and the Child getters are the ones seen by
// going into the element with IntoElem and FindElem; a search by name finds
// exactly the elements of that name; OutOfElem comes back to where IntoElem
// left; a copy navigates the same. (XmlMarkupFuzz covers the edits.)
#include "xml/XML.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

std::string Str(const CString& text)
{
    return std::string(text.GetString(), std::size_t(text.GetLength()));
}

const char* const kAttributes[] = {"a", "id", "x"};

// What can be read of one element, as the current or the current child.
struct Seen {
    std::string tag;
    std::string data;
    std::string attributes;
    bool operator==(const Seen&) const = default;
};

Seen AsCurrent(const CXML& xml)
{
    Seen seen {Str(xml.GetTagName()), Str(xml.GetData()), {}};
    for (const char* name : kAttributes) {
        seen.attributes += Str(xml.GetAttrib(name)) + '\x01';
    }
    return seen;
}

Seen AsChild(const CXML& xml)
{
    Seen seen {Str(xml.GetChildTagName()), Str(xml.GetChildData()), {}};
    for (const char* name : kAttributes) {
        seen.attributes += Str(xml.GetChildAttrib(name)) + '\x01';
    }
    return seen;
}

// Reads the children of the current element both ways and searches them by
// name; leaves the current element as it was with no current child.
std::size_t CheckChildren(CXML& xml)
{
    int start = 0;
    int end = 0;
    Check(xml.GetOffsets(start, end));
    const std::string here = Str(xml.GetTagName());

    xml.ResetChildPos();
    std::vector<Seen> viaChild;
    while (xml.FindChildElem()) {
        viaChild.push_back(AsChild(xml));
    }
    xml.ResetChildPos();
    std::vector<Seen> viaInto;
    if (xml.IntoElem()) {
        do {
            viaInto.push_back(AsCurrent(xml));
        } while (xml.FindElem());
        Check(xml.OutOfElem());
    }
    Check(viaChild == viaInto);
    int startAgain = 0;
    int endAgain = 0;
    Check(xml.GetOffsets(startAgain, endAgain) && startAgain == start && endAgain == end);
    Check(Str(xml.GetTagName()) == here);

    // By name, for the first few names (a name holding a NUL cannot be
    // passed as a C string).
    for (std::size_t i = 0; i < viaChild.size() && i < 4; ++i) {
        if (viaChild[i].tag.find('\0') != std::string::npos) {
            continue;
        }
        std::size_t expected = 0;
        for (const Seen& child : viaChild) {
            expected += child.tag == viaChild[i].tag ? 1 : 0;
        }
        xml.ResetChildPos();
        std::size_t found = 0;
        while (xml.FindChildElem(viaChild[i].tag.c_str())) {
            Check(Str(xml.GetChildTagName()) == viaChild[i].tag);
            ++found;
        }
        Check(found == expected);
    }
    xml.ResetChildPos();
    return viaChild.size();
}

// Visits every element in document order, checking each.
std::size_t Walk(CXML& xml)
{
    xml.ResetPos();
    if (!xml.FindElem()) {
        Check(!xml.IsWellFormed());
        return 0;
    }
    Check(xml.IsWellFormed());
    const std::string top = Str(xml.GetTagName());
    std::size_t visited = 0;
    for (;;) {
        ++visited;
        CheckChildren(xml);
        if (xml.IntoElem()) {
            continue;
        }
        while (!xml.FindElem()) {
            if (!xml.OutOfElem()) {
                // Only one top-level element is parsed, and it is found by name.
                xml.ResetPos();
                if (top.find('\0') == std::string::npos) {
                    Check(xml.FindElem(top.c_str()) && Str(xml.GetTagName()) == top);
                    Check(!xml.FindElem());
                }
                xml.ResetPos();
                return visited;
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CString text(reinterpret_cast<const char*>(data), static_cast<int>(size));
    CXML xml;
    const bool parsed = xml.SetDoc(text);
    Check(parsed == xml.IsWellFormed());
    Check(parsed == xml.GetError().IsEmpty());
    Check(xml.GetDoc() == text);
    const std::size_t visited = Walk(xml);
    Check(parsed == (visited > 0));

    CXML copy;
    copy = xml;
    Check(Walk(copy) == visited);
    // Navigation never changes the document.
    Check(xml.GetDoc() == text);
    return 0;
}
