#include "HoverTestWindows.h"
#include "UiTestResources.h"

#include "controls/win/BalloonHelp.h"
#include "controls/win/WindowWrappers.h"
#include "framework/win/DC.h"
#include "framework/win/Dialog.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace orv::ui;

namespace {

using B = CBalloonHelp;

// Open for the whole wait: nothing closes the window within it.
bool StaysOpen(HWND wnd, DWORD waitMs = 300)
{
    return !WaitGone(wnd, waitMs);
}

bool InRegion(HWND wnd, int x, int y)
{
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const bool inside = ::GetWindowRgn(wnd, region) != ERROR && ::PtInRegion(region, x, y);
    ::DeleteObject(region);
    return inside;
}

class Balloon : public FrameTest<> {
protected:
    Balloon() : FrameTest("Balloons") {}

    // A balloon at the anchor (screen) with the information icon, closed only
    // by the options given and the time-out, when there is one.
    void Open(B& balloon, unsigned int options, CPoint anchor = CPoint(300, 200), unsigned int timeout = 0)
    {
        ASSERT_TRUE(balloon.Create("Order rejected", "The limit price is below the bid.", anchor,
                                   options | B::unDISABLE_FADE, nullptr, "", timeout, m_icon));
        PumpPending();
        ASSERT_TRUE(balloon.IsWindowVisible());
    }

    // The system's information icon, shared: the system keeps it.
    const HICON m_icon = static_cast<HICON>(::LoadImageA(nullptr, IDI_INFORMATION, IMAGE_ICON, 16, 16, LR_SHARED));
};

// The recording stand-in for the window animation: the window and
// "<time>:<flags>" of each call; it shows or hides the window.
std::vector<HWND> g_fadeWindows;
std::vector<std::string> g_fades;

BOOL WINAPI RecordFade(HWND wnd, DWORD time, DWORD flags)
{
    g_fadeWindows.push_back(wnd);
    g_fades.push_back(std::to_string(time) + ":" + std::to_string(flags));
    return ::ShowWindow(wnd, flags & AW_HIDE ? SW_HIDE : SW_SHOWNA);
}

void SetMenuFades(BOOL animation, BOOL fade)
{
    ::SystemParametersInfoA(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(static_cast<UINT_PTR>(animation)), 0);
    ::SystemParametersInfoA(SPI_SETMENUFADE, 0, reinterpret_cast<void*>(static_cast<UINT_PTR>(fade)), 0);
}

} // namespace

// Each quarter of the work area gives its quadrant: upper anchors open below
// with the tail on top, lower ones above with the tail at the bottom; the tip
// lies on the anchor.
TEST_F(Balloon, EachQuadrantPutsBodyAndTailOnTheSideAwayFromTheNearEdges)
{
    CRect work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int qx = work.Width() / 4, qy = work.Height() / 4;
    const struct { CPoint anchor; int quadrant; const char* shot; } cases[] = {
        {{work.left + 3 * qx, work.top + qy}, 0, "Balloon-quadrant0"},
        {{work.left + qx, work.top + qy}, 1, "Balloon-quadrant1"},
        {{work.left + 3 * qx, work.top + 3 * qy}, 2, "Balloon-quadrant2"},
        {{work.left + qx, work.top + 3 * qy}, 3, "Balloon-quadrant3"},
    };
    for (const auto& c : cases) {
        B balloon;
        ASSERT_TRUE(balloon.Create("Order rejected", "The limit price is below the bid.\nCheck the ticket.",
                                   c.anchor, B::unSHOW_CLOSE_BUTTON | B::unSHOW_INNER_SHADOW | B::unDISABLE_FADE,
                                   nullptr, "http://example.invalid/help", 0, m_icon));
        PumpPending();
        EXPECT_EQ(balloon.GetQuadrant(), c.quadrant);
        const CRect window = balloon.GetWindowRect();
        const CPoint tip(c.anchor.x - window.left, c.anchor.y - window.top);
        const bool below = c.quadrant < 2;
        // 20-pixel tail: the tip 1 pixel inside the top or 2 above the bottom.
        EXPECT_EQ(tip.y, below ? 1 : window.Height() - 2) << c.quadrant;
        // Just inside the tip (the region leaves out a polygon's right edge).
        const int inward = c.quadrant == 0 || c.quadrant == 2 ? -1 : 1;
        EXPECT_TRUE(InRegion(balloon, tip.x + inward, tip.y + (below ? 3 : -3))) << c.quadrant;
        // Beside the tail, the tail's band is outside the window's region.
        EXPECT_FALSE(InRegion(balloon, 2, below ? 2 : window.Height() - 3)) << c.quadrant;
        EXPECT_TRUE(InRegion(balloon, window.Width() / 2, below ? window.Height() - 5 : 5)) << c.quadrant;
        EXPECT_FALSE(SaveScreenshot(balloon, c.shot).empty());
    }
}

