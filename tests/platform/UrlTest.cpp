// UrlCanonicalizeA on the texts the library gives it: the system's own on
// Windows (here Wine's), the stand-in natively; both must agree.
#include "platform/Url.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Canonical(const char* text, DWORD flags = URL_ESCAPE_PERCENT)
{
    char buffer[512];
    DWORD length = sizeof buffer;
    if (UrlCanonicalizeA(text, buffer, &length, flags) != S_OK)
        return "failed";
    EXPECT_EQ(std::string(buffer).size(), length);
    return std::string(buffer, length);
}

} // namespace

TEST(CanonicalUrl, EscapesLineBreaksSpacesAndPercentKeepsBase64TextAndReportsTheSizeNeeded)
{
    EXPECT_EQ(Canonical("ab\r\ncd"), "ab%0D%0Acd");
    EXPECT_EQ(Canonical("a b"), "a%20b");
    EXPECT_EQ(Canonical("a%b"), "a%25b");
    EXPECT_EQ(Canonical("Wd+iC/iTo2CIOx//QE9Sd=="), "Wd+iC/iTo2CIOx//QE9Sd==");
    EXPECT_EQ(Canonical("\t lead"), "%20lead");
    EXPECT_EQ(Canonical("trail "), "trail");
    char buffer[4] = {'x', 'x', 'x', 'x'};
    DWORD length = sizeof buffer;
    EXPECT_EQ(UrlCanonicalizeA("a b c", buffer, &length, URL_ESCAPE_PERCENT), E_POINTER);
    EXPECT_EQ(length, 10u);
}
