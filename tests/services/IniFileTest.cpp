// CIniFile over the system's private-profile functions: the native ones,
// or under Wine the real ones. Each test works on a file of its own.
#include "services/IniFile.h"

#include "platform/Profile.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        orv_test::WriteFile(m_path, "");
        ASSERT_TRUE(m_ini.SetFile(m_path.string().c_str()));
        m_ini.SetSection("Main");
    }

    orv_test::ScratchFolder m_folder {"ini"};
    const std::filesystem::path m_path = m_folder / "test.ini";
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
    EXPECT_EQ(m_ini.GetString(nullptr, "Colour"), "blue");
    m_ini.SetSection(nullptr);
    EXPECT_EQ(m_ini.GetSection(), "");

    // Long values read as their first 255 characters.
    ASSERT_TRUE(m_ini.SetString("Main", "Long", std::string(300, 'v').c_str()));
    EXPECT_EQ(m_ini.GetString("Main", "Long"), CString('v', 255));

    // A null value deletes one key; DeleteSection the whole section.
    ASSERT_TRUE(m_ini.SetString("Other", "d", "4"));
    EXPECT_TRUE(m_ini.SetString("Other", "Colour", nullptr));
    EXPECT_EQ(m_ini.GetString("Other", "Colour", "gone"), "gone");
    EXPECT_EQ(m_ini.GetString("Other", "d"), "4");
    EXPECT_TRUE(m_ini.DeleteSection("Main"));
    EXPECT_EQ(m_ini.GetString("Main", "colour", "gone"), "gone");
    EXPECT_EQ(m_ini.GetString("Other", "d"), "4");
}

TEST_F(IniFileTest, BoolsAndNumbersAreReadAndWrittenAsTexts)
{
    const struct {
        const char* text;
        bool flag; // read with the opposite default
        long number;
        double real;
    } cases[] = {
        {"1", true, 1, 1}, {"y", true, 0, 0}, {"Yes", true, 0, 0}, {"YES", true, 0, 0}, {"10", true, 10, 10},
        {"0", false, 0, 0}, {"true", false, 0, 0}, {"", false, 0, 0}, {"-1", false, -1, -1},
        {"42abc", false, 42, 42}, {"99999999999999999999", false, 2147483647, 1e20}, {"3.5 units", false, 3, 3.5},
    };
    for (const auto& entry : cases) {
        ASSERT_TRUE(m_ini.SetString(nullptr, "Value", entry.text));
        EXPECT_EQ(m_ini.GetBool(nullptr, "Value", !entry.flag), entry.flag) << entry.text;
        EXPECT_EQ(m_ini.GetInt(nullptr, "Value", 7), int(entry.number)) << entry.text;
        EXPECT_EQ(m_ini.GetDouble(nullptr, "Value", 7), entry.real) << entry.text;
    }
    EXPECT_EQ(m_ini.GetLong(nullptr, "Value", 7), 3);
    // A missing key gives the default.
    EXPECT_TRUE(m_ini.GetBool(nullptr, "Missing", true));
    EXPECT_FALSE(m_ini.GetBool(nullptr, "Missing", false));
    EXPECT_EQ(m_ini.GetInt(nullptr, "Missing", -5), -5);
    EXPECT_EQ(m_ini.GetLong(nullptr, "Missing", 0), 0);
    EXPECT_EQ(m_ini.GetDouble(nullptr, "Missing", -2.25), -2.25);

    // What the setters write.
    ASSERT_TRUE(m_ini.SetBool(nullptr, "True", true));
    ASSERT_TRUE(m_ini.SetBool(nullptr, "False", false));
    ASSERT_TRUE(m_ini.SetLong(nullptr, "Long", -123456));
    ASSERT_TRUE(m_ini.SetInt(nullptr, "Zero", 0));
    ASSERT_TRUE(m_ini.SetDouble(nullptr, "NoDouble", 0.0));
    ASSERT_TRUE(m_ini.SetDouble(nullptr, "Double", 1.5));
    const std::pair<const char*, const char*> written[] = {{"True", "1"}, {"False", "0"}, {"Long", "-123456"},
        {"Zero", "0"}, {"NoDouble", "0"}, {"Double", "1.500000"}};
    for (const auto& [key, text] : written) {
        EXPECT_EQ(m_ini.GetString(nullptr, key), text) << key;
    }
}

TEST_F(IniFileTest, KeyNamesComeInFileOrderAndAreAppendedAndSetFileTakesOnlyFilesThatExist)
{
    orv_test::WriteFile(m_path, "[Main]\r\nZulu=1\r\nalpha=2\r\n[Other]\r\nx=3\r\n[main2]\r\nMike=4\r\n");
    CStringArray names;
    names.Add("existing");
    EXPECT_TRUE(m_ini.GetKeyNames(nullptr, names));
    EXPECT_EQ(std::vector<std::string>(names.GetData(), names.GetData() + names.GetSize()),
        (std::vector<std::string> {"existing", "Zulu", "alpha"}));
    CStringArray none;
    EXPECT_FALSE(m_ini.GetKeyNames("Missing", none));
    EXPECT_EQ(none.GetSize(), 0);

    // About 9000 characters of names: more than one read buffer.
    std::string section;
    for (int i = 0; i < 900; ++i) {
        section += "Key" + std::to_string(1000 + i) + "=" + std::to_string(i) + '\0';
    }
    ASSERT_TRUE(WritePrivateProfileSectionA("Big", (section + '\0').c_str(), m_ini.GetFile()));
    CStringArray big;
    ASSERT_TRUE(m_ini.GetKeyNames("Big", big));
    ASSERT_EQ(big.GetSize(), 900);
    EXPECT_EQ(big[0], "Key1000");
    EXPECT_EQ(big[899], "Key1899");

    // Another file only if it exists; none is the system's WIN.INI.
    const CString before = m_ini.GetFile();
    EXPECT_FALSE(m_ini.SetFile((m_folder / "no-such-file.ini").string().c_str()));
    EXPECT_EQ(m_ini.GetFile(), before);

    char windows[260] = {};
    ASSERT_GT(GetWindowsDirectoryA(windows, sizeof windows), 0u);
    EXPECT_TRUE(m_ini.SetFile(nullptr));
    EXPECT_EQ(m_ini.GetFile(), CString(windows) + "\\WIN.INI");
    const CIniFile defaulted;
    EXPECT_EQ(defaulted.GetFile(), CString(windows) + "\\WIN.INI");
    EXPECT_EQ(defaulted.GetSection(), "");
}
