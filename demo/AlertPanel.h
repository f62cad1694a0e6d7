// The demo's price alert, a small condition editor made of the condition
// controls: "Alert when <symbol> trades at or above <price>" and an "Arm"
// button, in a frame that folds to a line with its glyph. A symbol dropped
// on any of its controls becomes the alert's symbol.
#pragma once

#include "controls/win/CondControls.h"
#include "framework/win/Controls.h"
#include "framework/win/Gdi.h"
#include "framework/win/Wnd.h"

class CAlertPanel : public CWnd, public ICondDropTargetCallback {
public:
    enum : UINT { IDC_ALERT_SYMBOL = 300, IDC_ALERT_PRICE, IDC_ALERT_PRICE_SPIN, IDC_ALERT_ARM, IDC_ALERT_GLYPH };

    // Makes the panel inside the owner, at the rectangle (owner's client
    // coordinates).
    BOOL Create(CWnd& owner, const CRect& rect);

    DROPEFFECT OnCondDragOver(COleDataObject* data, DWORD keyState, CPoint point) override;
    void OnCondDragLeave() override {}
    BOOL OnCondDrop(COleDataObject* data, DROPEFFECT effect, CPoint point) override;

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Fold(bool expanded);

    CFont m_font;
    CBrush m_fill;
    CCondFrameStatic m_frame {this};
    CCondExpandStatic m_glyph {this};
    CStatic m_when, m_above, m_state;
    CCondSymbolEdit m_symbol {this};
    CCondPriceEdit m_price {this, IDC_ALERT_PRICE_SPIN};
    CCondButton m_arm {this};
};
