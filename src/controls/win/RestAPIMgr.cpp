#include "controls/win/RestAPIMgr.h"

#include "controls/win/ConfigAPIDlg.h"
#include "controls/win/HookedMsgBox.h"
#include "controls/win/RestAPIComponent.h"
#include "resources/resource.h"

#include "framework/Exceptions.h"
#include "framework/win/WinThread.h"
#include "platform/Module.h"
#include "platform/Network.h"
#include "platform/SysString.h"
#include "services/Registry.h"
#include "services/UserFolders.h"

#include "Kestrel.h"

#include <string>

namespace {

constexpr int kDetail = 2;
constexpr int kProgress = 3;
constexpr int kFailure = 4;
constexpr int kSevere = 5;

constexpr const char* kComponentFile = "RestAPI.dll";
constexpr const char* kHostLibrary = "kestrel.dll";

bool IsControl(unsigned char c)
{
    return c < 0x20 || c == 0x7f;
}

bool FileExists(const CString& path)
{
    const DWORD attributes = GetFileAttributesA(path.GetString());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

CString JoinPath(CString folder, const char* file)
{
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != '\\' && folder[folder.GetLength() - 1] != '/') {
        folder += "\\";
    }
    folder += file;
    return folder;
}

// The component's full path, looked for in the working folder, the current
// folder and the folder of the host library. FALSE when the working folder
// is unknown or the file is in none of them.
BOOL LocateComponent(CString& path)
{
    CString working;
    if (!GetWorkingDirectory(working)) {
        return FALSE;
    }
    CString candidate = JoinPath(working, kComponentFile);
    if (FileExists(candidate)) {
        path = candidate;
        return TRUE;
    }
    char current[MAX_PATH + 1] = "";
    const DWORD length = GetCurrentDirectoryA(sizeof current, current);
    if (length > 0 && length < sizeof current) {
        candidate = JoinPath(current, kComponentFile);
        if (FileExists(candidate)) {
            path = candidate;
            return TRUE;
        }
    }
    if (HMODULE host = GetModuleHandleA(kHostLibrary)) {
        std::string folder = platform::ModuleFileName(host);
        if (!folder.empty()) {
            const std::size_t slash = folder.find_last_of("\\/");
            folder.erase(slash == std::string::npos ? 0 : slash);
            candidate = JoinPath(folder.c_str(), kComponentFile);
            if (FileExists(candidate)) {
                path = candidate;
                return TRUE;
            }
        }
    }
    return FALSE;
}

// How a run of the helper ended.
enum class HelperRun { notStarted, noExitCode, exited };

// Starts commandLine (the program found by the normal search), disables
// dialog and waits for the process while dispatching this thread's
// messages, then enables dialog again. exitCode is set when the run ended
// with a readable code.
HelperRun RunHelper(HWND dialog, const CString& commandLine, DWORD& exitCode)
{
    std::string line(commandLine.GetString());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        HostLogFormat(kSevere, "CreateProcess on checknet.exe failed with (%d)\n", static_cast<int>(GetLastError()));
        return HelperRun::notStarted;
    }
    HostLog(kDetail, "Waiting on checknet completion");
    const bool disable = dialog != nullptr && IsWindow(dialog);
    if (disable) {
        ::EnableWindow(dialog, FALSE);
    }
    // A WM_QUIT ends the wait early; the helper still runs, so keep waiting
    // (the quit message stays posted for the thread's own loop).
    DWORD waited = WaitPumpingMessages(process.hProcess);
    while (waited == WAIT_TIMEOUT) {
        waited = WaitForSingleObject(process.hProcess, INFINITE);
    }
    if (disable && IsWindow(dialog)) {
        ::EnableWindow(dialog, TRUE);
    }
    const BOOL read = GetExitCodeProcess(process.hProcess, &exitCode);
    const DWORD error = GetLastError();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!read || exitCode == STILL_ACTIVE) {
        HostLogFormat(kSevere, "FAILED to acquire exit code. GetLastError()=%d", static_cast<int>(read ? 0 : error));
        return HelperRun::noExitCode;
    }
    return HelperRun::exited;
}

} // namespace

