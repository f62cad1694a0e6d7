#include "services/Branding.h"

#include "platform/ModuleState.h"
#include "framework/Section.h"
#include "resources/resource.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The brand tokens in the order ReplaceAllBrandedTokens applies them.
enum Token { AppName, CompanyShort, Company, OrvxName, TokenCount };

struct TokenInfo {
    const char* text;
    UINT id;
};

constexpr TokenInfo kTokens[TokenCount] = {
    {"$APPNAME$", IDS_APP_TITLE},
    {"$SCOMPANY$", IDS_COMPANY_SHORT},
    {"$COMPANY$", IDS_COMPANY},
    {"$ORVX$", IDS_ORVX_NAME},
};

// The process-wide branding state, built on first use and kept for the
// life of the process; every field is guarded by lock.
struct BrandingState {
    CSection lock;
    bool searched = false;
    branding::SearchResult found;
    bool tokenLoaded[TokenCount] = {};
    CString tokenValue[TokenCount];
    int tokenLoads = 0;
};

BrandingState& State()
{
    static BrandingState state;
    return state;
}

HMODULE EnsureResourceModule()
{
    BrandingState& state = State();
    CSectionLock guard(state.lock);
    if (!state.searched) {
        state.found = branding::FindResourceModule(platform::ModuleFileName(nullptr).c_str());
        state.searched = true;
    }
    return state.found.module;
}

CString TokenValue(Token token)
{
    BrandingState& state = State();
    CSectionLock guard(state.lock);
    if (!state.tokenLoaded[token]) {
        LoadResourceString(kTokens[token].id, state.tokenValue[token]);
        state.tokenLoaded[token] = true;
        ++state.tokenLoads;
    }
    return state.tokenValue[token];
}

CString ReplaceToken(const CString& text, Token token)
{
    CString result = text;
    if (result.Find(kTokens[token].text) >= 0)
        result.Replace(kTokens[token].text, TokenValue(token));
    return result;
}

} // namespace

namespace branding {

void BuildLock()
{
    State();
}

SearchResult FindResourceModule(const char* executablePath)
{
    SearchResult result;
    std::string path = executablePath != nullptr ? executablePath : "";
    // The extension is what follows the last dot of the file name itself.
    const std::size_t name = path.find_last_of("\\/");
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (name == std::string::npos || dot > name))
        path.erase(dot);
    if (!path.empty())
        result.module = LoadLibraryA((path + "_res.dll").c_str());
    if (result.module == nullptr)
        result.module = LoadLibraryA("OrvBranding.dll");
    result.branded = result.module != nullptr;
    if (result.module == nullptr)
        result.module = platform::LibraryModule();
    return result;
}

HMODULE ResourceModule()
{
    return EnsureResourceModule();
}

BOOL LoadBrandedString(UINT id, CString& text)
{
    return LoadChainedResourceString(EnsureResourceModule(), id, text);
}

void ResetForTesting()
{
    BrandingState& state = State();
    CSectionLock guard(state.lock);
    if (state.searched && state.found.branded)
        FreeLibrary(state.found.module);
    state.searched = false;
    state.found = SearchResult{};
    for (int i = 0; i < TokenCount; ++i) {
        state.tokenLoaded[i] = false;
        state.tokenValue[i].Empty();
    }
    state.tokenLoads = 0;
}

int TokenLoadsForTesting()
{
    BrandingState& state = State();
    CSectionLock guard(state.lock);
    return state.tokenLoads;
}

} // namespace branding

CBrandedResources::CBrandedResources()
{
    const HMODULE module = EnsureResourceModule();
    m_hOldResource = AfxGetResourceHandle();
    AfxSetResourceHandle(module);
}

CBrandedResources::~CBrandedResources()
{
    AfxSetResourceHandle(m_hOldResource);
}

BOOL CBrandedResources::InitApp(CWinApp* application)
{
    if (application == nullptr || application->m_pszAppName != nullptr)
        return FALSE;
    CString title;
    LoadResourceString(IDS_APP_TITLE, title);
    // The application object owns its name and frees it with free().
    std::free(const_cast<char*>(application->m_pszAppName));
    application->m_pszAppName = strdup(title);
    return application->m_pszAppName != nullptr;
}

int CBrandedResources::GetSupplementalLoginLanguageID()
{
    CString text;
    if (!LoadResourceString(IDS_SUPPLEMENTAL_LOGIN_LANGUAGE, text))
        return 0;
    return std::atoi(text);
}

BOOL CBrandedResources::IsBranded()
{
    EnsureResourceModule();
    BrandingState& state = State();
    CSectionLock guard(state.lock);
    return state.found.branded;
}

CString CBrandedResources::GetORVXName()
{
    // Loaded straight from the branding module rather than by switching the
    // current module, so that a call from another thread leaves the
    // user-interface thread's scopes alone.
    BrandingState& state = State();
    CSectionLock guard(state.lock);
    if (!state.tokenLoaded[OrvxName]) {
        branding::LoadBrandedString(IDS_ORVX_NAME, state.tokenValue[OrvxName]);
        state.tokenLoaded[OrvxName] = true;
        ++state.tokenLoads;
    }
    return state.tokenValue[OrvxName];
}

COrvResources::COrvResources()
{
    EnsureResourceModule();
    m_hOldResource = AfxGetResourceHandle();
    AfxSetResourceHandle(platform::LibraryModule());
}

COrvResources::~COrvResources()
{
    AfxSetResourceHandle(m_hOldResource);
}

CString ReplaceBrandedAppName(const CString& text)
{
    return ReplaceToken(text, AppName);
}

CString ReplaceBrandedCompany(const CString& text)
{
    return ReplaceToken(text, Company);
}

CString ReplaceBrandedCompanyShort(const CString& text)
{
    return ReplaceToken(text, CompanyShort);
}

CString ReplaceBrandedORVXName(const CString& text)
{
    return ReplaceToken(text, OrvxName);
}

CString ReplaceAllBrandedTokens(const CString& text)
{
    if (text.Find('$') < 0)
        return text;
    CString result = ReplaceBrandedAppName(text);
    result = ReplaceBrandedCompanyShort(result);
    result = ReplaceBrandedCompany(result);
    return ReplaceBrandedORVXName(result);
}
