// The REST API component's stand-in: an in-process COM server for
// CLSID_OrvRestAPI. Init listens on the given address and port and answers
// every connection with one HTTP response naming the service; Shutdown
// closes the listener. Init reports a bind or listen failure as its error
// text. The environment variable ORV_RESTAPI_INIT_HR, when set (hexadecimal),
// makes Init fail with that result instead.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "controls/win/RestAPIComponent.h"

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

std::atomic<long> g_objects {0};
std::atomic<long> g_locks {0};

std::string Narrow(BSTR text)
{
    std::string out;
    if (text == nullptr)
        return out;
    const int length = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(SysStringLen(text)), nullptr, 0, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(length));
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(SysStringLen(text)), out.data(), length, nullptr, nullptr);
    return out;
}

BSTR Wide(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out, length);
    return out;
}

class RestAPI final : public IOrvRestAPI, public IOrvRestAPIShutdown {
public:
    RestAPI() { ++g_objects; }
    ~RestAPI()
    {
        Stop();
        --g_objects;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOrvRestAPI))
            *out = static_cast<IOrvRestAPI*>(this);
        else if (IsEqualIID(iid, IID_IOrvRestAPIShutdown))
            *out = static_cast<IOrvRestAPIShutdown*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_refs); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const long left = --m_refs;
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE Init(BSTR networkInterface, long port, BSTR serviceName, BSTR, BSTR* error) override
    {
        if (error == nullptr)
            return E_POINTER;
        *error = nullptr;
        if (const char* forced = std::getenv("ORV_RESTAPI_INIT_HR"))
            return static_cast<HRESULT>(std::strtoul(forced, nullptr, 16));
        if (m_listener != INVALID_SOCKET) {
            *error = Wide("already listening");
            return S_OK;
        }
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        const std::string address = Narrow(networkInterface);
        sockaddr_in where {};
        where.sin_family = AF_INET;
        where.sin_port = htons(static_cast<u_short>(port));
        where.sin_addr.s_addr = address.empty() ? htonl(INADDR_ANY) : inet_addr(address.c_str());
        SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (listener == INVALID_SOCKET || bind(listener, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
            listen(listener, 4) != 0) {
            const int code = WSAGetLastError();
            if (listener != INVALID_SOCKET)
                closesocket(listener);
            WSACleanup();
            *error = Wide("unable to listen on [" + address + "]:" + std::to_string(port) + " (" + std::to_string(code) + ")");
            return S_OK;
        }
        m_listener = listener;
        m_service = Narrow(serviceName);
        m_thread = std::thread([this] { Serve(); });
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Shutdown() override
    {
        Stop();
        return S_OK;
    }

private:
    void Serve()
    {
        for (;;) {
            SOCKET client = accept(m_listener, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                return;
            const std::string body = "{\"service\":\"" + m_service + "\"}";
            const std::string response = "HTTP/1.0 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                std::to_string(body.size()) + "\r\n\r\n" + body;
            send(client, response.data(), static_cast<int>(response.size()), 0);
            shutdown(client, SD_SEND);
            closesocket(client);
        }
    }

    void Stop()
    {
        if (m_listener == INVALID_SOCKET)
            return;
        closesocket(m_listener);
        if (m_thread.joinable())
            m_thread.join();
        m_listener = INVALID_SOCKET;
        WSACleanup();
    }

    std::atomic<long> m_refs {1};
    SOCKET m_listener = INVALID_SOCKET;
    std::string m_service;
    std::thread m_thread;
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        RestAPI* object = new RestAPI;
        const HRESULT result = object->QueryInterface(iid, out);
        object->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        lock ? ++g_locks : --g_locks;
        return S_OK;
    }
};

Factory g_factory;

} // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!IsEqualCLSID(clsid, CLSID_OrvRestAPI)) {
        if (out != nullptr)
            *out = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(iid, out);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}
