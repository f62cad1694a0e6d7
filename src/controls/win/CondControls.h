// The condition controls, each a drop target that forwards to the callback
// of the window that owns them and registers itself when its window is
// attached: CCondButton (with a tool tip), CCondFrameStatic (a frame that
// collapses to a line), CCondExpandStatic (the expand/collapse glyph),
// CCondSymbolEdit (a hover edit with an optional background colour) and
// CCondPriceEdit (a price edit with 2 decimals).
#pragma once

#include "OrvApi.h"
#include "controls/win/CondDropTarget.h"
#include "controls/win/HoverEdit.h"
#include "controls/win/NumEdit.h"
#include "controls/win/ToolTipCtrl.h"
#include "framework/win/Controls.h"
#include "framework/win/Gdi.h"

class ORV_API CCondButton : public CButton, public TCondDropTargetImpl<CCondButton> {
public:
    explicit CCondButton(ICondDropTargetCallback* callback) : TCondDropTargetImpl(callback) {}
    // The tip shown while the mouse rests on the button.
    void SetToolTipText(const char* text);

protected:
    void PreSubclassWindow() override;

private:
    CNimToolTipCtrl m_toolTip;
};

class ORV_API CCondFrameStatic : public CStatic, public TCondDropTargetImpl<CCondFrameStatic> {
public:
    explicit CCondFrameStatic(ICondDropTargetCallback* callback) : TCondDropTargetImpl(callback) {}

    // The fill: the button-face colour with red, green and blue each divided
    // by 1.1, truncated.
    static COLORREF FillColor(COLORREF buttonFace);

    // Collapsed, the frame is a 1-pixel line at its bottom edge; expanded
    // again, it takes back the height it had above the same edge.
    void SetExpanded(BOOL expanded);
    BOOL IsExpanded() const { return m_expanded; }
    // The frame never gets narrower than this (0: no limit).
    void SetMinWidth(int width) { m_minWidth = width; }

protected:
    void PreSubclassWindow() override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool m_expanded { true };
    int m_expandedHeight { 0 }; // stored when collapsing
    int m_minWidth { 0 };
};

class ORV_API CCondExpandStatic : public CStatic, public TCondDropTargetImpl<CCondExpandStatic> {
public:
    explicit CCondExpandStatic(ICondDropTargetCallback* callback) : TCondDropTargetImpl(callback) {}
    // Repaints only on a change.
    void SetExpanded(BOOL expanded);
    BOOL IsExpanded() const { return m_expanded; }

protected:
    // Both size the window to 13 x 10 pixels.
    void PreSubclassWindow() override;
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnPaint() override;

private:
    static constexpr int kWidth = 13;
    static constexpr int kHeight = 10;
    bool m_expanded { true };
};

class ORV_API CCondSymbolEdit : public CNimHoverEdit, public TCondDropTargetImpl<CCondSymbolEdit> {
public:
    // "No colour": the edit's default colours.
    static constexpr COLORREF kNoColor = 0x7FFFFFFF;

    explicit CCondSymbolEdit(ICondDropTargetCallback* callback) : TCondDropTargetImpl(callback) {}
    // Any colour but kNoColor fills the edit and backs its text.
    void SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_bkColor; }

protected:
    // Registers, and gives the edit its own bold copy of its font.
    void PreSubclassWindow() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    COLORREF m_bkColor { kNoColor };
    CBrush m_bkBrush;
    CFont m_font;
};

class ORV_API CCondPriceEdit : public CNimNumEdit, public TCondDropTargetImpl<CCondPriceEdit> {
public:
    CCondPriceEdit(ICondDropTargetCallback* callback, UINT spinId)
        : CNimNumEdit(spinId, orv::controls::NumberPrice, nullptr, 2), TCondDropTargetImpl(callback)
    {
    }

protected:
    void PreSubclassWindow() override;
};
