#include "XmlTestSupport.h"

#include <string>
#include <thread>
#include <tuple>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) && !defined(__SANITIZE_ADDRESS__)
#define __SANITIZE_ADDRESS__ 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

using Document = CExtensibleMarkupLanguageDocument;
using Element = CExtensibleMarkupLanguageElement;

namespace {

std::string NameOf(const Element* element)
{
    CString name;
    element->GetName(name);
    return name.GetString();
}

void Ignore(void*, Element*) {}
void AlsoIgnore(void*, Element*) {}

// The document's callbacks in order: element name, function and parameter.
std::vector<std::tuple<std::string, XML_ELEMENT_CALLBACK, void*>> Callbacks(const Document& document)
{
    std::vector<std::tuple<std::string, XML_ELEMENT_CALLBACK, void*>> callbacks;
    DWORD index = 0;
    CString name;
    XML_ELEMENT_CALLBACK function = nullptr;
    void* parameter = nullptr;
    for (bool more = document.EnumerateCallbacks(index); more && document.GetNextCallback(index, name, function, parameter);)
        callbacks.emplace_back(name.GetString(), function, parameter);
    return callbacks;
}

// A node kind of a caller's own, which can start over.
class CRestartingElement : public Element {
public:
    void Restart() { m_Initialize(); }
};

} // namespace

TEST(ElementTree, NewNodesJoinParentAndDocumentLeaveItWhenDeletedAndAddChildRefusesCycles)
{
    Document document;
    Element* root = document.GetRootElement();
    EXPECT_TRUE(root->IsRoot());
    EXPECT_EQ(root->GetType(), DWORD(Element::typeProcessingInstruction));
    Element* a = AddElement(root, "a");
    EXPECT_EQ(a->GetParent(), root);
    EXPECT_EQ(a->GetDocument(), &document);
    EXPECT_FALSE(a->IsRoot());
    Element* b = AddElement(a, "b");
    EXPECT_EQ(b->GetParent("a"), a);
    EXPECT_EQ(b->GetParent("z"), nullptr);
    EXPECT_EQ(document.GetNumberOfElements(), 2u);
    b->SetType(6);
    EXPECT_EQ(b->GetType(), 6u);
    b->SetType(7);
    EXPECT_EQ(b->GetType(), 0u);
    // A node deleted while it sits in its parent leaves the parent first.
    Element::DeleteElement(b);
    EXPECT_EQ(a->GetNumberOfChildren(), 0u);

    // AddChild ignores the node itself, a child it holds and its ancestors.
    Element* parent = Element::NewElement(nullptr, Element::typeElement);
    Element* first = AddElement(parent, "first");
    parent->AddChild(parent);
    parent->AddChild(first);
    parent->AddChild(nullptr);
    EXPECT_EQ(parent->GetNumberOfChildren(), 1u);
    // An ancestor would make a cycle.
    Element* grandchild = AddElement(first, "grandchild");
    grandchild->AddChild(parent);
    EXPECT_EQ(grandchild->GetNumberOfChildren(), 0u);
    // Past the last child the walk fails and clears the child.
    DWORD index = 1;
    Element* child = first;
    EXPECT_FALSE(parent->GetNextChild(index, child));
    EXPECT_EQ(child, nullptr);
    Element::DeleteElement(parent);
    Element::DeleteElement(nullptr);

    // A node that starts over keeps its place and drops what it held.
    auto* restarting = new CRestartingElement;
    a->AddChild(restarting);
    restarting->SetTag("r");
    restarting->AddAttribute("x", "1");
    AddElement(restarting, "inner");
    restarting->Restart();
    EXPECT_EQ(restarting->GetParent(), a);
    EXPECT_EQ(NameOf(restarting), "");
    EXPECT_EQ(a->GetNumberOfChildren(), 1u);
    EXPECT_EQ(restarting->GetDocument(), &document);
    EXPECT_EQ(restarting->GetNumberOfChildren() + restarting->GetNumberOfAttributes(), 0u);
}

