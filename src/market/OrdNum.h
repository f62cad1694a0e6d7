// COrdNum: an order number as the order server issued it, with the three
// numbers read from it so that order numbers compare and sort without
// comparing text.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"

#include <cstdint>

// The text has the form PPPMM...:SSS. The prefix is characters 0 to 2, the
// middle characters 3 and 4 and the sequence everything after the last ":",
// each read as a base-36 number the way strtoul reads one with a 32-bit
// unsigned long: leading blanks and one sign are accepted, reading stops at
// the first character that is not a digit 0-9 or a letter (either case), an
// empty or unreadable part gives 0 and a value past 32 bits gives 0xFFFFFFFF.
class ORV_API COrdNum {
public:
    COrdNum() = default;
    // As the default, then SetOrdNum(text).
    explicit COrdNum(const char* text);
    COrdNum(const COrdNum& other) = default;
    COrdNum& operator=(const COrdNum& other) = default;

    // Reads the three numbers and keeps the text. Returns 0 and leaves the
    // object unchanged when the text is null or has no ":".
    int SetOrdNum(const char* text);
    // All numbers 0, text empty.
    void Empty();
    bool IsEmpty() const { return m_text.IsEmpty(); }

    operator const char*() const { return m_text; }

    // Equal when prefix, middle and sequence are equal; the text is not
    // compared, so letter case in the digits does not matter.
    bool operator==(const COrdNum& other) const;
    // Issue order: prefix, then middle, then sequence, each compared as a
    // signed 32-bit number.
    bool operator<(const COrdNum& other) const;

    std::uint32_t GetPrefix() const { return m_prefix; }
    std::uint32_t GetMiddle() const { return m_middle; }
    std::uint32_t GetSequence() const { return m_sequence; }

private:
    std::uint32_t m_sequence = 0;
    std::uint32_t m_middle = 0;
    std::uint32_t m_prefix = 0;
    CString m_text;
};
