// CAutoUpdateMgr: the update check run on a worker thread of its own, with
// the offer of the update and the download's progress as dialogs of that
// thread, and the downloaded package started with the shell.
#pragma once

#include "OrvApi.h"
#include "framework/Section.h"
#include "services/AutoUpdateCore.h"

#include <windows.h>

class CAutoUpdateStatusDlg;
class CWinThread;

class ORV_API CAutoUpdateMgr : public CAutoUpdateCore {
public:
    CAutoUpdateMgr();
    // Waits for a worker that is still recorded (one running on another
    // thread), then lets the core free the running-check slot if this
    // manager holds it.
    ~CAutoUpdateMgr() override;

    // Starts a check on a worker thread. Returns 14 (an automatic check
    // while checks are skipped), 13 (a check is running; posted too unless
    // wait), 11 (no worker could be made), 10 (started, without wait) or,
    // with wait, the check's outcome (12 when the wait fails). The outcome
    // is also posted to notifyWindow as RWM_ORV_AUTOUPDATE_NOTIFY.
    //
    // While it waits the calling thread handles the messages other threads
    // send it (not the ones posted to it), so a window of another thread
    // that sends to it does not stall the check.
    int CheckForUpdates(bool wait, bool manual, HWND notifyWindow);

    // The manager whose check is running, or null.
    static CAutoUpdateMgr* GetCurrentInstance() noexcept;

protected:
    void PostStatus(void* window, int status) override;

private:
    static UINT ThreadProc(LPVOID parameter);
    // The worker: the check, then the end published and the worker's
    // reference given back. The status is the thread's exit code.
    int ThreadRun();
    // Query, confirmation, download and install.
    int QueryForLatestVersion();
    void DestroyStatusDialog();

    CSection m_workerLock {4000};
    CWinThread* m_pWorker = nullptr;
    DWORD m_workerId = 0;
    HANDLE m_hWorker = nullptr; // a duplicate of the last worker's handle
    CAutoUpdateStatusDlg* m_pStatusDlg = nullptr;
};
