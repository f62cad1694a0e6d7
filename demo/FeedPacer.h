// The quote feed's pace: a thread of its own holds a periodic waitable timer
// whose completion routine posts a message to the panel at every period. The
// thread waits alertably for its stop signal, which is when the system runs
// the routine, so the panel's own message loop needs nothing special.
#pragma once

#include "controls/win/WaitableTimer.h"

#include <thread>

class CFeedPacer {
public:
    CFeedPacer() = default;
    ~CFeedPacer() { Stop(); }

    CFeedPacer(const CFeedPacer&) = delete;
    CFeedPacer& operator=(const CFeedPacer&) = delete;

    // Posts message to target every period milliseconds, the first one
    // period from now. False when the timer or the thread could not be made.
    bool Start(HWND target, UINT message, LONG periodMs);
    // Stops the timer and waits for the thread; nothing is posted after it.
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }

private:
    void Run(LONG periodMs);
    static void OnFired(LPVOID pacer, FILETIME firedAt);

    HWND m_target = nullptr;
    UINT m_message = 0;
    HANDLE m_stop = nullptr;
    HANDLE m_started = nullptr;
    bool m_timerSet = false;
    std::thread m_thread;
};
