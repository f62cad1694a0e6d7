// Windows shared by the drag-and-drop tests: a pad that a drag starts from
// or drops onto (it shows what it saw), a drop target that records what a
// drop brought, and a real drag: the left button pressed on a window, the
// modal drag loop run on this thread while a helper thread moves the mouse
// onto the target and releases it there.
#pragma once

#include "UiHarness.h"

#include "controls/win/CondDropTarget.h"
#include "framework/win/DC.h"
#include "framework/win/OleDragDrop.h"
#include "framework/win/Wnd.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace orv::ui {

class CDragPad : public CWnd {
public:
    bool m_highlight = false;

    BOOL Create(const char* label, int left)
    {
        m_label = label;
        return CreateEx(WS_EX_TOPMOST, nullptr, label, WS_POPUP | WS_BORDER | WS_VISIBLE, CRect(left, 60, left + 220, 160),
                        nullptr, 0);
    }
    void SetLabel(const char* label)
    {
        m_label = label;
        RedrawWindow();
    }

protected:
    void OnPaint() override
    {
        CPaintDC dc(m_hWnd);
        CRect client = GetClientRect();
        dc.SetBkMode(TRANSPARENT);
        dc.FillSolidRect(client, m_highlight ? RGB(200, 230, 255) : RGB(255, 255, 255));
        dc.DrawText(m_label, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

private:
    CString m_label;
};

// Accepts a copy of anything and records what the drop brought; the pad
// it serves, when set, lights up under the first drag over it.
class CRecordingCallback : public ICondDropTargetCallback {
public:
    CDragPad* m_pad = nullptr;
    std::atomic<int> m_overs {0};
    std::vector<CLIPFORMAT> m_formats; // as the data object enumerated them at the drop
    std::vector<CString> m_texts;      // the text of each of those formats
    std::function<void(COleDataObject*)> m_onDrop; // called first at the drop

    DROPEFFECT OnCondDragOver(COleDataObject*, DWORD, CPoint) override;
    void OnCondDragLeave() override {}
    BOOL OnCondDrop(COleDataObject* data, DROPEFFECT effect, CPoint) override;
};

// A pad that is a drop target of the condition controls' kind.
class CCondPad : public CDragPad, public TCondDropTargetImpl<CCondPad> {
public:
    explicit CCondPad(ICondDropTargetCallback* callback) : TCondDropTargetImpl(callback) {}
};

// Presses the left button on `from`, runs `loop` (which runs a drag loop)
// on this thread while a helper thread moves onto the centre of `to` and
// releases the button there once `over` holds (or after 5 s); `whileOver`
// runs on the helper thread just before the release. Returns what `loop`
// returned.
DROPEFFECT RealDrag(HWND from, HWND to, const std::function<bool()>& over, const std::function<DROPEFFECT()>& loop,
                    const std::function<void()>& whileOver = {});

// A movable block holding the bytes; the text of a block up to its zero.
HGLOBAL BlockOf(const std::string& bytes);
std::string TextOf(HGLOBAL block);
// The busy blocks of the process heap, where global memory lives.
size_t BusyHeapBlocks();

} // namespace orv::ui