TEST_F(Balloon, WindowClassHasTheDropShadowUnlessItIsDisabled)
{
    B plain, shadowed;
    Open(plain, B::unDISABLE_XP_SHADOW, CPoint(300, 200));
    Open(shadowed, 0, CPoint(300, 300));
    for (const B* balloon : {&plain, &shadowed}) {
        const auto style = static_cast<UINT>(::GetClassLongPtrA(*balloon, GCL_STYLE));
        EXPECT_STREQ(CWindowClass(*balloon), balloon == &plain ? "BalloonHelpClass" : "BalloonHelpClassDS");
        EXPECT_EQ(style & (CS_DBLCLKS | CS_SAVEBITS | CS_DROPSHADOW),
                  static_cast<UINT>(CS_DBLCLKS | CS_SAVEBITS | (balloon == &plain ? 0 : CS_DROPSHADOW)));
    }
}

// With tolerance 3 a move of 3 pixels keeps the balloon, one of 4 closes it;
// the low-level hooks see SendInput's moves.
TEST_F(Balloon, MouseMoveBeyondTheToleranceCloses)
{
    const CPoint start(500, 400);
    ASSERT_TRUE(CursorTo(start));
    for (const CPoint& move : {CPoint(3, 0), CPoint(-3, -3)}) {
        B balloon;
        balloon.SetMouseMoveTolerance(3);
        Open(balloon, B::unCLOSE_ON_MOUSE_MOVE);
        ASSERT_TRUE(CursorTo(start + move));
        EXPECT_TRUE(StaysOpen(balloon)) << move.x << "," << move.y;
        MoveMouseTo(nullptr, start + CPoint(move.x * 4 / 3, move.y * 4 / 3));
        EXPECT_TRUE(WaitGone(balloon)) << move.x << "," << move.y;
        ASSERT_TRUE(CursorTo(start));
    }
    // Without a tolerance of its own, a balloon takes the system's hover
    // width, or 3 when the system has none.
    UINT hover = 0;
    ::SystemParametersInfoA(SPI_GETMOUSEHOVERWIDTH, 0, &hover, 0);
    EXPECT_EQ(B().GetMouseMoveTolerance(), hover > 0 ? static_cast<int>(hover) : 3);
}

