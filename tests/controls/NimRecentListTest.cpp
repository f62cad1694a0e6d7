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

CNimRecentList Filled(int size, const Texts& added)
{
    CNimRecentList list(100, "Recent", "Sym%d", size);
    for (const auto& text : added) {
        list.Add(text.c_str());
    }
    return list;
}

TEST(NimRecentList, AddPutsTextsNewestFirstWithoutDuplicates)
{
    const struct {
        int size;
        Texts added;
        Texts expected;
    } cases[] = {
        {4, {"A", "B", "C"}, {"C", "B", "A", ""}},
        {4, {"A", "B", "C", "A"}, {"A", "C", "B", ""}},
        {3, {"A", "B", "C", "D"}, {"D", "C", "B"}},
        // The last slot is not searched: "A" drops out through the shift
        // and comes back at the front exactly once.
        {3, {"A", "B", "C", "A"}, {"A", "C", "B"}},
        {3, {"ibm", "IBM"}, {"IBM", "ibm", ""}},
        {3, {"A", "", "B"}, {"B", "A", ""}},
        {1, {"A", "B"}, {"B"}},
        // No slots: nothing is stored anywhere.
        {0, {"A"}, {}},
        {-2, {"A", "B"}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Entries(Filled(c.size, c.added)), c.expected) << "size " << c.size << ", " << c.added.size();
    }
}

TEST(NimRecentList, CopiesAreIndependentAndTheFileListComparesWithoutCase)
{
    CNimRecentList list = Filled(3, {"A", "B"});
    CNimRecentList copy(list);
    copy.Add("C");
    EXPECT_EQ(Entries(list), (Texts {"B", "A", ""}));
    list = copy;
    EXPECT_EQ(Entries(list), (Texts {"C", "B", "A"}));

    CRecentFileList files(100, "Files", "File%d", 3);
    files.Add("C:\\a.txt");
    files.Add("c:\\A.TXT");
    EXPECT_EQ(Entries(files), (Texts {"c:\\A.TXT", "", ""}));
    files.Remove(0);
    EXPECT_EQ(Entries(files), (Texts {"", "", ""}));
}

class NimRecentListStore : public ::testing::Test {
protected:
    void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, m_base.c_str()); }
    void TearDown() override
    {
        SHDeleteKeyA(HKEY_CURRENT_USER, m_base.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\OrvCommonTests");
    }

    // The stored values Sym1 to Sym4; "-" for a missing one.
    Texts Stored()
    {
        Texts out;
        CRegistry registry;
        const bool open = registry.Open(HKEY_CURRENT_USER, (m_base + "\\Recent").c_str(), KEY_READ);
        for (const char* name : {"Sym1", "Sym2", "Sym3", "Sym4"}) {
            CString text = "-";
            if (open) {
                registry.ReadString(name, text);
            }
            out.emplace_back(text.GetString());
        }
        return out;
    }

    // The list read back from the store, as the next run of the
    // application would see it.
    Texts ReadBack(const Texts& before = {"x", "x", "x", "x"})
    {
#if !defined(_WIN32)
        platform::ResetRegistryCacheForTesting();
#endif
        CNimRecentList list(100, "Recent", "Sym%d", 4);
        for (int i = 0; i < 4; ++i) {
            list[i] = before[i].c_str();
        }
        EXPECT_TRUE(list.ReadListEx(HKEY_CURRENT_USER, m_base.c_str()));
        return Entries(list);
    }

    orv_test::ScratchFolder m_folder {"controls"};
    orv_test::PrivateRegistry m_store {m_folder.Path()};
    const std::string m_base = "Software\\OrvCommonTests\\Recent-" + std::to_string(orv_test::ProcessId()) + "-"
        + ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

TEST_F(NimRecentListStore, WriteReplacesTheStoredListAndReadBringsItBack)
{
    CNimRecentList list = Filled(4, {"A", "B", "C", "D"});
    ASSERT_TRUE(list.WriteListEx(HKEY_CURRENT_USER, m_base.c_str()));
    EXPECT_EQ(Stored(), (Texts {"D", "C", "B", "A"}));

    // An emptied entry is not written, so it keeps its old slot on reading.
    list[1] = "";
    list.Remove(3);
    ASSERT_TRUE(list.WriteListEx(HKEY_CURRENT_USER, m_base.c_str()));
    EXPECT_EQ(Stored(), (Texts {"D", "-", "B", "-"}));
    EXPECT_EQ(ReadBack({"p", "q", "r", "s"}), (Texts {"D", "q", "B", "s"}));
}

TEST_F(NimRecentListStore, KeyWithSubkeysIsOverwrittenInPlace)
{
    CNimRecentList list = Filled(4, {"A", "B", "C", "D"});
    ASSERT_TRUE(list.WriteListEx(HKEY_CURRENT_USER, m_base.c_str()));
    CRegistry registry;
    ASSERT_TRUE(registry.CreateKey(HKEY_CURRENT_USER, (m_base + "\\Recent\\Child").c_str()));
    registry.Close();

    CNimRecentList shorter = Filled(4, {"E", "F"});
    ASSERT_TRUE(shorter.WriteListEx(HKEY_CURRENT_USER, m_base.c_str()));
    EXPECT_EQ(Stored(), (Texts {"F", "E", "B", "A"}));
    EXPECT_TRUE(registry.VerifyKey(HKEY_CURRENT_USER, (m_base + "\\Recent\\Child").c_str()));
}

TEST_F(NimRecentListStore, ReadCreatesAMissingKeyAndKeepsEntriesWithoutAString)
{
    EXPECT_EQ(ReadBack({"p", "q", "r", "s"}), (Texts {"p", "q", "r", "s"}));
    CRegistry registry;
    ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, (m_base + "\\Recent").c_str()));
    ASSERT_TRUE(registry.Write("Sym1", 7ul));
    ASSERT_TRUE(registry.WriteString("Sym2", "MSFT"));
    registry.Close();
    EXPECT_EQ(ReadBack({"p", "q", "r", "s"}), (Texts {"p", "MSFT", "r", "s"}));
}

TEST_F(NimRecentListStore, FormatWithoutASingleIntegerTouchesNothing)
{
    for (const char* format : {"File%s", "File", "File%d%d", "File%n", "%d%"}) {
        CNimRecentList list(100, "Recent", format, 2);
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
    ASSERT_TRUE(registry.Open(HKEY_CURRENT_USER, (m_base + "\\Recent").c_str()));
    CString text;
    EXPECT_TRUE(registry.ReadString("100% Sym01", text));
    EXPECT_EQ(text, "A");
}

} // namespace
