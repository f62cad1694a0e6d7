// The update manager's portable part: status texts, the user's settings in
// the registry, the installed channel from the host's settings, and the
// guard that lets one check run at a time, raced by real threads.
#include "services/AutoUpdateCore.h"

#include "framework/WinApp.h"
#include "services/AutoUpdateCheck.h"
#include "services/Registry.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Core = CAutoUpdateCore;

// A manager that records what it posts. The core posts under its lock, and
// the tests read the record only after the threads that post have ended.
class RecordingManager : public CAutoUpdateCore {
public:
    using CAutoUpdateCore::BeginCheck;
    using CAutoUpdateCore::EndCheck;
    using CAutoUpdateCore::IsManualCheck;

    std::vector<std::pair<void*, int>> m_posts;

private:
    void PostStatus(void* window, int status) override { m_posts.emplace_back(window, status); }
};

void* Window(std::uintptr_t id)
{
    return reinterpret_cast<void*>(id);
}

// The global settings in a private store natively; under Wine the prefix's
// registry, with the values this test writes removed at the end.
class AutoUpdateCoreTest : public ::testing::Test {
protected:
    ~AutoUpdateCoreTest() override
    {
        COrvRegistry registry;
        if (registry.Open()) {
            registry.DeleteValue("AutoUpdateBehavior");
            registry.DeleteValue("AutoUpdateSkipCheck");
        }
    }

    void WriteSkipCheck(int value)
    {
        COrvRegistry registry;
        registry.VerifyCreateSettingsGlobal();
        ASSERT_TRUE(registry.Open());
        ASSERT_TRUE(registry.Write("AutoUpdateSkipCheck", value));
    }

    orv_test::ScratchFolder m_root {"updatecore"};
    orv_test::PrivateRegistry m_registry {m_root.Path()};
    orv_test::ScopedEnvironment m_host {"KESTREL_ROOT", (m_root / "host").string()};
};

TEST(AutoUpdateStatusText, EveryStatusHasItsTextAndPrompt)
{
    const char* const texts[] = {"Application is up to date.", "Update check failure: Invalid manifest path.",
        "Unable to retrieve update manifest.", "Error downloading update manifest.", "Unable to parse update manifest.",
        "Update check failure: Manifest product mismatch.", "Error downloading update package.",
        "Update download aborted.", "Update downloaded, ready for install.",
        "Update check failure: required update cancelled.", "Asynchronous operation has begun.",
        "Update check failure: General async error.", "Update check failure: Error cleaning up worker thread.",
        "Please let the current operation complete.", "Unknown error.", "Unknown error."};
    for (int status = 0; status <= 15; ++status) {
        EXPECT_STREQ(Core::UpdateStatusToString(status), texts[status]) << status;
        UINT icon = 99;
        const char* prompt = Core::ShouldPromptUpdateStatus(status, icon);
        const bool silent = status >= 7 && status <= 10;
        EXPECT_STREQ(prompt, silent ? nullptr : texts[status]) << status;
        EXPECT_EQ(icon, silent ? 0u : status == 0 ? 64u : 48u) << status;
    }
    EXPECT_STREQ(Core::UpdateStatusToString(-1), "Unknown error.");
}

TEST_F(AutoUpdateCoreTest, SettingsComeFromTheRegistryAndTheHost)
{
    EXPECT_EQ(Core::GetAutoUpdateBehavior(), 0);
    EXPECT_FALSE(Core::IsAutomaticCheckSkipped());
    ASSERT_TRUE(Core::SetAutoUpdateBehavior(2));
    EXPECT_EQ(Core::GetBehaviorText(2), "Automatically download all updates");
    EXPECT_EQ(Core::GetBehaviorText(4), "");

    const std::pair<const char*, const char*> channels[] = {
        {"", "Release"}, {"ReleaseType= BETA \r\n", "Beta"}, {"ReleaseType=rc\r\n", "RC"}, {"ReleaseType=gamma\r\n", "???"}};
    for (const auto& [setting, text] : channels) {
        orv_test::WriteFile(m_root / "host" / "Kestrel.ini", std::string("[GlobalSettings]\r\n") + setting);
        EXPECT_EQ(Core::GetInstalledReleaseType(), text) << setting;
    }

    RecordingManager manager;
    EXPECT_EQ(manager.GetUpdateManifestBaseURL(), "https://update.velkor.com/orvdesktop/");
    manager.SetUpdateManifestBaseURL("http://127.0.0.1:8080/orv");
    const CAutoUpdateContext context = manager.MakeCheckContext();
    EXPECT_EQ(context.m_BaseURL, "http://127.0.0.1:8080/orv/");
    EXPECT_EQ(context.m_Behavior, 2);
    EXPECT_EQ(context.m_InstalledReleaseType, "???");

    // Without an application object, or one without a name, the name is
    // empty (and the check then reports a product mismatch).
    ASSERT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(context.m_ApplicationName, "");
    {
        CWinApp unnamed;
        EXPECT_EQ(manager.MakeCheckContext().m_ApplicationName, "");
    }
    CWinApp named("ORV Desktop");
    EXPECT_EQ(manager.MakeCheckContext().m_ApplicationName, "ORV Desktop");
}

TEST_F(AutoUpdateCoreTest, SkippedOrRefusedCallsLeaveTheRunningCheckAlone)
{
    RecordingManager first;
    RecordingManager second;
    WriteSkipCheck(1);
    EXPECT_EQ(first.BeginCheck(false, false, Window(1)), 14); // automatic: nothing posted
    WriteSkipCheck(0);
    ASSERT_EQ(first.BeginCheck(false, true, Window(1)), 10);
    EXPECT_EQ(Core::GetCurrentInstance(), &first);

    EXPECT_EQ(first.BeginCheck(false, false, Window(2)), 13);  // posts to the caller
    EXPECT_EQ(first.BeginCheck(true, false, Window(3)), 13);   // a waiting caller gets the result only
    EXPECT_EQ(second.BeginCheck(false, true, Window(4)), 13);
    EXPECT_TRUE(first.IsManualCheck());

    first.EndCheck(8);
    EXPECT_EQ(first.m_posts, (std::vector<std::pair<void*, int>> {{Window(2), 13}, {Window(1), 8}}));
    EXPECT_EQ(second.m_posts, (std::vector<std::pair<void*, int>> {{Window(4), 13}}));
    EXPECT_EQ(second.BeginCheck(false, true, nullptr), 10);
    second.EndCheck(0);
}

TEST_F(AutoUpdateCoreTest, OneCheckAtATimeAcrossThreads)
{
    RecordingManager managers[2];
    std::atomic<int> running {0};
    std::atomic<int> overlaps {0};
    std::atomic<int> started {0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            RecordingManager& manager = managers[t % 2];
            for (int i = 0; i < 300; ++i) {
                if (manager.BeginCheck(true, true, Window(std::uintptr_t(t + 1))) != 10) {
                    continue;
                }
                ++started;
                if (++running != 1 || Core::GetCurrentInstance() != &manager) {
                    ++overlaps;
                }
                // The check ends on a worker of its own, as it does in the manager.
                std::thread([&] {
                    --running;
                    manager.EndCheck(0);
                }).join();
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_GT(started.load(), 0);
    EXPECT_EQ(Core::GetCurrentInstance(), nullptr);
    EXPECT_EQ(int(managers[0].m_posts.size() + managers[1].m_posts.size()), started.load());
}

} // namespace
