#include "framework/win/Internet.h"


#include <cstdio>
#include <cstring>

namespace {

[[noreturn]] void ThrowLastError()
{
    throw CInternetException(::GetLastError());
}

void CloseInternetHandle(HINTERNET& handle)
{
    if (handle != nullptr)
        ::InternetCloseHandle(handle);
    handle = nullptr;
}

} // namespace

// -------------------------------------------------------- CInternetException

CInternetException::CInternetException(DWORD error) : m_dwError(error)
{
    char text[512] = "";
    // WinInet's own codes are described by its module, the rest by the
    // system.
    const DWORD length = error >= INTERNET_ERROR_BASE && error <= INTERNET_ERROR_LAST
        ? ::FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                           ::GetModuleHandleA("wininet.dll"), error, 0, text, sizeof text, nullptr)
        : ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                           sizeof text, nullptr);
    if (length == 0)
        std::snprintf(text, sizeof text, "Error %lu", static_cast<unsigned long>(error));
    m_message = text;
}

CInternetException::~CInternetException() = default;

const char* CInternetException::what() const noexcept
{
    return m_message.GetString();
}

BOOL CInternetException::GetErrorMessage(char* buffer, UINT capacity) const
{
    if (buffer == nullptr || capacity == 0)
        return FALSE;
    std::snprintf(buffer, capacity, "%s", m_message.GetString());
    return TRUE;
}

// -------------------------------------------------------- CInternetSession

CInternetSession::CInternetSession(const char* agent, DWORD_PTR context) : m_context(context)
{
    m_hSession = ::InternetOpenA(agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (m_hSession == nullptr)
        ThrowLastError();
}

CInternetSession::~CInternetSession()
{
    Close();
}

BOOL CInternetSession::SetOption(DWORD option, DWORD value)
{
    return ::InternetSetOptionA(m_hSession, option, &value, sizeof value);
}

std::unique_ptr<CHttpConnection> CInternetSession::GetHttpConnection(const char* server, WORD port)
{
    return std::make_unique<CHttpConnection>(m_hSession, server, port, m_context);
}

void CInternetSession::Close()
{
    CloseInternetHandle(m_hSession);
}

// -------------------------------------------------------- CHttpConnection

CHttpConnection::CHttpConnection(HINTERNET session, const char* server, WORD port, DWORD_PTR context)
    : m_context(context)
{
    m_hConnection = ::InternetConnectA(session, server, port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, context);
    if (m_hConnection == nullptr)
        ThrowLastError();
}

CHttpConnection::~CHttpConnection()
{
    Close();
}

std::unique_ptr<CHttpFile> CHttpConnection::OpenRequest(const char* verb, const char* object, DWORD flags)
{
    return std::make_unique<CHttpFile>(m_hConnection, verb, object, flags, m_context);
}

void CHttpConnection::Close()
{
    CloseInternetHandle(m_hConnection);
}

// -------------------------------------------------------- CHttpFile

CHttpFile::CHttpFile(HINTERNET connection, const char* verb, const char* object, DWORD flags, DWORD_PTR context)
{
    m_hRequest = ::HttpOpenRequestA(connection, verb, object, nullptr, nullptr, nullptr, flags, context);
    if (m_hRequest == nullptr)
        ThrowLastError();
}

CHttpFile::~CHttpFile()
{
    Close();
}

void CHttpFile::SendRequest()
{
    if (!::HttpSendRequestA(m_hRequest, nullptr, 0, nullptr, 0))
        ThrowLastError();
}

BOOL CHttpFile::QueryInfoStatusCode(DWORD& status) const
{
    DWORD size = sizeof status;
    return ::HttpQueryInfoA(m_hRequest, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr);
}

BOOL CHttpFile::QueryInfoNumber(DWORD query, ULONGLONG& value) const
{
    // Read as text: a length can pass what the 32-bit numeric form holds.
    char text[32] = "";
    DWORD size = sizeof text;
    if (!::HttpQueryInfoA(m_hRequest, query, text, &size, nullptr))
        return FALSE;
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end != text && *end == '\0';
}

UINT CHttpFile::Read(void* buffer, UINT size)
{
    DWORD read = 0;
    if (!::InternetReadFile(m_hRequest, buffer, size, &read))
        ThrowLastError();
    return read;
}

void CHttpFile::Close()
{
    CloseInternetHandle(m_hRequest);
}
