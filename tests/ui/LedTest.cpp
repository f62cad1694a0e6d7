#include "HoverTestWindows.h"

#include "controls/win/Led.h"
#include "framework/win/DC.h"
#include "platform/Module.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace orv::ui;

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

class Led : public FrameTest<> {
protected:
    void MakeControls() override
    {
        // The strip as the library holds it, to compare the drawing with.
        ASSERT_TRUE(m_strip.Attach(::LoadBitmapA(platform::LibraryModule(), MAKEINTRESOURCEA(213))));
        ASSERT_TRUE(m_stripDC.CreateCompatibleDC(nullptr));
        m_stripSelection.emplace(m_stripDC, m_strip);
    }
    void TearDown() override { m_stripSelection.reset(); }

    // Compares the window's 16 x 16 pixels at (2, 2), where a lamp 20 pixels
    // square centres its cell, with the strip's cell: lamp pixels must match,
    // magenta ones show the background. Returns the number that differ.
    int Mismatches(HWND wnd, int colour, int mode, int shape, COLORREF background)
    {
        CClientDC dc(wnd);
        int wrong = 0;
        for (int row = 0; row < 16; ++row) {
            for (int column = 0; column < 16; ++column) {
                COLORREF want = m_stripDC.GetPixel(mode * 16 + column, colour + shape + row);
                if (want == kMagenta)
                    want = background;
                wrong += dc.GetPixel(2 + column, 2 + row) != want ? 1 : 0;
            }
        }
        return wrong;
    }

    CBitmap m_strip;
    CDC m_stripDC;
    std::optional<CSelectScope> m_stripSelection;
};

} // namespace

TEST_F(Led, EachColourShapeAndModeDrawsItsCellCentredOverTheBackground)
{
    // Lamp i: shape i / 12, colour i / 3 % 4, mode i % 3 (on, off, disabled).
    const int colours[] = {CLed::LedRed, CLed::LedGreen, CLed::LedYellow, CLed::LedBlue};
    const int shapes[] = {CLed::LedRound, CLed::LedSquare};
    CLed lamps[24];
    for (int i = 0; i < 24; ++i) {
        const int x = 20 + (i % 12) * 30, y = 20 + (i / 12) * 30;
        ASSERT_TRUE(lamps[i].Create("", WS_VISIBLE, CRect(x, y, x + 20, y + 20), &m_frame));
        EXPECT_TRUE(lamps[i].SetLed(colours[i / 3 % 4], CLed::LedOn + i % 3, shapes[i / 12]));
    }
    PumpPending();
    SaveScreenshot(m_frame, "Led-all");
    const COLORREF background = CClientDC(lamps[0]).GetPixel(0, 0);
    EXPECT_NE(background, kMagenta);
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(Mismatches(lamps[i], colours[i / 3 % 4], CLed::LedOn + i % 3, shapes[i / 12], background), 0) << i;
    // The lamp of the strip: lit brighter than unlit, the round one's corner
    // background, the grey cell one image for every colour.
    auto sum = [&](int x, int y) {
        const COLORREF c = m_stripDC.GetPixel(x, y);
        return GetRValue(c) + GetGValue(c) + GetBValue(c);
    };
    EXPECT_GT(sum(8, 10), sum(24, 10));
    EXPECT_EQ(m_stripDC.GetPixel(0, 0), kMagenta);
    EXPECT_NE(m_stripDC.GetPixel(1, 64 + 1), kMagenta);
    EXPECT_EQ(Mismatches(lamps[23], CLed::LedRed, CLed::LedDisabled, CLed::LedSquare, background), 0);

    // Bad values change nothing.
    EXPECT_FALSE(lamps[0].SetLed(8, CLed::LedOn, CLed::LedRound));
    EXPECT_FALSE(lamps[0].SetLed(CLed::LedRed, 3, CLed::LedRound));
    EXPECT_FALSE(lamps[0].SetLed(CLed::LedRed, CLed::LedOn, 16));
    EXPECT_EQ(lamps[0].GetLedMode(), CLed::LedOn);
}

TEST_F(Led, SmallWindowDrawsFromTheTopLeftAndClipsAndNoWindowDrawsNowhere)
{
    CLed lamp;
    ASSERT_TRUE(lamp.Create("", WS_VISIBLE, CRect(20, 20, 30, 30), &m_frame));
    lamp.SetLed(CLed::LedBlue, CLed::LedOn, CLed::LedSquare);
    PumpPending();
    CClientDC dc(lamp);
    const COLORREF background = dc.GetPixel(0, 0); // magenta in the cell
    EXPECT_NE(background, kMagenta);
    for (int i = 1; i < 10; ++i) {
        COLORREF want = m_stripDC.GetPixel(i, int(CLed::LedBlue) + int(CLed::LedSquare) + i);
        EXPECT_EQ(dc.GetPixel(i, i), want == kMagenta ? background : want) << i;
    }

    // Without a window nothing is drawn. A DC of no window is the screen's: its top-left corner must not change.
    auto corner = [] {
        std::vector<COLORREF> pixels;
        CClientDC screen(nullptr);
        for (int i = 0; i < 16 * 16; ++i)
            pixels.push_back(screen.GetPixel(i % 16, i / 16));
        return pixels;
    };
    PumpPending();
    const std::vector<COLORREF> before = corner();
    CLed windowless;
    EXPECT_TRUE(windowless.SetLed(CLed::LedYellow, CLed::LedOn, CLed::LedSquare));
    EXPECT_FALSE(windowless.Ping(100));
    EXPECT_EQ(windowless.GetLedMode(), CLed::LedOn);
    PumpPending();
    EXPECT_EQ(corner(), before);
}

TEST_F(Led, PingLightsForItsTimeFromTheLastPingThenLeavesTheLampUnlit)
{
    CNimLed lamp;
    ASSERT_TRUE(lamp.Create("", WS_VISIBLE, CRect(20, 20, 40, 40), &m_frame));
    EXPECT_TRUE(lamp.SetLedEx(CLed::LedGreen, CLed::LedDisabled, CLed::LedRound, 42));
    EXPECT_EQ(lamp.GetExtraData(), 42);
    const COLORREF background = CClientDC(lamp).GetPixel(0, 0);

    ASSERT_TRUE(lamp.Ping(500));
    PumpUntil([] { return false; }, 100);
    const DWORD second = ::GetTickCount();
    ASSERT_TRUE(lamp.Ping(500));
    PumpPending();
    EXPECT_EQ(lamp.GetLedMode(), CLed::LedOn);
    EXPECT_EQ(Mismatches(lamp, CLed::LedGreen, CLed::LedOn, CLed::LedRound, background), 0);
    SaveScreenshot(lamp, "Led-ping-lit");
    ASSERT_TRUE(PumpUntil([&] { return lamp.GetLedMode() == CLed::LedOff; }, 3000));
    // Timers fire no earlier than asked, give or take the clock's 16 ms tick.
    EXPECT_GE(::GetTickCount() - second, 480u);
    EXPECT_FALSE(lamp.IsFlashing());
    PumpPending();
    EXPECT_EQ(Mismatches(lamp, CLed::LedGreen, CLed::LedOff, CLed::LedRound, background), 0);
}
