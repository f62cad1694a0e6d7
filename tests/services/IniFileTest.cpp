// CIniFile over the system's private-profile functions: the native ones,
// or under Wine the real ones. Each test works on a file of its own in the
// temporary folder.
#include "services/IniFile.h"

#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#if defined(_WIN32)
#  include <process.h>
#  define ORV_TEST_PID _getpid()
#else
#  include <unistd.h>
#  define ORV_TEST_PID ::getpid()
#endif

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_path = std::filesystem::temp_directory_path() /
                 ("orv-ini-" + std::to_string(ORV_TEST_PID) + "-" + test + ".ini");
        std::ofstream(m_path, std::ios::trunc).close();
        ASSERT_TRUE(m_ini.SetFile(m_path.string().c_str()));
        m_ini.SetSection("Main");
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
        // The native writer's lock file.
        std::filesystem::remove(m_path.string() + ".lock", ignored);
    }

    void WriteText(const std::string& text) { std::ofstream(m_path, std::ios::binary | std::ios::trunc) << text; }

    std::filesystem::path m_path;
    CIniFile m_ini;
};

} // namespace

TEST_F(IniFileTest, StringsUseTheCurrentSectionUnlessOneIsGiven)
{
    EXPECT_TRUE(m_ini.SetString(nullptr, "Colour", "red"));
    EXPECT_TRUE(m_ini.SetString("Other", "Colour", "blue"));
    EXPECT_EQ(m_ini.GetString(nullptr, "colour", "none"), "red");
    EXPECT_EQ(m_ini.GetString("OTHER", "Colour", "none"), "blue");
    EXPECT_EQ(m_ini.GetString(nullptr, "Missing", "none"), "none");
    EXPECT_EQ(m_ini.GetString("Nowhere", "Colour"), "");

    m_ini.SetSection("Other");
    EXPECT_EQ(m_ini.GetSection(), "Other");
    EXPECT_EQ(m_ini.GetString(nullptr, "Colour"), "blue");
    m_ini.SetSection(nullptr);
    EXPECT_EQ(m_ini.GetSection(), "");
}

TEST_F(IniFileTest, LongValuesReadAsTheirFirst255Characters)
{
    const std::string value(300, 'v');
    ASSERT_TRUE(m_ini.SetString(nullptr, "Long", value.c_str()));
    EXPECT_EQ(m_ini.GetString(nullptr, "Long"), CString('v', 255));
}

TEST_F(IniFileTest, SetFileTakesOnlyFilesThatExist)
{
    const CString before = m_ini.GetFile();
    const std::string missing = (m_path.parent_path() / "orv-no-such-file.ini").string();
    EXPECT_FALSE(m_ini.SetFile(missing.c_str()));
    EXPECT_EQ(m_ini.GetFile(), before);

    char windows[260] = {};
    const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    ASSERT_GT(length, 0u);
    EXPECT_TRUE(m_ini.SetFile(nullptr));
    EXPECT_EQ(m_ini.GetFile(), CString(windows) + "\\WIN.INI");

    const CIniFile defaulted;
    EXPECT_EQ(defaulted.GetFile(), CString(windows) + "\\WIN.INI");
    EXPECT_EQ(defaulted.GetSection(), "");
}

TEST_F(IniFileTest, BoolsAreOneOrYes)
{
    const char* const trueTexts[] = {"1", "y", "Y", "Yes", "YES", "10"};
    for (const char* text : trueTexts) {
        ASSERT_TRUE(m_ini.SetString(nullptr, "Flag", text));
        EXPECT_TRUE(m_ini.GetBool(nullptr, "Flag", false)) << text;
    }
    const char* const falseTexts[] = {"0", "true", "no", "", "-1"};
    for (const char* text : falseTexts) {
        ASSERT_TRUE(m_ini.SetString(nullptr, "Flag", text));
        EXPECT_FALSE(m_ini.GetBool(nullptr, "Flag", true)) << text;
    }
    EXPECT_TRUE(m_ini.GetBool(nullptr, "Missing", true));
    EXPECT_FALSE(m_ini.GetBool(nullptr, "Missing", false));

    ASSERT_TRUE(m_ini.SetBool(nullptr, "Written", true));
    EXPECT_EQ(m_ini.GetString(nullptr, "Written"), "1");
    ASSERT_TRUE(m_ini.SetBool(nullptr, "Written", false));
    EXPECT_EQ(m_ini.GetString(nullptr, "Written"), "0");
}

