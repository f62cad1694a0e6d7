#include "XmlTestSupport.h"

#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

using Document = CExtensibleMarkupLanguageDocument;
using Element = CExtensibleMarkupLanguageElement;
using Entities = CExtensibleMarkupLanguageEntities;

namespace {

std::vector<std::string> References(const Entities& entities)
{
    std::vector<std::string> references;
    DWORD index = 0;
    CString reference;
    CString text;
    entities.Enumerate(index);
    while (entities.GetNext(index, reference, text)) {
        references.emplace_back(reference.GetString());
    }
    return references;
}

std::string Resolved(const Entities& entities, const CString& reference, bool expected = true)
{
    CString text("junk");
    EXPECT_EQ(entities.Resolve(reference, text), expected) << reference.GetString();
    return std::string(text.GetString(), std::size_t(text.GetLength()));
}

} // namespace

TEST(Entities, DocumentStartsWithTheFivePredefinedInSortedOrderAndResolvesNumericReferences)
{
    Document document;
    const Entities& entities = document.GetEntities();
    EXPECT_EQ(References(entities), (std::vector<std::string>{"&amp;", "&apos;", "&gt;", "&lt;", "&quot;"}));
    EXPECT_EQ(Resolved(entities, "&quot;"), "\"");
    EXPECT_EQ(Resolved(entities, "&#65;"), "A");
    EXPECT_EQ(Resolved(entities, "&#x41;"), "A");
    EXPECT_EQ(Resolved(entities, "&#0000000000000000065;"), "A");
    EXPECT_EQ(Resolved(entities, "&#300;"), "q");
    EXPECT_EQ(Resolved(entities, "&lt;"), "<");
    EXPECT_EQ(Resolved(entities, "&#X41;", false), "");
    EXPECT_EQ(Resolved(entities, "&nope;", false), "");
    EXPECT_EQ(Resolved(entities, "&#6x;", false), "");
}

TEST(Entities, AddChecksTheReferenceKeepsTheOrderAndReplacesCharacterReferences)
{
    Entities entities;
    for (const char* bad : {"&;", "a;", "&a", "&1a;", "&a b;", "&a&;", ""}) {
        EXPECT_FALSE(entities.Add(bad, "x")) << bad;
    }
    EXPECT_TRUE(entities.Add("&b;", "1"));
    EXPECT_TRUE(entities.Add("&_a.b-c:d;", "2"));
    EXPECT_TRUE(entities.Add("&a;", "3"));
    EXPECT_TRUE(entities.Add("&b;", "4"));
    EXPECT_EQ(References(entities), (std::vector<std::string>{"&_a.b-c:d;", "&a;", "&b;"}));
    EXPECT_EQ(Resolved(entities, "&b;"), "4");

    Entities copy;
    copy = entities;
    entities.Empty();
    EXPECT_EQ(copy.GetSize(), 3);

    // Character references in the text are replaced.
    ASSERT_TRUE(entities.Add("&c;", "&#169;"));
    EXPECT_EQ(Resolved(entities, "&c;"), "\xA9");
    ASSERT_TRUE(entities.Add("&h;", "[&#x41;&#0066;]"));
    EXPECT_EQ(Resolved(entities, "&h;"), "[AB]");
    ASSERT_TRUE(entities.Add("&t;", "&#9;&amp;"));
    EXPECT_EQ(Resolved(entities, "&t;"), "\t&amp;");
    for (const char* bad : {"&#xD800;", "&#65", "&#;", "&#x;", "&#x110000;", "&#X41;", "&#0;", "&#99999999999999;"}) {
        EXPECT_FALSE(entities.Add("&bad;", bad)) << bad;
    }
    EXPECT_EQ(entities.GetSize(), 3);
}

