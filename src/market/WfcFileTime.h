// The operating system's 64-bit file time as a value class: CWfcFileTime.
#pragma once

#include "OrvApi.h"
#include "framework/OleDateTime.h"
#include "framework/Time.h"
#include "platform/SystemTime.h"
#include "base/Types.h"

class CWfcSystemTime;

// A FILETIME: 100-nanosecond intervals since 1 January 1601, in two 32-bit
// halves. Empty means both halves are 0; every copy from a null pointer or
// a conversion that fails leaves the value empty.
class ORV_API CWfcFileTime : public FILETIME {
public:
    CWfcFileTime() noexcept;
    CWfcFileTime(const CWfcFileTime& source) noexcept;
    CWfcFileTime(WORD dosDate, WORD dosTime) noexcept;
    CWfcFileTime(const SYSTEMTIME* source) noexcept;
    CWfcFileTime(const FILETIME* source) noexcept;
    CWfcFileTime(const CWfcSystemTime* source) noexcept;
    CWfcFileTime(const CWfcFileTime* source) noexcept;

    virtual ~CWfcFileTime();

    // -1, 0 or 1 as this value is earlier than, equal to or later than
    // `other`.
    virtual LONG Compare(const CWfcFileTime& other) const noexcept;

    // A packed MS-DOS date and time (two-second resolution).
    virtual void Copy(WORD dosDate, WORD dosTime) noexcept;
    // A calendar breakdown, taken as given (no zone conversion); empty when
    // a field is out of range.
    virtual void Copy(const SYSTEMTIME* source) noexcept;
    // Copying a value onto itself does nothing.
    virtual void Copy(const FILETIME* source) noexcept;
    virtual void Copy(const CWfcSystemTime* source) noexcept;
    virtual void Copy(const CWfcFileTime* source) noexcept;

    // Through the calendar breakdown, as CWfcSystemTime::CopyTo converts.
    virtual bool CopyTo(CTime& destination) const noexcept;
    virtual bool CopyTo(COleDateTime& destination) const noexcept;

    virtual void Empty() noexcept;

    // Through Compare.
    virtual bool operator==(const CWfcFileTime& other) const noexcept;
    virtual bool operator<(const CWfcFileTime& other) const noexcept;
    virtual bool operator>(const CWfcFileTime& other) const noexcept;

    virtual CWfcFileTime& operator=(const CWfcSystemTime& source) noexcept;
    virtual CWfcFileTime& operator=(const CWfcFileTime& source) noexcept;
};
