// CWinApp: the application object, with its name and, on Windows, its main
// window and the modeless windows whose keyboard navigation its message
// loop serves.
#pragma once

#include "OrvApi.h"
#include "framework/Object.h"
#include "base/Types.h"

#if defined(_WIN32)
#  include "framework/Array.h"
class CWnd;
#endif

// The application's object. m_pszAppName is the application's name: null
// until someone gives it one, and then a private copy made with malloc that
// the object frees with free when it is destroyed (whoever replaces it frees
// the old copy and stores a new malloc'd one).
class ORV_API CWinApp : public CObject {
public:
    // Takes a private copy of appName (nothing for null). The first
    // application object made becomes the process's (AfxGetApp).
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    const char* m_pszAppName = nullptr;
    // The help context of the prompt being shown (0x30000 + a help id for a
    // message box); 0 when none.
    DWORD m_dwPromptContext = 0;

#if defined(_WIN32)
    CWnd* GetMainWnd() const noexcept { return m_pMainWnd; }
    void SetMainWnd(CWnd* wnd) noexcept { m_pMainWnd = wnd; }

    // Modeless windows get the first look at the loop's messages.
    void AddModeless(CWnd* wnd);
    void RemoveModeless(CWnd* wnd);
    int GetModelessCount() const { return static_cast<int>(m_modeless.GetSize()); }
    // Disables the modeless windows while a modal window of the library
    // runs, and enables them again afterwards. Calls nest: the windows come
    // back with the last enable, and only those this call disabled.
    void EnableModeless(BOOL enable);

    // Offers the message to the window it is for and its parents, then to
    // the modeless windows; TRUE when one of them used it.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Gets, pre-translates and dispatches one message; FALSE on WM_QUIT.
    BOOL PumpMessage();
    // Idle work, called by Run while no message waits, with a count that
    // starts at 0 after each message; return TRUE to be called again. The
    // first call updates the command items of the main window, the modeless
    // windows and everything below them (WM_IDLEUPDATECMDUI with TRUE).
    virtual BOOL OnIdle(LONG count);
    // Runs the loop until WM_QUIT and returns its exit code.
    virtual int Run();

private:
    bool FindModeless(CWnd* wnd) const;

    CWnd* m_pMainWnd = nullptr;
    CArray<CWnd*> m_modeless;
    CArray<HWND> m_disabledModeless;
    int m_modelessDisables = 0;
    int m_exitCode = 0;
    UINT m_lastMessage = 0;
#endif
};

// The application object, or null when none was made.
ORV_API CWinApp* AfxGetApp();
