#include "HoverTestWindows.h"

#include "controls/win/MarketStatics.h"
#include "framework/win/DC.h"
#include "framework/win/RuntimeClass.h"
#include "market/CachedQuote.h"
#include "text/Locale.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <memory>
#include <tuple>

using namespace orv::ui;

namespace {

class MarketStatics : public FrameTest<> {
protected:
    void MakeControls() override { m_font.CreatePointFont(100, "Tahoma"); }
    // Makes the static at row y, visible, in the frame's font.
    template <class TStatic>
    void Make(TStatic& control, int y, DWORD align = SS_LEFT, int x = 10)
    {
        ASSERT_TRUE(control.Create("", WS_VISIBLE | align, CRect(x, y, x + 180, y + 22), &m_frame));
        control.SetFont(m_font);
        PumpPending();
    }
    // Paints caused by the action, once the messages are pumped.
    template <class TStatic>
    int PaintsOf(Counted<TStatic>& control, const std::function<void()>& action)
    {
        PumpPending();
        control.m_paints = 0;
        action();
        PumpPending();
        return control.m_paints;
    }

    CFont m_font;
};

} // namespace

TEST(RuntimeClass, EachStaticIsMadeByItsNameAndUnknownOrTakenNamesMakeNothing)
{
    const char* names[] = {"CColorStatic", "CMoneyStatic", "CChangeWithPctStatic",
                           "CTickStatic", "CVolumeStatic", "CPercentStatic"};
    for (const char* name : names) {
        std::unique_ptr<CWnd> made(CRuntimeClass::CreateObject(name));
        ASSERT_NE(made, nullptr) << name;
        EXPECT_NE(dynamic_cast<CColorStatic*>(made.get()), nullptr) << name;
        EXPECT_STREQ(CRuntimeClass::FromName(name)->ClassName(), name);
    }
    EXPECT_EQ(CRuntimeClass::CreateObject("CNoSuchStatic"), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject(nullptr), nullptr);

    // A second class under a taken name is refused; the first stays.
    CRuntimeClass impostor("CTickStatic", []() -> CWnd* { return new CStatic; });
    EXPECT_FALSE(impostor.IsRegistered());
    std::unique_ptr<CWnd> tick(CRuntimeClass::CreateObject("CTickStatic"));
    EXPECT_NE(dynamic_cast<CTickStatic*>(tick.get()), nullptr);
    {
        CRuntimeClass added("CAddedStatic", []() -> CWnd* { return new CColorStatic; });
        EXPECT_TRUE(added.IsRegistered());
        EXPECT_EQ(CRuntimeClass::FromName("CAddedStatic"), &added);
    }
    EXPECT_EQ(CRuntimeClass::FromName("CAddedStatic"), nullptr);
}

