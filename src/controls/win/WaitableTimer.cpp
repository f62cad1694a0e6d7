#include "controls/win/WaitableTimer.h"

#include "platform/win32/TimerServices.h"

using platform::win32::GetTimerServices;

namespace {

// False, with last error 120, when the system lacks the service.
template <class Function>
bool Available(Function function)
{
    if (function == nullptr) {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    return true;
}

} // namespace

CWaitableTimer::CWaitableTimer() = default;

CWaitableTimer::~CWaitableTimer()
{
    Close();
}

BOOL CWaitableTimer::Create(BOOL manualReset, LPCSTR name, LPSECURITY_ATTRIBUTES security)
{
    const auto create = GetTimerServices().createWaitableTimer;
    if (!Available(create)) {
        return FALSE;
    }
    Close();
    m_hTimer = create(security, manualReset, name);
    return m_hTimer != nullptr;
}

BOOL CWaitableTimer::Open(LPCSTR name, BOOL inherit, DWORD access)
{
    const auto open = GetTimerServices().openWaitableTimer;
    if (!Available(open)) {
        return FALSE;
    }
    Close();
    m_hTimer = open(access, inherit, name);
    return m_hTimer != nullptr;
}

void CWaitableTimer::Attach(HANDLE handle)
{
    Close();
    m_hTimer = handle;
}

HANDLE CWaitableTimer::Detach()
{
    Disarm();
    HANDLE handle = m_hTimer;
    m_hTimer = nullptr;
    return handle;
}

void CWaitableTimer::Close()
{
    if (m_hTimer != nullptr) {
        Disarm();
        ::CloseHandle(m_hTimer);
        m_hTimer = nullptr;
    }
    m_bSignalWhenSuspended = FALSE;
}

BOOL CWaitableTimer::Cancel()
{
    const auto cancel = GetTimerServices().cancelWaitableTimer;
    if (!Available(cancel)) {
        return FALSE;
    }
    const BOOL cancelled = cancel(m_hTimer);
    if (cancelled) {
        m_bRoutineArmed = false;
    }
    return cancelled;
}

void CWaitableTimer::SetCompletionRoutine(CompletionRoutine routine, LPVOID parameter) noexcept
{
    m_lpfnCompletionRoutine = routine;
    m_pRoutineParameter = parameter;
}

BOOL CWaitableTimer::SetOnceOffRelative(DWORD milliseconds)
{
    return SetPeriodicRelative(milliseconds, 0);
}

BOOL CWaitableTimer::SetPeriodicRelative(DWORD milliseconds, LONG periodMilliseconds)
{
    // The system counts relative times as negative multiples of 100 ns.
    return Set(-static_cast<LONGLONG>(milliseconds) * 10000, periodMilliseconds);
}

BOOL CWaitableTimer::SetOnceOffAbsolute(const SYSTEMTIME& time)
{
    return SetAbsolute(time, 0);
}

BOOL CWaitableTimer::SetPeriodicAbsolute(const SYSTEMTIME& time, LONG periodMilliseconds)
{
    return SetAbsolute(time, periodMilliseconds);
}

BOOL CWaitableTimer::SetAbsolute(const SYSTEMTIME& time, LONG period)
{
    if (!Available(GetTimerServices().setWaitableTimer)) {
        return FALSE;
    }
    FILETIME fileTime {};
    if (!::SystemTimeToFileTime(&time, &fileTime)) {
        return FALSE;
    }
    return Set(static_cast<LONGLONG>((static_cast<ULONGLONG>(fileTime.dwHighDateTime) << 32) |
                                     fileTime.dwLowDateTime),
               period);
}

BOOL CWaitableTimer::Set(LONGLONG dueTime, LONG period)
{
    const auto set = GetTimerServices().setWaitableTimer;
    if (!Available(set)) {
        return FALSE;
    }
    LARGE_INTEGER due;
    due.QuadPart = dueTime;
    const bool withRoutine = m_lpfnCompletionRoutine != nullptr;
    const BOOL result =
        set(m_hTimer, &due, period, withRoutine ? &CWaitableTimer::OnFired : nullptr, this, m_bSignalWhenSuspended);
    if (result) {
        m_bRoutineArmed = withRoutine;
    }
    return result;
}

void CWaitableTimer::Disarm()
{
    if (m_bRoutineArmed) {
        Cancel();
        m_bRoutineArmed = false;
    }
}

void CALLBACK CWaitableTimer::OnFired(LPVOID context, DWORD timeLow, DWORD timeHigh)
{
    const auto* timer = static_cast<const CWaitableTimer*>(context);
    if (timer->m_lpfnCompletionRoutine != nullptr) {
        timer->m_lpfnCompletionRoutine(timer->m_pRoutineParameter, FILETIME {timeLow, timeHigh});
    }
}
