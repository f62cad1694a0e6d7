// CWinThread, the framework's thread object, and AfxBeginThread. A thread
// runs either a procedure (its return value is the exit code) or, without
// one, InitInstance, a message loop (Run) and ExitInstance. With
// m_bAutoDelete (the default) the object deletes itself when the thread
// ends, so a creator that waits for the thread keeps a duplicate of
// m_hThread, taken while the thread is still suspended.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

using AFX_THREADPROC = UINT (*)(LPVOID);

class ORV_API CWinThread {
public:
    // A thread with a message loop: override InitInstance (and Run or
    // ExitInstance as needed).
    CWinThread();
    // A thread that runs the procedure.
    CWinThread(AFX_THREADPROC procedure, LPVOID parameter);
    virtual ~CWinThread();

    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Starts the thread (CREATE_SUSPENDED in flags to start it suspended).
    // False, with the thread's last error set, when it could not be made.
    BOOL CreateThread(DWORD flags = 0, UINT stackSize = 0, LPSECURITY_ATTRIBUTES security = nullptr);
    DWORD ResumeThread();
    DWORD SuspendThread();
    BOOL SetThreadPriority(int priority);
    int GetThreadPriority() const;

    // The loop thread's steps: InitInstance false skips the loop; Run
    // dispatches messages until WM_QUIT and returns ExitInstance's result,
    // which is the quit message's code unless overridden.
    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();
    // A message of the loop before it is dispatched; TRUE when used. A
    // thread message (no window) goes nowhere else.
    virtual BOOL PreTranslateMessage(MSG* msg);

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;

private:
    static unsigned __stdcall Start(void* thread);
    UINT RunThread();

    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;
    int m_nQuitCode = 0;
};

// Makes a thread object for the procedure and starts it with the priority
// (the thread is made suspended, given its priority, then resumed unless
// CREATE_SUSPENDED is in flags). Null when it could not be made.
ORV_API CWinThread* AfxBeginThread(AFX_THREADPROC procedure, LPVOID parameter,
                                   int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0, DWORD flags = 0,
                                   LPSECURITY_ATTRIBUTES security = nullptr);

// Waits for the object while dispatching the calling thread's messages, so
// that its windows stay alive during the wait. WAIT_OBJECT_0, WAIT_TIMEOUT
// or WAIT_FAILED (the thread's last error says why). A WM_QUIT ends the wait
// early (WAIT_TIMEOUT unless the object is signalled) and is posted again for
// the loop that owns the thread.
ORV_API DWORD WaitPumpingMessages(HANDLE object, DWORD timeoutMs = INFINITE);