TEST(Entities, IsEntityGivesTheRuleThatFails)
{
    Document document;
    const Entities& entities = document.GetEntities();
    struct Case { const char* reference; bool known; DWORD rule; };
    const Case cases[] = {
        {"&amp;", true, 0},
        {"&#65;", true, 0},
        {"&#x4f;", true, 0},
        {"&#x;", true, 0},
        {"&", false, 68},
        {"&a", false, 68},
        {"a;b", false, 68},
        {"&#;", false, 66},
        {"&#X41;", false, 66},
        {"&#12a;", false, 66},
        {"&#xg;", false, 66},
        {"&1a;", false, 5},
        {"&a*;", false, 5},
        {"&zz;", false, 0},
    };
    for (const Case& test : cases) {
        DWORD rule = 12345;
        EXPECT_EQ(entities.IsEntity(test.reference, rule), test.known) << test.reference;
        EXPECT_EQ(rule, test.rule) << test.reference;
    }
}

// AddEntity and an ENTITY declaration redefine a predefined entity only
// under the parse option.
TEST(Entities, DocumentRefusesToRedefinePredefinedUnlessAllowed)
{
    const std::string xml = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY lt 'x'>]><r/>";
    for (const bool allowed : {false, true}) {
        const DWORD options = Document::parseDefault | (allowed ? DWORD(Document::parseAllowRedefinitionOfPredefinedEntities) : 0u);
        Document document;
        ASSERT_TRUE(ParseBytes(document, xml, options)) << ErrorOf(document).message;
        CString text;
        EXPECT_TRUE(document.ResolveEntity("&lt;", text));
        EXPECT_STREQ(text, allowed ? "x" : "<");
        EXPECT_EQ(document.AddEntity("&gt;", "!"), allowed);
        EXPECT_TRUE(document.AddEntity("&mine;", "M"));
    }
}

TEST(Entities, AddTextEscapesAndGetTextResolvesCanIgnoreWhiteSpaceAndKeepsUnresolvableTexts)
{
    Document document;
    Element* a = AddElement(document.GetRootElement(), "a");
    ASSERT_TRUE(a->AddText("1 < 2 & \"3\" > '4'"));
    EXPECT_EQ(TextOf(a), "1 < 2 & \"3\" > '4'");
    // Unchanged text is stored as it is; AddTextXML never escapes.
    ASSERT_TRUE(a->AddText("plain"));
    ASSERT_TRUE(a->AddTextXML("<b/>"));
    EXPECT_EQ(TreeOf(a), "4<a>[]{5<>[1 &lt; 2 &amp; &quot;3&quot; &gt; &apos;4&apos;]{}5<>[plain]{}5<>[<b/>]{}}");

    // GetText can leave out the text segments that are all white space.
    Element* w = AddElement(document.GetRootElement(), "w");
    w->AddTextXML(" \r\n\t");
    w->AddText("x<y");
    AddElement(w, "b")->AddTextXML("&#65;&amp;");
    EXPECT_EQ(TextOf(w), " \r\n\tx<yA&");
    EXPECT_FALSE(document.SetIgnoreWhiteSpace(true));
    EXPECT_EQ(TextOf(w), "x<yA&");

    // One unresolvable reference leaves the text unchanged, and a
    // replacement is not scanned again.
    document.AddEntity("&twice;", "&amp;amp;");
    const std::pair<const char*, const char*> texts[] = {{"&undeclared; &amp;", "&undeclared; &amp;"},
        {"&amp; & no semicolon", "&amp; & no semicolon"}, {"&twice;", "&amp;amp;"}};
    for (const auto& [xml, text] : texts) {
        Element* u = AddElement(document.GetRootElement(), "u");
        u->AddTextXML(xml);
        EXPECT_EQ(TextOf(u), text);
    }
}

