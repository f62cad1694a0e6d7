// Membership tests over the generated character-class tables
// (XmlCharClasses.cpp): binary searches, with ASCII answered directly.
#include "xml/XmlCharClasses.h"

namespace OrvXml {

namespace {

bool InRanges(const CharRange* ranges, std::size_t count, DWORD c) noexcept
{
    std::size_t low = 0;
    std::size_t high = count;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (c < ranges[middle].first) {
            high = middle;
        } else if (c > ranges[middle].last) {
            low = middle + 1;
        } else {
            return true;
        }
    }
    return false;
}

} // namespace

bool IsXmlChar(DWORD c) noexcept { return InRanges(kCharRanges, kCharRangeCount, c); }
bool IsPubidChar(DWORD c) noexcept { return InRanges(kPubidCharRanges, kPubidCharRangeCount, c); }
bool IsBaseChar(DWORD c) noexcept { return InRanges(kBaseCharRanges, kBaseCharRangeCount, c); }
bool IsIdeographic(DWORD c) noexcept { return InRanges(kIdeographicRanges, kIdeographicRangeCount, c); }
bool IsCombiningChar(DWORD c) noexcept { return InRanges(kCombiningCharRanges, kCombiningCharRangeCount, c); }
bool IsDigit(DWORD c) noexcept { return InRanges(kDigitRanges, kDigitRangeCount, c); }
bool IsExtender(DWORD c) noexcept { return InRanges(kExtenderRanges, kExtenderRangeCount, c); }

bool IsLetter(DWORD c) noexcept
{
    if (c < 0x80) {
        return IsLetterByte(char(c));
    }
    return IsBaseChar(c) || IsIdeographic(c);
}

bool IsNameChar(DWORD c) noexcept
{
    if (c < 0x80) {
        return IsNameCharByte(char(c));
    }
    return IsLetter(c) || IsDigit(c) || IsCombiningChar(c) || IsExtender(c);
}

} // namespace OrvXml
