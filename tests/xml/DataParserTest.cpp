#include "XmlTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace std::string_literals;

namespace {

constexpr DWORD kNoMatch = CDataParser::ErrorSuccess;
constexpr DWORD kNoData = CDataParser::ErrorNoData;
constexpr DWORD kPastEnd = CDataParser::ErrorPastEnd;
constexpr DWORD kSucceeded = 0xFFFFFFFF;

// The last error left by a call that must fail, or kSucceeded.
DWORD FailureOf(bool result)
{
    return result ? kSucceeded : GetLastError();
}

// A success must also clear the last error.
bool Succeeded(bool result)
{
    return result && GetLastError() == CDataParser::ErrorSuccess;
}

// What a call gave, and the point it left: kSucceeded (a success must also
// clear the last error) or the last error of a failure.
using Outcome = std::pair<DWORD, CParsePoint>;
Outcome After(bool result, const CParsePoint& point)
{
    const DWORD error = GetLastError();
    return {result ? (error == CDataParser::ErrorSuccess ? kSucceeded : 0x40000000 | error) : error, point};
}
Outcome Gives(DWORD outcome, const CParsePoint& point) { return {outcome, point}; }

class DataParser : public ::testing::Test {
protected:
    void Load(const std::string& bytes, bool utf16 = false, bool bigEndian = false)
    {
        ASSERT_TRUE(Attach(parser, bytes));
        parser.SetTextToASCII(!utf16);
        parser.SetTextToBigEndian(bigEndian);
    }

    CDataParser parser;
    CParsePoint result;
    CString text = "stale";
};

} // namespace

TEST_F(DataParser, WithoutAnArrayOperationsFailWith487)
{
    EXPECT_EQ(FailureOf(parser.Initialize(nullptr)), kNoData);
    EXPECT_EQ(parser.GetSize(), 0u);
    EXPECT_EQ(GetLastError(), kNoData);
    CParsePoint point = At(3, 2, 2);
    DWORD character = 7;
    EXPECT_EQ(After(parser.GetNextCharacter(point, character), point), Gives(kNoData, At(3, 2, 2)));
    EXPECT_EQ(After(parser.Find(point, BYTE('a'), result), result), Gives(kNoData, At(0, 1, 1)));
}

TEST_F(DataParser, InitializeFromStringsJoinsThemAndResetsTheEncoding)
{
    parser.SetTextToUCS4(true);
    parser.SetUCS4Order(1234);
    parser.SetUnicodeToASCIITranslationFailureCharacter('?');
    CStringArray strings;
    strings.Add("ab");
    strings.Add("cd");
    ASSERT_TRUE(Succeeded(parser.Initialize(strings)));
    EXPECT_EQ(parser.GetSize(), 4u);
    EXPECT_EQ(parser.GetAt(3), BYTE('d'));
    EXPECT_EQ(parser.GetAt(4), 0);
    EXPECT_EQ(GetLastError(), kPastEnd);
    EXPECT_TRUE(parser.IsTextASCII());
    EXPECT_EQ(parser.GetUCS4Order(), 4321u);
    EXPECT_EQ(parser.GetUnicodeToASCIITranslationFailureCharacter(), BYTE('q'));
}

TEST_F(DataParser, AttachedArraysAreKeptUnlessOwnedAndSeeNoDataWhenTheyAreTheOutput)
{
    CByteArray bytes;
    bytes.Add(BYTE('x'));
    ASSERT_TRUE(parser.Initialize(&bytes, false));
    parser.Empty();
    EXPECT_EQ(bytes.GetSize(), 1);
    // Output into the attached array sees no data.
    ASSERT_TRUE(parser.Initialize(&bytes));
    EXPECT_EQ(FailureOf(parser.Get(result, 1, bytes)), kPastEnd);
    EXPECT_EQ(parser.GetSize(), 0u);
    // Attaching the owned array again must not delete it on the way.
    auto* owned = new CByteArray;
    owned->Add(BYTE('y'));
    owned->Add(BYTE('z'));
    ASSERT_TRUE(parser.Initialize(owned, true));
    ASSERT_TRUE(parser.Initialize(owned, true));
    EXPECT_EQ(parser.GetAt(1), BYTE('z'));
}

