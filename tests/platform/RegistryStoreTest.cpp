// The native registry store: persistence, atomic writes, names without case
// and the Win32 call semantics the settings classes rely on. Windows has
// the real registry, so this file is native only.
#if !defined(_WIN32)

#include "platform/Registry.h"
#include "platform/StoreTesting.h"

#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using orv_test::ReadFile;
using orv_test::WriteFile;

// Each test gets a store file of its own in a fresh folder.
class RegistryStore : public ::testing::Test {
protected:
    // RegCreateKeyExA with full access; the key lands in key.
    static LONG TryCreate(const char* path, HKEY& key, DWORD* disposition = nullptr, HKEY root = HKEY_CURRENT_USER,
                          DWORD options = REG_OPTION_NON_VOLATILE)
    {
        return RegCreateKeyExA(root, path, 0, nullptr, options, KEY_ALL_ACCESS, nullptr, &key, disposition);
    }

    static HKEY Create(const char* path, HKEY root = HKEY_CURRENT_USER, DWORD options = REG_OPTION_NON_VOLATILE)
    {
        HKEY key = nullptr;
        EXPECT_EQ(TryCreate(path, key, nullptr, root, options), ERROR_SUCCESS) << path;
        return key;
    }

    static LONG SetString(HKEY key, const char* name, const char* text)
    {
        return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                              static_cast<DWORD>(std::strlen(text) + 1));
    }

    static std::string GetString(HKEY key, const char* name)
    {
        char buffer[256] = {};
        DWORD size = sizeof buffer;
        DWORD type = 0;
        if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS) {
            return "<missing>";
        }
        return buffer;
    }

    orv_test::ScratchFolder m_scratch {"registry"};
    const std::filesystem::path m_folder = m_scratch.Path();
    const std::filesystem::path m_store = m_folder / "registry.txt";
    orv_test::PrivateRegistry m_private {m_folder};
};

} // namespace

