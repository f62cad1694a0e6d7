#include "services/AutoUpdateCore.h"

#include "framework/Exceptions.h"
#include "framework/WinApp.h"
#include "platform/ModuleState.h"
#include "platform/Process.h"
#include "resources/resource.h"
#include "services/AutoUpdateCheck.h"
#include "services/AutoUpdateManifest.h"
#include "services/Branding.h"
#include "services/Registry.h"
#include "services/XVersionInfo.h"

#include "Kestrel.h"

namespace {

constexpr const char* kStatusTexts[] = {
    "Application is up to date.",
    "Update check failure: Invalid manifest path.",
    "Unable to retrieve update manifest.",
    "Error downloading update manifest.",
    "Unable to parse update manifest.",
    "Update check failure: Manifest product mismatch.",
    "Error downloading update package.",
    "Update download aborted.",
    "Update downloaded, ready for install.",
    "Update check failure: required update cancelled.",
    "Asynchronous operation has begun.",
    "Update check failure: General async error.",
    "Update check failure: Error cleaning up worker thread.",
    "Please let the current operation complete.",
};
constexpr int kStatusCount = int(sizeof kStatusTexts / sizeof kStatusTexts[0]);

constexpr const char* kBehaviorValue = "AutoUpdateBehavior";
constexpr const char* kSkipCheckValue = "AutoUpdateSkipCheck";
constexpr int kReleaseTypeCapacity = 47;

CString WithTrailingSlash(const char* url)
{
    CString text = url != nullptr ? url : "";
    if (text.IsEmpty() || text[text.GetLength() - 1] != '/') {
        text += '/';
    }
    return text;
}

// A 4-byte binary integer of the global settings key; false when the key
// or value is missing or unreadable.
bool ReadGlobalInt(const char* name, int& value)
{
    COrvRegistry registry;
    if (!registry.Open()) {
        return false;
    }
    try {
        return registry.Read(name, value) != FALSE;
    } catch (const CArchiveException&) {
        return false; // a value shorter than 4 bytes
    }
}

// The application's name, or empty when there is no application object or
// it has no name yet.
CString ApplicationName()
{
    const CWinApp* application = AfxGetApp();
    return application != nullptr && application->m_pszAppName != nullptr ? CString(application->m_pszAppName)
                                                                          : CString();
}

} // namespace

std::atomic<CAutoUpdateCore*> CAutoUpdateCore::sm_pCurrentInstance {nullptr};

CAutoUpdateCore::CAutoUpdateCore()
{
    CBrandedResources branding;
    CString base;
    LoadResourceString(IDS_UPDATE_MANIFEST_BASE, base);
    m_baseUrl = WithTrailingSlash(base);
}

CAutoUpdateCore::~CAutoUpdateCore()
{
    CAutoUpdateCore* self = this;
    sm_pCurrentInstance.compare_exchange_strong(self, nullptr);
}

LONG CAutoUpdateCore::AddRef() noexcept
{
    return ++m_refCount;
}

LONG CAutoUpdateCore::Release() noexcept
{
    const LONG count = --m_refCount;
    if (count == 0) {
        delete this;
    }
    return count;
}

void CAutoUpdateCore::SetUpdateManifestBaseURL(const char* url)
{
    const CString text = WithTrailingSlash(url);
    CSectionLock lock(m_lock);
    m_baseUrl = text;
}

CString CAutoUpdateCore::GetUpdateManifestBaseURL() const
{
    CSectionLock lock(m_lock);
    return m_baseUrl;
}

CAutoUpdateCore* CAutoUpdateCore::GetCurrentInstance() noexcept
{
    return sm_pCurrentInstance.load();
}

int CAutoUpdateCore::GetAutoUpdateBehavior()
{
    int behavior = 0;
    return ReadGlobalInt(kBehaviorValue, behavior) ? behavior : 0;
}

BOOL CAutoUpdateCore::SetAutoUpdateBehavior(int behavior)
{
    COrvRegistry registry;
    registry.VerifyCreateSettingsGlobal();
    return registry.Open() && registry.Write(kBehaviorValue, behavior);
}

