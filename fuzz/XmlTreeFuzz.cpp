// Runs arbitrary sequences of tree operations on the nodes of two parsed
// documents and on nodes taken out of them: taking a child out, adding a
// loose node elsewhere, giving a node another document, copying one node
// into another (ancestors and descendants included), setting texts, new
// children, emptying, deleting loose nodes, and deleting a document while
// nodes taken out of it live on. After every step each reachable node must
// answer its parent's child list, and a document that is a live one or none,
// and a node taken out a parent that lives or none; at the end both
// documents must still write.
#include "XmlFuzzSupport.h"
#include "xml/ExtensibleMarkupLanguageDocument.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using Document = CExtensibleMarkupLanguageDocument;
using Element = CExtensibleMarkupLanguageElement;

const char kSource[] =
    "<?xml version='1.0'?><top a='1'><A x='1'>t<B/><!-- c --></A><![CDATA[d]]><?pi data?><C><D>e</D></C></top>";

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    unsigned Next() { return at < size ? data[at++] : 0u; }
    bool Done() const { return at >= size; }
    // An index below count (count above 0).
    std::size_t Pick(std::size_t count) { return (Next() | (Next() << 8)) % count; }
};

// Every node of the tree under node, node first.
void Collect(Element* node, std::vector<Element*>& out)
{
    std::vector<Element*> pending{node};
    while (!pending.empty()) {
        Element* next = pending.back();
        pending.pop_back();
        out.push_back(next);
        DWORD index = 0;
        Element* child = nullptr;
        while (next->GetNextChild(index, child)) {
            pending.push_back(child);
        }
    }
}

Element* ChildAt(const Element* parent, DWORD position)
{
    Element* child = nullptr;
    return parent->GetNextChild(position, child) ? child : nullptr;
}

bool HoldsChild(const Element* parent, const Element* node)
{
    DWORD index = 0;
    Element* child = nullptr;
    while (parent->GetNextChild(index, child)) {
        if (child == node) {
            return true;
        }
    }
    return false;
}

std::unique_ptr<Document> NewDocument()
{
    auto document = std::make_unique<Document>();
    ParseFuzzBytes(*document, kSource, sizeof(kSource) - 1);
    return document;
}

CString TextFrom(Input& input)
{
    CString text;
    for (unsigned length = input.Next() % 12; length > 0 && !input.Done(); --length) {
        text += char(input.Next());
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input input{data, size};
    std::unique_ptr<Document> documents[2] = {NewDocument(), NewDocument()};
    // Nodes without a parent, owned here.
    std::vector<Element*> loose;
    for (int step = 0; step < 48 && !input.Done(); ++step) {
        std::vector<Element*> nodes;
        for (const auto& document : documents) {
            Collect(document->GetRootElement(), nodes);
        }
        for (Element* node : loose) {
            Collect(node, nodes);
        }
        if (nodes.size() > 4000) {
            break;
        }
        Element* a = nodes[input.Pick(nodes.size())];
        Element* b = nodes[input.Pick(nodes.size())];
        Document* other = documents[input.Next() % 2].get();
        switch (input.Next() % 10) {
        case 0:
            if (const DWORD count = a->GetNumberOfChildren(); count > 0) {
                Element* child = ChildAt(a, DWORD(input.Pick(count)));
                a->RemoveChild(child);
                if (!HoldsChild(a, child)) {
                    loose.push_back(child);
                }
            }
            break;
        case 1:
            // A loose node, or any node (one still in a tree moves).
            if (!loose.empty() && input.Next() % 2 == 0) {
                const std::size_t which = input.Pick(loose.size());
                a->AddChild(loose[which], DWORD(input.Next() % 4));
                if (HoldsChild(a, loose[which])) {
                    loose.erase(loose.begin() + std::ptrdiff_t(which));
                }
            } else {
                a->AddChild(b, DWORD(input.Next() % 4));
                if (HoldsChild(a, b)) {
                    loose.erase(std::remove(loose.begin(), loose.end(), b), loose.end());
                }
            }
            break;
        case 2:
            a->SetDocument(input.Next() % 3 == 0 ? nullptr : other);
            break;
        case 3:
            if (!loose.empty()) {
                const std::size_t which = input.Pick(loose.size());
                Element::DeleteElement(loose[which]);
                loose.erase(loose.begin() + std::ptrdiff_t(which));
            }
            break;
        case 4:
            a->Copy(*b);
            break;
        case 5:
            a->SetTag(TextFrom(input));
            break;
        case 6:
            a->SetContents(TextFrom(input));
            break;
        case 7:
            Element::NewElement(a, DWORD(input.Next() % 7));
            break;
        case 8:
            if (input.Next() % 2 == 0) {
                a->Empty();
            } else {
                a->DestroyChildren();
            }
            break;
        case 9:
            documents[input.Next() % 2] = NewDocument();
            break;
        }
        // Every node reachable now is its parent's child and belongs to a
        // live document or to none; a node taken out still names its old
        // parent while that lives, and none once it is gone.
        nodes.clear();
        for (const auto& document : documents) {
            Collect(document->GetRootElement(), nodes);
        }
        for (Element* node : loose) {
            Collect(node, nodes);
        }
        std::sort(nodes.begin(), nodes.end());
        for (const Element* node : loose) {
            const Element* parent = node->GetParent();
            if (parent != nullptr && !std::binary_search(nodes.begin(), nodes.end(), parent)) {
                std::abort();
            }
        }
        for (Element* node : nodes) {
            const Document* document = node->GetDocument();
            if (document != nullptr && document != documents[0].get() && document != documents[1].get()) {
                std::abort();
            }
            DWORD index = 0;
            Element* child = nullptr;
            while (node->GetNextChild(index, child)) {
                if (child->GetParent() != node) {
                    std::abort();
                }
            }
        }
    }
    for (const auto& document : documents) {
        CByteArray bytes;
        document->WriteTo(bytes);
    }
    for (Element* node : loose) {
        Element::DeleteElement(node);
    }
    return 0;
}
