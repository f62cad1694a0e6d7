#include "controls/win/SpinnableEdit.h"

#include "framework/win/RegisteredMessages.h"

#include <commctrl.h>

#include <cstring>

CNimSpinnableEdit::CNimSpinnableEdit(UINT spinId, CNimHoverSpin* spin) : m_nSpinId(spinId), m_pSpin(spin) {}

// The window goes here rather than in CWnd's destructor, so that OnDestroy
// still sees the spin: a spin window the edit made goes with the edit, one
// it took over is given back to its dialog.
CNimSpinnableEdit::~CNimSpinnableEdit()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CNimSpinnableEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CEdit::Create(style, rect, parent, id);
}

BOOL CNimSpinnableEdit::CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(exStyle, "EDIT", nullptr, style | WS_CHILD, rect, parent != nullptr ? parent->GetSafeHwnd() : nullptr,
                    id);
}

BOOL CNimSpinnableEdit::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                                 const RECT& rect, HWND parent, UINT_PTR id)
{
    m_bCreated = true;
    return CEdit::CreateEx(exStyle, className, windowName, style, rect, parent, id);
}

BOOL CNimSpinnableEdit::SetSpin(CNimHoverSpin* spin)
{
    if (m_pSpin != nullptr)
        return FALSE;
    m_pSpin = spin;
    return TRUE;
}

BOOL CNimSpinnableEdit::SetSpinId(UINT spinId)
{
    if (m_hWnd != nullptr)
        return FALSE;
    m_nSpinId = spinId;
    return TRUE;
}

void CNimSpinnableEdit::RepositionSpin()
{
    if (m_pSpin == nullptr || !m_pSpin->IsWindow())
        return;
    m_pSpin->SetBuddy(nullptr);
    m_pSpin->SetBuddy(this);
}

void CNimSpinnableEdit::SetOtherBuddy(CWnd* other)
{
    m_pOtherBuddy = other;
    if (IsWindow())
        RedrawAll();
}

void CNimSpinnableEdit::ChangeAmount(int) {}

BOOL CNimSpinnableEdit::CanIncrement()
{
    return FALSE;
}

BOOL CNimSpinnableEdit::CanDecrement()
{
    return FALSE;
}

namespace {

bool IsUpDown(HWND wnd)
{
    char name[32] {};
    ::GetClassNameA(wnd, name, sizeof name);
    return ::lstrcmpiA(name, UPDOWN_CLASSA) == 0;
}

} // namespace

void CNimSpinnableEdit::CreateOrAttachSpin(bool visible)
{
    if (m_bSpinDone || m_nSpinId == kNoSpin || m_hWnd == nullptr)
        return;
    m_bSpinDone = true;
    if (m_pSpin == nullptr) {
        m_ownSpin = std::make_unique<CNimHoverSpin>();
        m_pSpin = m_ownSpin.get();
    }
    if (m_nSpinId == kAttachNextSpin) {
        HWND sibling = ::GetWindow(m_hWnd, GW_HWNDNEXT);
        while (sibling != nullptr && !IsUpDown(sibling))
            sibling = ::GetWindow(sibling, GW_HWNDNEXT);
        if (sibling == nullptr || !m_pSpin->SubclassWindow(sibling))
            return;
    } else {
        const DWORD style = WS_CHILD | UDS_ALIGNRIGHT | UDS_ARROWKEYS | (visible ? WS_VISIBLE : 0);
        if (!m_pSpin->CreateEx(0, UPDOWN_CLASSA, nullptr, style, CRect(0, 0, 0, 0), GetParent(), m_nSpinId))
            return;
        m_bMadeSpinWindow = true;
    }
    m_pSpin->SetBuddy(this);
    // While the edit is being made it is not shown yet, whatever its style.
    if (visible)
        m_pSpin->ShowWindow(SW_SHOWNA);
}

int CNimSpinnableEdit::OnCreate(CREATESTRUCTA* cs)
{
    const int result = CNimHoverEdit::OnCreate(cs);
    if (result != -1)
        CreateOrAttachSpin((cs->style & WS_VISIBLE) != 0);
    return result;
}

