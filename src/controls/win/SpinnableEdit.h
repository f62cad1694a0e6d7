// CNimSpinnableEdit: a hover edit that owns an up-down control and keeps it
// at its right side. The spin calls the edit's ChangeAmount, CanIncrement
// and CanDecrement; this class answers them with nothing to step, and
// CNimNumEdit gives them a number.
#pragma once

#include "OrvApi.h"
#include "controls/win/HoverEdit.h"
#include "controls/win/HoverSpin.h"

#include <memory>

class ORV_API CNimSpinnableEdit : public CNimHoverEdit, public INimSpinBuddy {
public:
    // What the edit does for a spin when its window comes.
    enum : UINT {
        kAttachNextSpin = 0, // take over the first following sibling up-down control
        kNoSpin = 1,         // none
        // any other value: create an up-down control with this control id
    };

    // A spin object given here (or through SetSpin) stays the caller's; the
    // edit uses it in place of one of its own. A spin the edit makes itself
    // is the edit's and goes with it.
    explicit CNimSpinnableEdit(UINT spinId = kNoSpin, CNimHoverSpin* spin = nullptr);
    ~CNimSpinnableEdit() override;

    // Each marks the edit as created here, so that the spin is set up once
    // the window exists (on its creation message).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                  HWND parent, UINT_PTR id) override;

    CNimHoverSpin* GetSpin() const { return m_pSpin; }
    // Only while the edit has no spin; FALSE otherwise.
    BOOL SetSpin(CNimHoverSpin* spin);
    // Only before the edit has a window; FALSE otherwise.
    BOOL SetSpinId(UINT spinId);
    UINT GetSpinId() const { return m_nSpinId; }
    // Detaches and attaches the spin again, so that it follows a moved edit.
    void RepositionSpin();
    // A window that lights up with the edit (a label or a button beside
    // it); not owned.
    void SetOtherBuddy(CWnd* other);
    CWnd* GetOtherBuddy() const { return m_pOtherBuddy; }

    // The spin's operations: nothing to step here.
    void ChangeAmount(int steps) override;
    BOOL CanIncrement() override;
    BOOL CanDecrement() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(CREATESTRUCTA* cs) override;
    void PreSubclassWindow() override;
    void OnDestroy() override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    void OnSetFocus(HWND oldFocus) override;
    void OnKillFocus(HWND newFocus) override;
    // Enables or disables the spin with the edit.
    void OnEnable(BOOL enable) override;
    void OnShowWindow(BOOL show, UINT status) override;

    // Lit while focused, under the mouse, while the spin is under the mouse
    // or while the other buddy says it is tracking.
    BOOL IsHot() const override;
    // Whether the mouse is over the edit or its spin.
    bool IsMouseOverEditOrSpin() const;
    void RepaintBuddies();
    // Makes or takes over the spin and attaches it; once. A spin it makes
    // is shown when the edit is (or is about to be) visible.
    void CreateOrAttachSpin(bool visible);

    bool m_bSubclassed { false };
    bool m_bCreated { false };
    bool m_bSpinDone { false };
    bool m_bMadeSpinWindow { false };
    bool m_bAsking { false };
    UINT m_nSpinId;
    CNimHoverSpin* m_pSpin;
    CWnd* m_pOtherBuddy { nullptr };

private:
    std::unique_ptr<CNimHoverSpin> m_ownSpin;
};
