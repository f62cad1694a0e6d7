// The user-folder functions against a private host root, private settings
// and private special folders: natively HOME and the XDG variables point
// into the test's folder; under Wine the user shell folders of the test
// prefix are redirected there for the test's duration. Nothing outside the
// test's folder is touched.
#include "services/UserFolders.h"

#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "platform/Shell.h"
#include "services/Registry.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#if defined(_WIN32)
#  include "platform/win32/ComPtr.h"
#  include <objbase.h>
#  include <objidl.h>
#  include <shlobj.h>
#  include <shlguid.h>
#endif

namespace fs = std::filesystem;
using orv_test::ReadFile;
using orv_test::WriteFile;

namespace {

#if defined(_WIN32)
const char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The path the shortcut at link points to, read back through the shell.
std::string LinkTarget(const std::string& link)
{
    platform::win32::CComPtr<IShellLinkA> shellLink;
    platform::win32::CComPtr<IPersistFile> file;
    char path[MAX_PATH] {};
    if (FAILED(shellLink.Create(CLSID_ShellLink, IID_IShellLinkA, CLSCTX_INPROC_SERVER))
        || FAILED(shellLink.QueryInterface(IID_IPersistFile, file))
        || FAILED(file->Load(fs::path(link).wstring().c_str(), STGM_READ))
        || FAILED(shellLink->GetPath(path, MAX_PATH, nullptr, 0))) {
        return "<not loaded>";
    }
    return path;
}
#endif

class UserFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_environment.Set("KESTREL_ROOT", (m_root / "host").string());
        fs::create_directories(m_desktop);
        fs::create_directories(m_programs);
#if defined(_WIN32)
        RedirectShellFolder("AppData", m_appData);
        RedirectShellFolder("Desktop", m_desktop);
        RedirectShellFolder("Programs", m_programs);
#else
        m_environment.Set("HOME", (m_root / "home").string());
        m_environment.Set("XDG_DATA_HOME", m_appData.string());
        m_environment.Set("XDG_DESKTOP_DIR", m_desktop.string());
#endif
    }

    void TearDown() override
    {
        for (const std::string& name : m_valueNames) {
            COrvRegistry registry;
            if (registry.Open()) {
                registry.DeleteValue(name.c_str());
            }
        }
#if defined(_WIN32)
        for (const auto& [name, saved] : m_savedShellFolders) {
            if (saved.has_value())
                SetShellFolder(name, *saved);
            else
                RegDeleteKeyValueA(HKEY_CURRENT_USER, kUserShellFolders, name.c_str());
        }
#endif
    }

#if defined(_WIN32)
    // Points the user's shell folder at the folder until the test ends, when
    // its previous value, or its absence, comes back.
    void RedirectShellFolder(const std::string& name, const fs::path& folder)
    {
        char old[MAX_PATH * 2] {};
        DWORD size = sizeof old - 1;
        const bool had = RegGetValueA(HKEY_CURRENT_USER, kUserShellFolders, name.c_str(),
                             RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, old, &size)
            == ERROR_SUCCESS;
        m_savedShellFolders.emplace_back(name, had ? std::optional<std::string>(old) : std::nullopt);
        ASSERT_EQ(SetShellFolder(name, folder.string()), ERROR_SUCCESS);
    }

    static LONG SetShellFolder(const std::string& name, const std::string& path)
    {
        return RegSetKeyValueA(HKEY_CURRENT_USER, kUserShellFolders, name.c_str(), REG_EXPAND_SZ, path.c_str(),
            DWORD(path.size() + 1));
    }
#endif

    // True when the special folder is the test's own, so that the shortcut
    // steps cannot reach a real user's folder.
    static bool IsPrivate(platform::SpecialFolder role, const fs::path& expected)
    {
        CString path;
        return platform::GetSpecialFolderPath(role, path) && fs::equivalent(fs::path(path.GetString()), expected);
    }

    void WriteGlobalSettings(const std::string& body)
    {
        WriteFile(m_root / "host" / "Kestrel.ini", "[GlobalSettings]\r\n" + body);
    }

    int FirstRun(const std::string& user)
    {
        m_valueNames.push_back("InstallTime" + user);
        return CheckFirstRunForWinUser(user.c_str());
    }

    orv_test::ScratchFolder m_scratch {"userfolders"};
    const fs::path m_root = m_scratch.Path();
    const fs::path m_appData = m_root / "appdata";
    const fs::path m_desktop = m_root / "desktop";
    const fs::path m_programs = m_appData / "applications";
    orv_test::PrivateRegistry m_store {m_root};
    orv_test::ScopedEnvironment m_environment;
    std::vector<std::string> m_valueNames;
