// The tree operations of CExtensibleMarkupLanguageElement: creation and
// destruction, children, attributes, names and paths, text and copying.
// Every walk over a subtree keeps its own stack, so trees of any depth are
// safe to copy, count, read and destroy.
#include "xml/ExtensibleMarkupLanguageElement.h"

#include "xml/ExtensibleMarkupLanguageDocument.h"
#include "xml/XmlCharClasses.h"
#include "xml/XmlNodeArena.h"
#include "xml/XmlParseSupport.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

using Element = CExtensibleMarkupLanguageElement;
using OrvXml::View;

namespace {

// Bytes that attribute value normalisation rewrites, and '<', which a value
// may not hold: one table lookup per byte finds both.
struct AttributeValueBytes {
    bool special[256] = {};
    constexpr AttributeValueBytes()
    {
        special[BYTE('\r')] = special[BYTE('\n')] = special[BYTE('\t')] = special[BYTE('<')] = true;
    }
};
constexpr AttributeValueBytes kAttributeValueBytes;

// Splits one path name into its tag and instance number. "A" is A(0); the
// number is decimal with surrounding spaces ignored. False for an
// ill-formed name: a ")" missing, or standing before its "(".
bool SplitInstance(std::string_view name, std::string_view& tag, DWORD& instance)
{
    const std::size_t open = name.find('(');
    instance = 0;
    if (open == std::string_view::npos) {
        tag = name;
        return true;
    }
    const std::size_t close = name.find(')');
    if (close == std::string_view::npos || close < open) {
        return false;
    }
    tag = name.substr(0, open);
    std::string_view number = name.substr(open + 1, close - open - 1);
    while (!number.empty() && OrvXml::IsXmlSpace(number.front())) {
        number.remove_prefix(1);
    }
    while (!number.empty() && OrvXml::IsXmlSpace(number.back())) {
        number.remove_suffix(1);
    }
    if (number.empty()) {
        return false;
    }
    ULONGLONG value = 0;
    for (char c : number) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + ULONGLONG(c - '0');
        if (value > 0xFFFFFFFFull) {
            return false;
        }
    }
    instance = DWORD(value);
    return true;
}

char SeparatorOf(const CExtensibleMarkupLanguageDocument* document)
{
    return document != nullptr ? document->GetParentChildSeparatorCharacter() : '.';
}

// The place of the node being destroyed on this thread, for its operator
// delete (see m_Place).
constinit ORV_FAST_THREAD_LOCAL std::uint16_t t_DyingPlace = 0;

} // namespace

// --- Creation and destruction ---

// Each piece of markup of a parsed document is a node: its size counts.
static_assert(sizeof(void*) != 8 || sizeof(Element) <= 80, "a node fits 80 bytes");

Element::~CExtensibleMarkupLanguageElement()
{
    if ((m_Up & kUpTags) != 0) {
        m_ReleaseUp();
    }
    // (Most nodes hold no children and many no attributes: nothing to set
    // up for them.)
    if (!m_Attributes.IsEmpty()) {
        DestroyAttributes();
    }
    if (!m_Children.IsEmpty()) {
        DestroyChildren();
    }
    if (m_Place != 0) {
        OrvXml::RetireBareNodeTail(this, sizeof(Element), m_ContentsTail, m_Place);
    }
    // Nothing deletes a node between here and operator delete, which must
    // not read the dead node.
    t_DyingPlace = m_Place;
}

void Element::m_ReleaseUp() noexcept
{
    if (m_Detached) {
        m_Unlend();
    }
    if (CUpLinks* links = m_Links()) {
        // The children taken out of this node name no parent from now on.
        while (Element* child = links->firstLent) {
            child->m_Unlend();
            child->m_Links()->parent = nullptr;
        }
        delete links;
    }
    m_Up = 0;
}

void Element::m_Lend(Element* child) noexcept
{
    CUpLinks* links = m_Links();
    CUpLinks* childLinks = child->m_Links();
    childLinks->previousLent = nullptr;
    childLinks->nextLent = links->firstLent;
    if (links->firstLent != nullptr) {
        links->firstLent->m_Links()->previousLent = child;
    }
    links->firstLent = child;
    child->m_Detached = true;
}

