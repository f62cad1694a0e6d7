// Hostile and real-world input: bounded entity expansion, allocation failure
// during a parse, markup that real documents hold, and overridable steps.
#include "XmlTestSupport.h"

#include <cstdlib>
#include <new>
#include <string>

using Document = CExtensibleMarkupLanguageDocument;
using Element = CExtensibleMarkupLanguageElement;

namespace {

// A DOCTYPE whose parameter entity e<n> holds a declaration that refers to
// e<n-1> ten times: 10^levels expansions from a few hundred bytes.
std::string NestedParameterEntities(int levels)
{
    std::string xml = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY % e0 \"<!ELEMENT x ANY>\">";
    for (int level = 1; level <= levels; ++level) {
        const std::string reference = "%e" + std::to_string(level - 1) + ";";
        xml += "<!ENTITY % e" + std::to_string(level) + " '<!DOCTYPE y [" + Repeated(reference, 10) + "]>'>";
    }
    return xml + "%e" + std::to_string(levels) + ";]><r/>";
}

} // namespace

TEST(Robustness, EntityExpansionIsBoundedPerParse)
{
    const auto flat = [](int references) {
        const std::string declaration = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY % e '<!ELEMENT x ANY>'>";
        return declaration + Repeated("%e;", std::size_t(references)) + "]><r/>";
    };
    Document document;
    EXPECT_TRUE(ParseBytes(document, flat(100000))) << ErrorOf(document).message;
    EXPECT_FALSE(ParseBytes(document, flat(100001)));
    EXPECT_EQ(ErrorOf(document).message, "Entity references expand too much.");
    // A few hundred bytes that would expand a million times stop there too,
    // with the points of the declaration being read.
    EXPECT_FALSE(ParseBytes(document, NestedParameterEntities(6)));
    const ErrorRecord error = ErrorOf(document);
    EXPECT_EQ(error.message, "Entity references expand too much.");
    EXPECT_EQ(error.tag, "DOCTYPE y");
    EXPECT_GT(error.location.GetIndex(), 0u);
    // Each parse starts with a fresh count.
    EXPECT_TRUE(ParseBytes(document, NestedParameterEntities(4))) << ErrorOf(document).message;
}

