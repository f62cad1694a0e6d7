// CRegistry and COrvRegistry against the system's registry: the native
// store (a private store file per test) or, under Wine, the real registry
// of the test prefix. Keys are unique to the process and the test, and are
// removed at the end.
#include "services/Registry.h"

#include "framework/Archive.h"
#include "framework/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#if defined(_WIN32)
#  include <process.h>
#  define ORV_TEST_PID _getpid()
#else
#  include "platform/StoreTesting.h"
#  include <unistd.h>
#  define ORV_TEST_PID ::getpid()
#endif

namespace {

using Bytes = std::vector<BYTE>;

// A settings object of two fields, as an application would keep one.
class CWindowSettings : public CObject {
public:
    int m_columns = 0;
    CString m_title;

    void Serialize(CArchive& archive) override
    {
        if (archive.IsStoring()) {
            archive << m_columns << m_title;
        } else {
            archive >> m_columns >> m_title;
        }
    }
};

std::vector<std::string> Sorted(const CStringArray& names)
{
    std::vector<std::string> result;
    for (int i = 0; i < names.GetSize(); ++i) {
        result.emplace_back(names[i].GetString());
    }
    std::sort(result.begin(), result.end());
    return result;
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_path = "Software\\OrvCommonTests\\Registry-" + std::to_string(ORV_TEST_PID) + "-" + test;
#if !defined(_WIN32)
        m_folder = std::filesystem::temp_directory_path() / ("orv-services-" + std::to_string(ORV_TEST_PID) + "-" + test);
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        ::setenv("ORV_REGISTRY_FILE", (m_folder / "registry.txt").c_str(), 1);
        platform::ResetRegistryCacheForTesting();
#endif
        SHDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
        ASSERT_TRUE(m_registry.CreateKey(HKEY_CURRENT_USER, m_path.c_str()));
    }

    void TearDown() override
    {
        m_registry.Close();
        SHDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
        // Removed only when no other run is using it.
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\OrvCommonTests");
#if !defined(_WIN32)
        ::unsetenv("ORV_REGISTRY_FILE");
        platform::ResetRegistryCacheForTesting();
        std::filesystem::remove_all(m_folder);
#endif
    }

    // The stored type and bytes of a value of the held key.
    Bytes Raw(const char* name, DWORD expectedType)
    {
        DWORD type = 0;
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueExA(m_registry.GetKey(), name, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
        EXPECT_EQ(type, expectedType) << name;
        Bytes bytes(size);
        if (size > 0) {
            RegQueryValueExA(m_registry.GetKey(), name, nullptr, &type, bytes.data(), &size);
        }
        return bytes;
    }

    std::string m_path;
    std::filesystem::path m_folder;
    CRegistry m_registry;
};

} // namespace

TEST_F(RegistryTest, StringsAreTerminatedRegSz)
{
    ASSERT_TRUE(m_registry.WriteString("Name", "ORV Desktop"));
    const Bytes raw = Raw("Name", REG_SZ);
    EXPECT_EQ(std::string(raw.begin(), raw.end()), std::string("ORV Desktop", 12));
    CString text;
    EXPECT_TRUE(m_registry.ReadString("name", text));
    EXPECT_EQ(text, "ORV Desktop");

    ASSERT_TRUE(m_registry.WriteString("Empty", ""));
    EXPECT_TRUE(m_registry.ReadString("Empty", text));
    EXPECT_EQ(text, "");

    text = "unchanged";
    EXPECT_FALSE(m_registry.ReadString("Missing", text));
    EXPECT_EQ(text, "unchanged");
}

