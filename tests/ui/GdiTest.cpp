#include "HoverTestWindows.h"
#include "UiTestResources.h"

#include "framework/win/DC.h"
#include "framework/win/Gdi.h"
#include "framework/win/Menu.h"
#include "framework/win/Wnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace orv::ui;

namespace {

// Paints a price panel off-screen and copies it in one step.
class CPricePanel : public CWnd {
protected:
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    void OnPaint() override
    {
        CPaintDC paint(m_hWnd);
        const CRect client = GetClientRect();
        CMemDC dc(paint, client);
        dc.FillSolidRect(client, RGB(16, 32, 64));
        CRect band(10, 10, client.right - 10, 40);
        dc.Draw3dRect(band, RGB(255, 255, 255), RGB(96, 96, 96));
        CPen pen(PS_SOLID, 2, RGB(0, 200, 0));
        CFont font;
        font.CreatePointFont(100, "Tahoma");
        const CSelectScope penSelection(dc, pen), fontSelection(dc, font);
        dc.MoveTo(10, 90);
        dc.LineTo(80, 60);
        dc.LineTo(150, 75);
        dc.LineTo(client.right - 10, 50);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(255, 255, 0));
        CRect textRect = band;
        dc.DrawText(CString("IBM 141.25 +1.10"), &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.FillSolidRect(CRect(10, 100, 60, 130), RGB(200, 0, 0));
    }
};

} // namespace

TEST(Gdi, OwningObjectsDeleteTheirHandleBorrowingOnesNeverAndResourcesLoadFromTheResourceModule)
{
    // Borrowed: a pen and a DC outlive their handle objects, and select
    // scopes put back the objects they replaced.
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
    CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
    const HGDIOBJ originalPen = ::GetCurrentObject(memory, OBJ_PEN);
    {
        const CPenHandle borrowedPen(blue);
        const CDCHandle borrowedDC(memory);
        CPen red(PS_SOLID, 1, RGB(255, 0, 0));
        const CSelectScope outer(borrowedDC, red), inner(borrowedDC, borrowedPen);
        EXPECT_EQ(::GetCurrentObject(memory, OBJ_PEN), blue.GetSafeHandle());
    }
    EXPECT_EQ(::GetCurrentObject(memory, OBJ_PEN), originalPen);
    EXPECT_EQ(::GetObjectType(blue.GetSafeHandle()), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(::GetObjectType(memory.GetSafeHdc()), static_cast<DWORD>(OBJ_MEMDC));

    CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
    HGDIOBJ first = pen.GetSafeHandle();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(pen.CreatePen(PS_DASH, 1, RGB(4, 5, 6)));
    EXPECT_EQ(::GetObjectType(first), 0u); // replaced, so deleted
    HGDIOBJ second = pen.Detach();
    EXPECT_TRUE(pen.IsNull());
    EXPECT_EQ(::GetObjectType(second), static_cast<DWORD>(OBJ_PEN));

    CBrush brush;
    EXPECT_FALSE(brush.Attach(nullptr));
    HBRUSH made = ::CreateSolidBrush(RGB(7, 8, 9));
    {
        CBrush owner;
        ASSERT_TRUE(owner.Attach(made));
        ASSERT_TRUE(owner.Attach(second)); // deletes the brush it held
        EXPECT_EQ(::GetObjectType(made), 0u);
    }
    EXPECT_EQ(::GetObjectType(second), 0u); // deleted with its owner

    CRgn left;
    CRgn right;
    CRgn both;
    left.CreateRectRgn(0, 0, 10, 10);
    right.CreateRectRgn(20, 0, 30, 10);
    EXPECT_EQ(both.CombineRgn(&left, &right, RGN_OR), ERROR); // must exist first
    both.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(both.CombineRgn(&left, &right, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(both.PtInRegion(5, 5));
    EXPECT_FALSE(both.PtInRegion(15, 5));
    CRect box;
    both.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 30, 10));

    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, "Tahoma"));
    LOGFONTA logFont {};
    ASSERT_TRUE(font.GetLogFont(&logFont));
    EXPECT_LT(logFont.lfHeight, 0);
    EXPECT_STREQ(logFont.lfFaceName, "Tahoma");

    CBitmap bitmap;
    EXPECT_FALSE(bitmap.LoadBitmap(4242u));

    // Menus load from the resource module.
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDM_TEST_MENU));
    HMENU file = menu.GetSubMenu(0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(::GetMenuItemCount(file), 3);
    EXPECT_EQ(::GetMenuItemID(file, 2), static_cast<UINT>(ID_TEST_SECOND));
    CString text;
    EXPECT_EQ(menu.GetMenuString(0, text, MF_BYPOSITION), 5);
    EXPECT_EQ(text, "&File");
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(4242));
    EXPECT_EQ(missing.GetSafeHmenu(), nullptr);
}

