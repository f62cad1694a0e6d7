#include "controls/win/AutoUpdateDialogs.h"

#include "framework/win/DC.h"
#include "resources/resource.h"
#include "services/AutoUpdateCore.h"

namespace {

constexpr UINT kMarqueeMs = 30;
constexpr COLORREF kWhite = RGB(255, 255, 255);

} // namespace

// ---------------------------------------------------------- CAutoUpdateDlg

CAutoUpdateDlg::CAutoUpdateDlg(UINT templateId) : CDialog(templateId, nullptr)
{
    m_white.CreateSolidBrush(kWhite);
}

BOOL CAutoUpdateDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_title.SubclassDlgItem(IDC_AUTOUPDATE_TITLE, this);
    m_message.SubclassDlgItem(IDC_AUTOUPDATE_MESSAGE, this);
    m_progress.SubclassDlgItem(IDC_AUTOUPDATE_PROGRESS, this);
    if (GetDlgItem(IDOK) != nullptr) {
        m_ok.SubclassDlgItem(IDOK, this);
    }
    if (GetDlgItem(IDCANCEL) != nullptr) {
        m_cancel.SubclassDlgItem(IDCANCEL, this);
    }

    // The bar spans the client area from edge to edge.
    CRect bar = m_progress.GetWindowRect();
    ScreenToClient(&bar);
    m_progress.MoveWindow(CRect(0, bar.top, GetClientRect().Width(), bar.bottom));
    m_progress.SetRange32(0, 100);

    LOGFONTA font {};
    HFONT dialogFont = GetFont();
    if (dialogFont != nullptr && ::GetObjectA(dialogFont, sizeof font, &font) == sizeof font) {
        font.lfHeight = font.lfHeight * 12 / 10;
        font.lfWeight = FW_BOLD;
        if (m_titleFont.CreateFontIndirect(font)) {
            m_title.SetFont(m_titleFont);
        }
    }
    return TRUE;
}

void CAutoUpdateDlg::SetProgressMarquee(bool marquee)
{
    m_progress.SetMarquee(marquee ? TRUE : FALSE, kMarqueeMs);
    if (!marquee) {
        m_progress.SetRange32(0, 100);
    }
}

CRect CAutoUpdateDlg::BandRect() const
{
    CRect band = GetClientRect();
    if (m_progress.GetSafeHwnd() != nullptr) {
        CRect bar = m_progress.GetWindowRect();
        ScreenToClient(&bar);
        band.bottom = bar.top;
    }
    return band;
}

BOOL CAutoUpdateDlg::OnEraseBkgnd(CDC* dc)
{
    const CRect client = GetClientRect();
    const CRect band = BandRect();
    dc->FillSolidRect(band, kWhite);
    dc->FillRect(CRect(client.left, band.bottom, client.right, client.bottom), ::GetSysColorBrush(COLOR_3DFACE));
    return TRUE;
}

HBRUSH CAutoUpdateDlg::OnCtlColor(CDC* dc, HWND wnd, UINT ctlType)
{
    if (ctlType == CTLCOLOR_STATIC && wnd != nullptr) {
        CRect rect;
        ::GetWindowRect(wnd, &rect);
        ScreenToClient(&rect);
        if (rect.bottom <= BandRect().bottom) {
            dc->SetBkMode(TRANSPARENT);
            return m_white;
        }
    }
    return CDialog::OnCtlColor(dc, wnd, ctlType);
}

// ----------------------------------------------------- CBeginAutoUpdateDlg

CBeginAutoUpdateDlg::CBeginAutoUpdateDlg(const CAutoUpdatePrompt& prompt)
    : CAutoUpdateDlg(IDD_AUTOUPDATE_BEGIN), m_prompt(prompt)
{
}

CBeginAutoUpdateDlg::~CBeginAutoUpdateDlg() = default;

