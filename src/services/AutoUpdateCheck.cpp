#include "services/AutoUpdateCheck.h"

#include "platform/FileReplace.h"
#include "platform/FileSystem.h"
#include "platform/LastError.h"
#include "xml/DataParser.h"
#include "xml/ExtensibleMarkupLanguageDocument.h"

#include "Kestrel.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using Manifest = CAutoUpdateManifest;
using Core = CAutoUpdateCore;

constexpr int kDetail = 2;
constexpr int kProgress = 3;
constexpr int kFailure = 4;
constexpr DWORD kHttpOk = 200;
constexpr int kExceptionTextLimit = 255;
constexpr int kNumberCapacity = 63;

// How reading a body ended.
enum class BodyEnd { complete, failed, tooLong, cutShort, cancelled };

// The body as it arrived and whether the server announced its length.
struct Body {
    std::vector<BYTE> bytes;
    bool announced = false;
    ULONGLONG length = 0;
};

// Reads the whole body in parts of at most kReadSize bytes, never keeping
// more than limit bytes or more than the announced length. afterPart, when
// given, runs after each part and stops the reading by returning false.
BodyEnd ReadBody(IAutoUpdateResponse& response, ULONGLONG limit, Body& body, CAutoUpdateTransportError& error,
    const std::function<bool(ULONGLONG)>& afterPart = {})
{
    body.announced = response.QueryContentLength(body.length);
    if (body.announced && body.length > limit) {
        return BodyEnd::tooLong;
    }
    const ULONGLONG most = body.announced ? body.length : limit;
    body.bytes.reserve(std::size_t(std::min<ULONGLONG>(most, 1u << 20)));
    BYTE part[CAutoUpdateCheck::kReadSize];
    for (;;) {
        const int count = response.Read(part, sizeof part, error);
        if (count > int(sizeof part)) {
            error.m_Message = "the transport returned more bytes than were asked for";
        }
        if (count < 0 || count > int(sizeof part)) {
            return BodyEnd::failed;
        }
        if (count == 0) {
            break;
        }
        if (body.bytes.size() + std::size_t(count) > most) {
            return BodyEnd::tooLong;
        }
        body.bytes.insert(body.bytes.end(), part, part + count);
        if (afterPart && !afterPart(body.bytes.size())) {
            return BodyEnd::cancelled;
        }
    }
    return body.announced && body.bytes.size() < body.length ? BodyEnd::cutShort : BodyEnd::complete;
}

// Sizes in log lines: bodies are at most a few hundred megabytes, and an
// announced length beyond 32 bits shows as the largest value.
unsigned long LogSize(ULONGLONG size)
{
    return static_cast<unsigned long>(std::min<ULONGLONG>(size, 0xFFFFFFFFu));
}

CString FormatLong(ULONGLONG value)
{
    char text[kNumberCapacity] {};
    HostFormatLong(int32_t(std::min<ULONGLONG>(value, 0x7FFFFFFF)), text, kNumberCapacity);
    return text;
}

// A transport's message as the exception lines show it: at most 255
// characters, without the line break that system messages end in.
CString ExceptionText(const CAutoUpdateTransportError& error)
{
    CString text = error.m_Message.Left(kExceptionTextLimit);
    text.TrimRight("\r\n");
    return text;
}

// Parses the manifest's bytes into a record; null when the document or the
// record cannot be read (the record's reading logs its own failures).
std::unique_ptr<Manifest> ParseManifest(const std::vector<BYTE>& bytes)
{
    auto* array = new CByteArray;
    array->SetSize(int(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), array->GetData());
    CDataParser parser;
    parser.Initialize(array, true);
    CExtensibleMarkupLanguageDocument document;
    auto manifest = std::make_unique<Manifest>();
    if (!document.Parse(parser)) {
        HostLog(kFailure, "AutoUpdate failed: unable to parse manifest");
        return nullptr;
    }
    return manifest->ReadFromDocument(document) ? std::move(manifest) : nullptr;
}

} // namespace

