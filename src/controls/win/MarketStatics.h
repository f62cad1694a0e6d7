// The market value statics: CColorStatic, a static with its own background
// and text colours, and over it CMoneyStatic (prices and money amounts, with
// the sub-pips look), CChangeWithPctStatic (a change and its percentage),
// CTickStatic (an up or down arrow), CVolumeStatic and CPercentStatic.
//
// Each keeps its value in the object and shows it as its text while the
// window exists. A setter given the value already shown returns at once, so
// a quote window that sets every field on every update repaints only the
// fields that moved. Colours may be the system colour codes of
// MarketValueText.h, resolved each time the control is drawn.
//
// Every class is registered with CRuntimeClass under its own name.
#pragma once

#include "OrvApi.h"
#include "controls/MarketValueText.h"
#include "framework/win/Controls.h"
#include "framework/win/Gdi.h"
#include "framework/win/RuntimeClass.h"

#include <optional>

class CDC;

class ORV_API CColorStatic : public CStatic {
    ORV_DECLARE_DYNCREATE(CColorStatic)
public:
    CColorStatic() = default;

    // The background: an RGB colour or kSysColorButtonFace. Repaints.
    void SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_crBackground; }
    // The text colour; repaints when it changes.
    void SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_crText; }
    // Transparent: the text is drawn over the parent's background.
    void SetTransparentBkMode(BOOL transparent);
    BOOL GetTransparentBkMode() const { return m_bTransparent; }
    // Empties the text.
    virtual void Clear();

protected:
    // Answers the control-colour request the static sends its parent.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // The colours of a control-colour answer; the brush is borrowed.
    virtual HBRUSH CtlColor(HDC dc);
    // Shows the text and repaints once; does nothing without a window.
    void ShowWindowText(const CString& text);
    // Asks for a repaint (of the parent's pixels too, when transparent).
    void Repaint();

    CBrush m_brush;  // of an RGB background; a system colour uses the system's brush
    COLORREF m_crBackground { orv::controls::kSysColorButtonFace };
    COLORREF m_crText { orv::controls::kSysColorWindowText };
    BOOL m_bTransparent { FALSE };
};

class ORV_API CMoneyStatic : public CColorStatic {
    ORV_DECLARE_DYNCREATE(CMoneyStatic)
public:
    enum DisplayFormat : int {
        FormatPrice = orv::controls::MoneyPrice,
        FormatMoney = orv::controls::MoneyAmount,
        FormatSubPips = orv::controls::MoneySubPips,
        FormatPips = orv::controls::MoneyPips,
    };

    CMoneyStatic() = default;

    // Does nothing for the value already held (unless a reformat is being
    // forced); otherwise stores it, picks the sign colour with auto colour
    // and shows the text.
    virtual void SetValue(double value);
    double GetValue() const { return m_dValue; }
    // Formats the held value again and repaints, changed or not.
    void ResetValue();
    // Colours for a value above, below and at zero (auto colour).
    void SetTextColors(COLORREF up, COLORREF down, COLORREF zero);
    // FormatPrice, FormatMoney, FormatSubPips or FormatPips; other values
    // are refused (FALSE).
    BOOL SetDisplayFormat(int format);
    int GetDisplayFormat() const { return m_nFormat; }
    // On: the money format. Off: back to the price format from money only.
    void SetMoneyFormat(bool on);
    // On: the sub-pips format. Off: back to the price format from sub-pips.
    void SetSubPipsMode(bool on);
    void SetBlankIfZero(bool blank);
    void SetAutoColor(bool autoColor);
    // Decimals of prices (or a fraction code) and of the pips.
    void SetMinNumDecimalPlaces(int decimals);
    int GetNumDecimalPlaces() const { return m_nDecimals; }
    // A title put in front of the text, or none (null).
    void SetAltCurrencyTitle(const char* title);
    // Whether money texts keep their "$"; the next SetValue reformats.
    void SetDisplayMoneySymbol(bool show);
    // Decimals back to 2 and the value to 0 (empty only with blank-if-zero).
    void Clear() override;

    // The two parts of the sub-pips format (empty in the others).
    const CString& GetMainPart() const { return m_main; }
    const CString& GetSubPipsPart() const { return m_subPips; }

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnDestroy() override;
    HBRUSH CtlColor(HDC dc) override;
    // Writes the formatted text; a derived class may add to it.
    virtual void ShowMoneyText(const CString& text);
    void ApplyAutoColor();
    // The sub-pips look: the parent's pixels under the control, the main
    // part in the text colour and the sub-pips part underlined.
    void PaintSubPips(CDC& dc);