#if defined(_WIN32)
    std::vector<std::pair<std::string, std::optional<std::string>>> m_savedShellFolders;
#endif
};

} // namespace

const std::string kSeparator(1, platform::kPathSeparator);

TEST_F(UserFoldersTest, HostFoldersAndTheDataAndLogsPaths)
{
    // The user folder last, for the logs path after the loop.
    const std::pair<BOOL (*)(CString&), const char*> folders[] = {
        {&GetWorkingDirectory, "Working"}, {&GetAllUsersDirectory, "AllUsers"}, {&GetUserDirectory, "User"}};
    CString folder;
    for (const auto& [get, name] : folders) {
        ASSERT_TRUE(get(folder)) << name;
        EXPECT_TRUE(fs::equivalent(fs::path(folder.GetString()), m_root / "host" / name)) << name;
    }
    EXPECT_EQ(std::string(GetLogsPath("x.log")), std::string(folder) + kSeparator + "logs" + kSeparator + "x.log");

    // When the host cannot make its folders, the functions fail and leave
    // the folder as it was; the paths are still joined, from nothing.
    WriteFile(m_root / "blocker", "a file where the host root should be");
    m_environment.Set("KESTREL_ROOT", (m_root / "blocker" / "root").string());
    CString untouched = "before";
    for (const auto& [get, name] : folders)
        EXPECT_FALSE(get(untouched)) << name;
    EXPECT_EQ(untouched, "before");
    EXPECT_EQ(std::string(GetDataPath("f.xml")), "data" + kSeparator + "f.xml");

    // A host that reports success with an empty folder fails too.
    struct Host {
        static int Empty(char* buffer, int) { return buffer[0] = '\0', 1; }
        static int Failed(char* buffer, int) { return buffer[0] = 'x', buffer[1] = '\0', 0; }
        static int Folder(char* buffer, int) { return buffer[0] = 'x', buffer[1] = '\0', 1; }
    };
    EXPECT_FALSE(GetHostFolder(&Host::Empty, untouched));
    EXPECT_FALSE(GetHostFolder(&Host::Failed, untouched));
    EXPECT_EQ(untouched, "before");
    EXPECT_TRUE(GetHostFolder(&Host::Folder, untouched));
    EXPECT_EQ(untouched, "x");

    // The executable's folder, with a trailing separator.
    const CString appFolder = GetAppPath();
    ASSERT_FALSE(appFolder.IsEmpty());
    EXPECT_EQ(appFolder[appFolder.GetLength() - 1], platform::kPathSeparator);
    const CString program(platform::ModuleFileName(nullptr).c_str());
    EXPECT_EQ(std::string(program.Left(appFolder.GetLength())), std::string(appFolder));
    EXPECT_TRUE(fs::is_regular_file(fs::path(program.GetString())));
}

TEST_F(UserFoldersTest, CreateUserDirectoryCopiesSharedFilesAndKeepsOrReplacesExistingOnes)
{
    const fs::path shared = m_root / "host" / "AllUsers" / "Layouts";
    const fs::path own = m_root / "host" / "User" / "Layouts";
    WriteFile(shared / "a.txt", "shared a");
    WriteFile(shared / "b.dat", "shared b");
    WriteFile(shared / "inner" / "c.txt", "not copied: folders are skipped");
    const std::string sub = kSeparator + "Layouts";

    CreateUserDirectory(sub.c_str(), FALSE, FALSE);
    EXPECT_TRUE(fs::is_directory(own));
    EXPECT_FALSE(fs::exists(own / "b.dat"));

    WriteFile(own / "a.txt", "mine");
    CreateUserDirectory(sub.c_str(), TRUE, FALSE);
    EXPECT_EQ(ReadFile(own / "a.txt"), "mine");
    EXPECT_EQ(ReadFile(own / "b.dat"), "shared b");

    CreateUserDirectory(sub.c_str(), TRUE, TRUE);
    EXPECT_EQ(ReadFile(own / "a.txt"), "shared a");
    EXPECT_EQ(ReadFile(own / "b.dat"), "shared b");
    // Nothing is left over from the copies, and no folder was copied.
    EXPECT_EQ(std::distance(fs::directory_iterator(own), {}), 2);
}

