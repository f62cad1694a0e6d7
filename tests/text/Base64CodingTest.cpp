#include "text/Base64Coding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CByteArray Bytes(const char* text)
{
    CByteArray bytes;
    for (const char* p = text; *p; ++p)
        bytes.Add(BYTE(*p));
    return bytes;
}

CString EncodeText(const char* text)
{
    CBase64Coding coder;
    CString encoded;
    EXPECT_TRUE(coder.Encode(Bytes(text), encoded));
    return encoded;
}

CString AsText(const CByteArray& bytes)
{
    return CString(reinterpret_cast<const char*>(bytes.GetData()), int(bytes.GetSize()));
}

} // namespace

TEST(Base64Coding, EncodingEndsWithEqualsAndTheTextFormBreaksLinesAfterEvery72Characters)
{
    const char* const texts[][2] = { { "", "=" }, { "a", "YQ==" }, { "ab", "YWI=" }, { "abc", "YWJj=" }, { "abcd", "YWJjZA==" } };
    for (const auto& [text, encoded] : texts)
        EXPECT_STREQ(EncodeText(text), encoded) << text;
    CString text = EncodeText(std::string(60, 'x').c_str());
    EXPECT_EQ(text.GetLength(), 80 + 1 + 2);
    EXPECT_EQ(text.Find("\r\n"), 72);
    EXPECT_EQ(text.Find("\r\n", 73), -1);
    EXPECT_EQ(text.Right(1), "=");

    // 54 bytes fill one line exactly: the closing "=" starts the next line,
    // so the text still ends with "=" and not with a line break.
    text = EncodeText(std::string(54, 'x').c_str());
    EXPECT_EQ(text.GetLength(), 72 + 2 + 1);
    EXPECT_EQ(text.Right(3), "\r\n=");

    // The byte form is the text form without the line breaks.
    CBase64Coding coder;
    CByteArray input, bytes;
    for (int i = 0; i < 200; ++i)
        input.Add(BYTE(i * 7));
    coder.Encode(input, text);
    coder.Encode(input, bytes);
    text.Remove('\r');
    text.Remove('\n');
    EXPECT_EQ(AsText(bytes), text);
}

// True only when the closing "=" was met; malformed input empties the output.
TEST(Base64Coding, DecodingResultsAndOutputs)
{
    const struct { const char* text; bool complete; const char* bytes; } cases[] = {
        { "YWJj", false, "abc" },  { "YWJj=", true, "abc" }, { "YW Jj\r\n=", true, "abc" },
        { "YQ==", true, "a" },     { "YWI=", true, "ab" },   { "=", true, "" },
        // "=" in an early place stops decoding with success.
        { "YWJj=garbage*", true, "abc" }, { "YWJjY=xx", true, "abc" },
        // An invalid character, no input, input that stops inside a group.
        { "YW*j=", false, "" },    { "", false, "" },        { "YWJjZ", false, "" },
        { "YWJjZA \r\n", false, "" },
    };
    CBase64Coding coder;
    for (const auto& c : cases) {
        CByteArray out = Bytes("old");
        EXPECT_EQ(coder.Decode(CString(c.text), out), c.complete) << c.text;
        EXPECT_EQ(AsText(out), c.bytes) << c.text;
    }
    // A NUL byte is an invalid character like any other.
    CByteArray withNul = Bytes("YW"), out = Bytes("old");
    withNul.Add(0);
    withNul.Add('j');
    EXPECT_FALSE(coder.Decode(withNul, out));
    EXPECT_EQ(out.GetSize(), 0);
}

// Round trips of arbitrary bytes, high bits and long lines included, are
// left to the enciphered tokens of the branded links and the XML archive's
// binary arrays.
TEST(Base64Coding, ArraysMayBeCodedIntoThemselves)
{
    CBase64Coding coder;
    CByteArray data = Bytes("abc");
    coder.Encode(data, data);
    EXPECT_EQ(AsText(data), "YWJj=");
    EXPECT_TRUE(coder.Decode(data, data));
    EXPECT_EQ(AsText(data), "abc");
}

// A coder for the URL-safe alphabet: "-" and "_" in place of "+" and "/",
// which become invalid.
class UrlSafeCoding : public CBase64Coding {
protected:
    void m_InitializeDecoderTable() override
    {
        CBase64Coding::m_InitializeDecoderTable();
        m_DecoderTable[BYTE('-')] = 62;
        m_DecoderTable[BYTE('_')] = 63;
        m_DecoderTable[BYTE('+')] = 255;
        m_DecoderTable[BYTE('/')] = 255;
    }
};

TEST(Base64Coding, AnOverriddenTableDecidesEveryCharacter)
{
    UrlSafeCoding coder;
    CByteArray out;
    // The same text with and without a blank decodes alike.
    for (const char* text : {"-_-_=", " -_-_=", "-_-_\r\n="}) {
        EXPECT_TRUE(coder.Decode(CString(text), out)) << text;
        EXPECT_EQ(AsText(out), "\xFB\xFF\xBF") << text;
    }
    EXPECT_FALSE(coder.Decode(CString("+/+/="), out) || coder.Decode(CString(" +/+/="), out));
}