    COLORREF m_crUp { orv::controls::kSysColorWindowText };
    COLORREF m_crDown { orv::controls::kSysColorWindowText };
    COLORREF m_crZero { orv::controls::kSysColorWindowText };
    double m_dValue { 0.0 };
    bool m_bAutoColor { false };
    bool m_bBlankIfZero { false };
    bool m_bForcing { false };
    int m_nDecimals { 2 };
    std::optional<CString> m_altTitle;
    CString m_main, m_subPips;
    CFont m_underline;
    HFONT m_underlineSource { nullptr };
    CBitmap m_background;
    bool m_bMoneySymbol { true };
    int m_nFormat { FormatPrice };
};

class ORV_API CChangeWithPctStatic : public CMoneyStatic {
    ORV_DECLARE_DYNCREATE(CChangeWithPctStatic)
public:
    CChangeWithPctStatic() = default;
    // Shows the change's text followed by " (p%)". Does nothing when neither
    // the change nor the percentage moved.
    void SetValue(double change, double percent);
    void SetValue(double change) override { SetValue(change, m_dPercent); }
    double GetPercent() const { return m_dPercent; }
    // As the money static's Clear, then an empty text.
    void Clear() override;

protected:
    void ShowMoneyText(const CString& text) override;

    double m_dPercent { 0.0 };
    CString m_lastText;
};

class ORV_API CTickStatic : public CColorStatic {
    ORV_DECLARE_DYNCREATE(CTickStatic)
public:
    CTickStatic() = default;
    // The up or down arrow in its colour; nothing happens for the tick
    // already shown unless a Clear came in between.
    void SetTick(int up);
    BOOL IsUp() const { return m_state.IsUp(); }
    // Colours of the up and down arrows, used from the next SetTick.
    void SetTextColors(COLORREF up, COLORREF down);
    // Empties the text; the next SetTick draws again.
    void Clear() override;

protected:
    // The arrow font: Wingdings, bold, 1.1 times the height of the font
    // the static was given.
    void MakeArrowFont();

    CFont m_arrowFont;
    COLORREF m_crUp { 0 };
    COLORREF m_crDown { 0 };
    orv::controls::TickState m_state;
};

class ORV_API CVolumeStatic : public CColorStatic {
    ORV_DECLARE_DYNCREATE(CVolumeStatic)
public:
    CVolumeStatic() = default;
    // Does nothing for the value already held.
    void SetValue(LONG value);
    LONG GetValue() const { return m_lValue; }
    // Formats the held value again.
    void ResetValue();
    // Used from the next value change.
    void SetTextColors(COLORREF up, COLORREF down, COLORREF zero);
    void SetAutoColor(bool autoColor) { m_bAutoColor = autoColor; }
    // Sizes in forex lots; reformats when it changes.
    void SetForexLotsMode(bool lots);
    // The value back to 0 and an empty text.
    void Clear() override;

protected:
    COLORREF m_crUp { orv::controls::kSysColorWindowText };
    COLORREF m_crDown { orv::controls::kSysColorWindowText };
    COLORREF m_crZero { orv::controls::kSysColorWindowText };
    LONG m_lValue { 0 };
    bool m_bAutoColor { false };
    bool m_bLots { false };
};

class ORV_API CPercentStatic : public CColorStatic {
    ORV_DECLARE_DYNCREATE(CPercentStatic)
public:
    CPercentStatic() = default;
    // value x 100 as a percentage; does nothing for the value already held.
    void SetValue(double value);
    double GetValue() const { return m_dValue; }
    void ResetValue();
    // Auto colour: the up colour at or above the threshold, else the down.
    void SetThreshold(double threshold) { m_dThreshold = threshold; }
    // Used from the next value change.
    void SetTextColors(COLORREF up, COLORREF down);
    void SetAutoColor(bool autoColor) { m_bAutoColor = autoColor; }
    // 0 to 9 decimals; other counts show none. Reformats.
    void SetNumDecimalPlaces(int decimals);
    int GetNumDecimalPlaces() const { return m_nDecimals; }
    // The value back to 0, 2 decimals and an empty text.
    void Clear() override;

protected:
    COLORREF m_crUp { orv::controls::kSysColorWindowText };
    COLORREF m_crDown { orv::controls::kSysColorWindowText };
    double m_dValue { 0.0 };
    double m_dThreshold { 0.0 };
    int m_nDecimals { 2 };
    bool m_bAutoColor { false };
};