TEST_F(UserFoldersTest, FirstRunIsReportedOncePerUserAndInstallTime)
{
    const std::string user = "tester" + std::to_string(orv_test::ProcessId());
    WriteGlobalSettings("InstallTime=2026-11-30 08:15\r\n");
    EXPECT_EQ(FirstRun(user), 1);
    EXPECT_EQ(FirstRun(user), 0);
    EXPECT_EQ(FirstRun(user + "-other"), 1);
    EXPECT_EQ(FirstRun(user + "-other"), 0);

    COrvRegistry registry;
    ASSERT_TRUE(registry.Open());
    CString stored;
    ASSERT_TRUE(registry.ReadString(("InstallTime" + user).c_str(), stored));
    EXPECT_EQ(std::string(stored), "2026-11-30 08:15");

    // A reinstall changes the install time and reports once more.
    WriteGlobalSettings("InstallTime=2026-12-06 09:00\r\n");
    EXPECT_EQ(FirstRun(user), 1);
    EXPECT_EQ(FirstRun(user), 0);

    // Without an install time every call is a first run.
    WriteGlobalSettings("");
    EXPECT_EQ(FirstRun(user), 1);
    EXPECT_EQ(FirstRun(user), 1);
}

TEST_F(UserFoldersTest, RecursiveFindListsSubfoldersFirstAndRemoveDirectoryAndFilesTakesEverythingBelow)
{
    const fs::path tree = m_root / "tree";
    WriteFile(tree / "a.txt", "");
    WriteFile(tree / "b.log", "");
    WriteFile(tree / "sub" / "c.TXT", "");
    WriteFile(tree / "sub" / "deeper" / "d.txt", "");
    fs::create_directories(tree / "folder.txt");
    CStringArray found;
    found.Add("kept");
    RecursiveFind(tree.string().c_str(), "*.txt", found);
    const std::vector<std::string> paths(found.GetData(), found.GetData() + found.GetSize());
    const std::string base = tree.string() + kSeparator;
    EXPECT_EQ(paths, (std::vector<std::string> {"kept", base + "sub" + kSeparator + "deeper" + kSeparator + "d.txt",
                         base + "sub" + kSeparator + "c.TXT", base + "a.txt"}));

    EXPECT_TRUE(IsDirectory(tree.string().c_str()));
    EXPECT_FALSE(IsDirectory((tree / "a.txt").string().c_str()));
    EXPECT_FALSE(IsDirectory((tree / "missing").string().c_str()));

    const fs::path doomed = m_root / "doomed";
    WriteFile(doomed / "a.txt", "a");
    WriteFile(doomed / ".hidden" / "b.txt", "b");
    WriteFile(doomed / "sub" / "deeper" / "c", "c");
    fs::create_directories(doomed / "sub" / "empty");
    EXPECT_NE(RemoveDirectoryAndFiles(doomed.string().c_str()), FALSE);
    EXPECT_FALSE(fs::exists(doomed));
    EXPECT_EQ(RemoveDirectoryAndFiles(doomed.string().c_str()), FALSE);
    EXPECT_EQ(RemoveDirectoryAndFiles(""), FALSE);

    // A link, inside the folder or given as the folder, goes as a link;
    // what it points to stays.
#if defined(_WIN32)
    // Wine cannot make links: the test run makes one beside its target
    // (tests/CMakeLists.txt). Wine follows a folder link when asked to
    // remove it, so there the link stays; its target must stay whole.
    const fs::path link = orv_test::GetEnvironment("ORV_TEST_FOLDER_LINK").value_or("");
    if (link.empty()) {
        GTEST_SKIP() << "ORV_TEST_FOLDER_LINK names no prepared folder link";
    }
    const fs::path outside = link.parent_path() / "target";
    const BOOL removed = RemoveDirectoryAndFiles(link.string().c_str());
    EXPECT_EQ(removed != FALSE, GetFileAttributesA(link.string().c_str()) == INVALID_FILE_ATTRIBUTES);
#else
    const fs::path outside = m_root / "outside";
    const fs::path link = m_root / "link";
    WriteFile(outside / "keep.txt", "keep");
    fs::create_directories(doomed);
    fs::create_directory_symlink(outside, doomed / "link");
    fs::create_directory_symlink(outside, link);
    EXPECT_NE(RemoveDirectoryAndFiles(doomed.string().c_str()), FALSE);
    EXPECT_FALSE(fs::exists(doomed));
    EXPECT_NE(RemoveDirectoryAndFiles(link.string().c_str()), FALSE);
    EXPECT_FALSE(fs::is_symlink(link));
#endif
    EXPECT_EQ(ReadFile(outside / "keep.txt"), "keep");
}

