// CWaitableTimer, a kernel timer that fires once or periodically and can
// call a routine when it fires.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

// The timer services come from the table of platform/win32/TimerServices.h.
// Where the system lacks one, the operations that need it set the thread's
// last error to 120 (ERROR_CALL_NOT_IMPLEMENTED), return false and call
// nothing. Otherwise they return the system's answer, with its last error.
//
// The completion routine runs on the thread that set the timer, while that
// thread waits alertably (SleepEx, WaitForSingleObjectEx and the like with
// alertable true). It is called with this object as its context, so a timer
// set with a routine is cancelled before the object lets its handle go:
// no queued call can reach an object that has closed or been destroyed.
// Close and destroy the object on the thread that set it, so that the
// routine is not running at that moment.
class ORV_API CWaitableTimer {
public:
    // Receives the routine parameter and the time the timer fired (UTC).
    using CompletionRoutine = void (*)(LPVOID parameter, FILETIME firedAt);

    CWaitableTimer();
    virtual ~CWaitableTimer();

    CWaitableTimer(const CWaitableTimer&) = delete;
    CWaitableTimer& operator=(const CWaitableTimer&) = delete;

    // Closes any open timer, then creates one; true when a handle came back.
    // A name already in use opens that timer (last error 183).
    BOOL Create(BOOL manualReset, LPCSTR name = nullptr, LPSECURITY_ATTRIBUTES security = nullptr);
    // Closes any open timer, then opens the named one.
    BOOL Open(LPCSTR name, BOOL inherit = FALSE, DWORD access = TIMER_ALL_ACCESS);
    // Closes any open timer and adopts handle.
    void Attach(HANDLE handle);
    // Gives the handle up without closing it. A timer this object set with
    // its routine is cancelled first, as the routine's context goes away.
    HANDLE Detach();
    // Cancels the timer if this object set it with its routine, closes the
    // handle, and clears it and the signal-when-suspended flag.
    void Close();
    BOOL Cancel();

    void SetSignalWhenSuspended(BOOL signal) noexcept { m_bSignalWhenSuspended = signal; }
    // Takes effect with the next Set call; a null routine sets the timer
    // without one.
    void SetCompletionRoutine(CompletionRoutine routine, LPVOID parameter) noexcept;
    HANDLE GetHandle() const noexcept { return m_hTimer; }

    // Fires once after the delay.
    BOOL SetOnceOffRelative(DWORD milliseconds);
    // Fires first after the delay, then every period.
    BOOL SetPeriodicRelative(DWORD milliseconds, LONG periodMilliseconds);
    // Fires once at the calendar time, read as UTC. Fields that are no valid
    // time fail with the system's last error (87) and leave the timer as it
    // was.
    BOOL SetOnceOffAbsolute(const SYSTEMTIME& time);
    BOOL SetPeriodicAbsolute(const SYSTEMTIME& time, LONG periodMilliseconds);

protected:
    HANDLE m_hTimer = nullptr;
    BOOL m_bSignalWhenSuspended = FALSE;
    CompletionRoutine m_lpfnCompletionRoutine = nullptr;
    LPVOID m_pRoutineParameter = nullptr;

private:
    static void CALLBACK OnFired(LPVOID context, DWORD timeLow, DWORD timeHigh);
    BOOL Set(LONGLONG dueTime, LONG period);
    BOOL SetAbsolute(const SYSTEMTIME& time, LONG period);
    // Cancels the timer when this object's routine is armed on it.
    void Disarm();

    // The last Set handed the system this object's routine.
    bool m_bRoutineArmed = false;
};
