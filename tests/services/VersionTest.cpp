#include "services/Version.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Version, TextReadsAsFourClampedComponentsInTwoWordsThatCompareUnsigned)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1.2.3.4", "1.2.3.4"}, {"2.5", "0.0.2.5"}, {"5", "0.0.0.5"}, {"1,2,3,4", "1.2.3.4"},
        {"1.2.3.4.5", "1.2.3.4"},
        {"1..2", "0.1.0.2"}, // three fields, the middle one empty
        {"  1. 2 ,3 . 4\t", "1.2.3.4"},
        {"1a.2b.3c.4d", "1.2.3.4"}, // leading digits of each field
        {"v1.2.3.4", "0.2.3.4"}, {"+7.1.0.0", "7.1.0.0"}, {"70000.1.1.1", "65535.1.1.1"},
        {"65535.65536.4294967296.99999999999999999999", "65535.65535.65535.65535"},
        {"-1.2.3.4", "0.2.3.4"}, // a negative field is no number; strtoul would wrap it
        // No version at all is the empty text.
        {"...", ""}, {"", ""}, {"   ", ""}, {"0", ""}, {"0.0.0.0", ""}, {"abc", ""}, {"0,0", ""},
    };
    for (const auto& [text, expected] : cases) {
        const CVersion version(text);
        EXPECT_EQ(std::string(version.ToString()), expected) << text;
        EXPECT_EQ(version.IsEmpty(), *expected == '\0') << text;
    }
    EXPECT_TRUE(CVersion(static_cast<const char*>(nullptr)).IsEmpty());
    EXPECT_TRUE(CVersion().IsEmpty());
    EXPECT_EQ(CVersion(0, 0, 0, 1).ToString(), "0.0.0.1");

    EXPECT_EQ(OrvServices::ReadUnsignedDecimal("4294967295"), 4294967295u);
    EXPECT_EQ(OrvServices::ReadUnsignedDecimal("4294967296"), 4294967295u);
    EXPECT_EQ(OrvServices::ReadUnsignedDecimal(" \t12x3"), 12u);
    EXPECT_EQ(OrvServices::ReadUnsignedDecimal("-5"), 0u);
    EXPECT_EQ(OrvServices::ReadUnsignedDecimal(nullptr), 0u);

    // The components sit in two words, major first; versions compare high words, then low words, unsigned.
    CVersion version(1, 2, 3, 4);
    EXPECT_EQ(version.GetHighWord(), 0x00010002u);
    EXPECT_EQ(version.GetLowWord(), 0x00030004u);
    version.Set(65535, 0, 1, 65535);
    WORD major = 0, minor = 0, build = 0, revision = 0;
    version.Get(major, minor, build, revision);
    EXPECT_EQ((std::vector<WORD> {major, minor, build, revision}), (std::vector<WORD> {65535, 0, 1, 65535}));
    EXPECT_EQ(version.ToString(), "65535.0.1.65535");

    // Parsing replaces the whole value.
    version.Parse("2");
    EXPECT_EQ(version, CVersion(0, 0, 0, 2));
    const CVersion one("1.0.0.0");
    EXPECT_LT(one, CVersion("1.0.0.1"));
    EXPECT_GT(one, CVersion("0.9.65535.65535"));
    EXPECT_FALSE(one > one);
    EXPECT_LE(one, one);
    EXPECT_GE(one, one);
    // The top bits are set here; a signed comparison would put these first.
    EXPECT_GT(CVersion(65535, 0, 0, 0), CVersion(1, 0, 0, 0));
    EXPECT_GT(CVersion(1, 0, 65535, 0), CVersion(1, 0, 1, 65535));
    EXPECT_LT(CVersion(1, 0, 65535, 65535), CVersion(1, 1, 0, 0));

    EXPECT_NE(CVersion(1, 2, 3, 4), CVersion(1, 2, 4, 3));
    EXPECT_NE(CVersion(1, 2, 3, 4), CVersion(2, 1, 3, 4));
}
