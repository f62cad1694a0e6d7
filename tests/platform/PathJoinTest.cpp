#include "platform/PathJoin.h"

#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <string>

TEST(PathJoin, OneSeparatorBetweenTheParts)
{
    const std::string separator(1, platform::kPathSeparator);
    EXPECT_EQ(std::string(platform::JoinPath("a", "b")), "a" + separator + "b");
    EXPECT_EQ(std::string(platform::JoinPath("a" + CString(separator.c_str()), "b")), "a" + separator + "b");
    EXPECT_EQ(std::string(platform::JoinPath("a", "\\/b")), "a" + separator + "b");
    EXPECT_EQ(std::string(platform::JoinPath("a", "")), "a");
    EXPECT_EQ(std::string(platform::JoinPath("a", nullptr)), "a");
    EXPECT_EQ(std::string(platform::JoinPath("", "b")), "b");
}
