#include "framework/win/Dialog.h"

#include "platform/ModuleState.h"
#include "framework/WinApp.h"
#include "framework/win/WndCreation.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

// The dialog window is subclassed by its object from its first message, so
// the dialog procedure itself only lets the dialog manager do the rest.
INT_PTR CALLBACK PassDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

const char* TemplateName(const CString& name, UINT id)
{
    return id != 0 ? MAKEINTRESOURCEA(id) : name.GetString();
}

} // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

CDialog::CDialog(const char* templateName, CWnd* parent)
    : m_templateName(templateName != nullptr ? templateName : ""), m_pParentWnd(parent)
{
}

CDialog::~CDialog()
{
    StopAdopting();
}

INT_PTR CDialog::RunAdopted(const std::function<INT_PTR()>& show)
{
    if (m_hWnd != nullptr)
        return 0;
    m_bAdopted = true;
    CHandlerErrorScope errors;
    m_adoption = new CWndCreation(this);
    INT_PTR result = 0;
    if (m_adoption->Hooked())
        result = show();
    StopAdopting();
    // The system destroyed its dialog; the object lets go of it.
    if (m_hWnd != nullptr && !::IsWindow(m_hWnd))
        m_hWnd = nullptr;
    m_bAdopted = false;
    errors.Rethrow();
    return result;
}

void CDialog::StopAdopting()
{
    delete m_adoption;
    m_adoption = nullptr;
}

BOOL CDialog::CreateFromTemplate(HWND parent)
{
    const char* name = TemplateName(m_templateName, m_templateId);
    HINSTANCE module = AfxFindResourceHandle(name, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (module == nullptr || m_hWnd != nullptr)
        return FALSE;
    HRSRC resource = ::FindResourceA(module, name, MAKEINTRESOURCEA(5));
    HGLOBAL loaded = resource != nullptr ? ::LoadResource(module, resource) : nullptr;
    const auto* dialogTemplate = loaded != nullptr ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
    if (dialogTemplate == nullptr)
        return FALSE;

    CHandlerErrorScope errors;
    HWND hWnd = nullptr;
    {
        CWndCreation creation(this);
        if (!creation.Hooked())
            return FALSE;
        hWnd = ::CreateDialogIndirectParamA(module, dialogTemplate, parent, PassDialogProc, 0);
    }
    // A handler that raised took the dialog down (the system may still have
    // answered with its handle); the caller gets the exception.
    if (errors.Failed() && hWnd != nullptr && ::IsWindow(hWnd))
        ::DestroyWindow(hWnd);
    const BOOL created = FinishCreation(errors.Failed() ? nullptr : hWnd);
    errors.Rethrow();
    return created;
}

HWND CDialog::OwnerForModal() const
{
    if (m_pParentWnd != nullptr)
        return m_pParentWnd->GetSafeHwnd();
    // The main window serves only a dialog of its own thread: a window owned
    // across threads ties the two threads' input together, and disabling
    // the owner would wait for a thread that may be waiting for this one.
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->GetMainWnd() != nullptr) {
        HWND main = app->GetMainWnd()->GetSafeHwnd();
        if (main != nullptr && ::GetWindowThreadProcessId(main, nullptr) == ::GetCurrentThreadId())
            return main;
    }
    return nullptr;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd != nullptr)
        return -1;
    HWND owner = OwnerForModal();
    const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);

    m_bModal = true;
    m_bEndModal = false;
    m_nModalResult = -1;
    // A handler that raises while the dialog is made or runs ends the
    // dialog; the exception leaves DoModal once the owner is back.
    CHandlerErrorScope errors;
    try {
        if (CreateFromTemplate(owner))
            RunModalLoop(errors);
    } catch (...) {
        CHandlerErrorScope::Keep(std::current_exception());
    }
    if (disableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner != nullptr && m_hWnd != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    DestroyWindow();
    m_bModal = false;
    errors.Rethrow();
    return m_nModalResult;
}

