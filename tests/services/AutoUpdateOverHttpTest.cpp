// The update check over WinInet against the update server stand-in: the
// same decisions as over any transport, with the bytes on a real socket.
#if defined(_WIN32)

#include "services/AutoUpdateCheck.h"
#include "services/win/WinInetUpdateTransport.h"

#include "UpdateCheckSupport.h"
#include "support/UpdateServer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class AutoUpdateOverHttp : public ::testing::Test {
protected:
    // (Re)starts the server on release 1.3.0.0 of the product and its package
    // (or the manifest text given), then runs a check with the script given;
    // the query's status.
    int Query(const std::string& script, const char* manifest = nullptr)
    {
        EXPECT_TRUE(m_server.Start());
        m_server.Put("pkg/OrvSetup.exe", m_package);
        m_server.Put("orv/release/update.manifest", manifest != nullptr ? std::string(manifest)
            : update_test::Manifest("1.3.0.0", "release", "optional", "", m_server.Url("/pkg/OrvSetup.exe")));
        m_server.Script(script);
        m_context.m_BaseURL = m_server.Url("/orv/").c_str();
        m_check = std::make_unique<CAutoUpdateCheck>(m_transport, m_context);
        return m_check->QueryForLatestVersion();
    }

    orv_test::ScratchFolder m_root {"updatehttp"};
    orv_test::ScopedEnvironment m_host {"KESTREL_ROOT", m_root.Path().string()};
    orv_test::UpdateServer m_server {m_root / "server"};
    const std::string m_package = std::string(40000, 'P') + "end";
    CAutoUpdateContext m_context = update_test::InstalledRelease(m_root.Path(), "ORV Desktop", "");
    CWinInetUpdateTransport m_transport;
    std::unique_ptr<CAutoUpdateCheck> m_check;
};

TEST_F(AutoUpdateOverHttp, AWholePackageIsSavedAndOnlyAWholeOne)
{
    const struct { const char* script; int status; } rows[] = {
        {"", 8},
        {"/pkg/OrvSetup.exe length=+500", 6},
        {"/pkg/OrvSetup.exe nolength", 8},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.script);
        std::filesystem::remove(m_root / "download" / "OrvSetup.exe");
        ASSERT_EQ(Query(row.script), -1);
        update_test::RecordingProgress progress;
        EXPECT_EQ(m_check->DownloadUpdate(progress), row.status);
        EXPECT_EQ(std::filesystem::exists(m_root / "download" / "OrvSetup.exe"), row.status == 8);
        if (row.status == 8) {
            EXPECT_TRUE(orv_test::ReadFile(m_root / "download" / "OrvSetup.exe") == m_package);
        }
    }
}

TEST_F(AutoUpdateOverHttp, AnEmptyOrUnreadableManifestOverTheWireIsAnErrorStatus)
{
    // What the manifest's contents decide is checked over the scripted
    // transport, and a manifest read over a socket by the package test.
    EXPECT_EQ(Query("", ""), 4);
    EXPECT_EQ(Query("/orv/release/update.manifest status=404"), 3);
    // A reply that never comes: Windows fails the request (2); Wine's
    // WinInet reports a status of 0, an HTTP error (3).
    const int dropped = Query("/orv/release/update.manifest drop");
    EXPECT_TRUE(dropped == 2 || dropped == 3) << dropped;
    // Every fetch reached the server: nothing came from a cache.
    EXPECT_EQ(m_server.Requests().size(), 1u);
    m_server.Stop();
    // Nobody listens any more.
    m_check = std::make_unique<CAutoUpdateCheck>(m_transport, m_context);
    EXPECT_EQ(m_check->QueryForLatestVersion(), 2);
}

} // namespace

#endif