TEST(Gdi, MemoryDcDrawsOffScreenAndCopiesWhenItGoesAndAPaintedPanelReachesTheScreen)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "Memory", WS_POPUP | WS_VISIBLE, TestFrameRect(), nullptr, 0));
    CClientDC dc(wnd);
    dc.FillSolidRect(wnd.GetClientRect(), RGB(255, 255, 255));
    {
        CMemDC memory(dc, CRect(20, 20, 120, 70));
        memory.FillSolidRect(CRect(20, 20, 120, 70), RGB(0, 0, 255));
        memory.FillSolidRect(CRect(30, 30, 40, 40), RGB(255, 0, 0));
        EXPECT_EQ(dc.GetPixel(35, 35), RGB(255, 255, 255)); // not yet on screen
        EXPECT_EQ(memory.GetPixel(35, 35), RGB(255, 0, 0)); // same coordinates as the target
    }
    EXPECT_EQ(dc.GetPixel(35, 35), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(100, 60), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(10, 10), RGB(255, 255, 255)); // outside the rectangle
    EXPECT_EQ(dc.GetPixel(120, 70), RGB(255, 255, 255));

    // A panel that paints through one reaches the screen.
    Counted<CPricePanel> panel;
    ASSERT_TRUE(panel.CreateEx(0, nullptr, "Panel", WS_POPUP | WS_VISIBLE | WS_BORDER, CRect(60, 60, 320, 200),
                               nullptr, 0));
    panel.UpdateWindow();
    ASSERT_TRUE(PumpUntil([&] { return panel.m_paints > 0; }));
    CClientDC panelDC(panel);
    EXPECT_EQ(panelDC.GetPixel(30, 110), RGB(200, 0, 0));
    EXPECT_EQ(panelDC.GetPixel(5, 5), RGB(16, 32, 64));
    EXPECT_EQ(panelDC.GetPixel(10, 10), RGB(255, 255, 255)); // the band's top-left edge
    EXPECT_FALSE(SaveScreenshot(panel, "GdiPricePanel").empty());
}

TEST(Gdi, HandleCounterSeesObjectsComeAndGo)
{
    // While the thread has a top-level window, the system keeps its helper
    // windows (an input-method window) for it, so they stay out of the sums.
    CWnd anchor;
    anchor.CreateEx(0, nullptr, "Anchor", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0);
    const GuiCounts before = CountGuiHandles();
    {
        std::vector<std::unique_ptr<CPen>> pens;
        for (int i = 0; i < 10; ++i)
            pens.push_back(std::make_unique<CPen>(PS_SOLID, 1, RGB(i, 0, 0)));
        std::vector<std::unique_ptr<CWnd>> windows;
        for (int i = 0; i < 5; ++i) {
            windows.push_back(std::make_unique<CWnd>());
            windows.back()->CreateEx(0, nullptr, "Count", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0);
        }
        CMenu menu;
        menu.CreatePopupMenu();
        const GuiCounts during = CountGuiHandles();
        EXPECT_EQ(during.gdi, before.gdi + 10);
        EXPECT_EQ(during.user, before.user + 6);
    }
    const GuiCounts after = CountGuiHandles();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}
