#include "FrameTestWindows.h"

#include "controls/win/DlgToolBar.h"
#include "controls/win/NimSplitterWnd.h"
#include "framework/WinApp.h"
#include "framework/win/ThreadTimer.h"
#include "framework/win/ControlBar.h"

#include <gtest/gtest.h>

#include <string>

using namespace orv::ui;

namespace orv::ui {

constexpr UINT ID_SPLIT_COLUMNS = 32801;
constexpr UINT ID_SPLIT_ROWS = 32802;
constexpr UINT ID_LOCK = 32803;
constexpr UINT ID_REFRESH = 32804;

// The frame a template makes: a toolbar, a rebar holding a second
// toolbar, a status bar and a splitter of two views.
class CBarFrame : public CFrameWnd {
    ORV_DECLARE_DYNCREATE(CBarFrame)

public:
    CToolBar m_toolBar;
    CReBar m_reBar;
    CNoActiveAccessibilityToolbar m_bandBar;
    CStatusBar m_statusBar;
    CNimSplitterWnd m_splitter {this};

protected:
    BOOL OnCreateClient(CREATESTRUCTA*, CCreateContext* context) override
    {
        const UINT ids[] = {ID_SPLIT_COLUMNS, ID_SPLIT_ROWS, ID_SEPARATOR, ID_LOCK, ID_REFRESH};
        const UINT bandIds[] = {ID_LOCK, ID_REFRESH};
        const int edges[] = {200, -1};
        return m_toolBar.Create(m_hWnd) && m_toolBar.LoadBitmap(214) && m_toolBar.SetButtons(ids, 5) &&
               m_reBar.Create(m_hWnd) && m_bandBar.Create(m_hWnd) && m_bandBar.LoadBitmap(214) &&
               m_bandBar.SetButtons(bandIds, 2) && m_reBar.AddBar(&m_bandBar, "Band") && m_statusBar.Create(m_hWnd) &&
               m_statusBar.SetParts(edges, 2) && m_statusBar.SetPaneText(0, "Ready") &&
               m_splitter.CreateStatic(this, 1, 2) &&
               m_splitter.CreateView(0, 0, context->m_pNewViewClass, CSize(150, 0), context) &&
               m_splitter.CreateView(0, 1, context->m_pNewViewClass, CSize(0, 0), context);
    }
};

ORV_IMPLEMENT_DYNCREATE(CBarFrame)

} // namespace orv::ui

namespace {

const DWORD kPopup = WS_POPUP | WS_BORDER | WS_VISIBLE;

CBarFrame* FrameOf(CDocument* document)
{
    return document != nullptr && document->GetViewCount() > 0
               ? dynamic_cast<CBarFrame*>(document->GetView(0)->GetParentFrame())
               : nullptr;
}

class FrameWnd : public ::testing::Test {
protected:
    void SetUp() override { MouseAway(); }
    void TearDown() override
    {
        PumpPending();
        EXPECT_EQ(CTestDoc::sm_live, 0);
        EXPECT_EQ(CPaneView::sm_live, 0);
    }
};

} // namespace

TEST_F(FrameWnd, TemplateMakesDocumentFrameAndViewsThatGoWithTheFrameOrFailsLeavingNothing)
{
    CDocTemplate docTemplate(&NewDocument<CTestDoc>, &CBarFrame::GetThisClass(), &CPaneView::GetThisClass());
    CDocument* document = docTemplate.OpenNewDocument(nullptr, kPopup, TestFrameRect());
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetDocTemplate(), &docTemplate);
    ASSERT_EQ(document->GetViewCount(), 2);
    CBarFrame* frame = FrameOf(document);
    ASSERT_NE(frame, nullptr);
    for (int i = 0; i < 2; ++i) {
        auto* view = dynamic_cast<CPaneView*>(document->GetView(i));
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->GetDocument(), document);
        EXPECT_EQ(view->m_initialUpdates, 1);
    }
    EXPECT_EQ(frame->GetActiveView(), frame->m_splitter.GetPane(0, 0));
    EXPECT_EQ(frame->GetActiveDocument(), document);
    // A change is told to every view but the one that made it.
    document->UpdateAllViews(document->GetView(0), 7);
    EXPECT_EQ(dynamic_cast<CPaneView*>(document->GetView(0))->m_lastHint, 0); // from the initial update
    EXPECT_EQ(dynamic_cast<CPaneView*>(document->GetView(1))->m_lastHint, 7);

    // Bars along the top and bottom, the splitter between them.
    const CRect client = frame->GetClientRect();
    const CRect tools = RectInParent(frame->m_toolBar), band = RectInParent(frame->m_reBar),
                status = RectInParent(frame->m_statusBar), pane = RectInParent(frame->m_splitter);
    EXPECT_EQ(tools.top, 0);
    EXPECT_GT(tools.Height(), 15);
    EXPECT_EQ(band.top, tools.bottom);
    EXPECT_EQ(pane.top, band.bottom);
    EXPECT_EQ(pane.bottom, status.top);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(pane.Width(), client.Width());
    EXPECT_EQ(frame->m_statusBar.GetPaneText(0), "Ready");
    SaveScreenshot(*frame, "FrameWnd-bars-and-splitter");

    frame->DestroyWindow();
    // TearDown checks that the document and the views are gone.

    // Opening fails without leaving anything when a class is of the wrong
    // kind.
    struct Case {
        const char* name;
        const CRuntimeClass* frameClass;
        const CRuntimeClass* viewClass;
    } cases[] = {
        {"frame class is a view", &CPaneView::GetThisClass(), &CPaneView::GetThisClass()},
        {"view class is a frame", &CBarFrame::GetThisClass(), &CFrameWnd::GetThisClass()},
        {"no view class", &CBarFrame::GetThisClass(), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDocTemplate failing(&NewDocument<CTestDoc>, c.frameClass, c.viewClass);
        const GuiCounts before = CountGuiHandles();
        EXPECT_EQ(failing.OpenNewDocument(nullptr, kPopup, TestFrameRect()), nullptr);
        PumpPending();
        EXPECT_EQ(CTestDoc::sm_live, 0);
        EXPECT_EQ(CPaneView::sm_live, 0);
        EXPECT_EQ(CountGuiHandles().user, before.user);
    }
}