#if !defined(_WIN32)
namespace {
// Global allocation that fails from the n-th request on while armed (or
// only that once, when t_FailOnce is set).
thread_local long t_AllocationsLeft = -1;
thread_local bool t_FailOnce = false;
thread_local bool t_AllocationFailed = false;
} // namespace

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size)
{
    if (t_AllocationsLeft == 0) {
        t_AllocationFailed = true;
        t_AllocationsLeft = t_FailOnce ? -1 : 0;
        throw std::bad_alloc();
    }
    if (t_AllocationsLeft > 0) {
        --t_AllocationsLeft;
    }
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
#pragma GCC diagnostic pop

TEST(Robustness, AllocationFailureAnywhereInParseIsACleanFailure)
{
    const std::string xml = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY e \"E\"><!ENTITY % p \"<!ELEMENT q ANY>\">%p;]>"
                            "<r a=\"1\" b='2'><!-- c --><?pi x?><![CDATA[d]]>t&amp;&e;<s/><u>v</u>"
                            + std::string(300, 'w') + "</r>";
    for (const bool once : {true, false}) {
        for (long failAt = 0;; ++failAt) {
            Document document;
            CDataParser parser;
            Attach(parser, xml);
            t_AllocationFailed = false;
            t_FailOnce = once;
            t_AllocationsLeft = failAt;
            bool parsed = false;
            EXPECT_NO_THROW(parsed = document.Parse(parser)) << failAt;
            t_AllocationsLeft = -1;
            if (!t_AllocationFailed) {
                EXPECT_TRUE(parsed) << ErrorOf(document).message;
                break;
            }
            EXPECT_FALSE(parsed) << failAt;
            EXPECT_TRUE(document.HasParsingError()) << failAt;
            // A single failed request leaves room to record the message;
            // with no memory left at all the error is only flagged.
            const std::string message = ErrorOf(document).message;
            EXPECT_TRUE(!once || message == "Internal error: Could not create new element."
                || message == "Can't allocate memory." || message == "Ran out of memory allocating for a tricky element.")
                << failAt << ": " << message;
        }
    }
}
#endif

TEST(Robustness, RealWorldMarkupParses)
{
    const struct { const char* xml; const char* path; const char* attribute; const char* value; } cases[] = {
        {"<r><xsl:when test='count(x) > 2'/></r>", "r.xsl:when", "test", "count(x) > 2"},
        {"<r a=\"x>y\" b='>'>t</r>", "r", "b", ">"},
        {"<?xml-stylesheet href=\"s.xsl\" type=\"text/xsl\"?><r k='v'/>", "r", "k", "v"},
        {"<?xml version=\"1.0\"?><?xml-model href=\"m.rng\"?><?XML-stylesheet x?><r k='v'/>", "r", "k", "v"},
        {"<?xml version=\"1.0\"?><!DOCTYPE r [<!ATTLIST r k CDATA \"a>b\">]><r k='v'/>", "r", "k", "v"},
    };
    for (const auto& c : cases) {
        Document document;
        ASSERT_TRUE(ParseBytes(document, c.xml)) << c.xml << ": " << ErrorOf(document).message;
        const Element* node = document.GetElement(c.path);
        ASSERT_NE(node, nullptr) << c.xml;
        EXPECT_EQ(AttributeOf(node, c.attribute), c.value) << c.xml;
    }
    // A value holding '>' that a caller set is written and reads back.
    Document wide;
    Document written;
    ASSERT_TRUE(ParseBytes(written, "<r/>"));
    written.GetElement("r")->AddAttribute("test", "a > b");
    ASSERT_TRUE(ParseBytes(wide, Written(written))) << ErrorOf(wide).message;
    EXPECT_EQ(AttributeOf(wide.GetElement("r"), "test"), "a > b");

    // A second declaration is still refused.
    Document twice;
    EXPECT_FALSE(ParseBytes(twice, "<?xml version=\"1.0\"?><r><?xml version=\"1.0\"?></r>"));
    EXPECT_EQ(ErrorOf(twice).message, "There can be only one prolog (Rule 1).");
}

namespace {

// A node whose own steps are replaced: output upper case, names that must
// not begin with "x", and a tag read up to the first '-'.
class CShoutingElement : public Element {
public:
    CShoutingElement() { SetType(typeElement); }

protected:
    void m_AddCharacterToOutput(DWORD character, DWORD options, CByteArray& bytes) const override
    {
        Element::m_AddCharacterToOutput(character >= 'a' && character <= 'z' ? character - 32 : character, options, bytes);
    }
    bool m_ParseElementName(const CString& name) override
    {
        if (!name.IsEmpty() && name[0] == 'x') {
            m_ReportParsingError("no x");
            return false;
        }
        return Element::m_ParseElementName(name);
    }
    void m_GetTag(const CString& text, CString& tag) const override
    {
        Element::m_GetTag(text, tag);
        const int dash = tag.Find('-');
        if (dash > 0) {
            tag = tag.Left(dash);
        }
    }
};

bool ParseNode(Element& node, const std::string& bytes)
{
    CDataParser parser;
    Attach(parser, bytes);
    return node.Parse(CParsePoint(), parser);
}

} // namespace

TEST(Robustness, OverriddenStepsAreCalledByParseAndWrite)
{
    Document document;
    auto* node = new CShoutingElement;
    node->SetDocument(&document);
    EXPECT_TRUE(ParseNode(*node, "<a-b k='v'/>")) << ErrorOf(document).message;
    EXPECT_STREQ(node->Tag(), "a");
    node->AddText("t");
    CByteArray bytes;
    node->WriteTo(bytes);
    // The node writes through its own step; its text child is a plain node.
    EXPECT_EQ(AsString(bytes), "<A K=\"V\">t</A>");

    EXPECT_FALSE(ParseNode(*node, "<xy/>"));
    EXPECT_EQ(ErrorOf(document).message, "no x");
    Element::DeleteElement(node);
}
