// Opening a link in an Internet Explorer window through the browser's
// automation object.
#include "services/BrandedLinks.h"
#include "platform/win32/ComPtr.h"

#include <exdisp.h>
#include <objbase.h>
#include <oleauto.h>

namespace {

// InternetExplorer.Application and its IWebBrowser2 interface.
const CLSID kInternetExplorer = {0x0002DF01, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kWebBrowser2 = {0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};

// COM for the calling thread, for as long as the object lives.
class CComScope {
public:
    CComScope() : m_result(CoInitialize(nullptr)) {}
    ~CComScope()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;
    bool Ok() const { return SUCCEEDED(m_result); }

private:
    HRESULT m_result;
};

bool Navigate(IWebBrowser2* browser, const CString& url)
{
    const int wide = MultiByteToWideChar(CP_ACP, 0, url, -1, nullptr, 0);
    if (wide <= 0)
        return false;
    BSTR address = SysAllocStringLen(nullptr, static_cast<UINT>(wide - 1));
    if (address == nullptr)
        return false;
    MultiByteToWideChar(CP_ACP, 0, url, -1, address, wide);
    VARIANT none;
    VariantInit(&none);
    const HRESULT result = browser->Navigate(address, &none, &none, &none, &none);
    SysFreeString(address);
    return SUCCEEDED(result);
}

void ShowBrowser(IWebBrowser2* browser, const CRect& rect, BOOL toolBar, BOOL menuBar, BOOL statusBar, BOOL topmost)
{
    if (!rect.IsRectEmpty()) {
        browser->put_Left(rect.left);
        browser->put_Top(rect.top);
        browser->put_Width(rect.Width());
        browser->put_Height(rect.Height());
    }
    browser->put_MenuBar(menuBar ? VARIANT_TRUE : VARIANT_FALSE);
    browser->put_StatusBar(statusBar ? VARIANT_TRUE : VARIANT_FALSE);
    browser->put_ToolBar(toolBar ? TRUE : FALSE);
    browser->put_Visible(VARIANT_TRUE);
    SHANDLE_PTR handle = 0;
    browser->get_HWND(&handle);
    const HWND window = reinterpret_cast<HWND>(handle);
    if (window == nullptr)
        return;
    if (topmost)
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    BringWindowToTop(window);
}

} // namespace

BOOL OpenIE(const char* url, const CRect& rect, BOOL toolBar, BOOL menuBar, BOOL statusBar, BOOL /*reserved*/,
            BOOL topmost)
{
    CString address = url;
    ReformatURL(address);

    CComScope com;
    if (!com.Ok())
        return FALSE;
    platform::win32::CComPtr<IWebBrowser2> browser;
    if (FAILED(browser.Create(kInternetExplorer, kWebBrowser2, CLSCTX_SERVER)))
        return FALSE;
    if (!Navigate(browser.Get(), address))
        return FALSE;
    ShowBrowser(browser.Get(), rect, toolBar, menuBar, statusBar, topmost);
    return TRUE;
}
