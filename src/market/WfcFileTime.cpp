#include "market/WfcFileTime.h"

#include "market/WfcSystemTime.h"

CWfcFileTime::CWfcFileTime() noexcept : FILETIME {}
{
}

CWfcFileTime::CWfcFileTime(const CWfcFileTime& source) noexcept : FILETIME {}
{
    CWfcFileTime::Copy(&source);
}

CWfcFileTime::CWfcFileTime(WORD dosDate, WORD dosTime) noexcept : FILETIME {}
{
    CWfcFileTime::Copy(dosDate, dosTime);
}

CWfcFileTime::CWfcFileTime(const SYSTEMTIME* source) noexcept : FILETIME {}
{
    CWfcFileTime::Copy(source);
}

CWfcFileTime::CWfcFileTime(const FILETIME* source) noexcept : FILETIME {}
{
    CWfcFileTime::Copy(source);
}

CWfcFileTime::CWfcFileTime(const CWfcSystemTime* source) noexcept : FILETIME {}
{
    CWfcFileTime::Copy(source);
}

CWfcFileTime::CWfcFileTime(const CWfcFileTime* source) noexcept : FILETIME {}
{
    CWfcFileTime::Copy(source);
}

CWfcFileTime::~CWfcFileTime() = default;

LONG CWfcFileTime::Compare(const CWfcFileTime& other) const noexcept
{
    return CompareFileTime(this, &other);
}

void CWfcFileTime::Copy(WORD dosDate, WORD dosTime) noexcept
{
    if (!DosDateTimeToFileTime(dosDate, dosTime, this))
        Empty();
}

void CWfcFileTime::Copy(const SYSTEMTIME* source) noexcept
{
    if (source == nullptr || !SystemTimeToFileTime(source, this))
        Empty();
}

void CWfcFileTime::Copy(const FILETIME* source) noexcept
{
    if (source == nullptr)
        Empty();
    else if (source != this)
        static_cast<FILETIME&>(*this) = *source;
}

void CWfcFileTime::Copy(const CWfcSystemTime* source) noexcept
{
    Copy(static_cast<const SYSTEMTIME*>(source));
}

void CWfcFileTime::Copy(const CWfcFileTime* source) noexcept
{
    Copy(static_cast<const FILETIME*>(source));
}

bool CWfcFileTime::CopyTo(CTime& destination) const noexcept
{
    return CWfcSystemTime(this).CopyTo(destination);
}

bool CWfcFileTime::CopyTo(COleDateTime& destination) const noexcept
{
    return CWfcSystemTime(this).CopyTo(destination);
}

void CWfcFileTime::Empty() noexcept
{
    dwLowDateTime = 0;
    dwHighDateTime = 0;
}

bool CWfcFileTime::operator==(const CWfcFileTime& other) const noexcept
{
    return Compare(other) == 0;
}

bool CWfcFileTime::operator<(const CWfcFileTime& other) const noexcept
{
    return Compare(other) < 0;
}

bool CWfcFileTime::operator>(const CWfcFileTime& other) const noexcept
{
    return Compare(other) > 0;
}

CWfcFileTime& CWfcFileTime::operator=(const CWfcSystemTime& source) noexcept
{
    Copy(&source);
    return *this;
}

CWfcFileTime& CWfcFileTime::operator=(const CWfcFileTime& source) noexcept
{
    Copy(&source);
    return *this;
}
