// The Windows part of the application object: its modeless windows and its
// message loop.
#include "framework/WinApp.h"

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
    if (!PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

int CWinApp::Run()
{
    while (PumpMessage()) {
    }
    return m_exitCode;
}
