// CBrandedResources and COrvResources, the brand tokens and the library's
// string table. Natively, and under Wine without a branding module, the
// process is not branded; under Wine the sample modules in bin/branding
// check the search order and the scopes.
#include "services/Branding.h"

#include "platform/ModuleState.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

class Branding : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }

    static void Reset()
    {
        branding::ResetForTesting();
        AfxSetResourceHandle(nullptr);
    }
};

CString Loaded(UINT id)
{
    CString text;
    EXPECT_TRUE(LoadResourceString(id, text)) << id;
    return text;
}

// A link template with its URL's scheme and host left out: "offered in|label|path".
std::string WithoutHost(const CString& text)
{
    std::string link = static_cast<const char*>(text);
    const std::size_t scheme = link.find("://");
    if (scheme != std::string::npos) {
        const std::size_t start = link.rfind('|', scheme) + 1;
        link.erase(start, link.find('/', scheme + 3) - start);
    }
    return link;
}

} // namespace

TEST_F(Branding, LibraryStringTableHoldsTheFixedTextsAndTheLinkTemplates)
{
    // The names, the research partner and the update behaviours are pinned
    // where they are used: the brand tokens, the research token and the
    // update prompt.
    COrvResources scope;
    EXPECT_EQ(Loaded(IDS_RESTAPI_RESTART_NOTICE), "Changes will take effect after the next restart.");

    // Only a branding module supplies 511 and 512; 607 is not used.
    CString text = "left over";
    EXPECT_FALSE(LoadResourceString(IDS_ORVX_NAME, text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(LoadResourceString(IDS_SUPPLEMENTAL_LOGIN_LANGUAGE, text));
    EXPECT_FALSE(LoadResourceString(607, text));

    // Each link template has three fields: "offered in|label|URL".
    const std::pair<UINT, const char*> expected[] = {
        {601, "&Support|Velkor &Home|/"},
        {602, "&Support|On-Line &Chat Support|/oneononechat.aspx"},
        {603, "&Support|&Reports|/secure/scripts/x_login.asp?nh=1&POSTDATA:"
              "username=%%USERNAME%%&password=%%PASSWORD%%"},
        {604, "&Tools|Symbol &Lookup|/lookupcompany.asp"},
        {605, "&Tools|&FX Chart|/misc/freeorv.asp"},
        {606, "&Tools|ORV &Research Tool|/login.asp?token=%%TCTOKEN%%"},
        {608, "&Tools|ORV &World|/Community/?lid=%%LOGINID%%&token=%%SESSIONTOKEN%%"},
        {609, "&Tools|Most &Actives|/Community/strategies/gainers.aspx?asset=all&lid=%%LOGINID%%"
              "&token=%%SESSIONTOKEN%%"},
        {610, "&Tools|&News|/news/?lid=%%LOGINID%%&token=%%SESSIONTOKEN%%"},
        {611, "&Tools|ORV &Vision|/player/?mini=true&lid=%%LOGINID%%&token=%%SESSIONTOKEN%%"},
        {612, "&Help|On-Line &Chat Support|/oneononechat.aspx"},
        {613, "&Help|Symbol &Lookup|/lookupcompany.asp"},
        {614, "&Help|Contact &Us|/contact.asp"},
        {615, "&Help|&At Your Service|/"},
        {616, "&Help|&Submit a Bug Report|/submitbugform.aspx"},
        {617, "&Help|&Help|/help/orvdesktop/"},
        {618, "ViewType=*|&Symbol Info - %%UNDERLIER%%|/Community/finance/modal/%%SYMBOL%%.aspx"},
        {619, "ViewType=*|ORV &Research Tool - %%UNDERLIER%%|/login.asp?token=%%TCTOKEN%%&symbol=%%SYMBOL%%"},
        {620, "ViewType=*|&Yahoo Finance Snapshot - %%UNDERLIER%%|/q?s=%%SYMBOL%%"},
    };
    for (const auto& [id, link] : expected)
        EXPECT_EQ(WithoutHost(Loaded(id)), link) << id;
    // The help menu repeats two support links.
    const auto urlOf = [](UINT id) { const CString text = Loaded(id); return text.Mid(text.ReverseFind('|') + 1); };
    EXPECT_EQ(urlOf(612), urlOf(602));
    EXPECT_EQ(urlOf(613), urlOf(604));
    EXPECT_EQ(urlOf(602).Left(8), "https://");
    EXPECT_EQ(urlOf(603).Left(8), "https://");
    EXPECT_EQ(urlOf(618).Left(8), "https://");
}

TEST_F(Branding, ScopesNestAndRestoreTheCurrentModule)
{
    // The executable is current until a scope switches; the library's
    // strings are found behind it.
    const HINSTANCE before = AfxGetResourceHandle();
    EXPECT_EQ(before, AfxGetInstanceHandle());
    EXPECT_NE(before, AfxGetLibraryHandle());
    EXPECT_EQ(Loaded(IDS_APP_TITLE), "ORV Desktop");
    {
        CBrandedResources branded;
        EXPECT_EQ(AfxGetResourceHandle(), branding::ResourceModule());
        {
            COrvResources own;
            EXPECT_EQ(AfxGetResourceHandle(), platform::LibraryModule());
            EXPECT_EQ(Loaded(IDS_APP_TITLE), "ORV Desktop");
        }
        EXPECT_EQ(AfxGetResourceHandle(), branding::ResourceModule());
    }
    EXPECT_EQ(AfxGetResourceHandle(), before);
}

TEST_F(Branding, UnbrandedProcessLoadsTheLibraryTokensOnDemandAndNamesOnlyAnUnnamedApplication)
{
    // Neither "<exe>_res.dll" nor "OrvBranding.dll" is beside the test program.
    CBrandedResources scope;
    // Token values are loaded only when a text needs them, and once.
    EXPECT_EQ(ReplaceAllBrandedTokens("no tokens at all"), "no tokens at all");
    EXPECT_EQ(ReplaceAllBrandedTokens("costs $5"), "costs $5");
    EXPECT_EQ(branding::TokenLoadsForTesting(), 0);
    ReplaceAllBrandedTokens("$APPNAME$");
    ReplaceBrandedAppName("$APPNAME$ $APPNAME$");
    EXPECT_EQ(branding::TokenLoadsForTesting(), 1);
    ReplaceAllBrandedTokens("$COMPANY$ $SCOMPANY$");
    EXPECT_EQ(branding::TokenLoadsForTesting(), 3);

    EXPECT_FALSE(CBrandedResources::IsBranded());
    EXPECT_EQ(branding::ResourceModule(), platform::LibraryModule());
    EXPECT_EQ(ReplaceAllBrandedTokens("$APPNAME$ by $COMPANY$ ($SCOMPANY$)[$ORVX$] $APPNAME$"),
              "ORV Desktop by Velkor, Inc. (Velkor)[] ORV Desktop");
    EXPECT_EQ(CBrandedResources::GetORVXName(), "");
    EXPECT_EQ(scope.GetSupplementalLoginLanguageID(), 0);
    const branding::SearchResult found = branding::FindResourceModule("/no/such/folder/app.exe");
    EXPECT_FALSE(found.branded);
    EXPECT_EQ(found.module, platform::LibraryModule());
    EXPECT_FALSE(branding::FindResourceModule(nullptr).branded);

    // Each replacement touches only its token.
    const CString text = "$APPNAME$/$SCOMPANY$/$COMPANY$/$ORVX$/$OTHER$";
    EXPECT_EQ(ReplaceBrandedAppName(text), "ORV Desktop/$SCOMPANY$/$COMPANY$/$ORVX$/$OTHER$");
    EXPECT_EQ(ReplaceBrandedCompanyShort(text), "$APPNAME$/Velkor/$COMPANY$/$ORVX$/$OTHER$");
    EXPECT_EQ(ReplaceBrandedCompany(text), "$APPNAME$/$SCOMPANY$/Velkor, Inc./$ORVX$/$OTHER$");
    EXPECT_EQ(ReplaceBrandedORVXName(text), "$APPNAME$/$SCOMPANY$/$COMPANY$//$OTHER$");
    EXPECT_EQ(ReplaceAllBrandedTokens(text), "ORV Desktop/Velkor/Velkor, Inc.//$OTHER$");

    CWinApp unnamed;
    EXPECT_EQ(scope.InitApp(&unnamed), TRUE);
    EXPECT_STREQ(unnamed.m_pszAppName, "ORV Desktop");
    const char* first = unnamed.m_pszAppName;
    EXPECT_EQ(scope.InitApp(&unnamed), FALSE);
    EXPECT_EQ(unnamed.m_pszAppName, first);
    CWinApp named("Order Desk");
    EXPECT_EQ(scope.InitApp(&named), FALSE);
    EXPECT_STREQ(named.m_pszAppName, "Order Desk");
    EXPECT_EQ(scope.InitApp(nullptr), FALSE);
}

#if defined(_WIN32)
namespace {

// bin/branding beside the test program, with the sample modules.
std::string SampleFolder()
{
    std::string path = platform::ModuleFileName(nullptr);
    path.erase(path.find_last_of("\\/") + 1);
    return path + "branding\\";
}

// The title of the branding module found for the executable, which is
// freed again; empty when the search finds none.
std::string FoundTitle(const std::string& executable)
{
    const branding::SearchResult found = branding::FindResourceModule(executable.c_str());
    if (!found.branded)
        return "";
    CString title;
    LoadResourceString(found.module, IDS_APP_TITLE, title);
    FreeLibrary(found.module);
    return title.GetString();
}

// Puts the sample folder on the module search path for its lifetime.
class CSampleSearchPath {
public:
    CSampleSearchPath() { SetDllDirectoryA(SampleFolder().c_str()); }
    ~CSampleSearchPath() { SetDllDirectoryA(nullptr); }
};

} // namespace

TEST_F(Branding, SearchPrefersTheModuleNamedAfterTheExecutableAndABrandedProcessKeepsTheLibraryBehind)
{
    const std::string folder = SampleFolder();
    EXPECT_EQ(FoundTitle(folder + "probe.exe"), "Probe Desktop");
    // Not beside an executable of another name, even with a dotted folder.
    EXPECT_EQ(FoundTitle(folder + "other.v2\\probe"), "");

    // "OrvBranding.dll" on the search path comes second.
    CSampleSearchPath path;
    EXPECT_EQ(FoundTitle(folder + "probe.exe"), "Probe Desktop");
    EXPECT_EQ(FoundTitle(folder + "viewer.exe"), "Tramline Sextant");

    // The test program has no module named after it: it takes that one's
    // texts, with the library's behind them.
    CBrandedResources scope;
    EXPECT_TRUE(CBrandedResources::IsBranded());
    EXPECT_NE(AfxGetResourceHandle(), platform::LibraryModule());
    EXPECT_EQ(ReplaceAllBrandedTokens("$APPNAME$ by $COMPANY$ ($SCOMPANY$) $ORVX$"),
              "Tramline Sextant by Tramline Markets, Ltd. (Tramline) Sextant X");
    EXPECT_EQ(CBrandedResources::GetORVXName(), "Sextant X");
    EXPECT_EQ(scope.GetSupplementalLoginLanguageID(), 1031);
    // A string the module does not brand comes from the library.
    EXPECT_EQ(Loaded(IDS_RESTAPI_RESTART_NOTICE), "Changes will take effect after the next restart.");
    {
        COrvResources own;
        EXPECT_EQ(Loaded(IDS_APP_TITLE), "ORV Desktop");
    }
    EXPECT_EQ(Loaded(IDS_APP_TITLE), "Tramline Sextant");
    CWinApp app;
    EXPECT_TRUE(scope.InitApp(&app));
    EXPECT_STREQ(app.m_pszAppName, "Tramline Sextant");
}

TEST_F(Branding, WindowCaptionsAreReplacedInPlace)
{
    CBrandedResources scope;
    const HWND window = CreateWindowExA(0, "STATIC", "$APPNAME$ - $COMPANY$", 0, 0, 0, 10, 10, HWND_MESSAGE,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ReplaceAllBrandedTokens(window);
    char caption[128] = {};
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "ORV Desktop - Velkor, Inc.");
    SetWindowTextA(window, "$SCOMPANY$ $APPNAME$");
    ReplaceBrandedCompanyShort(window);
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Velkor $APPNAME$");
    DestroyWindow(window);
    ReplaceAllBrandedTokens(static_cast<HWND>(nullptr));
}
#endif
