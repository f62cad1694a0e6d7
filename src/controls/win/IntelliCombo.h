// CNimIntelliCombo: a combo box whose list opens where the mouse pointer is,
// as a context menu does, and lays out tab characters at tab stops so that
// items can carry aligned columns.
//
// The list window is made while the control is created (out of sight), and
// its window procedure is taken over so that every placement of the list
// goes to the pointer: below it, or above it when the list would run past
// the bottom of the screen under the pointer.
#pragma once

#include "OrvApi.h"
#include "framework/win/Controls.h"

class ORV_API CNimIntelliCombo : public CComboBox {
public:
    CNimIntelliCombo() = default;
    ~CNimIntelliCombo() override;

    // Creates the window while a hook gives the list window the tab-stop
    // style; the list is made and taken over before this returns. Every
    // creation path (Create, CreateEx, CComboBox::Create) goes through it.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                  HWND parent, UINT_PTR id) override;

    // Opens the list at the mouse pointer (posted, so it opens once the
    // caller's message is done).
    void ShowComboAtCursor();
    // With the desktop's updates locked: opens the list now and closes it
    // again once the posted close arrives.
    void InitDropDown();

    // The list window once taken over, else null.
    HWND GetListWindow() const { return m_hWndList; }

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    HBRUSH OnCtlColor(CDC* dc, HWND wnd, UINT ctlType) override;
    // The list's colour request: takes the list window over the first time,
    // then answers with the default handling.
    virtual HBRUSH OnCtlColorListBox(CDC* dc, HWND listWnd);
    // The list window's procedure while it is taken over.
    LRESULT ListBoxProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

    static LRESULT CALLBACK CallWndProcHookProc(int code, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticListBoxProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Keeps the list window and routes its messages through ListBoxProc.
    void TakeOverList(HWND listWnd);
    void ReleaseList();

    HWND m_hWndList { nullptr };
    WNDPROC m_pfnPrevListProc { nullptr };
};
