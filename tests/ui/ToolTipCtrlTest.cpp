#include "HoverTestWindows.h"
#include "ToolTipProbe.h"

#include "controls/win/ToolTipCtrl.h"
#include "platform/ModuleState.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace orv::ui;

namespace {

// Keeps a copy of every tool record the control is sent.
class CRecordingToolTip : public CNimToolTipCtrl {
public:
    std::vector<TOOLINFOA> m_added;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == TTM_ADDTOOLA)
            m_added.push_back(*reinterpret_cast<const TOOLINFOA*>(lParam));
        return CNimToolTipCtrl::WindowProc(message, wParam, lParam);
    }
};

class ToolTipCtrl : public FrameTest<> {
protected:
    void MakeControls() override
    {
        ASSERT_TRUE(m_button.Create("Buy", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 20, 120, 50), &m_frame, 1));
    }

    CButton m_button;
};

} // namespace

// The control watches the mouse itself: nobody relays mouse messages here.
TEST_F(ToolTipCtrl, WindowAndRectangleToolsShowTheirTextUnderTheMouseAndAreAddedWithOnlyTheNamedFields)
{
    CNimToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&m_frame));
    EXPECT_NE(tip.AddWindowTool(&m_button, "Buy at the ask"), 0);
    EXPECT_NE(tip.AddRectTool(&m_frame, "Bid side", CRect(0, 100, 200, 300), 1), 0);
    EXPECT_NE(tip.AddRectTool(nullptr, "Ask side", CRect(200, 100, 400, 300), 2), 0);
    const struct {
        HWND wnd;
        POINT point;
        const char* text;
        const char* screenshot;
    } stops[] = {{m_button, {30, 12}, "Buy at the ask", "ToolTipCtrl-window-tool"},
                 {m_frame, {100, 200}, "Bid side", "ToolTipCtrl-rect-tool-1"},
                 {m_frame, {300, 200}, "Ask side", "ToolTipCtrl-rect-tool-2"}};
    for (const auto& stop : stops) {
        MouseAway();
        ASSERT_TRUE(PumpUntil([] { return FindToolTip() == nullptr; }));
        MoveMouseTo(stop.wnd, stop.point);
        ASSERT_TRUE(PumpUntil([&] { return ShownToolTipText() == stop.text; })) << stop.text;
        SaveScreenshot(FindToolTip(), stop.screenshot);
    }

    // The record has the structure's size, the owner and only the named fields.
    CRecordingToolTip owned, alone;
    ASSERT_TRUE(owned.Create(&m_frame) && alone.Create(nullptr));
    const char* const fromResource = MAKEINTRESOURCEA(7);
    owned.AddWindowTool(&m_button, "window");
    owned.AddWindowTool(nullptr, fromResource);
    owned.AddRectTool(&m_button, "rect", CRect(1, 2, 3, 4), 9);
    EXPECT_NE(alone.AddRectTool(nullptr, "alone", CRect(5, 6, 7, 8), 3), 0);
    EXPECT_EQ(alone.GetToolCount(), 1);
    owned.m_added.push_back(alone.m_added.at(0));
    const struct { UINT flags; HWND owner; UINT_PTR id; CRect rect; const char* text; } wants[] = {
        {17, m_frame, reinterpret_cast<UINT_PTR>(m_button.GetSafeHwnd()), CRect(), "window"},
        {17, m_frame, 0, CRect(), fromResource},
        {16, m_frame, 9, CRect(1, 2, 3, 4), "rect"},
        {16, nullptr, 3, CRect(5, 6, 7, 8), "alone"},
    };
    ASSERT_EQ(owned.m_added.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const TOOLINFOA& got = owned.m_added[i];
        // The whole structure of this build (48 bytes for 32-bit code, 72 for
        // 64-bit), and the caller's text passed on as it is.
        EXPECT_EQ(std::tuple(got.cbSize, got.uFlags, got.hwnd, got.uId, CRect(got.rect), got.hinst,
                             static_cast<const void*>(got.lpszText), got.lParam),
                  std::tuple(sizeof(void*) == 8 ? 72u : 48u, wants[i].flags, wants[i].owner, wants[i].id, wants[i].rect,
                             AfxGetResourceHandle(), static_cast<const void*>(wants[i].text), LPARAM(0)))
            << i;
    }
}
