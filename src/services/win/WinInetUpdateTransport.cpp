#include "services/win/WinInetUpdateTransport.h"

#include "framework/win/Internet.h"


namespace {

void Fill(CAutoUpdateTransportError& error, const CInternetException& failure)
{
    error.m_Code = failure.m_dwError;
    error.m_Message = failure.what();
}

// A sent request with the session and connection it travels on, closed in
// reverse order when the response goes.
class CWinInetResponse : public IAutoUpdateResponse {
public:
    CWinInetResponse(std::unique_ptr<CInternetSession> session, std::unique_ptr<CHttpConnection> connection,
                     std::unique_ptr<CHttpFile> request)
        : m_session(std::move(session)), m_connection(std::move(connection)), m_request(std::move(request))
    {
    }
    ~CWinInetResponse() override
    {
        m_request.reset();
        m_connection.reset();
        m_session.reset();
    }

    bool QueryStatusCode(DWORD& code, CAutoUpdateTransportError& error) override
    {
        if (m_request->QueryInfoStatusCode(code))
            return true;
        Fill(error, CInternetException(::GetLastError()));
        return false;
    }
    bool QueryContentLength(ULONGLONG& length) override
    {
        return m_request->QueryInfoNumber(HTTP_QUERY_CONTENT_LENGTH, length) != FALSE;
    }
    int Read(void* buffer, UINT size, CAutoUpdateTransportError& error) override
    {
        try {
            return int(m_request->Read(buffer, size));
        } catch (const CInternetException& failure) {
            Fill(error, failure);
            return -1;
        }
    }

private:
    std::unique_ptr<CInternetSession> m_session;
    std::unique_ptr<CHttpConnection> m_connection;
    std::unique_ptr<CHttpFile> m_request;
};

} // namespace

std::unique_ptr<IAutoUpdateResponse> CWinInetUpdateTransport::FetchManifest(const CAutoUpdateUrl& url,
                                                                            CAutoUpdateTransportError& error)
{
    return Get(url, false, error);
}

std::unique_ptr<IAutoUpdateResponse> CWinInetUpdateTransport::DownloadPackage(const CAutoUpdateUrl& url,
                                                                              CAutoUpdateTransportError& error)
{
    return Get(url, true, error);
}

std::unique_ptr<IAutoUpdateResponse> CWinInetUpdateTransport::Get(const CAutoUpdateUrl& url, bool download,
                                                                  CAutoUpdateTransportError& error)
{
    try {
        auto session = std::make_unique<CInternetSession>();
        if (download) {
            // Settings a platform does not offer (Wine has no back-off) are
            // left at its defaults rather than failing the download.
            session->SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, 30000);
            session->SetOption(INTERNET_OPTION_CONNECT_BACKOFF, 1000);
            session->SetOption(INTERNET_OPTION_CONNECT_RETRIES, 1);
        }
        auto connection = session->GetHttpConnection(url.m_Server, url.m_Port);
        DWORD flags = url.m_bSecure ? INTERNET_FLAG_SECURE : 0;
        flags |= download ? INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE
                          : INTERNET_FLAG_EXISTING_CONNECT;
        auto request = connection->OpenRequest("GET", url.m_Object, flags);
        request->SendRequest();
        return std::make_unique<CWinInetResponse>(std::move(session), std::move(connection), std::move(request));
    } catch (const CInternetException& failure) {
        Fill(error, failure);
        return nullptr;
    }
}
