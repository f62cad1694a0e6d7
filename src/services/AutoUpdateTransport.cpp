#include "services/AutoUpdateTransport.h"

#include <cstring>
#include <initializer_list>

namespace {

// Reads "http://" or "https://" at the start of url (without case); the
// length of the scheme and separator, or 0.
int SchemeLength(const CString& url, bool& secure)
{
    if (url.Left(7).CompareNoCase("http://") == 0) {
        secure = false;
        return 7;
    }
    if (url.Left(8).CompareNoCase("https://") == 0) {
        secure = true;
        return 8;
    }
    return 0;
}

bool ReadPort(const CString& text, WORD& port)
{
    if (text.IsEmpty() || text.GetLength() > 5) {
        return false;
    }
    DWORD value = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + DWORD(text[i] - '0');
    }
    if (value == 0 || value > 65535) {
        return false;
    }
    port = WORD(value);
    return true;
}

bool ContainsAny(const CString& text, const char* characters)
{
    return std::strpbrk(text.GetString(), characters) != nullptr;
}

} // namespace

bool CAutoUpdateUrl::Parse(const char* url)
{
    m_Url = url != nullptr ? url : "";
    const int start = SchemeLength(m_Url, m_bSecure);
    if (start == 0) {
        return false;
    }
    int pathStart = m_Url.Find('/', start);
    if (pathStart < 0) {
        pathStart = m_Url.GetLength();
    }
    CString authority = m_Url.Mid(start, pathStart - start);
    m_Object = pathStart < m_Url.GetLength() ? m_Url.Mid(pathStart) : CString("/");
    m_Port = m_bSecure ? 443 : 80;
    const int colon = authority.Find(':');
    if (colon >= 0) {
        if (!ReadPort(authority.Mid(colon + 1), m_Port)) {
            return false;
        }
        authority = authority.Left(colon);
    }
    m_Server = authority;
    return !m_Server.IsEmpty() && !ContainsAny(m_Server, " \t\r\n@?#\\");
}

CString CAutoUpdateUrl::GetFileName() const
{
    CString path = m_Object;
    for (const char mark : {'?', '#'}) {
        const int end = path.Find(mark);
        if (end >= 0) {
            path = path.Left(end);
        }
    }
    const int slash = path.ReverseFind('/');
    CString name = slash >= 0 ? path.Mid(slash + 1) : path;
    if (name == "." || name == ".." || ContainsAny(name, "\\:*?\"<>|")) {
        return CString();
    }
    for (int i = 0; i < name.GetLength(); ++i) {
        if (static_cast<unsigned char>(name[i]) < 32) {
            return CString();
        }
    }
    return name;
}

IAutoUpdateResponse::~IAutoUpdateResponse() = default;
IAutoUpdateTransport::~IAutoUpdateTransport() = default;