TEST(ElementTree, PathsNumberSiblingsWithOneTagRefuseIllFormedNamesAndFollowTheSeparator)
{
    Document document;
    Element* top = AddElement(document.GetRootElement(), "top");
    AddElement(top, "x");
    Element* a0 = AddElement(top, "A");
    AddElement(top, "y");
    Element* a1 = AddElement(top, "A");
    Element* a2 = AddElement(top, "A");
    Element* leaf = AddElement(a2, "leaf");

    EXPECT_EQ(NameOf(a0), "A");
    EXPECT_EQ(NameOf(a1), "A(1)");
    EXPECT_EQ(NameOf(document.GetRootElement()), "");
    EXPECT_EQ(top->GetChild("A( 1 )"), a1);
    EXPECT_EQ(top->GetChild("A(3)"), nullptr);
    EXPECT_EQ(top->CountChildren("A"), 3u);
    const std::pair<const char*, DWORD> counts[] = {
        {"top.A", 3}, {"top.A(2)", 3}, {"top.", 0}, {"", 0}, {"nothing.A", 0}};
    for (const auto& [path, count] : counts)
        EXPECT_EQ(document.CountElements(path), count) << path;

    CString complete;
    leaf->GetCompleteName(complete);
    EXPECT_STREQ(complete, "top.A(2).leaf");
    EXPECT_EQ(document.GetElement(complete), leaf);
    for (const char* path : {"", "top.A)0(", "top.A(0", "top.A(x)", "top..A"})
        EXPECT_EQ(document.GetElement(path), nullptr) << path;
    EXPECT_EQ(document.GetElement("top.A(0)"), a0);

    // Another separator character changes the path syntax.
    Element* b = AddElement(AddElement(document.GetRootElement(), "a"), "b");
    EXPECT_FALSE(document.SetParentChildSeparatorCharacter('\0'));
    EXPECT_EQ(document.GetParentChildSeparatorCharacter(), '.');
    EXPECT_TRUE(document.SetParentChildSeparatorCharacter('/'));
    EXPECT_EQ(document.GetElement("a/b"), b);
    EXPECT_EQ(document.GetElement("a.b"), nullptr);
}

TEST(ElementTree, AttributesAreFoundAndDestroyedAndCopyIsDeepAndEmptyKeepsTheType)
{
    Document document;
    Element* a = AddElement(document.GetRootElement(), "a");
    EXPECT_TRUE(a->AddAttribute("x", "1"));
    EXPECT_TRUE(a->AddAttribute("y", "2"));
    EXPECT_TRUE(a->AddAttribute("z", "2"));
    EXPECT_FALSE(a->AddAttribute("x", "3"));
    EXPECT_EQ(ErrorOf(document).message, "Attributes must be unique (Rule 40). An attribute named \"x\" was repeated.");

    CExtensibleMarkupLanguageAttribute wanted;
    wanted.m_Value = "2";
    ASSERT_TRUE(a->GetAttributeByValue(wanted));
    EXPECT_STREQ(wanted.m_Name, "y");
    wanted.m_Name = "z";
    wanted.m_Value.Empty();
    ASSERT_TRUE(a->GetAttributeByName(wanted));
    EXPECT_STREQ(wanted.m_Value, "2");

    a->DestroyAttributeByValue("2");
    EXPECT_EQ(a->GetNumberOfAttributes(), 1u);
    a->DestroyAttributeByName("x");
    DWORD index = 0;
    EXPECT_FALSE(a->EnumerateAttributes(index));

    a->AddAttribute("k", "v");
    AddElement(a, "b")->AddText("t");
    AddElement(a, "c");

    Element* copy = Element::NewElement(nullptr, Element::typeUnknown);
    copy->Copy(*a);
    EXPECT_EQ(TreeOf(copy), "4<a>[] k=[v]{4<b>[]{5<>[t]{}}4<c>[]{}}");
    EXPECT_EQ(copy->GetTotalNumberOfChildren(), 3u);
    EXPECT_NE(copy->GetChild("b"), a->GetChild("b"));
    EXPECT_NE(copy->GetAttributeByName("k"), a->GetAttributeByName("k"));

    // Copying a node's own descendant into it.
    copy->Copy(*copy->GetChild("b"));
    EXPECT_EQ(TreeOf(copy), "4<b>[]{5<>[t]{}}");

    copy->Empty();
    EXPECT_EQ(TreeOf(copy), "4<>[]{}");
    Element::DeleteElement(copy);
}

