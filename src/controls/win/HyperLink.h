// CHyperLink: a static text control that works as a link. It opens its
// address in the user's default handler when clicked, colours its text by
// state (normal, under the mouse, visited), underlines it, shows the address
// as a tool tip and a hand cursor, can size itself to its text, and explains
// a failed open in plain words.
#pragma once

#include "OrvApi.h"
#include "controls/win/HoverTracker.h"
#include "framework/win/Controls.h"
#include "framework/win/Gdi.h"

class ORV_API CHyperLink : public CStatic {
public:
    // A hover colour of this value stands for the system highlight colour.
    static constexpr COLORREF kSystemHighlight = 0xFFFFFFFF;

    CHyperLink();
    ~CHyperLink() override;

    // Stores the address; a window that exists is resized to its text and
    // its tool tip shows the new address.
    void SetURL(const char* url);
    CString GetURL() const { return m_strURL; }

    // Repaints. A hover colour of kSystemHighlight is the system highlight
    // colour as it is now.
    void SetColours(COLORREF link, COLORREF visited, COLORREF hover = kSystemHighlight);
    COLORREF GetLinkColour() const { return m_crLinkColour; }
    COLORREF GetVisitedColour() const { return m_crVisitedColour; }
    COLORREF GetHoverColour() const { return m_crHoverColour; }

    void SetVisited(BOOL visited = TRUE);
    BOOL GetVisited() const { return m_bVisited; }
    // The cursor shown over the link; the caller keeps ownership of it.
    void SetLinkCursor(HCURSOR cursor);
    HCURSOR GetLinkCursor() const { return m_hLinkCursor; }
    // Draws the text with an underlined (or plain) copy of the font.
    void SetUnderline(BOOL underline = TRUE);
    BOOL GetUnderline() const { return m_bUnderline; }
    // Fits the window to its text now and whenever the address changes.
    void SetAutoSize(BOOL autoSize = TRUE);
    BOOL GetAutoSize() const { return m_bAdjustToFit; }
    // Whether the mouse is over the link.
    BOOL IsOver() const { return m_hover.IsTracking(); }

    // Opens the address with the shell; when the shell cannot, runs the
    // open command registered for ".htm" files with the address as its
    // argument. Returns the platform's result, above 32 on success.
    //
    // The registered command is read from the user's file classes, then
    // the machine's. A command of 260 characters or more is refused with 27
    // (association incomplete or invalid) rather than run cut short. The
    // address is passed as one quoted argument; an empty address, or one
    // that holds a double quote (which would end the argument early), is not
    // passed and the shell's failure is returned.
    INT_PTR GotoURL(const char* url, int showCommand);

    // The error report for a result code: "Unable to open hyperlink:\n\n"
    // and the code's explanation.
    static CString ErrorReportText(INT_PTR code);

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PreSubclassWindow() override;
    int OnCreate(CREATESTRUCTA* cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnDestroy() override;

    // Opens the link's address after a click; visited on success, else the
    // exclamation beep and the error report.
    virtual void OnClicked();
    // Shows the error report in a message box with the exclamation icon.
    virtual void ReportError(INT_PTR code);
    // Fits the window to its text when auto size is on (see the algorithm
    // in the source).
    void PositionWindow();

private:
    void SetUp();
    void MakeFont();
    void LoadDefaultCursor();
    void ReleaseOwnCursor();
    void CreateToolTip();
    void Redraw();

    COLORREF m_crLinkColour { RGB(0, 0, 238) };
    COLORREF m_crVisitedColour { RGB(85, 26, 139) };
    COLORREF m_crHoverColour;
    CHoverTracker m_hover { CHoverTracker::Track::Always };
    bool m_bVisited { false };
    bool m_bUnderline { true };
    bool m_bAdjustToFit { true };
    CString m_strURL;
    CFont m_font;
    HCURSOR m_hLinkCursor { nullptr };
    // The default cursor when it is a copy this object made and destroys.
    HCURSOR m_hOwnCursor { nullptr };
    CToolTipCtrl m_toolTip;
    bool m_bCreating { false };
    // The link is setting its own font: not a font from outside.
    bool m_bMakingFont { false };
};
