// The decisions of one update check over a scripted transport: the status
// of each way a manifest or a package can arrive, the log line that tells
// why, what the user is asked, and what is saved and started.
#include "services/AutoUpdateCheck.h"

#include "UpdateCheckSupport.h"

#include "support/HostLogLines.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

using update_test::Manifest;
using update_test::RecordingProgress;

constexpr long long kBodyLength = -2; // announce the body's own length
constexpr long long kNoLength = -1;   // announce none

// One scripted answer to a GET.
struct Reply {
    std::string body;
    DWORD status = 200;
    long long length = kBodyLength;
    bool connects = true;      // false: no request could be sent
    bool statusReadable = true;
    std::size_t failAfter = std::string::npos; // a read fails once this many bytes were served
};

// Serves the body in parts smaller than asked for, so the reader must loop.
class ScriptedResponse : public IAutoUpdateResponse {
public:
    explicit ScriptedResponse(const Reply& reply) : m_reply(reply) {}

    bool QueryStatusCode(DWORD& code, CAutoUpdateTransportError& error) override
    {
        error.m_Code = 12150; // ERROR_HTTP_HEADER_NOT_FOUND
        code = m_reply.status;
        return m_reply.statusReadable;
    }
    bool QueryContentLength(ULONGLONG& length) override
    {
        length = m_reply.length == kBodyLength ? m_reply.body.size() : ULONGLONG(m_reply.length);
        return m_reply.length != kNoLength;
    }
    int Read(void* buffer, UINT size, CAutoUpdateTransportError& error) override
    {
        if (m_served >= m_reply.failAfter) {
            error.m_Message = "The connection with the server was reset\r\n";
            return -1;
        }
        const std::size_t count =
            std::min<std::size_t>({size, 700, m_reply.body.size() - m_served, m_reply.failAfter - m_served});
        m_reply.body.copy(static_cast<char*>(buffer), count, m_served);
        m_served += count;
        return int(count);
    }

private:
    Reply m_reply;
    std::size_t m_served = 0;
};

// Answers each GET from the replies scripted for its server and path.
class ScriptedTransport : public IAutoUpdateTransport {
public:
    std::unique_ptr<IAutoUpdateResponse> FetchManifest(const CAutoUpdateUrl& url, CAutoUpdateTransportError& error) override
    {
        return DownloadPackage(url, error);
    }
    std::unique_ptr<IAutoUpdateResponse> DownloadPackage(const CAutoUpdateUrl& url, CAutoUpdateTransportError& error) override
    {
        const auto found = m_replies.find(std::string(url.m_Server) + std::string(url.m_Object));
        if (found == m_replies.end() || !found->second.connects) {
            error.m_Message = "A connection with the server could not be established\r\n";
            return nullptr;
        }
        return std::make_unique<ScriptedResponse>(found->second);
    }

    std::map<std::string, Reply> m_replies;
};

const char kReleaseManifest[] = "updates.test/orv/release/update.manifest";
const char kPackage[] = "dl.test/pkg/OrvSetup.exe";

class AutoUpdateCheckTest : public ::testing::Test {
protected:
    // Runs the query with this manifest reply; the check stays for the
    // steps after it.
    int Query(const Reply& reply, const char* path = kReleaseManifest)
    {
        m_transport.m_replies[path] = reply;
        m_check = std::make_unique<CAutoUpdateCheck>(m_transport, m_context);
        return m_check->QueryForLatestVersion();
    }

    std::string LastLog() const
    {
        const auto lines = orv_test::HostLogLines(m_root.Path());
        return lines.empty() ? "<none>" : lines.back();
    }

    orv_test::ScratchFolder m_root {"updatecheck"};
    orv_test::ScopedEnvironment m_host {"KESTREL_ROOT", m_root.Path().string()};
    CAutoUpdateContext m_context
        = update_test::InstalledRelease(m_root.Path(), "ORV Desktop Pro", "http://updates.test/orv/");
    ScriptedTransport m_transport;
    std::unique_ptr<CAutoUpdateCheck> m_check;
};

