#include "framework/Exceptions.h"
#include "framework/String.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

std::string Bytes(const CString& s)
{
    return std::string(s.GetString(), static_cast<std::size_t>(s.GetLength()));
}

TEST(StringConstructionAndConcatenation, NullAndLengthFormsMovesAllOperandFormsAndArgumentsThatAliasTheString)
{
    EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
    EXPECT_EQ(Bytes(CString("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_TRUE(CString(nullptr, 0).IsEmpty());
    EXPECT_THROW(CString("abc", -1), CInvalidArgException);
    EXPECT_THROW(CString(nullptr, 2), CInvalidArgException);
    EXPECT_EQ(CString('x', 3), "xxx");
    EXPECT_TRUE(CString('x', 0).IsEmpty());
    EXPECT_TRUE(CString('x', -5).IsEmpty());
    CString source("a long enough text to live on the heap, not inline");
    CString target(std::move(source));
    EXPECT_TRUE(source.IsEmpty());
    source = std::move(target);
    EXPECT_TRUE(target.IsEmpty());
    EXPECT_EQ(source.GetLength(), 50);

    const CString ab("ab");
    EXPECT_EQ(ab + CString("c"), "abc");
    EXPECT_EQ(ab + "c", "abc");
    EXPECT_EQ("c" + ab, "cab");
    EXPECT_EQ(ab + 'c', "abc");
    EXPECT_EQ('c' + ab, "cab");
    EXPECT_EQ(ab + static_cast<const char*>(nullptr), "ab");
    CString s;
    s += "x";
    s += 'y';
    s += CString('\0');
    EXPECT_EQ(Bytes(s), std::string("xy\0", 3));
    s = "0123456789";
    s += s;
    EXPECT_EQ(s, "01234567890123456789");
    s += s.GetString() + 15;
    EXPECT_EQ(s, "0123456789012345678956789");
    s = s.GetString() + 20;
    EXPECT_EQ(s, "56789");
}

TEST(StringComparisonAndAccess, BytesCompareUnsignedOnEitherSideAndIndexOutsideLengthThrows)
{
    const CString high("\x80");
    EXPECT_TRUE(high > "a");
    EXPECT_TRUE("a" < high);
    EXPECT_TRUE(CString("abc") == "abc");
    EXPECT_TRUE("abd" != CString("abc"));
    EXPECT_TRUE(CString("ab") <= CString("abc"));
    EXPECT_TRUE(CString("b") >= "abc");
    EXPECT_TRUE(CString() == static_cast<const char*>(nullptr));
    // The const char* side ends at its NUL; the CString side does not.
    EXPECT_TRUE(CString("a\0b", 3) > "a");
    EXPECT_TRUE(CString("a\0b", 3) != CString("a"));
    EXPECT_GT(CString("\xff").Compare("\x01"), 0);
    EXPECT_EQ(CString("MiXed\xC4").CompareNoCase("mixED\xC4"), 0);
    EXPECT_NE(CString("\xC4").CompareNoCase("\xE4"), 0);
    EXPECT_LT(CString("ab").CompareNoCase("ABC"), 0);

    CString s("a\0c", 3);
    EXPECT_EQ(s[1], '\0');
    s.SetAt(1, 'b');
    EXPECT_EQ(s.GetAt(1), 'b');
    EXPECT_THROW(s[3], CInvalidArgException);
    EXPECT_THROW(s.GetAt(-1), CInvalidArgException);
    EXPECT_THROW(s.SetAt(3, 'x'), CInvalidArgException);
    EXPECT_THROW(CString().GetAt(0), CInvalidArgException);
}

TEST(StringFormat, CPrintfRulesWindowsI64PrefixLongOutputAndSelfReference)
{
    CString s;
    s.Format("%d|%5s|%-3c|%.2f|%e|%x", -42, "ab", 'z', 2.005, 1.5, 255u);
    EXPECT_EQ(s, "-42|   ab|z  |2.00|1.500000e+00|ff");
    s.Format("%c", '\0');
    EXPECT_EQ(s.GetLength(), 1);
    s.Format(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    s.Format("%I64d %I64u %I64x %-10I64d|", LLONG_MIN, ULLONG_MAX, 0xABCDEF0123ULL, 7LL);
    EXPECT_EQ(s, "-9223372036854775808 18446744073709551615 abcdef0123 7         |");
    s.Format("%%I64d %d %I64X", 1, 255LL);
    EXPECT_EQ(s, "%I64d 1 FF");
    s = CString('x', 1000);
    s.Format("[%s]", s.GetString());
    EXPECT_EQ(s.GetLength(), 1002);
    EXPECT_EQ(s.Left(2), "[x");
    s = "n=";
    s.AppendFormat("%d", 5);
    s.AppendFormat("%s", s.GetString());
    EXPECT_EQ(s, "n=5n=5");
}

TEST(StringSearch, StartIsClampedEmptyTextMatchesAtStartAndSubstringArgumentsAreClamped)
{
    const CString s("abcabc");
    EXPECT_EQ(s.Find('c'), 2);
    EXPECT_EQ(s.Find('c', 3), 5);
    EXPECT_EQ(s.Find('a', -7), 0);
    EXPECT_EQ(s.Find('a', 6), -1);
    EXPECT_EQ(s.Find("bc", 2), 4);
    EXPECT_EQ(s.Find("abcd"), -1);
    EXPECT_EQ(s.Find("", 6), 6);
    EXPECT_EQ(s.Find("", 7), -1);
    EXPECT_EQ(s.Find(static_cast<const char*>(nullptr), 2), 2);
    EXPECT_EQ(s.ReverseFind('a'), 3);
    EXPECT_EQ(s.ReverseFind('z'), -1);
    EXPECT_EQ(s.ReverseFind("ab"), 3);
    EXPECT_EQ(s.ReverseFind(""), 6);
    EXPECT_EQ(CString("a\0b", 3).Find('b'), 2);
    const CString hello("hello");
    EXPECT_EQ(hello.Mid(1, 3), "ell");
    EXPECT_EQ(hello.Mid(-2, 2), "he");
    EXPECT_EQ(hello.Mid(3, INT_MAX), "lo");
    EXPECT_EQ(hello.Mid(9), "");
    EXPECT_EQ(hello.Mid(2, -1), "");
    EXPECT_EQ(hello.Left(-1), "");
    EXPECT_EQ(hello.Left(50), "hello");
    EXPECT_EQ(hello.Right(2), "lo");
    EXPECT_EQ(hello.Right(INT_MAX), "hello");
    EXPECT_EQ(hello.Right(-3), "");
}

TEST(StringTrimAndCase, BlanksCharactersSetsAndAsciiLettersOnly)
{
    EXPECT_EQ(CString(" \t\n\v\f\rmid dle\r\n ").Trim(), "mid dle");
    EXPECT_EQ(CString("  x  ").TrimLeft(), "x  ");
    EXPECT_EQ(CString("  x  ").TrimRight(), "  x");
    EXPECT_EQ(CString(" \t ").Trim(), "");
    EXPECT_EQ(CString("--x-y--").Trim('-'), "x-y");
    EXPECT_EQ(CString("ab12ba").Trim("ab"), "12");
    EXPECT_EQ(CString("ab12ba").TrimLeft("ba"), "12ba");
    EXPECT_EQ(CString(" x ").Trim(static_cast<const char*>(nullptr)), " x ");
    CString set("xy");
    EXPECT_EQ(set.Trim(set.GetString()), "");
    CString s("aZ09\xE4\xC4");
    EXPECT_EQ(Bytes(s.MakeUpper()), "AZ09\xE4\xC4");
    EXPECT_EQ(Bytes(s.MakeLower()), "az09\xE4\xC4");
}

TEST(StringEditing, ReplaceCountsNonOverlappingMatchesRemoveInsertDeleteClamp)
{
    CString s("aaaa");
    EXPECT_EQ(s.Replace("aa", "b"), 2);
    EXPECT_EQ(s, "bb");
    EXPECT_EQ(s.Replace("b", "bb"), 2);
    EXPECT_EQ(s, "bbbb");
    EXPECT_EQ(s.Replace("", "x"), 0);
    EXPECT_EQ(s.Replace(static_cast<const char*>(nullptr), "x"), 0);
    EXPECT_EQ(s.Replace("bb", static_cast<const char*>(nullptr)), 2);
    EXPECT_TRUE(s.IsEmpty());
    CString t("x.y.z");
    EXPECT_EQ(t.Replace('.', '/'), 2);
    EXPECT_EQ(t.Replace(t.GetString() + 1, t.GetString() + 3), 1);
    EXPECT_EQ(t, "x/z");
    s = "a,b,,c";
    EXPECT_EQ(s.Remove(','), 3);
    EXPECT_EQ(s, "abc");
    EXPECT_EQ(s.Insert(-4, '<'), 4);
    EXPECT_EQ(s.Insert(99, ">"), 5);
    EXPECT_EQ(s.Insert(1, static_cast<const char*>(nullptr)), 5);
    EXPECT_EQ(s.Insert(2, s.GetString()), 10);
    EXPECT_EQ(s, "<a<abc>bc>");
    EXPECT_EQ(s.Delete(-3, 2), 8);
    EXPECT_EQ(s.Delete(6, 100), 6);
    EXPECT_EQ(s.Delete(50), 6);
    EXPECT_EQ(s.Delete(0, -1), 6);
    EXPECT_EQ(s, "<abc>b");
}

TEST(StringBuffer, FillReleaseAndBadLengthsThatThrow)
{
    CString s("abc");
    char* buffer = s.GetBuffer(10);
    EXPECT_EQ(std::string(buffer, 3), "abc");
    std::strcpy(buffer, "0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "0123456789");
    buffer = s.GetBuffer(0);
    buffer[2] = '\0';
    s.ReleaseBuffer();
    EXPECT_EQ(s, "01");
    std::memcpy(s.GetBufferSetLength(4), "w\0yz", 4);
    s.ReleaseBuffer(4);
    EXPECT_EQ(Bytes(s), std::string("w\0yz", 4));
    CString t("abc");
    EXPECT_THROW(t.GetBuffer(-1), CInvalidArgException);
    EXPECT_THROW(t.GetBufferSetLength(-2), CInvalidArgException);
    t.GetBuffer(5);
    EXPECT_THROW(t.ReleaseBuffer(6), CInvalidArgException);
    EXPECT_THROW(t.ReleaseBuffer(-2), CInvalidArgException);
    t.ReleaseBuffer();
    EXPECT_EQ(t, "abc");
}

} // namespace
