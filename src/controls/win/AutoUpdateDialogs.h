// The update manager's dialogs: CAutoUpdateDlg (what both share),
// CBeginAutoUpdateDlg (the offer of an update) and CAutoUpdateStatusDlg (the
// download's progress). They run on the update worker's thread, without an
// owner window.
#pragma once

#include "OrvApi.h"
#include "controls/win/HoverButton.h"
#include "controls/win/HoverCombo.h"
#include "controls/win/HyperLink.h"
#include "framework/win/Controls.h"
#include "framework/win/Dialog.h"
#include "framework/win/Gdi.h"
#include "services/AutoUpdateCheck.h"

// Binds the title (12010), message (12011), progress bar (12000), OK and
// Cancel as hover buttons; stretches the bar over the full client width,
// gives the title a bold font 1.2 times the dialog font's height and paints
// the band above the bar white.
class ORV_API CAutoUpdateDlg : public CDialog {
public:
    explicit CAutoUpdateDlg(UINT templateId);

    // The progress bar counting 0 to 100, or running as a marquee.
    void SetProgressMarquee(bool marquee);

protected:
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    HBRUSH OnCtlColor(CDC* dc, HWND wnd, UINT ctlType) override;

    // The client rectangle above the progress bar.
    CRect BandRect() const;

    CStatic m_title;
    CStatic m_message;
    CProgressCtrl m_progress;
    CNimHoverButton m_ok;
    CNimHoverButton m_cancel;

private:
    CFont m_titleFont;
    CBrush m_white;
};

// The offer of an update (template 12024), texts from the prompt. It has no
// Cancel: Escape and the close box do nothing. OK stores the chosen
// behaviour and ends the dialog.
class ORV_API CBeginAutoUpdateDlg : public CAutoUpdateDlg {
public:
    explicit CBeginAutoUpdateDlg(const CAutoUpdatePrompt& prompt);
    ~CBeginAutoUpdateDlg() override;

    // After OK: whether the first choice (download now) was selected.
    bool WantsDownload() const noexcept { return m_bDownload; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    CAutoUpdatePrompt m_prompt;
    CNimHoverCombo m_behaviors;
    CHyperLink m_link;
    CStatic m_picture;
    CBitmap m_bitmap;
    bool m_bDownload = false;
};

// The download's progress (template 12025), made modeless and shown.
// Cancel only marks the download cancelled; once complete, OK ends the
// wait of WaitForOK.
class ORV_API CAutoUpdateStatusDlg : public CAutoUpdateDlg, public IAutoUpdateProgress {
public:
    CAutoUpdateStatusDlg();

    // Makes and shows the dialog without an owner; the bar counts to 100
    // for a known size and runs as a marquee for size 0.
    BOOL Create(DWORD sizeOfUpdate);
    void SetHeading(const char* text);

    // The text, as the check words it, on the progress line; percent 0 to
    // 100 sets the bar.
    void ShowProgress(const char* text, int percent) override;
    // Handles the thread's pending messages, then answers whether Cancel
    // was pressed.
    bool IsCancelled() override;

    // "Download complete, press OK to install.", the bar full, Cancel
    // hidden and OK shown; the dialog enabled and brought to the top.
    void MarkComplete();
    // Runs the thread's messages until OK is pressed (true) or the dialog
    // or the thread's loop ends (false).
    bool WaitForOK();

    // Handles this thread's waiting messages; false when a WM_QUIT came,
    // which is posted again for the thread's own loop.
    bool PeekAndPump();

protected:
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;

private:
    void DispatchOne(MSG& msg);

    bool m_bCancelled = false;
    bool m_bConfirmed = false;
};
