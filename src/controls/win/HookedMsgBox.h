// CHookedMsgBox, the application's message box: the system's native message
// box taken over while it is made, with markup, extra buttons, colours, a
// list block, a do-not-ask-again check box and an embedded dialog.
// CHookedMsgBoxStatic (its text), CHookedMsgBoxListBox (its list block) and
// CHookedMsgBoxCheckbox (its check boxes) serve it.
#pragma once

#include "OrvApi.h"
#include "controls/DoNotAgainMap.h"
#include "controls/HookedMsgBoxText.h"
#include "framework/Section.h"
#include "framework/win/Controls.h"
#include "framework/win/Dialog.h"
#include "framework/win/Gdi.h"

#include <vector>

class CDC;
class CHookedMsgBox;
class CNimHoverButton;
class CWinApp;

// The list block: a list box on the button-face colour.
class ORV_API CHookedMsgBoxListBox : public CListBox {
public:
    CHookedMsgBoxListBox();

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    CBrush m_brush;
};

// The native box's text control, taken over. It lays the text out once,
// draws bold runs itself and shows a list block in a list box.
class ORV_API CHookedMsgBoxStatic : public CStatic {
public:
    explicit CHookedMsgBoxStatic(CHookedMsgBox* box) : m_pMsgBox(box) {}

    // Lays the text (leading elements cut, list markers kept) out in the
    // static and the box; returns how much wider the static became that the
    // box has not grown by already.
    int Layout(const CString& text);
    // Measures (with measure) or draws the text with its bold runs and room
    // for the list box; the width is 0 when the text has no bold run. The
    // static paints itself this way when it has bold runs or a list block.
    CSize MeasureOrDraw(CDC& dc, bool measure);

protected:
    void OnPaint() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateListBox(const hooked_msgbox::LineLayout& layout);
    void GrowForListBox(int oldGap);
    void KeepIconBeside(int top, int bottom);

    CFont m_fontBold;
    std::vector<CString> m_lines;
    std::vector<CString> m_blockLines;
    CHookedMsgBoxListBox m_listBox;
    int m_nLineHeight = 0;
    BOOL m_bHasBold = FALSE;
    CHookedMsgBox* m_pMsgBox;
    int m_nBlockFirst = -1;
    int m_nBlockSize = 0;
    int m_nBlockExtra = 0;
};

// A check box under the text or in an embedded dialog. On a box with an
// order background colour it draws its label on that colour.
class ORV_API CHookedMsgBoxCheckbox : public CButton {
public:
    explicit CHookedMsgBoxCheckbox(bool deleteOnDestroy = false) : m_bDeleteOnDestroy(deleteOnDestroy) {}

protected:
    void OnPaint() override;
    void PostNcDestroy() override;

private:
    bool m_bDeleteOnDestroy;
};

class ORV_API CHookedMsgBox : public CDialog {
public:
    // Results of DoMessageBox besides the pressed button's id.
    enum { RefusedSecondBox = 2, SuppressedByAnswer = -2 };
    // Extra buttons close the box only with these ids.
    enum { FirstExtraId = 100, LastExtraId = 105 };

    CHookedMsgBox();
    ~CHookedMsgBox() override;

