#include "controls/win/AutoUpdateMgr.h"

#include "controls/win/AutoUpdateDialogs.h"
#include "framework/win/RegisteredMessages.h"
#include "framework/win/WinThread.h"
#include "services/AutoUpdateCheck.h"
#include "services/win/WinInetUpdateTransport.h"

#include "Kestrel.h"

#include <shellapi.h>

namespace {

constexpr int kFailure = 4;
constexpr int kDetail = 2;

// Waits for the handle while handling the messages other threads send this
// one, and only those: posted messages and input stay queued for the
// caller's loop. WAIT_OBJECT_0 or WAIT_FAILED.
DWORD WaitServingSentMessages(HANDLE handle)
{
    for (;;) {
        const DWORD result = ::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0) {
            return result;
        }
        if (result != WAIT_OBJECT_0 + 1) {
            return WAIT_FAILED;
        }
        // Peeking runs the pending sent messages; nothing is removed.
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace

CAutoUpdateMgr::CAutoUpdateMgr() = default;

CAutoUpdateMgr::~CAutoUpdateMgr()
{
    HANDLE worker = nullptr;
    {
        CSectionLock lock(m_workerLock);
        if (m_pWorker != nullptr && m_workerId != ::GetCurrentThreadId()) {
            worker = m_hWorker;
        }
    }
    if (worker != nullptr) {
        ::WaitForSingleObject(worker, INFINITE);
    }
    if (m_hWorker != nullptr) {
        ::CloseHandle(m_hWorker);
    }
}

CAutoUpdateMgr* CAutoUpdateMgr::GetCurrentInstance() noexcept
{
    return dynamic_cast<CAutoUpdateMgr*>(CAutoUpdateCore::GetCurrentInstance());
}

int CAutoUpdateMgr::CheckForUpdates(bool wait, bool manual, HWND notifyWindow)
{
    const int begun = BeginCheck(wait, manual, notifyWindow);
    if (begun != statusAsyncBegun) {
        return begun;
    }

    HANDLE waitHandle = nullptr;
    bool started = false;
    {
        CSectionLock lock(m_workerLock);
        if (m_hWorker != nullptr) {
            ::CloseHandle(m_hWorker); // the last check's worker, long ended
            m_hWorker = nullptr;
        }
        AddRef(); // the worker's
        CWinThread* worker = AfxBeginThread(&CAutoUpdateMgr::ThreadProc, this, THREAD_PRIORITY_NORMAL, 0,
                                            CREATE_SUSPENDED);
        if (worker == nullptr) {
            HostLogFormat(kFailure, "CheckForUpdates failed: could not create thread - error %lu",
                          static_cast<unsigned long>(::GetLastError()));
            EndCheck(statusAsyncError);
        } else {
            started = true;
            HostLogFormat(kDetail, "COrvOrdersApp::BeginCheckingForUpdates: created tid 0x%x",
                          static_cast<unsigned>(worker->m_nThreadID));
            m_pWorker = worker;
            m_workerId = worker->m_nThreadID;
            const HANDLE process = ::GetCurrentProcess();
            ::DuplicateHandle(process, worker->m_hThread, process, &m_hWorker, 0, FALSE, DUPLICATE_SAME_ACCESS);
            if (wait) {
                ::DuplicateHandle(process, worker->m_hThread, process, &waitHandle, 0, FALSE, DUPLICATE_SAME_ACCESS);
            }
            worker->ResumeThread();
        }
    }
    if (!started) {
        Release(); // the worker's, after the lock
        return statusAsyncError;
    }
    if (!wait) {
        return statusAsyncBegun;
    }
    if (waitHandle == nullptr) {
        HostLogFormat(kFailure, "CheckForUpdates failed: thread wait failure 0x%x",
                      static_cast<unsigned>(ERROR_INVALID_HANDLE));
        return statusWorkerCleanupError;
    }

    int status = statusWorkerCleanupError;
    if (WaitServingSentMessages(waitHandle) != WAIT_OBJECT_0) {
        HostLogFormat(kFailure, "CheckForUpdates failed: thread wait failure 0x%x",
                      static_cast<unsigned>(::GetLastError()));
    } else {
        DWORD exitCode = 0;
        if (::GetExitCodeThread(waitHandle, &exitCode)) {
            status = static_cast<int>(exitCode);
        } else {
            HostLog(kFailure, "CheckForUpdates failed: could not get thread exit code! ");
        }
    }
    ::CloseHandle(waitHandle);
    return status;
}

void CAutoUpdateMgr::PostStatus(void* window, int status)
{
    ::PostMessageA(static_cast<HWND>(window), RWM_ORV_AUTOUPDATE_NOTIFY, static_cast<WPARAM>(status), 0);
}

UINT CAutoUpdateMgr::ThreadProc(LPVOID parameter)
{
    return static_cast<UINT>(static_cast<CAutoUpdateMgr*>(parameter)->ThreadRun());
}

int CAutoUpdateMgr::ThreadRun()
{
    int status = statusInvalidManifestPath;
    try {
        status = QueryForLatestVersion();
    } catch (...) {
        // Nothing may leave the worker: the end is published in any case.
        DestroyStatusDialog();
        HostLog(kFailure, "CheckForUpdate: exception: unexpected failure on the update thread");
        status = statusManifestUnavailable;
    }
    {
        CSectionLock lock(m_workerLock);
        EndCheck(status);
        m_pWorker = nullptr;
    }
    // Given back after the lock: this may be the manager's last reference.
    Release();
    return status;
}

int CAutoUpdateMgr::QueryForLatestVersion()
{
    CWinInetUpdateTransport transport;
    CAutoUpdateCheck check(transport, MakeCheckContext());
    int status = check.QueryForLatestVersion();
    if (status == statusGoOn) {
        switch (check.ConfirmUpdate()) {
        case CAutoUpdateCheck::confirmSkip:
            status = statusSkipped;
            break;
        case CAutoUpdateCheck::confirmAsk: {
            CBeginAutoUpdateDlg dialog(check.GetPrompt());
            const bool download = dialog.DoModal() == IDOK && dialog.WantsDownload();
            status = check.AnswerPrompt(download);
            break;
        }
        case CAutoUpdateCheck::confirmDownload:
            break;
        }
    }
    if (status == statusGoOn) {
        const CAutoUpdateManifest* manifest = check.GetManifest();
        m_pStatusDlg = new CAutoUpdateStatusDlg;
        m_pStatusDlg->Create(manifest != nullptr ? manifest->m_SizeOfUpdate : 0);
        m_pStatusDlg->SetHeading(check.GetDownloadTitle());
        status = check.DownloadUpdate(*m_pStatusDlg);
        if (status == statusReadyForInstall) {
            m_pStatusDlg->MarkComplete();
            CAutoUpdateInstall install;
            if (m_pStatusDlg->WaitForOK() && check.GetInstallCommand(*m_pStatusDlg, install)) {
                // The installer reports for itself; its start is not examined.
                ::ShellExecuteA(nullptr, "open", install.m_File, install.m_Parameters, install.m_Folder,
                                SW_SHOWNORMAL);
            }
        }
    }
    DestroyStatusDialog();
    return status;
}

void CAutoUpdateMgr::DestroyStatusDialog()
{
    if (m_pStatusDlg != nullptr) {
        if (m_pStatusDlg->IsWindow()) {
            m_pStatusDlg->DestroyWindow();
        }
        delete m_pStatusDlg;
        m_pStatusDlg = nullptr;
    }
}