TEST_F(DataParser, EncodingFlagsFollowTheirRules)
{
    parser.SetTextToUCS4(true);
    EXPECT_FALSE(parser.IsTextASCII());
    parser.SetTextToUCS4(false);
    EXPECT_FALSE(parser.IsTextASCII()); // UTF-16 remains selected
    parser.SetTextToUCS4(true);
    parser.SetTextToASCII(true);
    EXPECT_FALSE(parser.IsTextUCS4());
    EXPECT_TRUE(parser.SetUCS4Order(2143));
    EXPECT_EQ(FailureOf(parser.SetUCS4Order(1000)), CDataParser::ErrorBadUCS4Order);
    EXPECT_EQ(parser.GetUCS4Order(), 4321u);
}

TEST_F(DataParser, OddUTF16BufferNeverYieldsItsLastByte)
{
    Load("A\0B\0C"s, true);
    DWORD character = 9;
    EXPECT_TRUE(Succeeded(parser.PeekAtCharacter(At(0, 1, 1), character, 1)));
    EXPECT_EQ(character, DWORD('B'));
    EXPECT_EQ(FailureOf(parser.PeekAtCharacter(At(0, 1, 1), character, 2)), kPastEnd);
    // Reading passes the lone byte, then fails.
    CParsePoint point = At(4, 1, 5);
    EXPECT_EQ(After(parser.GetNextCharacter(point, character), point), Gives(kPastEnd, At(5, 1, 6)));
    // Offsets and indexes whose sums would wrap in 32 bits.
    EXPECT_EQ(parser.PeekCharacter(At(2, 1, 1), 0x7FFFFFFF), 0u);
    EXPECT_EQ(GetLastError(), kPastEnd);
    parser.SetTextToASCII(true);
    EXPECT_EQ(parser.GetCharacter(At(0xFFFFFFFF, 1, 1), 1), 0u);
    EXPECT_EQ(GetLastError(), kPastEnd);
}

TEST_F(DataParser, GetNextCharacterStepsOverEachByteAndTranslatesAbove255)
{
    Load("A\0\n\0\n\x01\xAC\x20"s, true);
    parser.SetUnicodeToASCIITranslationFailureCharacter('?');
    CParsePoint point;
    DWORD character = 0;
    ASSERT_TRUE(parser.GetNextCharacter(point, character));
    EXPECT_EQ(After(parser.GetNextCharacter(point, character), point), Gives(kSucceeded, At(4, 2, 2)));
    EXPECT_EQ(character, 0x0Au);
    // U+010A also holds a 0x0A byte, which counts a line.
    EXPECT_EQ(After(parser.GetNextCharacter(point, character), point), Gives(kSucceeded, At(6, 3, 2)));
    EXPECT_EQ(character, DWORD('?'));
    EXPECT_EQ(parser.PeekCharacter(point), 0x20ACu);
    EXPECT_EQ(parser.GetCharacter(point), DWORD('?'));
}

TEST_F(DataParser, AdvanceCountsCharactersAndReachesTheEndByIndexAlone)
{
    Load("a\0\n\0b\0"s, true);
    CParsePoint point;
    EXPECT_EQ(After(parser.AdvanceByOneCharacter(point), point), Gives(kSucceeded, At(2, 1, 2)));
    EXPECT_EQ(After(parser.AdvanceByOneCharacter(point), point), Gives(kSucceeded, At(4, 2, 1)));
    EXPECT_EQ(After(parser.AdvanceByOneCharacter(point), point), Gives(kPastEnd, At(6, 2, 1))); // the last character
    DWORD character = 0;
    EXPECT_EQ(FailureOf(parser.GetNextCharacter(point, character)), kPastEnd);
    // A given character decides the line count instead of the data.
    point.Empty();
    EXPECT_EQ(After(parser.AdvanceByOneCharacter(point, '\n'), point), Gives(kSucceeded, At(2, 2, 1)));
    // Far past the end the index saturates instead of wrapping to the start.
    point.SetIndex(0xFFFFFFFE);
    EXPECT_FALSE(parser.AdvanceByOneCharacter(point));
    EXPECT_EQ(point.GetIndex(), 0xFFFFFFFFu);

    Load("ab"s);
    point.Empty();
    EXPECT_EQ(After(parser.AdvanceByOneCharacter(point, '\n'), point), Gives(kSucceeded, At(1, 2, 1)));
    EXPECT_EQ(After(parser.AdvanceByOneCharacter(point), point), Gives(kPastEnd, At(2, 2, 1)));
}

