// Tests for CXML: parsing into the record index and its error messages,
// navigation, reading data and attributes, the add operations, and files.
#include "XmlTestSupport.h"
#include "xml/XML.h"

#include "support/ScratchFolder.h"

#if defined(_WIN32)
#  include <mbctype.h>
#endif

#include <filesystem>
#include <string>

// (That a failed parse leaves no element to find is checked by the SetDoc
// fuzz target's corpus replay.)
TEST(XML, ParseFailuresGiveExactMessages)
{
    const struct { const char* doc; const char* message; } cases[] = {
        {"", "Element tag not found"},
        {"</a>", "Element tag not found"},
        {"<\"a\"/>", "Tag starts with quote"},
        {"<a><", "Abrupt end within tag"},
        {"<a", "End of tag not found"},
        {"<!-- open", "End of tag not found"},
        {"<?xml version='1.0'", "End of tag not found"},
        {"<a><![CDATA[x]]</a>", "End of tag not found"},
        {"<!DOCTYPE a", "End of tag not found"},
        // Inside an element the next child is looked for first.
        {"<a>text", "Element tag not found"},
        {"<a></b>", "End tag does not correspond to a"},
        {"<a><b></a></b>", "End tag does not correspond to b"},
        {"<a></a", "End tag not completed for element a"},
        {"<a></a x>", "End tag not completed for element a"},
    };
    for (const auto& c : cases) {
        CXML xml;
        EXPECT_FALSE(xml.SetDoc(c.doc)) << c.doc;
        EXPECT_STREQ(c.message, xml.GetError()) << c.doc;
    }

    CXML xml;
    EXPECT_FALSE(xml.SetDoc(nullptr));
    EXPECT_STREQ("Element tag not found", xml.GetError());
    // The message describes the latest document only.
    EXPECT_TRUE(xml.SetDoc("<a/>"));
    EXPECT_STREQ("", xml.GetError());
}

TEST(XML, ParseReadsOneTopLevelElementPastOtherMarkupAndMatchesWholeTagNames)
{
    CXML xml("<?xml version=\"1.0\"?>\r\n<!-- <x/> -->\r\n<!DOCTYPE r>\r\n"
             "<r><![CDATA[<notachild/>]]><!--<y/>--><?pi <z/>?><c/>text</r>\r\n<after><unclosed>");
    EXPECT_TRUE(xml.IsWellFormed());
    EXPECT_TRUE(xml.FindElem("r"));
    EXPECT_TRUE(xml.FindChildElem());
    EXPECT_STREQ("c", xml.GetChildTagName());
    EXPECT_FALSE(xml.FindChildElem());
    EXPECT_FALSE(xml.FindElem());

    // White space may stand between the '<' and the name, and tags of any
    // name pair up exactly.
    EXPECT_TRUE(xml.SetDoc("< a  x=\"1\" ></a >"));
    EXPECT_TRUE(xml.FindElem("a"));
    EXPECT_FALSE(xml.SetDoc("<a></A>"));
    // A NUL in a tag name is part of the name its end tag must match.
    EXPECT_TRUE(xml.SetDoc(CString("<a\0b>x</a\0b>", 12)));
    ASSERT_TRUE(xml.FindElem());
    EXPECT_EQ(CString("a\0b", 3), xml.GetTagName());
    EXPECT_FALSE(xml.SetDoc(CString("<a\0b>x</a\0c>", 12)));
    EXPECT_STREQ("End tag does not correspond to a", xml.GetError());
    // Without a current element there are no offsets.
    int start = -1;
    int end = -1;
    EXPECT_FALSE(xml.GetOffsets(start, end));
    EXPECT_EQ(-1, start);
}

TEST(XML, DeepNestingParsesWithoutRecursion)
{
    const int depth = 200000;
    std::string doc = Repeated("<e>", depth) + "deep" + Repeated("</e>", depth);
    CXML xml;
    ASSERT_TRUE(xml.SetDoc(doc.c_str()));
    int levels = 0;
    ASSERT_TRUE(xml.FindElem());
    while (xml.IntoElem()) {
        ++levels;
    }
    EXPECT_EQ(depth - 1, levels);
    EXPECT_STREQ("deep", xml.GetData());

    doc.resize(doc.size() - 4);
    EXPECT_FALSE(xml.SetDoc(doc.c_str()));
    EXPECT_STREQ("Element tag not found", xml.GetError());
}