void Element::m_Unlend() noexcept
{
    CUpLinks* links = m_Links();
    if (links->previousLent != nullptr) {
        links->previousLent->m_Links()->nextLent = links->nextLent;
    } else {
        links->parent->m_Links()->firstLent = links->nextLent;
    }
    if (links->nextLent != nullptr) {
        links->nextLent->m_Links()->previousLent = links->previousLent;
    }
    links->previousLent = links->nextLent = nullptr;
    m_Detached = false;
}

Element::CUpLinks& Element::m_MakeLinks()
{
    if (CUpLinks* links = m_Links()) {
        return *links;
    }
    auto* links = new CUpLinks;
    m_UseLinks(links, m_ParentNode(), m_HeldDocument(), (m_Up & kUpTags) != 0);
    return *links;
}

void Element::m_UseLinks(CUpLinks* links, Element* parent, CExtensibleMarkupLanguageDocument* document,
                         bool holds) noexcept
{
    links->parent = parent;
    links->Name(document, holds);
    m_Up = reinterpret_cast<std::uintptr_t>(links) | kUpLinks;
}

void Element::CUpLinks::Name(CExtensibleMarkupLanguageDocument* named, bool holds) noexcept
{
    CExtensibleMarkupLanguageDocument* const before = holdsDocument ? document : nullptr;
    CExtensibleMarkupLanguageDocument* const after = holds ? named : nullptr;
    if (before != after) {
        if (before != nullptr) {
            (previousHolder != nullptr ? previousHolder->nextHolder : before->m_FirstHolder) = nextHolder;
            if (nextHolder != nullptr) {
                nextHolder->previousHolder = previousHolder;
            }
            previousHolder = nextHolder = nullptr;
        }
        if (after != nullptr) {
            nextHolder = after->m_FirstHolder;
            if (nextHolder != nullptr) {
                nextHolder->previousHolder = this;
            }
            after->m_FirstHolder = this;
        }
    }
    document = after;
    holdsDocument = holds;
}

CExtensibleMarkupLanguageDocument* Element::m_HeldDocument() const noexcept
{
    if ((m_Up & kUpDocument) != 0) {
        return reinterpret_cast<CExtensibleMarkupLanguageDocument*>(m_Up & ~std::uintptr_t(kUpTags));
    }
    const CUpLinks* links = m_Links();
    return links != nullptr && links->holdsDocument ? links->document : nullptr;
}

void Element::m_LinkUp(Element* parent, CExtensibleMarkupLanguageDocument* document, bool keepLinks)
{
    CUpLinks* links = m_Links();
    const bool holdsDocument = keepLinks || (parent != nullptr && parent->m_FindDocument() != document);
    // Only a document's root names it without a record (the document is
    // not told of its root: it deletes it).
    const bool parentless = parent == nullptr && document != nullptr && document->m_XML != this;
    if (holdsDocument || parentless || m_Detached
        || (links != nullptr && (!links->otherText.IsEmpty() || links->firstLent != nullptr))) {
        m_UseLinks(links != nullptr ? links : new CUpLinks, parent, document, holdsDocument || parent == nullptr);
        return;
    }
    delete links;
    if (parent != nullptr) {
        m_Up = reinterpret_cast<std::uintptr_t>(parent);
    } else {
        m_Up = document != nullptr ? reinterpret_cast<std::uintptr_t>(document) | kUpDocument : 0;
    }
}

namespace {
const OrvXml::CNodeText kNoText;
const OrvXml::CNodeText kCDATAMarker(std::string_view("[CDATA["));
} // namespace

const OrvXml::CNodeText& Element::m_OtherText() const noexcept
{
    // (The marker is only ever set while m_Text holds the contents.)
    if (m_TagIsCDATAMarker) {
        return kCDATAMarker;
    }
    const CUpLinks* links = m_Links();
    return links != nullptr ? links->otherText : kNoText;
}

OrvXml::CNodeText& Element::m_OtherSlot(bool contents)
{
    if (m_TagIsCDATAMarker && !contents) {
        // The tag is about to change: it is held by a text from now on.
        CUpLinks& links = m_MakeLinks();
        links.otherText = "[CDATA[";
        m_TagIsCDATAMarker = false;
        return links.otherText;
    }
    if (CUpLinks* links = m_Links()) {
        return links->otherText;
    }
    if (m_Text.IsEmpty()) {
        m_TextIsContents = contents;
        return m_Text;
    }
    // A CUpLinks of the node's own, which holds no document: the document
    // is still found through the parent (or held, without one).
    return m_MakeLinks().otherText;
}

