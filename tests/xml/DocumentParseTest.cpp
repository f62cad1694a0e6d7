#include "XmlTestSupport.h"

#include <cstring>
#include <string>
#include <vector>

using namespace std::string_literals;
using Document = CExtensibleMarkupLanguageDocument;
using Element = CExtensibleMarkupLanguageElement;

namespace {

// One parse failure on a single line: the message, the tag and the byte
// indexes of the two points of the error record (-1: the end of the data).
struct ErrorCase {
    const char* xml;
    const char* message;
    const char* tag;
    int beginning;
    int location;
    DWORD options = Document::parseDefault;
};

CParsePoint OnLineOne(int index, std::size_t size)
{
    const DWORD at = index < 0 ? DWORD(size) : DWORD(index);
    return At(at, 1, at + 1);
}

// Errors that the document finds before any node is read carry only the
// message; both points stay at (0, 1, 1).
constexpr int kNone = 0;

const std::vector<ErrorCase> kErrorCases = {
    {"<a>", "Too few bytes to parse.", "", kNone, kNone},
    {"\xFE\x01<a>", "Second character of Byte Order Mark is invalid for UTF-16 Big Endian (Appendix F).", "", kNone, kNone},
    {"\xFF\x01<a>", "Second character of Byte Order Mark is invalid for UTF-16 Little Endian (Appendix F).", "", kNone, kNone},
    {" <a/>", "Can't determine Character Encoding (Appendix F).", "", kNone, kNone},
    {"a<b/>", "Can't determine Character Encoding (Appendix F).", "", kNone, kNone},
    {"\xEF\xBB\xBF \r\n\t", "Document is all white space (Rule 1).", "", kNone, kNone},
    {"\xEF\xBB\xBF  x<a/>", "First non-space character is not '<' (Rule 1).", "", kNone, kNone},
    {"<?XML version='1.0'?><a/>", "XML Declaration is not lower case (Rule 23).", "", kNone, kNone},
    {"<?Xml version='1.0'?><a/>", "XML Declaration is not lower case (Rule 23).", "", kNone, kNone},
    {"<?xmL version='1.0'?><a/>", "XML Declaration is not lower case (Rule 23).", "", kNone, kNone},
    {"<?xml version='1.0'", "Can't find the end of the end of the beginning-of-XML tag (?>).", "", kNone, kNone},
    {"<a/>", "Can't find beginning-of-XML tag (<?xml) regardless of case.", "", kNone, kNone, 0},
    // Elements and their content.
    {"<a>text", "Premature end of data.", "a", 0, 7},
    // Only a quote after '=' opens a value: the tag ends at its first '>'.
    {"<r '>t</r>a='b'c'>", "Attribute must have '=' between the name and the value (Rule 41).", "r", 0, 5},
    // A declaration whose quote is never closed has no end.
    {"<!x '>\"<r a=\"1\"/>", "Could not find terminator. Premature end of data encountered.", "", 0, -1},
    {"<a><b></a></b>", "Overlapping tags detected. Found \"a\" but needed to find \"b\".", "b", 3, 10},
    {"<a/></a>", "Overlapping tags detected. Found \"a\" but needed to find \"\".", "/a", 4, -1},
    // Found by fuzzing: a nameless end tag used to close the root and end the parse early.
    {"<?xml version='1.0'?>ty</>", "Overlapping tags detected. Found \"\" but needed to find \"\".", "", 0, -1},
    {"<abcd", "Could not find terminator. Premature end of data encountered.", "", 0, -1},
    {"<>  ", "Tag is empty.", "", 0, 2},
    {"<1a/>", "First character of element name is not legal (Rule 5).", "1a", 0, -1},
    {"<a*b/>", "Character 1 of element named \"a*b\" is invalid (Rule 999192).", "a*b", 0, -1},
    {"<a>&bogus;</a>", "Bad entity reference in text section (Rule 0).", "a", 0, 10},
    {"<a>a & b</a>", "Ill-formed entity reference in text section (Rule 68).", "a", 0, 8},
    {"<a>&#X41;</a>", "Bad entity reference in text section (Rule 66).", "a", 0, 9},
    {"<a>&1x;</a>", "Bad entity reference in text section (Rule 5).", "a", 0, 7},
    // Attributes.
    {"<a x='1' x='2'/>", "Attributes must be unique (Rule 40). An attribute named \"x\" was repeated.", "a", 0, -1},
    {"<a x='<'/>", "Attribute values cannot contain a '<' (Rule 41). Offending attribute is named named \"x\"", "a", 0, -1},
    {"<a x/>", "Attribute must have '=' between the name and the value (Rule 41).", "a", 0, -1},
    {"<a x=1/>", "Attribute values must begin with a \" or a ' (Rule 10).", "a", 0, -1},
    {"<a x='1/>", "Attribute missing matching ' (Rule 10).", "a", 0, -1},
    {"<a x=\"1/>", "Attribute missing matching \" (Rule 10).", "a", 0, -1},
    {"</a x='1'>", "Attributes not allowed in end tag (Rule 42).", "/a", 0, -1},
    // Comments, CDATA sections, processing instructions.
    {"<!-- a -- b -->", "Comment contains illegal double dashes (Rule 15).", "", 0, -1},
    {"<!-->  ", "Comment is missing the -- terminator (Rule 15).", "", 0, 5},
    {"<!>  ", "META tag is too short.", "", 0, 3},
    {"<![C>  ", "Ill formed CDATA section (Rule 19).", "", 0, 5},
    {"<![CDATA[x]]>]]>", "Ill formed CDATA section.", "[CDATA[", 0, -1},
    {"<?-pi?>", "Illegal first character in processing instruction (Rule 16->5).", "", 0, -1},
    {"<?" "?>  ", "The processing instruction cannot be empty (Rule 16).", "", 0, 4},
    {"<?pi a>b", "Processing instruction is not terminated with ?> (Rule 16)", "", 0, -1},
    // The XML declaration.
    {"<?xml version='1.0'?><?xml version='1.0'?>", "There can be only one prolog (Rule 1).", "", 21, -1},
    {"<?xml?>", "Missing VersionInfo data (Rule 23).", "", 0, -1},
    {"<?xml Version='1.0'?>", "The VersionInfo must be lower case (Rule 23).", "", 0, -1},
    {"<?xml version?>", "Truncated VersionInfo (Rule 24).", "", 0, -1},
    {"<?xml version '1.0'?>", "Ill-formed VersionInfo missing = character (Rule 24).", "", 0, -1},
    {"<?xml version=?>", "Ill-formed VersionInfo, missing VersionNum (Rule 24).", "", 0, -1},
    {"<?xml version=1.0?>", "Illegal VersionNum delimiter, must be a single or double quote (Rule 24).", "", 0, -1},
    {"<?xml version='1.0?>", "VersionNum missing matching delimiter (Rule 24).", "", 0, -1},
    {"<?xml version=''?>", "Empty VersionNum not allowed (Rule 26).", "", 0, -1},
    {"<?xml version='1 0'?>", "Character 1 (decimal 32) of the \"version\" attribute is illegal (Rule 26).", "", 0, -1},
    {"<?xml version='1.0' enc?>", "Not enough room left to parse (Rule 23).", "", 0, -1},
    {"<?xml version='1.0' encoding?>", "Truncated EncodingDecl (Rule 80).", "", 0, -1},
    {"<?xml version='1.0' encoding 'a'?>", "Ill-formed EncodingDecl missing = character (Rule 80).", "", 0, -1},
    {"<?xml version='1.0' encoding=?>", "Ill-formed EncodingDecl, missing EncName (Rule 80).", "", 0, -1},
    {"<?xml version='1.0' encoding=a?>", "Illegal EncName delimiter, must be a single or double quote (Rule 80).", "", 0, -1},
    {"<?xml version='1.0' encoding='a?>", "EncName missing matching delimiter (Rule 80).", "", 0, -1},
    {"<?xml version='1.0' encoding=''?>", "Empty EncName not allowed (Rule 81).", "", 0, -1},
    {"<?xml version='1.0' encoding='8bit'?>", "Illegal first character in EncName (Rule 81).", "", 0, -1},
    {"<?xml version='1.0' encoding='utf 8'?>", "Character 4 is illegal in EncName of \"utf 8\" (Rule 81).", "", 0, -1},
    {"<?xml version='1.0' standalo?>", "Not enough room left to parse SDDecl (Rule 32).", "", 0, -1},
    {"<?xml version='1.0' standalone?>", "Truncated SDDecl (Rule 32).", "", 0, -1},
    {"<?xml version='1.0' standalone 'no'?>", "Ill-formed SDDecl missing = character (Rule 32).", "", 0, -1},
    {"<?xml version='1.0' standalone=?>", "Ill-formed SDDecl, missing data (Rule 32).", "", 0, -1},
    {"<?xml version='1.0' standalone=no?>", "Illegal SDDecl delimiter, must be a single or double quote (Rule 32).", "", 0, -1},
    {"<?xml version='1.0' standalone='no?>", "SDDecl missing matching delimiter (Rule 32).", "", 0, -1},
    {"<?xml version='1.0' standalone=''?>", "Empty SDDecl not allowed (Rule 32).", "", 0, -1},
    {"<?xml version='1.0' standalone='Yes'?>", "Illegal value for SDDecl, it must me lower case \"yes\" or \"no\" (Rule 32).", "", 0, -1},
    {"<?xml version='1.0' standalone='yes' x?>", "Extra characters after SDDecl (Rule 23).", "", 0, -1},
    // Declarations.
    {"<!ENTITY>  ", "Ill formed ENTITY section[2] (Rule 71).", "ENTITY", 0, 9},
    {"<!ENTITY x 'abc>", "ENTITY value missing closing single quote (Rule 9).", "ENTITY", 0, -1},
    {"<!ENTITY x \"abc>", "ENTITY value missing closing double quote (Rule 9).", "ENTITY", 0, -1},
    {"<!ENTITY x y>", "Ill formed ENTITY section[4] (Rule 71).", "ENTITY", 0, -1},
    {"<!ENTITY x SYS>", "Ill formed ENTITY section (Rule 75).", "ENTITY", 0, -1},
    {"<!ENTITY x SYSTEX 'a'>", "Ill formed ENTITY section[2] (Rule 75).", "ENTITY", 0, -1},
    {"<!ENTITY x PUB>", "Ill formed ENTITY (PUBLIC) section (Rule 75).", "ENTITY", 0, -1},
    {"<!ENTITY x PUBLIX 'a'>", "Ill formed ENTITY (PUBLIC) section[2] (Rule 75).", "ENTITY", 0, -1},
    {"<!ENTITY x '&#0;'>", "Internal error adding ENTITY", "ENTITY", 0, -1},
    {"<!DOCTYPE>  ", "DOCTYPE Section, not enough room to parse Name (Rule 28).", "", 0, 10},
    {"<!DOCTYPE 1a>", "DOCTYPE Section, illegal first character of Name (Rule 5).", "", 0, -1},
    {"<!DOCTYPE a*b>", "Illegal DOCTYPE name character (Rule 28).", "", 0, -1},
    {"<!DOCTYPE a\"x\">", "Illegal DOCTYPE name terminator (Rule 28).", "", 0, -1},
    {"<!DOCTYPE a x>", "Impossible character in DOCTYPE declaration (Rule 28).", "DOCTYPE a", 0, -1},
    {"<!DOCTYPE a SYS>", "No more room to parse SYSTEM or PUBLIC (Rule 75).", "DOCTYPE a", 0, -1},
    {"<!DOCTYPE a SYSTAM 'x'>", "DOCTYPE ExternalID is not SYSTEM or PUBLIC (Rule 75).", "DOCTYPE a", 0, -1},
    {"<!DOCTYPE a SYSTEM x>", "Not enough room to quote a string (Rule 11).", "DOCTYPE a", 0, -1},
    {"<!DOCTYPE a SYSTEM xy>", "String not properly quoted (Rule 11).", "DOCTYPE a", 0, -1},
    {"<!DOCTYPE a SYSTEM 'xy>", "Mismatched quotes (Rule 11).", "DOCTYPE a", 0, -1},
    {"<!DOCTYPE a PUBLIC '{' 'x'>", "Illegal PubidChar (Rule 13).", "DOCTYPE a", 0, -1},
    {"<!DOCTYPE a PUBLIC 'x' y>", "PUBLIC SystemLiteral not properly quoted (Rule 11).", "DOCTYPE a", 0, -1},
    {"<!DOCTYPE a [ x ]>", "Ill-formed DOCTYPE child, missing < (Rule 29).", "DOCTYPE a", 0, 14},
    {"<!DOCTYPE a [ %p; ]>", "Can't resolve DOCTYPE PEReference (Rule 69).", "DOCTYPE a", 0, 17},
    {"<!DOCTYPE a [ %p ]>", "DOCTYPE PEReference is missing terminating semi-colon (Rule 69).", "DOCTYPE a", 0, 16},
    {"<!DOCTYPE a [ ] x>", "Missing closing > (Rule 28).", "DOCTYPE a", 0, 16},
    {"<!DOCTYPE a [ ]x>", "Illegal character at contiuation point (Rule 28).", "DOCTYPE a", 0, 15},
    {"<!DOCTYPE a [<!ENTITY % e SYSTEM \"e.dtd\"> %e; ]>",
        "Unsupported (non-standalone) External Reference to \"%e;\"", "DOCTYPE a", 0, 45},
    {"<!DOCTYPE a [<!ENTITY % e PUBLIC 'p' 'e.dtd'> %f; ]>", "Can't resolve DOCTYPE PEReference (Rule 69).",
        "DOCTYPE a", 0, 49},
    // A DOCTYPE read from a parameter entity's replacement text: its points
    // count in that text.
    {"<!DOCTYPE a [<!ENTITY % d '<!DOCTYPE b [ %q; ]>'> %d; ]>",
        "Can't resolve embedded DOCTYPE PEReference (Rule 69).", "DOCTYPE b", 0, 17},
    // A parameter entity that refers to itself stops at the depth limit.
    {"<!DOCTYPE a [<!ENTITY % p '<!DOCTYPE b [%p;]>'> %p;]><a/>", "Elements are nested too deeply.", "", 0, 0},
    {"<!DOCTYPE a [<!xy z>]", "No room after closing ] (Rule 28).", "DOCTYPE a", 0, -1},
    {"<!DOCTYPE a [<!xy z>]  ", "No room after continuation point (Rule 28).", "DOCTYPE a", 0, -1},
    {"<!DOCTYPE a [<!xy z>  ", "No more room (Rule 28).", "DOCTYPE a", 0, -1},
    {"<!DOCTYPE a [<!xy z> <!z ", "Ill-formed DOCTYPE child, missing terminating > (Rule 28).", "DOCTYPE a", 0, 21},
    // An end tag closes nothing in the subset, read there or from an entity.
    {"<!DOCTYPE a [</x>]><a/>", "Ill-formed DOCTYPE child, end tag not allowed (Rule 28).", "DOCTYPE a", 0, 13},
    {"<!DOCTYPE a [<!ENTITY % e '</x>'> %e; ]><a/>", "Ill-formed DOCTYPE child, end tag not allowed (Rule 28).",
        "DOCTYPE a", 0, 37},
    // Options.
    {"<?xml version='1.0'?><a/><b/>", "There can be only one element (Rule 1).", "b", 25, 25,
        Document::parseDefault | Document::parseOnlyOneElement},
};

} // namespace

