#include "xml/XmlNodeText.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using OrvXml::CNodeText;

// Texts on both sides of the length that still fits in place keep every byte
// and their NUL as they switch storage; the empty text reads as "". Setting
// a text from its own bytes copies them before the old storage goes.
TEST(NodeText, TextsOfEveryLengthKeepTheirBytesAlsoWhenSetFromThemselves)
{
    CNodeText text;
    ASSERT_NE(text.GetString(), nullptr);
    EXPECT_STREQ(text, "");
    EXPECT_TRUE(text.IsEmpty() && text == "" && text == static_cast<const char*>(nullptr));
    const std::string sizes[] = {"", "a", "1234567", "12345678", "123456789012345", std::string(5000, 'x')};
    for (const std::string& first : sizes) {
        for (const std::string& second : sizes) {
            text = first;
            EXPECT_EQ(text.View(), first);
            text = std::string_view(second);
            EXPECT_EQ(text.View(), second);
            EXPECT_EQ(text.GetString()[text.GetLength()], '\0');
            EXPECT_EQ(text.IsEmpty(), second.empty());
        }
        text.Empty();
        EXPECT_STREQ(text, "");
    }

    text = "0123456789abcdef";
    text = text.View().substr(2, 12);
    EXPECT_EQ(text.View(), "23456789abcd");
    text = text.View().substr(1, 5);
    EXPECT_EQ(text.View(), "34567");
    text = text.View().substr(1);
    EXPECT_EQ(text.View(), "4567");
    text = text.GetString();
    EXPECT_EQ(text.View(), "4567");
}

// Embedded NULs count in the length and survive copies, comparisons and the
// conversion to CString; copies own their bytes.
TEST(NodeText, EmbeddedNulsAndIndependentCopies)
{
    for (const std::string& value : {std::string("a\0b", 3), std::string("head\0tail and more", 18)}) {
        auto* text = new CNodeText(value);
        ASSERT_EQ(text->GetLength(), int(value.size()));
        const CString converted = text->ToCString();
        EXPECT_EQ(converted.GetLength(), int(value.size()));
        EXPECT_TRUE(*text == converted && converted == *text);
        EXPECT_FALSE(*text == text->GetString());
        CNodeText copy(*text);
        CNodeText assigned;
        assigned = converted;
        EXPECT_TRUE(copy == *text && assigned == *text);
        *text = "changed";
        delete text;
        EXPECT_EQ(copy.View(), value);
        EXPECT_EQ(assigned.View(), value);
    }
    const CNodeText pair(std::string_view("Pair"));
    EXPECT_TRUE(pair == "Pair" && "Pair" == pair && pair == CString("Pair"));
    EXPECT_TRUE(pair != "Pai" && pair != "Pairs" && CString("pair") != pair);
}
