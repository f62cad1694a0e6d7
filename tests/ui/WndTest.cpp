#include "UiHarness.h"

#include "framework/win/Controls.h"
#include "framework/win/DC.h"
#include "framework/win/Wnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

using namespace orv::ui;

namespace {

const UINT kAskMessage = WM_APP + 1;

// Records the messages and handler calls it sees, and the notifications its
// children leave to it.
class CRecordingWnd : public CWnd {
public:
    std::vector<UINT> m_messages;
    std::vector<std::string> m_calls;
    std::vector<WPARAM> m_commands;
    CString m_createName;
    CSize m_lastSize;
    bool m_attachedAtFirstMessage = false;
    int m_ctlColors = 0;
    int m_draws = 0;

    BOOL Create(const char* title)
    {
        return CreateEx(0, nullptr, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, TestFrameRect(), nullptr, 0);
    }
    bool Saw(UINT message) const { return std::count(m_messages.begin(), m_messages.end(), message) > 0; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (m_messages.empty())
            m_attachedAtFirstMessage = FromHandlePermanent(m_hWnd) == this;
        m_messages.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int OnCreate(CREATESTRUCTA* cs) override
    {
        m_calls.push_back("OnCreate");
        m_createName = cs->lpszName;
        return CWnd::OnCreate(cs);
    }
    void OnSize(UINT type, int cx, int cy) override { m_lastSize = CSize(cx, cy), CWnd::OnSize(type, cx, cy); }
    void OnLButtonDown(UINT flags, CPoint point) override
    {
        m_calls.push_back("Recording::OnLButtonDown");
        CWnd::OnLButtonDown(flags, point);
    }
    void OnDestroy() override { m_calls.push_back("OnDestroy"), CWnd::OnDestroy(); }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        m_commands.push_back(wParam);
        return CWnd::OnCommand(wParam, lParam);
    }
    HBRUSH OnCtlColor(CDC* dc, HWND wnd, UINT type) override { return ++m_ctlColors, CWnd::OnCtlColor(dc, wnd, type); }
    void OnDrawItem(int id, DRAWITEMSTRUCT* item) override { ++m_draws, CWnd::OnDrawItem(id, item); }
};

// A second level that handles one message in its own switch and overrides a
// typed handler, chaining to the level below for everything else.
class CDerivedWnd : public CRecordingWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kAskMessage)
            return static_cast<LRESULT>(wParam) * 2;
        return CRecordingWnd::WindowProc(message, wParam, lParam);
    }
    void OnLButtonDown(UINT flags, CPoint point) override
    {
        m_calls.push_back("Derived::OnLButtonDown");
        CRecordingWnd::OnLButtonDown(flags, point);
    }
};

} // namespace

TEST(Wnd, CreateAttachesTheObjectBeforeTheFirstMessageChainsHandlersAndDetachesOnDestroy)
{
    HWND hWnd = nullptr;
    {
        CDerivedWnd wnd;
        ASSERT_TRUE(wnd.Create("Quotes"));
        hWnd = wnd.GetSafeHwnd();
        EXPECT_TRUE(wnd.m_attachedAtFirstMessage);
        // A top-level window gets messages before WM_NCCREATE and WM_CREATE;
        // the object saw them all.
        ASSERT_GE(wnd.m_messages.size(), 3u);
        EXPECT_NE(wnd.m_messages.front(), static_cast<UINT>(WM_CREATE));
        EXPECT_TRUE(wnd.Saw(WM_NCCREATE));
        EXPECT_EQ(wnd.m_createName, "Quotes");
        wnd.MoveWindow(CRect(10, 10, 310, 210));
        EXPECT_EQ(wnd.m_lastSize, wnd.GetClientRect().Size());
        EXPECT_FALSE(wnd.Create("again")); // one window per object

        EXPECT_EQ(wnd.SendMessage(kAskMessage, 21), 42);
        EXPECT_EQ(wnd.SendMessage(WM_APP + 2, 5, 6), 0); // nobody's: the default answer
        wnd.m_calls.clear();
        PostClick(wnd, CPoint(20, 20));
        ASSERT_TRUE(PumpUntil([&] { return wnd.m_calls.size() >= 2; }));
        EXPECT_EQ(wnd.m_calls, (std::vector<std::string> {"Derived::OnLButtonDown", "Recording::OnLButtonDown"}));

        EXPECT_TRUE(wnd.DestroyWindow());
        EXPECT_EQ(wnd.m_calls.back(), "OnDestroy");
        EXPECT_EQ(wnd.m_messages.back(), static_cast<UINT>(WM_NCDESTROY));
        ASSERT_TRUE(wnd.Create("Scoped"));
        hWnd = wnd.GetSafeHwnd();
    }
    EXPECT_FALSE(::IsWindow(hWnd)); // the destructor destroys a window still there
}