TEST(ElementTree, CallbacksAreUniqueAndRemovableAndDocumentCopiesAndEmptyKeepOnlyTheOptions)
{
    Document document;
    int one = 1;
    int two = 2;
    EXPECT_FALSE(document.AddCallback("", Ignore, &one));
    EXPECT_FALSE(document.AddCallback("a", nullptr, &one));
    EXPECT_TRUE(document.AddCallback("a", Ignore, &one));
    EXPECT_FALSE(document.AddCallback("a", Ignore, &one));
    EXPECT_TRUE(document.AddCallback("a", Ignore, &two));
    EXPECT_TRUE(document.AddCallback("a", AlsoIgnore, &one));
    EXPECT_TRUE(document.RemoveCallback("a", Ignore, &one));
    const decltype(Callbacks(document)) expected = {{"a", &Ignore, &two}, {"a", &AlsoIgnore, &one}};
    EXPECT_EQ(Callbacks(document), expected);

    Document other;
    other.CopyCallbacks(document);
    EXPECT_EQ(Callbacks(other), expected);

    // A copy and Empty keep the options but no callbacks.
    EXPECT_EQ(document.SetParseOptions(0x33), 16u);
    EXPECT_EQ(document.SetWriteOptions(0x04), 128u);
    CString encoding;
    document.GetEncoding(encoding);
    EXPECT_STREQ(encoding, "UTF-16");
    document.AddEntity("&e;", "E");
    AddElement(document.GetRootElement(), "a");

    Document copy;
    copy = document;
    EXPECT_EQ(copy.GetParseOptions(), 16u);
    EXPECT_EQ(copy.GetWriteOptions(), 128u);
    EXPECT_NE(copy.GetElement("a"), nullptr);
    EXPECT_EQ(copy.GetEntities().GetSize(), 5);
    DWORD index = 0;
    EXPECT_FALSE(copy.EnumerateCallbacks(index));

    copy += document;
    copy += copy;
    EXPECT_EQ(copy.CountElements("a"), 4u);

    document.Empty();
    EXPECT_EQ(document.GetParseOptions(), 16u);
    EXPECT_EQ(document.GetWriteOptions(), 128u);
    EXPECT_EQ(document.GetEntities().GetSize(), 5);
    EXPECT_EQ(document.GetNumberOfElements(), 0u);
    EXPECT_NE(document.GetRootElement(), nullptr);
    EXPECT_FALSE(document.EnumerateCallbacks(index));
}

// A tree a million levels deep, built by hand, is copied, counted, read,
// written and destroyed without recursion.
TEST(ElementTree, DeepTreesAreSafeToWalk)
{
    constexpr DWORD kDepth = 1000000;
    Document document;
    Element* node = document.GetRootElement();
    for (DWORD i = 0; i < kDepth; ++i) {
        node = AddElement(node, "d");
    }
    node->AddText("end");

    EXPECT_EQ(TextOf(document.GetRootElement()), "end");

    Document copy(document);
    EXPECT_EQ(copy.GetNumberOfElements(), kDepth + 1);

    document.SetWriteOptions(Document::writeSingleByte | Document::writeRootChildrenOnly);
    EXPECT_EQ(Written(document).size(), std::size_t(kDepth * 7 + 3));
    document.Empty();
    EXPECT_EQ(document.GetNumberOfElements(), 0u);
}

