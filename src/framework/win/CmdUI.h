// Command routing and command-update objects: CCmdUI (one user-interface
// item asked for its state), CCommandHandlers (a window's handlers per
// command id), the routing codes and the idle command-update message.
//
// A window answers for a command through CWnd::OnCmdMsg. The update pass
// (run at idle time by the application's loop, see CWinApp::OnIdle) asks the
// window that owns a set of items, for each item, whether and how it handles
// the item's command.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

#include <functional>
#include <map>

class CWnd;

// Sent at idle time to the application's windows and their descendants;
// wParam non-zero means "disable the items whose command has no handler".
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;

// What OnCmdMsg is asked: run the command's handler, run its update handler
// with the CCmdUI, or only answer whether a command handler exists.
enum : int {
    CN_COMMAND = 0,
    CN_UPDATE_COMMAND_UI = -1,
    CN_QUERY_COMMAND = -2,
};

// Identifier of a toolbar separator in a button list.
constexpr UINT ID_SEPARATOR = 0;

class ORV_API CCmdUI {
public:
    virtual ~CCmdUI() = default;

    // The plain item is a window (m_pOther): enabled, checked as a button,
    // or given a text.
    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1);
    virtual void SetText(const char* text);

    // Asks the target for the item's state. An update handler decides; else
    // a command handler enables the item; else the item is disabled when
    // disableIfNoHandler is set and left alone otherwise. TRUE when the
    // target had a handler of either kind.
    BOOL DoUpdate(CWnd* target, BOOL disableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CWnd* m_pOther = nullptr;
    // Set by Enable, so that the pass knows the update handler acted.
    BOOL m_bEnableChanged = FALSE;
};

// A window's command handlers, by command id.
class ORV_API CCommandHandlers {
public:
    using Handler = std::function<void()>;
    using UpdateHandler = std::function<void(CCmdUI*)>;

    void SetHandler(UINT id, Handler handler);
    void SetUpdateHandler(UINT id, UpdateHandler handler);
    // Runs or queries as OnCmdMsg does; TRUE when the handler exists.
    BOOL Route(UINT id, int code, CCmdUI* cmdUI) const;

private:
    std::map<UINT, Handler> m_handlers;
    std::map<UINT, UpdateHandler> m_updateHandlers;
};
