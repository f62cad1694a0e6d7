// Shortcut clean-up after earlier product names, and the Quick Launch
// shortcut.
#include "services/UserFolders.h"

#include "platform/FileSystem.h"
#include "services/PathJoin.h"

#include "Kestrel.h"

#if __has_include("services/Branding.h")
#  include "services/Branding.h"
#  define ORV_HAVE_BRANDING 1
#endif

namespace {

const char* const kOldProductNames[] = {"ORV Sextant", "ORV Sextant Pro", "Tramline Sextant"};

// The special folder with a trailing separator; false when there is none.
bool FolderWithSeparator(platform::SpecialFolder role, CString& folder)
{
    if (!platform::GetSpecialFolderPath(role, folder)) {
        return false;
    }
    folder += platform::kPathSeparator;
    return true;
}

void DeleteOldShortcuts(const CString& folder)
{
    for (const char* name : kOldProductNames) {
        platform::DeleteFileAt(folder + name + ".lnk");
    }
}

// The shortcut name with "$APPNAME$" replaced by the branded application
// name.
CString QuickLaunchLinkPath(const CString& folder)
{
    CString path;
    path.Format("%s$APPNAME$.lnk", folder.GetString());
#if defined(ORV_HAVE_BRANDING)
    CBrandedResources branded;
    return ReplaceBrandedAppName(path);
#else
    // The library's own application title, until branding is built in.
    path.Replace("$APPNAME$", "ORV Desktop");
    return path;
#endif
}

void CleanQuickLaunch()
{
    CString folder;
    if (!FolderWithSeparator(platform::SpecialFolder::AppData, folder)) {
        return;
    }
    const char separator[] = {platform::kPathSeparator, '\0'};
    folder = folder + "Microsoft" + separator + "Internet Explorer" + separator + "Quick Launch" + separator;
    DeleteOldShortcuts(folder);

    char quickLaunch[48] {};
    HostGetGlobalSetting("GlobalSettings", "QuickLaunch", quickLaunch, 47, "");
    if (quickLaunch[0] != 'A') {
        return;
    }
    const CString link = QuickLaunchLinkPath(folder);
    platform::CComScope com;
    CreateLink(platform::GetExecutablePath(), link, "");
}

void CleanDesktop()
{
    CString folder;
    if (FolderWithSeparator(platform::SpecialFolder::Desktop, folder)) {
        DeleteOldShortcuts(folder);
    }
}

void CleanStartMenu()
{
    CString folder;
    if (!FolderWithSeparator(platform::SpecialFolder::Programs, folder)) {
        return;
    }
    for (const char* name : kOldProductNames) {
        const CString old = folder + name;
        if (platform::IsFolder(old)) {
            RemoveDirectoryAndFiles(old);
        }
    }
}

} // namespace

void CleanupAndCreateShellLinks()
{
    CleanQuickLaunch();
    CleanDesktop();
    CleanStartMenu();
}

HRESULT CreateLink(const char* target, const char* link, const char* description)
{
    return platform::CreateShellLink(target, link, description);
}
