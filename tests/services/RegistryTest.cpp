// CRegistry and COrvRegistry against the system's registry: the native
// store (a private store file per test) or, under Wine, the real registry
// of the test prefix. Keys are unique to the process and the test, and are
// removed at the end.
#include "services/Registry.h"

#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

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
    std::vector<std::string> result(names.GetData(), names.GetData() + names.GetSize());
    std::sort(result.begin(), result.end());
    return result;
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SHDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
        ASSERT_TRUE(m_registry.CreateKey(HKEY_CURRENT_USER, m_path.c_str()));
    }

    void TearDown() override
    {
        m_registry.Close();
        SHDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
        // Removed only when no other run is using it.
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\OrvCommonTests");
    }

    // The stored type and bytes of a value of the held key.
    Bytes Raw(const char* name, DWORD expectedType)
    {
        DWORD type = 0;
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueExA(m_registry.GetKey(), name, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
        EXPECT_EQ(type, expectedType) << name;
        Bytes bytes(size);
        RegQueryValueExA(m_registry.GetKey(), name, nullptr, &type, bytes.data(), &size);
        return bytes;
    }

    // A value of the held key read as T, from start; the read must succeed.
    template <class T>
    T Read(const char* name, T start = T())
    {
        EXPECT_TRUE(m_registry.Read(name, start)) << name;
        return start;
    }
    std::string ReadText(const char* name)
    {
        CString text = "stale";
        EXPECT_TRUE(m_registry.ReadString(name, text)) << name;
        return text.GetString();
    }

    orv_test::ScratchFolder m_folder {"services"};
    orv_test::PrivateRegistry m_store {m_folder.Path()};
    const std::string m_path = "Software\\OrvCommonTests\\Registry-" + std::to_string(orv_test::ProcessId()) + "-"
        + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    CRegistry m_registry;
};

} // namespace

TEST_F(RegistryTest, EachFormStoresItsTypeAndBytesAndReadsBack)
{
    CWindowSettings settings;
    settings.m_columns = 12;
    settings.m_title = "Quotes";
    const struct { const char* name; BOOL written; DWORD type; Bytes bytes; } cases[] = {
        {"Text", m_registry.WriteString("Text", "ORV"), REG_SZ, {'O', 'R', 'V', 0}},
        {"Empty", m_registry.WriteString("Empty", ""), REG_SZ, {0}},
        {"Dword", m_registry.Write("Dword", 0xDEADBEEFul), REG_DWORD, {0xEF, 0xBE, 0xAD, 0xDE}},
        {"Int", m_registry.Write("Int", -2), REG_BINARY, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"Long", m_registry.Write("Long", 2000000000L), REG_BINARY, {0x00, 0x94, 0x35, 0x77}},
        {"Flag", m_registry.Write("Flag", true), REG_BINARY, {1, 0, 0, 0}},
        {"Off", m_registry.Write("Off", false), REG_BINARY, {0, 0, 0, 0}},
        {"Rect", m_registry.Write("Rect", CRect(-1, 2, 300, 0x01020304)), REG_BINARY,
            {0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 0x2C, 1, 0, 0, 4, 3, 2, 1}},
        {"Settings", m_registry.Write("Settings", settings), REG_BINARY, {12, 0, 0, 0, 6, 'Q', 'u', 'o', 't', 'e', 's'}},
    };
    for (const auto& entry : cases) {
        EXPECT_TRUE(entry.written) << entry.name;
        EXPECT_EQ(Raw(entry.name, entry.type), entry.bytes) << entry.name;
    }

    EXPECT_EQ(ReadText("text"), "ORV"); // names compare without case
    EXPECT_EQ(ReadText("Empty"), "");
    EXPECT_EQ(Read<unsigned long>("Dword"), 0xDEADBEEFul);
    EXPECT_EQ(Read<DWORD>("Dword"), 0xDEADBEEFu);
    // int, long and bool share the 4-byte form.
    EXPECT_EQ(Read<long>("Int"), -2);
    EXPECT_EQ(Read<int>("Long"), 2000000000);
    EXPECT_TRUE(Read<bool>("Int")); // any nonzero integer
    EXPECT_FALSE(Read<bool>("Off", true));
    EXPECT_EQ(Read<CRect>("Rect"), CRect(-1, 2, 300, 0x01020304));
    CWindowSettings back;
    EXPECT_TRUE(m_registry.Read("Settings", back));
    EXPECT_EQ(back.m_columns, 12);
    EXPECT_EQ(back.m_title, "Quotes");

    CByteArray bytes;
    for (int i = 0; i < 300; ++i) {
        bytes.Add(static_cast<BYTE>(i * 7));
    }
    ASSERT_TRUE(m_registry.Write("Blob", bytes));
    CByteArray blob;
    blob.Add(9);
    ASSERT_TRUE(m_registry.Read("Blob", blob));
    EXPECT_EQ(Bytes(blob.GetData(), blob.GetData() + blob.GetSize()), Bytes(bytes.GetData(), bytes.GetData() + 300));
    ASSERT_TRUE(m_registry.Write("Blob", CByteArray()));
    EXPECT_TRUE(m_registry.Read("Blob", blob));
    EXPECT_EQ(blob.GetSize(), 0);

#if LONG_MAX > INT_MAX
    // Natively long is 64-bit: what REG_DWORD or the 4-byte form cannot hold
    // is refused, not cut, and the stored value stays.
    EXPECT_FALSE(m_registry.Write("Dword", 0x100000000ul));
    EXPECT_FALSE(m_registry.Write("Long", 5000000000L));
    EXPECT_EQ(Raw("Dword", REG_DWORD), (Bytes {0xEF, 0xBE, 0xAD, 0xDE}));
    EXPECT_EQ(Raw("Long", REG_BINARY), (Bytes {0x00, 0x94, 0x35, 0x77}));
#endif
}