void Element::m_MarkCDATA()
{
    if (!m_TextIsContents) {
        if (!m_Text.IsEmpty()) {
            m_Text = "[CDATA[";
            return;
        }
        m_TextIsContents = true;
    }
    if (CUpLinks* links = m_Links()) {
        links->otherText.Empty();
    }
    m_TagIsCDATAMarker = true;
}

void Element::m_EmptyTexts() noexcept
{
    m_Text.Empty();
    if (CUpLinks* links = m_Links()) {
        links->otherText.Empty();
    }
    m_TagIsCDATAMarker = false;
}

Element* Element::NewElement(Element* parent, DWORD type, CExtensibleMarkupLanguageDocument* document)
{
    auto* element = m_Make();
    element->SetType(type);
    try {
        if (parent != nullptr) {
            // Without a document of its own the node takes its parent's.
            if (document == nullptr) {
                element->m_LinkToParent(parent);
            } else {
                element->m_LinkUp(parent, document);
            }
            m_AppendNew(parent, element);
        } else if (document != nullptr) {
            element->m_LinkUp(nullptr, document);
        }
    } catch (...) {
        delete element;
        throw;
    }
    return element;
}

Element* Element::m_NewTextSegment(Element* parent, std::string_view text)
{
    // A short text sits inline and needs no bytes after the node.
    if (text.size() > OrvXml::CNodeText::kLengthMask) {
        throw std::bad_alloc();
    }
    const bool textInline = OrvXml::CNodeText::FitsInline(text.size());
    const std::size_t tail = textInline ? 0 : text.size() + 1;
    auto* element = m_Make(tail);
    if (textInline) {
        element->m_Text = text;
    } else {
        char* bytes = reinterpret_cast<char*>(element + 1);
        std::memcpy(bytes, text.data(), text.size());
        bytes[text.size()] = '\0';
        element->m_Text.Borrow(bytes, text.size());
    }
    // A tail too long to record only happens on the heap, where the size
    // given back does not matter.
    element->m_ContentsTail = tail <= 0xFFFF ? std::uint16_t(tail) : 0;
    element->m_Type = typeTextSegment;
    element->m_TextIsContents = true;
    element->m_IsDone = true;
    element->m_LinkToParent(parent);
    m_AppendNew(parent, element);
    return element;
}

void Element::DeleteElement(Element* element)
{
    if (element != nullptr && !element->m_Detached) {
        if (Element* parent = element->m_ParentNode()) {
            parent->m_TakeOut(element);
            element->m_DropParent();
        }
    }
    delete element;
}

void Element::m_SetLongTextAfterNode(OrvXml::CNodeText& text, std::string_view value)
{
    using OrvXml::CNodeText;
    if (!CNodeText::FitsInline(value.size()) && text.IsEmpty() && m_Place > OrvXml::kBareOnHeap) {
        const std::size_t used = OrvXml::RoundedToPointer(sizeof(Element) + m_ContentsTail);
        if (void* after = OrvXml::ExtendLastNode(reinterpret_cast<char*>(this) + used, value.size() + 1)) {
            char* bytes = static_cast<char*>(after);
            std::memcpy(bytes, value.data(), value.size());
            bytes[value.size()] = '\0';
            text.BorrowOnEmpty(bytes, value.size());
            m_ContentsTail = std::uint16_t(used - sizeof(Element) + value.size() + 1);
            return;
        }
    }
    text = value;
}

void* Element::operator new(std::size_t size)
{
    return OrvXml::AllocateNode(size);
}

void Element::operator delete(void* element, std::size_t size) noexcept
{
    if (element == nullptr) {
        return;
    }
    const std::uint16_t place = t_DyingPlace;
    if (place != 0) {
        OrvXml::ReleaseBareNode(element, size, place);
    } else {
        OrvXml::ReleaseNode(element, size);
    }
}

// Starts the node over where it stands: its parent and document stay (its
// parent's list still holds it), all it held goes.
void Element::m_Initialize()
{
    Empty();
    m_Type = typeUnknown;
    m_Beginning.Empty();
    m_Ending.Empty();
    m_AbortParsing = false;
    m_IsAllWhiteSpace = false;
    m_IsTagEmpty = false;
}

