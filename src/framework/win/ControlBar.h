// Control bars, the strips a frame (or a dialog) lays out along its edges:
// CControlBar and its kinds CToolBar (a row of command buttons, with
// CToolCmdUI for their states), CReBar (bands holding other bars) and
// CStatusBar (text panes).
//
// At idle time the application's loop sends every window
// WM_IDLEUPDATECMDUI; a visible bar then updates its items from the command
// handlers of the frame above it (see CCmdUI::DoUpdate).
#pragma once

#include "OrvApi.h"
#include "framework/win/CmdUI.h"
#include "framework/win/ImageList.h"
#include "framework/win/Wnd.h"

#include <commctrl.h>

class CFrameWnd;

// Where a bar sits in its frame.
constexpr DWORD CBRS_TOP = 0x2000;
constexpr DWORD CBRS_BOTTOM = 0x8000;

constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_REBAR = 0xE804;

class ORV_API CControlBar : public CWnd {
public:
    DWORD GetBarStyle() const noexcept { return m_dwBarStyle; }
    void SetBarStyle(DWORD style) noexcept { m_dwBarStyle = style; }
    bool IsAlignedBottom() const noexcept { return (m_dwBarStyle & CBRS_BOTTOM) != 0; }

    // The bar's size for a frame of the width; the default keeps the
    // window's height.
    virtual CSize CalcFixedLayout(int width);
    // Sets the states of the bar's items from the target's handlers; the
    // default bar has no items.
    virtual void OnUpdateCmdUI(CWnd* target, BOOL disableIfNoHandler);
    // WM_IDLEUPDATECMDUI: a visible bar updates its items from the frame
    // above it (wParam: disable items without handler). Returns 0.
    virtual LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    // Whether the window serves accessibility clients itself. This window
    // layer answers for no window itself (WM_GETOBJECT is left to the
    // system), so the flag only records the bar's choice.
    BOOL m_bEnableActiveAccessibility = TRUE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DWORD m_dwBarStyle = CBRS_TOP;
};

class ORV_API CToolBar : public CControlBar {
public:
    // A flat toolbar; its size and place are the frame's (or the caller's)
    // business.
    BOOL Create(HWND parent, DWORD style = WS_CHILD | WS_VISIBLE, DWORD barStyle = CBRS_TOP,
                UINT id = AFX_IDW_TOOLBAR);
    // Takes the button images from a bitmap resource: cells of imageSize
    // side by side, magenta (255, 0, 255) transparent.
    BOOL LoadBitmap(UINT bitmapId, CSize imageSize = CSize(16, 15));
    // Replaces the buttons: one per id, ID_SEPARATOR for a gap; the buttons
    // take the images in order.
    BOOL SetButtons(const UINT* ids, int count);

    // Shows the text beside the button's image (the bar lists its buttons'
    // texts to the right of their images); FALSE when no button has the id.
    BOOL SetButtonText(UINT id, const char* text);
    // Shows another image of the bar's list on the button.
    BOOL SetButtonImage(UINT id, int image);
    int GetCount() const;
    UINT GetItemID(int index) const;
    // The index of the button with the command, or -1.
    int CommandToIndex(UINT id) const;
    BOOL IsButtonEnabled(UINT id) const;
    BOOL IsButtonChecked(UINT id) const;

    CSize CalcFixedLayout(int width) override;
    void OnUpdateCmdUI(CWnd* target, BOOL disableIfNoHandler) override;

private:
    CImageList m_images;
};

// A toolbar button asked for its state.
class ORV_API CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL on = TRUE) override;
    // 0 unchecked, 1 checked, 2 indeterminate.
    void SetCheck(int check = 1) override;
    // Toolbar buttons show images only.
    void SetText(const char*) override {}
};

class ORV_API CReBar : public CControlBar {
public:
    BOOL Create(HWND parent, DWORD style = WS_CHILD | WS_VISIBLE, DWORD barStyle = CBRS_TOP,
                UINT id = AFX_IDW_REBAR);
    // Adds a band holding the window (a toolbar or any child window); the
    // window becomes the rebar's child.
    BOOL AddBar(CWnd* bar, const char* text = nullptr);
    int GetBandCount() const;

    CSize CalcFixedLayout(int width) override;
};

class ORV_API CStatusBar : public CControlBar {
public:
    BOOL Create(HWND parent, DWORD style = WS_CHILD | WS_VISIBLE, DWORD barStyle = CBRS_BOTTOM,
                UINT id = AFX_IDW_STATUS_BAR);
    // Divides the bar into panes by their right edges; -1 runs to the end.
    BOOL SetParts(const int* rightEdges, int count);
    BOOL SetPaneText(int index, const char* text);
    CString GetPaneText(int index) const;

    CSize CalcFixedLayout(int width) override;

private:
    int m_nHeight = 0;
};