void CNimSpinnableEdit::PreSubclassWindow()
{
    CNimHoverEdit::PreSubclassWindow();
    if (!m_bCreated && !m_bSubclassed && m_nSpinId != kNoSpin)
        CreateOrAttachSpin((GetStyle() & WS_VISIBLE) != 0);
    m_bSubclassed = true;
}

// The spin window the edit made goes with it; one it took over goes back to
// its own procedure and stays with its dialog.
void CNimSpinnableEdit::OnDestroy()
{
    if (m_pSpin != nullptr && m_pSpin->IsWindow()) {
        if (m_bMadeSpinWindow)
            m_pSpin->DestroyWindow();
        else if (m_bSpinDone)
            m_pSpin->UnsubclassWindow();
    }
    m_bMadeSpinWindow = false;
    m_bSpinDone = false;
    m_bSubclassed = false;
    m_bCreated = false;
    CNimHoverEdit::OnDestroy();
}

bool CNimSpinnableEdit::IsMouseOverEditOrSpin() const
{
    return m_hover.IsTracking() || (m_pSpin != nullptr && m_pSpin->IsWindow() && m_pSpin->IsTracking());
}

BOOL CNimSpinnableEdit::IsHot() const
{
    if (CNimHoverEdit::IsHot() || IsMouseOverEditOrSpin())
        return TRUE;
    return m_pOtherBuddy != nullptr && m_pOtherBuddy->IsWindow() && RWM_ORV_AREYOUTRACKING != 0
        && m_pOtherBuddy->SendMessage(RWM_ORV_AREYOUTRACKING) != 0;
}

void CNimSpinnableEdit::RepaintBuddies()
{
    if (m_pSpin != nullptr && m_pSpin->IsWindow())
        m_pSpin->Invalidate(FALSE);
    if (m_pOtherBuddy != nullptr && m_pOtherBuddy->IsWindow())
        m_pOtherBuddy->Invalidate(FALSE);
}

LRESULT CNimSpinnableEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != 0 && message == RWM_ORV_GETBUDDY)
        return m_pSpin != nullptr ? reinterpret_cast<LRESULT>(m_pSpin->GetSafeHwnd()) : 0;
    if (message != 0 && message == RWM_ORV_AREYOUTRACKING) {
        if (IsMouseOverEditOrSpin())
            return 1;
        // Two edits may name each other; the question goes round once.
        if (m_bAsking || m_pOtherBuddy == nullptr || !m_pOtherBuddy->IsWindow())
            return 0;
        m_bAsking = true;
        const LRESULT answer = m_pOtherBuddy->SendMessage(RWM_ORV_AREYOUTRACKING);
        m_bAsking = false;
        return answer;
    }
    return CNimHoverEdit::WindowProc(message, wParam, lParam);
}

void CNimSpinnableEdit::OnMouseMove(UINT flags, CPoint point)
{
    const bool was = m_hover.IsTracking();
    CNimHoverEdit::OnMouseMove(flags, point);
    if (was != m_hover.IsTracking())
        RepaintBuddies();
}

void CNimSpinnableEdit::OnMouseLeave()
{
    CNimHoverEdit::OnMouseLeave();
    RepaintBuddies();
}

void CNimSpinnableEdit::OnSetFocus(HWND oldFocus)
{
    CNimHoverEdit::OnSetFocus(oldFocus);
    RepaintBuddies();
}

void CNimSpinnableEdit::OnKillFocus(HWND newFocus)
{
    CNimHoverEdit::OnKillFocus(newFocus);
    RepaintBuddies();
}

// The spin is enabled with the edit, so that a disabled edit's value cannot
// be stepped and its arrows show that.
void CNimSpinnableEdit::OnEnable(BOOL enable)
{
    CNimHoverEdit::OnEnable(enable);
    if (m_pSpin != nullptr && m_pSpin->IsWindow())
        m_pSpin->EnableWindow(enable);
    RepaintBuddies();
}

void CNimSpinnableEdit::OnShowWindow(BOOL show, UINT status)
{
    CNimHoverEdit::OnShowWindow(show, status);
    if (m_pSpin != nullptr && m_pSpin->IsWindow())
        m_pSpin->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
}
