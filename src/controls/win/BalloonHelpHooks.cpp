// The balloon's hooks: one hook procedure per slot and kind, the slots of
// this thread's balloons, and what each hook does for its balloon.
#include "controls/win/BalloonHelp.h"

#include "platform/ModuleState.h"

#include <array>
#include <cstdlib>
#include <utility>

namespace {

// The balloons of this thread, one per slot of the hook procedures.
thread_local CBalloonHelp* t_thunkSlots[CBalloonHelp::kMaxLiveBalloons] {};

} // namespace

// One hook procedure per slot and kind; each calls the balloon in its slot
// on this thread, so a balloon's hooks reach that balloon alone.
struct CBalloonHelp::_ThunkImpl {
    template <int Slot, int Kind>
    static LRESULT CALLBACK Thunk(int code, WPARAM wParam, LPARAM lParam)
    {
        CBalloonHelp* balloon = t_thunkSlots[Slot];
        if (balloon == nullptr)
            return ::CallNextHookEx(nullptr, code, wParam, lParam);
        switch (Kind) {
        case KeyboardHook:
            return balloon->KeyboardHookProc(code, wParam, lParam);
        case MouseHook:
            return balloon->MouseHookProc(code, wParam, lParam);
        default:
            return balloon->CallWndRetHookProc(code, wParam, lParam);
        }
    }

    template <int Kind, int... Slots>
    static constexpr std::array<HOOKPROC, sizeof...(Slots)> Row(std::integer_sequence<int, Slots...>)
    {
        return {&Thunk<Slots, Kind>...};
    }

    static HOOKPROC Get(int kind, int slot)
    {
        using Slots = std::make_integer_sequence<int, kMaxLiveBalloons>;
        static constexpr std::array<HOOKPROC, kMaxLiveBalloons> rows[3] = {
            Row<KeyboardHook>(Slots {}), Row<MouseHook>(Slots {}), Row<CallWndRetHook>(Slots {})};
        return rows[kind][slot];
    }
};

bool CBalloonHelp::InitThunk()
{
    if (m_nThunkSlot >= 0)
        return true;
    for (int slot = 0; slot < kMaxLiveBalloons; ++slot) {
        if (t_thunkSlots[slot] == nullptr) {
            t_thunkSlots[slot] = this;
            m_nThunkSlot = slot;
            return true;
        }
    }
    return false;
}

void CBalloonHelp::ReleaseThunk()
{
    if (m_nThunkSlot >= 0 && t_thunkSlots[m_nThunkSlot] == this)
        t_thunkSlots[m_nThunkSlot] = nullptr;
    m_nThunkSlot = -1;
}

HOOKPROC CBalloonHelp::GetThunk(HookKind kind) const
{
    return m_nThunkSlot >= 0 ? _ThunkImpl::Get(kind, m_nThunkSlot) : nullptr;
}

void CBalloonHelp::InstallHook(HookKind kind)
{
    HOOKPROC procedure = GetThunk(kind);
    if (m_hooks[kind] != nullptr || procedure == nullptr)
        return;
    switch (kind) {
    case KeyboardHook:
        m_hooks[kind] = ::SetWindowsHookExA(WH_KEYBOARD_LL, procedure, AfxGetLibraryHandle(), 0);
        break;
    case MouseHook:
        m_hooks[kind] = ::SetWindowsHookExA(WH_MOUSE_LL, procedure, AfxGetLibraryHandle(), 0);
        break;
    case CallWndRetHook:
        m_hooks[kind] = ::SetWindowsHookExA(WH_CALLWNDPROCRET, procedure, nullptr, ::GetCurrentThreadId());
        break;
    }
}

void CBalloonHelp::RemoveHooks()
{
    for (HHOOK& hook : m_hooks) {
        if (hook != nullptr)
            ::UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
}

HHOOK CBalloonHelp::GetHookForTesting(int kind) const
{
    return kind >= 0 && kind < 3 ? m_hooks[kind] : nullptr;
}

LRESULT CBalloonHelp::KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && (m_unOptions & unCLOSE_ON_KEYPRESS) && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN))
        RequestClose();
    return ::CallNextHookEx(m_hooks[KeyboardHook], code, wParam, lParam);
}

LRESULT CBalloonHelp::MouseHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && MouseClosesOn(wParam, reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->pt))
        RequestClose();
    return ::CallNextHookEx(m_hooks[MouseHook], code, wParam, lParam);
}

bool CBalloonHelp::MouseClosesOn(WPARAM message, POINT point) const
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        return (m_unOptions & unCLOSE_ON_MOUSE_MOVE)
            && (std::abs(point.x - m_ptMouseOrig.x) > m_nMouseMoveTolerance
                || std::abs(point.y - m_ptMouseOrig.y) > m_nMouseMoveTolerance);
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        return m_unOptions & unCLOSE_ON_LBUTTON_DOWN;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        return m_unOptions & unCLOSE_ON_LBUTTON_UP;
    case WM_MBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return m_unOptions & unCLOSE_ON_MBUTTON_DOWN;
    case WM_MBUTTONUP:
    case WM_NCMBUTTONUP:
        return m_unOptions & unCLOSE_ON_MBUTTON_UP;
    case WM_RBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        return m_unOptions & unCLOSE_ON_RBUTTON_DOWN;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP:
        return m_unOptions & unCLOSE_ON_RBUTTON_UP;
    default:
        return false;
    }
}

LRESULT CBalloonHelp::CallWndRetHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    // The anchor moves with any window that contains it.
    const auto* info = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && info->message == WM_MOVE && m_hwndAnchor != nullptr
        && (info->hwnd == m_hwndAnchor || ::IsChild(info->hwnd, m_hwndAnchor)))
        PositionWindow();
    return ::CallNextHookEx(m_hooks[CallWndRetHook], code, wParam, lParam);
}

void CBalloonHelp::RequestClose()
{
    if (m_bClosePosted || !HasWindow())
        return;
    m_bClosePosted = PostMessage(WM_CLOSE) != FALSE;
}
