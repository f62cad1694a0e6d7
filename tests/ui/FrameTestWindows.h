// Windows shared by the frame, splitter and toolbar tests: a document that
// counts its instances, two view classes made by name that count the lines
// they are scrolled, and a frame that records the splitter's resize
// notifications and the wheel messages that reach it.
#pragma once

#include "UiHarness.h"

#include "framework/win/DocTemplate.h"
#include "framework/win/RegisteredMessages.h"

#include <functional>
#include <vector>

namespace orv::ui {

class CTestDoc : public CDocument {
public:
    CTestDoc() { ++sm_live; }
    ~CTestDoc() override { --sm_live; }
    static int sm_live;
};

class CPaneView : public CView {
    ORV_DECLARE_DYNCREATE(CPaneView)

public:
    CPaneView() { ++sm_live; }
    ~CPaneView() override { --sm_live; }
    static int sm_live;
    int m_lines = 0; // lines scrolled down, less lines scrolled up
    int m_initialUpdates = 0;
    LPARAM m_lastHint = -1; // the hint of the last change the view heard of

    void OnInitialUpdate() override
    {
        ++m_initialUpdates;
        CView::OnInitialUpdate();
    }
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override
    {
        m_lastHint = hint;
        CView::OnUpdate(sender, hint, hintObject);
    }

protected:
    void OnVScroll(UINT code, UINT, HWND) override { m_lines += code == SB_LINEDOWN ? 1 : code == SB_LINEUP ? -1 : 0; }
    void OnDraw(CDC* dc) override;
};

class COtherView : public CPaneView {
    ORV_DECLARE_DYNCREATE(COtherView)
};

// A frame that is not deleted with its window, unlike the frames the
// templates make.
class CRecordingFrame : public CFrameWnd {
public:
    CRecordingFrame() { m_bAutoDelete = FALSE; }
    BOOL Create(const char* title) { return CFrameWnd::Create(title, WS_POPUP | WS_BORDER | WS_VISIBLE, TestFrameRect()); }

    std::vector<WPARAM> m_resized; // the first parameter of each notification
    std::function<void()> m_onResized;
    int m_wheels = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == RWM_ORV_SPLITTER_RESIZED && message != 0) {
            m_resized.push_back(wParam);
            if (m_onResized)
                m_onResized();
            return 0;
        }
        if (message == WM_MOUSEWHEEL)
            ++m_wheels;
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
};

} // namespace orv::ui
