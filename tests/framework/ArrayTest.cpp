#include "framework/Array.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

namespace {

CUIntArray Numbers(std::initializer_list<UINT> values)
{
    CUIntArray array;
    for (UINT value : values)
        array.Add(value);
    return array;
}

std::vector<UINT> Elements(const CUIntArray& array)
{
    return std::vector<UINT>(array.GetData(), array.GetData() + array.GetSize());
}

TEST(ArraySize, SetSizeAndSetAtGrowValueInitialiseRejectNegativesAndGrowInSteps)
{
    CDWordArray array;
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(array.GetUpperBound(), -1);
    array.SetSize(3);
    EXPECT_EQ(array.GetCount(), 3);
    EXPECT_EQ(array[2], 0u);
    array.SetSize(1);
    EXPECT_EQ(array.GetUpperBound(), 0);
    EXPECT_THROW(array.SetSize(-1), CInvalidArgException);
    EXPECT_THROW(array.SetSize(2, -2), CInvalidArgException);
    EXPECT_EQ(array.GetSize(), 1);
    CByteArray stepped;
    stepped.SetSize(0, 100);
    stepped.Add(1);
    const BYTE* data = stepped.GetData();
    for (int i = 0; i < 99; ++i)
        stepped.Add(2);
    EXPECT_EQ(stepped.GetData(), data);

    // Without a step set, the array still grows by at least four.
    CByteArray plain;
    plain.Add(1);
    data = plain.GetData();
    for (int value : {2, 3, 4})
        plain.Add(BYTE(value));
    EXPECT_EQ(plain.GetData(), data);

    CWordArray words;
    words.SetAtGrow(3, 7);
    words.SetAtGrow(1, 5);
    EXPECT_EQ(std::vector<WORD>(words.GetData(), words.GetData() + words.GetSize()), (std::vector<WORD>{0, 5, 0, 7}));
    EXPECT_THROW(words.SetAtGrow(-1, 1), CInvalidArgException);
    words.FreeExtra();
    EXPECT_EQ(words[1], 5);
}

TEST(ArrayAccess, EveryAccessorChecksTheIndex)
{
    CUIntArray array = Numbers({10, 20});
    const CUIntArray& constant = array;
    for (int bad : {-1, 2, INT_MIN}) {
        EXPECT_THROW(array.GetAt(bad), CInvalidArgException);
        EXPECT_THROW(array.SetAt(bad, 1), CInvalidArgException);
        EXPECT_THROW(array.ElementAt(bad), CInvalidArgException);
        EXPECT_THROW(array[bad], CInvalidArgException);
        EXPECT_THROW(constant[bad], CInvalidArgException);
    }
    array.ElementAt(1) = 21;
    array.SetAt(0, 11);
    EXPECT_EQ(Elements(array), (std::vector<UINT>{11, 21}));
    EXPECT_THROW(CUIntArray().GetAt(0), CInvalidArgException);
}

TEST(ArrayAdd, OwnElementsSurviveReallocationAppendCopyAndMove)
{
    CStringArray array;
    array.Add("seed text that is long enough to be heap allocated");
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(array.Add(array[0]), i + 1);
    EXPECT_EQ(array[40], array[0]);
    CUIntArray numbers = Numbers({1, 2, 3});
    EXPECT_EQ(numbers.Append(numbers), 3);
    EXPECT_EQ(Elements(numbers), (std::vector<UINT>{1, 2, 3, 1, 2, 3}));
    CUIntArray other;
    other.Copy(numbers);
    other.Copy(other);
    EXPECT_EQ(Elements(other), Elements(numbers));
    EXPECT_EQ(other.Append(CUIntArray()), 6);

    // Copies are deep; a move empties the source.
    CStringArray copy(array);
    copy[0] = "changed";
    EXPECT_EQ(array[0], array[1]);
    CStringArray moved(std::move(array));
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(moved[40], copy[1]);
    array = moved;
    EXPECT_EQ(array.GetSize(), 41);
}

// Past the end grows; whole arrays (itself too) go in; removed ranges lie
// inside; bad arguments throw.
TEST(ArrayInsertAndRemove, RangesAndBadArguments)
{
    CUIntArray array = Numbers({1, 2});
    array.InsertAt(1, 7, 2);
    EXPECT_EQ(Elements(array), (std::vector<UINT>{1, 7, 7, 2}));
    array.InsertAt(6, 9);
    EXPECT_EQ(Elements(array), (std::vector<UINT>{1, 7, 7, 2, 0, 0, 9}));
    array.InsertAt(20, 5, 0);
    EXPECT_EQ(array.GetSize(), 7);
    EXPECT_THROW(array.InsertAt(-1, 1), CInvalidArgException);
    EXPECT_THROW(array.InsertAt(0, 1, -1), CInvalidArgException);
    EXPECT_THROW(array.InsertAt(0, nullptr), CInvalidArgException);
    array = Numbers({1, 2});
    array.InsertAt(1, &array);
    EXPECT_EQ(Elements(array), (std::vector<UINT>{1, 1, 2, 2}));
    const CUIntArray tail = Numbers({8, 9});
    array.InsertAt(5, &tail);
    EXPECT_EQ(Elements(array), (std::vector<UINT>{1, 1, 2, 2, 0, 8, 9}));

    array = Numbers({1, 2, 3, 4});
    array.RemoveAt(1, 2);
    EXPECT_EQ(Elements(array), (std::vector<UINT>{1, 4}));
    array.RemoveAt(2, 0);
    EXPECT_THROW(array.RemoveAt(1, 2), CInvalidArgException);
    EXPECT_THROW(array.RemoveAt(-1), CInvalidArgException);
    EXPECT_THROW(array.RemoveAt(0, -1), CInvalidArgException);
    EXPECT_THROW(array.RemoveAt(1, INT_MAX), CInvalidArgException);
    EXPECT_EQ(array.GetSize(), 2);
    array.RemoveAll();
    EXPECT_TRUE(array.IsEmpty());
}

} // namespace
