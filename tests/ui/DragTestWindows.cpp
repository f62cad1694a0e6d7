#include "DragTestWindows.h"

#include "controls/win/WindowWrappers.h"

#include <cstring>
#include <thread>

namespace orv::ui {

DROPEFFECT CRecordingCallback::OnCondDragOver(COleDataObject*, DWORD, CPoint)
{
    if (m_overs++ == 0 && m_pad != nullptr) {
        m_pad->m_highlight = true;
        m_pad->RedrawWindow();
    }
    return DROPEFFECT_COPY;
}

BOOL CRecordingCallback::OnCondDrop(COleDataObject* data, DROPEFFECT, CPoint)
{
    if (m_onDrop)
        m_onDrop(data);
    IEnumFORMATETC* formats = nullptr;
    if (SUCCEEDED(data->GetIDataObject()->EnumFormatEtc(DATADIR_GET, &formats))) {
        FORMATETC format {};
        while (formats->Next(1, &format, nullptr) == S_OK) {
            m_formats.push_back(format.cfFormat);
            HGLOBAL block = data->GetGlobalData(format.cfFormat);
            m_texts.emplace_back(block != nullptr ? TextOf(block).c_str() : "<none>");
            ::GlobalFree(block);
        }
        formats->Release();
    }
    if (m_pad != nullptr)
        m_pad->SetLabel(m_texts.empty() ? "dropped nothing" : "dropped: " + m_texts.front());
    return TRUE;
}

namespace {

// The capture window of the thread: the drag loop captures the mouse while
// it runs.
HWND CaptureOf(DWORD thread)
{
    GUITHREADINFO info {};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(thread, &info) ? info.hwndCapture : nullptr;
}

bool WaitFor(const std::function<bool()>& done)
{
    for (int i = 0; i < 500; ++i) {
        if (done())
            return true;
        ::Sleep(10);
    }
    return false;
}

} // namespace

DROPEFFECT RealDrag(HWND from, HWND to, const std::function<bool()>& over, const std::function<DROPEFFECT()>& loop,
                    const std::function<void()>& whileOver)
{
    const CPoint start = CWindowRect(from).CenterPoint(), end = CWindowRect(to).CenterPoint();
    MoveMouseTo(nullptr, start);
    MouseButtonAt(nullptr, start, true);
    PumpUntil([] { return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }, 2000);
    const DWORD uiThread = ::GetCurrentThreadId();
    std::thread driver([&] {
        const bool looping = WaitFor([&] { return CaptureOf(uiThread) != nullptr; });
        // A few steps, as a hand would move, so the loop sees the way.
        for (int step = 1; step <= 4; ++step) {
            MoveMouseTo(nullptr, POINT {start.x + (end.x - start.x) * step / 4, start.y + (end.y - start.y) * step / 4});
            ::Sleep(30);
        }
        if (looping && WaitFor(over) && whileOver)
            whileOver();
        MouseButtonAt(nullptr, end, false);
    });
    const DROPEFFECT effect = loop();
    driver.join();
    PumpPending();
    return effect;
}

HGLOBAL BlockOf(const std::string& bytes)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(::GlobalLock(block), bytes.data(), bytes.size());
    ::GlobalUnlock(block);
    return block;
}

std::string TextOf(HGLOBAL block)
{
    std::string text(static_cast<const char*>(::GlobalLock(block)), ::GlobalSize(block));
    ::GlobalUnlock(block);
    return text.substr(0, text.find('\0'));
}

size_t BusyHeapBlocks()
{
    HANDLE heap = ::GetProcessHeap();
    ::HeapLock(heap);
    PROCESS_HEAP_ENTRY entry {};
    size_t busy = 0;
    while (::HeapWalk(heap, &entry))
        busy += (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0 ? 1 : 0;
    ::HeapUnlock(heap);
    return busy;
}

} // namespace orv::ui
