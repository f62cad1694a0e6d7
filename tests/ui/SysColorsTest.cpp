#include "UiHarness.h"

#include "controls/win/SysColors.h"
#include "controls/win/ThemeUtil.h"
#include "controls/win/WindowUtils.h"
#include "framework/win/DC.h"
#include "framework/win/Wnd.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <tuple>

using namespace orv::ui;

namespace {

// The cached window colour and its pen's colour.
std::pair<COLORREF, COLORREF> CachedWindowColours()
{
    LOGPEN logPen {};
    CSysColors::sm_penWindow.GetObject(sizeof logPen, &logPen);
    return {CSysColors::sm_crWindow, logPen.lopnColor};
}

DWORD CurrentSecond()
{
    return ::GetTickCount() / 1000;
}

// Waits for the tick count's second to turn and returns the new one.
DWORD NextSecond()
{
    const DWORD second = CurrentSecond();
    PumpUntil([&] { return CurrentSecond() != second; }, 2000);
    return CurrentSecond();
}

void SetWindowColor(COLORREF color)
{
    const INT element = COLOR_WINDOW;
    ::SetSysColors(1, &element, &color);
}

} // namespace

TEST(SysColors, CacheHoldsTheNineSystemColoursAndAPenOfEachReadAtMostOncePerSecond)
{
    NextSecond();
    CSysColors::Update();
    const struct { int index; COLORREF color; const CPen& pen; } rows[] = {
        {COLOR_WINDOWTEXT, CSysColors::sm_crText, CSysColors::sm_penText},
        {COLOR_BTNFACE, CSysColors::sm_crBtnFace, CSysColors::sm_penBtnFace},
        {COLOR_BTNHIGHLIGHT, CSysColors::sm_cr3DHilite, CSysColors::sm_pen3DHilite},
        {COLOR_BTNSHADOW, CSysColors::sm_cr3DShadow, CSysColors::sm_pen3DShadow},
        {COLOR_3DDKSHADOW, CSysColors::sm_cr3DDkShadow, CSysColors::sm_pen3DDkShadow},
        {COLOR_WINDOW, CSysColors::sm_crWindow, CSysColors::sm_penWindow},
        {COLOR_GRAYTEXT, CSysColors::sm_crGrayText, CSysColors::sm_penGrayText},
        {COLOR_BTNTEXT, CSysColors::sm_crBtnText, CSysColors::sm_penBtnText},
        {COLOR_APPWORKSPACE, CSysColors::sm_crAppWorkspace, CSysColors::sm_penAppWorkspace},
    };
    for (const auto& row : rows) {
        LOGPEN logPen {};
        row.pen.GetObject(sizeof logPen, &logPen);
        EXPECT_EQ(row.color, ::GetSysColor(row.index)) << row.index;
        EXPECT_EQ(std::tuple(logPen.lopnColor, logPen.lopnStyle, logPen.lopnWidth.x),
                  std::tuple(row.color, static_cast<UINT>(PS_SOLID), LONG(1))) << row.index;
    }

    // Update reads the system at most once a second.
    const COLORREF original = ::GetSysColor(COLOR_WINDOW);
    const COLORREF changed = original ^ 0x00204060;
    bool sameSecondChecked = false;
    for (int attempt = 0; attempt < 3 && !sameSecondChecked; ++attempt) {
        const DWORD second = NextSecond();
        CSysColors::Update();
        SetWindowColor(changed);
        CSysColors::Update();
        if (CurrentSecond() == second) {
            EXPECT_EQ(CachedWindowColours(), std::pair(original, original));
            sameSecondChecked = true;
        }
        if (!sameSecondChecked)
            SetWindowColor(original);
    }
    ASSERT_TRUE(sameSecondChecked);

    NextSecond();
    CSysColors::Update();
    EXPECT_EQ(CachedWindowColours(), std::pair(changed, changed));

    SetWindowColor(original);
    NextSecond();
    CSysColors::Update();
    EXPECT_EQ(CachedWindowColours(), std::pair(original, original));
}

