// Branding: CBrandedResources and COrvResources (scopes that make the
// branding module or the library's own resources current), and the
// replacement of the brand tokens "$APPNAME$", "$SCOMPANY$", "$COMPANY$" and
// "$ORVX$" in texts and window captions.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "framework/WinApp.h"
#include "platform/Module.h"

// While it lives, the branding module is the current resource module. The
// branding module is found once per process, by the first scope made: the
// executable's path without its extension plus "_res.dll", else
// "OrvBranding.dll" on the normal search path, else the library's own
// resources (and then the process is not branded).
//
// Scopes must nest strictly on the user-interface thread: the destructor
// makes the module that was current at construction current again.
class ORV_API CBrandedResources {
public:
    CBrandedResources();
    ~CBrandedResources();

    CBrandedResources(const CBrandedResources&) = delete;
    CBrandedResources& operator=(const CBrandedResources&) = delete;

    // When the application has no name yet, gives it a private copy of
    // string 57344 (the application title) and returns 1; else 0. Also 0
    // for a null application.
    BOOL InitApp(CWinApp* application);
    // String 512 read as a decimal integer (as atoi does); 0 without it.
    int GetSupplementalLoginLanguageID();

    // Whether a branding module was found (looking for it first when no
    // scope has done so yet).
    static BOOL IsBranded();
    // The value of "$ORVX$": string 511 of the branding module.
    static CString GetORVXName();

private:
    HINSTANCE m_hOldResource = nullptr;
};

// The same scope with the library's own resources current.
class ORV_API COrvResources {
public:
    COrvResources();
    ~COrvResources();

    COrvResources(const COrvResources&) = delete;
    COrvResources& operator=(const COrvResources&) = delete;

private:
    HINSTANCE m_hOldResource = nullptr;
};

// Each replaces every occurrence of its token by its value and returns the
// result. A value is loaded from the current resource module (with the
// library's own strings behind it) the first time any caller needs it and is
// kept for the life of the process, so callers make a CBrandedResources
// scope first. A missing string makes the value empty.
ORV_API CString ReplaceBrandedAppName(const CString& text);
ORV_API CString ReplaceBrandedCompany(const CString& text);
ORV_API CString ReplaceBrandedCompanyShort(const CString& text);
ORV_API CString ReplaceBrandedORVXName(const CString& text);
// All four in the order application name, short company, company, "$ORVX$";
// a text without "$" comes back unchanged and loads nothing.
ORV_API CString ReplaceAllBrandedTokens(const CString& text);

#if defined(_WIN32)
// The same on a window's caption: read it, replace, set it again. Nothing
// happens for a null window.
ORV_API void ReplaceBrandedAppName(HWND window);
ORV_API void ReplaceBrandedCompany(HWND window);
ORV_API void ReplaceBrandedCompanyShort(HWND window);
ORV_API void ReplaceBrandedORVXName(HWND window);
ORV_API void ReplaceAllBrandedTokens(HWND window);
#endif

namespace branding {

// One step of the search above, for the executable at executablePath: the
// module found and whether it is a branding module (else it is the
// library's own module). A module that is found stays loaded.
struct SearchResult {
    HMODULE module = nullptr;
    bool branded = false;
};
ORV_API SearchResult FindResourceModule(const char* executablePath);

// The branding module in use (found on first need), the string loaded from
// it alone with the library's own strings behind, without making it current.
ORV_API HMODULE ResourceModule();
ORV_API BOOL LoadBrandedString(UINT id, CString& text);

// Builds the process-wide branding state and its lock. The library does it
// when it loads, so that the lock takes its place among the library's static
// objects and lives until the library unloads.
void BuildLock();

// Test hook: forgets the branding module (unloading it) and the cached token
// values, as if the process had just started. Only for tests, with no
// scope alive.
ORV_API void ResetForTesting();
// Test hook: how many token values have been loaded since the last reset.
ORV_API int TokenLoadsForTesting();

} // namespace branding