// --- Children ---

void Element::AddChild(Element* child, DWORD insertBefore)
{
    // A document's root stays its document's.
    if (child == nullptr || child == this || child->m_IsDocumentRoot) {
        return;
    }
    for (int i = 0; i < m_Children.GetSize(); ++i) {
        if (m_Children.GetData()[i] == child) {
            return;
        }
    }
    // An ancestor cannot become a child: the tree would hold a cycle.
    for (const Element* node = m_ParentNode(); node != nullptr; node = node->m_ParentNode()) {
        if (node == child) {
            return;
        }
    }

    CExtensibleMarkupLanguageDocument* const document = m_FindDocument();
    // The whole subtree joins the document, so no node keeps pointing at one
    // that may be gone. (The nodes below the child that hold a document of
    // their own are found first: this is the step that can throw.)
    std::vector<Element*> holders;
    std::vector<Element*> pending(child->m_Children.GetData(), child->m_Children.GetData() + child->m_Children.GetSize());
    while (!pending.empty()) {
        Element* node = pending.back();
        pending.pop_back();
        if (const CUpLinks* links = node->m_Links(); links != nullptr && links->holdsDocument) {
            holders.push_back(node);
        }
        pending.insert(pending.end(), node->m_Children.GetData(), node->m_Children.GetData() + node->m_Children.GetSize());
    }
    // A node still among another parent's children leaves them; a node
    // taken out leaves its old parent's list of lent children. (Either way
    // nothing is allocated for the child after this: it has a CUpLinks
    // already when it was taken out, and needs none otherwise.)
    if (child->m_Detached) {
        child->m_Unlend();
    } else if (Element* parent = child->m_ParentNode()) {
        parent->m_TakeOut(child);
    }
    child->m_LinkUp(this, document);
    for (Element* node : holders) {
        node->m_Links()->Name(document, true);
    }
    if (insertBefore >= DWORD(m_Children.GetSize())) {
        m_Children.Add(child);
    } else {
        m_Children.InsertAt(int(insertBefore), child);
    }
}

void Element::DestroyChildren()
{
    const OrvXml::CNodeReleaseScope releases;
    // Detach the whole subtree node by node, then delete each; its
    // destructor then finds no children left, so no recursion happens. The
    // nodes are taken in document order, which is about the order of their
    // memory, and the next one is fetched while this one dies.
    std::vector<Element*> pending(std::make_reverse_iterator(m_Children.GetData() + m_Children.GetSize()),
        std::make_reverse_iterator(m_Children.GetData()));
    m_Children.RemoveAll();
    while (!pending.empty()) {
        Element* node = pending.back();
        pending.pop_back();
        if (!node->m_Children.IsEmpty()) {
            Element* const* children = node->m_Children.GetData();
            pending.insert(pending.end(), std::make_reverse_iterator(children + node->m_Children.GetSize()),
                std::make_reverse_iterator(children));
            node->m_Children.RemoveAll();
        }
        node->m_DropParent();
        if (!pending.empty()) {
            __builtin_prefetch(pending.back());
        }
        delete node;
    }
}

bool Element::EnumerateChildren(DWORD& index) const
{
    index = 0;
    return m_Children.GetSize() > 0;
}

bool Element::GetNextChild(DWORD& index, Element*& element) const
{
    if (index >= DWORD(m_Children.GetSize())) {
        element = nullptr;
        return false;
    }
    element = m_Children.GetData()[index];
    ++index;
    return true;
}

DWORD Element::GetNumberOfChildren() const
{
    return DWORD(m_Children.GetSize());
}

void Element::RemoveChild(Element* child)
{
    for (int i = m_Children.GetSize() - 1; i >= 0; --i) {
        if (m_Children.GetData()[i] == child) {
            // The child keeps its parent and document (both in its own
            // CUpLinks), and joins this node's list of lent children, so
            // that its parent is cleared when this node dies. (The records
            // are made first: the steps that can fail.)
            m_MakeLinks();
            child->m_LinkUp(this, child->m_FindDocument(), true);
            m_Children.RemoveAt(i);
            m_Lend(child);
            return;
        }
    }
}