TEST_F(RegistryTest, FailedReadsLeaveTheTarget)
{
    ASSERT_TRUE(m_registry.Write("Dword", 7ul));
    ASSERT_TRUE(m_registry.Write("Int", 5));
    ASSERT_TRUE(m_registry.WriteString("Text", "1"));
    const BYTE two[] = {1, 2};
    ASSERT_EQ(RegSetValueExA(m_registry.GetKey(), "Short", 0, REG_BINARY, two, sizeof two), ERROR_SUCCESS);

    CString text("unchanged");
    EXPECT_FALSE(m_registry.ReadString("Dword", text));
    EXPECT_FALSE(m_registry.ReadString("Missing", text));
    EXPECT_EQ(text, "unchanged");
    unsigned long dword = 99;
    EXPECT_FALSE(m_registry.Read("Int", dword)); // the int form is binary, not REG_DWORD
    EXPECT_EQ(dword, 99ul);
    int value = 42;
    for (const char* name : {"Text", "Dword", "Missing"}) {
        EXPECT_FALSE(m_registry.Read(name, value)) << name;
    }
    CByteArray bytes;
    bytes.Add(1);
    EXPECT_FALSE(m_registry.Read("Text", bytes));
    EXPECT_EQ(bytes.GetSize(), 1);
    // A failed bool read still says false.
    for (const char* name : {"Missing", "Text"}) {
        bool flag = true;
        EXPECT_FALSE(m_registry.Read(name, flag)) << name;
        EXPECT_FALSE(flag) << name;
    }

    // A binary value shorter than its layout raises the archive's
    // end-of-file exception and leaves the target.
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
    CWindowSettings settings;
    EXPECT_THROW(m_registry.Read("Int", settings), CArchiveException); // no title after the number
}

