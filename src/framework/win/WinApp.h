// CWinApp: the application object, with its name, its main window and the
// modeless windows whose keyboard navigation its message loop serves.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"
#include "platform/Types.h"

class CWnd;

class ORV_API CWinApp {
public:
    // The first application object made becomes the process's.
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();

    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    const CString& GetAppName() const noexcept { return m_strAppName; }
    void SetAppName(const char* name) { m_strAppName = name != nullptr ? name : ""; }
    CWnd* GetMainWnd() const noexcept { return m_pMainWnd; }
    void SetMainWnd(CWnd* wnd) noexcept { m_pMainWnd = wnd; }

    // Modeless windows get the first look at the loop's messages.
    void AddModeless(CWnd* wnd);
    void RemoveModeless(CWnd* wnd);
    int GetModelessCount() const { return static_cast<int>(m_modeless.GetSize()); }

    // Offers the message to the window it is for and its parents, then to
    // the modeless windows; TRUE when one of them used it.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Gets, pre-translates and dispatches one message; FALSE on WM_QUIT.
    BOOL PumpMessage();
    // Runs the loop until WM_QUIT and returns its exit code.
    virtual int Run();

private:
    CString m_strAppName;
    CWnd* m_pMainWnd = nullptr;
    CArray<CWnd*> m_modeless;
    int m_exitCode = 0;
};

// The application object, or null when none was made.
ORV_API CWinApp* AfxGetApp();