bool Element::m_TakeOut(Element* child) noexcept
{
    // A node is held once at most, so the first occurrence is the only one;
    // the parser removes the child it has just added, so look from the end.
    for (int i = m_Children.GetSize() - 1; i >= 0; --i) {
        if (m_Children.GetData()[i] == child) {
            m_Children.RemoveAt(i);
            return true;
        }
    }
    return false;
}

void Element::m_DeleteChild(Element* child)
{
    m_TakeOut(child);
    child->m_DropParent();
    DeleteElement(child);
}

DWORD Element::GetTotalNumberOfChildren() const
{
    DWORD total = 0;
    std::vector<const Element*> pending{this};
    while (!pending.empty()) {
        const Element* node = pending.back();
        pending.pop_back();
        total += DWORD(node->m_Children.GetSize());
        pending.insert(pending.end(), node->m_Children.GetData(), node->m_Children.GetData() + node->m_Children.GetSize());
    }
    return total;
}

// --- Attributes ---

bool Element::AddAttribute(const CString& name, const CString& value)
{
    return m_AddParsedAttribute(View(name), View(value));
}

void Element::m_ReportRepeatedAttribute(std::string_view name) const
{
    CString message;
    message.Format("Attributes must be unique (Rule 40). An attribute named \"%s\" was repeated.",
        CString(name.data(), int(name.size())).GetString());
    m_ReportParsingError(message);
}

bool Element::m_AddParsedAttribute(std::string_view name, std::string_view value, bool checkRepeats)
{
    for (int i = 0; checkRepeats && i < m_Attributes.GetSize(); ++i) {
        if (View(m_Attributes.GetData()[i]->m_Name) == name) {
            m_ReportRepeatedAttribute(name);
            return false;
        }
    }
    // One pass finds both a '<' and the white space that normalisation
    // rewrites; most values hold neither and are copied as they are.
    bool hasWhiteSpace = false;
    for (const char c : value) {
        if (kAttributeValueBytes.special[BYTE(c)]) {
            if (c == '<') {
                CString message;
                message.Format(
                    "Attribute values cannot contain a '<' (Rule 41). Offending attribute is named named \"%s\"",
                    CString(name.data(), int(name.size())).GetString());
                return m_Fail(message);
            }
            hasWhiteSpace = true;
        }
    }
    // The attribute and its texts take one allocation.
    CExtensibleMarkupLanguageAttribute* attribute =
        CExtensibleMarkupLanguageAttribute::NewWithTexts(name, value, hasWhiteSpace);
    try {
        m_Attributes.Add(attribute);
    } catch (...) {
        delete attribute;
        throw;
    }
    return true;
}

void Element::DestroyAttributeByName(const CString& name)
{
    for (int i = m_Attributes.GetSize() - 1; i >= 0; --i) {
        if (m_Attributes[i]->m_Name == name) {
            delete m_Attributes[i];
            m_Attributes.RemoveAt(i);
        }
    }
}

void Element::DestroyAttributeByValue(const CString& value)
{
    for (int i = m_Attributes.GetSize() - 1; i >= 0; --i) {
        if (m_Attributes[i]->m_Value == value) {
            delete m_Attributes[i];
            m_Attributes.RemoveAt(i);
        }
    }
}

void Element::DestroyAttributes()
{
    const OrvXml::CNodeReleaseScope releases;
    // (An attribute's destructor cannot reach this list, so its items and
    // count are read once.)
    CExtensibleMarkupLanguageAttribute::DestroyRun(m_Attributes.GetData(), m_Attributes.GetSize());
    m_Attributes.RemoveAll();
}

bool Element::EnumerateAttributes(DWORD& index) const
{
    index = 0;
    return m_Attributes.GetSize() > 0;
}

CExtensibleMarkupLanguageAttribute* Element::GetAttributeByName(const CString& name) const
{
    for (int i = 0; i < m_Attributes.GetSize(); ++i) {
        if (m_Attributes[i]->m_Name == name) {
            return m_Attributes[i];
        }
    }
    return nullptr;
}

bool Element::GetAttributeByName(const CString& name, CString& value) const
{
    const CExtensibleMarkupLanguageAttribute* found = GetAttributeByName(name);
    if (found == nullptr) {
        return false;
    }
    value = found->m_Value.ToCString();
    return true;
}

