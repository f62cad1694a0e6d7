// Reading update manifests from parsed documents, with the failures each
// writes to the host log.
#include "services/AutoUpdateManifest.h"

#include "xml/XmlTestSupport.h"

#include "support/HostLogLines.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A complete manifest with the root element's attributes and the children
// given.
std::string Manifest(const std::string& attributes, const std::string& children)
{
    return "<?xml version=\"1.0\"?>\r\n<CAutoUpdateManifest " + attributes + ">" + children
        + "</CAutoUpdateManifest>";
}

const std::string kUrl = "UrlOfUpdate=\"http://updates.example.com/release/OrvSetup.exe\"";
const std::string kProduct = "<Product Name=\"ORV Desktop\" Version=\"1.2.3.4\"/>";

// Each test logs into a host root of its own, so it sees only its own lines.
class AutoUpdateManifestTest : public ::testing::Test {
protected:
    // Reads the text into a fresh record; the document must parse.
    bool Read(const std::string& text, CAutoUpdateManifest& manifest)
    {
        CExtensibleMarkupLanguageDocument document;
        EXPECT_TRUE(ParseBytes(document, text)) << text;
        return manifest.ReadFromDocument(document);
    }

    // The log's lines without their time and thread: "L4 message".
    std::vector<std::string> LogLines() const { return orv_test::HostLogLines(m_root.Path()); }

    orv_test::ScratchFolder m_root {"manifest"};
    orv_test::ScopedEnvironment m_host {"KESTREL_ROOT", m_root.Path().string()};
};

} // namespace

TEST_F(AutoUpdateManifestTest, ReadsEveryFieldInAnyElementOrderMatchesTypesWholeAndReadsSizesWithCommas)
{
    CAutoUpdateManifest manifest;
    ASSERT_TRUE(Read(Manifest(kUrl + " SizeOfUpdate=\"12,345,678\" ReleaseType=\"RELEASE\" UpdateType=\"Forced\"",
                         "\r\n  <MoreInfo Text=\"What's new\" Href=\"http://updates.example.com/notes.html\"/>"
                         "\r\n  <!-- the product comes last here -->\r\n  <Extra Name=\"ignored\"/>\r\n  "
                         "<Product Name=\"ORV Desktop\" Version=\"1,2,3,4\"/>\r\n"),
        manifest));
    EXPECT_STREQ(manifest.m_UrlOfUpdate, "http://updates.example.com/release/OrvSetup.exe");
    EXPECT_EQ(manifest.m_SizeOfUpdate, 12345678u);
    EXPECT_EQ(manifest.m_ReleaseType, CAutoUpdateManifest::releaseRelease);
    EXPECT_EQ(manifest.m_UpdateType, CAutoUpdateManifest::updateForced);
    EXPECT_STREQ(manifest.GetUpdateTypeText(), "Forced");
    EXPECT_STREQ(manifest.m_ProductName, "ORV Desktop");
    EXPECT_EQ(manifest.m_Version, CVersion(1, 2, 3, 4)); // written with commas
    EXPECT_STREQ(manifest.m_MoreInfoText, "What's new");
    EXPECT_STREQ(manifest.m_MoreInfoHref, "http://updates.example.com/notes.html");

    // Types are matched whole without case, or defaulted.
    using M = CAutoUpdateManifest;
    const struct { const char* attributes; int release; int update; } cases[] = {
        {"", M::releaseBeta, M::updateNone},
        {" ReleaseType=\"gamma\" UpdateType=\"\"", M::releaseBeta, M::updateNone},
        {" ReleaseType=\" rc\" UpdateType=\"silent \"", M::releaseBeta, M::updateNone},
        {" ReleaseType=\"Rc\" UpdateType=\"SILENT\"", M::releaseRC, M::updateSilent},
    };
    for (const auto& entry : cases) {
        CAutoUpdateManifest manifest;
        ASSERT_TRUE(Read(Manifest(kUrl + entry.attributes, kProduct), manifest)) << entry.attributes;
        EXPECT_EQ(manifest.m_ReleaseType, entry.release) << entry.attributes;
        EXPECT_EQ(manifest.m_UpdateType, entry.update) << entry.attributes;
        EXPECT_EQ(manifest.m_SizeOfUpdate, 0u);
        EXPECT_TRUE(manifest.m_MoreInfoText.IsEmpty());
        EXPECT_TRUE(manifest.m_MoreInfoHref.IsEmpty());
    }

    // MoreInfo counts only as a child of the manifest element; the first of
    // several is read, and a missing attribute is empty.
    CAutoUpdateManifest nested;
    ASSERT_TRUE(Read(Manifest(kUrl, "<Product Name=\"ORV\" Version=\"1.0.0.0\">"
                                    "<MoreInfo Text=\"Notes\" Href=\"http://notes\"/></Product>"),
        nested));
    EXPECT_TRUE(nested.m_MoreInfoText.IsEmpty());
    CAutoUpdateManifest first;
    ASSERT_TRUE(Read(Manifest(kUrl, kProduct + "<MoreInfo Text=\"One\"/><MoreInfo Text=\"Two\" Href=\"h\"/>"), first));
    EXPECT_STREQ(first.m_MoreInfoText, "One");
    EXPECT_TRUE(first.m_MoreInfoHref.IsEmpty());
    EXPECT_TRUE(LogLines().empty());
    // The size is decimal bytes with optional commas.
    const struct { const char* size; DWORD bytes; } sizes[] = {
        {"1024", 1024u},
        {"", 0u},
        {"none", 0u},
        {"1,5 MB", 15u},
        {"4,294,967,295", 4294967295u},
        // too large for 32 bits: the largest size, not a wrapped one
        {"99,999,999,999", 4294967295u},
        {"-1", 0u},
    };
    for (const auto& entry : sizes) {
        CAutoUpdateManifest manifest;
        ASSERT_TRUE(Read(Manifest(kUrl + " SizeOfUpdate=\"" + entry.size + "\"", kProduct), manifest)) << entry.size;
        EXPECT_EQ(manifest.m_SizeOfUpdate, entry.bytes) << entry.size;
    }
}

