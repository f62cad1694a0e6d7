// The portable part of the update manager: CAutoUpdateCore, with the
// outcome statuses and their texts, the user's update settings, the
// installed release channel, and the guard that lets one update check run
// in the process at a time.
#pragma once

#include "OrvApi.h"
#include "framework/Section.h"
#include "framework/String.h"
#include "base/Types.h"

#include <atomic>

class CAutoUpdateContext;

// The update manager without its windows and its worker thread. The
// platform's manager derives from it, runs each check on a worker and
// posts outcomes to windows; this class decides when a check may start,
// keeps what the check was started with, and publishes its end.
//
// A check goes: BeginCheck (on the user-interface thread) answers 14, 13 or
// 10; after 10 the caller runs the check (on its worker, with
// MakeCheckContext and CAutoUpdateCheck) and then calls EndCheck with the
// outcome, which posts it and lets the next check start.
class ORV_API CAutoUpdateCore {
public:
    // The outcome of a check. UpdateStatusToString gives their texts.
    enum UpdateStatus : int {
        statusUpToDate = 0,
        statusInvalidManifestPath = 1,
        statusManifestUnavailable = 2,
        statusManifestDownloadError = 3,
        statusManifestParseError = 4,
        statusProductMismatch = 5,
        statusPackageDownloadError = 6,
        statusDownloadAborted = 7,
        statusReadyForInstall = 8,
        statusRequiredUpdateCancelled = 9,
        statusAsyncBegun = 10,
        statusAsyncError = 11,
        statusWorkerCleanupError = 12,
        statusPending = 13,
        statusSkipped = 14,
    };
    // The steps of a check also use this value: go on to the download.
    enum InternalUpdateStatus : int { statusGoOn = -1 };

    // The user's choice, kept as "AutoUpdateBehavior".
    enum UpdateBehavior : int {
        behaviorPromptAll = 0,
        behaviorPromptRequired = 1,
        behaviorDownloadAll = 2,
        behaviorNever = 3,
    };

    // Icons ShouldPromptUpdateStatus chooses (message-box icon values).
    static constexpr UINT kIconInformation = 64;
    static constexpr UINT kIconWarning = 48;

    // The base URL is string 513 read through the branding module, with "/"
    // appended when it does not end in one.
    CAutoUpdateCore();
    // Gives up the running-check slot if this manager still holds it.
    virtual ~CAutoUpdateCore();

    CAutoUpdateCore(const CAutoUpdateCore&) = delete;
    CAutoUpdateCore& operator=(const CAutoUpdateCore&) = delete;

    // Interlocked; Release deletes the manager when the count reaches 0.
    // Both return the new count.
    LONG AddRef() noexcept;
    LONG Release() noexcept;

    // Sets the folder URL the manifests lie in; "/" is appended when the
    // text does not end in one.
    void SetUpdateManifestBaseURL(const char* url);
    CString GetUpdateManifestBaseURL() const;

    // The manager whose check is running, or null.
    static CAutoUpdateCore* GetCurrentInstance() noexcept;

    // "AutoUpdateBehavior" of the global settings key: 0 when the key or
    // the value is missing. Set writes it (4-byte binary); nonzero on success.
    static int GetAutoUpdateBehavior();
    static BOOL SetAutoUpdateBehavior(int behavior);
    // Whether "AutoUpdateSkipCheck" of the global settings key exists and
    // reads nonzero: automatic checks are then not made.
    static bool IsAutomaticCheckSkipped();
    // The behaviour's text (strings 41000 to 41003); empty for other values.
    static CString GetBehaviorText(int behavior);

    // The display text of the installed release type: the host's global
    // setting "ReleaseType", lower-cased and trimmed, empty read as
    // "release": "Alpha", "Beta", "RC", "Release", or "???" for another text.
    static CString GetInstalledReleaseType();

    // The status's text; "Unknown error." for a value outside the table.
    static const char* UpdateStatusToString(int status) noexcept;
    // What to tell the user about a status: null and icon 0 for 7, 8, 9
    // and 10 (the user has seen to those); otherwise the status's text with
    // icon 64 for status 0 and 48 for every other.
    static const char* ShouldPromptUpdateStatus(int status, UINT& icon) noexcept;

    // What a check started now would work with: the base URL, the manual
    // flag of the running check, the settings, the running executable's
    // version and product name, and the application's name.
    CAutoUpdateContext MakeCheckContext() const;

protected:
    // Starts a check, under the manager's lock:
    // - an automatic check (manual false) while IsAutomaticCheckSkipped:
    //   14 at once, nothing posted;
    // - while any manager's check runs, this one's included: logs the
    //   pending request, posts 13 to notifyWindow unless wait is set, and
    //   returns 13. The running check keeps its own manual flag and window;
    // - otherwise stores manual and notifyWindow, makes this manager the
    //   current instance and returns 10. The caller must then run the check
    //   and call EndCheck, also when it cannot start its worker.
    int BeginCheck(bool wait, bool manual, void* notifyWindow);
    // Publishes the end of the running check, under the lock: posts the
    // status to the stored window (if any) and frees the slot.
    void EndCheck(int status);

    bool IsManualCheck() const;
    void* GetNotifyWindow() const;

    // Posts status to window as RWM_ORV_AUTOUPDATE_NOTIFY (wParam status,
    // lParam 0). Called under the lock, never with a null window.
    virtual void PostStatus(void* window, int status) = 0;

private:
    mutable CSection m_lock {4000};
    std::atomic<LONG> m_refCount {0};
    bool m_bChecking = false;
    bool m_bManual = false;
    void* m_notifyWindow = nullptr;
    CString m_baseUrl;

    static std::atomic<CAutoUpdateCore*> sm_pCurrentInstance;
};
