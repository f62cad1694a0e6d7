// CThemeUtil, the visual-style and image-blending libraries reached only when
// present, and IsThemeInUse, the test whether the controls should leave
// their drawing to the visual styles.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

#include <uxtheme.h>

// True when visual styles are in use: the visual-style library can be
// loaded, the common controls loaded in the process are version 6 or later,
// the application is themed and a theme is active. The first two answers are
// found once per process and kept.
ORV_API BOOL IsThemeInUse();

// Each wrapper looks its function up in the library at the moment of the
// call. Without the library, without open theme data where the function needs
// it, or without the function, it returns 0 and calls nothing.
class ORV_API CThemeUtil {
public:
    // Loads the visual-style library on Windows XP and later, and the
    // image-blending library always.
    CThemeUtil();
    virtual ~CThemeUtil();

    CThemeUtil(const CThemeUtil&) = delete;
    CThemeUtil& operator=(const CThemeUtil&) = delete;

    // The system's version as (major << 16) | minor.
    static DWORD GetWinVersion();
    static BOOL IsWinXP();

    // Opens theme data for the window and class list, closing any open
    // before. TRUE when theme data is now open.
    BOOL OpenThemeData(HWND wnd, LPCWSTR classList);
    // Closes the open theme data and lets its library go.
    BOOL CloseThemeData();
    HTHEME GetThemeHandle() const noexcept { return m_hTheme; }

    BOOL DrawThemeBackground(HDC dc, int partId, int stateId, const RECT* rect, const RECT* clip);
    BOOL DrawThemeParentBackground(HWND wnd, HDC dc, const RECT* rect);
    BOOL DrawThemeEdge(HDC dc, int partId, int stateId, const RECT* destination, UINT edge, UINT flags,
                       RECT* content);
    BOOL DrawThemeText(HDC dc, int partId, int stateId, LPCWSTR text, int count, DWORD flags, DWORD flags2,
                       const RECT* rect);
    // The property readers return 1 once they have called the library,
    // whatever it answered; the caller's default stays when it failed.
    BOOL GetThemeColor(int partId, int stateId, int propId, COLORREF* color);
    BOOL GetThemeBool(int partId, int stateId, int propId, BOOL* value);
    BOOL GetThemeInt(int partId, int stateId, int propId, int* value);
    BOOL GetThemeEnumValue(int partId, int stateId, int propId, int* value);
    BOOL GetThemePosition(int partId, int stateId, int propId, POINT* point);
    BOOL GetThemeMargins(HDC dc, int partId, int stateId, int propId, RECT* rect, MARGINS* margins);
    BOOL GetThemeFilename(int partId, int stateId, int propId, LPWSTR fileName, int maxChars);
    // The size itself, or 0.
    int GetThemeSysSize(int sizeId);
    BOOL GetCurrentThemeName(LPWSTR themeFileName, int maxFileNameChars, LPWSTR colorBuff, int maxColorChars,
                             LPWSTR sizeBuff, int maxSizeChars);
    BOOL SetWindowTheme(HWND wnd, LPCWSTR subAppName, LPCWSTR subIdList);
    BOOL EnableThemeDialogTexture(HWND wnd, DWORD flags);
    // The library's own answer.
    BOOL IsThemeActive();
    BOOL IsThemeBackgroundPartiallyTransparent(int partId, int stateId);

    // Returns 1 once it has called the library.
    BOOL GradientFill(HDC dc, TRIVERTEX* vertices, ULONG vertexCount, void* mesh, ULONG meshCount, ULONG mode);
    BOOL TransparentBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                        int sourceWidth, int sourceHeight, UINT transparent);

    // A bitmap from the current visual-style file, or null. The caller
    // deletes it.
    HBITMAP LoadBitmapA(const char* resourceName);

private:
    HMODULE m_hUxTheme = nullptr;
    HMODULE m_hThemeModule = nullptr;
    HMODULE m_hMsImg32 = nullptr;
    HTHEME m_hTheme = nullptr;
};