// Each button action closes the balloon whose option names it and leaves one
// without that option open; a key release alone closes nothing.
TEST_F(Balloon, ButtonsKeysAndTheCloseButtonCloseOnlyWhenAskedAndADelayedCloseWaits)
{
    // `family` is every option of the same button (or the keys).
    const struct { unsigned int option, family; DWORD press, release; WORD key; } cases[] = {
        {B::unCLOSE_ON_LBUTTON_DOWN, 0x9, MOUSEEVENTF_LEFTDOWN, 0, 0},
        {B::unCLOSE_ON_LBUTTON_UP, 0x9, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0},
        {B::unCLOSE_ON_RBUTTON_DOWN, 0x24, MOUSEEVENTF_RIGHTDOWN, 0, 0},
        {B::unCLOSE_ON_RBUTTON_UP, 0x24, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0},
        {B::unCLOSE_ON_MBUTTON_DOWN, 0x12, MOUSEEVENTF_MIDDLEDOWN, 0, 0},
        {B::unCLOSE_ON_MBUTTON_UP, 0x12, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0},
        {B::unCLOSE_ON_KEYPRESS, 0x80, 0, 0, VK_SHIFT},
    };
    // Presses land on the test frame, away from the balloons: a button (or a
    // key) goes down or up through the system's input, where the cursor is.
    MoveMouseTo(m_frame, CPoint(20, 20));
    PumpPending();
    for (const auto& c : cases) {
        B target, other;
        Open(target, c.option, CPoint(300, 200));
        Open(other, B::unCLOSE_ON_ANYTHING & ~c.family & ~B::unCLOSE_ON_MOUSE_MOVE, CPoint(300, 300));
        if (c.key != 0) {
            ::keybd_event(static_cast<BYTE>(c.key), 0, KEYEVENTF_KEYUP, 0);
            EXPECT_TRUE(StaysOpen(target)) << "key release";
            PressKey(c.key);
        } else {
            ::mouse_event(c.press, 0, 0, 0, 0);
            // The button-up balloons hold the capture until the release.
            if (c.release != 0) {
                EXPECT_TRUE(StaysOpen(target)) << c.option;
                ::mouse_event(c.release, 0, 0, 0, 0);
            } else {
                ::mouse_event(c.press << 1, 0, 0, 0, 0);
            }
        }
        EXPECT_TRUE(WaitGone(target)) << c.option;
        // The other balloon closes on everything but this button (or the
        // keys); it has seen the action by the time the target is gone.
        EXPECT_TRUE(::IsWindow(other)) << c.option;
    }

    // The close button closes on a release over it.
    B balloon;
    Open(balloon, B::unSHOW_CLOSE_BUTTON);
    const CPoint centre = balloon.GetCloseRect().CenterPoint();
    // Pressed over it and released elsewhere: the balloon stays.
    MouseButtonAt(balloon, centre, true);
    MoveMouseTo(balloon, CPoint(centre.x - 40, centre.y + 20));
    MouseButtonAt(balloon, CPoint(centre.x - 40, centre.y + 20), false);
    EXPECT_TRUE(StaysOpen(balloon));
    ClickAt(balloon, centre);
    EXPECT_TRUE(WaitGone(balloon));

    // The first close request of a delayed balloon only starts its time-out.
    B delayed;
    Open(delayed, B::unCLOSE_ON_KEYPRESS | B::unDELAY_CLOSE, CPoint(300, 200), 700);
    EXPECT_FALSE(::KillTimer(delayed, 1)); // no time-out yet
    PressKey(VK_SHIFT);
    ASSERT_TRUE(PumpUntil([&] { return !(delayed.GetOptions() & B::unDELAY_CLOSE); }));
    EXPECT_EQ(delayed.GetOptions() & B::unCLOSE_ON_ANYTHING, 0u);
    PressKey(VK_SHIFT);
    EXPECT_TRUE(StaysOpen(delayed, 200));
    EXPECT_TRUE(WaitGone(delayed));
}

// A click on the content opens the URL with the shell: the test registers
// a URL scheme whose open command writes the URL it was given to a file.
TEST_F(Balloon, ClickOnTheContentOpensTheLinkAndCloses)
{
    const orv_test::ScratchFolder folder("balloon");
    const std::string record = (folder / "url.txt").string();
    const std::string command = "cmd.exe /c echo %1> \"" + record + "\"";
    // Wine's shell finds URL schemes in the machine's classes only.
    RegistryKeysGone scheme(HKEY_CLASSES_ROOT, {"orvballoon"});
    ASSERT_EQ(::RegSetKeyValueA(HKEY_CLASSES_ROOT, "orvballoon\\shell\\open\\command", nullptr, REG_SZ,
                                command.c_str(), static_cast<DWORD>(command.size() + 1)), ERROR_SUCCESS);
    ::RegSetKeyValueA(HKEY_CLASSES_ROOT, "orvballoon", "URL Protocol", REG_SZ, "", 1);

    B balloon;
    ASSERT_TRUE(balloon.Create("Help", "Read about limit orders", CPoint(300, 200), B::unDISABLE_FADE, nullptr,
                               "orvballoon:limit-orders"));
    PumpPending();
    const CRect inner = balloon.GetInnerRect();
    ClickAt(balloon, CPoint(inner.left + 10, inner.bottom - 4));
    EXPECT_TRUE(WaitGone(balloon));
    std::string text;
    PumpUntil([&] { return (text = orv_test::ReadFile(record)).find('\n') != std::string::npos; }, 15000);
    EXPECT_EQ(text.substr(0, text.find_first_of("\r\n")), "orvballoon:limit-orders");
}


