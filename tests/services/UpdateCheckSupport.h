// Shared by the update check tests: the context of an installed release, the
// text of a manifest that offers an update, and a progress dialog stand-in.
#pragma once

#include "services/AutoUpdateCheck.h"

#include <filesystem>
#include <string>
#include <vector>

namespace update_test {

// Release 1.2.0.0 of the product, run as "orv desktop" by process 4242, that
// downloads into <root>/download (made here).
inline CAutoUpdateContext InstalledRelease(const std::filesystem::path& root, const char* product, const char* baseUrl)
{
    CAutoUpdateContext context;
    context.m_BaseURL = baseUrl;
    context.m_InstalledReleaseType = "Release";
    context.m_InstalledVersion = CVersion(1, 2, 0, 0);
    context.m_InstalledProductName = product;
    context.m_ApplicationName = "orv desktop";
    context.m_ProcessId = 4242;
    context.m_DownloadFolder = (root / "download").string().c_str();
    std::filesystem::create_directories(root / "download");
    return context;
}

// A manifest offering the version of the product, with a "What's new" link.
inline std::string Manifest(const std::string& version, const std::string& release = "release",
    const std::string& update = "optional", const std::string& extra = "",
    const std::string& package = "http://dl.test/pkg/OrvSetup.exe", const std::string& product = "ORV Desktop")
{
    return "<?xml version=\"1.0\"?><CAutoUpdateManifest UrlOfUpdate=\"" + package + "\" ReleaseType=\"" + release
        + "\" UpdateType=\"" + update + "\" " + extra + "><Product Name=\"" + product + "\" Version=\"" + version
        + "\"/><MoreInfo Text=\"What's new\" Href=\"http://dl.test/news\"/></CAutoUpdateManifest>";
}

// Records what the progress dialog is shown; cancels after a chosen part.
class RecordingProgress : public IAutoUpdateProgress {
public:
    void ShowProgress(const char* text, int percent) override
    {
        m_shown.push_back(std::string(text) + "|" + std::to_string(percent));
    }
    bool IsCancelled() override { return ++m_parts == m_cancelAtPart; }

    std::vector<std::string> m_shown;
    int m_parts = 0;
    int m_cancelAtPart = -1;
};

} // namespace update_test
