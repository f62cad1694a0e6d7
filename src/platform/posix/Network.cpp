// The network seam on POSIX systems.
#include "platform/Network.h"

#include <arpa/inet.h>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace platform {

bool IsDottedIPv4(const char* text)
{
    return text != nullptr && ::inet_addr(text) != INADDR_NONE;
}

bool LookupIPv4(const char* host, CString& dotted)
{
    if (host == nullptr || *host == '\0') {
        return false;
    }
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host, nullptr, &hints, &found) != 0 || found == nullptr) {
        return false;
    }
    char text[INET_ADDRSTRLEN] {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const bool converted = ::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr;
    ::freeaddrinfo(found);
    if (converted) {
        dotted = text;
    }
    return converted;
}

} // namespace platform