TEST(ThemeUtil, BelowCommonControls6NoVisualStylesAreInUseThemeWrappersNeedThemeDataAndBlendingWrappersDraw)
{
    // This test program carries no manifest asking for common controls 6.
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("comctl32.dll"), "DllGetVersion")));
    ASSERT_NE(getVersion, nullptr);
    DLLVERSIONINFO info {};
    info.cbSize = sizeof info;
    ASSERT_EQ(getVersion(&info), S_OK);
    ASSERT_LE(info.dwMajorVersion, 5u);

    CThemeUtil theme;
    EXPECT_TRUE(CThemeUtil::IsWinXP());
    EXPECT_GE(CThemeUtil::GetWinVersion(), 0x50001u);
    EXPECT_TRUE(theme.IsThemeActive());
    EXPECT_FALSE(IsThemeInUse());

    // So the classic look asks for a sunken client edge.
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "Edge", WS_POPUP | WS_VISIBLE, TestFrameRect(), nullptr, 0));
    const CRect clientBefore = wnd.GetClientRect();
    AddOrRemoveClientEdge(wnd);
    EXPECT_TRUE(wnd.GetExStyle() & WS_EX_CLIENTEDGE);
    // The frame was recalculated: the edge takes room from the client area.
    EXPECT_LT(wnd.GetClientRect().Width(), clientBefore.Width());
    EXPECT_EQ(wnd.GetWindowRect(), TestFrameRect());

    // The theme wrappers need OpenThemeData; the blending wrappers draw.
    CClientDC screen(wnd);
    COLORREF color = RGB(1, 2, 3);
    int value = 17;
    CRect rect(0, 0, 20, 20);
    // No theme data open: nothing is called.
    EXPECT_FALSE(theme.GetThemeColor(1, 1, 3803 /* TMT_TEXTCOLOR */, &color));
    EXPECT_FALSE(theme.GetThemeInt(1, 1, 2401, &value));
    EXPECT_FALSE(theme.DrawThemeBackground(screen, 1, 1, &rect, nullptr));
    EXPECT_FALSE(theme.IsThemeBackgroundPartiallyTransparent(1, 1));
    EXPECT_EQ(theme.GetThemeSysSize(SM_CXVSCROLL), 0);
    EXPECT_FALSE(theme.CloseThemeData());
    EXPECT_EQ(color, RGB(1, 2, 3));
    EXPECT_EQ(value, 17);

    if (theme.OpenThemeData(wnd, L"BUTTON")) {
        EXPECT_NE(theme.GetThemeHandle(), nullptr);
        // Property readers report the call, whatever the answer.
        EXPECT_TRUE(theme.GetThemeColor(1, 1, 3803, &color));
        EXPECT_TRUE(theme.CloseThemeData());
        EXPECT_EQ(theme.GetThemeHandle(), nullptr);
        EXPECT_FALSE(theme.GetThemeColor(1, 1, 3803, &color));
    }

    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen, 100, 10));
    const CSelectScope selection(memory, bitmap);

    TRIVERTEX vertices[2] = {{0, 0, 0xFF00, 0, 0, 0}, {100, 10, 0, 0, 0xFF00, 0}};
    GRADIENT_RECT mesh {0, 1};
    EXPECT_TRUE(theme.GradientFill(memory, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_H));
    const COLORREF left = memory.GetPixel(0, 5);
    const COLORREF right = memory.GetPixel(99, 5);
    EXPECT_GT(GetRValue(left), 200);
    EXPECT_LT(GetBValue(left), 50);
    EXPECT_GT(GetBValue(right), 200);
    EXPECT_LT(GetRValue(right), 50);

    // The left half copied with red as the transparent colour: the red
    // pixels leave the target's white.
    screen.FillSolidRect(CRect(0, 0, 100, 10), RGB(255, 255, 255));
    memory.FillSolidRect(CRect(0, 0, 50, 10), RGB(255, 0, 0));
    memory.FillSolidRect(CRect(50, 0, 100, 10), RGB(0, 0, 255));
    EXPECT_TRUE(theme.TransparentBlt(screen, 0, 0, 100, 10, memory, 0, 0, 100, 10, RGB(255, 0, 0)));
    EXPECT_EQ(screen.GetPixel(10, 5), RGB(255, 255, 255));
    EXPECT_EQ(screen.GetPixel(80, 5), RGB(0, 0, 255));
}
