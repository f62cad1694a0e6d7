// The operating system's calendar breakdown of a time as a value class:
// CWfcSystemTime.
#pragma once

#include "OrvApi.h"
#include "framework/OleDateTime.h"
#include "framework/Time.h"
#include "platform/SystemTime.h"
#include "base/Types.h"

class CWfcFileTime;

// A SYSTEMTIME (year, month, day of week, day, hour, minute, second,
// milliseconds) that converts to and from file times and the framework's
// time types. Empty means all eight fields are 0; every copy from a null
// pointer or a conversion that fails leaves the value empty. The fields
// carry no zone: what they mean (UTC or local) is the caller's.
class ORV_API CWfcSystemTime : public SYSTEMTIME {
public:
    CWfcSystemTime() noexcept;
    CWfcSystemTime(const CWfcSystemTime& source) noexcept;
    CWfcSystemTime(const CWfcSystemTime* source) noexcept;
    CWfcSystemTime(const CWfcFileTime* source) noexcept;
    CWfcSystemTime(const SYSTEMTIME* source) noexcept;
    CWfcSystemTime(const FILETIME* source) noexcept;
    CWfcSystemTime(const COleDateTime& source) noexcept;
    CWfcSystemTime(const CTime& source) noexcept;

    virtual ~CWfcSystemTime();

    virtual void Empty() noexcept;
    // -1, 0 or 1 as this value is earlier than, equal to or later than
    // `other`, comparing year, month, day, hour, minute, second and
    // milliseconds in that order. The day of week is not compared.
    virtual LONG Compare(const CWfcSystemTime& other) const noexcept;

    // The UTC breakdown of a file time; empty for null or for a file time
    // beyond year 30827.
    virtual void Copy(const FILETIME* source) noexcept;
    virtual void Copy(const SYSTEMTIME* source) noexcept;
    // Year to second of a valid value, the day of week (0 = Sunday) and
    // milliseconds 0; empty when the value is not valid.
    virtual void Copy(const COleDateTime& source) noexcept;
    // The same from a CTime's local fields; empty for a CTime that is not
    // valid.
    virtual void Copy(const CTime& source) noexcept;
    virtual void Copy(const CWfcFileTime* source) noexcept;
    virtual void Copy(const CWfcSystemTime* source) noexcept;

    // Year to second as local time (the daylight flag left to the C
    // library). True when `destination` is a valid time; otherwise it holds
    // what CTime or COleDateTime make of fields out of range (-1, or the
    // status invalid).
    virtual bool CopyTo(CTime& destination) const noexcept;
    virtual bool CopyTo(COleDateTime& destination) const noexcept;

    // The current UTC time from the system.
    virtual void Get() noexcept;
    // Sets the machine's clock (UTC) to this value. When the system refuses,
    // enables the process's "SeSystemtimePrivilege" and tries once more.
    // True only when the clock was set; a value that is not a valid time is
    // refused at once, without touching the privilege. The reason of a
    // failure is left in the thread's last error.
    virtual bool Set() const noexcept;

    virtual CWfcSystemTime& operator=(const COleDateTime& source) noexcept;
    virtual CWfcSystemTime& operator=(const CTime& source) noexcept;
    virtual CWfcSystemTime& operator=(const CWfcFileTime& source) noexcept;
    virtual CWfcSystemTime& operator=(const CWfcSystemTime& source) noexcept;

    // Through Compare.
    virtual bool operator==(const CWfcSystemTime& other) const noexcept;
    virtual bool operator>(const CWfcSystemTime& other) const noexcept;
    virtual bool operator<(const CWfcSystemTime& other) const noexcept;
};