TEST_F(FrameWnd, CommandsReachTheActiveViewBeforeTheFrame)
{
    CRecordingFrame frame;
    ASSERT_TRUE(frame.Create("Routing"));
    CView* view = CView::CreateFromClass(&CPaneView::GetThisClass(), frame, AFX_IDW_PANE_FIRST, CRect(0, 0, 10, 10),
                                         nullptr);
    ASSERT_NE(view, nullptr);
    struct Case {
        const char* name;
        bool viewHandles, frameHandles, viewActive;
        const char* ran;
    } cases[] = {
        {"both", true, true, true, "view"},
        {"frame only", false, true, true, "frame"},
        {"view only", true, false, true, "view"},
        {"view not active", true, true, false, "frame"},
        {"neither", false, false, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string ran;
        view->SetCommandHandler(ID_LOCK, c.viewHandles ? std::function<void()>([&] { ran += "view"; }) : nullptr);
        frame.SetCommandHandler(ID_LOCK, c.frameHandles ? std::function<void()>([&] { ran += "frame"; }) : nullptr);
        frame.SetActiveView(c.viewActive ? view : nullptr, FALSE);
        frame.SendMessage(WM_COMMAND, MAKEWPARAM(ID_LOCK, 0), 0);
        EXPECT_EQ(ran, c.ran);
    }
    frame.DestroyWindow();
}

TEST_F(FrameWnd, ApplicationIdlePassSetsToolbarButtonsFromTheFrameAndItsView)
{
    CWinApp app("FrameIdle");
    CDocTemplate docTemplate(&NewDocument<CTestDoc>, &CBarFrame::GetThisClass(), &CPaneView::GetThisClass());
    CBarFrame* frame = FrameOf(docTemplate.OpenNewDocument(nullptr, kPopup, TestFrameRect()));
    ASSERT_NE(frame, nullptr);
    app.SetMainWnd(frame);
    int asks = 0;
    frame->GetActiveView()->SetCommandUpdateHandler(ID_LOCK, [&](CCmdUI* item) {
        item->SetCheck(1);
        if (++asks == 2) // the toolbar's button and the band's
            ::PostQuitMessage(0);
    });
    frame->SetCommandHandler(ID_SPLIT_COLUMNS, [] {});
    frame->SetCommandUpdateHandler(ID_SPLIT_ROWS, [](CCmdUI* item) { item->Enable(FALSE); });
    // A loop that never idles still ends.
    CThreadTimer guard;
    guard.Start(5000, [] { ::PostQuitMessage(1); });
    EXPECT_EQ(app.Run(), 0);
    guard.Stop();

    EXPECT_EQ(asks, 2);
    struct Case {
        CToolBar* bar;
        UINT id;
        BOOL enabled, checked;
    } cases[] = {
        {&frame->m_toolBar, ID_SPLIT_COLUMNS, TRUE, FALSE}, // a handler enables it
        {&frame->m_toolBar, ID_SPLIT_ROWS, FALSE, FALSE},   // its update handler disables it
        {&frame->m_toolBar, ID_LOCK, TRUE, TRUE},           // the view's update handler checks it
        {&frame->m_toolBar, ID_REFRESH, FALSE, FALSE},      // no handler at all
        {&frame->m_bandBar, ID_LOCK, TRUE, TRUE},           // inside the rebar, the frame still serves it
        {&frame->m_bandBar, ID_REFRESH, FALSE, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.bar->IsButtonEnabled(c.id), c.enabled);
        EXPECT_EQ(c.bar->IsButtonChecked(c.id), c.checked);
    }
    SaveScreenshot(*frame, "FrameWnd-after-idle-update");
    app.SetMainWnd(nullptr);
    frame->DestroyWindow();
}

TEST_F(FrameWnd, NoHandleGrowthOverSplitFramesWithViewsAndToolbars)
{
    CRecordingFrame host; // the counts start from a window of the test's own
    ASSERT_TRUE(host.Create("Host"));
    CDocTemplate docTemplate(&NewDocument<CTestDoc>, &CBarFrame::GetThisClass(), &CPaneView::GetThisClass());
    ExpectNoHandleLeak(
        [&] {
            CBarFrame* frame = FrameOf(docTemplate.OpenNewDocument(nullptr, kPopup, TestFrameRect()));
            ASSERT_NE(frame, nullptr);
            frame->m_splitter.UpdateWindow();
            frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
            frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
            frame->DestroyWindow();
        },
        8);
}