// Parsed nodes and attributes share the parse's memory blocks, yet each
// still lives until it is destroyed itself: taken out of the tree, it
// outlives its document, on any thread.
TEST(ElementTree, ParsedNodesOutliveTheirDocument)
{
    std::string xml = "<?xml version=\"1.0\"?>\n<list>";
    for (int i = 0; i < 2000; ++i) {
        xml += "<item n=\"" + std::to_string(i) + "\" long=\"a value well past the short-string size\">text "
            + std::to_string(i) + "</item>";
    }
    xml += "</list>";
    std::vector<Element*> kept;
    {
        Document document;
        ASSERT_TRUE(ParseBytes(document, xml));
        Element* list = document.GetElement("list");
        ASSERT_NE(list, nullptr);
        // Every 97th item is taken out; a node made outside the parse joins
        // the tree in its place and goes with the document.
        for (int i = 1999; i >= 0; i -= 97) {
            Element* item = list->GetChild(CString("item(") + std::to_string(i).c_str() + ")");
            ASSERT_NE(item, nullptr);
            list->RemoveChild(item);
            AddElement(list, "added")->AddAttribute("k", "v");
            // A holder without a document takes the subtree, which then no
            // longer refers to the document about to go.
            Element* holder = Element::NewElement(nullptr, Element::typeElement, nullptr);
            holder->AddChild(item);
            holder->RemoveChild(item);
            Element::DeleteElement(holder);
            kept.push_back(item);
        }
        // Attributes can be destroyed one by one while the rest live on.
        kept.front()->DestroyAttributeByName("long");
    }
    std::vector<Element*> second(kept.begin() + std::ptrdiff_t(kept.size() / 2), kept.end());
    kept.resize(kept.size() / 2);
    std::thread other([&second] {
        for (Element* item : second) {
            EXPECT_EQ(TextOf(item).rfind("text ", 0), 0u);
            Element::DeleteElement(item);
        }
    });
    for (Element* item : kept) {
        EXPECT_NE(AttributeOf(item, "n"), "<missing>");
        EXPECT_EQ(item->GetNumberOfChildren(), 1u);
        Element::DeleteElement(item);
    }
    other.join();
}

// A node's document is found through its parents: each node below one
// taken out, moved or given another document answers as that node does,
// and a parent that gave up a child still clears it when it dies.
TEST(ElementTree, DocumentsFollowTakenOutMovedAndReassignedNodes)
{
    Document first;
    Document second;
    ASSERT_TRUE(ParseBytes(first, "<a><b><c><d/></c></b><e/></a>"));
    Element* b = first.GetElement("a.b");
    Element* c = first.GetElement("a.b.c");
    Element* d = first.GetElement("a.b.c.d");
    EXPECT_EQ(d->GetDocument(), &first);

    // Another document on a node inside the tree: its subtree follows it.
    c->SetDocument(&second);
    EXPECT_EQ(c->GetParent(), b);
    EXPECT_EQ(d->GetDocument(), &second);
    EXPECT_EQ(b->GetDocument(), &first);

    // Taken out, c keeps its parent; moved back under e, its subtree joins
    // e's document.
    b->RemoveChild(c);
    EXPECT_EQ(c->GetParent(), b);
    EXPECT_EQ(d->GetDocument(), &second);
    Element* e = first.GetElement("a.e");
    e->AddChild(c);
    EXPECT_EQ(c->GetParent(), e);
    EXPECT_EQ(d->GetDocument(), &first);
    EXPECT_EQ(d->GetParent(), c);

    // c gave up d, left the tree and came back: when it dies, d's parent
    // is cleared all the same.
    c->RemoveChild(d);
    Element* a = first.GetElement("a");
    e->RemoveChild(c);
    a->AddChild(c, 0);
    EXPECT_EQ(d->GetParent(), c);
    Element::DeleteElement(c);
    EXPECT_EQ(d->GetParent(), nullptr);
    EXPECT_EQ(d->GetDocument(), &first);
    Element::DeleteElement(d);

    // Without a document a taken-out node answers null, even after its old
    // parent joins one.
    Element* holder = Element::NewElement(nullptr, Element::typeElement, nullptr);
    Element* child = Element::NewElement(holder, Element::typeElement, nullptr);
    holder->RemoveChild(child);
    a->AddChild(holder);
    EXPECT_EQ(holder->GetDocument(), &first);
    EXPECT_EQ(child->GetDocument(), nullptr);
    EXPECT_EQ(child->GetParent(), holder);
    Element::DeleteElement(child);
}