IAutoUpdateProgress::~IAutoUpdateProgress() = default;

CAutoUpdateCheck::CAutoUpdateCheck(IAutoUpdateTransport& transport, const CAutoUpdateContext& context)
    : m_transport(transport), m_context(context)
{
}

CAutoUpdateCheck::~CAutoUpdateCheck() = default;

int CAutoUpdateCheck::QueryForLatestVersion()
{
    CString channel = m_context.m_InstalledReleaseType;
    channel.MakeLower();
    m_installedReleaseType = Manifest::ReleaseTypeFromText(channel);
    if (m_installedReleaseType != Manifest::releaseUnknown) {
        HostLogFormat(kDetail, "AutoUpdate: Installed ReleaseType=%s", channel.GetString());
    } else {
        HostLog(kDetail, "AutoUpdate: Missing or invalid Installed ReleaseType; assuming 'release'");
        channel = "release";
        m_installedReleaseType = Manifest::releaseRelease;
    }
    m_manifestUrl.Format("%s%s/update.manifest", m_context.m_BaseURL.GetString(), channel.GetString());

    CAutoUpdateUrl url;
    if (!url.Parse(m_manifestUrl)) {
        HostLogFormat(kFailure, "AutoUpdate failed: invalid manifest URL %s", m_manifestUrl.GetString());
        return Core::statusInvalidManifestPath;
    }
    HostLog(kProgress, "Checking for update...");
    HostLogFormat(kProgress, "Downloading %s", m_manifestUrl.GetString());

    CAutoUpdateTransportError error;
    std::unique_ptr<IAutoUpdateResponse> response = m_transport.FetchManifest(url, error);
    if (!response) {
        HostLogFormat(kFailure, "CheckForUpdate: exception: %s", ExceptionText(error).GetString());
        return Core::statusManifestUnavailable;
    }
    DWORD code = 0;
    if (!response->QueryStatusCode(code, error)) {
        HostLogFormat(kFailure, "AutoUpdate: unable to retrieve status, error 0x%x", unsigned(error.m_Code));
        return Core::statusManifestDownloadError;
    }
    if (code != kHttpOk) {
        HostLogFormat(kFailure, "AutoUpdate: unable to retrieve manifest: HTTP error status=%lu", (unsigned long)code);
        return Core::statusManifestDownloadError;
    }
    const int status = ReadManifest(*response);
    return status != Core::statusGoOn ? status : CompareWithInstalled();
}

int CAutoUpdateCheck::ReadManifest(IAutoUpdateResponse& response)
{
    Body body;
    CAutoUpdateTransportError error;
    switch (ReadBody(response, kManifestLimit, body, error)) {
    case BodyEnd::failed:
        HostLogFormat(kFailure, "CheckForUpdate: exception: %s", ExceptionText(error).GetString());
        return Core::statusManifestUnavailable;
    case BodyEnd::tooLong:
        HostLogFormat(kFailure, "AutoUpdate failed: manifest longer than %lu bytes",
            LogSize(body.announced ? std::min(body.length, kManifestLimit) : kManifestLimit));
        return Core::statusManifestDownloadError;
    case BodyEnd::cutShort:
        HostLogFormat(kFailure, "AutoUpdate failed: manifest ended after %lu of %lu bytes",
            LogSize(body.bytes.size()), LogSize(body.length));
        return Core::statusManifestDownloadError;
    case BodyEnd::cancelled:
    case BodyEnd::complete:
        break;
    }
    if (body.bytes.empty()) {
        HostLog(kFailure, "AutoUpdate failed: unable to parse manifest");
        return Core::statusManifestParseError;
    }
    m_manifest = ParseManifest(body.bytes);
    if (!m_manifest) {
        return Core::statusManifestParseError;
    }
    return Core::statusGoOn;
}