namespace {

// A button that may keep its notifications from its parent, and paints
// itself from the reflected WM_DRAWITEM.
class CReflectingButton : public CButton {
public:
    bool m_eatClicks = true;
    int m_reflectedClicks = 0;
    int m_reflectedNotifies = 0;
    int m_draws = 0;
    CBrush m_brush {RGB(0, 128, 0)};

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            ++m_reflectedClicks;
            return m_eatClicks ? TRUE : FALSE;
        }
        if (message == WM_CTLCOLORBTN) {
            *result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_brush));
            return TRUE;
        }
        if (message == WM_NOTIFY) {
            ++m_reflectedNotifies;
            *result = 77;
            return TRUE;
        }
        if (message == WM_DRAWITEM) {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            CDCHandle(item->hDC).FillSolidRect(item->rcItem, RGB(0, 0, 160));
            ++m_draws;
            *result = TRUE;
            return TRUE;
        }
        return CButton::OnChildNotify(message, wParam, lParam, result);
    }
};

} // namespace

TEST(Wnd, ChildNotificationsAreReflectedToTheChildObjectFirst)
{
    CRecordingWnd parent;
    ASSERT_TRUE(parent.Create("Reflection"));
    CReflectingButton button, drawn;
    ASSERT_TRUE(button.Create("Buy", WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 20, 120, 50), &parent, 55));
    ASSERT_TRUE(drawn.Create("", WS_VISIBLE | BS_OWNERDRAW, CRect(20, 60, 120, 90), &parent, 9));
    PumpPending();

    // A real click: the button notifies its parent, whose object hands the
    // notification to the button's object, which keeps it.
    ClickAt(button, CPoint(50, 15));
    ASSERT_TRUE(PumpUntil([&] { return button.m_reflectedClicks == 1; }));
    EXPECT_TRUE(parent.m_commands.empty());
    // Declined, the notification reaches the parent's own handler.
    button.m_eatClicks = false;
    button.Click();
    EXPECT_EQ(parent.m_commands, std::vector<WPARAM> {MAKEWPARAM(55, BN_CLICKED)});
    EXPECT_EQ(button.m_reflectedClicks, 2);

    // Colour requests, WM_NOTIFY and owner drawing take the child's answer.
    CClientDC dc(button);
    EXPECT_EQ(parent.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                                 reinterpret_cast<LPARAM>(button.GetSafeHwnd())),
              reinterpret_cast<LRESULT>(static_cast<HBRUSH>(button.m_brush)));
    EXPECT_EQ(parent.m_ctlColors, 0);
    NMHDR header {button, 55, NM_CLICK};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 55, reinterpret_cast<LPARAM>(&header)), 77);
    EXPECT_EQ(button.m_reflectedNotifies, 1);
    drawn.UpdateWindow();
    ASSERT_TRUE(PumpUntil([&] { return drawn.m_draws > 0; }));
    EXPECT_EQ(parent.m_draws, 0);
    EXPECT_EQ(CClientDC(drawn).GetPixel(50, 15), RGB(0, 0, 160));

    // A menu command (no control window) is never reflected.
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(900, 0), 0);
    EXPECT_EQ(parent.m_commands.back(), MAKEWPARAM(900, 0));
    SaveScreenshot(parent, "WndReflection");
}

namespace {

// Deletes itself when its window is gone; destroys its window from its own
// mouse handler and keeps working on its members afterwards.
class CSelfDeletingWnd : public CWnd {
public:
    CSelfDeletingWnd(int* deletions, bool* handlerFinishedFirst, bool failCreate = false)
        : m_deletions(deletions), m_handlerFinishedFirst(handlerFinishedFirst), m_failCreate(failCreate)
    {
    }
    ~CSelfDeletingWnd() override { ++*m_deletions, *m_handlerFinishedFirst = m_handlerFinished; }

protected:
    int OnCreate(CREATESTRUCTA* cs) override { return m_failCreate ? -1 : CWnd::OnCreate(cs); }
    void OnLButtonDown(UINT, CPoint) override
    {
        DestroyWindow();
        m_handlerFinished = GetSafeHwnd() == nullptr;
    }
    void PostNcDestroy() override { delete this; }

private:
    int* m_deletions;
    bool* m_handlerFinishedFirst;
    bool m_failCreate;
    bool m_handlerFinished = false;
};

// Raises from its handler of one message, or from PreSubclassWindow.
class CRaisingWnd : public CWnd {
public:
    explicit CRaisingWnd(UINT message) : m_message(message) {}

protected:
    void PreSubclassWindow() override
    {
        if (m_message == 0)
            throw std::runtime_error("PreSubclassWindow failed");
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == m_message)
            throw std::runtime_error("handler failed");
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    UINT m_message;
};

} // namespace

