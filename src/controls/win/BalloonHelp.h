// CBalloonHelp: a popup in the shape of a speech balloon whose tail points
// at an anchor point, with an icon, a bold title, a content text, an
// optional close button and an optional link. It closes on a time-out or on
// the user actions its options name, can fade in and out, and follows its
// anchor window when that window moves. With a URL the content is drawn
// underlined, and a click on it opens the URL with the shell.
//
// Mouse and keyboard actions are seen through low-level hooks (the input of
// the whole desktop) and the anchor window's moves through a hook on the
// returned messages of the creating thread. Each balloon installs its own
// three hooks; each hook procedure it installs is bound to that balloon
// alone (see InitThunk), and all three are removed when its window is
// destroyed.
#pragma once

#include "OrvApi.h"
#include "controls/BalloonGeometry.h"
#include "framework/win/Gdi.h"
#include "framework/win/Wnd.h"

#include <commctrl.h>

#include <array>
#include <memory>
#include <type_traits>

class CDC;

class ORV_API CBalloonHelp : public CWnd {
public:
    // Options.
    static constexpr unsigned int unCLOSE_ON_LBUTTON_UP = 0x1;
    static constexpr unsigned int unCLOSE_ON_MBUTTON_UP = 0x2;
    static constexpr unsigned int unCLOSE_ON_RBUTTON_UP = 0x4;
    static constexpr unsigned int unCLOSE_ON_LBUTTON_DOWN = 0x8;
    static constexpr unsigned int unCLOSE_ON_MBUTTON_DOWN = 0x10;
    static constexpr unsigned int unCLOSE_ON_RBUTTON_DOWN = 0x20;
    static constexpr unsigned int unCLOSE_ON_MOUSE_MOVE = 0x40;
    static constexpr unsigned int unCLOSE_ON_KEYPRESS = 0x80;
    static constexpr unsigned int unCLOSE_ON_ANYTHING_MOUSE = 0x7F;
    static constexpr unsigned int unCLOSE_ON_ANYTHING = 0xFF;
    static constexpr unsigned int unDELAY_CLOSE = 0x100;
    static constexpr unsigned int unDELETE_THIS_ON_CLOSE = 0x200;
    static constexpr unsigned int unSHOW_CLOSE_BUTTON = 0x400;
    static constexpr unsigned int unSHOW_INNER_SHADOW = 0x800;
    static constexpr unsigned int unSHOW_TOPMOST = 0x1000;
    static constexpr unsigned int unDISABLE_XP_SHADOW = 0x2000;
    static constexpr unsigned int unDISABLE_FADEIN = 0x4000;
    static constexpr unsigned int unDISABLE_FADEOUT = 0x8000;
    static constexpr unsigned int unDISABLE_FADE = 0xC000;

    // The time-out timer's identifier.
    static constexpr UINT_PTR nTIMER_CLOSE = 1;
    // Fades last this long (milliseconds).
    static constexpr DWORD nFADE_TIME = 200;

    // Layout, read at each layout of any balloon: the tail's height, the
    // margin inside the frame and the rounding of the body's corners.
    static int nTIP_TAIL;
    static int nTIP_MARGIN;
    static int nTIP_ELIPSE_WIDTH;

    // The window animation the balloons fade with: the system's
    // AnimateWindow, looked up on first use (null where the system
    // lacks it). Each balloon takes the one current when it is constructed.
    using AnimateWindowFn = BOOL(WINAPI*)(HWND, DWORD, DWORD);
    // Replaces the process's animation function and returns the previous
    // one; for tests that watch the fades.
    static AnimateWindowFn SetAnimateWindowForTesting(AnimateWindowFn animate);

    CBalloonHelp();
    ~CBalloonHelp() override;

    // Makes and shows the balloon. The anchor point is in the parent's
    // client coordinates when a parent is given (the parent is then the
    // anchor window, which the balloon follows), else in screen
    // coordinates. A time-out of 0 never closes the balloon by itself. The
    // icon is copied; the caller keeps it. FALSE, with no window, when the
    // window class or the window cannot be made, or when the thread already
    // has the most live balloons its hooks can serve (kMaxLiveBalloons).
    BOOL Create(const CString& title, const CString& content, const CPoint& anchor, unsigned int options,
                CWnd* parent = nullptr, const CString& url = CString(), unsigned int timeout = 0,
                HICON icon = nullptr);

    // Replaces the brand tokens in title and content, makes a balloon on the
    // heap with the icon resource (looked for in the current resource
    // module, then the library, then the system's icons) at the small-icon
    // size, and creates it with unDELETE_THIS_ON_CLOSE added. Returns the
    // balloon, which lives until its window is destroyed, or null when it
    // could not be created (it is then deleted, and its icon with it).
    static CBalloonHelp* LaunchBalloon(const CString& title, const CString& content, const CPoint& anchor,
                                       const char* iconName = IDI_EXCLAMATION,
                                       unsigned int options = unSHOW_CLOSE_BUTTON, CWnd* parent = nullptr,
                                       const CString& url = CString(), unsigned int timeout = 10000);
    // An error note at the point: title "Error:", the exclamation icon,
    // closed by a key press or a mouse move, no fade out, 3 seconds.
    static CBalloonHelp* LaunchExclamationError(const CString& content, const CPoint& anchor,
                                                CWnd* parent = nullptr);