// Wine shows and hides without fading, so the fades are checked at the
// window animation call: 200 ms blends in and out, none when disabled or
// when the system does not fade menus.
TEST_F(Balloon, FadesInAndOutThroughTheWindowAnimation)
{
    BOOL animation = FALSE, fade = FALSE;
    ::SystemParametersInfoA(SPI_GETMENUANIMATION, 0, &animation, 0);
    ::SystemParametersInfoA(SPI_GETMENUFADE, 0, &fade, 0);
    const B::AnimateWindowFn previous = B::SetAnimateWindowForTesting(RecordFade);
    // AW_BLEND is 0x80000, AW_HIDE 0x10000.
    const struct { BOOL animation, fade; unsigned int options; std::vector<std::string> fades; } cases[] = {
        {TRUE, TRUE, 0, {"200:524288", "200:589824"}},
        {TRUE, TRUE, B::unDISABLE_FADEOUT, {"200:524288"}},
        {TRUE, TRUE, B::unDISABLE_FADEIN, {"200:589824"}},
        {TRUE, FALSE, 0, {}},
        {FALSE, TRUE, 0, {}},
    };
    for (const auto& c : cases) {
        SetMenuFades(c.animation, c.fade);
        g_fades.clear();
        g_fadeWindows.clear();
        B balloon;
        ASSERT_TRUE(balloon.Create("Fading", "In and out", CPoint(300, 200), c.options, nullptr, "", 50));
        const HWND wnd = balloon;
        EXPECT_TRUE(balloon.IsWindowVisible());
        EXPECT_TRUE(WaitGone(wnd));
        EXPECT_EQ(g_fades, c.fades) << c.options << " " << c.animation << c.fade;
        EXPECT_EQ(g_fadeWindows, std::vector<HWND>(c.fades.size(), wnd));
    }
    B::SetAnimateWindowForTesting(previous);
    SetMenuFades(animation, fade);
}


// The order ticket shows an error at a field with a wrong value: a branded
// note with the exclamation icon that goes on the next key press and
// deletes itself.
TEST_F(Balloon, ExclamationErrorAtAFieldIsBrandedAndGoesOnAKeyPress)
{
    CDialog ticket(IDD_TEST_DIALOG);
    ASSERT_TRUE(ticket.Create(IDD_TEST_DIALOG));
    ticket.ShowWindow(SW_SHOW);
    CWnd price;
    ASSERT_TRUE(price.Attach(ticket.GetDlgItem(IDC_TEST_PRICE)));
    const CRect field = price.GetClientRect();
    B* error = B::LaunchExclamationError("$APPNAME$ needs a limit above 0.", CPoint(10, field.bottom), &price);
    ASSERT_NE(error, nullptr);
    const HWND wnd = *error;
    EXPECT_STREQ(error->GetTitle(), "Error:");
    EXPECT_STREQ(error->GetContent(), "ORV Desktop needs a limit above 0.");
    const unsigned int wanted =
        B::unCLOSE_ON_KEYPRESS | B::unCLOSE_ON_MOUSE_MOVE | B::unDISABLE_FADEOUT | B::unDELETE_THIS_ON_CLOSE;
    EXPECT_EQ(error->GetOptions() & (wanted | B::unSHOW_CLOSE_BUTTON), wanted);
    CPoint tip(10, field.bottom);
    price.ClientToScreen(&tip);
    const CRect window = error->GetWindowRect();
    EXPECT_TRUE(InRegion(wnd, tip.x - window.left, tip.y - window.top + (error->GetQuadrant() < 2 ? 2 : -2)));
    EXPECT_FALSE(SaveScreenshot(wnd, "Balloon-exclamation-error").empty());
    // The icon sits at the header's left; its pixels differ from the
    // background's.
    const CRect inner = error->GetInnerRect();
    EXPECT_LT(CountPixels(wnd, CRect(inner.TopLeft(), CSize(16, 16)), ::GetSysColor(COLOR_INFOBK)), 256 - 40);
    PressKey('A');
    EXPECT_TRUE(WaitGone(wnd));
    EXPECT_TRUE(::IsWindow(ticket));
    price.Detach();
    ticket.DestroyWindow();
}

// A thousand launched balloons with all three hooks, each closed by a key
// press, while every other hook slot of the thread is taken: a second
// launch finds no slot and deletes its balloon and icon, and no handles stay
// behind; each balloon's hooks go with it and free its slot.
TEST_F(Balloon, ThousandBalloonsLeaveNoHandlesOrHooksAndAFailedLaunchDeletesItself)
{
    std::vector<std::unique_ptr<B>> live(B::kMaxLiveBalloons - 1);
    for (size_t i = 0; i < live.size(); ++i)
        Open(*(live[i] = std::make_unique<B>()), 0, CPoint(100 + 10 * static_cast<int>(i), 200));
    CWnd anchor;
    ASSERT_TRUE(anchor.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 50, 30), m_frame, 1));
    int hooksLeft = 0;
    ExpectNoHandleLeak([&] {
        B* balloon = B::LaunchBalloon("Cycle", "Closed by a key", CPoint(5, 5), IDI_EXCLAMATION,
                                      B::unCLOSE_ON_KEYPRESS | B::unCLOSE_ON_LBUTTON_DOWN | B::unDISABLE_FADE,
                                      &anchor);
        ASSERT_NE(balloon, nullptr);
        EXPECT_EQ(B::LaunchBalloon("Full", "No slot left", CPoint(300, 300), IDI_EXCLAMATION), nullptr);
        const HWND wnd = *balloon;
        HHOOK hooks[3];
        for (int kind = 0; kind < 3; ++kind) {
            hooks[kind] = balloon->GetHookForTesting(kind);
            ASSERT_NE(hooks[kind], nullptr) << kind;
        }
        PressKey(VK_SHIFT);
        ASSERT_TRUE(WaitGone(wnd));
        for (HHOOK hook : hooks)
            hooksLeft += ::UnhookWindowsHookEx(hook) ? 1 : 0;
    });
    EXPECT_EQ(hooksLeft, 0);
}