bool Element::GetAttributeByName(CExtensibleMarkupLanguageAttribute& attribute) const
{
    const CExtensibleMarkupLanguageAttribute* found = GetAttributeByName(attribute.m_Name.ToCString());
    if (found == nullptr) {
        return false;
    }
    attribute.Copy(*found);
    return true;
}

bool Element::GetAttributeByValue(CExtensibleMarkupLanguageAttribute& attribute) const
{
    for (int i = 0; i < m_Attributes.GetSize(); ++i) {
        if (m_Attributes[i]->m_Value == attribute.m_Value) {
            attribute.Copy(*m_Attributes[i]);
            return true;
        }
    }
    return false;
}

bool Element::GetNextAttribute(DWORD& index, CExtensibleMarkupLanguageAttribute*& attribute) const
{
    if (index >= DWORD(m_Attributes.GetSize())) {
        attribute = nullptr;
        return false;
    }
    attribute = m_Attributes[int(index)];
    ++index;
    return true;
}

DWORD Element::GetNumberOfAttributes() const
{
    return DWORD(m_Attributes.GetSize());
}

// --- Content ---

bool Element::AddText(const CString& text)
{
    static const char kSpecial[] = "&<>\"'";
    const std::string_view source = View(text);
    if (source.find_first_of(std::string_view(kSpecial, 5)) == std::string_view::npos) {
        return AddTextXML(text);
    }
    std::string escaped;
    escaped.reserve(source.size() + source.size() / 4);
    for (char c : source) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&apos;"; break;
        default: escaped += c; break;
        }
    }
    return AddTextXML(CString(escaped.data(), int(escaped.size())));
}

bool Element::AddTextXML(const CString& text)
{
    Element* child = NewElement(this, typeTextSegment);
    child->m_ContentsSlot() = text;
    child->m_IsAllWhiteSpace = true;
    for (char c : View(text)) {
        if (!OrvXml::IsXmlSpace(c)) {
            child->m_IsAllWhiteSpace = false;
            break;
        }
    }
    child->m_IsDone = true;
    return true;
}

void Element::Copy(const Element& source)
{
    if (&source == this) {
        return;
    }
    for (const Element* node = source.m_ParentNode(); node != nullptr; node = node->m_ParentNode()) {
        if (node == this) {
            // Emptying this node would destroy the source: copy it aside first.
            Element* aside = NewElement(nullptr, source.m_Type, m_FindDocument());
            aside->Copy(source);
            Copy(*aside);
            DeleteElement(aside);
            return;
        }
    }
    Empty();
    // Pairs of (copy, original) whose children are still to be copied.
    std::vector<std::pair<Element*, const Element*>> pending{{this, &source}};
    while (!pending.empty()) {
        auto [target, original] = pending.back();
        pending.pop_back();
        // (Emptied, the target holds no text: one of the two goes to
        // m_Text, and the other takes a CUpLinks only when both are set.)
        if (!original->Tag().IsEmpty()) {
            target->m_TagSlot() = original->Tag();
        }
        if (!original->Contents().IsEmpty()) {
            target->m_ContentsSlot() = original->Contents();
        }
        target->m_Type = original->m_Type;
        target->m_IsDone = original->m_IsDone;
        target->m_IsAllWhiteSpace = original->m_IsAllWhiteSpace;
        target->m_IsTagEmpty = original->m_IsTagEmpty;
        for (int i = 0; i < original->m_Attributes.GetSize(); ++i) {
            target->m_Attributes.Add(new CExtensibleMarkupLanguageAttribute(*original->m_Attributes[i]));
        }
        for (int i = 0; i < original->m_Children.GetSize(); ++i) {
            const Element* child = original->m_Children.GetData()[i];
            if (child == this) {
                continue; // a node cannot contain a copy of itself
            }
            pending.emplace_back(NewElement(target, child->m_Type), child);
        }
    }
}

Element& Element::operator=(const Element& source)
{
    Copy(source);
    return *this;
}

void Element::Empty()
{
    m_IsDone = false;
    DestroyChildren();
    DestroyAttributes();
    m_EmptyTexts();
}

