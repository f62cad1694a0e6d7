#include "market/WfcSystemTime.h"

#include "market/WfcFileTime.h"
#include "platform/LastError.h"

namespace {

LONG CompareField(WORD left, WORD right) noexcept
{
    return left < right ? -1 : (left > right ? 1 : 0);
}

void SetFields(SYSTEMTIME& target, const std::tm& fields) noexcept
{
    target.wYear = static_cast<WORD>(fields.tm_year + 1900);
    target.wMonth = static_cast<WORD>(fields.tm_mon + 1);
    target.wDayOfWeek = static_cast<WORD>(fields.tm_wday);
    target.wDay = static_cast<WORD>(fields.tm_mday);
    target.wHour = static_cast<WORD>(fields.tm_hour);
    target.wMinute = static_cast<WORD>(fields.tm_min);
    target.wSecond = static_cast<WORD>(fields.tm_sec);
    target.wMilliseconds = 0;
}

// Years a SYSTEMTIME can hold that the framework types also can.
bool FitsFields(const std::tm& fields) noexcept
{
    return fields.tm_year >= 100 - 1900 && fields.tm_year <= 9999 - 1900;
}

#if defined(_WIN32)
// Turns on the process's right to set the system clock. False, with the
// reason in the last error, when the token cannot be opened or the right is
// not granted to the account.
bool EnableSystemTimePrivilege() noexcept
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled = LookupPrivilegeValueA(nullptr, "SeSystemtimePrivilege", &privileges.Privileges[0].Luid)
        && AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)
        // AdjustTokenPrivileges succeeds without granting a right the
        // account does not have; it says so only in the last error.
        && GetLastError() == ERROR_SUCCESS;
    const DWORD error = GetLastError();
    CloseHandle(token);
    SetLastError(error);
    return enabled;
}
#else
// Nothing to enable here: setting the clock is never done on this system.
bool EnableSystemTimePrivilege() noexcept
{
    return false;
}
#endif

} // namespace

CWfcSystemTime::CWfcSystemTime() noexcept : SYSTEMTIME {}
{
}

CWfcSystemTime::CWfcSystemTime(const CWfcSystemTime& source) noexcept : SYSTEMTIME {}
{
    CWfcSystemTime::Copy(&source);
}

CWfcSystemTime::CWfcSystemTime(const CWfcSystemTime* source) noexcept : SYSTEMTIME {}
{
    CWfcSystemTime::Copy(source);
}

CWfcSystemTime::CWfcSystemTime(const CWfcFileTime* source) noexcept : SYSTEMTIME {}
{
    CWfcSystemTime::Copy(source);
}

CWfcSystemTime::CWfcSystemTime(const SYSTEMTIME* source) noexcept : SYSTEMTIME {}
{
    CWfcSystemTime::Copy(source);
}

CWfcSystemTime::CWfcSystemTime(const FILETIME* source) noexcept : SYSTEMTIME {}
{
    CWfcSystemTime::Copy(source);
}

CWfcSystemTime::CWfcSystemTime(const COleDateTime& source) noexcept : SYSTEMTIME {}
{
    CWfcSystemTime::Copy(source);
}

CWfcSystemTime::CWfcSystemTime(const CTime& source) noexcept : SYSTEMTIME {}
{
    CWfcSystemTime::Copy(source);
}

CWfcSystemTime::~CWfcSystemTime() = default;

void CWfcSystemTime::Empty() noexcept
{
    static_cast<SYSTEMTIME&>(*this) = SYSTEMTIME {};
}

LONG CWfcSystemTime::Compare(const CWfcSystemTime& other) const noexcept
{
    const WORD SYSTEMTIME::*const fields[] = { &SYSTEMTIME::wYear,   &SYSTEMTIME::wMonth,  &SYSTEMTIME::wDay,
                                               &SYSTEMTIME::wHour,   &SYSTEMTIME::wMinute, &SYSTEMTIME::wSecond,
                                               &SYSTEMTIME::wMilliseconds };
    for (const auto field : fields) {
        if (const LONG order = CompareField(this->*field, other.*field); order != 0)
            return order;
    }
    return 0;
}

void CWfcSystemTime::Copy(const FILETIME* source) noexcept
{
    if (source == nullptr || !FileTimeToSystemTime(source, this))
        Empty();
}

void CWfcSystemTime::Copy(const SYSTEMTIME* source) noexcept
{
    if (source == nullptr)
        Empty();
    else if (source != this)
        static_cast<SYSTEMTIME&>(*this) = *source;
}

void CWfcSystemTime::Copy(const COleDateTime& source) noexcept
{
    std::tm fields {};
    if (source.GetStatus() != COleDateTime::valid || !source.GetAsTm(fields))
        Empty();
    else
        SetFields(*this, fields);
}

void CWfcSystemTime::Copy(const CTime& source) noexcept
{
    std::tm fields {};
    if (source.GetLocalTm(&fields) == nullptr || !FitsFields(fields))
        Empty();
    else
        SetFields(*this, fields);
}

void CWfcSystemTime::Copy(const CWfcFileTime* source) noexcept
{
    Copy(static_cast<const FILETIME*>(source));
}

void CWfcSystemTime::Copy(const CWfcSystemTime* source) noexcept
{
    Copy(static_cast<const SYSTEMTIME*>(source));
}

bool CWfcSystemTime::CopyTo(CTime& destination) const noexcept
{
    destination = CTime(wYear, wMonth, wDay, wHour, wMinute, wSecond, -1);
    return destination.IsValid();
}

bool CWfcSystemTime::CopyTo(COleDateTime& destination) const noexcept
{
    return destination.SetDateTime(wYear, wMonth, wDay, wHour, wMinute, wSecond) == 0;
}

void CWfcSystemTime::Get() noexcept
{
    GetSystemTime(this);
}

bool CWfcSystemTime::Set() const noexcept
{
    FILETIME check {};
    if (!SystemTimeToFileTime(this, &check))
        return false;
    if (SetSystemTime(this))
        return true;
    return EnableSystemTimePrivilege() && SetSystemTime(this);
}

CWfcSystemTime& CWfcSystemTime::operator=(const COleDateTime& source) noexcept
{
    Copy(source);
    return *this;
}

CWfcSystemTime& CWfcSystemTime::operator=(const CTime& source) noexcept
{
    Copy(source);
    return *this;
}

CWfcSystemTime& CWfcSystemTime::operator=(const CWfcFileTime& source) noexcept
{
    Copy(&source);
    return *this;
}

CWfcSystemTime& CWfcSystemTime::operator=(const CWfcSystemTime& source) noexcept
{
    Copy(&source);
    return *this;
}

bool CWfcSystemTime::operator==(const CWfcSystemTime& other) const noexcept
{
    return Compare(other) == 0;
}

bool CWfcSystemTime::operator>(const CWfcSystemTime& other) const noexcept
{
    return Compare(other) > 0;
}

bool CWfcSystemTime::operator<(const CWfcSystemTime& other) const noexcept
{
    return Compare(other) < 0;
}
