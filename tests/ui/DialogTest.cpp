#include "UiHarness.h"
#include "UiTestResources.h"

#include "framework/win/Controls.h"
#include "framework/win/Dialog.h"
#include "platform/ModuleState.h"
#include "framework/WinApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <tuple>

using namespace orv::ui;

namespace {

// The order ticket of the test resources, with one value of each exchanged
// kind and a subclassed edit.
class COrderDialog : public CDialog {
public:
    explicit COrderDialog(CWnd* parent = nullptr) : CDialog(IDD_TEST_DIALOG, parent) {}

    int m_quantity = 100;
    CString m_symbol = "IBM";
    double m_price = 12.5;
    int m_allOrNone = 1;
    CEdit m_symbolEdit;
    bool m_symbolSubclassedDuringDialog = false;
    // Runs once the dialog is up, from inside its message loop.
    std::function<void(COrderDialog&)> m_script;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, IDC_TEST_NUMBER, m_quantity);
        DDX_Text(dx, IDC_TEST_NAME, m_symbol);
        DDX_Text(dx, IDC_TEST_PRICE, m_price);
        DDX_Check(dx, IDC_TEST_CHECK, m_allOrNone);
        DDX_Control(dx, IDC_TEST_NAME, m_symbolEdit);
    }
    BOOL OnInitDialog() override
    {
        const BOOL result = CDialog::OnInitDialog();
        m_symbolSubclassedDuringDialog = CWnd::FromHandlePermanent(GetDlgItem(IDC_TEST_NAME)) == &m_symbolEdit;
        if (m_script)
            PostMessage(WM_APP);
        return result;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP && m_script) {
            auto script = m_script;
            m_script = nullptr;
            script(*this);
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
};

void ClickButton(CWnd& dialog, int id)
{
    PostClick(dialog.GetDlgItem(id), CPoint(10, 5));
}

// Raises from its initialisation, or from OK.
class CRaisingDialog : public COrderDialog {
public:
    using COrderDialog::COrderDialog;
    bool m_raiseInInit = false;

protected:
    BOOL OnInitDialog() override
    {
        COrderDialog::OnInitDialog();
        if (m_raiseInInit)
            throw std::runtime_error("init failed");
        return TRUE;
    }
    void OnOK() override { throw std::runtime_error("OK failed"); }
};

} // namespace

TEST(Dialog, HandlerExceptionEndsTheModalDialogAndLeavesDoModal)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "Owner", WS_POPUP | WS_VISIBLE, TestFrameRect(), nullptr, 0));
    for (bool raiseInInit : {true, false}) {
        CRaisingDialog dialog(&owner);
        dialog.m_raiseInInit = raiseInInit;
        // Cancel behind OK ends the dialog if the exception were lost.
        dialog.m_script = [](COrderDialog& dlg) {
            ClickButton(dlg, IDOK);
            dlg.PostMessage(WM_COMMAND, IDCANCEL);
        };
        EXPECT_EQ(RaisedBy([&] { dialog.DoModal(); }), raiseInInit ? "init failed" : "OK failed");
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
        EXPECT_EQ(::FindWindowA(nullptr, "Order ticket"), nullptr);
        EXPECT_TRUE(owner.IsWindowEnabled());
    }
}

