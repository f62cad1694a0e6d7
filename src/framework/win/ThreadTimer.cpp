#include "framework/win/ThreadTimer.h"

#include <map>

namespace {

// The running timers of this thread by their ids.
thread_local std::map<UINT_PTR, CThreadTimer*> t_timers;

} // namespace

CThreadTimer::~CThreadTimer()
{
    Stop();
}

bool CThreadTimer::Start(UINT periodMs, std::function<void()> tick)
{
    if (m_id != 0)
        return false;
    m_id = ::SetTimer(nullptr, 0, periodMs, TimerProc);
    if (m_id == 0)
        return false;
    m_tick = std::move(tick);
    t_timers[m_id] = this;
    return true;
}

void CThreadTimer::Stop()
{
    if (m_id == 0)
        return;
    ::KillTimer(nullptr, m_id);
    t_timers.erase(m_id);
    m_id = 0;
    m_tick = nullptr;
}

void CALLBACK CThreadTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    const auto found = t_timers.find(id);
    if (found == t_timers.end())
        return;
    // The callback may stop or delete the timer; keep it alive for the call.
    const std::function<void()> tick = found->second->m_tick;
    if (tick)
        tick();
}