// Any node holds a tag and contents, set in any order, through copies and
// moves, whichever of the two its kind usually holds.
TEST(ElementTree, EveryNodeKeepsBothItsTagAndItsContents)
{
    Element* detached = nullptr;
    {
        Document document;
        ASSERT_TRUE(ParseBytes(document, "<a>text<![CDATA[x<y]]><!--note--><b/></a>"));
        Element* a = document.GetElement("a");
        const auto nodes = Children(a);
        ASSERT_EQ(nodes.size(), 4u);
        const struct { const char* tag; const char* contents; bool tagFirst; } cases[4] = {
            {"t", "", true}, {"", "changed", false}, {"c", "note", false}, {"b", "inside", true}};
        for (int i = 0; i < 4; ++i) {
            Element* node = nodes[i];
            if (cases[i].tagFirst) {
                node->SetTag(cases[i].tag);
                node->SetContents(cases[i].contents);
            } else {
                node->SetContents(cases[i].contents);
                node->SetTag(cases[i].tag);
            }
            Element* copy = Element::NewElement(a, node->GetType());
            copy->Copy(*node);
            for (const Element* check : {node, copy}) {
                EXPECT_STREQ(check->Tag(), cases[i].tag) << i;
                EXPECT_STREQ(check->Contents(), cases[i].contents) << i;
            }
        }
        detached = nodes[3];
        a->RemoveChild(detached);
    }
    EXPECT_EQ(std::string(detached->Tag()), "b");
    EXPECT_EQ(std::string(detached->Contents()), "inside");
    Element::DeleteElement(detached);
}

// Children and attributes keep their order through inserts and removals,
// on nodes made by hand and on parsed nodes whose lists live in the
// parse's memory blocks, past the first allocation and through growth.
TEST(ElementTree, ChildAndAttributeListsKeepOrderThroughGrowth)
{
    Document document;
    std::string text = "<root>";
    std::string attributes;
    std::string list;
    for (int i = 0; i < 1500; ++i) {
        text += "<c" + std::to_string(i) + "/>";
        attributes += " a" + std::to_string(i) + "='" + std::to_string(i) + "'";
        list += " a" + std::to_string(i) + "=[" + std::to_string(i) + "]";
    }
    text += "<many" + attributes + "/></root>";
    ASSERT_TRUE(ParseBytes(document, text));
    Element* root = document.GetElement("root");
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->GetNumberOfChildren(), 1501u);
    Element* many = root->GetChild("many");
    ASSERT_NE(many, nullptr);
    EXPECT_EQ(AttributeList(many), list);

    // A parsed node's list grows after the parse and takes inserts.
    Element* first = AddElement(nullptr, "first");
    root->AddChild(first, 0);
    Element* middle = AddElement(nullptr, "middle");
    root->AddChild(middle, 700);
    ASSERT_EQ(root->GetNumberOfChildren(), 1503u);
    const auto children = Children(root);
    const std::pair<std::size_t, const char*> placed[] = {{0, "first"}, {1, "c0"}, {700, "middle"}, {701, "c699"}, {1502, "many"}};
    for (const auto& [at, tag] : placed)
        EXPECT_STREQ(children.at(at)->Tag(), tag) << at;
    root->RemoveChild(middle);
    Element::DeleteElement(middle);
    root->RemoveChild(first);
    Element::DeleteElement(first);
    ASSERT_EQ(root->GetNumberOfChildren(), 1501u);
    EXPECT_STREQ(Children(root)[700]->Tag(), "c700");
    many->DestroyAttributeByName("a0");
    EXPECT_EQ(many->GetNumberOfAttributes(), 1499u);
    EXPECT_EQ(many->GetAttributeByName("a1") != nullptr, true);
    many->DestroyAttributes();
    EXPECT_TRUE(many->AddAttribute("again", "1"));
    EXPECT_EQ(many->GetNumberOfAttributes(), 1u);
    // Among many attributes a repeated name is still found.
    EXPECT_FALSE(ParseBytes(document, "<many" + attributes + " a750='x'/>"));
    EXPECT_EQ(ErrorOf(document).message, "Attributes must be unique (Rule 40). An attribute named \"a750\" was repeated.");
}