TEST(Dialog, ModalDialogLoadsTheControlsSavesThemOnOkOnlyAndEndsWithTheCodeItIsGiven)
{
    COrderDialog dialog;
    dialog.m_script = [](COrderDialog& dlg) {
        EXPECT_EQ(ReadWindowText(dlg.GetDlgItem(IDC_TEST_NUMBER)), "100");
        EXPECT_EQ(ReadWindowText(dlg.GetDlgItem(IDC_TEST_NAME)), "IBM");
        EXPECT_EQ(ReadWindowText(dlg.GetDlgItem(IDC_TEST_PRICE)), "12.5");
        EXPECT_EQ(::SendMessageA(dlg.GetDlgItem(IDC_TEST_CHECK), BM_GETCHECK, 0, 0), BST_CHECKED);
        SaveScreenshot(dlg, "DialogOrderTicket");
        dlg.SetDlgItemText(IDC_TEST_NUMBER, " 250 ");
        dlg.SetDlgItemText(IDC_TEST_NAME, "MSFT");
        dlg.SetDlgItemText(IDC_TEST_PRICE, "99.25");
        // A real click on the check box clears it.
        PostClick(dlg.GetDlgItem(IDC_TEST_CHECK), CPoint(5, 5));
        ClickButton(dlg, IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(dialog.m_symbolSubclassedDuringDialog);
    EXPECT_EQ(std::tuple(dialog.m_quantity, dialog.m_symbol, dialog.m_price, dialog.m_allOrNone),
              std::tuple(250, CString("MSFT"), 99.25, 0));
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dialog.m_symbolEdit.GetSafeHwnd(), nullptr);

    // Other ends give their code and save nothing.
    const struct { std::function<void(COrderDialog&)> script; INT_PTR result; } cases[] = {
        {[](COrderDialog& dlg) { dlg.SetDlgItemText(IDC_TEST_NUMBER, "5"), ClickButton(dlg, IDCANCEL); }, IDCANCEL},
        // The dialog manager turns Escape into IDCANCEL through
        // IsDialogMessage in the modal loop.
        {[](COrderDialog& dlg) { ::PostMessageA(dlg.GetDlgItem(IDC_TEST_NUMBER), WM_KEYDOWN, VK_ESCAPE, 1); },
         IDCANCEL},
        {[](COrderDialog& dlg) { dlg.SetDlgItemText(IDC_TEST_NUMBER, "5"), dlg.EndDialog(42); }, 42},
    };
    for (const auto& c : cases) {
        COrderDialog ended;
        ended.m_script = c.script;
        EXPECT_EQ(ended.DoModal(), c.result);
        EXPECT_EQ(ended.m_quantity, 100);
    }
}

TEST(Dialog, UnreadableNumberKeepsTheDialogOpenWithTheFocusOnItAndWholeNumbersMustFitTheirType)
{
    COrderDialog dialog;
    bool stayedOpen = false;
    bool focusOnQuantity = false;
    dialog.m_script = [&](COrderDialog& dlg) {
        dlg.SetDlgItemText(IDC_TEST_NUMBER, "12x");
        dlg.SetDlgItemText(IDC_TEST_NAME, "AAPL");
        // Start with the focus elsewhere, so that the failure must move it.
        ::SetFocus(dlg.GetDlgItem(IDC_TEST_PRICE));
        ClickButton(dlg, IDOK);
        PumpPending(); // the posted click, and OnOK behind it
        stayedOpen = dlg.IsWindowVisible() != FALSE;
        focusOnQuantity = ::GetFocus() == dlg.GetDlgItem(IDC_TEST_NUMBER);
        // Out of range for an int.
        dlg.SetDlgItemText(IDC_TEST_NUMBER, "99999999999");
        EXPECT_FALSE(dlg.UpdateData(TRUE));
        dlg.SetDlgItemText(IDC_TEST_NUMBER, "7");
        ClickButton(dlg, IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(focusOnQuantity);
    EXPECT_EQ(dialog.m_quantity, 7);
    EXPECT_EQ(dialog.m_symbol, "AAPL");

    // The numeric exchange takes whole numbers of the type only.
    COrderDialog modeless;
    ASSERT_TRUE(modeless.Create(IDD_TEST_DIALOG));
    auto save = [&](const char* text, auto& value) {
        modeless.SetDlgItemText(IDC_TEST_PRICE, text);
        CDataExchange dx(&modeless, TRUE);
        DDX_Text(&dx, IDC_TEST_PRICE, value);
        return !dx.Failed();
    };
    UINT count = 5;
    EXPECT_TRUE(save("4294967295", count));
    EXPECT_EQ(count, 4294967295u);
    EXPECT_FALSE(save("4294967296", count));
    EXPECT_FALSE(save("-1", count));
    EXPECT_EQ(count, 4294967295u); // unchanged by a failure
    long size = 0;
    EXPECT_TRUE(save(" -2147483648 ", size));
    EXPECT_EQ(size, -2147483647L - 1);
    EXPECT_FALSE(save("", size));
    double price = 1.5;
    EXPECT_TRUE(save(" 3.25 ", price));
    EXPECT_DOUBLE_EQ(price, 3.25);
    EXPECT_FALSE(save("1e400", price));
    EXPECT_FALSE(save("3.25 USD", price));
    EXPECT_DOUBLE_EQ(price, 3.25);

    // Loading writes the value's text; an unknown control fails.
    CDataExchange load(&modeless, FALSE);
    DDX_Text(&load, IDC_TEST_PRICE, count);
    EXPECT_EQ(ReadWindowText(modeless.GetDlgItem(IDC_TEST_PRICE)), "4294967295");
    EXPECT_FALSE(load.Failed());
    DDX_Text(&load, 4242, count);
    EXPECT_TRUE(load.Failed());
    modeless.DestroyWindow();
}

TEST(Dialog, ModelessDialogRegistersWithTheApplicationUntilItIsDestroyed)
{
    CWinApp app("OrvUiTests");

    COrderDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG));
    EXPECT_FALSE(dialog.IsModal());
    EXPECT_EQ(app.GetModelessCount(), 1);
    EXPECT_EQ(ReadWindowText(dialog.GetDlgItem(IDC_TEST_NUMBER)), "100");

    // Tab is the dialog manager's, reached through the application's
    // pre-translation: the focus moves off the first edit.
    HWND first = dialog.GetDlgItem(IDC_TEST_NUMBER);
    ::SetFocus(first);
    MSG tab {first, WM_KEYDOWN, VK_TAB, 1, 0, {0, 0}};
    EXPECT_TRUE(app.PreTranslateMessage(&tab));
    EXPECT_NE(::GetFocus(), first);

    ClickButton(dialog, IDCANCEL);
    ASSERT_TRUE(PumpUntil([&] { return dialog.GetSafeHwnd() == nullptr; }));
    EXPECT_EQ(app.GetModelessCount(), 0);
}

TEST(Dialog, TemplateIsFoundInTheCurrentResourceModuleOrNotAtAll)
{
    CDialog missing(9999);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_FALSE(missing.Create(9999));

    // With a module that lacks the template current, neither it nor the
    // library has the dialog.
    AfxSetResourceHandle(::GetModuleHandleA("kernel32.dll"));
    EXPECT_EQ(AfxGetResourceHandle(), ::GetModuleHandleA("kernel32.dll"));
    COrderDialog elsewhere;
    EXPECT_EQ(elsewhere.DoModal(), -1);
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());
    EXPECT_NE(AfxGetLibraryHandle(), AfxGetInstanceHandle());
}