TEST(XML, NavigationWalksSiblingsChildrenAndLevels)
{
    CXML xml("<root><a id=\"1\"/><b><c/></b><a id=\"2\">x</a></root>");
    EXPECT_FALSE(xml.OutOfElem());
    EXPECT_FALSE(xml.FindElem("a"));
    EXPECT_TRUE(xml.FindElem("root"));

    EXPECT_TRUE(xml.FindChildElem("a"));
    EXPECT_STREQ("1", xml.GetChildAttrib("id"));
    EXPECT_TRUE(xml.FindChildElem("a"));
    EXPECT_STREQ("2", xml.GetChildAttrib("id"));
    EXPECT_FALSE(xml.FindChildElem("a"));
    xml.ResetChildPos();
    EXPECT_TRUE(xml.FindChildElem("b"));

    // Into the current child, then along its siblings.
    EXPECT_TRUE(xml.IntoElem());
    EXPECT_STREQ("b", xml.GetTagName());
    EXPECT_STREQ("", xml.GetChildTagName());
    EXPECT_TRUE(xml.FindChildElem());
    EXPECT_STREQ("c", xml.GetChildTagName());
    EXPECT_FALSE(xml.FindElem("b"));
    EXPECT_TRUE(xml.FindElem());
    EXPECT_STREQ("2", xml.GetAttrib("id"));
    EXPECT_STREQ("", xml.GetChildTagName());
    EXPECT_FALSE(xml.FindElem());

    // Out again: the element left becomes the current child.
    EXPECT_TRUE(xml.OutOfElem());
    EXPECT_STREQ("root", xml.GetTagName());
    EXPECT_STREQ("a", xml.GetChildTagName());
    EXPECT_STREQ("2", xml.GetChildAttrib("id"));
    EXPECT_FALSE(xml.OutOfElem());

    // Without a current element the child search starts at the top level.
    xml.ResetPos();
    EXPECT_TRUE(xml.FindChildElem("b"));
    EXPECT_STREQ("root", xml.GetTagName());
    xml.ResetPos();
    EXPECT_TRUE(xml.IntoElem());
    EXPECT_STREQ("a", xml.GetTagName());

    // An empty-element tag has no children to find or enter.
    CXML empty("<solo/>");
    EXPECT_FALSE(empty.FindChildElem());
    EXPECT_STREQ("solo", empty.GetTagName());
    EXPECT_FALSE(empty.IntoElem());
}

TEST(XML, GetDataDecodesTextAndKeepsCDataUnchanged)
{
    CXML xml("<r><t>a &lt;b&gt; &amp; &apos;c&quot; &nbsp; &amp</t><d><![CDATA[&lt;<x>]]></d>"
             "<late> <![CDATA[y]]></late><e/><p><q/></p><n></n></r>");
    ASSERT_TRUE(xml.FindElem());
    EXPECT_STREQ("", xml.GetData()); // has child elements
    const std::pair<const char*, const char*> children[] = {{"t", "a <b> & 'c\" &nbsp; &amp"}, {"d", "&lt;<x>"},
        // A CDATA section counts only at the very start of the content.
        {"late", " <![CDATA[y]]>"}, {"e", ""}, {"p", ""}, {"n", ""}};
    for (const auto& [tag, data] : children) {
        EXPECT_TRUE(xml.FindChildElem(tag));
        EXPECT_STREQ(data, xml.GetChildData()) << tag;
    }
}

TEST(XML, GetAttribReadsQuotedNameValuePairsOnly)
{
    CXML xml("<r a=\"1\" b = \"x &lt;&quot;&amp;\" c=unquoted d=\"b\" b=\"second\" e=\"\"/>");
    ASSERT_TRUE(xml.FindElem());
    const std::pair<const char*, const char*> attributes[] = {{"a", "1"}, {"b", "x <\"&"}, {"c", ""}, {"d", "b"},
        {"e", ""}, {"A", ""}, {"r", ""}, {"", ""}, {nullptr, ""}};
    for (const auto& [name, value] : attributes)
        EXPECT_STREQ(value, xml.GetAttrib(name)) << (name ? name : "null");
    EXPECT_STREQ("", xml.GetChildAttrib("a"));

    // The start tag ends at the first '>', so a value holding one is cut off
    // and not read.
    CXML cut("<s f=\"a>b\"></s>");
    ASSERT_TRUE(cut.FindElem());
    EXPECT_STREQ("", cut.GetAttrib("f"));
    EXPECT_STREQ("b\">", cut.GetData());
}

