#include "platform/SysString.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

std::basic_string<OLECHAR> Wide(const char* text)
{
    return std::basic_string<OLECHAR>(text, text + std::strlen(text));
}

} // namespace

TEST(SysString, AllocationReallocationLengthAndLayout)
{
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);

    const auto hello = Wide("hello");
    BSTR text = SysAllocString(hello.c_str());
    ASSERT_NE(text, nullptr);
    EXPECT_NE(text, hello.c_str());
    EXPECT_EQ(SysStringLen(text), 5u);
    EXPECT_EQ(text[5], 0);
    // A byte count, not a character count, stands in front of the text.
    std::uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<const unsigned char*>(text) - 4, 4);
    EXPECT_EQ(prefix, 10u);

    BSTR empty = SysAllocString(Wide("").c_str());
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);

    // A counted string may hold NULs; without a source it is zero-filled.
    const OLECHAR withNul[] = {'a', 0, 'b'};
    BSTR counted = SysAllocStringLen(withNul, 3);
    EXPECT_EQ(SysStringLen(counted), 3u);
    EXPECT_EQ(counted[2], 'b');
    BSTR blank = SysAllocStringLen(nullptr, 4);
    EXPECT_EQ(SysStringLen(blank), 4u);

    for (BSTR each : {text, empty, counted, blank})
        SysFreeString(each);
    EXPECT_FALSE(SysReAllocString(nullptr, Wide("x").c_str()));

    BSTR grown = nullptr;
    ASSERT_TRUE(SysReAllocString(&grown, Wide("first").c_str()));
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(SysStringLen(grown), 5u);
    ASSERT_TRUE(SysReAllocString(&grown, Wide("a longer second grown").c_str()));
    EXPECT_EQ(std::basic_string<OLECHAR>(grown, SysStringLen(grown)), Wide("a longer second grown"));
    // The source may lie inside the target.
    ASSERT_TRUE(SysReAllocString(&grown, grown + 9));
    EXPECT_EQ(std::basic_string<OLECHAR>(grown, SysStringLen(grown)), Wide("second grown"));
    SysFreeString(grown);
}
