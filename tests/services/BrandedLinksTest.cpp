// Link templates: credentials, ReformatURL, the research token (deciphered
// again with the same key), and OpenIE's failure without a browser.
#include "services/BrandedLinks.h"

#include "platform/ModuleState.h"
#include "framework/Time.h"
#include "resources/resource.h"
#include "services/Blowfish.h"
#include "services/Branding.h"
#include "services/Registry.h"
#include "support/ScratchFolder.h"
#include "text/Base64Coding.h"

#include <gtest/gtest.h>

#include <atomic>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const char* kLanguageKey = "Software\\Microsoft\\Internet Explorer\\International";

// The browser's language value, set or removed for one test and put back
// afterwards. Natively the registry is a private store file.
class BrandedLinks : public ::testing::Test {
protected:
    void SetUp() override
    {
        CRegistry registry;
        m_hadLanguage = registry.Open(HKEY_CURRENT_USER, kLanguageKey, KEY_READ)
            && registry.ReadString("AcceptLanguage", m_savedLanguage);
        SetLanguage(nullptr);
        SetUserName("");
        SetPassword("");
        SetSessionToken("");
    }

    void TearDown() override { SetLanguage(m_hadLanguage ? static_cast<const char*>(m_savedLanguage) : nullptr); }

    // Null removes the value.
    static void SetLanguage(const char* languages)
    {
        CRegistry registry;
        if (languages == nullptr) {
            if (registry.Open(HKEY_CURRENT_USER, kLanguageKey, KEY_ALL_ACCESS))
                registry.DeleteValue("AcceptLanguage");
            return;
        }
        ASSERT_TRUE(registry.CreateKey(HKEY_CURRENT_USER, kLanguageKey));
        ASSERT_TRUE(registry.WriteString("AcceptLanguage", languages));
    }

private:
    orv_test::ScratchFolder m_folder {"links"};
    orv_test::PrivateRegistry m_store {m_folder.Path()};
    bool m_hadLanguage = false;
    CString m_savedLanguage;
};

// The token back to its plain text: undo the URL escapes, Base64, then
// decipher with the library's key and drop the zero padding.
std::string Decipher(const CString& token)
{
    CString text = token;
    text.Replace("%2B", "+");
    text.Replace("%0D", "\r");
    text.Replace("%0A", "\n");
    CBase64Coding coder;
    CByteArray key;
    CByteArray bytes;
    EXPECT_TRUE(coder.Decode(CString("Qk3mZ0pVr8XwLt2NaYc5Hg=="), key));
    EXPECT_TRUE(coder.Decode(text, bytes)) << token;
    if (bytes.GetSize() == 0 || bytes.GetSize() % 8 != 0)
        return "bad length " + std::to_string(bytes.GetSize());
    CBlowfish(key.GetData(), static_cast<std::size_t>(key.GetSize()))
        .Decrypt(bytes.GetData(), static_cast<std::size_t>(bytes.GetSize()));
    const std::string plain(reinterpret_cast<const char*>(bytes.GetData()), static_cast<std::size_t>(bytes.GetSize()));
    const std::size_t end = plain.find('\0');
    EXPECT_NE(end, std::string::npos);
    EXPECT_LE(plain.size(), end + 8) << "padding beyond one block";
    EXPECT_EQ(plain.find_first_not_of('\0', end), std::string::npos);
    return plain.substr(0, end);
}

CString Template(UINT id)
{
    COrvResources scope;
    CString text;
    EXPECT_TRUE(LoadResourceString(id, text));
    return text.Mid(text.ReverseFind('|') + 1);
}

} // namespace

