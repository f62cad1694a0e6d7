// CRestAPIMgr: the settings of the REST API service, kept in the global
// settings key, and the set-up that makes sure .NET 4 is present and the
// service component ("RestAPI.dll") is registered, both done by the helper
// program "checknet.exe".
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "platform/win32/ComPtr.h"

#include <windows.h>

class CWnd;
struct IOrvRestAPI;

// Registry value names under ORV_SETTINGS_GLOBAL_KEY.
inline constexpr const char* REST_API_NETWORK_INTERFACE_VALUE = "RestAPINetworkInterface";
inline constexpr const char* REST_API_PORT_VALUE = "RestAPIPort";
inline constexpr const char* REST_API_SERVICE_NAME_VALUE = "RestAPIServiceName";
inline constexpr const char* REST_API_ALLOWED_IP_LIST_VALUE = "RestAPIAllowedIpList";
inline constexpr const char* REST_API_ENABLED_VALUE = "RestAPIEnabled";

// The service name is pasted into the helper's command line as one
// argument: it must be non-empty and hold no blank, no quote and no control
// character. TRUE when it may be used.
ORV_API BOOL IsUsableRestAPIServiceName(const char* name);

// The network interface text as the helper receives it: empty (every
// interface) or four dotted decimal numbers of 0 to 255.
ORV_API BOOL IsUsableRestAPINetworkInterface(const char* text);

// The registration command line for the component at componentPath.
// Empty when the service name or interface is not usable, the port is
// outside 0..65535 or the path holds a quote or control character (nothing
// then may be started).
ORV_API CString FormatRestAPIRegisterCommand(const char* componentPath, const char* networkInterface, int port,
                                             const char* serviceName);

// Runs the component set-up on the calling (user-interface) thread: the
// helper checks for (or installs) .NET 4, then registers the component
// found in the working folder, the current folder or the folder of
// kestrel.dll. While the helper runs, dialog (when given) is disabled and
// the thread's messages keep being dispatched. Every value the command
// needs is passed in, so it is checked before anything starts: an unusable
// service name or interface is logged and refused. TRUE when the helper
// reports both steps done; every failure is a log line.
ORV_API BOOL RunRestAPIComponentSetup(HWND dialog, const char* networkInterface, int port, const char* serviceName);

// The component is created through COM on the calling thread, which must
// have initialised COM. A copy shares the running component (it holds a
// reference of its own); only Term stops the service.
class ORV_API CRestAPIMgr {
public:
    // Defaults (port 8000, service "DesktopService", everything else empty
    // or off), then the values stored in the global settings key; a missing
    // or unreadable value keeps its default.
    CRestAPIMgr();
    // Releases the component without stopping it.
    virtual ~CRestAPIMgr();

    CRestAPIMgr(const CRestAPIMgr& other);
    CRestAPIMgr& operator=(const CRestAPIMgr& other);

    // Both create the component when the API is enabled and none runs:
    // the instance of CLSID_OrvRestAPI is initialised with the settings and
    // kept only when its initialisation reports no error. Every outcome is a
    // log line.
    void Init() { CreateComponentIfEnabled(); }
    void CreateComponentIfEnabled();
    // Stops and releases the running component, if any.
    void Term();
    bool HasComponent() const noexcept { return static_cast<bool>(m_component); }

    int GetEnabled() const noexcept { return m_enabled; }
    int GetPort() const noexcept { return m_port; }
    const CString& GetServiceName() const noexcept { return m_serviceName; }
    const CString& GetNetworkInterface() const noexcept { return m_networkInterface; }
    const CString& GetAllowedIpList() const noexcept { return m_allowedIpList; }

    // Shows the "Configure API" dialog modally over parent with the current
    // values. On OK the chosen values replace them and are saved, and then
    // a running component is left alone (the restart notice, string 720, is
    // shown) or else the component is created if enabled; TRUE then.
    BOOL Configure(CWnd* parent = nullptr);

protected:
    // Writes the five values to the global settings key in the order service
    // name, network interface, allowed list, port, enabled. FALSE when the
    // key cannot be opened or a write fails (the values written before stay).
    BOOL SaveSettings();

    CString m_networkInterface;
    int m_port = 8000;
    CString m_serviceName = "DesktopService";
    CString m_allowedIpList;
    int m_enabled = 0;

private:
    platform::win32::CComPtr<IOrvRestAPI> m_component;
};
