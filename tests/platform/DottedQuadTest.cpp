#include "platform/Network.h"

#include <gtest/gtest.h>

#include <vector>

TEST(DottedQuad, ReadsOnlyFourDecimalFieldsOfAByte)
{
    unsigned char parts[4] = {9, 9, 9, 9};
    ASSERT_TRUE(platform::ParseDottedQuad("192.168.0.255", parts));
    EXPECT_EQ(std::vector<int>(parts, parts + 4), (std::vector<int> {192, 168, 0, 255}));
    ASSERT_TRUE(platform::ParseDottedQuad("000.01.1.0", parts));
    EXPECT_EQ(std::vector<int>(parts, parts + 4), (std::vector<int> {0, 1, 1, 0}));

    for (const char* text : {"", "1.2.3", "1.2.3.4.5", "1.2.3.256", "1.2.3.0256", "1.2.3.4 ", " 1.2.3.4", "1..3.4",
                             "+1.2.3.4", "0x1.2.3.4", "1.2.3.", "a.b.c.d"}) {
        SCOPED_TRACE(text);
        unsigned char kept[4] = {7, 7, 7, 7};
        EXPECT_FALSE(platform::ParseDottedQuad(text, kept));
        EXPECT_EQ(kept[0], 7) << "a refused text leaves the parts alone";
    }
    EXPECT_FALSE(platform::ParseDottedQuad(nullptr, parts));
}
