#include "framework/Map.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using CIntMap = CMap<int, int, int, int>;
using Entries = std::vector<std::pair<int, int>>;

// The map's entries in iteration order.
template <class MAP>
Entries Iterate(const MAP& map)
{
    Entries entries;
    int key = 0, value = 0;
    for (POSITION position = map.GetStartPosition(); position != nullptr;) {
        map.GetNextAssoc(position, key, value);
        entries.emplace_back(key, value);
    }
    return entries;
}

TEST(MapHashTable, SizeDefaultsToSeventeenZeroBecomesOneAndResizingKeepsEveryEntry)
{
    CIntMap map;
    EXPECT_EQ(map.GetHashTableSize(), 17u);
    map.InitHashTable(0);
    EXPECT_EQ(map.GetHashTableSize(), 1u);
    map.InitHashTable(180, false);
    EXPECT_EQ(map.GetHashTableSize(), 180u);
    map[5] = 1;
    EXPECT_EQ(map.GetCount(), 1);
    for (int i = -50; i < 150; ++i)
        map[i] = i * 2;
    for (UINT size : {1u, 180u, 3u}) {
        map.InitHashTable(size, false);
        EXPECT_EQ(map.GetHashTableSize(), size);
        EXPECT_EQ(map.GetSize(), 200);
        for (int i = -50; i < 150; ++i) {
            int value = 0;
            ASSERT_TRUE(map.Lookup(i, value)) << i;
            EXPECT_EQ(value, i * 2);
        }
    }
}

// Lookup, SetAt, indexing, removal from any place in a chain, and
// iteration in bucket then chain order.
TEST(MapEntries, LookupRemovalAndIteration)
{
    CIntMap map;
    int value = 99;
    EXPECT_FALSE(map.Lookup(1, value));
    EXPECT_EQ(value, 99);
    EXPECT_EQ(map[1], 0);
    EXPECT_EQ(map.GetCount(), 1);
    map.SetAt(1, 10);
    map.SetAt(1, 11);
    EXPECT_EQ(map.GetCount(), 1);
    EXPECT_TRUE(map.Lookup(1, value) && value == 11);
    CIntMap chain;
    chain.InitHashTable(1);
    for (int i = 0; i < 5; ++i)
        chain[i] = i;
    EXPECT_TRUE(chain.RemoveKey(2));
    EXPECT_TRUE(chain.RemoveKey(4));
    EXPECT_TRUE(chain.RemoveKey(0));
    EXPECT_FALSE(chain.RemoveKey(2));
    EXPECT_EQ(Iterate(chain), (Entries{{3, 3}, {1, 1}}));
    chain.RemoveAll();
    EXPECT_TRUE(chain.IsEmpty());
    EXPECT_EQ(chain.GetStartPosition(), nullptr);
    EXPECT_EQ(chain.GetHashTableSize(), 1u);
    EXPECT_FALSE(chain.RemoveKey(3));

    CIntMap ordered;
    ordered[20] = 0;  // bucket 3
    ordered[1] = 0;   // bucket 1
    ordered[18] = 0;  // bucket 1, ahead of 1 in the chain
    ordered[-1] = 0;  // 0xFFFFFFFF % 17 == 0
    EXPECT_EQ(Iterate(ordered), (Entries{{-1, 0}, {18, 0}, {1, 0}, {20, 0}}));

    POSITION position = nullptr;
    int key = 0;
    EXPECT_THROW(ordered.GetNextAssoc(position, key, value), CInvalidArgException);
}

TEST(MapValueSemanticsAndStringKeys, CopyIsDeepIteratesAlikeAndCStringKeysAreFoundByText)
{
    CIntMap original;
    original.InitHashTable(7);
    for (int i = 0; i < 20; ++i)
        original[i] = i;
    CIntMap copy(original);
    EXPECT_EQ(copy.GetHashTableSize(), 7u);
    EXPECT_EQ(Iterate(copy), Iterate(original));
    copy[0] = 100;
    copy.RemoveKey(1);
    EXPECT_EQ(original[0], 0);
    EXPECT_EQ(original.GetCount(), 20);
    original = copy;
    EXPECT_EQ(original.GetCount(), 19);

    CIntMap moved(std::move(copy));
    EXPECT_EQ(moved.GetCount(), 19);
    EXPECT_TRUE(copy.IsEmpty());
    copy[3] = 3;
    EXPECT_EQ(copy.GetCount(), 1);
    moved = std::move(copy);
    EXPECT_EQ(Iterate(moved), (Entries{{3, 3}}));

    EXPECT_EQ(HashKey("key"), HashKey(CString("key")));
    EXPECT_NE(HashKey("ab"), HashKey("ba"));
    CMapStringToString map;
    map.SetAt("name", "value");
    map[CString("other")] = "x";
    CString value;
    EXPECT_TRUE(map.Lookup("name", value) && value == "value");
    EXPECT_FALSE(map.Lookup("Name", value));
    EXPECT_TRUE(map.RemoveKey("other"));
    EXPECT_EQ(map.GetCount(), 1);
}

} // namespace