TEST_F(MarketStatics, OnlyAChangeRepaintsAndEachStaticShowsItsText)
{
    Counted<CMoneyStatic> money;
    Counted<CChangeWithPctStatic> change;
    Counted<CTickStatic> tick;
    CTickStatic early;
    Counted<CVolumeStatic> volume;
    Counted<CPercentStatic> percent;
    CStatic* counted[] = {&money, &change, &tick, &volume, &percent};
    for (int i = 0; i < 5; ++i)
        Make(*counted[i], 10 + 30 * i);
    early.SetTick(1); // no window yet: the same tick shows once there is one
    Make(early, 160);
    // A value set before the window exists is kept and shown once set again.
    CMoneyStatic earlyMoney;
    earlyMoney.SetValue(12.5);
    Make(earlyMoney, 190);
    money.SetAutoColor(true);
    money.SetTextColors(RGB(0, 128, 0), RGB(200, 0, 0), RGB(0, 0, 0));

    EXPECT_GE(PaintsOf(money, [&] { money.SetValue(2.5); }), 1);
    EXPECT_EQ(money.GetTextColor(), RGB(0, 128, 0));
    EXPECT_EQ(PaintsOf(money, [&] { money.SetValue(2.5); }), 0);
    EXPECT_GE(PaintsOf(money, [&] { money.ResetValue(); }), 1);
    EXPECT_GE(PaintsOf(money, [&] { money.SetValue(-2.5); }), 1);
    EXPECT_EQ(money.GetTextColor(), RGB(200, 0, 0));
    EXPECT_EQ(PaintsOf(money, [&] { money.SetBlankIfZero(false); money.SetMinNumDecimalPlaces(2); }), 0);

    EXPECT_GE(PaintsOf(change, [&] { change.SetValue(0.5, 1.0); }), 1);
    EXPECT_EQ(PaintsOf(change, [&] { change.SetValue(0.5, 1.0); }), 0);
    EXPECT_GE(PaintsOf(change, [&] { change.SetValue(0.5, 2.0); }), 1);

    EXPECT_GE(PaintsOf(tick, [&] { tick.SetTick(1); }), 1);
    EXPECT_EQ(PaintsOf(tick, [&] { tick.SetTick(1); }), 0);
    tick.Clear();
    EXPECT_GE(PaintsOf(tick, [&] { tick.SetTick(1); }), 1);
    EXPECT_EQ(tick.GetWindowText(), CString("\xD9"));

    EXPECT_GE(PaintsOf(volume, [&] { volume.SetValue(300); }), 1);
    EXPECT_EQ(PaintsOf(volume, [&] { volume.SetValue(300); volume.SetForexLotsMode(false); }), 0);
    EXPECT_GE(PaintsOf(percent, [&] { percent.SetValue(0.25); }), 1);
    EXPECT_EQ(PaintsOf(percent, [&] { percent.SetValue(0.25); }), 0);

    CString lots;
    const struct { CWnd& control; std::function<void()> act; CString text; } steps[] = {
        {money, [&] { money.SetValue(0); }, "0.00"},
        {money, [&] { money.SetBlankIfZero(true); }, ""},
        {money, [&] { money.SetMinNumDecimalPlaces(4); }, ""},
        {money, [&] { money.SetSubPipsMode(true); }, ""},
        {money, [&] { money.SetValue(1.23456); }, "1.234560"},
        {money, [&] { money.SetDisplayFormat(CMoneyStatic::FormatPips); }, "12345.6"},
        {money, [&] { money.SetValue(0.00125); }, "12.5"},
        {earlyMoney, [&] { earlyMoney.ResetValue(); }, "12.50"},
        {change, [&] { change.SetValue(1.25, 0.5); }, "1.25 (0.50%)"},
        {change, [&] { change.SetValue(1.25, 0.75); }, "1.25 (0.75%)"}, // same change, new percentage
        {change, [&] { change.Clear(); }, ""},
        {early, [&] { early.SetTick(1); }, "\xD9"},
        {tick, [&] { tick.SetTick(0); }, "\xDA"},
        {volume, [&] { volume.SetValue(1234567); }, "1,234,567"},
        {volume, [&] { volume.SetForexLotsMode(true); }, CLocale::FormatFXBidAskSize(1234567, lots)},
        {volume, [&] { volume.Clear(); }, ""},
        {percent, [&] { percent.SetValue(0.1234); }, "12.34%"},
        {percent, [&] { percent.SetNumDecimalPlaces(12); }, "12%"},
        {percent, [&] { percent.Clear(); }, ""},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].act();
        EXPECT_EQ(steps[i].control.GetWindowText(), steps[i].text) << i;
    }
    EXPECT_EQ(percent.GetNumDecimalPlaces(), 2);
    EXPECT_FALSE(money.SetDisplayFormat(4));
    EXPECT_EQ(money.GetDisplayFormat(), CMoneyStatic::FormatPips);
    LOGFONTA arrow {};
    ::GetObjectA(tick.GetFont(), sizeof arrow, &arrow);
    EXPECT_EQ(std::pair(CString(arrow.lfFaceName), arrow.lfWeight), std::pair(CString("Wingdings"), LONG(700)));
}

TEST_F(MarketStatics, SystemColourCodesAreResolvedWhenDrawing)
{
    CColorStatic plain;
    Make(plain, 10);
    EXPECT_EQ(plain.GetBkColor(), 0x8000000Fu);
    EXPECT_EQ(plain.GetTextColor(), 0x80000008u);
    CClientDC probe(plain);
    // The brush the frame answers for the static, and the text and back
    // colours it leaves in the DC.
    auto answer = [&] {
        const LRESULT brush = ::SendMessageA(m_frame, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(probe.GetSafeHdc()),
                                             reinterpret_cast<LPARAM>(plain.GetSafeHwnd()));
        return std::tuple(reinterpret_cast<HGDIOBJ>(brush), ::GetTextColor(probe), ::GetBkColor(probe));
    };
    EXPECT_EQ(answer(), std::tuple(HGDIOBJ(::GetSysColorBrush(COLOR_BTNFACE)), ::GetSysColor(COLOR_WINDOWTEXT),
                                   ::GetSysColor(COLOR_BTNFACE)));

    plain.SetBkColor(RGB(10, 20, 30));
    plain.SetTextColor(RGB(250, 250, 0));
    PumpPending();
    const auto [brush, text, back] = answer();
    EXPECT_EQ(std::pair(text, back), std::pair(RGB(250, 250, 0), RGB(10, 20, 30)));
    EXPECT_EQ(CClientDC(plain).GetPixel(1, 1), RGB(10, 20, 30));

    plain.SetTransparentBkMode(TRUE);
    EXPECT_EQ(std::get<0>(answer()), ::GetStockObject(HOLLOW_BRUSH));
    EXPECT_EQ(::GetBkMode(probe), TRANSPARENT);
}

