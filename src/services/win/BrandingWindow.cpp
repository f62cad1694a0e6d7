// The brand-token replacements on a window's caption.
#include "services/Branding.h"

#include "platform/win32/WindowText.h"

namespace {

void ReplaceInCaption(HWND window, CString (*replace)(const CString&))
{
    if (window == nullptr)
        return;
    const CString before = ReadWindowText(window);
    const CString after = replace(before);
    if (after != before)
        SetWindowTextA(window, after);
}

} // namespace

void ReplaceBrandedAppName(HWND window)
{
    ReplaceInCaption(window, &ReplaceBrandedAppName);
}

void ReplaceBrandedCompany(HWND window)
{
    ReplaceInCaption(window, &ReplaceBrandedCompany);
}

void ReplaceBrandedCompanyShort(HWND window)
{
    ReplaceInCaption(window, &ReplaceBrandedCompanyShort);
}

void ReplaceBrandedORVXName(HWND window)
{
    ReplaceInCaption(window, &ReplaceBrandedORVXName);
}

void ReplaceAllBrandedTokens(HWND window)
{
    ReplaceInCaption(window, &ReplaceAllBrandedTokens);
}
