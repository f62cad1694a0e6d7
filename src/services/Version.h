// A four-part version number: CVersion.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "base/Types.h"

// major.minor.build.revision, each an unsigned 16-bit component, held as one
// 64-bit value in two 32-bit words: the high word is major and minor (major
// in its upper half), the low word is build and revision. The value 0 means
// "no version". Versions order by that value, so 1.0.0.1 > 0.9.65535.65535.
class ORV_API CVersion {
public:
    CVersion() = default;
    CVersion(WORD major, WORD minor, WORD build, WORD revision);
    // Reads the text as Parse does.
    explicit CVersion(const char* text);
    CVersion(const CVersion& source) = default;
    CVersion& operator=(const CVersion& source) = default;
    virtual ~CVersion();

    void Set(WORD major, WORD minor, WORD build, WORD revision) noexcept;
    void Get(WORD& major, WORD& minor, WORD& build, WORD& revision) const noexcept;

    // Reads a dotted (or comma-separated) version text. Blanks at both ends
    // and every space are dropped and commas count as points. Missing fields
    // are the leading ones ("1.2" is 0.0.1.2), fields after the fourth are
    // ignored, each field is read as an unsigned decimal number (no digits
    // give 0) and clamped to 65535. An empty text gives 0.
    void Parse(const char* text);

    // "major.minor.build.revision", or the empty text for the value 0.
    CString ToString() const;

    bool IsEmpty() const noexcept { return m_High == 0 && m_Low == 0; }
    DWORD GetHighWord() const noexcept { return m_High; }
    DWORD GetLowWord() const noexcept { return m_Low; }

    bool operator==(const CVersion& other) const noexcept { return m_High == other.m_High && m_Low == other.m_Low; }
    bool operator!=(const CVersion& other) const noexcept { return !(*this == other); }
    bool operator<(const CVersion& other) const noexcept
    {
        return m_High != other.m_High ? m_High < other.m_High : m_Low < other.m_Low;
    }
    bool operator>(const CVersion& other) const noexcept { return other < *this; }
    bool operator<=(const CVersion& other) const noexcept { return !(other < *this); }
    bool operator>=(const CVersion& other) const noexcept { return !(*this < other); }

private:
    DWORD m_High = 0;
    DWORD m_Low = 0;
};

namespace OrvServices {

// Reads an unsigned decimal number at the start of a text as strtoul does in
// base 10: leading white space and a '+' are skipped, then digits are read up
// to the first other character; no digits give 0 and a value beyond 32 bits
// gives 0xFFFFFFFF. A negative number ('-' and digits) gives 0 rather than
// strtoul's wrap-around to a huge value. The same result on every system.
ORV_API DWORD ReadUnsignedDecimal(const char* text) noexcept;

} // namespace OrvServices