TEST_F(MarketStatics, ScreenshotsOfEachStaticInItsStates)
{
    const COLORREF green = RGB(0, 140, 0), red = RGB(210, 0, 0);
    CMoneyStatic price, money, subPips, subPipsRight, pips, blank;
    CChangeWithPctStatic up, down;
    CTickStatic tickUp, tickDown;
    CVolumeStatic volume;
    CPercentStatic above, below;
    CColorStatic coloured;
    CMoneyStatic* moneys[] = {&price, &money, &subPips, &subPipsRight, &pips, &blank};
    for (int i = 0; i < 6; ++i)
        Make(*moneys[i], 8 + 26 * i, moneys[i] == &subPipsRight ? SS_RIGHT : SS_LEFT);
    price.SetValue(101.25);
    money.SetMoneyFormat(true);
    money.SetValue(-1234.5);
    money.SetAltCurrencyTitle("EUR ");
    for (CMoneyStatic* control : {&subPips, &subPipsRight}) {
        control->SetMinNumDecimalPlaces(4);
        control->SetSubPipsMode(true);
        control->SetValue(1.23456);
    }
    pips.SetMinNumDecimalPlaces(4);
    pips.SetDisplayFormat(CMoneyStatic::FormatPips);
    pips.SetValue(0.00125);
    blank.SetBlankIfZero(true);
    blank.SetValue(0);

    CStatic* column[] = {&up, &down, &tickUp, &tickDown, &volume, &above, &below, &coloured};
    for (int i = 0; i < 8; ++i)
        Make(*column[i], 8 + 26 * i, column[i] == &coloured ? SS_CENTER : SS_LEFT, 200);
    for (CChangeWithPctStatic* control : {&up, &down}) {
        control->SetAutoColor(true);
        control->SetTextColors(green, red, 0);
    }
    up.SetValue(1.25, 0.5);
    down.SetValue(-0.75, -0.3);
    for (CTickStatic* control : {&tickUp, &tickDown})
        control->SetTextColors(green, red);
    tickUp.SetTick(1);
    tickDown.SetTick(0);
    volume.SetValue(2500000);
    for (CPercentStatic* control : {&above, &below}) {
        control->SetAutoColor(true);
        control->SetThreshold(0.1);
        control->SetTextColors(green, red);
    }
    above.SetValue(0.1234);
    below.SetValue(0.05);
    coloured.SetBkColor(RGB(0, 0, 96));
    coloured.SetTextColor(RGB(255, 255, 0));
    coloured.SetWindowText("Coloured");
    PumpPending();
    SaveScreenshot(m_frame, "MarketStatics-all");

    // The sub-pips part is underlined under the last two digits: the lowest
    // row with ink is the underline, right of the main part; right-aligned,
    // it ends at the right edge.
    // Under a parent that clips its children, the button face.
    EXPECT_EQ(CClientDC(subPips).GetPixel(1, 1), ::GetSysColor(COLOR_BTNFACE));
    // The first and last column of the lowest row with ink.
    auto underline = [](CWnd& control) {
        CClientDC dc(control);
        const CRect client = control.GetClientRect();
        int left = -1, right = -1;
        for (int row = client.bottom - 1; row >= 0 && left < 0; --row) {
            for (int x = 0; x < client.right; ++x) {
                if (dc.GetPixel(x, row) == ::GetSysColor(COLOR_WINDOWTEXT)) {
                    left = left < 0 ? x : left;
                    right = x;
                }
            }
        }
        return std::pair(left, right);
    };
    const int mainWidth = [&] {
        CClientDC dc(subPips);
        CSelectScope font(dc, m_font);
        return dc.GetTextExtent("1.2345", 6).cx;
    }();
    const auto [left, right] = underline(subPips);
    EXPECT_GE(left, mainWidth - 1);
    EXPECT_GT(right, left + 4);
    const auto [rightAlignedLeft, rightAlignedRight] = underline(subPipsRight);
    EXPECT_GE(rightAlignedRight, subPipsRight.GetClientRect().right - 3);
    EXPECT_GE(rightAlignedLeft, subPipsRight.GetClientRect().right - 30);
}

