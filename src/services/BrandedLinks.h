// Link templates: the session credentials they need, their expansion
// (ReformatURL), the research-service token and, on Windows, opening a link
// in a browser window (OpenIE).
#pragma once

#include "OrvApi.h"
#include "framework/Geometry.h"
#include "framework/String.h"
#include "base/Types.h"

#include <cstdint>

// The session credentials, kept for the process under one lock. Null is
// stored as empty text.
ORV_API void SetUserName(const char* userName);
ORV_API void SetPassword(const char* password);
ORV_API void SetSessionToken(const char* sessionToken);

// Expands a link template in place. Every occurrence of each placeholder is
// replaced, in this order: "%%USERNAME%%" (the session user name),
// "%%PASSWORD%%", "%%LOGINID%%" (always "0"), "%%SESSIONTOKEN%%",
// "%%YYYYMMDD%%" (today's local date) and "%%TCTOKEN%%"
// (GetTradingCentralToken, made only when the URL asks for it). Then, when
// the URL holds "POSTDATA:", postData becomes everything after it and the
// URL is cut before it, and before an "&" that precedes it; otherwise
// postData is emptied.
ORV_API void ReformatURL(CString& url, CString& postData);
// The same, discarding the post data.
ORV_API void ReformatURL(CString& url);

// The research service's token: "partner,USER,languages,time" enciphered
// with Blowfish (codebook mode, the library's key), Base64 text, escaped for
// a URL. See BrandedLinks.cpp for the steps.
ORV_API CString GetTradingCentralToken();

#if defined(_WIN32)
// Opens the expanded url (without post data) in a new Internet Explorer
// window through its automation object, placed at rect unless rect is
// empty, with the tool, menu and status bars as asked, topmost when asked.
// reserved is not used. 1 when the window was shown, else 0 (also when the
// browser's automation object is not installed).
ORV_API BOOL OpenIE(const char* url, const CRect& rect, BOOL toolBar, BOOL menuBar, BOOL statusBar,
                    BOOL reserved, BOOL topmost);
#endif

namespace branding {

// The steps of GetTradingCentralToken, for tests: the plain text for a
// given time, and its encipherment into the finished token.
ORV_API CString ResearchTokenText(std::int32_t unixTime);
ORV_API CString EncipherResearchToken(const CString& plainText);

} // namespace branding
