// The native private-profile functions: the Win32 results the settings
// classes rely on, plus what the native writer adds (atomic writes, refusal
// of texts that would break lines). Native only; Windows has its own.
#if !defined(_WIN32)

#include "platform/Profile.h"
#include "platform/StoreTesting.h"
#include "platform/SystemTime.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

class ProfileStore : public ::testing::Test {
protected:
    void TearDown() override { platform::SetProfileWriteFaultForTesting(-1); }

    std::string Contents() const { return orv_test::ReadFile(m_file); }
    void SetContents(const std::string& text) const { orv_test::WriteFile(m_file, text); }

    // A value; without a key (or a section) the list of names, each with its
    // NUL, and the closing NUL.
    std::string Get(const char* section, const char* key, const char* fallback = "<default>") const
    {
        char buffer[256];
        const DWORD length = GetPrivateProfileStringA(section, key, fallback, buffer, sizeof buffer, m_file.c_str());
        return std::string(buffer, length + (section == nullptr || key == nullptr ? 1 : 0));
    }

    orv_test::ScratchFolder m_scratch {"profile"};
    const std::filesystem::path m_folder = m_scratch.Path();
    const std::string m_file = (m_folder / "test.ini").string();
};

} // namespace

TEST_F(ProfileStore, ReadsTheWayWindowsDoes)
{
    SetContents("; comment\n[ Main ]\n  Key = spaced value  \nquoted=\"  kept  \"\nsingle='x'\n"
                "bare\nKey=second\n[main]\nlater=1\n");
    EXPECT_EQ(Get("MAIN", "key"), "spaced value"); // first match, blanks trimmed
    EXPECT_EQ(Get("Main", "quoted"), "  kept  ");
    EXPECT_EQ(Get("Main", "single"), "x");
    EXPECT_EQ(Get("Main", "bare"), "");
    EXPECT_EQ(Get("Main", "later"), "<default>"); // only the first section of a name counts
    EXPECT_EQ(Get("Main", "missing", "fallback   "), "fallback");
    EXPECT_EQ(Get("Main", "missing", nullptr), "");
    EXPECT_EQ(Get("Main", nullptr, ""), std::string("Key\0quoted\0single\0bare\0Key\0\0", 28));
    EXPECT_EQ(Get(nullptr, nullptr, ""), std::string("Main\0main\0\0", 11));
}

TEST_F(ProfileStore, CutsTextsAndListsToTheBuffer)
{
    SetContents("[S]\nalpha=abcdefgh\nbeta=1\n");
    char buffer[5];
    EXPECT_EQ(GetPrivateProfileStringA("S", "alpha", "", buffer, sizeof buffer, m_file.c_str()), 4u);
    EXPECT_STREQ(buffer, "abcd");
    // "alpha\0beta\0\0" needs 12; a list cut short has its last name cut,
    // ends in two NULs and reports size - 2.
    char list[9];
    std::memset(list, 'x', sizeof list);
    EXPECT_EQ(GetPrivateProfileStringA("S", nullptr, "", list, sizeof list, m_file.c_str()), 7u);
    EXPECT_EQ(std::string(list, 9), std::string("alpha\0b\0\0", 9));
    EXPECT_EQ(GetPrivateProfileStringA("S", "alpha", "", buffer, 0, m_file.c_str()), 0u);
}

TEST_F(ProfileStore, WritesKeepOrderCommentsAndSpellingSectionWritesReplaceOrRemove)
{
    SetContents("; settings\n[Main]\nOne=1\n\nTwo=2\n[Next]\nThree=3\n");
    ASSERT_TRUE(WritePrivateProfileStringA("main", "ONE", "uno", m_file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Main", "Four", "4", m_file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("New", "Five", "5", m_file.c_str()));
    EXPECT_EQ(Contents(), "; settings\r\n[Main]\r\nOne=uno\r\n\r\nTwo=2\r\nFour=4\r\n[Next]\r\nThree=3\r\n"
                          "[New]\r\nFive=5\r\n");

    ASSERT_TRUE(WritePrivateProfileStringA("Main", "two", nullptr, m_file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("next", nullptr, nullptr, m_file.c_str()));
    EXPECT_EQ(Contents(), "; settings\r\n[Main]\r\nOne=uno\r\n\r\nFour=4\r\n[New]\r\nFive=5\r\n");

    // Deleting what is not there succeeds and leaves the file as it was.
    ASSERT_TRUE(WritePrivateProfileStringA("Main", "absent", nullptr, m_file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Absent", nullptr, nullptr, m_file.c_str()));
    EXPECT_EQ(Contents(), "; settings\r\n[Main]\r\nOne=uno\r\n\r\nFour=4\r\n[New]\r\nFive=5\r\n");
    SetContents("[A]\nx=1\ny=2\n[B]\nz=3\n");
    ASSERT_TRUE(WritePrivateProfileSectionA("a", "p=7\0q=8\0", m_file.c_str()));
    EXPECT_EQ(Contents(), "[A]\r\np=7\r\nq=8\r\n[B]\r\nz=3\r\n");
    ASSERT_TRUE(WritePrivateProfileSectionA("A", nullptr, m_file.c_str()));
    EXPECT_EQ(Contents(), "[B]\r\nz=3\r\n");
}

TEST_F(ProfileStore, RefusesTextsThatWouldBreakTheFileAndAFailedWriteLeavesItWhole)
{
    SetContents("[S]\nk=v\n");
    const std::string before = Contents();
    SetLastError(0);
    EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "two\nlines", m_file.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "a=b", "v", m_file.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("S]", "k", "v", m_file.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "k", "v", m_file.c_str()));
    EXPECT_FALSE(WritePrivateProfileSectionA("S", "a=1\0b=\r2\0", m_file.c_str()));
    EXPECT_EQ(Contents(), before);
    ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "old", m_file.c_str()));
    const std::string written = Contents();
    platform::SetProfileWriteFaultForTesting(5);
    EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "new", m_file.c_str()));
    EXPECT_EQ(Contents(), written);
    EXPECT_EQ(Get("S", "k"), "old");
    // Only the file and its lock are left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder), std::filesystem::directory_iterator()), 2);
    EXPECT_TRUE(WritePrivateProfileStringA("S", "k", "new", m_file.c_str()));
    EXPECT_EQ(Get("S", "k"), "new");
}

TEST_F(ProfileStore, PathsMayUseBackslashesAndBareNamesLiveInTheWindowsFolder)
{
    std::string windowsStyle = m_file;
    windowsStyle.replace(windowsStyle.rfind('/'), 1, "\\");
    ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "v", windowsStyle.c_str()));
    EXPECT_EQ(Get("S", "k"), "v");
    EXPECT_TRUE(PathFileExistsA(windowsStyle.c_str()));
    EXPECT_FALSE(PathFileExistsA((m_file + ".missing").c_str()));
    EXPECT_FALSE(PathFileExistsA(""));

    const orv_test::ScopedEnvironment host("KESTREL_ROOT", m_folder.string());
    char folder[512];
    const UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    EXPECT_EQ(std::string(folder, length), (m_folder / "Windows").string());
    EXPECT_EQ(GetWindowsDirectoryA(folder, 3), length + 1); // too small: the size needed
    ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "bare", "bare.ini"));
    EXPECT_TRUE(std::filesystem::exists(m_folder / "Windows" / "bare.ini"));
}

#endif