TEST_F(AutoUpdateManifestTest, EachFailureIsOneLineAtLevelFour)
{
    const struct { std::string document; const char* message; } cases[] = {
        {"<Manifest/>", "could not locate root element in manifest"},
        // Names are matched exactly, and only elements at the top count.
        {"<cautoupdatemanifest " + kUrl + ">" + kProduct + "</cautoupdatemanifest>",
            "could not locate root element in manifest"},
        {"<Updates><CAutoUpdateManifest " + kUrl + ">" + kProduct + "</CAutoUpdateManifest></Updates>",
            "could not locate root element in manifest"},
        {"<?CAutoUpdateManifest " + kUrl + "?><Other/>", "could not locate root element in manifest"},
        {Manifest("", kProduct), "could not locate UrlOfUpdate in manifest"},
        {Manifest("UrlOfUpdate=\"\"", kProduct), "could not locate UrlOfUpdate in manifest"},
        {Manifest(kUrl, ""), "could not locate Product element in manifest"},
        {Manifest(kUrl, "<product Name=\"ORV\" Version=\"1.0.0.0\"/>"), "could not locate Product element in manifest"},
        {Manifest(kUrl, "<Group>" + kProduct + "</Group>"), "could not locate Product element in manifest"},
        {Manifest(kUrl, "<Product Version=\"1.0.0.0\"/>"), "missing Product.Name in manifest"},
        {Manifest(kUrl, "<Product Name=\"\" Version=\"1.0.0.0\"/>"), "missing Product.Name in manifest"},
        {Manifest(kUrl, "<Product Name=\"ORV\"/>"), "missing Product.Version in manifest"},
        // Any text that reads as no version (see the version tests).
        {Manifest(kUrl, "<Product Name=\"ORV\" Version=\"abc\"/>"), "unable to parse Product.Version"},
        // The first manifest element decides.
        {"<CAutoUpdateManifest/><CAutoUpdateManifest " + kUrl + ">" + kProduct + "</CAutoUpdateManifest>",
            "could not locate UrlOfUpdate in manifest"},
    };
    std::size_t expectedLines = 0;
    for (const auto& entry : cases) {
        CAutoUpdateManifest manifest;
        EXPECT_FALSE(Read(entry.document, manifest)) << entry.document;
        const std::vector<std::string> lines = LogLines();
        ASSERT_EQ(lines.size(), ++expectedLines) << entry.document;
        EXPECT_EQ(lines.back(), std::string("L4 AutoUpdate failed: ") + entry.message) << entry.document;
    }
    // An empty document has nothing to read.
    CExtensibleMarkupLanguageDocument empty;
    EXPECT_FALSE(CAutoUpdateManifest().ReadFromDocument(empty));
    EXPECT_EQ(LogLines().size(), ++expectedLines);
}

TEST(AutoUpdateManifestTypes, TextsAndDisplayTexts)
{
    using M = CAutoUpdateManifest;
    const char* releases[] = {"alpha", "beta", "rc", "release"};
    const char* releaseTexts[] = {"Alpha", "Beta", "RC", "Release"};
    const char* updates[] = {"none", "silent", "optional", "forced"};
    const char* updateTexts[] = {"None", "Silent", "Optional", "Forced"};
    for (int type = 0; type < 4; ++type) {
        EXPECT_EQ(M::ReleaseTypeFromText(releases[type]), type);
        EXPECT_EQ(M::UpdateTypeFromText(updates[type]), type);
        EXPECT_STREQ(M::ReleaseTypeDisplayText(type), releaseTexts[type]);
        EXPECT_STREQ(M::UpdateTypeDisplayText(type), updateTexts[type]);
    }
    for (const char* text : {"forced", "", "releases", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(M::ReleaseTypeFromText(text), M::releaseUnknown);
    }
    EXPECT_EQ(M::UpdateTypeFromText("beta"), M::updateUnknown);
    for (int type : {-1, 4, 1000}) {
        EXPECT_STREQ(M::ReleaseTypeDisplayText(type), "???");
        EXPECT_STREQ(M::UpdateTypeDisplayText(type), "???");
    }
}
