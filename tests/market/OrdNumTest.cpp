#include "market/OrdNum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// The sequence follows the last colon; the middle is always characters 3
// and 4, and reading stops at the first non-digit. Short texts have fewer
// prefix characters, no middle, an empty sequence. Past 32 bits the number
// saturates, on every platform alike.
TEST(OrdNum, ReadsPrefixMiddleAndSequenceInBase36AndComparesThemInThatOrder)
{
    const struct { const char* text; unsigned prefix, middle, sequence; } cases[] = {
        { "A1B2C:1Z", 13007u, 84u, 71u },     { "00A9:X:10", 10u, 9u, 36u },
        { "Z:", 35u, 0u, 0u },                { "AAAAA:ZZZZZZZZZZ", 13330u, 370u, 0xFFFFFFFFu },
        { "AAAAA:1Z141Z3", 13330u, 370u, 0xFFFFFFFFu }, { "AAAAA:1Z141Z2", 13330u, 370u, 0xFFFFFFFEu },
    };
    for (const auto& c : cases) {
        COrdNum number;
        EXPECT_EQ(number.SetOrdNum(c.text), 1) << c.text;
        EXPECT_EQ(number.GetPrefix(), c.prefix) << c.text;
        EXPECT_EQ(number.GetMiddle(), c.middle) << c.text;
        EXPECT_EQ(number.GetSequence(), c.sequence) << c.text;
    }
    COrdNum number("A1B2C:1Z");
    EXPECT_EQ(number.SetOrdNum(nullptr), 0);
    EXPECT_STREQ(static_cast<const char*>(number), "A1B2C:1Z");
    EXPECT_EQ(number.GetSequence(), 71u);

    COrdNum none("nothing");
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_EQ(none.GetPrefix(), 0u);

    number.Empty();
    EXPECT_TRUE(number.IsEmpty());
    EXPECT_EQ(number.GetPrefix() | number.GetMiddle() | number.GetSequence(), 0u);
    EXPECT_STREQ(static_cast<const char*>(number), "");

    // Equality and order: prefix, then middle, then sequence.
    const COrdNum upper("A1B2C:1Z"), other("A1B2C:20");
    EXPECT_FALSE(upper == other);
    EXPECT_TRUE(upper != other);

    EXPECT_FALSE(COrdNum("AAA01:A") < COrdNum("AAA01:9"));
    // Numbers are compared as signed: a saturated sequence sorts first.
    EXPECT_TRUE(COrdNum("AAA01:ZZZZZZZ") < COrdNum("AAA01:1"));

    // A smaller prefix sorts first whatever the middle and the sequence, a
    // smaller middle whatever the sequence.
    std::vector<COrdNum> numbers { COrdNum("B0001:3"), COrdNum("A0002:1"), COrdNum("A0001:Z"), COrdNum("A0001:2") };
    std::sort(numbers.begin(), numbers.end());
    std::vector<std::string> texts;
    for (const COrdNum& number : numbers)
        texts.emplace_back(static_cast<const char*>(number));
    EXPECT_EQ(texts, (std::vector<std::string> { "A0001:2", "A0001:Z", "A0002:1", "B0001:3" }));
}