TEST_F(RegistryTest, OpenCloseVerifyCreateAndDelete)
{
    CRegistry registry;
    EXPECT_EQ(registry.GetKey(), HKEY_CURRENT_USER);
    EXPECT_TRUE(registry.Close());
    EXPECT_EQ(registry.GetKey(), nullptr);
    EXPECT_FALSE(registry.Close());

    EXPECT_TRUE(registry.Open(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_TRUE(registry.WriteString("Here", "yes"));
    EXPECT_TRUE(registry.VerifyValue("here"));
    EXPECT_FALSE(registry.VerifyValue("There"));
    const std::string missing = m_path + "\\Missing";
    EXPECT_FALSE(registry.Open(HKEY_CURRENT_USER, missing.c_str()));
    EXPECT_EQ(registry.GetKey(), nullptr);
    EXPECT_EQ(registry.GetKeyPath(), missing.c_str());
    // VerifyKey leaves nothing held, found or not.
    EXPECT_TRUE(registry.Open(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_TRUE(registry.VerifyKey(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_EQ(registry.GetKey(), nullptr);
    EXPECT_FALSE(registry.VerifyKey(HKEY_CURRENT_USER, missing.c_str()));
    EXPECT_EQ(registry.GetKey(), nullptr);

    // The relative forms replace the held key; a failed open keeps it.
    ASSERT_TRUE(m_registry.CreateKey("Child"));
    ASSERT_TRUE(m_registry.WriteString("InChild", "1"));
    ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_FALSE(registry.VerifyValue("InChild"));
    EXPECT_TRUE(registry.Open("child", KEY_READ));
    EXPECT_TRUE(registry.VerifyValue("InChild"));
    EXPECT_FALSE(registry.Open("Nowhere", KEY_READ));
    EXPECT_TRUE(registry.VerifyValue("InChild"));
    ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_TRUE(registry.VerifyKey("Child"));
    EXPECT_FALSE(registry.Open("Child", KEY_READ)); // nothing held to open under

    // A held key passed back as the root stays open for the next call.
    ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, m_path.c_str()));
    const HKEY parent = registry.GetKey();
    ASSERT_TRUE(registry.CreateKey(parent, "Branch\\Leaf"));
    EXPECT_TRUE(registry.CreateKey(parent, "Other"));
    EXPECT_EQ(RegCloseKey(parent), ERROR_SUCCESS);

    // Deleting a key with subkeys needs the recursive form.
    const std::string branch = m_path + "\\Branch";
    EXPECT_FALSE(registry.DeleteKey(HKEY_CURRENT_USER, branch.c_str(), FALSE));
    EXPECT_TRUE(registry.VerifyKey(HKEY_CURRENT_USER, (branch + "\\Leaf").c_str()));
    EXPECT_TRUE(registry.DeleteKey(HKEY_CURRENT_USER, branch.c_str(), TRUE));
    EXPECT_FALSE(registry.DeleteKey(HKEY_CURRENT_USER, branch.c_str(), TRUE));
    EXPECT_TRUE(m_registry.DeleteValue("InChild"));
    EXPECT_FALSE(m_registry.DeleteValue("InChild"));
}

TEST_F(RegistryTest, ListsSubkeysAndValues)
{
    for (const char* name : {"Charlie", "alpha", "Bravo"}) {
        ASSERT_TRUE(CRegistry().CreateKey(HKEY_CURRENT_USER, (m_path + "\\" + name).c_str()));
    }
    ASSERT_TRUE(m_registry.WriteString("Two", "2"));
    ASSERT_TRUE(m_registry.Write("One", 1));

    CStringArray names;
    names.Add("stale");
    EXPECT_TRUE(m_registry.ListKey("", names));
    EXPECT_EQ(Sorted(names), (std::vector<std::string> {"Bravo", "Charlie", "alpha"}));
    EXPECT_TRUE(m_registry.ListValues("", names));
    EXPECT_EQ(Sorted(names), (std::vector<std::string> {"One", "Two"}));
    // A key without values gives an empty list; a missing key fails and
    // leaves the list alone.
    EXPECT_TRUE(m_registry.ListValues("Bravo", names));
    EXPECT_EQ(names.GetSize(), 0);
    names.Add("kept");
    EXPECT_FALSE(m_registry.ListKey("Delta", names));
    EXPECT_EQ(Sorted(names), (std::vector<std::string> {"kept"}));

#if !defined(_WIN32)
    // A name of 200 characters ends the listing; the failure goes to the
    // host log natively (a message box on Windows, which a run cannot answer).
    orv_test::ScopedEnvironment host("KESTREL_ROOT", (m_folder / "host").string());
    const std::string longName(200, 'z');
    ASSERT_TRUE(CRegistry().CreateKey(HKEY_CURRENT_USER, (m_path + "\\" + longName).c_str()));
    EXPECT_FALSE(m_registry.ListKey("", names));
    EXPECT_EQ(Sorted(names), (std::vector<std::string> {"Bravo", "Charlie", "alpha"}));
    ASSERT_TRUE(m_registry.WriteString(longName.c_str(), "2"));
    EXPECT_FALSE(m_registry.ListValues("", names));
    EXPECT_EQ(Sorted(names), (std::vector<std::string> {"One", "Two"}));
    const std::string log = orv_test::ReadFile(m_folder / "host" / "User" / "logs" / "kestrel.log");
    EXPECT_NE(log.find(" L4 "), std::string::npos) << log;
    EXPECT_NE(log.find("More data is available.: 234 RegEnumKeyEx Registry 469\n"), std::string::npos) << log;
    EXPECT_NE(log.find("More data is available.: 234 RegEnumValue Registry 544\n"), std::string::npos) << log;

    // 199 characters and the NUL fill the buffer exactly.
    ASSERT_TRUE(m_registry.CreateKey("Bravo"));
    ASSERT_TRUE(m_registry.WriteString(std::string(199, 'y').c_str(), "3"));
    EXPECT_TRUE(m_registry.ListValues("", names));
    EXPECT_EQ(Sorted(names), (std::vector<std::string> {std::string(199, 'y')}));
#endif
}

TEST_F(RegistryTest, OrvRegistryHoldsTheGlobalSettingsKey)
{
    const bool existed = COrvRegistry().VerifyKey(HKEY_CURRENT_USER, ORV_SETTINGS_GLOBAL_KEY);
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
    const std::string child = "OrvCommonTests-" + std::to_string(orv_test::ProcessId());
    ASSERT_TRUE(settings.CreateKey(child.c_str()));
    ASSERT_TRUE(settings.Open(KEY_READ));
    ASSERT_TRUE(settings.Open(child.c_str(), KEY_READ));
    EXPECT_TRUE(settings.Write("Written", 1)); // writable despite KEY_READ
    settings.Close();
    EXPECT_TRUE(settings.DeleteKey(HKEY_CURRENT_USER, (std::string(ORV_SETTINGS_GLOBAL_KEY) + "\\" + child).c_str(),
        TRUE));
}
