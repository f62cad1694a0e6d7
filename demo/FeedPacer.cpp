#include "FeedPacer.h"

bool CFeedPacer::Start(HWND target, UINT message, LONG periodMs)
{
    Stop();
    m_target = target;
    m_message = message;
    m_stop = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_started = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (m_stop == nullptr || m_started == nullptr) {
        Stop();
        return false;
    }
    m_thread = std::thread(&CFeedPacer::Run, this, periodMs);
    // The timer is set on the pacing thread (its routine runs there); wait
    // to learn whether that worked.
    ::WaitForSingleObject(m_started, INFINITE);
    if (!m_timerSet) {
        Stop();
        return false;
    }
    return true;
}

void CFeedPacer::Stop()
{
    if (m_thread.joinable()) {
        ::SetEvent(m_stop);
        m_thread.join();
    }
    for (HANDLE* event : {&m_stop, &m_started}) {
        if (*event != nullptr)
            ::CloseHandle(*event);
        *event = nullptr;
    }
    m_timerSet = false;
}

void CFeedPacer::Run(LONG periodMs)
{
    CWaitableTimer timer;
    m_timerSet = timer.Create(FALSE) && (timer.SetCompletionRoutine(&CFeedPacer::OnFired, this),
                                         timer.SetPeriodicRelative(DWORD(periodMs), periodMs));
    ::SetEvent(m_started);
    if (!m_timerSet)
        return;
    // Alertable: the timer's routine runs inside this wait.
    while (::WaitForSingleObjectEx(m_stop, INFINITE, TRUE) == WAIT_IO_COMPLETION) {
    }
    // The timer is cancelled as it closes, before this object can go.
}

void CFeedPacer::OnFired(LPVOID pacer, FILETIME)
{
    const auto* self = static_cast<const CFeedPacer*>(pacer);
    ::PostMessageA(self->m_target, self->m_message, 0, 0);
}
