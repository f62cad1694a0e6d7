// The internet classes over WinInet: CInternetException (the failed call's
// error code and the system's text for it), CInternetSession, CHttpConnection
// and CHttpFile (one HTTP request and its response). Each object owns its
// handle and closes it when it is closed or destroyed; a failed call throws
// CInternetException.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"
#include "framework/Exceptions.h"
#include "framework/String.h"

#include <memory>

#include <wininet.h>

class ORV_API CInternetException : public CException {
public:
    explicit CInternetException(DWORD error);
    ~CInternetException() override;

    const char* what() const noexcept override;
    // The system's text for the error code, "Error <code>" without one.
    BOOL GetErrorMessage(char* buffer, UINT capacity) const;

    DWORD m_dwError;

private:
    CString m_message;
};

class CHttpConnection;
class CHttpFile;

class ORV_API CInternetSession {
public:
    // Opens a session with the system's proxy settings; agent may be null.
    explicit CInternetSession(const char* agent = nullptr, DWORD_PTR context = 1);
    ~CInternetSession();

    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    // A WinInet option of the session (INTERNET_OPTION_CONNECT_TIMEOUT, ...);
    // FALSE when the platform refuses it (the thread's last error says why).
    BOOL SetOption(DWORD option, DWORD value);
    std::unique_ptr<CHttpConnection> GetHttpConnection(const char* server, WORD port);
    void Close();
    HINTERNET GetHandle() const noexcept { return m_hSession; }

private:
    HINTERNET m_hSession = nullptr;
    DWORD_PTR m_context;
};

class ORV_API CHttpConnection {
public:
    CHttpConnection(HINTERNET session, const char* server, WORD port, DWORD_PTR context);
    ~CHttpConnection();

    CHttpConnection(const CHttpConnection&) = delete;
    CHttpConnection& operator=(const CHttpConnection&) = delete;

    // A request for the object path; flags are INTERNET_FLAG_ values
    // (INTERNET_FLAG_SECURE for https, INTERNET_FLAG_RELOAD, ...).
    std::unique_ptr<CHttpFile> OpenRequest(const char* verb, const char* object, DWORD flags);
    void Close();

private:
    HINTERNET m_hConnection = nullptr;
    DWORD_PTR m_context;
};

class ORV_API CHttpFile {
public:
    CHttpFile(HINTERNET connection, const char* verb, const char* object, DWORD flags, DWORD_PTR context);
    ~CHttpFile();

    CHttpFile(const CHttpFile&) = delete;
    CHttpFile& operator=(const CHttpFile&) = delete;

    void SendRequest();
    // The response's HTTP status code; FALSE when it cannot be read (the
    // thread's last error says why).
    BOOL QueryInfoStatusCode(DWORD& status) const;
    // A numeric header (HTTP_QUERY_CONTENT_LENGTH, ...); FALSE without it.
    BOOL QueryInfoNumber(DWORD query, ULONGLONG& value) const;
    // Reads at most size bytes of the body: the count read, 0 at its end.
    UINT Read(void* buffer, UINT size);
    void Close();

private:
    HINTERNET m_hRequest = nullptr;
};