BOOL CBeginAutoUpdateDlg::OnInitDialog()
{
    CAutoUpdateDlg::OnInitDialog();
    SetWindowText(m_prompt.m_Title);
    m_title.SetWindowText(m_prompt.m_Heading);
    m_message.SetWindowText(m_prompt.m_Message);
    SetDlgItemText(IDC_AUTOUPDATE_YES, m_prompt.m_YesText);
    SetDlgItemText(IDC_AUTOUPDATE_NO, m_prompt.m_NoText);
    ::CheckRadioButton(m_hWnd, IDC_AUTOUPDATE_YES, IDC_AUTOUPDATE_NO, IDC_AUTOUPDATE_YES);
    SetProgressMarquee(true);

    switch (m_prompt.m_MoreInfo) {
    case CAutoUpdatePrompt::moreInfoHidden:
        ::ShowWindow(GetDlgItem(IDC_AUTOUPDATE_MOREINFO), SW_HIDE);
        break;
    case CAutoUpdatePrompt::moreInfoText:
        SetDlgItemText(IDC_AUTOUPDATE_MOREINFO, m_prompt.m_MoreInfoText);
        break;
    case CAutoUpdatePrompt::moreInfoLink:
        m_link.SubclassDlgItem(IDC_AUTOUPDATE_MOREINFO, this);
        m_link.SetWindowText(m_prompt.m_MoreInfoText);
        m_link.SetURL(m_prompt.m_MoreInfoHref);
        break;
    }

    // The picture is looked up like every resource: a module that brands
    // the application may replace it.
    if (m_bitmap.LoadBitmap(IDB_AUTOUPDATE) && m_picture.SubclassDlgItem(IDC_AUTOUPDATE_PICTURE, this)) {
        m_picture.SetBitmap(m_bitmap);
    }

    m_behaviors.SubclassDlgItem(IDC_AUTOUPDATE_BEHAVIOR, this);
    for (int i = 0; i < m_prompt.m_Behaviors.GetSize(); ++i) {
        m_behaviors.AddString(m_prompt.m_Behaviors[i]);
    }
    m_behaviors.SetCurSel(m_prompt.m_SelectedBehavior);

    // Nothing owns the dialog: it comes to the front by itself.
    ::SetForegroundWindow(m_hWnd);
    return TRUE;
}

void CBeginAutoUpdateDlg::OnOK()
{
    const int behavior = m_behaviors.GetCurSel();
    if (behavior >= 0) {
        CAutoUpdateCore::SetAutoUpdateBehavior(behavior);
    }
    m_bDownload = ::IsDlgButtonChecked(m_hWnd, IDC_AUTOUPDATE_YES) == BST_CHECKED;
    EndDialog(IDOK);
}

void CBeginAutoUpdateDlg::OnCancel()
{
    // No Cancel: Escape and the close box leave the question open.
}

// ---------------------------------------------------- CAutoUpdateStatusDlg

CAutoUpdateStatusDlg::CAutoUpdateStatusDlg() : CAutoUpdateDlg(IDD_AUTOUPDATE_STATUS)
{
    // The dialog runs its own loop on the update thread, not the
    // application's.
    m_bListWithApp = false;
}

BOOL CAutoUpdateStatusDlg::Create(DWORD sizeOfUpdate)
{
    if (!CDialog::Create(IDD_AUTOUPDATE_STATUS, nullptr)) {
        return FALSE;
    }
    SetProgressMarquee(sizeOfUpdate == 0);
    ShowWindow(SW_SHOW);
    UpdateWindow();
    return TRUE;
}

void CAutoUpdateStatusDlg::SetHeading(const char* text)
{
    m_title.SetWindowText(text);
}

void CAutoUpdateStatusDlg::ShowProgress(const char* text, int percent)
{
    SetDlgItemText(IDC_AUTOUPDATE_STATUS, text);
    if (percent >= 0 && percent <= 100) {
        m_progress.SetPos(percent);
    }
}

bool CAutoUpdateStatusDlg::IsCancelled()
{
    PeekAndPump();
    return m_bCancelled;
}

void CAutoUpdateStatusDlg::MarkComplete()
{
    SetProgressMarquee(false);
    m_progress.SetPos(100);
    SetDlgItemText(IDC_AUTOUPDATE_STATUS, "Download complete, press OK to install.");
    m_cancel.ShowWindow(SW_HIDE);
    m_ok.ShowWindow(SW_SHOW);
    EnableWindow(TRUE);
    m_ok.SetFocus();
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(m_hWnd);
}

bool CAutoUpdateStatusDlg::WaitForOK()
{
    MSG msg;
    while (!m_bConfirmed && m_hWnd != nullptr) {
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        DispatchOne(msg);
    }
    return m_bConfirmed;
}

bool CAutoUpdateStatusDlg::PeekAndPump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        DispatchOne(msg);
    }
    return true;
}

void CAutoUpdateStatusDlg::DispatchOne(MSG& msg)
{
    if (m_hWnd != nullptr && ::IsDialogMessageA(m_hWnd, &msg)) {
        return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
}

void CAutoUpdateStatusDlg::OnOK()
{
    m_bConfirmed = true;
}

void CAutoUpdateStatusDlg::OnCancel()
{
    // Escape and the close box also cancel, but only while Cancel shows.
    if (m_cancel.GetSafeHwnd() == nullptr || m_cancel.IsWindowVisible()) {
        m_bCancelled = true;
        m_cancel.EnableWindow(FALSE);
    }
}

void CAutoUpdateStatusDlg::PostNcDestroy()
{
    // The manager owns the object; the window alone is gone.
}
