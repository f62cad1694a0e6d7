// Parses arbitrary bytes (every encoding the detection knows is reachable).
// After a successful parse the document is written in several encodings and
// parsed again; the nodes under the root must come back the same.
#include "XmlFuzzSupport.h"
#include "xml/ExtensibleMarkupLanguageDocument.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

using Document = CExtensibleMarkupLanguageDocument;
using Element = CExtensibleMarkupLanguageElement;

namespace {


// Text segments left empty at the end of the data write nothing, so they
// are not part of what must read back.
bool Counts(const Element* node)
{
    return !(node->GetType() == Element::typeTextSegment && node->Contents().IsEmpty());
}

std::vector<const Element*> Children(const Element* node)
{
    std::vector<const Element*> children;
    DWORD index = 0;
    Element* child = nullptr;
    while (node->GetNextChild(index, child)) {
        if (Counts(child)) {
            children.push_back(child);
        }
    }
    return children;
}

bool SameNode(const Element* left, const Element* right)
{
    if (left->GetType() != right->GetType() || left->Tag() != right->Tag() || left->Contents() != right->Contents()
        || left->IsEmptyTag() != right->IsEmptyTag() || left->GetNumberOfAttributes() != right->GetNumberOfAttributes()) {
        return false;
    }
    DWORD index = 0;
    CExtensibleMarkupLanguageAttribute* attribute = nullptr;
    while (left->GetNextAttribute(index, attribute)) {
        CString value;
        if (!right->GetAttributeByName(attribute->m_Name.ToCString(), value) || value != attribute->m_Value) {
            return false;
        }
    }
    return true;
}

// Compares the children of both roots, level by level, without recursion.
bool SameTree(const Document& left, const Document& right)
{
    std::vector<std::pair<const Element*, const Element*>> pending{{left.GetRootElement(), right.GetRootElement()}};
    bool atRoot = true;
    while (!pending.empty()) {
        auto [a, b] = pending.back();
        pending.pop_back();
        if (!atRoot && !SameNode(a, b)) {
            return false;
        }
        atRoot = false;
        const auto leftChildren = Children(a);
        const auto rightChildren = Children(b);
        if (leftChildren.size() != rightChildren.size()) {
            return false;
        }
        for (std::size_t i = 0; i < leftChildren.size(); ++i) {
            pending.emplace_back(leftChildren[i], rightChildren[i]);
        }
    }
    return true;
}

// A nameless attribute is written without its leading space, which cannot
// read back; such trees are not compared.
bool HasNamelessAttribute(const Document& document)
{
    std::vector<const Element*> pending{document.GetRootElement()};
    while (!pending.empty()) {
        const Element* node = pending.back();
        pending.pop_back();
        DWORD index = 0;
        CExtensibleMarkupLanguageAttribute* attribute = nullptr;
        while (node->GetNextAttribute(index, attribute)) {
            if (attribute->m_Name.IsEmpty()) {
                return true;
            }
        }
        for (const Element* child : Children(node)) {
            pending.push_back(child);
        }
    }
    return false;
}

void CheckRoundTrip(Document& document, bool declared)
{
    if (HasNamelessAttribute(document)) {
        return;
    }
    // A document read without a declaration is written without one, so both
    // reads follow the same top-level rules.
    const DWORD base = declared ? 0 : DWORD(Document::writeRootChildrenOnly);
    const DWORD encodings[] = {
        Document::writeSingleByte,
        Document::writeUnicode,
        Document::writeUnicode | Document::writeBigEndian,
        Document::writeUCS4,
        Document::writeUCS4_3412,
    };
    for (DWORD encoding : encodings) {
        if (!declared && encoding != Document::writeSingleByte) {
            continue; // without a declaration only single-byte text is detected
        }
        document.SetWriteOptions(base | encoding);
        CByteArray bytes;
        document.WriteTo(bytes);
        Document copy;
        if (!ParseFuzzBytes(copy, bytes.GetData(), std::size_t(bytes.GetSize())) || !SameTree(document, copy)) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Document document;
    if (!ParseFuzzBytes(document, data, size)) {
        return 0;
    }
    // A declared document keeps no attributes on its root.
    const bool declared = document.GetRootElement()->GetNumberOfAttributes() == 0;
    CheckRoundTrip(document, declared);
    return 0;
}
