// The brand-token replacements on a window's caption.
#include "services/Branding.h"

#include <vector>

namespace {

void ReplaceInCaption(HWND window, CString (*replace)(const CString&))
{
    if (window == nullptr)
        return;
    const int length = GetWindowTextLengthA(window);
    std::vector<char> caption(static_cast<std::size_t>(length) + 1, '\0');
    const int read = GetWindowTextA(window, caption.data(), length + 1);
    const CString before(caption.data(), read > 0 ? read : 0);
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