TEST_F(IniFileTest, NumbersReadAsAtolAndAtofRead)
{
    ASSERT_TRUE(m_ini.SetLong(nullptr, "Long", -123456));
    EXPECT_EQ(m_ini.GetString(nullptr, "Long"), "-123456");
    EXPECT_EQ(m_ini.GetLong(nullptr, "Long"), -123456);
    ASSERT_TRUE(m_ini.SetInt(nullptr, "Zero", 0));
    EXPECT_EQ(m_ini.GetString(nullptr, "Zero"), "0");

    ASSERT_TRUE(m_ini.SetString(nullptr, "Text", "42abc"));
    EXPECT_EQ(m_ini.GetInt(nullptr, "Text", 7), 42);
    ASSERT_TRUE(m_ini.SetString(nullptr, "Text", "abc"));
    EXPECT_EQ(m_ini.GetLong(nullptr, "Text", 7), 0);
    ASSERT_TRUE(m_ini.SetString(nullptr, "Text", "99999999999999999999"));
    EXPECT_EQ(m_ini.GetInt(nullptr, "Text"), 2147483647);
    EXPECT_EQ(m_ini.GetInt(nullptr, "Missing", -5), -5);
    EXPECT_EQ(m_ini.GetLong(nullptr, "Missing", 0), 0);

    ASSERT_TRUE(m_ini.SetDouble(nullptr, "Double", 0.0));
    EXPECT_EQ(m_ini.GetString(nullptr, "Double"), "0");
    ASSERT_TRUE(m_ini.SetDouble(nullptr, "Double", 1.5));
    EXPECT_EQ(m_ini.GetString(nullptr, "Double"), "1.500000");
    EXPECT_EQ(m_ini.GetDouble(nullptr, "Double"), 1.5);
    EXPECT_EQ(m_ini.GetDouble(nullptr, "Missing", -2.25), -2.25);
    ASSERT_TRUE(m_ini.SetString(nullptr, "Text", "3.5 units"));
    EXPECT_EQ(m_ini.GetDouble(nullptr, "Text"), 3.5);
}

TEST_F(IniFileTest, KeyNamesComeInFileOrderAndAreAppended)
{
    WriteText("[Main]\r\nZulu=1\r\nalpha=2\r\n[Other]\r\nx=3\r\n[main2]\r\nMike=4\r\n");
    CStringArray names;
    names.Add("existing");
    EXPECT_TRUE(m_ini.GetKeyNames(nullptr, names));
    ASSERT_EQ(names.GetSize(), 3);
    EXPECT_EQ(names[0], "existing");
    EXPECT_EQ(names[1], "Zulu");
    EXPECT_EQ(names[2], "alpha");

    CStringArray none;
    EXPECT_FALSE(m_ini.GetKeyNames("Missing", none));
    EXPECT_EQ(none.GetSize(), 0);

    // New keys go to the end of their section, not the end of the file.
    ASSERT_TRUE(m_ini.SetString(nullptr, "Yankee", "5"));
    CStringArray after;
    EXPECT_TRUE(m_ini.GetKeyNames("main", after));
    ASSERT_EQ(after.GetSize(), 3);
    EXPECT_EQ(after[2], "Yankee");
    EXPECT_EQ(m_ini.GetString("Other", "x"), "3");
}

TEST_F(IniFileTest, KeyNamesOfALargeSectionAreAllListed)
{
    // About 9000 characters of names: more than one read buffer.
    std::string section;
    for (int i = 0; i < 900; ++i) {
        section += "Key" + std::to_string(1000 + i) + "=" + std::to_string(i);
        section += '\0';
    }
    section += '\0';
    ASSERT_TRUE(WritePrivateProfileSectionA("Big", section.c_str(), m_ini.GetFile()));
    CStringArray names;
    ASSERT_TRUE(m_ini.GetKeyNames("Big", names));
    ASSERT_EQ(names.GetSize(), 900);
    EXPECT_EQ(names[0], "Key1000");
    EXPECT_EQ(names[899], "Key1899");
}

TEST_F(IniFileTest, DeleteSectionRemovesItsKeysOnly)
{
    ASSERT_TRUE(m_ini.SetString(nullptr, "a", "1"));
    ASSERT_TRUE(m_ini.SetString(nullptr, "b", "2"));
    ASSERT_TRUE(m_ini.SetString("Keep", "c", "3"));
    EXPECT_TRUE(m_ini.DeleteSection(nullptr));
    CStringArray names;
    EXPECT_FALSE(m_ini.GetKeyNames(nullptr, names));
    EXPECT_EQ(m_ini.GetString(nullptr, "a", "gone"), "gone");
    EXPECT_EQ(m_ini.GetString("Keep", "c"), "3");

    // Deleting single keys: a null value.
    ASSERT_TRUE(m_ini.SetString("Keep", "d", "4"));
    EXPECT_TRUE(m_ini.SetString("Keep", "c", nullptr));
    EXPECT_EQ(m_ini.GetString("Keep", "c", "gone"), "gone");
    EXPECT_EQ(m_ini.GetString("Keep", "d"), "4");
}
