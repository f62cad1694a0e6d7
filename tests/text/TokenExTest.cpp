#include "text/TokenEx.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

CStringArray Strings(std::initializer_list<const char*> items)
{
    CStringArray array;
    for (const char* item : items)
        array.Add(item);
    return array;
}

void ExpectStrings(const CStringArray& actual, std::initializer_list<const char*> expected)
{
    ASSERT_EQ(actual.GetSize(), int(expected.size()));
    int i = 0;
    for (const char* item : expected)
        EXPECT_EQ(actual[i++], item) << "at " << i - 1;
}

struct PathParts {
    CString drive, directory, name, extension;
};

PathParts Split(const char* path, bool directoryOnly = false)
{
    PathParts parts;
    CTokenEx().SplitPath(directoryOnly, path, parts.drive, parts.directory, parts.name, parts.extension);
    return parts;
}

} // namespace

TEST(TokenEx, SplitDropsEmptyTokensUnlessAskedAndNeverTheLastOne)
{
    CTokenEx tokens;
    CStringArray out;
    tokens.Split("a,,b,", ",", out, false);
    ExpectStrings(out, {"a", "b"});

    out.RemoveAll();
    tokens.Split("a,,b,", ",", out, true);
    ExpectStrings(out, {"a", "", "b"});

    // The array is appended to, not replaced.
    tokens.Split("c", ",", out, true);
    ExpectStrings(out, {"a", "", "b", "c"});
}

TEST(TokenEx, EmptyDelimiterMeansComma)
{
    CTokenEx tokens;
    CStringArray out;
    tokens.Split("x,y", "", out);
    ExpectStrings(out, {"x", "y"});
    EXPECT_EQ(tokens.Join("", Strings({"1", "2"})), "1,2");
    CString source = "p,q";
    EXPECT_EQ(tokens.GetString(source, ""), "p");
}

TEST(TokenEx, SplitWithMultiCharacterDelimiter)
{
    CStringArray out;
    CTokenEx().Split("one::two::::three", "::", out, true);
    ExpectStrings(out, {"one", "two", "", "three"});
}

TEST(TokenEx, GetStringPopsOneTokenAtATime)
{
    CTokenEx tokens;
    CString source = ",,x,y";
    EXPECT_EQ(tokens.GetString(source, ",", false), "x");
    EXPECT_EQ(source, "y");
    EXPECT_EQ(tokens.GetString(source, ",", false), "y");
    EXPECT_EQ(source, "");

    source = ",,x";
    EXPECT_EQ(tokens.GetString(source, ",", true), "");
    EXPECT_EQ(source, ",x");

    source = "--a--b";
    EXPECT_EQ(tokens.GetString(source, "--", false), "a");
    EXPECT_EQ(source, "b");
}

TEST(TokenEx, JoinPutsTheDelimiterOnlyBetweenElements)
{
    CTokenEx tokens;
    EXPECT_EQ(tokens.Join("; ", Strings({"a", "b", "c"})), "a; b; c");
    EXPECT_EQ(tokens.Join(";", Strings({})), "");
    EXPECT_EQ(tokens.Join(";", Strings({"only"})), "only");
}

TEST(TokenEx, SplitPathOfDriveLetterPaths)
{
    PathParts p = Split("C:\\dir\\file.txt");
    EXPECT_EQ(p.drive, "C:");
    EXPECT_EQ(p.directory, "dir");
    EXPECT_EQ(p.name, "file");
    EXPECT_EQ(p.extension, "txt");

    p = Split("C:\\dir.d\\file");
    EXPECT_EQ(p.directory, "dir.d");
    EXPECT_EQ(p.name, "file");
    EXPECT_EQ(p.extension, "");

    p = Split("C:\\a\\b\\archive.tar.gz");
    EXPECT_EQ(p.directory, "a\\b");
    EXPECT_EQ(p.name, "archive.tar");
    EXPECT_EQ(p.extension, "gz");

    p = Split("C:\\top.txt");
    EXPECT_EQ(p.directory, "");
    EXPECT_EQ(p.name, "top");

    p = Split("C:\\a\\b\\c", true);
    EXPECT_EQ(p.drive, "C:");
    EXPECT_EQ(p.directory, "a\\b\\c");
    EXPECT_EQ(p.name, "");
    EXPECT_EQ(p.extension, "");
}

TEST(TokenEx, SplitPathOfNetworkPaths)
{
    PathParts p = Split("\\\\server\\share\\dir\\file.txt");
    EXPECT_EQ(p.drive, "\\\\server\\share");
    EXPECT_EQ(p.directory, "dir");
    EXPECT_EQ(p.name, "file");
    EXPECT_EQ(p.extension, "txt");

    // No backslash after the share: the whole path is the drive.
    p = Split("\\\\server\\share");
    EXPECT_EQ(p.drive, "\\\\server\\share");
    EXPECT_EQ(p.directory, "");
    EXPECT_EQ(p.name, "");
    EXPECT_EQ(p.extension, "");
}

TEST(TokenEx, SplitPathOfRelativeAndShortPaths)
{
    PathParts p = Split("dir\\file.txt");
    EXPECT_EQ(p.drive, "");
    EXPECT_EQ(p.directory, "dir");
    EXPECT_EQ(p.name, "file");

    p = Split("C:file.txt");
    EXPECT_EQ(p.drive, "C:");
    EXPECT_EQ(p.directory, "");
    EXPECT_EQ(p.name, "file");
    EXPECT_EQ(p.extension, "txt");

    p = Split("");
    EXPECT_EQ(p.drive, "");
    EXPECT_EQ(p.name, "");
    p = Split("\\");
    EXPECT_EQ(p.drive, "");
    EXPECT_EQ(p.directory, "");
}

TEST(TokenEx, DelimiterWithNulByteIsMatchedWhole)
{
    const CString delimiter("\0;", 2);
    const CString source("a\0;b;c", 6);
    CStringArray out;
    CTokenEx().Split(source, delimiter, out, true);
    ASSERT_EQ(out.GetSize(), 2);
    EXPECT_EQ(out[0], "a");
    EXPECT_EQ(out[1], CString("b;c"));

    CString rest = source;
    EXPECT_EQ(CTokenEx().GetString(rest, delimiter), "a");
    EXPECT_EQ(rest, "b;c");
}
