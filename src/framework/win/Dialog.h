// CDialog, a dialog window made from a dialog resource, modal or modeless,
// and dialog data exchange: CDataExchange and the DDX_ functions.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "framework/win/Wnd.h"

#include <functional>

class CDataExchange;
class CHandlerErrorScope;
class CWndCreation;

class ORV_API CDialog : public CWnd {
public:
    CDialog() = default;
    // The template is looked up when the dialog is made, in the current
    // resource module and then in this library (see ModuleState.h).
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(const char* templateName, CWnd* parent = nullptr);
    ~CDialog() override;

    // Shows the dialog and returns when it ends, with the code given to
    // EndDialog, or -1 when it could not be made. The parent (else the
    // application's main window, when it belongs to the calling thread) is
    // disabled meanwhile. An exception raised
    // by a handler while the dialog is made or runs ends the dialog and
    // leaves DoModal once the dialog is gone and the parent enabled again.
    virtual INT_PTR DoModal();
    // Makes the dialog modeless. It ends with DestroyWindow.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL Create(const char* templateName, CWnd* parent = nullptr);

    // A modal dialog returns result from DoModal; a modeless one is
    // destroyed.
    void EndDialog(INT_PTR result);
    // Moves values between the controls and the object: from the object to
    // the controls with save FALSE, back with TRUE. Returns FALSE when a
    // control holds a value that cannot be read; focus is then on it.
    BOOL UpdateData(BOOL save = TRUE);
    BOOL IsModal() const noexcept { return m_bModal; }

    // Runs show, which makes and runs a dialog of the system's own (a native
    // message box), with the first window made on this thread meanwhile
    // adopted by this object: the object takes its messages from its
    // creation on, while its initialisation, commands, OK and Cancel keep
    // going to the dialog's own procedure unless a derived class handles
    // them. Returns what show returns; an exception raised by a handler
    // leaves here once show has returned.
    INT_PTR RunAdopted(const std::function<INT_PTR()>& show);
    // Stops adopting: the next window made on this thread stays the
    // system's. Called at the latest from the adopted window's OnCreate.
    void StopAdopting();
    BOOL IsAdopted() const noexcept { return m_bAdopted; }

protected:
    // Called once the controls exist. The default loads the controls from
    // the object (UpdateData(FALSE)), or for an adopted dialog runs the
    // dialog's own initialisation. Return TRUE to let the system put the
    // focus on the first control.
    virtual BOOL OnInitDialog();
    // The default saves the controls (UpdateData(TRUE)) and ends with IDOK
    // when that succeeds.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    // Whether a modeless dialog joins the application's list of modeless
    // windows (which the application's loop serves). A dialog of another
    // thread, which runs its own loop, sets it false before it is made.
    bool m_bListWithApp = true;

private:
    BOOL CreateFromTemplate(HWND parent);
    void RunModalLoop(const CHandlerErrorScope& errors);
    HWND OwnerForModal() const;

    CString m_templateName;
    UINT m_templateId = 0;
    CWnd* m_pParentWnd = nullptr;
    bool m_bModal = false;
    bool m_bEndModal = false;
    bool m_bAdopted = false;
    bool m_bListedModeless = false;
    INT_PTR m_nModalResult = -1;
    CWndCreation* m_adoption = nullptr; // owned while adopting
};

// The direction and target of one data exchange.
class ORV_API CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL save);

    // The control with the identifier, or null when the dialog has none.
    // The control is remembered as the one to focus on failure.
    HWND PrepareCtrl(int id);
    // Marks the exchange failed and puts the focus on the last prepared
    // control.
    void Fail();
    bool Failed() const noexcept { return m_bFailed; }

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;

private:
    HWND m_hWndLastControl = nullptr;
    bool m_bFailed = false;
};

// Text of an edit or other control. The numeric forms fail on text that is
// not wholly a number of the type (spaces around it are allowed), or that
// is out of the type's range, leaving the value unchanged.
ORV_API void DDX_Text(CDataExchange* dx, int id, CString& value);
ORV_API void DDX_Text(CDataExchange* dx, int id, int& value);
ORV_API void DDX_Text(CDataExchange* dx, int id, UINT& value);
ORV_API void DDX_Text(CDataExchange* dx, int id, long& value);
ORV_API void DDX_Text(CDataExchange* dx, int id, double& value);
// The check state of a check box or radio button (0, 1 or 2).
ORV_API void DDX_Check(CDataExchange* dx, int id, int& value);
// Subclasses the dialog's control with the object the first time.
ORV_API void DDX_Control(CDataExchange* dx, int id, CWnd& control);
