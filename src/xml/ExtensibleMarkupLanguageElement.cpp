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

Element::~CExtensibleMarkupLanguageElement()
{
    if (m_Document != nullptr && !m_Document->m_DetachedNodes.empty()) {
        m_Document->m_ForgetDetached(this);
        m_Document->m_ParentGone(this);
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

Element* Element::NewElement(Element* parent, DWORD type, CExtensibleMarkupLanguageDocument* document)
{
    auto* element = m_Make();
    element->SetType(type);
    element->m_Parent = parent;
    element->m_Document = (document == nullptr && parent != nullptr) ? parent->m_Document : document;
    if (parent != nullptr) {
        m_AppendNew(parent, element);
    } else if (element->m_Document != nullptr) {
        try {
            element->m_Document->m_TrackDetached(element);
        } catch (...) {
            delete element;
            throw;
        }
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
        element->m_Contents = text;
    } else {
        char* bytes = reinterpret_cast<char*>(element + 1);
        std::memcpy(bytes, text.data(), text.size());
        bytes[text.size()] = '\0';
        element->m_Contents.Borrow(bytes, text.size());
    }
    // A tail too long to record only happens on the heap, where the size
    // given back does not matter.
    element->m_ContentsTail = tail <= 0xFFFF ? std::uint16_t(tail) : 0;
    element->m_Type = typeTextSegment;
    element->m_IsDone = true;
    element->m_Parent = parent;
    element->m_Document = parent->m_Document;
    m_AppendNew(parent, element);
    return element;
}

void Element::DeleteElement(Element* element)
{
    if (element != nullptr && element->m_Parent != nullptr && !element->m_Detached) {
        element->m_Parent->m_TakeOut(element);
        element->m_Parent = nullptr;
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

void Element::m_Initialize()
{
    m_Document = nullptr;
    m_Parent = nullptr;
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
    if (child == nullptr || child == this) {
        return;
    }
    for (int i = 0; i < m_Children.GetSize(); ++i) {
        if (m_Children.GetData()[i] == child) {
            return;
        }
    }
    // An ancestor cannot become a child: the tree would hold a cycle.
    for (const Element* node = m_Parent; node != nullptr; node = node->m_Parent) {
        if (node == child) {
            return;
        }
    }

    if (child->m_Detached && child->m_Document != nullptr) {
        child->m_Document->m_ForgetDetached(child);
    }
    child->m_Detached = false;
    child->m_Document = m_Document;
    child->m_Parent = this;
    // The whole subtree joins the document, so no node keeps pointing at one
    // that may be gone.
    std::vector<Element*> pending(child->m_Children.GetData(), child->m_Children.GetData() + child->m_Children.GetSize());
    while (!pending.empty()) {
        Element* node = pending.back();
        pending.pop_back();
        node->m_Document = m_Document;
        pending.insert(pending.end(), node->m_Children.GetData(), node->m_Children.GetData() + node->m_Children.GetSize());
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
        node->m_Parent = nullptr;
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
            if (child->m_Document != nullptr) {
                child->m_Document->m_TrackDetached(child);
            }
            child->m_Detached = true;
            m_Children.RemoveAt(i);
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
    child->m_Parent = nullptr;
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
    Element* child = NewElement(this, typeTextSegment, m_Document);
    child->m_Contents = text;
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
    for (const Element* node = source.m_Parent; node != nullptr; node = node->m_Parent) {
        if (node == this) {
            // Emptying this node would destroy the source: copy it aside first.
            Element* aside = NewElement(nullptr, source.m_Type, m_Document);
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
        target->m_Tag = original->m_Tag;
        target->m_Contents = original->m_Contents;
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
            pending.emplace_back(NewElement(target, child->m_Type, target->m_Document), child);
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
    m_Tag.Empty();
    m_Contents.Empty();
}

void Element::GetText(CString& text) const
{
    std::string gathered;
    std::vector<const Element*> pending{this};
    const bool ignoreWhiteSpace = m_Document != nullptr && m_Document->GetIgnoreWhiteSpace();
    while (!pending.empty()) {
        const Element* node = pending.back();
        pending.pop_back();
        if (!(ignoreWhiteSpace && node->m_IsAllWhiteSpace)) {
            const std::string_view contents = node->m_Contents.View();
            if (node->m_Type == typeTextSegment && contents.find('&') != std::string_view::npos) {
                CString resolved = node->m_Contents.ToCString();
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
    if (m_Document == nullptr || text.Find('&') < 0) {
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
        if (!m_Document->ResolveEntity(reference, replacement)) {
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
    if (m_Parent == nullptr || m_Tag.IsEmpty()) {
        return;
    }
    DWORD instance = 0;
    for (int i = 0; i < m_Parent->m_Children.GetSize(); ++i) {
        const Element* sibling = m_Parent->m_Children.GetData()[i];
        if (sibling == this) {
            break;
        }
        if (sibling->m_Tag == m_Tag) {
            ++instance;
        }
    }
    name = m_Tag.ToCString();
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
    const char separator = SeparatorOf(m_Document);
    CString part;
    for (const Element* node = m_Parent; node != nullptr && node->m_Parent != nullptr; node = node->m_Parent) {
        node->GetName(part);
        if (part.IsEmpty()) {
            break;
        }
        name = part + separator + name;
    }
}

Element* Element::GetChild(const CString& path) const
{
    const char separator = SeparatorOf(m_Document);
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
            if (View(child->m_Tag) == tag && instance-- == 0) {
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
    const char separator = SeparatorOf(m_Document);
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
        if (View(node->m_Children.GetData()[i]->m_Tag) == last) {
            ++count;
        }
    }
    return count;
}

// --- Plain accessors ---

bool Element::GetAbortParsing() const { return m_AbortParsing; }
void Element::GetBeginning(CParsePoint& point) const { point = m_Beginning; }
CExtensibleMarkupLanguageDocument* Element::GetDocument() const { return m_Document; }
void Element::GetEnding(CParsePoint& point) const { point = m_Ending; }
void Element::GetContents(CString& contents) const { contents = m_Contents.ToCString(); }
void Element::GetTag(CString& tag) const { tag = m_Tag.ToCString(); }
DWORD Element::GetType() const { return m_Type; }
bool Element::IsAllWhiteSpace() const { return m_IsAllWhiteSpace; }
bool Element::IsRoot() const { return m_Parent == nullptr; }
Element* Element::GetParent() const { return m_Parent; }
void Element::SetAbortParsing(bool abortParsing) { m_AbortParsing = abortParsing; }
void Element::SetContents(const CString& contents) { m_Contents = contents; }
void Element::SetDocument(CExtensibleMarkupLanguageDocument* document)
{
    if (document == m_Document) {
        return;
    }
    if (m_Detached && m_Document != nullptr) {
        m_Document->m_ForgetDetached(this);
    }
    m_Document = document;
    if (document != nullptr && (m_Parent == nullptr || m_Detached) && document->m_XML != this) {
        document->m_TrackDetached(this);
    }
}
void Element::SetTag(const CString& tag) { m_Tag = tag; }
void Element::SetType(DWORD type) { m_Type = BYTE(type > typeMetaData ? typeUnknown : type); }

Element* Element::GetParent(const CString& name) const
{
    for (Element* node = m_Parent; node != nullptr; node = node->m_Parent) {
        if (node->m_Tag == name) {
            return node;
        }
    }
    return nullptr;
}