TEST(Wnd, SelfDeletingWindowIsDeletedAfterTheHandlerThatDestroyedIt)
{
    int deletions = 0;
    bool handlerFinishedFirst = false;
    auto* wnd = new CSelfDeletingWnd(&deletions, &handlerFinishedFirst);
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, "Self", WS_OVERLAPPEDWINDOW | WS_VISIBLE, TestFrameRect(), nullptr, 0));
    HWND hWnd = wnd->GetSafeHwnd();
    PostClick(hWnd, CPoint(10, 10));
    ASSERT_TRUE(PumpUntil([&] { return deletions > 0; }));
    EXPECT_EQ(deletions, 1);
    EXPECT_TRUE(handlerFinishedFirst);
    EXPECT_FALSE(::IsWindow(hWnd));

    // Destroyed from outside, it goes at once.
    wnd = new CSelfDeletingWnd(&deletions, &handlerFinishedFirst);
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, "Self", WS_OVERLAPPEDWINDOW, TestFrameRect(), nullptr, 0));
    ::DestroyWindow(wnd->GetSafeHwnd());
    EXPECT_EQ(deletions, 2);

    // A window that fails while being made is deleted once, after the
    // creation call has returned.
    wnd = new CSelfDeletingWnd(&deletions, &handlerFinishedFirst, true);
    EXPECT_FALSE(wnd->CreateEx(0, nullptr, "Fails", WS_OVERLAPPEDWINDOW, TestFrameRect(), nullptr, 0));
    EXPECT_EQ(deletions, 3);
}

TEST(Wnd, ExceptionFromACreationHandlerFailsTheCreationAndLeavesCreateEx)
{
    const struct {
        UINT message;
        const char* raised;
    } cases[] = {{WM_NCCREATE, "handler failed"}, {WM_CREATE, "handler failed"}, {0, "PreSubclassWindow failed"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        CRaisingWnd wnd(c.message);
        EXPECT_EQ(RaisedBy([&] { wnd.CreateEx(0, nullptr, "Raises", WS_POPUP | WS_VISIBLE, TestFrameRect(), nullptr, 0); }),
                  c.raised);
        EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
        EXPECT_EQ(::FindWindowA(nullptr, "Raises"), nullptr); // no window left behind
    }
}

namespace {

// An edit that refuses digits.
class CLettersEdit : public CEdit {
public:
    int m_preSubclassCalls = 0;

protected:
    void PreSubclassWindow() override { ++m_preSubclassCalls; }
    void OnChar(UINT ch, UINT repeat, UINT flags) override
    {
        if (ch < '0' || ch > '9')
            CEdit::OnChar(ch, repeat, flags);
    }
};

} // namespace

TEST(Wnd, SubclassingTakesAndGivesBackAWindowsMessagesAndEndsWithTheWindow)
{
    CRecordingWnd frame;
    ASSERT_TRUE(frame.Create("Subclass"));
    HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24, frame, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(edit, nullptr);

    CLettersEdit letters, other;
    ASSERT_TRUE(letters.SubclassWindow(edit));
    EXPECT_EQ(letters.m_preSubclassCalls, 1);
    EXPECT_FALSE(other.SubclassWindow(edit));
    EXPECT_FALSE(other.Attach(edit));
    for (char ch : {'a', '1', 'b'})
        ::SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(ch), 1);
    EXPECT_EQ(letters.GetWindowText(), "ab");

    EXPECT_EQ(letters.UnsubclassWindow(), edit);
    ::SendMessageA(edit, WM_CHAR, '2', 1);
    EXPECT_EQ(ReadWindowText(edit), "ab2");

    // Attach only names the window: its messages stay with it.
    ASSERT_TRUE(other.Attach(edit));
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), &other);
    ::SendMessageA(edit, WM_CHAR, '3', 1);
    EXPECT_EQ(other.GetWindowText(), "ab23");
    EXPECT_EQ(other.Detach(), edit);
    EXPECT_TRUE(::IsWindow(edit)); // detached, not destroyed
    ::DestroyWindow(edit);

    // A control made through Create is subclassed too, and detached when its
    // parent destroys it.
    CLettersEdit child;
    ASSERT_TRUE(child.Create(WS_VISIBLE | WS_BORDER, CRect(10, 10, 200, 34), &frame, 12));
    EXPECT_EQ(child.m_preSubclassCalls, 1);
    EXPECT_EQ(frame.GetDlgItem(12), child.GetSafeHwnd());
    frame.DestroyWindow();
    EXPECT_EQ(child.GetSafeHwnd(), nullptr);
}
