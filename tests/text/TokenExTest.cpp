#include "text/TokenEx.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

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

// The parts SplitPath gives, as "drive|directory|name|extension".
CString SplitPath(const char* path, bool directoryOnly)
{
    CString drive, directory, name, extension;
    CTokenEx().SplitPath(directoryOnly, path, drive, directory, name, extension);
    return drive + "|" + directory + "|" + name + "|" + extension;
}

} // namespace

// Empty tokens are dropped unless asked for, and the last one always; an
// empty delimiter means ","; a delimiter holding a NUL byte is matched whole.
TEST(TokenEx, SplitIntoTokens)
{
    const struct {
        CString source;
        CString delimiter;
        bool keepEmpty;
        std::initializer_list<const char*> tokens;
    } cases[] = {
        { "a,,b,", ",", false, { "a", "b" } },
        { "a,,b,", ",", true, { "a", "", "b" } },
        { "x,y", "", false, { "x", "y" } },
        { "one::two::::three", "::", true, { "one", "two", "", "three" } },
        { CString("a\0;b;c", 6), CString("\0;", 2), true, { "a", "b;c" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        CStringArray out;
        CTokenEx().Split(c.source, c.delimiter, out, c.keepEmpty);
        ExpectStrings(out, c.tokens);
    }
    // The array is appended to, not replaced.
    CStringArray out = Strings({ "a" });
    CTokenEx().Split("c", ",", out, true);
    ExpectStrings(out, { "a", "c" });
    CString source = "p,q";
    EXPECT_EQ(CTokenEx().GetString(source, ""), "p");
}

// The delimiter stands only between elements; an empty one means ",".
TEST(TokenEx, JoinPutsTheDelimiterOnlyBetweenElements)
{
    const std::pair<CStringArray, const char*> cases[] = {
        { Strings({ "a", "b", "c" }), "a; b; c" }, { Strings({}), "" }, { Strings({ "only" }), "only" } };
    for (const auto& [items, joined] : cases)
        EXPECT_EQ(CTokenEx().Join("; ", items), joined);
    EXPECT_EQ(CTokenEx().Join("", Strings({ "1", "2" })), "1,2");
}

// Leading delimiters are skipped unless empty tokens are kept; the source
// keeps what follows the token's delimiter, a NUL byte included.
TEST(TokenEx, GetStringPopsOneTokenAtATime)
{
    const struct {
        CString source, delimiter;
        bool keepEmpty;
        const char *token, *rest;
    } cases[] = { { ",,x,y", ",", false, "x", "y" }, { "y", ",", false, "y", "" }, { ",,x", ",", true, "", ",x" },
                  { "--a--b", "--", false, "a", "b" },
                  { CString("a\0;b;c", 6), CString("\0;", 2), false, "a", "b;c" } };
    for (const auto& c : cases) {
        CString source = c.source;
        EXPECT_EQ(CTokenEx().GetString(source, c.delimiter, c.keepEmpty), c.token) << c.source;
        EXPECT_EQ(source, c.rest) << c.source;
    }
}

TEST(TokenEx, SplitPathIntoDriveDirectoryNameAndExtension)
{
    const struct {
        const char* path;
        bool directoryOnly;
        const char* parts; // drive|directory|name|extension
    } cases[] = {
        { "C:\\dir\\file.txt", false, "C:|dir|file|txt" },
        { "C:\\dir.d\\file", false, "C:|dir.d|file|" },
        { "C:\\a\\b\\archive.tar.gz", false, "C:|a\\b|archive.tar|gz" },
        { "C:\\top.txt", false, "C:||top|txt" },
        { "C:\\a\\b\\c", true, "C:|a\\b\\c||" },
        { "\\\\server\\share\\dir\\file.txt", false, "\\\\server\\share|dir|file|txt" },
        // No backslash after the share: the whole path is the drive.
        { "\\\\server\\share", false, "\\\\server\\share|||" },
        { "dir\\file.txt", false, "|dir|file|txt" },
        { "C:file.txt", false, "C:||file|txt" },
        { "", false, "|||" },
        { "\\", false, "|||" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitPath(c.path, c.directoryOnly), c.parts) << c.path;
}
