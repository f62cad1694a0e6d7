#include "controls/win/ThemeUtil.h"

#include "framework/Section.h"

#include <shlwapi.h>

namespace {

template <class Function>
Function Resolve(HMODULE module, const char* name)
{
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Calls a function of the visual-style library that needs no theme data,
// loading the library for the call only.
template <class Function, class... Args>
bool CallUxTheme(const char* name, BOOL& answer, Args... args)
{
    HMODULE module = ::LoadLibraryA("uxtheme.dll");
    auto function = Resolve<Function>(module, name);
    if (function != nullptr)
        answer = function(args...);
    if (module != nullptr)
        ::FreeLibrary(module);
    return function != nullptr;
}

CSection& ThemeTestLock()
{
    static CSection section(4000);
    return section;
}

bool CanLoadUxTheme()
{
    static int answer = -1;
    CSectionLock lock(ThemeTestLock());
    if (answer < 0) {
        HMODULE module = ::LoadLibraryA("uxtheme.dll");
        answer = module != nullptr ? 1 : 0;
        if (module != nullptr)
            ::FreeLibrary(module);
    }
    return answer == 1;
}

bool HasCommonControls6()
{
    static int answer = -1;
    CSectionLock lock(ThemeTestLock());
    if (answer < 0) {
        answer = 0;
        HMODULE module = ::GetModuleHandleA("ComCtl32.dll");
        auto getVersion = Resolve<DLLGETVERSIONPROC>(module, "DllGetVersion");
        DLLVERSIONINFO info {};
        info.cbSize = sizeof info;
        if (getVersion != nullptr && SUCCEEDED(getVersion(&info)) && info.dwMajorVersion > 5)
            answer = 1;
    }
    return answer == 1;
}

} // namespace

BOOL IsThemeInUse()
{
    if (!CanLoadUxTheme() || !HasCommonControls6())
        return FALSE;
    BOOL themed = FALSE;
    if (!CallUxTheme<BOOL(WINAPI*)()>("IsAppThemed", themed) || !themed)
        return FALSE;
    BOOL active = FALSE;
    return CallUxTheme<BOOL(WINAPI*)()>("IsThemeActive", active) && active;
}

// ------------------------------------------------------------- CThemeUtil

CThemeUtil::CThemeUtil()
{
    if (IsWinXP())
        m_hUxTheme = ::LoadLibraryA("UxTheme.dll");
    m_hMsImg32 = ::LoadLibraryA("msimg32.dll");
}

CThemeUtil::~CThemeUtil()
{
    CloseThemeData();
    if (m_hUxTheme != nullptr)
        ::FreeLibrary(m_hUxTheme);
    if (m_hMsImg32 != nullptr)
        ::FreeLibrary(m_hMsImg32);
}

DWORD CThemeUtil::GetWinVersion()
{
    OSVERSIONINFOA info {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!::GetVersionExA(&info))
        return 0;
    return (info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF);
}

BOOL CThemeUtil::IsWinXP()
{
    // Version 5.1 in the (major << 16) | minor form.
    return GetWinVersion() >= 0x50001;
}

BOOL CThemeUtil::OpenThemeData(HWND wnd, LPCWSTR classList)
{
    auto open = Resolve<decltype(&::OpenThemeData)>(m_hUxTheme, "OpenThemeData");
    if (open == nullptr)
        return FALSE;
    CloseThemeData();
    m_hTheme = open(wnd, classList);
    if (m_hTheme == nullptr)
        return FALSE;
    // The theme data keeps the library loaded until it is closed.
    m_hThemeModule = ::LoadLibraryA("UxTheme.dll");
    return TRUE;
}

BOOL CThemeUtil::CloseThemeData()
{
    BOOL closed = FALSE;
    auto close = Resolve<decltype(&::CloseThemeData)>(m_hUxTheme, "CloseThemeData");
    if (m_hTheme != nullptr && close != nullptr)
        closed = SUCCEEDED(close(m_hTheme));
    m_hTheme = nullptr;
    if (m_hThemeModule != nullptr) {
        ::FreeLibrary(m_hThemeModule);
        m_hThemeModule = nullptr;
    }
    return closed;
}

// The wrappers that take the open theme data.
#define ORV_THEMED_CALL(name)                                                  \
    auto function = Resolve<decltype(&::name)>(m_hUxTheme, #name);             \
    if (function == nullptr || m_hTheme == nullptr)                            \
        return 0

BOOL CThemeUtil::DrawThemeBackground(HDC dc, int partId, int stateId, const RECT* rect, const RECT* clip)
{
    ORV_THEMED_CALL(DrawThemeBackground);
    return SUCCEEDED(function(m_hTheme, dc, partId, stateId, rect, clip));
}

BOOL CThemeUtil::DrawThemeParentBackground(HWND wnd, HDC dc, const RECT* rect)
{
    auto function = Resolve<decltype(&::DrawThemeParentBackground)>(m_hUxTheme, "DrawThemeParentBackground");
    if (function == nullptr)
        return FALSE;
    return SUCCEEDED(function(wnd, dc, const_cast<RECT*>(rect)));
}

BOOL CThemeUtil::DrawThemeEdge(HDC dc, int partId, int stateId, const RECT* destination, UINT edge, UINT flags,
                               RECT* content)
{
    ORV_THEMED_CALL(DrawThemeEdge);
    return SUCCEEDED(function(m_hTheme, dc, partId, stateId, destination, edge, flags, content));
}

BOOL CThemeUtil::DrawThemeText(HDC dc, int partId, int stateId, LPCWSTR text, int count, DWORD flags,
                               DWORD flags2, const RECT* rect)
{
    ORV_THEMED_CALL(DrawThemeText);
    return SUCCEEDED(function(m_hTheme, dc, partId, stateId, text, count, flags, flags2, rect));
}

BOOL CThemeUtil::GetThemeColor(int partId, int stateId, int propId, COLORREF* color)
{
    ORV_THEMED_CALL(GetThemeColor);
    function(m_hTheme, partId, stateId, propId, color);
    return TRUE;
}

BOOL CThemeUtil::GetThemeBool(int partId, int stateId, int propId, BOOL* value)
{
    ORV_THEMED_CALL(GetThemeBool);
    function(m_hTheme, partId, stateId, propId, value);
    return TRUE;
}

BOOL CThemeUtil::GetThemeInt(int partId, int stateId, int propId, int* value)
{
    ORV_THEMED_CALL(GetThemeInt);
    function(m_hTheme, partId, stateId, propId, value);
    return TRUE;
}

BOOL CThemeUtil::GetThemeEnumValue(int partId, int stateId, int propId, int* value)
{
    ORV_THEMED_CALL(GetThemeEnumValue);
    function(m_hTheme, partId, stateId, propId, value);
    return TRUE;
}

BOOL CThemeUtil::GetThemePosition(int partId, int stateId, int propId, POINT* point)
{
    ORV_THEMED_CALL(GetThemePosition);
    function(m_hTheme, partId, stateId, propId, point);
    return TRUE;
}

BOOL CThemeUtil::GetThemeMargins(HDC dc, int partId, int stateId, int propId, RECT* rect, MARGINS* margins)
{
    ORV_THEMED_CALL(GetThemeMargins);
    function(m_hTheme, dc, partId, stateId, propId, rect, margins);
    return TRUE;
}

BOOL CThemeUtil::GetThemeFilename(int partId, int stateId, int propId, LPWSTR fileName, int maxChars)
{
    ORV_THEMED_CALL(GetThemeFilename);
    function(m_hTheme, partId, stateId, propId, fileName, maxChars);
    return TRUE;
}

int CThemeUtil::GetThemeSysSize(int sizeId)
{
    ORV_THEMED_CALL(GetThemeSysSize);
    return function(m_hTheme, sizeId);
}

#undef ORV_THEMED_CALL

BOOL CThemeUtil::GetCurrentThemeName(LPWSTR themeFileName, int maxFileNameChars, LPWSTR colorBuff,
                                     int maxColorChars, LPWSTR sizeBuff, int maxSizeChars)
{
    auto function = Resolve<decltype(&::GetCurrentThemeName)>(m_hUxTheme, "GetCurrentThemeName");
    if (function == nullptr)
        return FALSE;
    return SUCCEEDED(
        function(themeFileName, maxFileNameChars, colorBuff, maxColorChars, sizeBuff, maxSizeChars));
}

BOOL CThemeUtil::SetWindowTheme(HWND wnd, LPCWSTR subAppName, LPCWSTR subIdList)
{
    auto function = Resolve<decltype(&::SetWindowTheme)>(m_hUxTheme, "SetWindowTheme");
    if (function == nullptr)
        return FALSE;
    return SUCCEEDED(function(wnd, subAppName, subIdList));
}

BOOL CThemeUtil::EnableThemeDialogTexture(HWND wnd, DWORD flags)
{
    auto function = Resolve<decltype(&::EnableThemeDialogTexture)>(m_hUxTheme, "EnableThemeDialogTexture");
    if (function == nullptr)
        return FALSE;
    return SUCCEEDED(function(wnd, flags));
}

BOOL CThemeUtil::IsThemeActive()
{
    auto function = Resolve<decltype(&::IsThemeActive)>(m_hUxTheme, "IsThemeActive");
    return function != nullptr ? function() : FALSE;
}

BOOL CThemeUtil::IsThemeBackgroundPartiallyTransparent(int partId, int stateId)
{
    auto function = Resolve<decltype(&::IsThemeBackgroundPartiallyTransparent)>(
        m_hUxTheme, "IsThemeBackgroundPartiallyTransparent");
    if (function == nullptr || m_hTheme == nullptr)
        return FALSE;
    return function(m_hTheme, partId, stateId);
}

BOOL CThemeUtil::GradientFill(HDC dc, TRIVERTEX* vertices, ULONG vertexCount, void* mesh, ULONG meshCount,
                              ULONG mode)
{
    auto function = Resolve<decltype(&::GradientFill)>(m_hMsImg32, "GradientFill");
    if (function == nullptr)
        return FALSE;
    function(dc, vertices, vertexCount, mesh, meshCount, mode);
    return TRUE;
}

BOOL CThemeUtil::TransparentBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                                int sourceY, int sourceWidth, int sourceHeight, UINT transparent)
{
    auto function = Resolve<decltype(&::TransparentBlt)>(m_hMsImg32, "TransparentBlt");
    if (function == nullptr)
        return FALSE;
    return function(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight,
                    transparent);
}

HBITMAP CThemeUtil::LoadBitmapA(const char* resourceName)
{
    WCHAR themeFile[MAX_PATH] = L"";
    if (!GetCurrentThemeName(themeFile, MAX_PATH, nullptr, 0, nullptr, 0) || themeFile[0] == L'\0')
        return nullptr;
    HMODULE theme = ::LoadLibraryExW(themeFile, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (theme == nullptr)
        return nullptr;
    HBITMAP bitmap = ::LoadBitmapA(theme, resourceName);
    ::FreeLibrary(theme);
    return bitmap;
}
