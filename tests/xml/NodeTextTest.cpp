#include "xml/XmlNodeText.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using OrvXml::CNodeText;

namespace {

std::string Bytes(const CNodeText& text)
{
    return std::string(text.GetString(), std::size_t(text.GetLength()));
}

} // namespace

// The empty text reads as "" wherever it is read, and emptying a text of any
// length brings it back to that.
TEST(NodeText, EmptyTextReadsAsEmptyString)
{
    CNodeText text;
    ASSERT_NE(text.GetString(), nullptr);
    EXPECT_STREQ(text.GetString(), "");
    EXPECT_STREQ(text, "");
    EXPECT_EQ(text.GetLength(), 0);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_TRUE(text.View().empty());
    EXPECT_TRUE(text == "");
    EXPECT_TRUE(text == CString());
    EXPECT_TRUE(text == static_cast<const char*>(nullptr));

    for (const char* value : {"abc", "a text far longer than a pointer"}) {
        text = value;
        EXPECT_FALSE(text.IsEmpty());
        text.Empty();
        EXPECT_TRUE(text.IsEmpty());
        EXPECT_STREQ(text.GetString(), "");
        text = "";
        EXPECT_TRUE(text.IsEmpty());
        text = static_cast<const char*>(nullptr);
        EXPECT_TRUE(text.IsEmpty());
    }
}

// Texts on both sides of the length that still fits in place keep every
// byte and their terminating NUL, and switch storage as they are set.
TEST(NodeText, ShortAndLongTextsKeepTheirBytes)
{
    const std::string sizes[] = {"a", "1234567", "12345678", "123456789012345", std::string(5000, 'x')};
    CNodeText text;
    for (const std::string& first : sizes) {
        for (const std::string& second : sizes) {
            text = first;
            EXPECT_EQ(Bytes(text), first);
            text = std::string_view(second);
            EXPECT_EQ(Bytes(text), second);
            EXPECT_EQ(text.GetString()[text.GetLength()], '\0');
            EXPECT_EQ(std::string(text.GetString()), second);
        }
    }
}

// Setting a text from a view of its own bytes must copy them before the old
// storage goes.
TEST(NodeText, AssignmentFromItsOwnBytes)
{
    CNodeText text;
    text = "0123456789abcdef";
    text = text.View().substr(2, 12);
    EXPECT_EQ(Bytes(text), "23456789abcd");
    text = text.View().substr(1, 5);
    EXPECT_EQ(Bytes(text), "34567");
    text = text.View().substr(1);
    EXPECT_EQ(Bytes(text), "4567");
    text = text;
    EXPECT_EQ(Bytes(text), "4567");
    text = text.GetString();
    EXPECT_EQ(Bytes(text), "4567");
}

// Embedded NULs count in the length and survive copies, comparisons and the
// conversion to CString.
TEST(NodeText, EmbeddedNulsKeepTheirLength)
{
    for (const std::string& value : {std::string("a\0b", 3), std::string("head\0tail and more", 18)}) {
        CNodeText text(value);
        ASSERT_EQ(text.GetLength(), int(value.size()));
        EXPECT_EQ(text.View(), value);
        const CString converted = text.ToCString();
        EXPECT_EQ(converted.GetLength(), int(value.size()));
        EXPECT_TRUE(text == converted);
        EXPECT_FALSE(text == text.GetString());
        CNodeText copy(text);
        EXPECT_EQ(copy.View(), value);
        EXPECT_TRUE(copy == text);
        CNodeText assigned;
        assigned = converted;
        EXPECT_EQ(assigned.View(), value);
    }
}

// Copies own their bytes: changing or destroying one leaves the other.
TEST(NodeText, CopiesAreIndependent)
{
    for (const char* value : {"short", "a value that needs an allocation"}) {
        auto* original = new CNodeText(std::string_view(value));
        CNodeText copy(*original);
        CNodeText assigned;
        assigned = *original;
        if (original->GetLength() > 8) {
            EXPECT_NE(copy.GetString(), original->GetString());
        }
        *original = "changed";
        EXPECT_STREQ(copy, value);
        delete original;
        EXPECT_STREQ(copy, value);
        EXPECT_STREQ(assigned, value);
    }
}

// Equality is byte-wise with CString, const char*, views and other texts,
// from either side.
TEST(NodeText, ComparesByteWise)
{
    const CNodeText text(std::string_view("Pair"));
    EXPECT_TRUE(text == "Pair");
    EXPECT_TRUE("Pair" == text);
    EXPECT_TRUE(text != "pair");
    EXPECT_TRUE(text != "Pai");
    EXPECT_TRUE(text != "Pairs");
    EXPECT_TRUE(text == CString("Pair"));
    EXPECT_TRUE(CString("Pair") == text);
    EXPECT_TRUE(CString("Pairs") != text);
    EXPECT_TRUE(text == std::string_view("Pair"));
    EXPECT_TRUE(text == CNodeText(CString("Pair")));
    EXPECT_TRUE(text != CNodeText(CString("Pai")));
}