TEST(DocumentParse, EveryRuleReportsItsMessageTagAndPoints)
{
    for (const ErrorCase& test : kErrorCases) {
        SCOPED_TRACE(test.xml);
        const std::string xml = test.xml;
        Document document;
        EXPECT_FALSE(ParseBytes(document, xml, test.options));
        ExpectError(document, test.message, test.tag, OnLineOne(test.beginning, xml.size()),
            OnLineOne(test.location, xml.size()));
    }
}

TEST(DocumentParse, ErrorRecordCountsLinesColumnsAndWideBytesKeepsTheFirstErrorAndClearsOnTheNextParse)
{
    Document document;
    EXPECT_FALSE(ParseBytes(document, "<a>\n  <b>\n</a>"));
    ExpectError(document, "Overlapping tags detected. Found \"a\" but needed to find \"b\".", "b", At(6, 2, 3),
        At(14, 3, 5));
    // Every byte is a column: the end tag's error is 2 bytes a character.
    EXPECT_FALSE(ParseBytes(document, "\xFF\xFE"s + Widen("<a></b>", 2, false)));
    ExpectError(document, "Overlapping tags detected. Found \"b\" but needed to find \"a\".", "a", At(2, 1, 1),
        At(16, 1, 15));

    EXPECT_FALSE(ParseBytes(document, "<?xml version='1.0'?><?xml version='1.0'?>"));
    // The root's failure then gives it the default declaration; the record
    // still holds the first error.
    EXPECT_EQ(ErrorOf(document).message, "There can be only one prolog (Rule 1).");
    EXPECT_STREQ(document.GetRootElement()->Contents(), "xml version=\"1.0\" standalone=\"yes\"");

    EXPECT_TRUE(ParseBytes(document, "<a/>"));
    EXPECT_FALSE(document.HasParsingError());
    EXPECT_EQ(ErrorOf(document).message, "");
}

