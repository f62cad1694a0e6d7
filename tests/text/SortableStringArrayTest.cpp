#include "text/SortableStringArray.h"

#include <gtest/gtest.h>

namespace {

CString Joined(const CSortableStringArray& array)
{
    CString all;
    for (int i = 0; i < array.GetSize(); ++i)
        all += array[i] + "|";
    return all;
}

int ByLength(const CString& a, const CString& b)
{
    return a.GetLength() - b.GetLength();
}

int Contradictory(const CString&, const CString&)
{
    static int calls = 0;
    return (++calls % 3) - 1;
}

} // namespace

TEST(SortableStringArray, DefaultOrderIsBytewiseCustomOrderKeepsEqualElementsInOrderAndEveryElement)
{
    CSortableStringArray array;
    for (const char* s : {"pear", "Apple", "apple", "\xE9t\xE9", "banana", ""})
        array.Add(s);
    array.Sort();
    EXPECT_EQ(Joined(array), "|Apple|apple|banana|pear|\xE9t\xE9|");
    EXPECT_LT(CSortableStringArray::Compare("B", "a"), 0);
    EXPECT_EQ(CSortableStringArray::Compare("same", "same"), 0);
    EXPECT_GT(CSortableStringArray::Compare("\x80", "z"), 0);
    array.RemoveAll();
    for (const char* s : {"ccc", "b", "aa", "d", "ee", "f"})
        array.Add(s);
    array.Sort(&ByLength);
    EXPECT_EQ(Joined(array), "b|d|f|aa|ee|ccc|");

    // A comparison that contradicts itself loses no element.
    array.RemoveAll();
    for (int i = 0; i < 500; ++i)
        array.Add(CString('x', i % 17));
    array.Sort(&Contradictory);
    ASSERT_EQ(array.GetSize(), 500);
    int characters = 0;
    for (int i = 0; i < array.GetSize(); ++i)
        characters += array[i].GetLength();
    EXPECT_EQ(characters, 29 * 136 + 21); // 29 runs of 0..16, then 0..6
}
