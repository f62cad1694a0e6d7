// The network side of the update check, kept behind interfaces so that the
// decisions of CAutoUpdateCheck run the same over any HTTP client:
// CAutoUpdateUrl (a split http or https address), CAutoUpdateTransportError,
// IAutoUpdateResponse and IAutoUpdateTransport.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "base/Types.h"

#include <memory>

// An http or https address split into its server, port and object path, as
// an HTTP connection and a GET request need them.
class ORV_API CAutoUpdateUrl {
public:
    // Splits url. False (and the fields unspecified) unless it reads
    // "http://" or "https://" (without case), a server name without blanks
    // or "@", an optional ":port" of 1 to 65535, and an optional path; a
    // missing path is "/". The default ports are 80 and 443.
    bool Parse(const char* url);

    // The last part of the object path, without its query or fragment: the
    // name the package is saved under. Empty when the path ends in "/" or
    // the name is not a plain file name ("." and "..", or characters a file
    // name cannot hold).
    CString GetFileName() const;

    CString m_Url;
    bool m_bSecure = false;
    CString m_Server;
    WORD m_Port = 0;
    CString m_Object;
};

// Why a transport call failed: the platform's error code and its message
// (an internet exception's text, for one).
class ORV_API CAutoUpdateTransportError {
public:
    DWORD m_Code = 0;
    CString m_Message;
};

// One HTTP response whose request has been sent. Destroying it closes the
// request and its connection.
class ORV_API IAutoUpdateResponse {
public:
    virtual ~IAutoUpdateResponse();

    // The HTTP status code. False when it cannot be read; error says why.
    virtual bool QueryStatusCode(DWORD& code, CAutoUpdateTransportError& error) = 0;
    // The body's length as the server announced it (Content-Length). False
    // when the response announces none.
    virtual bool QueryContentLength(ULONGLONG& length) = 0;
    // Reads the next bytes of the body, at most size of them: the count
    // read, 0 at the end of the body, or -1 when the transfer fails (a lost
    // connection, a time-out), with error saying why.
    virtual int Read(void* buffer, UINT size, CAutoUpdateTransportError& error) = 0;
};

// Opens HTTP requests. Each call connects to the address's server and port
// and sends a GET for its object path; it returns the response, or null
// with error filled when no request could be sent (no session, no
// connection, a refused request).
class ORV_API IAutoUpdateTransport {
public:
    virtual ~IAutoUpdateTransport();

    // The manifest: an ordinary GET that may reuse an existing connection.
    virtual std::unique_ptr<IAutoUpdateResponse> FetchManifest(const CAutoUpdateUrl& url,
        CAutoUpdateTransportError& error) = 0;
    // The package: a GET that bypasses the cache (reloaded from the server,
    // not written to the cache), with a connect time-out of 30000 ms, a
    // back-off of 1000 ms and one connect retry.
    virtual std::unique_ptr<IAutoUpdateResponse> DownloadPackage(const CAutoUpdateUrl& url,
        CAutoUpdateTransportError& error) = 0;
};