TEST(DocumentParse, DeclarationIsReadOrDefaultedMustBeLowerCaseAndMayPrecedeManyElements)
{
    Document document;
    ASSERT_TRUE(ParseBytes(document, "<a x=\"1\">hi</a>"));
    EXPECT_EQ(TreeOf(document.GetRootElement()),
        "1<>[xml version=\"1.0\" standalone=\"yes\"] version=[1.0] standalone=[yes]{4<a>[] x=[1]{5<>[hi]{}}}");
    CString text;
    document.GetVersion(text);
    EXPECT_STREQ(text, "1.0");
    EXPECT_TRUE(document.IsStandalone());
    ASSERT_TRUE(ParseBytes(document, "<?xml version=\"1.1\" encoding='ISO-8859-1' standalone=\"no\" ?>\n<a/>"));
    document.GetVersion(text);
    EXPECT_STREQ(text, "1.1");
    document.GetEncoding(text);
    EXPECT_STREQ(text, "ISO-8859-1");
    EXPECT_FALSE(document.IsStandalone());
    document.GetRootElement()->GetContents(text);
    EXPECT_STREQ(text, "xml version=\"1.1\" encoding='ISO-8859-1' standalone=\"no\" ");
    EXPECT_EQ(document.GetRootElement()->GetNumberOfAttributes(), 0u);
    // The white space between the declaration and the element is dropped.
    EXPECT_EQ(document.GetRootElement()->GetNumberOfChildren(), 1u);
    // Upper case in the declaration is refused unless an option accepts it.
    EXPECT_TRUE(ParseBytes(document, "<?XmL version='1.0'?><a/>",
        Document::parseDefault | Document::parseAcceptUpperCaseXMLDeclaration));
    EXPECT_NE(document.GetElement("a"), nullptr);
    // Top-level elements after a declaration are many unless an option says one.
    EXPECT_TRUE(ParseBytes(document, "<?xml version='1.0'?><a/><b/>"));
    EXPECT_EQ(document.CountElements("a") + document.CountElements("b"), 2u);
}

