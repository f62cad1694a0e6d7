// The Windows part of the application object: its modeless windows and its
// message loop.
#include "framework/WinApp.h"

#include "framework/win/CmdUI.h"
#include "framework/win/Wnd.h"

void CWinApp::AddModeless(CWnd* wnd)
{
    if (wnd == nullptr)
        return;
    for (int i = 0; i < m_modeless.GetSize(); ++i) {
        if (m_modeless[i] == wnd)
            return;
    }
    m_modeless.Add(wnd);
}

void CWinApp::EnableModeless(BOOL enable)
{
    if (!enable) {
        if (m_modelessDisables++ > 0)
            return;
        for (int i = 0; i < m_modeless.GetSize(); ++i) {
            const HWND wnd = m_modeless[i]->GetSafeHwnd();
            if (wnd != nullptr && ::IsWindowEnabled(wnd)) {
                ::EnableWindow(wnd, FALSE);
                m_disabledModeless.Add(wnd);
            }
        }
        return;
    }
    if (m_modelessDisables == 0 || --m_modelessDisables > 0)
        return;
    for (int i = 0; i < m_disabledModeless.GetSize(); ++i) {
        if (::IsWindow(m_disabledModeless[i]))
            ::EnableWindow(m_disabledModeless[i], TRUE);
    }
    m_disabledModeless.RemoveAll();
}

void CWinApp::RemoveModeless(CWnd* wnd)
{
    for (int i = 0; i < m_modeless.GetSize(); ++i) {
        if (m_modeless[i] == wnd) {
            m_modeless.RemoveAt(i);
            return;
        }
    }
}

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    // The window the message is for, then its parents, as long as they
    // carry objects of this library.
    for (HWND target = msg->hwnd; target != nullptr; target = ::GetParent(target)) {
        CWnd* wnd = CWnd::FromHandlePermanent(target);
        if (wnd != nullptr && wnd->PreTranslateMessage(msg))
            return TRUE;
    }
    // A handler may remove a modeless window while we go through them.
    for (int i = 0; i < m_modeless.GetSize(); ++i) {
        CWnd* wnd = m_modeless[i];
        if (wnd->GetSafeHwnd() != nullptr && ::IsDialogMessageA(wnd->GetSafeHwnd(), msg))
            return TRUE;
    }
    return FALSE;
}

BOOL CWinApp::PumpMessage()
{
    MSG msg;
    if (!::GetMessageA(&msg, nullptr, 0, 0)) {
        m_exitCode = static_cast<int>(msg.wParam);
        return FALSE;
    }
    m_lastMessage = msg.message;
    if (!PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

namespace {

void SendIdleUpdate(CWnd* wnd)
{
    if (wnd == nullptr || wnd->GetSafeHwnd() == nullptr || !::IsWindowVisible(wnd->GetSafeHwnd()))
        return;
    wnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    wnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
}

} // namespace

BOOL CWinApp::OnIdle(LONG count)
{
    if (count != 0)
        return FALSE;
    SendIdleUpdate(m_pMainWnd);
    // An update handler may close a modeless window.
    CArray<CWnd*> modeless;
    for (int i = 0; i < m_modeless.GetSize(); ++i)
        modeless.Add(m_modeless[i]);
    for (int i = 0; i < modeless.GetSize(); ++i) {
        if (modeless[i] != m_pMainWnd && FindModeless(modeless[i]))
            SendIdleUpdate(modeless[i]);
    }
    return FALSE;
}

bool CWinApp::FindModeless(CWnd* wnd) const
{
    for (int i = 0; i < m_modeless.GetSize(); ++i) {
        if (m_modeless[i] == wnd)
            return true;
    }
    return false;
}

int CWinApp::Run()
{
    bool idle = true;
    for (;;) {
        MSG msg;
        for (LONG count = 0; idle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);)
            idle = OnIdle(count++) != FALSE;
        if (!PumpMessage())
            return m_exitCode;
        // Painting and the caret's blink change no command state; idle work
        // after them would only repeat itself.
        if (m_lastMessage != WM_PAINT && m_lastMessage != 0x0118)
            idle = true;
    }
}