TEST(XML, AddElemBuildsADocumentFromNothingAndAddsRefuseNamesThatAreNotOneToken)
{
    CXML xml;
    EXPECT_TRUE(xml.AddElem("root"));
    EXPECT_STREQ("<root/>\r\n", xml.GetDoc());
    EXPECT_TRUE(xml.IsWellFormed());
    EXPECT_STREQ("root", xml.GetTagName());
    // Names that are not one token are refused.
    for (const char* name : {"", "a b", "a>b", "a<b", "a/", "a=b", "\"a\"", "a?", "!a", "a\\b", "a\tb"}) {
        EXPECT_FALSE(xml.AddChildElem(name)) << name;
        EXPECT_FALSE(xml.AddAttrib(name, "v")) << name;
    }
    EXPECT_FALSE(xml.AddChildElem(nullptr));
    EXPECT_FALSE(CXML().AddElem(nullptr));
    // A second top-level element is refused, current element or not.
    EXPECT_FALSE(xml.AddElem("other"));
    xml.ResetPos();
    EXPECT_FALSE(xml.AddElem("other"));
    EXPECT_STREQ("<root/>\r\n", xml.GetDoc());

    // A document that failed to parse is replaced.
    EXPECT_FALSE(xml.SetDoc("<broken>"));
    EXPECT_TRUE(xml.AddElem("m", "a<b & c>d"));
    EXPECT_STREQ("<m>a&lt;b &amp; c&gt;d</m>\r\n", xml.GetDoc());
    EXPECT_STREQ("a<b & c>d", xml.GetData());
}

TEST(XML, AddChildElemOpensEmptyElementsAppendsInOrderAndGoesBeforeText)
{
    CXML xml("<r x=\"1\"/>");
    ASSERT_TRUE(xml.FindElem());
    EXPECT_FALSE(CXML().AddChildElem("c"));
    EXPECT_TRUE(xml.AddChildElem("a"));
    EXPECT_STREQ("<r x=\"1\">\r\n<a/>\r\n</r>", xml.GetDoc());
    EXPECT_STREQ("a", xml.GetChildTagName());

    xml.FindElem();
    xml.ResetChildPos();
    EXPECT_TRUE(xml.AddChildElem("c", "3"));
    xml.ResetChildPos();
    EXPECT_TRUE(xml.FindChildElem("a"));
    EXPECT_TRUE(xml.AddChildElem("b", "'2\""));
    EXPECT_STREQ("<r x=\"1\">\r\n<a/>\r\n<b>'2\"</b>\r\n<c>3</c>\r\n</r>", xml.GetDoc());
    EXPECT_STREQ("'2\"", xml.GetChildData());

    // A child goes before the text.
    CXML withText("<r>text<!--note--></r>");
    ASSERT_TRUE(withText.FindElem());
    EXPECT_TRUE(withText.AddChildElem("a"));
    EXPECT_STREQ("<r><a/>\r\ntext<!--note--></r>", withText.GetDoc());
    EXPECT_TRUE(withText.AddChildElem("b"));
    EXPECT_STREQ("<r><a/>\r\ntext<b/>\r\n<!--note--></r>", withText.GetDoc());
}

TEST(XML, AddAttribEscapesTheValueAndKeepsTheIndexInStep)
{
    CXML xml("<r><c/><d></d></r>");
    ASSERT_TRUE(xml.FindElem());
    EXPECT_FALSE(xml.AddChildAttrib("v", "1"));
    ASSERT_TRUE(xml.FindChildElem("c"));
    EXPECT_TRUE(xml.AddChildAttrib("v", "say \"hi\" & 'bye' <now>"));
    EXPECT_STREQ("<r><c v=\"say &quot;hi&quot; &amp; &apos;bye&apos; &lt;now&gt;\"/><d></d></r>", xml.GetDoc());
    EXPECT_STREQ("say \"hi\" & 'bye' <now>", xml.GetChildAttrib("v"));
    EXPECT_TRUE(xml.AddAttrib("top", nullptr));
    EXPECT_STREQ("", xml.GetAttrib("top"));
    ASSERT_TRUE(xml.FindChildElem("d"));
    EXPECT_TRUE(xml.AddChildAttrib("w", "2"));
    EXPECT_STREQ(
        "<r top=\"\"><c v=\"say &quot;hi&quot; &amp; &apos;bye&apos; &lt;now&gt;\"/><d w=\"2\"></d></r>", xml.GetDoc());
}