TEST_F(RegistryTest, ReadsOfTheWrongTypeFailAndLeaveTheTarget)
{
    const unsigned long number = 7;
    ASSERT_TRUE(m_registry.Write("Dword", number));
    ASSERT_TRUE(m_registry.Write("Int", 5));
    ASSERT_TRUE(m_registry.WriteString("Text", "1"));

    CString text("unchanged");
    EXPECT_FALSE(m_registry.ReadString("Dword", text));
    EXPECT_EQ(text, "unchanged");

    unsigned long dword = 99;
    EXPECT_FALSE(m_registry.Read("Int", dword)); // the int form is binary, not REG_DWORD
    EXPECT_EQ(dword, 99ul);

    int value = 42;
    EXPECT_FALSE(m_registry.Read("Text", value));
    EXPECT_FALSE(m_registry.Read("Dword", value));
    EXPECT_FALSE(m_registry.Read("Missing", value));
    EXPECT_EQ(value, 42);

    CByteArray bytes;
    bytes.Add(1);
    EXPECT_FALSE(m_registry.Read("Text", bytes));
    ASSERT_EQ(bytes.GetSize(), 1);

    bool flag = true;
    EXPECT_FALSE(m_registry.Read("Missing", flag));
    EXPECT_FALSE(flag);
    flag = true;
    EXPECT_FALSE(m_registry.Read("Text", flag));
    EXPECT_FALSE(flag);
}

TEST_F(RegistryTest, UnsignedLongIsRegDword)
{
    const unsigned long written = 0xDEADBEEFul;
    ASSERT_TRUE(m_registry.Write("Value", written));
    EXPECT_EQ(Raw("Value", REG_DWORD), (Bytes{0xEF, 0xBE, 0xAD, 0xDE}));
    unsigned long back = 0;
    EXPECT_TRUE(m_registry.Read("Value", back));
    EXPECT_EQ(back, written);
    DWORD dword = 0;
    EXPECT_TRUE(m_registry.Read("Value", dword));
    EXPECT_EQ(dword, 0xDEADBEEFu);
#if !defined(_WIN32)
    // A 64-bit unsigned long that REG_DWORD cannot hold is refused, not cut.
    const unsigned long tooBig = 0x100000000ul;
    EXPECT_FALSE(m_registry.Write("Value", tooBig));
    EXPECT_TRUE(m_registry.Read("Value", back));
    EXPECT_EQ(back, written);
#endif
}

TEST_F(RegistryTest, IntLongAndBoolShareTheFourByteBinaryForm)
{
    ASSERT_TRUE(m_registry.Write("Int", -2));
    EXPECT_EQ(Raw("Int", REG_BINARY), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    long asLong = 0;
    EXPECT_TRUE(m_registry.Read("Int", asLong));
    EXPECT_EQ(asLong, -2);

    const long big = 2000000000L;
    ASSERT_TRUE(m_registry.Write("Long", big));
    int asInt = 0;
    EXPECT_TRUE(m_registry.Read("Long", asInt));
    EXPECT_EQ(asInt, 2000000000);

    ASSERT_TRUE(m_registry.Write("Flag", true));
    EXPECT_EQ(Raw("Flag", REG_BINARY), (Bytes{0x01, 0x00, 0x00, 0x00}));
    ASSERT_TRUE(m_registry.Write("Off", false));
    EXPECT_EQ(Raw("Off", REG_BINARY), (Bytes{0x00, 0x00, 0x00, 0x00}));
    bool flag = false;
    EXPECT_TRUE(m_registry.Read("Flag", flag));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(m_registry.Read("Int", flag)); // any nonzero integer
    EXPECT_TRUE(flag);
    EXPECT_TRUE(m_registry.Read("Off", flag));
    EXPECT_FALSE(flag);
#if LONG_MAX > INT_MAX
    // Natively long is 64-bit; what the 4-byte form cannot hold is refused.
    const long huge = 5000000000L;
    EXPECT_FALSE(m_registry.Write("Long", huge));
    EXPECT_TRUE(m_registry.Read("Long", asLong));
    EXPECT_EQ(asLong, 2000000000L);
#endif
}

TEST_F(RegistryTest, ShortBinaryValuesRaiseEndOfFile)
{
    CByteArray two;
    two.Add(1);
    two.Add(2);
    ASSERT_TRUE(m_registry.Write("Short", two));

    int value = 42;
    try {
        m_registry.Read("Short", value);
        ADD_FAILURE() << "no exception";
    } catch (const CArchiveException& error) {
        EXPECT_EQ(error.m_cause, CArchiveException::endOfFile);
    }
    EXPECT_EQ(value, 42);

    bool flag = true;
    EXPECT_THROW(m_registry.Read("Short", flag), CArchiveException);
    EXPECT_FALSE(flag);
    CRect rect(1, 2, 3, 4);
    EXPECT_THROW(m_registry.Read("Short", rect), CArchiveException);
    EXPECT_EQ(rect, CRect(1, 2, 3, 4));
}

TEST_F(RegistryTest, ByteArraysAreStoredAsTheyAre)
{
    CByteArray bytes;
    for (int i = 0; i < 300; ++i) {
        bytes.Add(static_cast<BYTE>(i * 7));
    }
    ASSERT_TRUE(m_registry.Write("Blob", bytes));
    CByteArray back;
    back.Add(9);
    ASSERT_TRUE(m_registry.Read("Blob", back));
    ASSERT_EQ(back.GetSize(), 300);
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(back[i], static_cast<BYTE>(i * 7)) << i;
    }

    const CByteArray empty;
    ASSERT_TRUE(m_registry.Write("Empty", empty));
    EXPECT_TRUE(m_registry.Read("Empty", back));
    EXPECT_EQ(back.GetSize(), 0);
}

