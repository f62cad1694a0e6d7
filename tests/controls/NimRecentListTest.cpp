// CNimRecentList: the order of its entries and their place in the registry,
// natively on a private store file and under Wine on the real registry.
#include "controls/NimRecentList.h"

#include "services/Registry.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

Texts Entries(const CRecentFileList& list)
{
    Texts out;
    for (int i = 0; i < list.GetSize(); ++i) {
        out.emplace_back(list[i].GetString());
    }
    return out;
}

CNimRecentList Filled(const Texts& entries, const Texts& added = {})
{
    CNimRecentList list(100, "Recent", "Sym%d", static_cast<int>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        list[static_cast<int>(i)] = entries[i].c_str();
    }
    for (const auto& text : added) {
        list.Add(text.c_str());
    }
    return list;
}

TEST(NimRecentList, AddPutsTextsNewestFirstWithoutDuplicates)
{
    const struct { Texts before, added, expected; } cases[] = {
        {{"", "", "", ""}, {"A", "B", "C"}, {"C", "B", "A", ""}},
        {{"C", "B", "A", ""}, {"A"}, {"A", "C", "B", ""}},
        {{"C", "B", "A"}, {"D"}, {"D", "C", "B"}},
        // The last slot is not searched; its text comes back at the front once.
        {{"C", "B", "A"}, {"A"}, {"A", "C", "B"}},
        {{"ibm", ""}, {"IBM", ""}, {"IBM", "ibm"}},
        {{"A"}, {"B"}, {"B"}},
        {{}, {"A"}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Entries(Filled(c.before, c.added)), c.expected) << c.added[0];
    }
    CNimRecentList none(100, "Recent", "Sym%d", -2);
    none.Add("A");
    EXPECT_EQ(none.GetSize(), 0);
}

class NimRecentListStore : public ::testing::Test {
protected:
    void TearDown() override
    {
        SHDeleteKeyA(HKEY_CURRENT_USER, m_base.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\OrvCommonTests");
    }

    // The list read back over `before`, as the next run would see it.
    Texts ReadBack(const Texts& before = {"p", "q", "r", "s"})
    {
#if !defined(_WIN32)
        platform::ResetRegistryCacheForTesting();
#endif
        CNimRecentList list = Filled(before);
        EXPECT_TRUE(list.ReadListEx(HKEY_CURRENT_USER, m_base.c_str()));
        return Entries(list);
    }

    orv_test::ScratchFolder m_folder {"controls"};
    orv_test::PrivateRegistry m_store {m_folder.Path()};
    const std::string m_base = "Software\\OrvCommonTests\\Recent-" + std::to_string(orv_test::ProcessId()) + "-"
        + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string m_key = m_base + "\\Recent";
};

TEST_F(NimRecentListStore, WriteReplacesTheStoredListSkipsEmptyEntriesAndKeepsAKeyWithSubkeys)
{
    // Reading creates the missing key and keeps every entry.
    EXPECT_EQ(ReadBack(), (Texts {"p", "q", "r", "s"}));
    ASSERT_TRUE(Filled({"D", "C", "B", "A"}).WriteListEx(HKEY_CURRENT_USER, m_base.c_str()));
    EXPECT_EQ(ReadBack(), (Texts {"D", "C", "B", "A"}));
    // An emptied entry is not written, so reading leaves that slot alone.
    ASSERT_TRUE(Filled({"D", "", "B", ""}).WriteListEx(HKEY_CURRENT_USER, m_base.c_str()));
    EXPECT_EQ(ReadBack(), (Texts {"D", "q", "B", "s"}));

    CRegistry registry;
    ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, m_key.c_str()));
    ASSERT_TRUE(registry.Write("Sym1", 7ul)); // not a string: ignored
    registry.Close();
    EXPECT_EQ(ReadBack(), (Texts {"p", "q", "B", "s"}));

    // A stored key with subkeys is overwritten in place.
    ASSERT_TRUE(Filled({"D", "C", "B", "A"}).WriteListEx(HKEY_CURRENT_USER, m_base.c_str()));
    ASSERT_TRUE(registry.CreateKey(HKEY_CURRENT_USER, (m_key + "\\Child").c_str()));
    registry.Close();
    ASSERT_TRUE(Filled({"F", "E", "", ""}).WriteListEx(HKEY_CURRENT_USER, m_base.c_str()));
    EXPECT_EQ(ReadBack(), (Texts {"F", "E", "B", "A"}));
}

TEST_F(NimRecentListStore, FormatWithoutASingleIntegerTouchesNothing)
{
    for (const char* format : {"File%s", "File", "File%d%d", "File%n", "%d%"}) {
        CNimRecentList list(100, "Recent", format, 1);
        list.Add("A");
        EXPECT_FALSE(list.WriteListEx(HKEY_CURRENT_USER, m_base.c_str())) << format;
        EXPECT_FALSE(list.ReadListEx(HKEY_CURRENT_USER, m_base.c_str())) << format;
        EXPECT_EQ(list[0], "A") << format;
    }
    CRegistry registry;
    EXPECT_FALSE(registry.VerifyKey(HKEY_CURRENT_USER, m_base.c_str()));

    CNimRecentList padded(100, "Recent", "100%% Sym%02d", 1);
    padded.Add("A");
    ASSERT_TRUE(padded.WriteListEx(HKEY_CURRENT_USER, m_base.c_str()));
    ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, m_key.c_str()));
    CString text;
    EXPECT_TRUE(registry.ReadString("100% Sym01", text));
    EXPECT_EQ(text, "A");
}

} // namespace