TEST(DocumentParse, WhiteSpaceTextIsDroppedReferencesKeptRawAndADoctypeDeclaresEntities)
{
    Document document;
    ASSERT_TRUE(ParseBytes(document, "<?xml version='1.0'?>\n<a>\n  <b>x &amp; &#65;&lt;</b>\n</a>\n"));
    const Element* a = document.GetElement("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(TreeOf(a), "4<a>[]{4<b>[]{5<>[x &amp; &#65;&lt;]{}}}");
    EXPECT_EQ(document.GetElement("a.b")->GetChild(""), nullptr);
    EXPECT_EQ(TextOf(a), "x & A<");
    ASSERT_TRUE(ParseBytes(document, "<?xml version='1.0'?><a> <b/>&undeclared;</a>",
        Document::parseDefault | Document::parseKeepWhiteSpaceAndUnverifiedEntities));
    EXPECT_EQ(document.GetElement("a")->GetNumberOfChildren(), 3u);

    // A DOCTYPE declares entities and keeps its items.
    ASSERT_TRUE(ParseBytes(document,
        "<?xml version='1.0'?><!DOCTYPE a PUBLIC \"-//X//Y\" 'a.dtd' [\n"
        "  <!ELEMENT a (#PCDATA)>\n  <!ENTITY e \"E&#33;\">\n  <!ENTITY % p '<!ENTITY q \"Q\">'> %p;\n]>"
        "<a>&e;&q;</a>"));
    const Element* doctype = document.GetElement("DOCTYPE a");
    ASSERT_NE(doctype, nullptr);
    EXPECT_EQ(TreeOf(doctype), "6<DOCTYPE a>[ PUBLIC \"-//X//Y\" 'a.dtd' []{6<ELEMENT>[a (#PCDATA)]{}"
                               "6<ENTITY>[e \"E&#33;\"]{}6<ENTITY>[% p '<!ENTITY q \"Q\">']{}6<ENTITY>[q \"Q\"]{}}");
    EXPECT_EQ(TextOf(document.GetElement("a")), "E!Q");
}

TEST(DocumentParse, NestingDeeperThanTheLimitFailsWithItsOwnMessage)
{
    const DWORD limit = 10000;
    Document document;
    EXPECT_TRUE(ParseBytes(document, Repeated("<a>", limit) + Repeated("</a>", limit)));
    EXPECT_EQ(document.GetNumberOfElements(), limit);

    // A million levels: the parse stops at the first element past the limit.
    EXPECT_FALSE(ParseBytes(document, Repeated("<a>", 1000000)));
    ExpectError(document, "Elements are nested too deeply.", "a", At(3 * limit, 1, 3 * limit + 1),
        At(3 * limit + 3, 1, 3 * limit + 4));
}

namespace {

struct CallbackLog {
    std::vector<std::string> tags;
    std::string abortOn;
};

void Record(void* parameter, Element* element)
{
    auto* log = static_cast<CallbackLog*>(parameter);
    log->tags.emplace_back(element->Tag().GetString());
    if (log->abortOn == element->Tag().GetString()) {
        element->SetAbortParsing(true);
    }
}

} // namespace

TEST(DocumentParse, CallbacksRunForCompletedNodesAndMayAbort)
{
    Document document;
    CallbackLog log;
    ASSERT_TRUE(document.AddCallback("b", Record, &log));
    ASSERT_TRUE(document.AddCallback("c", Record, &log));
    EXPECT_TRUE(ParseBytes(document, "<?xml version='1.0'?><a><b>1</b><c/><b/></a>"));
    EXPECT_EQ(log.tags, (std::vector<std::string>{"b", "c", "b"}));

    // An element completed by its end tag.
    log = CallbackLog{{}, "b"};
    EXPECT_FALSE(ParseBytes(document, "<?xml version='1.0'?><a><x/><b>1</b><c/></a>"));
    ExpectError(document, "Parsing was aborted by Callback function.", "b", At(28, 1, 29), At(36, 1, 37));
    // The nodes read so far stay, the stopped one included; nothing after it.
    EXPECT_EQ(TreeOf(document.GetElement("a")), "4<a>[]{4<x/>[]{}4<b>[]{5<>[1]{}}}");

    // An element that closed itself.
    log = CallbackLog{{}, "c"};
    EXPECT_FALSE(ParseBytes(document, "<?xml version='1.0'?><a><c/></a>"));
    EXPECT_EQ(ErrorOf(document).message, "Parsing aborted by Callback function.");
}

// The internal subset is read from the data the declaration's markup came
// from. Markup that does not match the data (here, handed in directly) is
// an inconsistency of the subset stepping.
TEST(DocumentParse, DoctypeMarkupOutsideTheDataIsAnInconsistency)
{
    struct Probe : Element {
        using Element::m_ParseDOCTYPESection;
    };
    Document document;
    CByteArray bytes;
    bytes.SetSize(5);
    std::memcpy(bytes.GetData(), "<!DOC", 5);
    CDataParser parser;
    parser.Initialize(&bytes, false);
    Probe probe;
    probe.SetDocument(&document);
    EXPECT_FALSE(probe.m_ParseDOCTYPESection(CString("<!DOCTYPE a [ <!xy z> ]>"), parser));
    ExpectError(document, "Error 2490 (Rule 28).", "DOCTYPE a", At(0, 1, 1), At(0, 1, 1));
}

// Single-byte start tags, comments and CDATA sections are read by one-pass
// readers and wide ones (either byte order, told apart without a mark) by
// the general reader; every shape, good or bad, must read the same way in
// all: the same tree or the same error.
TEST(DocumentParse, StartTagsReadAlikeInSingleByteAndWideText)
{
    struct Case {
        std::string markup;
        std::string shape; // the subtree of a (see TreeOf); empty: the parse fails
    };
    // Tags with many attributes, their names alike at both ends, a '>' in
    // each value.
    const auto manyAttributes = [](int count) {
        Case many {"<a", "4<a/>[]"};
        for (int i = 0; i < count; ++i) {
            many.markup += " n" + std::to_string(i) + "n='" + std::to_string(i) + ">'";
            many.shape += " n" + std::to_string(i) + "n=[" + std::to_string(i) + ">]";
        }
        many.markup += "/>";
        many.shape += "{}";
        return many;
    };
    std::vector<Case> cases = {
        {"<a x=\"1\"y='2'/>", "4<a/>[] x=[1] y=[2]{}"},
        {"<a  x = \"v>w\"\t>t</a>", "4<a>[] x=[v>w]{5<>[t]{}}"},
        {"<a x=\"line\r\nnext\tend\rz\" y=\"0123456789abcdefghij\"/>",
            "4<a/>[] x=[line next end z] y=[0123456789abcdefghij]{}"},
        {"<a x=\"\x01\x0b\x0c\" y='\"'/>", "4<a/>[] x=[\x01\x0b\x0c] y=[\"]{}"},
        {"<a\nx='1'\n/>", "4<a/>[] x=[1]{}"},
        {"<a />", "4<a/>[]{}"},
        {"<a/ >", ""},
        {"<a x='1' x='2'/>", ""},
        {"<a x='1' y='<'/>", ""},
        {"<a x y='1'/>", "4<a/>[] x y=[1]{}"},
        {"<a x='1/>", ""},
        {"<1a/>", ""},
        manyAttributes(30),
        manyAttributes(40),
        {"<a n1n='1' n11n='2' n1n='3'/>", ""},
        // Comments, CDATA sections and instructions, read from their markup.
        {"<a><!-- x --></a>", "4<a>[]{2<>[ x ]{}}"},
        {"<a><!----></a>", "4<a>[]{2<>[]{}}"},
        {"<a><!-- a ---></a>", ""},
        {"<a><!-- a -- b --></a>", ""},
        {"<a><!--></a>", ""},
        {"<a><![CDATA[a<b]]></a>", "4<a>[]{3<[CDATA[>[a<b]{}}"},
        {"<a><![CDATA[a]]>]]>b]]></a>", "4<a>[]{3<[CDATA[>[a]]>b]{}}"},
        {"<a><!-- note --><![CDATA[<x>]]>]]>y]]><?pi data?></a>",
            "4<a>[]{2<>[ note ]{}3<[CDATA[>[<x>]]>y]{}1<>[pi data]{}}"},
    };
    // A first attribute 0 to 79 bytes longer shifts the others across the
    // tag's scanning window and up to the end of the data.
    for (std::size_t shift = 0; shift < 80; ++shift) {
        const std::string name = "p" + std::string(shift, 'q');
        cases.push_back(
            {"<a " + name + "='1' b=\"it's\" c='x\ny' d=''/>", "4<a/>[] " + name + "=[1] b=[it's] c=[x y] d=[]{}"});
    }
    const auto treeOfA = [](const Document& document) {
        const Element* a = document.GetElement("a");
        return a == nullptr ? std::string("no a") : TreeOf(a);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.markup);
        const std::string text = "<?xml version='1.0'?>" + c.markup;
        Document narrow;
        Document wide;
        Document bigEndian;
        const bool narrowRead = ParseBytes(narrow, text);
        ASSERT_EQ(narrowRead, ParseBytes(wide, Widen(text, 2, false)));
        ASSERT_EQ(narrowRead, ParseBytes(bigEndian, Widen(text, 2, true)));
        EXPECT_EQ(ErrorOf(narrow).message, ErrorOf(wide).message);
        EXPECT_EQ(narrowRead ? treeOfA(narrow) : "", c.shape) << ErrorOf(narrow).message;
        EXPECT_EQ(narrowRead ? treeOfA(wide) : "", c.shape);
        EXPECT_EQ(narrowRead ? treeOfA(bigEndian) : "", c.shape);
    }

    // Line feeds inside a tag move the point past it to the next lines.
    Document document;
    ASSERT_TRUE(ParseBytes(document, "<a\nx='1\n2'\ny=\"3\"><b/></a>"));
    CParsePoint point;
    document.GetElement("a.b")->GetBeginning(point);
    EXPECT_EQ(point, At(17, 4, 7));
}