// Short references are looked up by a key made of their first and last four
// bytes; references that share those bytes, or differ only in length, must
// still be told apart, in small tables, after a copy and after Empty.
TEST(Entities, LookupTellsApartReferencesThatShareTheirEnds)
{
    Entities entities;
    const std::pair<const char*, const char*> entries[] = {
        {"&a;", "three"}, {"&ab;", "four"}, {"&abcdef;", "eight"}, {"&abcdefgh;", "ten"}};
    for (const auto& [reference, text] : entries)
        ASSERT_TRUE(entities.Add(reference, text));
    for (const auto& [reference, text] : entries)
        EXPECT_EQ(Resolved(entities, reference), text);
    // Near misses of "&abcdef;" (the same first and last four bytes, another
    // middle byte) and of "&ab;" (the same bytes at both ends, another length).
    for (const char* missing : {"&abcxef;", "&abcdez;", "&abc;", "&ab;&ab;"})
        EXPECT_EQ(Resolved(entities, missing, false), "");
    // An embedded NUL is part of the reference.
    EXPECT_EQ(Resolved(entities, CString("&ab\0;", 5), false), "");

    const Entities copy(entities);
    EXPECT_EQ(Resolved(copy, "&abcdef;"), "eight");
    EXPECT_EQ(Resolved(copy, "&abcdefg;", false), "");
    entities.Empty();
    EXPECT_EQ(Resolved(entities, "&ab;", false), "");
    ASSERT_TRUE(entities.Add("&ab;", "again"));
    EXPECT_EQ(Resolved(entities, "&ab;"), "again");

    // Past sixteen entries the sorted search takes over, and references
    // that want a slot already taken are found by the scan.
    for (char c = 'a'; c <= 'r'; ++c) {
        ASSERT_TRUE(entities.Add(CString("&x") + c + ";", CString(c)));
    }
    for (char c = 'a'; c <= 'r'; ++c) {
        EXPECT_EQ(Resolved(entities, CString("&x") + c + ";"), std::string(1, c));
    }
    EXPECT_EQ(Resolved(entities, "&ab;"), "again");
    EXPECT_EQ(Resolved(entities, "&xs;", false), "");
}

// The parser checks the references of text in bulk. Over texts of many
// lengths, with references placed across the 64-byte steps of that check
// and at the ends of the text, its verdict must equal a plain reading:
// every '&' up to the first ';' after it must be a known or numeric
// reference, and the first one that is not names the rule it breaks.
TEST(Entities, TextReferencesAreCheckedLikeOneByOne)
{
    const char* const pieces[] = {"&lt;", "&amp;", "&quot;", "&apos;", "&gt;", "&#169;", "&#x41;", "&#;", "&x;",
        "&1a;", "& ", "&amp", "word ", "  ", "\n", ";", "&#X41;", "&a-b;", "&;", "&mine;"};
    Document reference;
    ASSERT_TRUE(reference.AddEntity("&mine;", "m"));
    std::mt19937 random(12345);
    const auto next = [&random](std::size_t n) { return std::size_t(random() % n); };
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const std::size_t length = 1 + next(200);
        while (text.size() < length) {
            text += next(3) == 0 ? pieces[next(std::size(pieces))] : "abcdefghij";
        }
        // The plain reading.
        std::string expected;
        for (std::size_t at = text.find('&'); at != std::string::npos && expected.empty();
             at = text.find('&', at + 1)) {
            const std::size_t semicolon = text.find(';', at + 1);
            if (semicolon == std::string::npos) {
                expected = "Ill-formed entity reference in text section (Rule 68).";
                break;
            }
            DWORD rule = 0;
            if (!reference.GetEntities().IsEntity(CString(text.substr(at, semicolon - at + 1).c_str()), rule)) {
                expected = "Bad entity reference in text section (Rule " + std::to_string(rule) + ").";
            }
            at = semicolon;
        }
        Document document;
        ASSERT_TRUE(document.AddEntity("&mine;", "m"));
        const bool parsed = ParseBytes(document, "<a>" + text + "</a>");
        ASSERT_EQ(parsed, expected.empty()) << text;
        if (!parsed) {
            EXPECT_EQ(ErrorOf(document).message, expected) << text;
        }
    }
}
