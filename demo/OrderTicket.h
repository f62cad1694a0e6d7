// The demo's order ticket: a top-level window of hover edits with spins and
// hover buttons, painted in the system colours.
#pragma once

#include "controls/win/HoverButton.h"
#include "controls/win/HoverEdit.h"
#include "controls/win/HoverSpin.h"
#include "framework/win/Controls.h"
#include "framework/win/Gdi.h"
#include "framework/win/Wnd.h"

// An edit holding a number between limits, stepped by its spin.
class CTicketNumEdit : public CNimHoverEdit, public INimSpinBuddy {
public:
    void Setup(double value, double minimum, double maximum, double step, int decimals);
    void ChangeAmount(int steps) override;
    BOOL CanIncrement() override { return m_value < m_maximum; }
    BOOL CanDecrement() override { return m_value > m_minimum; }
    CNimHoverSpin m_spin;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Show();
    double m_value = 0, m_minimum = 0, m_maximum = 0, m_step = 1;
    int m_decimals = 0;
};

class COrderTicket : public CWnd {
public:
    BOOL Create();
    // The "Buy" button, where the screenshot puts the mouse.
    HWND GetBuyButton() const { return m_buy.GetSafeHwnd(); }

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnDestroy() override;

private:
    void AddLabel(const char* text, int y);
    void AddNumber(CTicketNumEdit& edit, UINT id, int y, double value, double minimum, double maximum, double step,
                   int decimals);
    void Status(const char* text);

    CFont m_font;
    CStatic m_labels[4];
    CNimHoverEdit m_symbol;
    CNimHoverButton m_lookup;
    CTicketNumEdit m_quantity, m_limit, m_stop;
    CNimHoverButton m_buy, m_sell, m_send, m_allOrNone, m_about;
    CStatic m_status;
    int m_labelCount = 0;
    bool m_allOrNoneOn = true;
};