void CDialog::RunModalLoop(const CHandlerErrorScope& errors)
{
    if (!m_bEndModal && m_hWnd != nullptr)
        ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    MSG msg;
    // The loop also ends when the window goes some other way (its parent
    // destroyed it, for example).
    while (!m_bEndModal && m_hWnd != nullptr && !errors.Failed()) {
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            // Leave WM_QUIT for the application's own loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        CWinApp* app = AfxGetApp();
        if (::IsDialogMessageA(m_hWnd, &msg) || (app != nullptr && app->PreTranslateMessage(&msg)))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_templateId = templateId;
    m_templateName.Empty();
    m_pParentWnd = parent;
    return CreateFromTemplate(parent != nullptr ? parent->GetSafeHwnd() : nullptr);
}

BOOL CDialog::Create(const char* templateName, CWnd* parent)
{
    m_templateId = 0;
    m_templateName = templateName != nullptr ? templateName : "";
    m_pParentWnd = parent;
    return CreateFromTemplate(parent != nullptr ? parent->GetSafeHwnd() : nullptr);
}

void CDialog::EndDialog(INT_PTR result)
{
    if (m_bAdopted) {
        ::EndDialog(m_hWnd, result);
        return;
    }
    if (m_bModal) {
        m_nModalResult = result;
        m_bEndModal = true;
        if (m_hWnd != nullptr)
            ::ShowWindow(m_hWnd, SW_HIDE);
        // Wake the modal loop if this runs outside it.
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
        return;
    }
    DestroyWindow();
}

BOOL CDialog::UpdateData(BOOL save)
{
    if (m_hWnd == nullptr)
        return FALSE;
    CDataExchange dx(this, save);
    DoDataExchange(&dx);
    return !dx.Failed();
}

BOOL CDialog::OnInitDialog()
{
    if (m_bAdopted)
        return static_cast<BOOL>(Default());
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    if (m_bAdopted) {
        Default();
        return;
    }
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        CWinApp* app = AfxGetApp();
        m_bListedModeless = !m_bModal && !m_bAdopted && app != nullptr && m_bListWithApp;
        if (m_bListedModeless)
            app->AddModeless(this);
        return OnInitDialog();
    }
    case WM_DESTROY: {
        CWinApp* app = AfxGetApp();
        if (app != nullptr && m_bListedModeless)
            app->RemoveModeless(this);
        m_bListedModeless = false;
        break;
    }
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM)
{
    // An adopted dialog's own procedure ends it.
    if (HIWORD(wParam) != BN_CLICKED || m_bAdopted)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

void CDialog::PostNcDestroy()
{
}

// ------------------------------------------------------- data exchange

CDataExchange::CDataExchange(CWnd* dialog, BOOL save) : m_pDlgWnd(dialog), m_bSaveAndValidate(save) {}

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = m_pDlgWnd != nullptr ? m_pDlgWnd->GetDlgItem(id) : nullptr;
    if (control != nullptr)
        m_hWndLastControl = control;
    return control;
}

void CDataExchange::Fail()
{
    m_bFailed = true;
    if (m_hWndLastControl == nullptr)
        return;
    ::SetFocus(m_hWndLastControl);
    ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
}

namespace {

bool OnlySpaces(const char* text)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    return *text == '\0';
}

// Reads a whole signed number in [low, high]; false for anything else.
bool ParseSigned(const CString& text, long long low, long long high, long long& value)
{
    const char* begin = text.GetString();
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(begin, &end, 10);
    if (end == begin || errno == ERANGE || !OnlySpaces(end) || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

// The exchange of a number through the control's text; Parse reads the
// text and Print writes the value.
template <class T, class Parse, class Print>
void ExchangeNumber(CDataExchange* dx, int id, T& value, Parse parse, Print print)
{
    HWND control = dx->PrepareCtrl(id);
    if (control == nullptr) {
        dx->Fail();
        return;
    }
    if (!dx->m_bSaveAndValidate) {
        CString text;
        print(text, value);
        ::SetWindowTextA(control, text);
        return;
    }
    T parsed {};
    if (!parse(ReadWindowText(control), parsed)) {
        dx->Fail();
        return;
    }
    value = parsed;
}

} // namespace

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (control == nullptr) {
        dx->Fail();
        return;
    }
    if (dx->m_bSaveAndValidate)
        value = ReadWindowText(control);
    else
        ::SetWindowTextA(control, value);
}

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    ExchangeNumber(
        dx, id, value,
        [](const CString& text, int& out) {
            long long parsed = 0;
            if (!ParseSigned(text, INT_MIN, INT_MAX, parsed))
                return false;
            out = static_cast<int>(parsed);
            return true;
        },
        [](CString& text, int in) { text.Format("%d", in); });
}

void DDX_Text(CDataExchange* dx, int id, long& value)
{
    ExchangeNumber(
        dx, id, value,
        [](const CString& text, long& out) {
            long long parsed = 0;
            if (!ParseSigned(text, LONG_MIN, LONG_MAX, parsed))
                return false;
            out = static_cast<long>(parsed);
            return true;
        },
        [](CString& text, long in) { text.Format("%ld", in); });
}

void DDX_Text(CDataExchange* dx, int id, UINT& value)
{
    ExchangeNumber(
        dx, id, value,
        [](const CString& text, UINT& out) {
            // A minus sign would wrap around in strtoull; it is not a UINT.
            if (text.Find('-') >= 0)
                return false;
            long long parsed = 0;
            if (!ParseSigned(text, 0, UINT_MAX, parsed))
                return false;
            out = static_cast<UINT>(parsed);
            return true;
        },
        [](CString& text, UINT in) { text.Format("%u", in); });
}

void DDX_Text(CDataExchange* dx, int id, double& value)
{
    ExchangeNumber(
        dx, id, value,
        [](const CString& text, double& out) {
            const char* begin = text.GetString();
            char* end = nullptr;
            errno = 0;
            const double parsed = std::strtod(begin, &end);
            if (end == begin || errno == ERANGE || !OnlySpaces(end))
                return false;
            out = parsed;
            return true;
        },
        [](CString& text, double in) { text.Format("%.15g", in); });
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (control == nullptr) {
        dx->Fail();
        return;
    }
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.GetSafeHwnd() != nullptr)
        return;
    HWND item = dx->PrepareCtrl(id);
    if (item == nullptr || !control.SubclassWindow(item))
        dx->Fail();
}