TEST_F(RegistryTest, RectanglesAreSixteenBytes)
{
    ASSERT_TRUE(m_registry.Write("Rect", CRect(-1, 2, 300, 0x01020304)));
    EXPECT_EQ(Raw("Rect", REG_BINARY), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0, 0, 0, 0x2C, 0x01, 0, 0, 0x04, 0x03,
                                              0x02, 0x01}));
    CRect back;
    EXPECT_TRUE(m_registry.Read("Rect", back));
    EXPECT_EQ(back, CRect(-1, 2, 300, 0x01020304));
}

TEST_F(RegistryTest, ObjectsUseTheirOwnSerialisation)
{
    CWindowSettings settings;
    settings.m_columns = 12;
    settings.m_title = "Quotes";
    ASSERT_TRUE(m_registry.Write("Settings", settings));
    EXPECT_EQ(Raw("Settings", REG_BINARY), (Bytes{12, 0, 0, 0, 6, 'Q', 'u', 'o', 't', 'e', 's'}));

    CWindowSettings back;
    EXPECT_TRUE(m_registry.Read("Settings", back));
    EXPECT_EQ(back.m_columns, 12);
    EXPECT_EQ(back.m_title, "Quotes");

    ASSERT_TRUE(m_registry.Write("Int", 3));
    EXPECT_THROW(m_registry.Read("Int", back), CArchiveException); // no title after the number
}