void Element::GetText(CString& text) const
{
    std::string gathered;
    std::vector<const Element*> pending{this};
    const CExtensibleMarkupLanguageDocument* const document = m_FindDocument();
    const bool ignoreWhiteSpace = document != nullptr && document->GetIgnoreWhiteSpace();
    while (!pending.empty()) {
        const Element* node = pending.back();
        pending.pop_back();
        if (!(ignoreWhiteSpace && node->m_IsAllWhiteSpace)) {
            const std::string_view contents = node->Contents().View();
            if (node->m_Type == typeTextSegment && contents.find('&') != std::string_view::npos) {
                CString resolved = node->Contents().ToCString();
                node->m_ResolveEntities(resolved);
                gathered.append(resolved.GetString(), std::size_t(resolved.GetLength()));
            } else {
                gathered.append(contents);
            }
        }
        for (int i = node->m_Children.GetSize() - 1; i >= 0; --i) {
            pending.push_back(node->m_Children.GetData()[i]);
        }
    }
    text = CString(gathered.data(), int(gathered.size()));
}

void Element::m_ResolveEntities(CString& text) const
{
    const CExtensibleMarkupLanguageDocument* const document = text.Find('&') < 0 ? nullptr : m_FindDocument();
    if (document == nullptr) {
        return;
    }
    const std::string_view source = View(text);
    std::string resolved;
    resolved.reserve(source.size());
    std::size_t at = 0;
    CString replacement;
    for (;;) {
        const std::size_t amp = source.find('&', at);
        if (amp == std::string_view::npos) {
            break;
        }
        const std::size_t semicolon = source.find(';', amp + 1);
        if (semicolon == std::string_view::npos) {
            return;
        }
        resolved.append(source.substr(at, amp - at));
        const CString reference(source.data() + amp, int(semicolon - amp + 1));
        if (!document->ResolveEntity(reference, replacement)) {
            return;
        }
        resolved.append(replacement.GetString(), std::size_t(replacement.GetLength()));
        at = semicolon + 1;
    }
    resolved.append(source.substr(at));
    text = CString(resolved.data(), int(resolved.size()));
}

// --- Names and paths ---

void Element::GetName(CString& name) const
{
    name.Empty();
    const Element* const parent = m_ParentNode();
    const OrvXml::CNodeText& tag = Tag();
    if (parent == nullptr || tag.IsEmpty()) {
        return;
    }
    DWORD instance = 0;
    for (int i = 0; i < parent->m_Children.GetSize(); ++i) {
        const Element* sibling = parent->m_Children.GetData()[i];
        if (sibling == this) {
            break;
        }
        if (sibling->Tag() == tag) {
            ++instance;
        }
    }
    name = tag.ToCString();
    if (instance > 0) {
        name.AppendFormat("(%lu)", static_cast<unsigned long>(instance));
    }
}

void Element::GetCompleteName(CString& name) const
{
    name.Empty();
    GetName(name);
    if (name.IsEmpty()) {
        return;
    }
    const char separator = SeparatorOf(m_FindDocument());
    CString part;
    for (const Element* node = m_ParentNode(); node != nullptr && node->m_ParentNode() != nullptr;
         node = node->m_ParentNode()) {
        node->GetName(part);
        if (part.IsEmpty()) {
            break;
        }
        name = part + separator + name;
    }
}

Element* Element::GetChild(const CString& path) const
{
    const char separator = SeparatorOf(m_FindDocument());
    std::string_view rest = View(path);
    if (rest.empty()) {
        return nullptr;
    }
    const Element* node = this;
    while (!rest.empty()) {
        const std::size_t cut = rest.find(separator);
        const std::string_view name = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
        std::string_view tag;
        DWORD instance = 0;
        if (!SplitInstance(name, tag, instance)) {
            return nullptr;
        }
        const Element* found = nullptr;
        for (int i = 0; i < node->m_Children.GetSize() && found == nullptr; ++i) {
            const Element* child = node->m_Children.GetData()[i];
            if (View(child->Tag()) == tag && instance-- == 0) {
                found = child;
            }
        }
        if (found == nullptr) {
            return nullptr;
        }
        node = found;
    }
    return const_cast<Element*>(node);
}