int CAutoUpdateCheck::CompareWithInstalled()
{
    HostLog(kDetail, "Successfully parsed update manifest.");
    const Manifest& manifest = *m_manifest;
    if (m_context.m_ApplicationName.IsEmpty()) {
        HostLogFormat(kFailure, "Update failed: no application name to compare with the manifest's (%s)",
            manifest.m_ProductName.GetString());
        return Core::statusProductMismatch;
    }
    if (manifest.m_ProductName.CompareNoCase(m_context.m_ApplicationName) != 0) {
        HostLogFormat(kFailure, "Update failed: product mismatch (installed product=%s manifest=%s)",
            m_context.m_InstalledProductName.GetString(), manifest.m_ProductName.GetString());
        return Core::statusProductMismatch;
    }
    const CVersion& installed = m_context.m_InstalledVersion;
    HostLogFormat(kProgress, "Installed version=%s (%s), available version=%s (%s, %s)",
        installed.ToString().GetString(), Manifest::ReleaseTypeDisplayText(m_installedReleaseType),
        manifest.m_Version.ToString().GetString(), manifest.GetUpdateTypeText(), manifest.GetReleaseTypeText());
    if (manifest.m_ReleaseType == m_installedReleaseType && installed == manifest.m_Version) {
        HostLog(kProgress, "Installed version is current.");
        return Core::statusUpToDate;
    }
    if (installed > manifest.m_Version) {
        HostLog(kProgress, "Installed version is newer -- not updating.");
        return Core::statusUpToDate;
    }
    if (manifest.m_UpdateType == Manifest::updateSilent && !m_context.m_bManual) {
        HostLog(kProgress, "Updated version available for manual install.");
        return Core::statusUpToDate;
    }
    HostLog(kProgress, "Updated version available.");
    return Core::statusGoOn;
}

CAutoUpdateCheck::Confirmation CAutoUpdateCheck::ConfirmUpdate() const
{
    switch (m_context.m_Behavior) {
    case CAutoUpdateCore::behaviorDownloadAll:
        return confirmDownload;
    case CAutoUpdateCore::behaviorNever:
        return m_context.m_bManual ? confirmAsk : confirmSkip;
    case CAutoUpdateCore::behaviorPromptRequired:
        // Only a forced update interrupts the user unasked.
        return m_context.m_bManual || IsForced() ? confirmAsk : confirmSkip;
    default:
        return confirmAsk;
    }
}

CAutoUpdatePrompt CAutoUpdateCheck::GetPrompt() const
{
    CAutoUpdatePrompt prompt;
    const bool forced = IsForced();
    prompt.m_Title = forced ? "Auto Update: REQUIRED Update Available for Download"
                            : "Auto Update: Update Available for Download";
    prompt.m_Message = forced ? "There is a REQUIRED newer version available\nWould you like to download it now?"
                              : "There is a newer version available.\nWould you like to download it now?";
    prompt.m_YesText = forced && m_context.m_bManual
        ? "Yes, download and install the update now (application restart required)."
        : "&Yes, download and install the update now.";
    if (!forced) {
        prompt.m_NoText = "&No, I will upgrade later.";
    } else {
        prompt.m_NoText = m_context.m_bManual ? "No, I will update during the next restart." : "No, close the application.";
    }
    if (m_manifest) {
        const Manifest& manifest = *m_manifest;
        const CString version = manifest.m_Version.ToString();
        if (manifest.m_SizeOfUpdate != 0) {
            prompt.m_Heading.Format("%s %s - %s (%s KB)", m_context.m_ApplicationName.GetString(), version.GetString(),
                manifest.GetReleaseTypeText(), FormatLong(manifest.m_SizeOfUpdate / 1024).GetString());
        } else {
            prompt.m_Heading.Format("%s %s", m_context.m_ApplicationName.GetString(), version.GetString());
        }
        prompt.m_MoreInfoText = manifest.m_MoreInfoText;
        prompt.m_MoreInfoHref = manifest.m_MoreInfoHref;
        if (!manifest.m_MoreInfoText.IsEmpty()) {
            prompt.m_MoreInfo = manifest.m_MoreInfoHref.IsEmpty() ? CAutoUpdatePrompt::moreInfoText
                                                                  : CAutoUpdatePrompt::moreInfoLink;
        }
    }
    // "Do not prompt" is offered only to a user who has chosen it already.
    const int last = m_context.m_Behavior == CAutoUpdateCore::behaviorNever ? CAutoUpdateCore::behaviorNever
                                                                            : CAutoUpdateCore::behaviorDownloadAll;
    for (int behavior = CAutoUpdateCore::behaviorPromptAll; behavior <= last; ++behavior) {
        prompt.m_Behaviors.Add(CAutoUpdateCore::GetBehaviorText(behavior));
    }
    prompt.m_SelectedBehavior = m_context.m_Behavior >= 0 && m_context.m_Behavior <= last ? m_context.m_Behavior : 0;
    return prompt;
}

