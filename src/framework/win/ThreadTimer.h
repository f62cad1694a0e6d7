// CThreadTimer: a timer of the calling thread that belongs to no window.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

#include <functional>

// Ticks reach the callback through the thread's message loop, whichever
// loop runs (the application's, a modal dialog's or a native message
// box's). The timer belongs to the thread that started it; Stop and the
// destructor must run on that thread.
class ORV_API CThreadTimer {
public:
    CThreadTimer() = default;
    ~CThreadTimer();
    CThreadTimer(const CThreadTimer&) = delete;
    CThreadTimer& operator=(const CThreadTimer&) = delete;

    // Starts ticking every periodMs; false when it runs already or the
    // system refused a timer.
    bool Start(UINT periodMs, std::function<void()> tick);
    void Stop();
    bool IsRunning() const noexcept { return m_id != 0; }
    // The system's timer id, 0 while stopped.
    UINT_PTR GetId() const noexcept { return m_id; }

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);

    UINT_PTR m_id = 0;
    std::function<void()> m_tick;
};