    // The label is text, a string-resource id below 65536, or null for
    // "Do not show this message in the future".
    static int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0, int doNotAgainId = 0,
                             const char* label = nullptr);
    // Help id -1 makes the string id the help id.
    static int AfxMessageBox(UINT textId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1),
                             int doNotAgainId = 0, const char* label = nullptr);
    static int AfxMessageBox(const char* text, UINT type, UINT helpId, CWnd* childDlg);
    static int AfxMessageBox(UINT textId, UINT type, UINT helpId, CWnd* childDlg);
    // The pressed button's id or an extra button's; 2 when a box is open on
    // this thread already, -2 when a remembered answer suppresses the box,
    // 0 when the native box failed (the last error tells why).
    static int DoMessageBox(CWinApp* app, const char* text, UINT type, UINT helpId, int doNotAgainId,
                            const char* label, CWnd* childDlg);

    static BOOL IsIgnoredDoNotAgainMessage(int messageId);
    // show = TRUE forgets the answer; FALSE remembers "do not show".
    static void SetDoNotAgainMessageStatus(int messageId, BOOL show);
    static CString CreateExtraButtonTag(UINT id, const char* caption)
    {
        return hooked_msgbox::CreateExtraButtonTag(id, caption);
    }
    static CString RemoveSpecialTags(const CString& text) { return hooked_msgbox::RemoveSpecialTags(text); }
    static bool CompareButtonPositions(const CWnd* first, const CWnd* second);

    // Shows the native box with the markup applied; the native result, or
    // the extra button's id when one closed the box.
    int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type, int doNotAgainId,
                    const char* label, CWnd* childDlg);
    const CString& GetOrigText() const { return m_strText; }
    BOOL HasDoNotAgainCheckbox() const { return m_nDoNotAgainId > 0; }
    BOOL HasChildDlg() const { return m_pChildDlg != nullptr; }
    COLORREF GetOrderBkgndColor() const { return m_crOrderBkgnd; }

    // The remembered answers and their lock, shared by all threads.
    static CDoNotAgainMap sm_mapDoNotAgain;
    static CSection sm_sect;
    // Loads the answers when the library loads and saves them, if they
    // changed since, when it unloads.
    struct ORV_API _init {
        _init();
        ~_init();
    };
    static _init sm_init;

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnDestroy() override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnPaint() override;
    void OnSize(UINT type, int cx, int cy) override;
    HBRUSH OnCtlColor(CDC* dc, HWND wnd, UINT ctlType) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnExtraBtn(UINT id);

private:
    friend class CHookedMsgBoxStatic;
    struct Border {
        COLORREF color = hooked_msgbox::kNoColor;
        int width = 3;
        CPen pen;
        CBrush brush;
    };

    void TakeOverChildDialogCheckboxes();
    HWND FindTextControl() const;
    std::vector<HWND> NativeButtons() const;
    void AddCheckbox(int oldClientHeight);
    void EmbedChildDialog(int oldClientHeight);
    void TakeOverButtons(int halfGrowth);
    void CreateExtraButtons();
    void ShiftButtons(int dx, int dy, int rightLimit);
    void Grow(int dx, int dy);
    void CenterOnParent();
    void SampleBandColors();
    void ComputeBandTop();
    void DrawBorder(CDC& dc);
    void PaintBackground(CDC& dc);
    bool IsOwnControl(HWND wnd) const;
    static void SaveAnswersLocked();
    static LRESULT CALLBACK ChildDialogColors(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                              DWORD_PTR data);
    HBRUSH ChildColor(CDC& dc, HWND wnd);

    CStatic m_separator;
    CHookedMsgBoxCheckbox m_checkbox;
    CString m_strCaption;
    CString m_strText;
    CString m_strLabel;
    UINT m_nExtraResult = 0;
    Border m_border;
    CHookedMsgBoxStatic m_static { this };
    int m_nDoNotAgainId = 0;
    std::vector<CNimHoverButton*> m_buttons;
    size_t m_nNativeButtons = 0;
    CWnd* m_pChildDlg = nullptr;
    std::vector<hooked_msgbox::ExtraButton> m_extraButtons;
    COLORREF m_crOrderBkgnd = hooked_msgbox::kNoColor;
    CBrush m_brOrderBkgnd;
    CBrush m_brBand;
    COLORREF m_crTop = hooked_msgbox::kNoColor;
    COLORREF m_crBand = hooked_msgbox::kNoColor;
    int m_nBandTop = -1;
    bool m_bSampled = false;
    int m_nWidthAtInit = 0;
    bool m_bIdleStarted = false;
};