int CAutoUpdateCheck::AnswerPrompt(bool download) const
{
    return download ? Core::statusGoOn : CancelledStatus();
}

CString CAutoUpdateCheck::GetDownloadTitle() const
{
    CString title;
    if (m_manifest) {
        title.Format("Downloading %s Version %s%s", m_manifest->m_ProductName.GetString(),
            m_manifest->m_Version.ToString().GetString(), IsForced() ? " (REQUIRED UPDATE)" : "");
    }
    return title;
}

int CAutoUpdateCheck::DownloadUpdate(IAutoUpdateProgress& progress)
{
    m_bDownloaded = false;
    m_packagePath.Empty();
    CAutoUpdateUrl url;
    if (!m_manifest || !url.Parse(m_manifest->m_UrlOfUpdate)) {
        HostLogFormat(kFailure, "Update failed: invalid update URL (%s).",
            m_manifest ? m_manifest->m_UrlOfUpdate.GetString() : "");
        return Core::statusPackageDownloadError;
    }
    Show(progress, "Connecting to update server");
    HostLogFormat(kProgress, "Downloading update: %s", url.m_Url.GetString());
    CAutoUpdateTransportError error;
    std::unique_ptr<IAutoUpdateResponse> response = m_transport.DownloadPackage(url, error);
    if (!response) {
        HostLogFormat(kFailure, "DownloadUpdate: exception: %s", ExceptionText(error).GetString());
        return Core::statusPackageDownloadError;
    }
    DWORD code = 0;
    if (!response->QueryStatusCode(code, error)) {
        HostLogFormat(kFailure, "Update failed: could not read HTTP status - error %lu.", (unsigned long)error.m_Code);
        return Core::statusPackageDownloadError;
    }
    if (code != kHttpOk) {
        HostLogFormat(kFailure, "Update failed: HTTP error status=%d.", int(code));
        return Core::statusPackageDownloadError;
    }
    Show(progress, "Beginning download");
    const int status = ChoosePackagePath(url);
    return status != Core::statusGoOn ? status : ReceivePackage(*response, progress);
}

int CAutoUpdateCheck::ChoosePackagePath(const CAutoUpdateUrl& url)
{
    m_downloadFolder = m_context.m_DownloadFolder;
    if (m_downloadFolder.IsEmpty() && !platform::TempFolder(m_downloadFolder)) {
        HostLogFormat(kFailure, "Update failed: could not obtain temp path - error %d.", int(GetLastError()));
        return Core::statusPackageDownloadError;
    }
    const char last = m_downloadFolder[m_downloadFolder.GetLength() - 1];
    if (last != '/' && last != '\\') {
        m_downloadFolder += platform::kPathSeparator;
    }
    const CString name = url.GetFileName();
    if (name.IsEmpty()) {
        HostLogFormat(kFailure, "Update failed: could not parse filename (%s).", url.m_Object.GetString());
        return Core::statusPackageDownloadError;
    }
    m_packagePath = m_downloadFolder + name;
    return Core::statusGoOn;
}

