#include "framework/win/CmdUI.h"

#include "framework/win/Wnd.h"

void CCmdUI::Enable(BOOL on)
{
    m_bEnableChanged = TRUE;
    if (m_pOther != nullptr && m_pOther->IsWindowEnabled() != on)
        m_pOther->EnableWindow(on);
}

void CCmdUI::SetCheck(int check)
{
    if (m_pOther != nullptr)
        m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
}

void CCmdUI::SetText(const char* text)
{
    if (m_pOther != nullptr)
        m_pOther->SetWindowText(text);
}

BOOL CCmdUI::DoUpdate(CWnd* target, BOOL disableIfNoHandler)
{
    if (target == nullptr || m_nID == ID_SEPARATOR)
        return TRUE;
    m_bEnableChanged = FALSE;
    if (target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this))
        return TRUE;
    if (target->OnCmdMsg(m_nID, CN_QUERY_COMMAND, nullptr)) {
        Enable(TRUE);
        return TRUE;
    }
    if (disableIfNoHandler)
        Enable(FALSE);
    return FALSE;
}

void CCommandHandlers::SetHandler(UINT id, Handler handler)
{
    if (handler)
        m_handlers[id] = std::move(handler);
    else
        m_handlers.erase(id);
}

void CCommandHandlers::SetUpdateHandler(UINT id, UpdateHandler handler)
{
    if (handler)
        m_updateHandlers[id] = std::move(handler);
    else
        m_updateHandlers.erase(id);
}

BOOL CCommandHandlers::Route(UINT id, int code, CCmdUI* cmdUI) const
{
    if (code == CN_UPDATE_COMMAND_UI) {
        auto found = m_updateHandlers.find(id);
        if (found == m_updateHandlers.end() || cmdUI == nullptr)
            return FALSE;
        found->second(cmdUI);
        return TRUE;
    }
    auto found = m_handlers.find(id);
    if (found == m_handlers.end())
        return FALSE;
    if (code == CN_COMMAND) {
        // A copy: the handler may replace itself or destroy the window.
        Handler handler = found->second;
        handler();
    }
    return TRUE;
}
