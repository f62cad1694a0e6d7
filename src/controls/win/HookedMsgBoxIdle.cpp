#include "controls/win/HookedMsgBoxIdle.h"

#include "controls/win/CompanionLibrary.h"
#include "framework/win/RegisteredMessages.h"
#include "framework/win/ThreadTimer.h"

#include <mutex>

namespace hooked_msgbox {

namespace {

constexpr UINT kPeriodMs = 120;
// The companion library's shared record begins with the target window.
constexpr const char* kSharedRecord = "gs_sharedInfo";

struct IdleState {
    std::mutex lookup;
    bool lookedUp = false;
    HWND target = nullptr;
    DWORD thread = 0;
    CThreadTimer timer;
    int boxes = 0;
};

IdleState& State()
{
    static IdleState state;
    return state;
}

HWND ReadSharedRecord()
{
    const auto* record = reinterpret_cast<const volatile HWND*>(orv::companion::Export(kSharedRecord));
    return record != nullptr ? *record : nullptr;
}

void LookUpTarget(IdleState& state)
{
    std::lock_guard<std::mutex> lock(state.lookup);
    if (state.lookedUp)
        return;
    state.lookedUp = true;
    HWND target = ReadSharedRecord();
    if (target == nullptr || !::IsWindow(target))
        return;
    // The pulse goes to the innermost of three topmost children.
    for (int level = 0; level < 3; ++level) {
        HWND child = ::GetTopWindow(target);
        if (child == nullptr)
            break;
        target = child;
    }
    state.target = target;
    state.thread = ::GetWindowThreadProcessId(target, nullptr);
}

} // namespace

bool StartIdlePulse()
{
    IdleState& state = State();
    LookUpTarget(state);
    if (state.target == nullptr || state.thread != ::GetCurrentThreadId())
        return false;
    if (!state.timer.IsRunning()) {
        state.timer.Start(kPeriodMs, [] {
            HWND target = State().target;
            if (::IsWindow(target))
                ::PostMessageA(target, RWM_ORV_FORWARDIDLE, 0, 0);
        });
    }
    ++state.boxes;
    return true;
}

void StopIdlePulse()
{
    IdleState& state = State();
    if (state.boxes > 0 && --state.boxes == 0)
        state.timer.Stop();
}

void ResetIdleTarget()
{
    IdleState& state = State();
    std::lock_guard<std::mutex> lock(state.lookup);
    state.lookedUp = false;
    state.target = nullptr;
    state.thread = 0;
}

HWND IdleTarget()
{
    return State().target;
}

} // namespace hooked_msgbox