BOOL IsUsableRestAPIServiceName(const char* name)
{
    if (name == nullptr || *name == '\0') {
        return FALSE;
    }
    for (const char* c = name; *c != '\0'; ++c) {
        const unsigned char u = static_cast<unsigned char>(*c);
        if (u == ' ' || u == '"' || u == '\'' || IsControl(u)) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL IsUsableRestAPINetworkInterface(const char* text)
{
    unsigned char parts[4] = {};
    return text != nullptr && (*text == '\0' || platform::ParseDottedQuad(text, parts));
}

CString FormatRestAPIRegisterCommand(const char* componentPath, const char* networkInterface, int port,
                                     const char* serviceName)
{
    CString command;
    if (componentPath == nullptr || *componentPath == '\0' || !IsUsableRestAPIServiceName(serviceName) ||
        !IsUsableRestAPINetworkInterface(networkInterface) || port < 0 || port > 65535) {
        return command;
    }
    for (const char* c = componentPath; *c != '\0'; ++c) {
        if (*c == '"' || IsControl(static_cast<unsigned char>(*c))) {
            return command;
        }
    }
    command.Format("checknet.exe -REGASM=\"%s\" -LISTEN=%s:%d -SVCNAME=%s", componentPath, networkInterface, port,
                   serviceName);
    return command;
}

BOOL RunRestAPIComponentSetup(HWND dialog, const char* networkInterface, int port, const char* serviceName)
{
    // Everything the registration command holds is checked before the first
    // helper starts, so a bad value never leaves half a set-up behind.
    if (!IsUsableRestAPIServiceName(serviceName)) {
        HostLogFormat(kFailure, "RestAPI set-up refused: unusable service name [%s]",
                      serviceName != nullptr ? serviceName : "");
        return FALSE;
    }
    if (!IsUsableRestAPINetworkInterface(networkInterface) || port < 0 || port > 65535) {
        HostLogFormat(kFailure, "RestAPI set-up refused: unusable interface [%s] or port [%d]",
                      networkInterface != nullptr ? networkInterface : "", port);
        return FALSE;
    }

    HostLog(kProgress, "Searching for / installing .NET 4.0...");
    DWORD exitCode = 0;
    if (RunHelper(dialog, "checknet.exe -DOTNETVERSION=4", exitCode) != HelperRun::exited) {
        return FALSE;
    }
    if (exitCode != 0) {
        HostLogFormat(kSevere, "Required .NET 4.0 NOT installed - %s.",
                      exitCode == 1 ? "User aborted" : "CHECKNET INTERNAL ERROR");
        return FALSE;
    }
    HostLog(kProgress, "Required .NET 4.0 successfully located or installed.");

    CString component;
    if (!LocateComponent(component)) {
        HostLog(kSevere, "Unable to locate RestAPI.dll, registration failed.");
        return FALSE;
    }
    const CString command = FormatRestAPIRegisterCommand(component.GetString(), networkInterface, port, serviceName);
    if (command.IsEmpty()) {
        HostLogFormat(kSevere, "RestAPI set-up refused: unusable component path [%s]", component.GetString());
        return FALSE;
    }
    HostLogFormat(kProgress, "Registering %s...", command.GetString());
    if (RunHelper(dialog, command, exitCode) != HelperRun::exited) {
        return FALSE;
    }
    if (exitCode != 0) {
        HostLog(kSevere, "RestAPI.dll NOT registered.");
        return FALSE;
    }
    HostLog(kProgress, "RestAPI.dll successfully registered.");
    return TRUE;
}

CRestAPIMgr::CRestAPIMgr()
{
    COrvRegistry registry;
    if (!registry.Open()) {
        return;
    }
    CString text;
    if (registry.ReadString(REST_API_NETWORK_INTERFACE_VALUE, text)) {
        m_networkInterface = text;
    }
    if (registry.ReadString(REST_API_SERVICE_NAME_VALUE, text)) {
        m_serviceName = text;
    }
    if (registry.ReadString(REST_API_ALLOWED_IP_LIST_VALUE, text)) {
        m_allowedIpList = text;
    }
    // The integers are 4-byte binary values; a shorter one keeps the default.
    int value = 0;
    try {
        if (registry.Read(REST_API_PORT_VALUE, value)) {
            m_port = value;
        }
    } catch (const CArchiveException&) {
    }
    try {
        if (registry.Read(REST_API_ENABLED_VALUE, value)) {
            m_enabled = value;
        }
    } catch (const CArchiveException&) {
    }
}

// The component pointer adds a reference for each copy and gives it back
// when the manager goes: the service itself runs on until Term.
CRestAPIMgr::~CRestAPIMgr() = default;
CRestAPIMgr::CRestAPIMgr(const CRestAPIMgr& other) = default;
CRestAPIMgr& CRestAPIMgr::operator=(const CRestAPIMgr& other) = default;

void CRestAPIMgr::CreateComponentIfEnabled()
{
    if (!m_enabled || m_component) {
        return;
    }
    platform::win32::CComPtr<IOrvRestAPI> component;
    const HRESULT created = component.Create(CLSID_OrvRestAPI, IID_IOrvRestAPI);
    if (FAILED(created)) {
        HostLogFormat(kFailure, "Unable to create RestAPI component: CreateInstance failed with hr=0x%x\n",
                      static_cast<unsigned>(created));
        return;
    }
    HostLog(kProgress, "Successfully created RestAPI component.");
    HostLogFormat(kDetail, "Initializing RestAPI component: interface=[%s] port=[%d] serviceName=[%s] allowedIPList=[%s]",
                  m_networkInterface.GetString(), m_port, m_serviceName.GetString(), m_allowedIpList.GetString());

    // The texts go over as BSTRs in the process code page's conversion.
    auto toBstr = [](const CString& text) {
        return platform::CodePageToOle(text.GetString(), static_cast<std::size_t>(text.GetLength()));
    };
    BSTR networkInterface = toBstr(m_networkInterface);
    BSTR serviceName = toBstr(m_serviceName);
    BSTR allowed = toBstr(m_allowedIpList);
    BSTR error = nullptr;
    const HRESULT initialised = component->Init(networkInterface, m_port, serviceName, allowed, &error);
    SysFreeString(networkInterface);
    SysFreeString(serviceName);
    SysFreeString(allowed);
    if (FAILED(initialised)) {
        HostLogFormat(kFailure, "RestAPI::Init failed with COM error hr=0x%x\n", static_cast<unsigned>(initialised));
    } else if (error == nullptr || SysStringLen(error) == 0) {
        m_component = component;
        HostLog(kProgress, "RestAPI successfully initialized");
    } else {
        HostLogFormat(kFailure, "RestAPI failed to initialize: %s", platform::OleToCodePage(error).c_str());
    }
    SysFreeString(error);
}

void CRestAPIMgr::Term()
{
    if (!m_component) {
        return;
    }
    HostLogFormat(kProgress, "Terminating RestAPI component.");
    platform::win32::CComPtr<IOrvRestAPIShutdown> shutdown;
    if (SUCCEEDED(m_component.QueryInterface(IID_IOrvRestAPIShutdown, shutdown))) {
        shutdown->Shutdown();
    }
    m_component.Release();
}

BOOL CRestAPIMgr::SaveSettings()
{
    COrvRegistry registry;
    if (!registry.Open()) {
        registry.VerifyCreateSettingsGlobal();
        if (!registry.Open()) {
            return FALSE;
        }
    }
    return registry.WriteString(REST_API_SERVICE_NAME_VALUE, m_serviceName.GetString()) &&
           registry.WriteString(REST_API_NETWORK_INTERFACE_VALUE, m_networkInterface.GetString()) &&
           registry.WriteString(REST_API_ALLOWED_IP_LIST_VALUE, m_allowedIpList.GetString()) &&
           registry.Write(REST_API_PORT_VALUE, m_port) && registry.Write(REST_API_ENABLED_VALUE, m_enabled);
}

BOOL CRestAPIMgr::Configure(CWnd* parent)
{
    CConfigAPIDlg dialog(parent);
    dialog.m_enabled = m_enabled != 0;
    dialog.m_networkInterface = m_networkInterface;
    dialog.m_port = m_port;
    dialog.m_serviceName = m_serviceName;
    dialog.m_allowedIpList = m_allowedIpList;
    if (dialog.DoModal() != IDOK) {
        return FALSE;
    }
    m_enabled = dialog.m_enabled ? 1 : 0;
    m_serviceName = dialog.m_serviceName;
    m_networkInterface = dialog.m_networkInterface;
    m_port = dialog.m_port;
    m_allowedIpList = dialog.m_allowedIpList;
    SaveSettings();
    if (m_component) {
        CHookedMsgBox::AfxMessageBox(IDS_RESTAPI_RESTART_NOTICE, MB_OK | MB_ICONINFORMATION);
    } else {
        CreateComponentIfEnabled();
    }
    return TRUE;
}
