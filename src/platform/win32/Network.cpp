// The network seam on Windows (Winsock).
#include "platform/Network.h"

#include <winsock2.h>

namespace {

// Winsock is counted per call, so the look-up works whether or not the
// application started it.
class CWinsockScope {
public:
    CWinsockScope()
    {
        WSADATA data {};
        m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~CWinsockScope()
    {
        if (m_started) {
            WSACleanup();
        }
    }
    CWinsockScope(const CWinsockScope&) = delete;
    CWinsockScope& operator=(const CWinsockScope&) = delete;
    bool Started() const { return m_started; }

private:
    bool m_started = false;
};

} // namespace

namespace platform {

bool IsDottedIPv4(const char* text)
{
    return text != nullptr && inet_addr(text) != INADDR_NONE;
}

bool LookupIPv4(const char* host, CString& dotted)
{
    if (host == nullptr) {
        return false;
    }
    CWinsockScope winsock;
    if (!winsock.Started()) {
        return false;
    }
    const hostent* found = gethostbyname(host);
    if (found == nullptr || found->h_addrtype != AF_INET || found->h_addr_list == nullptr
        || found->h_addr_list[0] == nullptr) {
        return false;
    }
    in_addr address {};
    memcpy(&address, found->h_addr_list[0], sizeof address);
    dotted = inet_ntoa(address);
    return true;
}

} // namespace platform