TEST(UserFolders, ParseFilenameIsProcessRunningAndResolveIP)
{
    // A file name without its folder and extension.
    const std::pair<const char*, const char*> cases[] = {{"C:\\a.b\\file", "file"}, {"C:\\dir\\file.tar.gz", "file.tar"},
        {"/home/x.y/report.pdf", "report"}, {"plain", "plain"}, {"name.", "name"}, {"C:\\dir\\.profile", ""},
        {"C:\\dir\\", ""}, {"", ""}};
    for (const auto& [path, expected] : cases) {
        CString name = "stale";
        ParseFilename(path, name);
        EXPECT_EQ(std::string(name), expected) << path;
    }

    // This program, named without regard to case.
    std::string name = fs::path(platform::ModuleFileName(nullptr)).filename().string();
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    EXPECT_TRUE(IsProcessRunning(name.c_str()));
    EXPECT_FALSE(IsProcessRunning("no-such-program-4711.exe"));
    EXPECT_FALSE(IsProcessRunning(""));

    EXPECT_EQ(std::string(ResolveIP("10.1.2.3")), "10.1.2.3");
    EXPECT_EQ(std::string(ResolveIP("localhost")), "127.0.0.1");
    EXPECT_EQ(std::string(ResolveIP("no-such-host.invalid")), "no-such-host.invalid");
}

TEST_F(UserFoldersTest, CleanupRemovesOldShortcutsAndFoldersAndMakesTheQuickLaunchShortcut)
{
    if (!IsPrivate(platform::SpecialFolder::Desktop, m_desktop) || !IsPrivate(platform::SpecialFolder::AppData, m_appData)
        || !IsPrivate(platform::SpecialFolder::Programs, m_programs)) {
        GTEST_SKIP() << "the special folders could not be redirected into the test's folder";
    }
    const fs::path quickLaunch = m_appData / "Microsoft" / "Internet Explorer" / "Quick Launch";
    for (const fs::path& folder : {quickLaunch, m_desktop}) {
        for (const char* name : {"ORV Sextant.lnk", "ORV Sextant Pro.lnk", "Tramline Sextant.lnk", "Other.lnk"}) {
            WriteFile(folder / name, "old");
        }
    }
    WriteFile(m_programs / "ORV Sextant" / "Help" / "a.lnk", "old");
    WriteFile(m_programs / "Tramline Sextant" / "b.lnk", "old");
    WriteFile(m_programs / "Keep Me" / "c.lnk", "kept");

    // Lower-case "a" does not ask for the shortcut.
    WriteGlobalSettings("QuickLaunch=always\r\n");
    CleanupAndCreateShellLinks();
    for (const fs::path& folder : {quickLaunch, m_desktop}) {
        for (const char* name : {"ORV Sextant.lnk", "ORV Sextant Pro.lnk", "Tramline Sextant.lnk", "Other.lnk"})
            EXPECT_EQ(fs::exists(folder / name), std::string(name) == "Other.lnk") << name;
    }
    EXPECT_FALSE(fs::exists(m_programs / "ORV Sextant"));
    EXPECT_FALSE(fs::exists(m_programs / "Tramline Sextant"));
    EXPECT_TRUE(fs::exists(m_programs / "Keep Me" / "c.lnk"));
    const fs::path link = quickLaunch / "ORV Desktop.lnk";
    EXPECT_FALSE(fs::exists(link));

    // A missing Desktop skips that step only.
    fs::remove_all(m_desktop);
    WriteGlobalSettings("QuickLaunch=Always\r\n");
    CleanupAndCreateShellLinks();
#if defined(_WIN32)
    platform::CComScope com;
    EXPECT_EQ(LinkTarget(link.string()), platform::ModuleFileName(nullptr));
#else
    EXPECT_FALSE(fs::exists(link)); // no shortcuts natively
#endif
}

TEST_F(UserFoldersTest, CreateLinkSavesAShortcutOrReportsFailure)
{
    const std::string link = (m_root / "made.lnk").string();
    const std::string unreachable = (m_root / "missing-folder" / "made.lnk").string();
    const CString program(platform::ModuleFileName(nullptr).c_str());
    platform::CComScope com;
#if defined(_WIN32)
    EXPECT_EQ(CreateLink(program, link.c_str(), "a description"), S_OK);
    EXPECT_EQ(LinkTarget(link), std::string(program));
    EXPECT_LT(CreateLink(program, unreachable.c_str(), ""), 0);
#else
    EXPECT_EQ(CreateLink(program, link.c_str(), ""), E_NOTIMPL);
    EXPECT_FALSE(fs::exists(link));
#endif
}
