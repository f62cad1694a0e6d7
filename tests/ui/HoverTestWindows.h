// Windows shared by the hover control tests: a frame that records the
// notifications its children send, and an edit that serves as a spin's buddy
// with a value between limits.
#pragma once

#include "UiHarness.h"

#include "controls/win/HoverEdit.h"
#include "controls/win/HoverSpin.h"
#include "controls/win/SysColors.h"
#include "framework/win/DC.h"
#include "framework/win/RegisteredMessages.h"
#include "framework/win/Wnd.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace orv::ui {

struct Notice {
    UINT message;
    UINT code;
    UINT id;
    HWND from;
    RECT rect;
    CString text; // the sender's text when the notice arrived
};

class CNoticeFrame : public CWnd {
public:
    std::vector<Notice> m_notices;
    // Called while a drop-down notification is being handled.
    std::function<void(const Notice&)> m_onDropDown;

    BOOL Create(const char* title)
    {
        return CreateEx(0, nullptr, title, WS_POPUP | WS_BORDER | WS_VISIBLE | WS_CLIPCHILDREN, TestFrameRect(),
                        nullptr, 0);
    }
    size_t Count(UINT message, UINT code) const
    {
        return std::count_if(m_notices.begin(), m_notices.end(),
                             [&](const Notice& notice) { return notice.message == message && notice.code == code; });
    }
    const Notice* Last(UINT message, UINT code) const
    {
        const auto it = std::find_if(m_notices.rbegin(), m_notices.rend(), [&](const Notice& notice) {
            return notice.message == message && notice.code == code;
        });
        return it != m_notices.rend() ? &*it : nullptr;
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        HWND from = reinterpret_cast<HWND>(lParam);
        m_notices.push_back({WM_COMMAND, HIWORD(wParam), LOWORD(wParam), from, {}, ReadWindowText(from)});
        return TRUE;
    }
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override
    {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        Notice notice {WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom), header->hwndFrom, {}, {}};
        const bool dropDown = header->code == static_cast<UINT>(-1248);
        if (dropDown)
            notice.rect = *reinterpret_cast<const RECT*>(header + 1);
        m_notices.push_back(notice);
        if (dropDown && m_onDropDown)
            m_onDropDown(notice);
        *result = 0;
        return TRUE;
    }
    void OnContextMenu(HWND wnd, CPoint point) override
    {
        m_notices.push_back({WM_CONTEXTMENU, 0, 0, wnd, {point.x, point.y, point.x, point.y}, {}});
    }
};

// A window of the class that counts its paints.
template <class TWnd>
class Counted : public TWnd {
public:
    int m_paints = 0;

protected:
    void OnPaint() override
    {
        ++m_paints;
        TWnd::OnPaint();
    }
};

// The parts of a combo box: its edit field and its list.
inline COMBOBOXINFO ComboInfo(HWND combo)
{
    COMBOBOXINFO info {};
    info.cbSize = sizeof info;
    ::GetComboBoxInfo(combo, &info);
    return info;
}

// A test with a visible frame of the title, the system colours read, and the
// mouse parked away from the test windows before and after. The test's
// controls are made in the frame once it is up, and what they post at once is
// dispatched before the test runs.
template <class TFrame = CNoticeFrame>
class FrameTest : public ::testing::Test {
protected:
    explicit FrameTest(const char* title = "Test frame") : m_title(title) {}
    void SetUp() override
    {
        MouseAway();
        CSysColors::Update();
        ASSERT_TRUE(m_frame.Create(m_title));
        MakeControls();
        PumpPending();
    }
    void TearDown() override { MouseAway(); }
    virtual void MakeControls() {}

    const char* m_title;
    TFrame m_frame;
};

// An edit holding a whole number between limits, stepped by its spin.
class CStepEdit : public CNimHoverEdit, public INimSpinBuddy {
public:
    int m_value = 0;
    int m_minimum = 0;
    int m_maximum = 100;
    std::vector<int> m_steps;
    HWND m_spin = nullptr;            // answered to RWM_ORV_GETBUDDY

    void ChangeAmount(int steps) override
    {
        m_steps.push_back(steps);
        m_value += steps;
    }
    BOOL CanIncrement() override { return m_value < m_maximum; }
    BOOL CanDecrement() override { return m_value > m_minimum; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == RWM_ORV_GETBUDDY && message != 0)
            return reinterpret_cast<LRESULT>(m_spin);
        return CNimHoverEdit::WindowProc(message, wParam, lParam);
    }
};

// The number of pixels of the colour in each row of the client rectangle
// that has any.
inline std::vector<int> RowCounts(HWND wnd, const CRect& rect, COLORREF color)
{
    std::vector<int> rows;
    CClientDC dc(wnd);
    for (int y = rect.top; y < rect.bottom; ++y) {
        int count = 0;
        for (int x = rect.left; x < rect.right; ++x)
            count += dc.GetPixel(x, y) == color ? 1 : 0;
        if (count > 0)
            rows.push_back(count);
    }
    return rows;
}

// Screen pixel of the window at a point of its window rectangle.
inline COLORREF WindowPixel(HWND wnd, int x, int y)
{
    return CWindowDC(wnd).GetPixel(x, y);
}

} // namespace orv::ui