TEST(XML, CopiesTakeDocumentIndexAndPositionsButNotTheError)
{
    CXML source("<r><a/><b/></r>");
    source.FindElem();
    source.FindChildElem("b");
    source.IntoElem();

    CXML target;
    EXPECT_FALSE(target.SetDoc("<"));
    target = source;
    EXPECT_STREQ("Abrupt end within tag", target.GetError());
    EXPECT_STREQ("b", target.GetTagName());
    EXPECT_TRUE(target.OutOfElem());
    EXPECT_STREQ("b", target.GetChildTagName());

    CXML copy(source);
    EXPECT_STREQ("", copy.GetError());
    EXPECT_TRUE(copy.AddElem("c"));
    EXPECT_STREQ("<r><a/><b/></r>", source.GetDoc());
    const CXML& alias = copy;
    copy = alias;
    EXPECT_STREQ("c", copy.GetTagName());
    EXPECT_STREQ("<r><a/><b/><c/>\r\n</r>", copy.GetDoc());
    // The copy's index takes the added element in the right place.
    copy.ResetPos();
    EXPECT_TRUE(copy.FindElem("r") && copy.FindChildElem("c"));
}

#if defined(_WIN32)
TEST(XML, DoubleByteCharactersStepAsOneInTheProcessCodePage)
{
    struct CodePage932 {
        CodePage932() { EXPECT_EQ(0, _setmbcp(932)); }
        ~CodePage932() { _setmbcp(_MB_CP_ANSI); }
    } codePage;
    // In code page 932 the trail byte 0x5C is not a backslash: it belongs to
    // the tag name. A lead byte before '>' cannot take it as a trail byte.
    CXML xml("<\x95\x5C a=\"\x95\x5C\"><\x95>t</\x95></\x95\x5C>");
    ASSERT_TRUE(xml.FindElem());
    EXPECT_STREQ("\x95\x5C", xml.GetTagName());
    EXPECT_STREQ("\x95\x5C", xml.GetAttrib("a"));
    EXPECT_TRUE(xml.FindChildElem("\x95"));
    EXPECT_STREQ("t", xml.GetChildData());
}
#endif

TEST(XML, LoadFileTurnsBareLineFeedsIntoCrLfAndSaveFileReplacesTheFileWhole)
{
    const orv_test::ScratchFolder folder("cxml");
    const auto path = folder / "load.xml";
    orv_test::WriteFile(path, "\n<r>\n<a>1</a>\r\n<b/>\n</r>\n");
    CXML xml;
    EXPECT_EQ(0, xml.LoadFile(path.string().c_str()));
    EXPECT_STREQ("\r\n<r>\r\n<a>1</a>\r\n<b/>\r\n</r>\r\n", xml.GetDoc());
    EXPECT_TRUE(xml.FindChildElem("b"));

    // A file that is read but does not parse still reports success.
    orv_test::WriteFile(path, "<r>");
    EXPECT_EQ(0, xml.LoadFile(path.string().c_str()));
    EXPECT_FALSE(xml.IsWellFormed());
    EXPECT_STREQ("Element tag not found", xml.GetError());
    std::filesystem::remove(path);

    EXPECT_EQ(1, xml.LoadFile(path.string().c_str()));
    EXPECT_EQ(1, xml.LoadFile(nullptr));
    // A directory opens on some systems but cannot be read.
    EXPECT_EQ(1, xml.LoadFile(folder.Path().string().c_str()));
    const auto saved = folder / "save.xml";
    orv_test::WriteFile(saved, std::string(1000, 'x'));
    xml.SetDoc("<r>\n<a/>\r\n</r>");
    EXPECT_EQ(0, xml.SaveFile(saved.string().c_str()));
    EXPECT_EQ("<r>\n<a/>\r\n</r>", orv_test::ReadFile(saved));
    EXPECT_FALSE(std::filesystem::exists(saved.string() + ".orvtmp"));

    // A save that cannot be made leaves the old file as it was.
    const auto missingDir = folder / "no_such_dir" / "f.xml";
    EXPECT_EQ(1, xml.SaveFile(missingDir.string().c_str()));
    EXPECT_EQ(1, xml.SaveFile(nullptr));
    const auto dirPath = folder / "save_dir";
    std::filesystem::create_directories(dirPath);
    EXPECT_EQ(1, xml.SaveFile(dirPath.string().c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(dirPath));
    EXPECT_FALSE(std::filesystem::exists(dirPath.string() + ".orvtmp"));

    CXML loaded;
    EXPECT_EQ(0, loaded.LoadFile(saved.string().c_str()));
    EXPECT_STREQ("<r>\r\n<a/>\r\n</r>", loaded.GetDoc());
}

#if !defined(_WIN32)
TEST(XML, SaveFileThroughALinkReplacesTheTargetAndKeepsItsMode)
{
    namespace fs = std::filesystem;
    const orv_test::ScratchFolder folder("cxml");
    const auto target = folder / "link_target.xml";
    const auto link = folder / "link.xml";
    orv_test::WriteFile(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(target, link);
    CXML xml("<r/>");
    EXPECT_EQ(0, xml.SaveFile(link.string().c_str()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ("<r/>", orv_test::ReadFile(target));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
#endif