TEST_F(AutoUpdateCheckTest, QueryDecidesEachStatusAndLogsWhy)
{
    const std::string newer = Manifest("1.3.0.0");
    struct Row {
        const char* name;
        Reply reply;
        int status;
        std::string log;
        bool manual = false;
        const char* application = "orv desktop";
        const char* installed = "Release"; // the channel whose manifest is scripted
        const char* path = kReleaseManifest;
    } rows[] = {
        {"same version and channel", {Manifest("1.2.0.0")}, 0, "L3 Installed version is current."},
        {"same version, other channel", {Manifest("1.2.0.0", "beta")}, -1, "L3 Updated version available."},
        {"installed is newer", {Manifest("1.1.65535.9")}, 0, "L3 Installed version is newer -- not updating."},
        {"silent, automatic", {Manifest("1.3.0.0", "release", "silent")}, 0, "L3 Updated version available for manual install."},
        {"silent, manual", {Manifest("1.3.0.0", "release", "silent")}, -1, "L3 Updated version available.", true},
        {"beta channel", {newer}, -1, "L3 Updated version available.", false, "orv desktop", "Beta",
            "updates.test/orv/beta/update.manifest"},
        {"unknown channel", {newer}, -1, "L3 Updated version available.", false, "orv desktop", "???"},
        {"no connection", {newer, 200, kBodyLength, false}, 2,
            "L4 CheckForUpdate: exception: A connection with the server could not be established"},
        {"status unreadable", {newer, 200, kBodyLength, true, false}, 3, "L4 AutoUpdate: unable to retrieve status, error 0x2f76"},
        {"not found", {"gone", 404}, 3, "L4 AutoUpdate: unable to retrieve manifest: HTTP error status=404"},
        {"reset while reading", {newer, 200, kBodyLength, true, true, 100}, 2,
            "L4 CheckForUpdate: exception: The connection with the server was reset"},
        {"body shorter than announced", {newer, 200, 4000}, 3,
            "L4 AutoUpdate failed: manifest ended after " + std::to_string(newer.size()) + " of 4000 bytes"},
        {"body longer than announced", {newer, 200, 100}, 3, "L4 AutoUpdate failed: manifest longer than 100 bytes"},
        {"announced beyond the cap", {newer, 200, 2 << 20}, 3, "L4 AutoUpdate failed: manifest longer than 1048576 bytes"},
        {"beyond the cap, unannounced", {std::string(1100000, ' ') + newer, 200, kNoLength}, 3,
            "L4 AutoUpdate failed: manifest longer than 1048576 bytes"},
        {"empty", {""}, 4, "L4 AutoUpdate failed: unable to parse manifest"},
        {"not XML", {"<CAutoUpdateManifest"}, 4, "L4 AutoUpdate failed: unable to parse manifest"},
        {"no product", {"<CAutoUpdateManifest UrlOfUpdate=\"http://x/a.exe\"/>"}, 4,
            "L4 AutoUpdate failed: could not locate Product element in manifest"},
        {"other product", {newer}, 5,
            "L4 Update failed: product mismatch (installed product=ORV Desktop Pro manifest=ORV Desktop)", false, "ORV Charts"},
        {"no application name", {newer}, 5,
            "L4 Update failed: no application name to compare with the manifest's (ORV Desktop)", false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m_context.m_bManual = row.manual;
        m_context.m_ApplicationName = row.application;
        m_context.m_InstalledReleaseType = row.installed;
        m_transport.m_replies.clear();
        EXPECT_EQ(Query(row.reply, row.path), row.status);
        EXPECT_EQ(LastLog(), row.log);
    }
    m_context.m_BaseURL = "ftp://updates.test/";
    EXPECT_EQ(Query({newer}), 1);
    EXPECT_EQ(LastLog(), "L4 AutoUpdate failed: invalid manifest URL ftp://updates.test/release/update.manifest");
}

TEST_F(AutoUpdateCheckTest, ConfirmationFollowsBehaviourCheckKindAndUpdateTypeAndThePromptWordsIt)
{
    using C = CAutoUpdateCheck;
    struct Row { int behavior; bool manual; const char* update; C::Confirmation expected; } rows[] = {
        {0, false, "optional", C::confirmAsk},   {2, false, "forced", C::confirmDownload},
        {3, false, "forced", C::confirmSkip},    {3, true, "optional", C::confirmAsk},
        {1, false, "optional", C::confirmSkip},  {1, false, "forced", C::confirmAsk},
        {1, true, "optional", C::confirmAsk},
    };
    for (const Row& row : rows) {
        m_context.m_Behavior = row.behavior;
        m_context.m_bManual = row.manual;
        ASSERT_EQ(Query({Manifest("1.3.0.0", "release", row.update)}), -1);
        EXPECT_EQ(m_check->ConfirmUpdate(), row.expected) << row.behavior << " " << row.manual << " " << row.update;
        EXPECT_EQ(m_check->AnswerPrompt(true), -1);
    }
    m_context.m_Behavior = 3;
    m_context.m_bManual = true;
    ASSERT_EQ(Query({Manifest("1.3.0.0", "rc", "forced", "SizeOfUpdate=\"12,345,678\"")}), -1);
    CAutoUpdatePrompt prompt = m_check->GetPrompt();
    EXPECT_EQ(prompt.m_Title, "Auto Update: REQUIRED Update Available for Download");
    EXPECT_EQ(prompt.m_Heading, "orv desktop 1.3.0.0 - RC (12,056 KB)");
    EXPECT_EQ(prompt.m_Message, "There is a REQUIRED newer version available\nWould you like to download it now?");
    EXPECT_EQ(prompt.m_YesText, "Yes, download and install the update now (application restart required).");
    EXPECT_EQ(prompt.m_NoText, "No, I will update during the next restart.");
    EXPECT_EQ(prompt.m_MoreInfo, CAutoUpdatePrompt::moreInfoLink);
    ASSERT_EQ(prompt.m_Behaviors.GetSize(), 4);
    EXPECT_EQ(prompt.m_Behaviors[0], "Prompt for optional and required updates   (default)");
    EXPECT_EQ(prompt.m_Behaviors[3], "Do not prompt for or download updates");
    EXPECT_EQ(prompt.m_SelectedBehavior, 3);
    EXPECT_EQ(m_check->GetDownloadTitle(), "Downloading ORV Desktop Version 1.3.0.0 (REQUIRED UPDATE)");

    m_context.m_bManual = false;
    ASSERT_EQ(Query({Manifest("1.3.0.0", "rc", "forced")}), -1);
    EXPECT_EQ(m_check->GetPrompt().m_NoText, "No, close the application.");

    m_context.m_Behavior = 1;
    ASSERT_EQ(Query({Manifest("1.3.0.0")}), -1);
    prompt = m_check->GetPrompt();
    EXPECT_EQ(prompt.m_Title, "Auto Update: Update Available for Download");
    EXPECT_EQ(prompt.m_Heading, "orv desktop 1.3.0.0");
    EXPECT_EQ(prompt.m_Message, "There is a newer version available.\nWould you like to download it now?");
    EXPECT_EQ(prompt.m_YesText, "&Yes, download and install the update now.");
    EXPECT_EQ(prompt.m_NoText, "&No, I will upgrade later.");
    EXPECT_EQ(prompt.m_Behaviors.GetSize(), 3);
    EXPECT_EQ(prompt.m_Behaviors[1], "Prompt only for required updates");
    EXPECT_EQ(prompt.m_SelectedBehavior, 1);
}

TEST_F(AutoUpdateCheckTest, OnlyAWholePackageIsSavedAndStarted)
{
    const std::string package(5000, 'P');
    struct Row {
        const char* name;
        Reply reply;
        int status;
        const char* log;
        const char* update = "optional";
        int cancelAtPart = -1;
        const char* packageUrl = "http://dl.test/pkg/OrvSetup.exe";
    } rows[] = {
        {"whole, announced", {package}, 8, "L3 Downloading update: http://dl.test/pkg/OrvSetup.exe"},
        {"whole, unannounced", {package, 200, kNoLength}, 8, "L3 Downloading update: http://dl.test/pkg/OrvSetup.exe"},
        {"not found", {"", 404}, 6, "L4 Update failed: HTTP error status=404."},
        {"no connection", {package, 200, kBodyLength, false}, 6,
            "L4 DownloadUpdate: exception: A connection with the server could not be established"},
        {"status unreadable", {package, 200, kBodyLength, true, false}, 6,
            "L4 Update failed: could not read HTTP status - error 12150."},
        {"shorter than announced", {package, 200, 6000}, 6, "L4 Update failed: download ended after 5000 of 6000 bytes ("},
        {"longer than announced", {package, 200, 4000}, 6, "L4 Update failed: download longer than 4000 bytes ("},
        {"announced beyond the cap", {package, 200, 600LL << 20}, 6, "L4 Update failed: download longer than 536870912 bytes ("},
        {"interrupted", {package, 200, kNoLength, true, true, 2100}, 6,
            "L4 DownloadUpdate: exception: The connection with the server was reset"},
        {"empty", {""}, 6, "L4 Update failed: empty download ("},
        {"cancelled, optional", {package}, 7, "L4 Update failed: download canceled.", "optional", 2},
        {"cancelled, forced", {package}, 9, "L4 Update failed: download canceled.", "forced", 2},
        {"no file name", {package}, 6, "L4 Update failed: could not parse filename (/pkg/).", "optional", -1, "http://dl.test/pkg/"},
        {"not a URL", {package}, 6, "L4 Update failed: invalid update URL (dl.test/pkg/OrvSetup.exe).", "optional", -1,
            "dl.test/pkg/OrvSetup.exe"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(m_root / "download" / "OrvSetup.exe");
        m_transport.m_replies[kPackage] = row.reply;
        m_transport.m_replies["dl.test/pkg/"] = row.reply;
        ASSERT_EQ(Query({Manifest("1.3.0.0", "release", row.update, "SizeOfUpdate=\"4096\"", row.packageUrl)}), -1);
        RecordingProgress progress;
        progress.m_cancelAtPart = row.cancelAtPart;
        EXPECT_EQ(m_check->DownloadUpdate(progress), row.status);
        EXPECT_EQ(LastLog().substr(0, std::string(row.log).size()), row.log);
        EXPECT_EQ(std::filesystem::exists(m_root / "download" / "OrvSetup.exe"), row.status == 8);
        CAutoUpdateInstall install;
        EXPECT_EQ(m_check->GetInstallCommand(progress, install), row.status == 8);
        if (row.status == 8) {
            EXPECT_EQ(orv_test::ReadFile(m_root / "download" / "OrvSetup.exe"), package);
            EXPECT_EQ(install.m_File, m_check->GetPackagePath());
            EXPECT_EQ(std::filesystem::path(install.m_File.GetString()), m_root / "download" / "OrvSetup.exe");
            const std::vector<std::string> expected = {"Progress: Connecting to update server|-1",
                "Progress: Beginning download|-1", "Progress: (0 KB of 4 KB downloaded)|0",
                "Progress: (1 KB of 4 KB downloaded)|25", "Progress: (2 KB of 4 KB downloaded)|50",
                "Progress: (2 KB of 4 KB downloaded)|50", "Progress: (3 KB of 4 KB downloaded)|75",
                "Progress: (4 KB of 4 KB downloaded)|100", "Progress: (4 KB of 4 KB downloaded)|100",
                "Progress: (4 KB of 4 KB downloaded)|100", "Download complete, press OK to install.|100",
                "Progress: Installing update...|-1"};
            EXPECT_EQ(progress.m_shown, expected);
        }
    }
}

TEST_F(AutoUpdateCheckTest, WithoutAFolderThePackageGoesToTheTemporaryFolder)
{
    const std::filesystem::path temp = m_root / "temp";
    std::filesystem::create_directories(temp);
    orv_test::ScopedEnvironment environment;
    for (const char* name : {"TMPDIR", "TMP", "TEMP"}) {
        environment.Set(name, temp.string());
    }
    m_context.m_DownloadFolder.Empty();
    m_transport.m_replies[kPackage] = {"installer"};
    ASSERT_EQ(Query({Manifest("1.3.0.0")}), -1);
    RecordingProgress progress;
    ASSERT_EQ(m_check->DownloadUpdate(progress), 8);
    CAutoUpdateInstall install;
    ASSERT_TRUE(m_check->GetInstallCommand(progress, install));
    EXPECT_TRUE(std::filesystem::equivalent(install.m_File.GetString(), temp / "OrvSetup.exe"));
    EXPECT_EQ(install.m_File, install.m_Folder + "OrvSetup.exe");
    EXPECT_EQ(orv_test::ReadFile(temp / "OrvSetup.exe"), "installer");
}

TEST(AutoUpdateProgressText, CountsWholeKilobytesAndCapsTheBar)
{
    struct Row { ULONGLONG received; DWORD size; const char* text; int percent; } rows[] = {
        {1536, 0, "(1 KB downloaded)", -1},
        {800, 1000, "(0 KB of 0 KB downloaded)", 0},
        {1234 * 1024, 2000 * 1024, "(1,234 KB of 2,000 KB downloaded)", 61},
        {9000, 4096, "(8 KB of 4 KB downloaded)", 100},
    };
    for (const Row& row : rows) {
        int percent = -2;
        EXPECT_EQ(CAutoUpdateCheck::ProgressText(row.received, row.size, percent), row.text);
        EXPECT_EQ(percent, row.percent) << row.text;
    }
}

TEST(AutoUpdateUrl, SplitsHttpAddressesAndNamesThePackage)
{
    struct Row {
        const char* url;
        bool valid;
        const char* server = "";
        int port = 0;
        const char* object = "";
        const char* fileName = "";
    } rows[] = {
        {"http://dl.test/pkg/OrvSetup.exe", true, "dl.test", 80, "/pkg/OrvSetup.exe", "OrvSetup.exe"},
        {"HTTPS://dl.test:8443", true, "dl.test", 8443, "/", ""},
        {"https://dl.test/a/Setup.msi?channel=beta#x", true, "dl.test", 443, "/a/Setup.msi?channel=beta#x", "Setup.msi"},
        {"http://dl.test/a/..", true, "dl.test", 80, "/a/..", ""},
        {"ftp://dl.test/a.exe", false}, {"http:///a.exe", false}, {"http://dl.test:65536/", false},
    };
    for (const Row& row : rows) {
        CAutoUpdateUrl url;
        ASSERT_EQ(url.Parse(row.url), row.valid) << row.url;
        if (row.valid) {
            EXPECT_EQ(url.m_Server, row.server);
            EXPECT_EQ(url.m_Port, row.port);
            EXPECT_EQ(url.m_Object, row.object);
            EXPECT_EQ(url.GetFileName(), row.fileName) << row.url;
        }
    }
}

} // namespace