DWORD Element::CountChildren(const CString& path) const
{
    const char separator = SeparatorOf(m_FindDocument());
    const std::string_view full = View(path);
    if (full.empty()) {
        return 0;
    }
    const Element* node = this;
    std::string_view last = full;
    const std::size_t cut = full.rfind(separator);
    if (cut != std::string_view::npos) {
        node = GetChild(CString(full.data(), int(cut)));
        last = full.substr(cut + 1);
        const std::size_t open = last.find('(');
        if (open != std::string_view::npos) {
            last = last.substr(0, open);
        }
    }
    if (node == nullptr || last.empty()) {
        return 0;
    }
    DWORD count = 0;
    for (int i = 0; i < node->m_Children.GetSize(); ++i) {
        if (View(node->m_Children.GetData()[i]->Tag()) == last) {
            ++count;
        }
    }
    return count;
}

// --- Plain accessors ---

bool Element::GetAbortParsing() const { return m_AbortParsing; }
void Element::GetBeginning(CParsePoint& point) const { point = m_Beginning; }
CExtensibleMarkupLanguageDocument* Element::GetDocument() const { return m_FindDocument(); }

CExtensibleMarkupLanguageDocument* Element::m_FindDocument() const noexcept
{
    const Element* node = this;
    for (;;) {
        const std::uintptr_t up = node->m_Up;
        if ((up & kUpTags) == 0) {
            node = reinterpret_cast<const Element*>(up);
        } else if ((up & kUpDocument) != 0) {
            return reinterpret_cast<CExtensibleMarkupLanguageDocument*>(up & ~std::uintptr_t(kUpTags));
        } else {
            const CUpLinks* links = reinterpret_cast<const CUpLinks*>(up & ~std::uintptr_t(kUpTags));
            if (links->holdsDocument) {
                return links->document;
            }
            node = links->parent;
        }
        if (node == nullptr) {
            return nullptr;
        }
    }
}
DWORD Element::m_DocumentParseOptions() const
{
    const CExtensibleMarkupLanguageDocument* const document = m_FindDocument();
    return document != nullptr ? document->GetParseOptions() : CExtensibleMarkupLanguageDocument::parseDefault;
}
DWORD Element::m_DocumentWriteOptions() const
{
    const CExtensibleMarkupLanguageDocument* const document = m_FindDocument();
    return document != nullptr ? document->GetWriteOptions() : CExtensibleMarkupLanguageDocument::writeSingleByte;
}
void Element::GetEnding(CParsePoint& point) const { point = m_Ending; }
void Element::GetContents(CString& contents) const { contents = Contents().ToCString(); }
void Element::GetTag(CString& tag) const { tag = Tag().ToCString(); }
DWORD Element::GetType() const { return m_Type; }
bool Element::IsAllWhiteSpace() const { return m_IsAllWhiteSpace; }
bool Element::IsRoot() const { return m_ParentNode() == nullptr; }
Element* Element::GetParent() const { return m_ParentNode(); }
void Element::SetAbortParsing(bool abortParsing) { m_AbortParsing = abortParsing; }
void Element::SetContents(const CString& contents)
{
    if (contents.IsEmpty() && !m_TextIsContents) {
        // The contents are not in m_Text: nothing to make for empty ones.
        if (CUpLinks* links = m_Links()) {
            links->otherText.Empty();
        }
        return;
    }
    m_ContentsSlot() = contents;
}
void Element::SetDocument(CExtensibleMarkupLanguageDocument* document)
{
    CExtensibleMarkupLanguageDocument* const old = m_FindDocument();
    if (document == old) {
        return;
    }
    // A node taken out of its parent keeps both in its CUpLinks.
    m_LinkUp(m_ParentNode(), document, m_Detached);
}
void Element::SetTag(const CString& tag)
{
    if (tag.IsEmpty() && m_TextIsContents) {
        // The tag is not in m_Text: nothing to make for an empty one.
        m_TagIsCDATAMarker = false;
        if (CUpLinks* links = m_Links()) {
            links->otherText.Empty();
        }
        return;
    }
    m_TagSlot() = tag;
}
void Element::SetType(DWORD type) { m_Type = BYTE(type > typeMetaData ? typeUnknown : type); }

Element* Element::GetParent(const CString& name) const
{
    for (Element* node = m_ParentNode(); node != nullptr; node = node->m_ParentNode()) {
        if (node->Tag() == name) {
            return node;
        }
    }
    return nullptr;
}
