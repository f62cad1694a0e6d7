#include "market/OrdNum.h"

#include <cstring>

namespace {

int Base36Digit(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'A' && ch <= 'Z')
        return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'z')
        return ch - 'a' + 10;
    return -1;
}

bool IsBlank(char ch)
{
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

// strtoul(text, nullptr, 36) over at most `count` characters, with the
// results of a 32-bit unsigned long whatever the platform's width: a value
// past 32 bits gives 0xFFFFFFFF, and "-" negates modulo 2^32.
std::uint32_t ReadBase36(const char* text, std::size_t count)
{
    std::size_t i = 0;
    while (i < count && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < count && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < count; ++i) {
        const int digit = Base36Digit(text[i]);
        if (digit < 0)
            break;
        value = value * 36 + std::uint64_t(digit);
        if (value > 0xFFFFFFFFu) {
            overflow = true;
            value = 0xFFFFFFFFu;
        }
    }
    if (overflow)
        return 0xFFFFFFFFu;
    const std::uint32_t result = std::uint32_t(value);
    return negative ? std::uint32_t(0u - result) : result;
}

} // namespace

COrdNum::COrdNum(const char* text)
{
    SetOrdNum(text);
}

int COrdNum::SetOrdNum(const char* text)
{
    if (text == nullptr)
        return 0;
    const char* colon = std::strrchr(text, ':');
    if (colon == nullptr)
        return 0;
    const std::size_t length = std::strlen(text);
    m_sequence = ReadBase36(colon + 1, length - std::size_t(colon + 1 - text));
    m_prefix = ReadBase36(text, length < 3 ? length : 3);
    m_middle = length > 3 ? ReadBase36(text + 3, length < 5 ? length - 3 : 2) : 0;
    m_text = text;
    return 1;
}

void COrdNum::Empty()
{
    m_sequence = 0;
    m_middle = 0;
    m_prefix = 0;
    m_text.Empty();
}

bool COrdNum::operator==(const COrdNum& other) const
{
    return m_sequence == other.m_sequence && m_middle == other.m_middle && m_prefix == other.m_prefix;
}

bool COrdNum::operator<(const COrdNum& other) const
{
    const auto prefix = std::int32_t(m_prefix), otherPrefix = std::int32_t(other.m_prefix);
    if (prefix != otherPrefix)
        return prefix < otherPrefix;
    const auto middle = std::int32_t(m_middle), otherMiddle = std::int32_t(other.m_middle);
    if (middle != otherMiddle)
        return middle < otherMiddle;
    return std::int32_t(m_sequence) < std::int32_t(other.m_sequence);
}