// (That a failed search resets its result, and a failed extraction into a
// CString leaves it empty, is checked by the data parser fuzz target's model
// over its corpus.)
TEST_F(DataParser, ByteSearchesCountLinesAndFoldOnlyLetters)
{
    Load("ab\ncd\r\nxy"s);
    EXPECT_EQ(After(parser.Find(At(1, 1, 2), BYTE('y'), result), result), Gives(kSucceeded, At(8, 3, 2)));

    CByteArray pattern;
    EXPECT_TRUE(parser.Find(At(4, 2, 2), pattern, result)); // empty: at the start
    EXPECT_EQ(result, At(4, 2, 2));
    for (char byte : "\r\nX"s)
        pattern.Add(BYTE(byte));
    EXPECT_FALSE(parser.Find(CParsePoint(), pattern, result));
    EXPECT_EQ(After(parser.FindNoCase(CParsePoint(), pattern, result), result), Gives(kSucceeded, At(5, 2, 3)));
    pattern.Add(BYTE('y'));
    pattern.Add(BYTE('y'));
    EXPECT_EQ(FailureOf(parser.FindNoCase(CParsePoint(), pattern, result)), kNoMatch); // runs past the end
    Load("@[\xC0Z"s);
    pattern.SetSize(1);
    for (BYTE other : {BYTE('`'), BYTE('{'), BYTE(0xE0)}) {
        pattern[0] = other;
        EXPECT_FALSE(parser.FindNoCase(CParsePoint(), pattern, result)) << int(other);
    }
    pattern[0] = BYTE('z');
    EXPECT_EQ(After(parser.FindNoCase(CParsePoint(), pattern, result), result), Gives(kSucceeded, At(3, 1, 4)));
}

TEST_F(DataParser, BulkScansGiveTheSamePointAsSteppingEveryByte)
{
    std::mt19937 random(7);
    std::string bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += "ab\n\r"[random() % 4];
    Load(bytes);
    for (DWORD start = 0; start < bytes.size(); start += 37) {
        const CParsePoint from = At(start, 5, 0xFFFFFFF0);
        CParsePoint stepped = from;
        while (stepped.GetIndex() < bytes.size() && bytes[stepped.GetIndex()] != 'b')
            stepped.AutoIncrement(BYTE(bytes[stepped.GetIndex()]));
        const bool found = stepped.GetIndex() < bytes.size();
        ASSERT_EQ(parser.Find(from, BYTE('b'), result), found);
        if (found) {
            ASSERT_EQ(result, stepped) << start;
            stepped.AutoIncrement('b');
        }
        CParsePoint taken = from;
        parser.GetUntilAndIncluding(taken, BYTE('b'), text);
        ASSERT_EQ(taken, stepped) << start;
    }
}

TEST_F(DataParser, FindStringMatchesWholeCharactersAndFindNoCaseWidensThePatternForUTF16)
{
    Load("ABC\0\xAC\x20x\0a\0b\0"s, true);
    EXPECT_EQ(FailureOf(parser.Find(CParsePoint(), CString("B"), result)), kNoMatch); // half of U+4241
    EXPECT_EQ(After(parser.Find(CParsePoint(), CString("C"), result), result), Gives(kSucceeded, At(2, 1, 3)));
    // A pattern byte matches the character of that value only.
    EXPECT_FALSE(parser.Find(CParsePoint(), CString("q"), result));
    EXPECT_FALSE(parser.Find(CParsePoint(), CString("\xAC"), result));
    EXPECT_EQ(After(parser.Find(CParsePoint(), CString("ab"), result), result), Gives(kSucceeded, At(8, 1, 9)));
    // The candidate fits by its character count, but its second character is cut off.
    EXPECT_EQ(After(parser.Find(At(10, 1, 11), CString("bc"), result), result), Gives(kPastEnd, At(0, 1, 1)));
    EXPECT_EQ(FailureOf(parser.Find(CParsePoint(), CString(""), result)), kPastEnd);
    // A first character cut off ends the search without a match.
    Load("x\0a\0b"s, true);
    EXPECT_EQ(FailureOf(parser.Find(At(4, 1, 5), CString("b"), result)), kNoMatch);
    Load("\0x\0A\0b\0\xE9\xFF\xE9"s, true, true);
    EXPECT_EQ(After(parser.FindNoCase(CParsePoint(), CString("aB"), result), result), Gives(kSucceeded, At(2, 1, 3)));
    EXPECT_TRUE(parser.FindNoCase(CParsePoint(), CString("\xE9"), result)); // FF E9, not 00 E9
    EXPECT_EQ(result, At(8, 1, 9));
    parser.SetTextToUCS4(true);
    result = At(1, 1, 2);
    EXPECT_FALSE(parser.FindNoCase(CParsePoint(), CString("x"), result));
    EXPECT_EQ(result, At(1, 1, 2));
}