    // Setters. On a live balloon a change lays the window out again (text,
    // fonts, icon, anchor), restarts the time-out or repaints (colours).
    void SetTitle(const CString& title);
    void SetContent(const CString& content);
    // The font stays the caller's and must outlive the balloon. By default
    // the content uses the system's GUI font and the title a bold copy.
    void SetTitleFont(HFONT font);
    void SetContentFont(HFONT font);
    void SetIcon(HICON icon);
    void SetIconScaled(HICON icon, int width, int height);
    // A bitmap whose pixels of the transparent colour are left out.
    void SetIcon(HBITMAP bitmap, COLORREF transparent);
    // A bitmap with a monochrome mask (white pixels are left out).
    void SetIcon(HBITMAP bitmap, HBITMAP mask);
    // One image of an image list.
    void SetIcon(HIMAGELIST imageList, int index);
    void SetURL(const CString& url);
    void SetAnchorPoint(const CPoint& anchor, CWnd* anchorWnd = nullptr);
    void SetTimeout(unsigned int timeout);
    void SetMouseMoveTolerance(int tolerance);
    void SetForegroundColor(COLORREF color);
    void SetBackgroundColor(COLORREF color);

    const CString& GetTitle() const { return m_strTitle; }
    const CString& GetContent() const { return m_strContent; }
    const CString& GetURL() const { return m_strURL; }
    unsigned int GetOptions() const { return m_unOptions; }
    int GetMouseMoveTolerance() const { return m_nMouseMoveTolerance; }
    // The quadrant of the last layout (see BalloonGeometry.h).
    int GetQuadrant() const { return m_placement.quadrant; }
    // The close button, in client coordinates; empty without one.
    CRect GetCloseRect() const;
    // The area of title and content, in client coordinates.
    CRect GetInnerRect() const { return m_placement.inner; }
    // The hooks installed now (null where none is): keyboard, mouse and
    // returned messages. For tests that check they go with the window.
    HHOOK GetHookForTesting(int kind) const;

    // How many balloons one thread can have alive at once.
    static constexpr int kMaxLiveBalloons = 16;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnTimer(UINT_PTR id) override;
    void OnClose() override;
    void OnDestroy() override;
    void PostNcDestroy() override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message) override;
    void OnCaptureChanged(HWND newCapture) override;

private:
    struct _ThunkImpl;
    friend struct _ThunkImpl;
    enum HookKind { KeyboardHook = 0, MouseHook = 1, CallWndRetHook = 2 };

    // Binds this balloon to a free slot of the thread's hook procedures;
    // false when every slot is taken.
    bool InitThunk();
    void ReleaseThunk();
    // The hook procedure of the kind that calls this balloon.
    HOOKPROC GetThunk(HookKind kind) const;
    void InstallHook(HookKind kind);
    void RemoveHooks();

    LRESULT KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
    LRESULT MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
    LRESULT CallWndRetHookProc(int code, WPARAM wParam, LPARAM lParam);
    bool MouseClosesOn(WPARAM message, POINT point) const;
    // Posts one close message; more wait until it has been handled.
    void RequestClose();

    void PositionWindow();
    CSize MeasureContent();
    void ShowBalloon();
    void HideBalloon();
    void StartTimeout();
    void Draw(CDC& dc);
    void DrawCloseButton(CDC& dc);
    void MakeDefaultFonts();
    void SetIconList(HIMAGELIST list);
    bool HasWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }

    struct ImageListDeleter {
        void operator()(HIMAGELIST list) const { ::ImageList_Destroy(list); }
    };

    AnimateWindowFn m_fnAnimateWindow = nullptr;
    HHOOK m_hooks[3] {};
    int m_nThunkSlot = -1;
    CFontHandle m_hTitleFont;
    CFontHandle m_hContentFont;
    CFont m_ownedTitleFont;
    CFont m_linkFont;
    unsigned int m_unOptions = 0;
    unsigned int m_unTimeout = 0;
    UINT_PTR m_unTimerClose = 0;
    CString m_strTitle;
    CString m_strContent;
    CString m_strURL;
    HWND m_hwndAnchor = nullptr;
    CPoint m_ptAnchor;
    std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter> m_ilIcon;
    COLORREF m_crBackground;
    COLORREF m_crForeground;
    CRgn m_rgnComplete;
    orv::controls::BalloonPlacement m_placement;
    CPoint m_ptMouseOrig;
    int m_nMouseMoveTolerance = 3;
    CRect m_screenRect;
    CSize m_headerSize;
    CSize m_iconSize;
    // The close button: pressed (the mouse captured by it) and whether the
    // mouse is over it while pressed.
    bool m_bClosePressed = false;
    bool m_bCloseHot = false;
    bool m_bCaptureForClose = false;
    bool m_bClosePosted = false;
    bool m_bCreated = false;
};