namespace {

// A quote panel's row: the statics of one symbol fed from its cached quote.
struct QuoteRow {
    CMoneyStatic last, bid, ask;
    CChangeWithPctStatic change;
    CTickStatic tick;
    CVolumeStatic volume;
    CCachedQuote quote;
    double price;
    double step;
    LONG traded = 1000;

    QuoteRow(double start, double tick) : price(start), step(tick) {}

    // Pushes a record whose prices moved by `move` steps and shows it.
    void Update(const wchar_t* symbol, int move, bool subPips)
    {
        price += move * step;
        traded += 100;
        QUOTERECORD record {};
        record.bstrSymbol = ::SysAllocString(symbol);
        record.dLast = price;
        record.dBid = price - step;
        record.dAsk = price + step;
        record.dPrevClose = 100;
        record.lVolume = traded;
        quote.Update(&record);
        ::SysFreeString(record.bstrSymbol);
        const QUOTERECORD& q = quote.GetQuoteRecord();
        for (CMoneyStatic* control : {&last, &bid, &ask}) {
            control->SetMinNumDecimalPlaces(quote.GetDecimals());
            control->SetSubPipsMode(subPips);
        }
        last.SetValue(q.dLast);
        bid.SetValue(q.dBid);
        ask.SetValue(q.dAsk);
        change.SetMinNumDecimalPlaces(quote.GetDecimals());
        change.SetValue(q.dLast - q.dPrevClose, (q.dLast - q.dPrevClose) / q.dPrevClose * 100);
        tick.SetTick(quote.GetLastDirection() == TRENDTICK_DOWN ? 0 : 1);
        volume.SetValue(q.lVolume);
    }
};

CString Field(CCachedQuote& quote, long id)
{
    BSTR text = nullptr;
    quote.GetField(id, &text);
    char bytes[128] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
    ::SysFreeString(text);
    return bytes;
}

} // namespace

// A thousand of each static made, set and destroyed beside the updates.
TEST_F(MarketStatics, TenThousandQuoteUpdatesShowTheQuotesTextsWithoutHandleGrowth)
{
    QuoteRow rows[2] = {{101.25, 0.01}, {1.08425, 0.00001}};
    int y = 10;
    for (QuoteRow& row : rows) {
        for (CStatic* control : std::initializer_list<CStatic*> {&row.last, &row.bid, &row.ask, &row.change,
                                                                 &row.tick, &row.volume}) {
            ASSERT_TRUE(control->Create("", WS_VISIBLE | SS_RIGHT, CRect(10, y, 190, y + 20), &m_frame));
            control->SetFont(m_font);
            y += 22;
        }
    }
    int n = 0;
    auto burst = [&] {
        for (int i = 0; i < 10; ++i, ++n) {
            const int move = (n * 7919) % 5 - 2;
            rows[0].Update(L"MSFT", move, false);
            rows[1].Update(L"EUR/USD", -move, true);
        }
    };
    burst();
    PumpPending();
    // The price statics show what the quote renders for the same fields.
    EXPECT_EQ(rows[0].last.GetWindowText(), Field(rows[0].quote, QUOTEFIELD_LAST));
    EXPECT_EQ(rows[0].bid.GetWindowText(), Field(rows[0].quote, QUOTEFIELD_BID));
    EXPECT_EQ(rows[0].volume.GetWindowText(), Field(rows[0].quote, QUOTEFIELD_VOLUME));
    EXPECT_EQ(rows[1].ask.GetMainPart() + rows[1].ask.GetSubPipsPart(), rows[1].ask.GetWindowText());
    SaveScreenshot(m_frame, "MarketStatics-quotes");

    ExpectNoHandleLeak([&] {
        burst();
        rows[1].bid.UpdateWindow();
        CColorStatic colour;
        CMoneyStatic money;
        CChangeWithPctStatic change;
        CTickStatic tick;
        CVolumeStatic volume;
        CPercentStatic percent;
        CStatic* made[] = {&colour, &money, &change, &tick, &volume, &percent};
        for (int i = 0; i < 6; ++i)
            Make(*made[i], 10 + 30 * i, SS_LEFT, 200);
        colour.SetBkColor(RGB(1, 2, 3));
        money.SetMinNumDecimalPlaces(4);
        money.SetSubPipsMode(true);
        money.SetValue(1.23456);
        change.SetValue(0.5, 0.1);
        tick.SetTick(1);
        volume.SetValue(10);
        percent.SetValue(0.5);
        money.UpdateWindow();
        tick.UpdateWindow();
    }, 8);
    EXPECT_GE(n, 10000);
}