TEST_F(DataParser, GetTakesExactlyCountBytes)
{
    Load("ab\ncd"s);
    CParsePoint point = At(1, 1, 2);
    CByteArray bytes;
    EXPECT_EQ(After(parser.Get(point, 3, bytes), point), Gives(kSucceeded, At(4, 2, 2)));
    EXPECT_EQ(AsString(bytes), "b\nc");
    EXPECT_EQ(FailureOf(parser.Get(point, 0xFFFFFFFF, text)), kPastEnd); // index + count wraps in 32 bits
    EXPECT_EQ(point, At(4, 2, 2));
    EXPECT_TRUE(parser.Get(point, 1, text));
    EXPECT_STREQ(text, "d");
    EXPECT_TRUE(parser.Get(point, 0, text));
}

TEST_F(DataParser, GetUntilAByteOrAPatternKeepsPartialBytesOnlyInTheArrayFormAndReadsAnyEncoding)
{
    Load("ab\n>cd"s);
    CParsePoint point;
    EXPECT_EQ(After(parser.GetUntilAndIncluding(point, BYTE('>'), text), point), Gives(kSucceeded, At(4, 2, 2)));
    EXPECT_STREQ(text, "ab\n>");
    CParsePoint other = point;
    EXPECT_EQ(FailureOf(parser.GetUntilAndIncluding(point, BYTE('>'), text)), kPastEnd);
    CByteArray bytes;
    EXPECT_EQ(After(parser.GetUntilAndIncluding(other, BYTE('>'), bytes), other), Gives(kPastEnd, At(6, 2, 4)));
    EXPECT_EQ(AsString(bytes), "cd");
    Load("-->x\n-->-"s);
    CByteArray pattern;
    for (char byte : "-->"s)
        pattern.Add(BYTE(byte));
    point.Empty();
    EXPECT_EQ(After(parser.GetUntilAndIncluding(point, pattern, text), point), Gives(kSucceeded, At(8, 2, 4)));
    EXPECT_STREQ(text, "-->x\n-->");
    point = At(2, 1, 3);
    pattern.Add(BYTE('Z'));
    EXPECT_EQ(FailureOf(parser.GetUntilAndIncluding(point, pattern, text)), kPastEnd);
    EXPECT_EQ(point, At(6, 2, 2)); // the first position where four bytes no longer fit
    Load("<!-- \xAC\x20 -->tail"s);
    point.Empty();
    EXPECT_EQ(After(parser.GetUntilAndIncluding(point, CString("-->"), text), point), Gives(kSucceeded, At(11, 1, 12)));
    EXPECT_EQ(text, CString("<!-- \xAC\x20 -->"));

    Load("<\0!\0\xAC\x20-\0>\0x\0"s, true);
    point.Empty();
    EXPECT_EQ(After(parser.GetUntilAndIncluding(point, CString("->"), text), point), Gives(kSucceeded, At(10, 1, 11)));
    EXPECT_STREQ(text, "<!q->");
    EXPECT_EQ(After(parser.GetUntilAndIncluding(point, CString("->"), text), point), Gives(kPastEnd, At(12, 1, 13)));
}