bool CAutoUpdateCore::IsAutomaticCheckSkipped()
{
    int skip = 0;
    return ReadGlobalInt(kSkipCheckValue, skip) && skip != 0;
}

CString CAutoUpdateCore::GetBehaviorText(int behavior)
{
    CString text;
    if (behavior >= behaviorPromptAll && behavior <= behaviorNever) {
        LoadResourceString(IDS_UPDATE_BEHAVIOR_PROMPT_ALL + UINT(behavior), text);
    }
    return text;
}

CString CAutoUpdateCore::GetInstalledReleaseType()
{
    char setting[kReleaseTypeCapacity] {};
    HostGetGlobalSetting("GlobalSettings", "ReleaseType", setting, kReleaseTypeCapacity, "");
    CString text = setting;
    text.MakeLower();
    text.Trim();
    if (text.IsEmpty()) {
        text = "release";
    }
    return CAutoUpdateManifest::ReleaseTypeDisplayText(CAutoUpdateManifest::ReleaseTypeFromText(text));
}

const char* CAutoUpdateCore::UpdateStatusToString(int status) noexcept
{
    return status >= 0 && status < kStatusCount ? kStatusTexts[status] : "Unknown error.";
}

const char* CAutoUpdateCore::ShouldPromptUpdateStatus(int status, UINT& icon) noexcept
{
    switch (status) {
    case statusDownloadAborted:
    case statusReadyForInstall:
    case statusRequiredUpdateCancelled:
    case statusAsyncBegun:
        icon = 0;
        return nullptr;
    default:
        icon = status == statusUpToDate ? kIconInformation : kIconWarning;
        return UpdateStatusToString(status);
    }
}

CAutoUpdateContext CAutoUpdateCore::MakeCheckContext() const
{
    CAutoUpdateContext context;
    context.m_BaseURL = GetUpdateManifestBaseURL();
    context.m_bManual = IsManualCheck();
    context.m_Behavior = GetAutoUpdateBehavior();
    context.m_InstalledReleaseType = GetInstalledReleaseType();
    CXVersionInfo version;
    version.GetVersionInfo();
    context.m_InstalledVersion.Parse(version.ProductVersion());
    context.m_InstalledProductName = version.ProductName();
    context.m_ApplicationName = ApplicationName();
    context.m_ProcessId = platform::CurrentProcessId();
    return context;
}

int CAutoUpdateCore::BeginCheck(bool wait, bool manual, void* notifyWindow)
{
    CSectionLock lock(m_lock);
    if (!manual && IsAutomaticCheckSkipped()) {
        return statusSkipped;
    }
    CAutoUpdateCore* idle = nullptr;
    if (m_bChecking || !sm_pCurrentInstance.compare_exchange_strong(idle, this)) {
        // The running check keeps its own flag and window: the refused
        // caller hears of the refusal, the running check's window does not.
        HostLog(4, "CheckForUpdates failed: pending request! ");
        if (!wait && notifyWindow != nullptr) {
            PostStatus(notifyWindow, statusPending);
        }
        return statusPending;
    }
    m_bChecking = true;
    m_bManual = manual;
    m_notifyWindow = notifyWindow;
    return statusAsyncBegun;
}

void CAutoUpdateCore::EndCheck(int status)
{
    CSectionLock lock(m_lock);
    if (!m_bChecking) {
        return;
    }
    if (m_notifyWindow != nullptr) {
        PostStatus(m_notifyWindow, status);
    }
    m_bChecking = false;
    m_notifyWindow = nullptr;
    CAutoUpdateCore* self = this;
    sm_pCurrentInstance.compare_exchange_strong(self, nullptr);
}

bool CAutoUpdateCore::IsManualCheck() const
{
    CSectionLock lock(m_lock);
    return m_bManual;
}

void* CAutoUpdateCore::GetNotifyWindow() const
{
    CSectionLock lock(m_lock);
    return m_notifyWindow;
}