TEST_F(RegistryTest, OpenCloseAndVerify)
{
    CRegistry registry;
    EXPECT_EQ(registry.GetKey(), HKEY_CURRENT_USER);
    EXPECT_TRUE(registry.Close());
    EXPECT_EQ(registry.GetKey(), nullptr);
    EXPECT_FALSE(registry.Close());

    EXPECT_TRUE(registry.Open(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_EQ(registry.GetKeyPath(), m_path.c_str());
    EXPECT_TRUE(registry.WriteString("Here", "yes"));
    const std::string missing = m_path + "\\Missing";
    EXPECT_FALSE(registry.Open(HKEY_CURRENT_USER, missing.c_str()));
    EXPECT_EQ(registry.GetKey(), nullptr);
    EXPECT_EQ(registry.GetKeyPath(), missing.c_str());

    EXPECT_TRUE(registry.Open(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_TRUE(registry.VerifyValue("here"));
    EXPECT_FALSE(registry.VerifyValue("There"));
    EXPECT_TRUE(registry.VerifyKey(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_EQ(registry.GetKey(), nullptr);
    EXPECT_FALSE(registry.VerifyKey(HKEY_CURRENT_USER, missing.c_str()));
    EXPECT_EQ(registry.GetKey(), nullptr);
}

TEST_F(RegistryTest, RelativeOpenAndCreateReplaceTheHeldKey)
{
    ASSERT_TRUE(m_registry.CreateKey("Child"));
    ASSERT_TRUE(m_registry.WriteString("InChild", "1"));

    CRegistry registry;
    ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_FALSE(registry.VerifyValue("InChild"));
    EXPECT_TRUE(registry.Open("child", KEY_READ));
    EXPECT_TRUE(registry.VerifyValue("InChild"));
    EXPECT_FALSE(registry.Open("Nowhere", KEY_READ));
    EXPECT_TRUE(registry.VerifyValue("InChild")); // still held after the failed open

    ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_TRUE(registry.VerifyKey("Child"));
    EXPECT_EQ(registry.GetKey(), nullptr);
    EXPECT_FALSE(registry.Open("Child", KEY_READ)); // nothing held to open under

    // A held key passed back as the root stays open for the next call.
    ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, m_path.c_str()));
    const HKEY parent = registry.GetKey();
    ASSERT_TRUE(registry.CreateKey(parent, "A"));
    EXPECT_TRUE(registry.CreateKey(parent, "B"));
    EXPECT_EQ(RegCloseKey(parent), ERROR_SUCCESS);
}

TEST_F(RegistryTest, DeleteKeyRecursiveOrOnlyWhenEmpty)
{
    const std::string branch = m_path + "\\Branch";
    CRegistry registry;
    ASSERT_TRUE(registry.CreateKey(HKEY_CURRENT_USER, (branch + "\\Leaf").c_str()));
    ASSERT_TRUE(registry.WriteString("Value", "x"));
    registry.Close();
    EXPECT_FALSE(registry.DeleteKey(HKEY_CURRENT_USER, branch.c_str(), FALSE));
    EXPECT_TRUE(registry.VerifyKey(HKEY_CURRENT_USER, (branch + "\\Leaf").c_str()));
    EXPECT_TRUE(registry.DeleteKey(HKEY_CURRENT_USER, branch.c_str(), TRUE));
    EXPECT_FALSE(registry.VerifyKey(HKEY_CURRENT_USER, branch.c_str()));
    EXPECT_FALSE(registry.DeleteKey(HKEY_CURRENT_USER, branch.c_str(), TRUE));

    ASSERT_TRUE(m_registry.WriteString("Gone", "soon"));
    EXPECT_TRUE(m_registry.DeleteValue("Gone"));
    EXPECT_FALSE(m_registry.VerifyValue("Gone"));
    EXPECT_FALSE(m_registry.DeleteValue("Gone"));
}

TEST_F(RegistryTest, ListsSubkeysAndValues)
{
    for (const char* name : {"Charlie", "alpha", "Bravo"}) {
        CRegistry child;
        ASSERT_TRUE(child.CreateKey(HKEY_CURRENT_USER, (m_path + "\\" + name).c_str()));
    }
    ASSERT_TRUE(m_registry.WriteString("Two", "2"));
    ASSERT_TRUE(m_registry.Write("One", 1));

    CStringArray names;
    names.Add("stale");
    EXPECT_TRUE(m_registry.ListKey("", names));
    EXPECT_EQ(Sorted(names), (std::vector<std::string>{"Bravo", "Charlie", "alpha"}));
    EXPECT_TRUE(m_registry.ListValues("", names));
    EXPECT_EQ(Sorted(names), (std::vector<std::string>{"One", "Two"}));

    // A key without values gives an empty list; a missing key fails and
    // leaves the list alone.
    EXPECT_TRUE(m_registry.ListValues("Bravo", names));
    EXPECT_EQ(names.GetSize(), 0);
    names.Add("kept");
    EXPECT_FALSE(m_registry.ListKey("Delta", names));
    ASSERT_EQ(names.GetSize(), 1);
    EXPECT_EQ(names[0], "kept");
}

#if !defined(_WIN32)
// On Windows the failure is shown in a message box, which a test run cannot
// answer; the native build writes it to the host log instead.
TEST_F(RegistryTest, NameOfTwoHundredCharactersEndsTheListing)
{
    const std::string hostRoot = (m_folder / "host").string();
    const char* savedRoot = std::getenv("KESTREL_ROOT");
    const std::string previousRoot = savedRoot != nullptr ? savedRoot : "";
    ::setenv("KESTREL_ROOT", hostRoot.c_str(), 1);

    const std::string longName(200, 'z');
    for (const std::string& name : {std::string("a1"), std::string("a2"), longName}) {
        CRegistry child;
        ASSERT_TRUE(child.CreateKey(HKEY_CURRENT_USER, (m_path + "\\" + name).c_str()));
    }
    CStringArray names;
    EXPECT_FALSE(m_registry.ListKey("", names));
    EXPECT_EQ(Sorted(names), (std::vector<std::string>{"a1", "a2"}));

    ASSERT_TRUE(m_registry.WriteString("first", "1"));
    ASSERT_TRUE(m_registry.WriteString(longName.c_str(), "2"));
    EXPECT_FALSE(m_registry.ListValues("", names));
    EXPECT_EQ(Sorted(names), (std::vector<std::string>{"first"}));

    // Both failures are in the host log, at level 4, one line each.
    std::ifstream log(hostRoot + "/User/logs/kestrel.log");
    const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find(" L4 "), std::string::npos) << text;
    EXPECT_NE(text.find("More data is available.: 234 RegEnumKeyEx Registry 469\n"), std::string::npos) << text;
    EXPECT_NE(text.find("More data is available.: 234 RegEnumValue Registry 544\n"), std::string::npos) << text;
    if (savedRoot != nullptr) {
        ::setenv("KESTREL_ROOT", previousRoot.c_str(), 1);
    } else {
        ::unsetenv("KESTREL_ROOT");
    }

    // 199 characters and the NUL fill the buffer exactly.
    CRegistry child;
    ASSERT_TRUE(child.CreateKey(HKEY_CURRENT_USER, (m_path + "\\a2").c_str()));
    ASSERT_TRUE(child.WriteString(std::string(199, 'y').c_str(), "3"));
    EXPECT_TRUE(child.ListValues("", names));
    EXPECT_EQ(Sorted(names), (std::vector<std::string>{std::string(199, 'y')}));
}
#endif

TEST_F(RegistryTest, OrvRegistryHoldsTheGlobalSettingsKey)
{
    COrvRegistry probe;
    const bool existed = probe.VerifyKey(HKEY_CURRENT_USER, ORV_SETTINGS_GLOBAL_KEY);
#if !defined(_WIN32)
    EXPECT_FALSE(existed); // every native test starts from an empty store
#endif
    COrvRegistry settings;
    settings.VerifyCreateSettingsGlobal();
    // Created and held when it was missing; otherwise nothing is held.
    EXPECT_EQ(settings.GetKey() != nullptr, !existed);
    settings.VerifyCreateSettingsGlobal();
    EXPECT_EQ(settings.GetKey(), nullptr);

    ASSERT_TRUE(settings.Open(KEY_READ)); // the access is not used: full access
    EXPECT_EQ(settings.GetKeyPath(), ORV_SETTINGS_GLOBAL_KEY);
    const std::string child = "OrvCommonTests-" + std::to_string(ORV_TEST_PID);
    ASSERT_TRUE(settings.CreateKey(child.c_str()));
    ASSERT_TRUE(settings.Open(KEY_READ));
    ASSERT_TRUE(settings.Open(child.c_str(), KEY_READ));
    EXPECT_TRUE(settings.Write("Written", 1)); // writable despite KEY_READ
    settings.Close();
    EXPECT_TRUE(settings.DeleteKey(HKEY_CURRENT_USER, (std::string(ORV_SETTINGS_GLOBAL_KEY) + "\\" + child).c_str(),
                                   TRUE));
}