// The attributes of a parsed tag share one allocation with the tag's list.
// Growing the list past it, twice, and taking attributes out one by one
// must leave every attribute read before where it was.
TEST(ElementTree, ParsedAttributesStayPutWhileTheListGrows)
{
    Document document;
    ASSERT_TRUE(ParseBytes(document, "<a x='a value long enough to follow' y='2' z='3'/>"));
    Element* a = document.GetElement("a");
    ASSERT_NE(a, nullptr);
    CExtensibleMarkupLanguageAttribute* x = a->GetAttributeByName(CString("x"));
    CExtensibleMarkupLanguageAttribute* z = a->GetAttributeByName(CString("z"));
    ASSERT_TRUE(x != nullptr && z != nullptr);
    std::string list = " x=[a value long enough to follow] z=[set after the parse]";
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(a->AddAttribute(CString("n") + std::to_string(i).c_str(), "v"));
        list += " n" + std::to_string(i) + "=[v]";
    }
    a->DestroyAttributeByName("y");
    EXPECT_EQ(a->GetAttributeByName(CString("x")), x);
    EXPECT_EQ(a->GetAttributeByName(CString("z")), z);
    EXPECT_STREQ(z->m_Value.GetString(), "3");
    z->m_Value = "set after the parse";
    EXPECT_EQ(AttributeList(a), list);
    Element* copy = Element::NewElement(nullptr);
    copy->Copy(*a);
    a->DestroyAttributeByName("x");
    a->Empty();
    EXPECT_EQ(AttributeList(copy), list);
    Element::DeleteElement(copy);
}

// A parse keeps short texts in place and puts the others right after their
// attribute or text node. Setting such a text, copying it or copying the
// node gives storage of its own that outlives the document.
TEST(ElementTree, ParsedTextsTakeStorageOfTheirOwnWhenSet)
{
    const std::string longText = "a text segment long enough to follow its node";
    CExtensibleMarkupLanguageAttribute* copied = nullptr;
    Element* kept = Element::NewElement(nullptr, Element::typeElement, nullptr);
    {
        Document document;
        ASSERT_TRUE(ParseBytes(document, "<r a-rather-long-name=\"a rather long value\tto normalise\" s=\"a\r\nb\">"
                + longText + "<b>tiny</b></r>"));
        Element* r = document.GetElement("r");
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(AttributeOf(r, "s"), "a b");
        CExtensibleMarkupLanguageAttribute* attribute = r->GetAttributeByName(CString("a-rather-long-name"));
        ASSERT_NE(attribute, nullptr);
        copied = new CExtensibleMarkupLanguageAttribute(*attribute);
        attribute->m_Value = "a replacement value longer than the one parsed before";
        attribute->m_Name = "n";
        EXPECT_EQ(AttributeOf(r, "n"), "a replacement value longer than the one parsed before");

        Element* text = Children(r).at(0);
        EXPECT_EQ(std::string(text->Contents().GetString()), longText);
        text->SetContents("new");
        EXPECT_STREQ(text->Contents(), "new");
        text->SetContents("a longer replacement for the parsed text segment");
        r->GetChild("b")->DestroyChildren();
        r->GetChild("b")->AddText("a text of its own");
        kept->Copy(*r);
        // One parsed text node leaves the tree and outlives the document.
        r->RemoveChild(text);
        kept->AddChild(text, 0);
    }
    EXPECT_STREQ(copied->m_Value, "a rather long value to normalise");
    EXPECT_STREQ(copied->m_Name, "a-rather-long-name");
    EXPECT_EQ(TextOf(kept), "a longer replacement for the parsed text segment"
                            "a longer replacement for the parsed text segmenta text of its own");
    delete copied;
    Element::DeleteElement(kept);
}

