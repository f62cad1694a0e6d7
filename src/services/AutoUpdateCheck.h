// One update check's decisions: CAutoUpdateContext (what the check starts
// from), CAutoUpdatePrompt (what to ask the user), CAutoUpdateInstall (how
// to start a downloaded package), IAutoUpdateProgress (the download's view)
// and CAutoUpdateCheck.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"
#include "base/Types.h"
#include "services/AutoUpdateCore.h"
#include "services/AutoUpdateManifest.h"
#include "services/AutoUpdateTransport.h"
#include "services/Version.h"

#include <memory>

// What a check starts from. CAutoUpdateCore::MakeCheckContext fills it for
// the running process.
class ORV_API CAutoUpdateContext {
public:
    CString m_BaseURL;              // the manifests' folder URL, ending in "/"
    CString m_InstalledReleaseType; // a display text: "Release", "Beta", ... or "???"
    CVersion m_InstalledVersion;
    CString m_InstalledProductName; // the version resource's, for the log
    CString m_ApplicationName;      // empty when there is no application or name
    bool m_bManual = false;         // the user asked for this check
    int m_Behavior = CAutoUpdateCore::behaviorPromptAll;
    DWORD m_ProcessId = 0;          // handed to the installer
    CString m_DownloadFolder;       // empty: the platform's temporary folder
};

// The update dialog's texts and choices.
class ORV_API CAutoUpdatePrompt {
public:
    enum MoreInfo { moreInfoHidden, moreInfoText, moreInfoLink };

    CString m_Title;
    CString m_Heading; // the application, the version and, with a size, channel and size
    CString m_Message;
    CString m_YesText;
    CString m_NoText;
    MoreInfo m_MoreInfo = moreInfoHidden;
    CString m_MoreInfoText;
    CString m_MoreInfoHref;
    // The behaviour choices, in value order from 0, and the current one's
    // index (0 when the current value is outside the list).
    CStringArray m_Behaviors;
    int m_SelectedBehavior = 0;
};

// How to start a downloaded package: ShellExecute's "open" of m_File with
// m_Parameters in m_Folder, shown normally.
class ORV_API CAutoUpdateInstall {
public:
    CString m_File;
    CString m_Parameters;
    CString m_Folder;
};

// The download's view: the progress dialog.
class ORV_API IAutoUpdateProgress {
public:
    virtual ~IAutoUpdateProgress();

    // Shows text on the progress line and, when percent is 0 to 100, sets
    // the bar (-1 leaves the bar as it is).
    virtual void ShowProgress(const char* text, int percent) = 0;
    // Called after each part of the body: lets the dialog handle its
    // pending messages and answers whether the user has cancelled.
    virtual bool IsCancelled() = 0;
};

// One update check, run on the worker:
//
//   status = check.QueryForLatestVersion();        // a status, or statusGoOn
//   if (status == statusGoOn) switch (check.ConfirmUpdate()) {
//       case confirmSkip: status = statusSkipped; break;
//       case confirmAsk:  show check.GetPrompt(); status = check.AnswerPrompt(yes); break;
//       case confirmDownload: break;
//   }
//   if (status == statusGoOn) status = check.DownloadUpdate(progress);
//   if (status == statusReadyForInstall) { wait for OK; check.GetInstallCommand(progress, install); start it }
//
// Every failure is one host log line at level 4 and a status.
class ORV_API CAutoUpdateCheck {
public:
    enum Confirmation { confirmDownload, confirmAsk, confirmSkip };

    // The largest manifest read (1 MiB) and package downloaded (512 MiB);
    // the size of each read of a body.
    static constexpr ULONGLONG kManifestLimit = 1u << 20;
    static constexpr ULONGLONG kPackageLimit = 512u << 20;
    static constexpr UINT kReadSize = 2047;

    CAutoUpdateCheck(IAutoUpdateTransport& transport, const CAutoUpdateContext& context);
    ~CAutoUpdateCheck();

    CAutoUpdateCheck(const CAutoUpdateCheck&) = delete;
    CAutoUpdateCheck& operator=(const CAutoUpdateCheck&) = delete;

    // Fetches the manifest of the installed channel and compares it with
    // the installation: statusGoOn when an update is to be offered, else
    // the check's status (0 to 5).
    int QueryForLatestVersion();
    // The manifest read by the query, or null.
    const CAutoUpdateManifest* GetManifest() const noexcept { return m_manifest.get(); }
    // "<base URL><channel>/update.manifest", once the query has formed it.
    const CString& GetManifestURL() const noexcept { return m_manifestUrl; }

    // Whether to download at once (behaviour 2), do nothing (behaviour 3 on
    // an automatic check, and behaviour 1 for an update that is not forced
    // on an automatic check) or ask.
    Confirmation ConfirmUpdate() const;
    CAutoUpdatePrompt GetPrompt() const;
    // The user's answer: statusGoOn to download; otherwise 9 for a forced
    // update, 7 for another.
    int AnswerPrompt(bool download) const;

    // "Downloading <product> Version <version>", with " (REQUIRED UPDATE)"
    // for a forced update.
    CString GetDownloadTitle() const;
    // Downloads the package into the download folder: 8 when the whole
    // body arrived and was saved, 7 or 9 when the user cancelled, else 6.
    // A body shorter or longer than announced, over kPackageLimit, empty or
    // cut off by a transfer failure is never saved.
    int DownloadUpdate(IAutoUpdateProgress& progress);
    // After a download that gave 8: shows "Installing update..." and fills
    // install. False (nothing shown) when no package was saved.
    bool GetInstallCommand(IAutoUpdateProgress& progress, CAutoUpdateInstall& install) const;
    // The package's path once DownloadUpdate chose it.
    const CString& GetPackagePath() const noexcept { return m_packagePath; }

    // "(%s KB of %s KB downloaded)" and the bar's percent (0 while the
    // total is under 1 KB, never above 100) for a known size; "(%s KB
    // downloaded)" and -1 for size 0.
    static CString ProgressText(ULONGLONG received, DWORD size, int& percent);

private:
    int ReadManifest(IAutoUpdateResponse& response);
    int CompareWithInstalled();
    int ChoosePackagePath(const CAutoUpdateUrl& url);
    int ReceivePackage(IAutoUpdateResponse& response, IAutoUpdateProgress& progress);
    bool IsForced() const;
    int CancelledStatus() const;
    void Show(IAutoUpdateProgress& progress, const char* text, int percent = -1) const;

    IAutoUpdateTransport& m_transport;
    CAutoUpdateContext m_context;
    int m_installedReleaseType = CAutoUpdateManifest::releaseRelease;
    CString m_manifestUrl;
    std::unique_ptr<CAutoUpdateManifest> m_manifest;
    CString m_packagePath;
    CString m_downloadFolder;
    bool m_bDownloaded = false;
};