TEST_F(BrandedLinks, ReformatFillsCredentialsAndSplitsOffPostDataSafelyFromManyThreads)
{
    SetUserName("alice");
    SetPassword("s3cret");
    SetSessionToken("SESSION42");
    CString url = Template(IDS_LINK_TOOLS_WORLD);
    ReformatURL(url);
    EXPECT_EQ(url.Mid(url.Find("/Community/")), "/Community/?lid=0&token=SESSION42");

    CString post = "stale";
    url = "u=%%USERNAME%%&u2=%%USERNAME%%&p=%%PASSWORD%%&d=%%YYYYMMDD%%&l=%%LOGINID%%%%LOGINID%%";
    ReformatURL(url, post);
    EXPECT_EQ(url, "u=alice&u2=alice&p=s3cret&d=" + CTime::GetCurrentTime().Format("%Y%m%d") + "&l=00");
    EXPECT_EQ(post, "");
    SetSessionToken(nullptr);
    url = "t=%%SESSIONTOKEN%%";
    ReformatURL(url);
    EXPECT_EQ(url, "t=");

    // The post data is split off at "POSTDATA:", with or without a '&' before it.
    const std::pair<const char*, const char*> split[] = {{"aPOSTDATA:x", "a"}, {"a&POSTDATA:x", "a"}, {"POSTDATA:x", ""}};
    for (const auto& [text, expected] : split) {
        url = text;
        ReformatURL(url, post);
        EXPECT_EQ(url, expected) << text;
        EXPECT_EQ(post, "x") << text;
    }
    SetUserName("bob");
    SetPassword("pw&1");
    url = Template(IDS_LINK_SUPPORT_REPORTS);
    ReformatURL(url, post);
    EXPECT_EQ(url.Right(32), "/secure/scripts/x_login.asp?nh=1");
    EXPECT_EQ(post, "username=bob&password=pw&1");

    // The token and the reformatting are safe from many threads.
    SetUserName("erin");
    std::atomic<int> good{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &good] {
            for (int i = 0; i < 20; ++i) {
                SetSessionToken(("S" + std::to_string(t)).c_str());
                CString url = "x?token=%%SESSIONTOKEN%%&tc=%%TCTOKEN%%";
                ReformatURL(url);
                if (url.Find("x?token=S") == 0 && url.Find("&tc=") > 0)
                    ++good;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(good.load(), 80);
}

TEST_F(BrandedLinks, TokenCarriesPartnerUpperCaseUserLanguagesAndTime)
{
    SetUserName("alice.Smith");
    const auto before = static_cast<long long>(std::time(nullptr));
    const CString token = GetTradingCentralToken();
    const auto after = static_cast<long long>(std::time(nullptr));
    const std::string plain = Decipher(token);
    const std::string prefix = "velkor,ALICE.SMITH,en-US,";
    ASSERT_EQ(plain.substr(0, prefix.size()), prefix) << plain;
    const long long stamp = std::stoll(plain.substr(prefix.size()));
    EXPECT_GE(stamp, before);
    EXPECT_LE(stamp, after);
    EXPECT_EQ(token.Find('+'), -1);
    EXPECT_EQ(token.Find('\r'), -1);

    SetLanguage("de-CH,de;q=0.8");
    EXPECT_EQ(Decipher(branding::EncipherResearchToken(branding::ResearchTokenText(1700000000))),
              "velkor,ALICE.SMITH,de-CH,de;q=0.8,1700000000");
    EXPECT_EQ(Decipher(branding::EncipherResearchToken(branding::ResearchTokenText(-5))),
              "velkor,ALICE.SMITH,de-CH,de;q=0.8,-5");

    // A long token spans several Base64 lines and still round-trips.
    SetUserName(std::string(90, 'q').c_str());
    const CString longToken = branding::EncipherResearchToken(branding::ResearchTokenText(1234567890));
    EXPECT_GT(longToken.GetLength(), 72);
    EXPECT_EQ(Decipher(longToken), "velkor," + std::string(90, 'Q') + ",de-CH,de;q=0.8,1234567890");
}

#if defined(_WIN32)
namespace {

bool BrowserRegistered()
{
    return CRegistry().VerifyKey(HKEY_CLASSES_ROOT, "CLSID\\{0002DF01-0000-0000-C000-000000000046}", KEY_READ);
}

// The browser's top-level window once it has appeared, or null.
HWND WaitForBrowserWindow()
{
    for (int i = 0; i < 100; ++i) {
        if (const HWND window = FindWindowA("IEFrame", nullptr); window != nullptr && IsWindowVisible(window))
            return window;
        Sleep(50);
    }
    return nullptr;
}

} // namespace

// A thread whose COM apartment cannot be changed makes OpenIE fail at once.
TEST_F(BrandedLinks, OpenIEAnswersZeroWhenComCannotBeInitialised)
{
    BOOL result = -1;
    std::thread worker([&result] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        result = OpenIE("about:blank", CRect(), FALSE, FALSE, FALSE, 0, FALSE);
        CoUninitialize();
    });
    worker.join();
    EXPECT_EQ(result, FALSE);
}

// Wine registers the browser's automation object and runs its own browser:
// the window appears, topmost, and is closed again. Wine's browser accepts
// but ignores the position, size and bar settings, so they are not checked.
TEST_F(BrandedLinks, OpenIEShowsATopmostBrowserWindow)
{
    if (!BrowserRegistered()) {
        EXPECT_EQ(OpenIE("about:blank", CRect(), FALSE, FALSE, FALSE, 0, FALSE), FALSE);
        return;
    }
    ASSERT_EQ(FindWindowA("IEFrame", nullptr), nullptr) << "a browser window is open already";
    ASSERT_EQ(OpenIE("about:blank", CRect(40, 30, 440, 330), FALSE, FALSE, TRUE, 0, TRUE), TRUE);
    const HWND window = WaitForBrowserWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && IsWindow(window); ++i)
        Sleep(50);
    EXPECT_FALSE(IsWindow(window));
}
#endif