int CAutoUpdateCheck::ReceivePackage(IAutoUpdateResponse& response, IAutoUpdateProgress& progress)
{
    const DWORD size = m_manifest->m_SizeOfUpdate;
    const auto afterPart = [&](ULONGLONG received) {
        int percent = -1;
        const CString text = ProgressText(received, size, percent);
        Show(progress, text, percent);
        return !progress.IsCancelled();
    };
    Body body;
    CAutoUpdateTransportError error;
    switch (ReadBody(response, kPackageLimit, body, error, afterPart)) {
    case BodyEnd::cancelled:
        HostLog(kFailure, "Update failed: download canceled.");
        return CancelledStatus();
    case BodyEnd::failed:
        HostLogFormat(kFailure, "DownloadUpdate: exception: %s", ExceptionText(error).GetString());
        return Core::statusPackageDownloadError;
    case BodyEnd::tooLong:
        HostLogFormat(kFailure, "Update failed: download longer than %lu bytes (%s).",
            LogSize(body.announced ? std::min(body.length, kPackageLimit) : kPackageLimit), m_packagePath.GetString());
        return Core::statusPackageDownloadError;
    case BodyEnd::cutShort:
        HostLogFormat(kFailure, "Update failed: download ended after %lu of %lu bytes (%s).",
            LogSize(body.bytes.size()), LogSize(body.length), m_packagePath.GetString());
        return Core::statusPackageDownloadError;
    case BodyEnd::complete:
        break;
    }
    if (body.bytes.empty()) {
        HostLogFormat(kFailure, "Update failed: empty download (%s).", m_packagePath.GetString());
        return Core::statusPackageDownloadError;
    }
    // The whole package is written at once: a failed write leaves no
    // partial file that could later be taken for the installer.
    const int result = platform::ReplaceFileContents(m_packagePath, body.bytes.data(), body.bytes.size());
    if (result != 0) {
        HostLogFormat(kFailure, "Update failed: could not write file - error %d (%s)", result, m_packagePath.GetString());
        return Core::statusPackageDownloadError;
    }
    m_bDownloaded = true;
    progress.ShowProgress("Download complete, press OK to install.", 100);
    return Core::statusReadyForInstall;
}

bool CAutoUpdateCheck::GetInstallCommand(IAutoUpdateProgress& progress, CAutoUpdateInstall& install) const
{
    if (!m_bDownloaded) {
        return false;
    }
    Show(progress, "Installing update...");
    install.m_File = m_packagePath;
    install.m_Parameters.Format("/update /pid %d", int(m_context.m_ProcessId));
    install.m_Folder = m_downloadFolder;
    return true;
}

CString CAutoUpdateCheck::ProgressText(ULONGLONG received, DWORD size, int& percent)
{
    const ULONGLONG receivedKB = received / 1024;
    CString text;
    if (size == 0) {
        percent = -1;
        text.Format("(%s KB downloaded)", FormatLong(receivedKB).GetString());
        return text;
    }
    const ULONGLONG totalKB = size / 1024;
    percent = totalKB == 0 ? 0 : int(std::min<ULONGLONG>(receivedKB * 100 / totalKB, 100));
    text.Format("(%s KB of %s KB downloaded)", FormatLong(receivedKB).GetString(), FormatLong(totalKB).GetString());
    return text;
}

bool CAutoUpdateCheck::IsForced() const
{
    return m_manifest && m_manifest->m_UpdateType == Manifest::updateForced;
}

int CAutoUpdateCheck::CancelledStatus() const
{
    return IsForced() ? Core::statusRequiredUpdateCancelled : Core::statusDownloadAborted;
}

void CAutoUpdateCheck::Show(IAutoUpdateProgress& progress, const char* text, int percent) const
{
    CString line;
    line.Format("Progress: %s", text);
    progress.ShowProgress(line, percent);
}
