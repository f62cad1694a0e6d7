// The product folders from the host, the per-user copy of shared files and
// the first-run check.
#include "services/UserFolders.h"

#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "services/Registry.h"

#include "Kestrel.h"

namespace {

// The host writes at most this many characters, terminator included.
constexpr int kFolderCapacity = 260;
constexpr int kSettingCapacity = 47;

void CopySharedFiles(const CString& from, const CString& to, bool overwrite)
{
    CArray<platform::DirectoryEntry> entries;
    platform::ListDirectory(from, "*.*", entries);
    for (int i = 0; i < entries.GetSize(); ++i) {
        if (entries[i].isDirectory) {
            continue;
        }
        const CString source = from + platform::kPathSeparator + entries[i].name;
        const CString target = to + platform::kPathSeparator + entries[i].name;
        platform::CopyFileTo(source, target, !overwrite);
    }
}

} // namespace

BOOL GetHostFolder(HostFolderFunction host, CString& folder)
{
    char buffer[kFolderCapacity + 1] {};
    if (host == nullptr || !host(buffer, kFolderCapacity) || buffer[0] == '\0') {
        return FALSE;
    }
    folder = buffer;
    return TRUE;
}

CString GetAppPath()
{
    const CString program(platform::ModuleFileName(nullptr).c_str());
    const int cut = program.ReverseFind(platform::kPathSeparator);
    return cut < 0 ? CString() : program.Left(cut + 1);
}

BOOL GetWorkingDirectory(CString& folder)
{
    return GetHostFolder(&HostGetWorkingDirectory, folder);
}

BOOL GetUserDirectory(CString& folder)
{
    return GetHostFolder(&HostGetUserDirectory, folder);
}

BOOL GetAllUsersDirectory(CString& folder)
{
    return GetHostFolder(&HostGetAllUsersDirectory, folder);
}

void CreateUserDirectory(const char* subfolder, BOOL copyFromAllUsers, BOOL overwrite)
{
    CString user;
    if (!GetUserDirectory(user)) {
        return;
    }
    const CString sub = subfolder != nullptr ? subfolder : "";
    platform::CreateFolder(user + sub);
    CString allUsers;
    if (copyFromAllUsers && GetAllUsersDirectory(allUsers)) {
        CopySharedFiles(allUsers + sub, user + sub, overwrite != FALSE);
    }
}

int CheckFirstRunForWinUser(const char* windowsUserName)
{
    // The text stays "AccessDenied" only if the host writes nothing at all.
    char installTime[kSettingCapacity + 1] = "AccessDenied";
    HostGetGlobalSetting("GlobalSettings", "InstallTime", installTime, kSettingCapacity, "");
    const CString install = installTime;

    COrvRegistry registry;
    registry.VerifyCreateSettingsGlobal();
    if (!registry.Open()) {
        return 0;
    }
    CString valueName;
    valueName.Format("InstallTime%s", windowsUserName != nullptr ? windowsUserName : "");
    CString stored;
    if (install.IsEmpty() || !registry.ReadString(valueName, stored) || stored != install) {
        registry.WriteString(valueName, install);
        return 1;
    }
    return 0;
}
