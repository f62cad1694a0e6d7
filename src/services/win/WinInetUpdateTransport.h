// CWinInetUpdateTransport: the update check's HTTP transport over the
// framework's internet classes (WinInet). Each call opens its own session
// and connection, which the returned response owns and closes.
#pragma once

#include "OrvApi.h"
#include "services/AutoUpdateTransport.h"

class ORV_API CWinInetUpdateTransport : public IAutoUpdateTransport {
public:
    // A session with the system's settings, a connection to the address's
    // server and port, and a GET that may reuse a connection.
    std::unique_ptr<IAutoUpdateResponse> FetchManifest(const CAutoUpdateUrl& url,
                                                       CAutoUpdateTransportError& error) override;
    // The same with a connect time-out of 30000 ms, a back-off of 1000 ms and
    // one retry, and a GET reloaded from the server and kept out of the
    // cache.
    std::unique_ptr<IAutoUpdateResponse> DownloadPackage(const CAutoUpdateUrl& url,
                                                         CAutoUpdateTransportError& error) override;

private:
    std::unique_ptr<IAutoUpdateResponse> Get(const CAutoUpdateUrl& url, bool download,
                                             CAutoUpdateTransportError& error);
};