// Setters on a live balloon lay it out again: every icon source gives the
// layout of the same icon set before creation, and its transparent pixels
// show the background; the anchor, colours and time-out take effect at once.
TEST_F(Balloon, SettersOnALiveBalloonTakeEffectAtOnceAndItFollowsItsAnchorWindow)
{
    // A 40 x 40 bitmap: a red square on magenta, the transparent colour.
    const COLORREF magenta = RGB(255, 0, 255), red = RGB(255, 0, 0);
    CClientDC screen(nullptr);
    CDC paint;
    CBitmap bitmap;
    ASSERT_TRUE(paint.CreateCompatibleDC(screen) && bitmap.CreateCompatibleBitmap(screen, 40, 40));
    {
        CSelectScope select(paint, bitmap);
        paint.FillSolidRect(CRect(0, 0, 40, 40), magenta);
        paint.FillSolidRect(CRect(10, 10, 30, 30), red);
    }
    B reference, live;
    reference.SetIconScaled(m_icon, 40, 40);
    for (B* balloon : {&reference, &live})
        ASSERT_TRUE(balloon->Create("Icons", "set late", CPoint(300, 200), B::unDISABLE_FADE));
    EXPECT_NE(live.GetWindowRect().Size(), reference.GetWindowRect().Size());
    live.SetIcon(bitmap, magenta);
    EXPECT_EQ(live.GetWindowRect().Size(), reference.GetWindowRect().Size());
    PumpPending();
    const CRect icon = live.GetInnerRect();
    EXPECT_EQ(CWindowDC(live).GetPixel(icon.left + 20, icon.top + 20), red);
    EXPECT_NE(CWindowDC(live).GetPixel(icon.left + 2, icon.top + 2), magenta);

    B balloon;
    Open(balloon, 0, CPoint(300, 200));
    const int width = balloon.GetWindowRect().Width();
    balloon.SetContent("The limit price is below the bid, and the quantity above the limit.");
    EXPECT_GT(balloon.GetWindowRect().Width(), width);
    const CRect before = balloon.GetWindowRect();
    balloon.SetAnchorPoint(CPoint(310, 230));
    EXPECT_EQ(balloon.GetWindowRect().TopLeft(), CPoint(before.left + 10, before.top + 30));
    balloon.SetBackgroundColor(RGB(200, 230, 255));
    PumpPending();
    const CRect inner = balloon.GetInnerRect();
    EXPECT_EQ(CWindowDC(balloon).GetPixel(inner.left - 3, inner.top + 3), RGB(200, 230, 255));
    balloon.SetTimeout(50);
    EXPECT_TRUE(WaitGone(balloon));

    // The balloon follows its anchor window, also when the window that holds
    // the anchor moves.
    CWnd field;
    ASSERT_TRUE(field.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(40, 40, 160, 60), m_frame, 1));
    B tied;
    ASSERT_TRUE(tied.Create("Anchored", "to the field", CPoint(10, 20), B::unDISABLE_FADE, &field));
    const CRect placed = tied.GetWindowRect();
    field.MoveWindow(CRect(60, 70, 180, 90));
    EXPECT_EQ(tied.GetWindowRect(), CRect(placed.left + 20, placed.top + 30, placed.right + 20, placed.bottom + 30));
    const CRect frameRect = m_frame.GetWindowRect();
    m_frame.SetWindowPos(nullptr, frameRect.left + 15, frameRect.top + 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(tied.GetWindowRect(), CRect(placed.left + 35, placed.top + 35, placed.right + 35, placed.bottom + 35));
    EXPECT_EQ(::GetWindow(tied, GW_OWNER), m_frame.GetSafeHwnd());
}