// A copy of a parsed tree owns every text: it reads the same after the
// document, whose memory held the originals, is gone.
TEST(ElementTree, CopyOfAParsedTreeOutlivesTheDocument)
{
    std::string xml = "<list>";
    for (int i = 0; i < 300; ++i) {
        const std::string n = std::to_string(i);
        xml += "<item n=\"" + n + "\" about=\"item number " + n + " of the list\"><!-- comment " + n
            + " --><![CDATA[x < " + n + "]]>text of item " + n + "<e/>" + (i % 2 == 0 ? "ab" : "") + "</item>";
    }
    xml += "</list>";
    Element* copy = Element::NewElement(nullptr, Element::typeElement, nullptr);
    std::string before;
    {
        Document document;
        ASSERT_TRUE(ParseBytes(document, xml));
        before = TextOf(document.GetElement("list"));
        copy->Copy(*document.GetElement("list"));
    }
    EXPECT_EQ(TextOf(copy), before);
    ASSERT_TRUE(copy->GetChild("item(123)") != nullptr);
    EXPECT_EQ(AttributeOf(copy->GetChild("item(123)"), "about"), "item number 123 of the list");
    Element::DeleteElement(copy);
}

// In address-checked builds, the bytes a parsed attribute or text node keeps
// after itself die with it, while its neighbours in the parse's memory stay
// readable.
TEST(ElementTree, TextsAfterAParsedNodeDieWithIt)
{
#if defined(__SANITIZE_ADDRESS__)
    Document document;
    ASSERT_TRUE(ParseBytes(document, "<r a=\"a value long enough to follow\" b=\"another long value\">"
                                     "a text long enough to follow its node<c/></r>"));
    Element* r = document.GetElement("r");
    ASSERT_NE(r, nullptr);
    CExtensibleMarkupLanguageAttribute* a = r->GetAttributeByName(CString("a"));
    CExtensibleMarkupLanguageAttribute* b = r->GetAttributeByName(CString("b"));
    ASSERT_TRUE(a != nullptr && b != nullptr);
    const char* value = a->m_Value.GetString();
    const std::size_t length = std::size_t(a->m_Value.GetLength());
    EXPECT_EQ(__asan_region_is_poisoned(const_cast<char*>(value), length + 1), nullptr);
    r->DestroyAttributeByName("a");
    EXPECT_TRUE(__asan_address_is_poisoned(value));
    EXPECT_TRUE(__asan_address_is_poisoned(value + length));
    EXPECT_EQ(__asan_region_is_poisoned(b, sizeof *b), nullptr);
    EXPECT_EQ(__asan_region_is_poisoned(const_cast<char*>(b->m_Value.GetString()), 19), nullptr);

    Element* text = Children(r).at(0);
    const char* contents = text->Contents().GetString();
    const std::size_t size = std::size_t(text->Contents().GetLength());
    Element* c = r->GetChild("c");
    ASSERT_NE(c, nullptr);
    r->RemoveChild(text);
    Element::DeleteElement(text);
    EXPECT_TRUE(__asan_address_is_poisoned(contents));
    EXPECT_TRUE(__asan_address_is_poisoned(contents + size));
    EXPECT_EQ(__asan_region_is_poisoned(c, sizeof *c), nullptr);
    EXPECT_STREQ(c->Tag(), "c");
#else
    GTEST_SKIP() << "needs an address-checked build";
#endif
}
