#include "services/BrandedLinks.h"

#include "framework/Array.h"
#include "framework/Section.h"
#include "framework/Time.h"
#include "platform/Url.h"
#include "resources/resource.h"
#include "services/Blowfish.h"
#include "services/Branding.h"
#include "services/Registry.h"
#include "text/Base64Coding.h"

#include <algorithm>
#include <ctime>
#include <string>

namespace {

// The research service's key, Base64 text of 16 bytes.
constexpr const char* kResearchKey = "Qk3mZ0pVr8XwLt2NaYc5Hg==";
constexpr const char* kLanguageKey = "Software\\Microsoft\\Internet Explorer\\International";
constexpr const char* kPostDataMark = "POSTDATA:";

struct Credentials {
    CSection lock;
    CString userName;
    CString password;
    CString sessionToken;
};

Credentials& SessionCredentials()
{
    static Credentials credentials;
    return credentials;
}

void Store(CString Credentials::*field, const char* text)
{
    Credentials& credentials = SessionCredentials();
    CSectionLock guard(credentials.lock);
    credentials.*field = text;
}

CString Read(CString Credentials::*field)
{
    Credentials& credentials = SessionCredentials();
    CSectionLock guard(credentials.lock);
    return credentials.*field;
}

void ReplacePlaceholder(CString& url, const char* placeholder, const CString& value)
{
    if (url.Find(placeholder) >= 0)
        url.Replace(placeholder, value);
}

// The browser's preferred languages, "en-US" when none are recorded.
CString AcceptLanguage()
{
    CRegistry registry(HKEY_CURRENT_USER);
    CString languages;
    if (!registry.Open(HKEY_CURRENT_USER, kLanguageKey, KEY_READ) || !registry.ReadString("AcceptLanguage", languages))
        return "en-US";
    return languages;
}

const CBlowfish& ResearchCipher()
{
    static const CBlowfish cipher = [] {
        CBase64Coding coder;
        CByteArray key;
        coder.Decode(CString(kResearchKey), key);
        return CBlowfish(key.GetData(), static_cast<std::size_t>(key.GetSize()));
    }();
    return cipher;
}

// The token's text after Base64: canonicalised as a URL with "%" escaped
// (kept as it is if that fails), then "+" written as "%2B".
CString EscapeForUrl(const CString& text)
{
    CString result = text;
    char canonical[512];
    DWORD length = sizeof canonical;
    if (UrlCanonicalizeA(text, canonical, &length, URL_ESCAPE_PERCENT) == S_OK)
        result = CString(canonical, static_cast<int>(length));
    result.Replace("+", "%2B");
    return result;
}

} // namespace

void SetUserName(const char* userName)
{
    Store(&Credentials::userName, userName);
}

void SetPassword(const char* password)
{
    Store(&Credentials::password, password);
}

void SetSessionToken(const char* sessionToken)
{
    Store(&Credentials::sessionToken, sessionToken);
}

void ReformatURL(CString& url, CString& postData)
{
    ReplacePlaceholder(url, "%%USERNAME%%", Read(&Credentials::userName));
    ReplacePlaceholder(url, "%%PASSWORD%%", Read(&Credentials::password));
    ReplacePlaceholder(url, "%%LOGINID%%", "0");
    ReplacePlaceholder(url, "%%SESSIONTOKEN%%", Read(&Credentials::sessionToken));
    if (url.Find("%%YYYYMMDD%%") >= 0)
        ReplacePlaceholder(url, "%%YYYYMMDD%%", CTime::GetCurrentTime().Format("%Y%m%d"));
    if (url.Find("%%TCTOKEN%%") >= 0)
        ReplacePlaceholder(url, "%%TCTOKEN%%", GetTradingCentralToken());

    postData.Empty();
    const int mark = url.Find(kPostDataMark);
    if (mark < 0)
        return;
    postData = url.Mid(mark + static_cast<int>(std::char_traits<char>::length(kPostDataMark)));
    const int cut = mark > 0 && url[mark - 1] == '&' ? mark - 1 : mark;
    url = url.Left(cut);
}

void ReformatURL(CString& url)
{
    CString postData;
    ReformatURL(url, postData);
}

CString GetTradingCentralToken()
{
    return branding::EncipherResearchToken(branding::ResearchTokenText(static_cast<std::int32_t>(std::time(nullptr))));
}

namespace branding {

CString ResearchTokenText(std::int32_t unixTime)
{
    CString partner;
    LoadBrandedString(IDS_RESEARCH_PARTNER, partner);
    CString user = Read(&Credentials::userName);
    user.MakeUpper();
    CString text;
    text.Format("%s,%s,%s,%d", static_cast<const char*>(partner), static_cast<const char*>(user),
                static_cast<const char*>(AcceptLanguage()), static_cast<int>(unixTime));
    return text;
}

CString EncipherResearchToken(const CString& plainText)
{
    // The text with its terminating zero, padded with zeros to whole blocks.
    const int length = plainText.GetLength() + 1;
    const int padded = (length + CBlowfish::BlockSize - 1) / CBlowfish::BlockSize * CBlowfish::BlockSize;
    CByteArray buffer;
    buffer.SetSize(padded);
    BYTE* bytes = buffer.GetData();
    std::fill(bytes, bytes + padded, BYTE{0});
    std::copy(static_cast<const char*>(plainText), static_cast<const char*>(plainText) + plainText.GetLength(), bytes);
    ResearchCipher().Encrypt(bytes, static_cast<std::size_t>(padded), CBlowfish::ECB);

    CBase64Coding coder;
    CString encoded;
    coder.Encode(buffer, encoded);
    return EscapeForUrl(encoded);
}

} // namespace branding
