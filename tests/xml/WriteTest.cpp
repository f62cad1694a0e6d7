#include "XmlTestSupport.h"

#include <string>

using namespace std::string_literals;
using Document = CExtensibleMarkupLanguageDocument;
using Element = CExtensibleMarkupLanguageElement;

namespace {

std::string ChildrenShape(const Document& document)
{
    std::string out;
    for (const Element* child : Children(document.GetRootElement()))
        out += TreeOf(child);
    return out;
}

const char kSample[] = "<?xml version=\"1.0\" standalone=\"yes\"?>"
                       "<!DOCTYPE r [<!ENTITY e \"E\"><!ELEMENT r ANY>]>"
                       "<r a=\"1\" b='say \"hi\"'><!-- c --><?pi x?><![CDATA[d]]>]]>e]]>t&amp;&e;<s/><u>v</u></r>";

} // namespace

// Each row parses its input, writes it with the options given and reads the
// bytes back when asked to.
TEST(Write, ParsedDocumentsWriteBackByTheirOptionsAndCodePages)
{
    const DWORD kRootSingle = Document::writeRootChildrenOnly | Document::writeSingleByte;
    const DWORD kDefault = Document::writeDefault;
    const DWORD kRootCodePage = Document::writeRootChildrenOnly | Document::writeCodePage;
    const struct {
        const char* name;
        std::string input;
        DWORD options;
        std::string written;
        bool reparse = false;
        DWORD codePage = 0; // 0: the document's default
    } rows[] = {
        {"every node", kSample, kDefault,
            "<?xml version=\"1.0\" standalone=\"yes\"?>"
            "<!DOCTYPE r  [<!ENTITY e \"E\"><!ELEMENT r ANY>]>"
            "<r a=\"1\" b='say \"hi\"'><!-- c --><?pi x?><![CDATA[d]]>]]>e]]>t&amp;&e;<s/><u>v</u></r>"},
        {"UTF-16 big-endian: mark and high bytes first", "<a/>", Document::writeUnicode | Document::writeBigEndian,
            "\xFE\xFF"s + Widen("<?xml version=\"1.0\" encoding=\"UTF-16\" standalone=\"yes\"?><a/>", 2, true)},
        {"root children only: no declaration", "<a/>", kRootSingle, "<a/>"},
        {"root children only: no mark", "<a/>", Document::writeRootChildrenOnly | Document::writeUnicode,
            Widen("<a/>", 2, false)},
        {"no encoding: nothing", "<a/>", Document::writeRootChildrenOnly, ""},
        {"code page through UTF-8", "<a>\xE9</a>", kRootCodePage, "<a>\xC3\xA9</a>"},
        {"code page 65001", "<a>\xE9</a>", kRootCodePage, "<a>\xC3\xA9</a>", false, 65001},
        {"code page 1252", "<a>caf\xE9</a>", kRootCodePage, "<a>caf\xE9</a>", false, 1252},
        {"code page 1250", "<a>\xE9\xF3</a>", kRootCodePage, "<a>\xE9\xF3</a>", false, 1250},
        {"code page 28591", "<a>\xFF\xA0</a>", kRootCodePage, "<a>\xFF\xA0</a>", false, 28591},
        {"declaration values", "<?xml version='1.1' encoding='latin1' standalone='no'?><a/>", kDefault,
            "<?xml version=\"1.1\" encoding=\"latin1\" standalone=\"no\"?><a/>"},
        {"empty internal subset closes its bracket", "<?xml version='1.0'?><!DOCTYPE r SYSTEM 'r.dtd' []><r/>",
            kDefault, "<?xml version=\"1.0\" standalone=\"yes\"?><!DOCTYPE r  SYSTEM 'r.dtd' []><r/>", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Document document;
        ASSERT_TRUE(ParseBytes(document, row.input)) << ErrorOf(document).message;
        EXPECT_TRUE(row.codePage == 0 || document.SetConversionCodePage(row.codePage));
        document.SetWriteOptions(row.options);
        EXPECT_EQ(Written(document), row.written);
        Document copy;
        EXPECT_TRUE(!row.reparse || ParseBytes(copy, row.written)) << ErrorOf(copy).message;
    }
    // A code page that cannot convert is refused and the one before kept.
    Document document;
    EXPECT_TRUE(document.SetConversionCodePage(1252));
    EXPECT_FALSE(document.SetConversionCodePage(4242));
    EXPECT_EQ(document.GetConversionCodePage(), 1252u);
    EXPECT_EQ(Written(document), "<?xml version=\"1.0\" standalone=\"yes\"?>");
    ASSERT_TRUE(ParseBytes(document, "<a/>"));
    document.SetWriteOptions(Document::writeUnicode);
    EXPECT_EQ(Written(document).substr(0, 4), "\xFF\xFE<\0"s);
}

TEST(Write, EveryEncodingReadsBackToTheSameTree)
{
    Document original;
    ASSERT_TRUE(ParseBytes(original, kSample));
    const std::string shape = ChildrenShape(original);
    const DWORD options[] = {Document::writeSingleByte, Document::writeUnicode,
        Document::writeUnicode | Document::writeBigEndian, Document::writeUCS4,
        Document::writeUCS4 | Document::writeBigEndian, Document::writeUCS4_2143, Document::writeUCS4_3412};
    for (DWORD option : options) {
        SCOPED_TRACE(option);
        original.SetWriteOptions(option);
        Document copy;
        ASSERT_TRUE(ParseBytes(copy, Written(original))) << ErrorOf(copy).message;
        EXPECT_EQ(ChildrenShape(copy), shape);
    }
}

TEST(Write, AttributeValuesAreQuotedByTheirContentsAndCDATAContentsReadBack)
{
    Element* a = AddElement(nullptr, "a");
    a->AddAttribute("q", "say \"x\"");
    a->AddAttribute("p", "it's");
    a->AddAttribute("", "nameless");
    CByteArray bytes;
    a->WriteTo(bytes);
    EXPECT_EQ(AsString(bytes), "<a q='say \"x\"' p=\"it's\"=\"nameless\"></a>");
    Element::DeleteElement(a);

    // CDATA contents holding the terminator are written so they read back.
    Document document;
    a = AddElement(document.GetRootElement(), "a");
    Element* section = Element::NewElement(a, Element::typeCDATASection);
    section->SetTag("[CDATA[");
    section->SetContents("x]]>y]]>");
    document.SetWriteOptions(Document::writeRootChildrenOnly | Document::writeSingleByte);
    const std::string written = Written(document);
    EXPECT_EQ(written, "<a><![CDATA[x]]>]]>y]]>]]>]]></a>");
    Document copy;
    ASSERT_TRUE(ParseBytes(copy, written)) << ErrorOf(copy).message;
    EXPECT_EQ(TreeOf(copy.GetElement("a")), "4<a>[]{3<[CDATA[>[x]]>y]]>]{}}");
}

TEST(Write, EmptyElementTagGivenChildrenKeepsThemAndIndentationPutsElementsOnTheirOwnLines)
{
    Document document;
    ASSERT_TRUE(ParseBytes(document, "<Settings/><b/>"));
    document.SetWriteOptions(Document::writeRootChildrenOnly | Document::writeSingleByte);
    EXPECT_EQ(Written(document), "<Settings/><b/>");
    // Load, modify, save: children added to a node read as an empty-element
    // tag are written between a start and an end tag.
    Element* settings = document.GetElement("Settings");
    AddElement(settings, "c");
    settings->AddText("kept");
    EXPECT_EQ(Written(document), "<Settings><c></c>kept</Settings><b/>");

    // Automatic indentation puts elements on their own lines.
    ASSERT_TRUE(ParseBytes(document, "<r><a/><b/><c>text</c></r>"));
    document.SetAutomaticIndentation(true, 0, 2);
    EXPECT_EQ(Written(document), "\r\n  <r>\r\n    <a/>\r\n    <b/>\r\n    <c>text</c>\r\n  </r>");
}

// Texts holding NUL bytes are written whole: tags, attribute values, text
// and comments alike, short or long.
TEST(Write, EmbeddedNulBytesAreWrittenWhole)
{
    const char shortValue[] = "x\0y";
    const char longValue[] = "long\0value past the inline size";
    const char text[] = "a\0b";
    const char commentText[] = "c\0d and a comment long enough to be allocated";
    Element* node = AddElement(nullptr, "t");
    ASSERT_TRUE(node->AddAttribute("v", CString(shortValue, int(sizeof shortValue - 1))));
    ASSERT_TRUE(node->AddAttribute("w", CString(longValue, int(sizeof longValue - 1))));
    ASSERT_TRUE(node->AddTextXML(CString(text, int(sizeof text - 1))));
    Element* comment = Element::NewElement(node, Element::typeComment);
    comment->SetContents(CString(commentText, int(sizeof commentText - 1)));
    CByteArray bytes;
    node->WriteTo(bytes);
    EXPECT_EQ(AsString(bytes), "<t v=\"x\0y\" w=\"long\0value past the inline size\">a\0b"
                               "<!--c\0d and a comment long enough to be allocated--></t>"s);
    CString value;
    ASSERT_TRUE(node->GetAttributeByName("w", value));
    EXPECT_EQ(value.GetLength(), int(sizeof longValue - 1));
    EXPECT_EQ(comment->Contents().GetLength(), int(sizeof commentText - 1));
    Element::DeleteElement(node);
}