TEST_F(RegistryStore, KeepsValuesAcrossARestart)
{
    HKEY key = Create("Software\\Orv Test\\Deep");
    const BYTE binary[] = {0x00, 0xFF, '%', '\\', ' ', '\n'};
    ASSERT_EQ(RegSetValueExA(key, "odd name %\\ =", 0, REG_BINARY, binary, sizeof binary), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, "", "default value"), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "empty", 0, REG_NONE, nullptr, 0), ERROR_SUCCESS);
    RegCloseKey(key);

    platform::ResetRegistryCacheForTesting(); // as a new process would
    HKEY reopened = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software\\ORV TEST\\deep", 0, KEY_READ, &reopened), ERROR_SUCCESS);
    BYTE back[16] = {};
    DWORD size = sizeof back;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExA(reopened, "ODD NAME %\\ =", nullptr, &type, back, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    ASSERT_EQ(size, sizeof binary);
    EXPECT_EQ(std::memcmp(back, binary, size), 0);
    EXPECT_EQ(GetString(reopened, nullptr), "default value");
    size = 99;
    ASSERT_EQ(RegQueryValueExA(reopened, "empty", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_NONE);
    EXPECT_EQ(size, 0u);
    RegCloseKey(reopened);
}

TEST_F(RegistryStore, NamesCompareWithoutCaseAndKeepTheirFirstSpelling)
{
    HKEY key = Create("Software\\MixedCase");
    ASSERT_EQ(SetString(key, "Colour", "red"), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, "COLOUR", "blue"), ERROR_SUCCESS);
    EXPECT_EQ(GetString(key, "colour"), "blue");

    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 1u);
    char name[32];
    DWORD length = sizeof name;
    ASSERT_EQ(RegEnumValueA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Colour");

    HKEY software = Create("software");
    length = sizeof name;
    ASSERT_EQ(RegEnumKeyExA(software, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "MixedCase");
    RegCloseKey(key);
    RegCloseKey(software);
}

TEST_F(RegistryStore, FailedWritesLeaveThePreviousStoreWholeAndCreateNothing)
{
    HKEY key = Create("Software\\Atomic");
    ASSERT_EQ(SetString(key, "Setting", "old"), ERROR_SUCCESS);
    const std::string before = ReadFile(m_store);

    platform::SetRegistryWriteFaultForTesting(20); // dies 20 bytes into the new store
    EXPECT_EQ(SetString(key, "Setting", "new"), ERROR_REGISTRY_IO_FAILED);

    EXPECT_EQ(GetString(key, "Setting"), "old"); // the tree in memory was put back
    EXPECT_EQ(ReadFile(m_store), before);        // the file was never touched
    // The store and its lock are left; no temporary.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder), std::filesystem::directory_iterator()), 2);
    platform::ResetRegistryCacheForTesting();
    EXPECT_EQ(GetString(key, "Setting"), "old");

    // The hook fires once; the next write goes through.
    EXPECT_EQ(SetString(key, "Setting", "new"), ERROR_SUCCESS);
    platform::ResetRegistryCacheForTesting();
    EXPECT_EQ(GetString(key, "Setting"), "new");
    RegCloseKey(key);
    // A key whose creation fails is not made, in memory or in the file.
    const std::string stored = ReadFile(m_store);
    platform::SetRegistryWriteFaultForTesting(0);
    HKEY never = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(TryCreate("Software\\Never", never), ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(never, nullptr);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Never", 0, KEY_READ, &never), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ReadFile(m_store), stored);
}

TEST_F(RegistryStore, SeesChangesAnotherProcessWrote)
{
    HKEY key = Create("Software\\Shared");
    ASSERT_EQ(SetString(key, "Value", "mine"), ERROR_SUCCESS);
    EXPECT_EQ(GetString(key, "Value"), "mine");

    // Another process replaces the file: its rename gives a new file.
    std::string text = ReadFile(m_store);
    const std::size_t at = text.find(":6d696e6500"); // "mine\0"
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 11, ":7468656972730000"); // "theirs\0\0" is longer, so the size differs too
    const auto replacement = m_folder / "other";
    WriteFile(replacement, text);
    std::filesystem::rename(replacement, m_store);

    EXPECT_EQ(GetString(key, "Value"), "theirs");
    RegCloseKey(key);
}

TEST_F(RegistryStore, UnreadableStoreIsReportedAndNeverOverwritten)
{
    WriteFile(m_store, "this is not a registry\n");
    HKEY key = nullptr;
    EXPECT_EQ(TryCreate("Software\\X", key), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &key), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(ReadFile(m_store), "this is not a registry\n");

    // A truncated record (no final line break) is as bad as garbage.
    std::filesystem::remove(m_store);
    HKEY good = Create("Software\\Y");
    RegCloseKey(good);
    std::string text = ReadFile(m_store);
    text.pop_back();
    WriteFile(m_store, text);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Y", 0, KEY_READ, &key), ERROR_REGISTRY_CORRUPT);

    // Repaired, it works again.
    std::filesystem::remove(m_store);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(RegistryStore, QueriesReportSizesAndShortBuffers)
{
    HKEY key = Create("Software\\Sizes");
    ASSERT_EQ(SetString(key, "Text", "abcdef"), ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExA(key, "Text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 7u);

    BYTE small[3] = {};
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key, "Text", nullptr, &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(RegQueryValueExA(key, "Text", nullptr, &type, small, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueA(key, "text"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(key, "text"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST_F(RegistryStore, EnumerationNamesNeedRoomForTheirNul)
{
    HKEY key = Create("Software\\Enum");
    RegCloseKey(Create("Software\\Enum\\beta"));
    RegCloseKey(Create("Software\\Enum\\Alpha"));
    char name[8];
    DWORD length = 6; // "Alpha" and its NUL fit exactly
    ASSERT_EQ(RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Alpha");
    EXPECT_EQ(length, 5u);
    length = 4; // "beta" needs 5
    EXPECT_EQ(RegEnumKeyExA(key, 1, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    length = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(key, 2, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

    ASSERT_EQ(SetString(key, "Value", "x"), ERROR_SUCCESS);
    length = 5;
    EXPECT_EQ(RegEnumValueA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    DWORD size = 0;
    length = 6;
    ASSERT_EQ(RegEnumValueA(key, 0, name, &length, nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 2u);
    RegCloseKey(key);
}

TEST_F(RegistryStore, DeletingKeys)
{
    RegCloseKey(Create("Software\\Tree\\Branch\\Leaf"));
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tree"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "software\\tree\\branch\\leaf"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tree\\Branch\\Leaf"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(Create("Software\\Tree\\Branch\\Other"));

    HKEY branch = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Tree\\Branch", 0, KEY_ALL_ACCESS, &branch), ERROR_SUCCESS);
    EXPECT_EQ(SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tree"), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(branch, "x", 0, REG_NONE, nullptr, 0), ERROR_KEY_DELETED);
    RegCloseKey(branch);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Tree", 0, KEY_READ, &branch), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(branch, nullptr);
    EXPECT_EQ(SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tree"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryStore, HandlesCarryTheirRights)
{
    HKEY writable = Create("Software\\Rights");
    HKEY readOnly = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Rights", 0, KEY_READ, &readOnly), ERROR_SUCCESS);
    EXPECT_EQ(SetString(readOnly, "x", "y"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(SetString(writable, "x", "y"), ERROR_SUCCESS);
    EXPECT_EQ(GetString(readOnly, "x"), "y");

    // A handle whose key went away, and a closed handle.
    ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Rights"), ERROR_SUCCESS);
    EXPECT_EQ(SetString(writable, "x", "z"), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(readOnly), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(readOnly), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(writable), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryStore, RefusesMalformedPaths)
{
    const std::string tooLong(256, 'k');
    const std::string longest(255, 'k');
    const struct { const char* path; LONG result; DWORD disposition; } cases[] = {
        {"\\Leading", ERROR_BAD_PATHNAME, 0}, {"a\\\\b", ERROR_BAD_PATHNAME, 0},
        {tooLong.c_str(), ERROR_INVALID_PARAMETER, 0}, {longest.c_str(), ERROR_SUCCESS, REG_CREATED_NEW_KEY},
        {"Trailing\\", ERROR_SUCCESS, REG_CREATED_NEW_KEY}, {"trailing", ERROR_SUCCESS, REG_OPENED_EXISTING_KEY},
    };
    for (const auto& c : cases) {
        HKEY key = nullptr;
        DWORD disposition = 0;
        EXPECT_EQ(TryCreate(c.path, key, &disposition), c.result) << c.path;
        EXPECT_EQ(disposition, c.disposition) << c.path;
        RegCloseKey(key);
    }
}

TEST_F(RegistryStore, VolatileKeysLastUntilTheMachineRestarts)
{
    HKEY session = Create("Volatile", HKEY_CURRENT_USER, REG_OPTION_VOLATILE);
    HKEY child = nullptr;
    EXPECT_EQ(TryCreate("Lasting", child, nullptr, session), ERROR_CHILD_MUST_BE_VOLATILE);
    RegCloseKey(Create("Volatile\\Child", HKEY_CURRENT_USER, REG_OPTION_VOLATILE));
    RegCloseKey(Create("Lasting"));
    RegCloseKey(session);

    platform::ResetRegistryCacheForTesting();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Volatile\\Child", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);

    // The same file read after a restart: another boot identifier.
    std::string text = ReadFile(m_store);
    const std::size_t end = text.find('\n');
    text.replace(0, end, "ORVREG 1 :another-boot");
    WriteFile(m_store, text);
    platform::ResetRegistryCacheForTesting();
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Volatile", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Lasting", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(RegistryStore, RootsAreSeparateTrees)
{
    HKEY user = Create("Software\\Same");
    ASSERT_EQ(SetString(user, "Where", "user"), ERROR_SUCCESS);
    HKEY machine = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Same", 0, KEY_READ, &machine), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExA(reinterpret_cast<HKEY>(0x1234), "Software", 0, KEY_READ, &machine), ERROR_INVALID_HANDLE);
    RegCloseKey(user);
}

#endif
