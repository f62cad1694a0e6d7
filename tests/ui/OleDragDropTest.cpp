// OLE drag and drop through the framework classes: a real drag between two
// windows, the data source's answers to the data object calls, the drop
// source's defaults, the target's registration, and no object, block or
// handle left behind by many drags.
#include "DragTestWindows.h"

#include "framework/win/OleDragDrop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace orv::ui;

namespace {

HGLOBAL BlockOf(const char* text)
{
    const size_t size = std::strlen(text) + 1;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(::GlobalLock(block), text, size);
    ::GlobalUnlock(block);
    return block;
}

std::string TextOf(HGLOBAL block)
{
    const char* text = static_cast<const char*>(::GlobalLock(block));
    std::string result(text, ::GlobalSize(block));
    ::GlobalUnlock(block);
    return result.substr(0, result.find('\0'));
}

// The busy blocks of the process heap, where global memory lives.
size_t BusyHeapBlocks()
{
    HANDLE heap = ::GetProcessHeap();
    ::HeapLock(heap);
    PROCESS_HEAP_ENTRY entry {};
    size_t busy = 0;
    while (::HeapWalk(heap, &entry)) {
        if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0)
            ++busy;
    }
    ::HeapUnlock(heap);
    return busy;
}

class OleDragDrop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInit());
        MouseAway();
        m_format = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("OrvTest.DragFormat"));
        ASSERT_TRUE(m_source.Create("drag from here", 60));
        ASSERT_TRUE(m_target.Create("drop here", 400));
    }

    CLIPFORMAT m_format = 0;
    CDragPad m_source;
    CDragPad m_target;
};

} // namespace

TEST_F(OleDragDrop, RealDragBringsTheCachedFormatsToTheTarget)
{
    CRecordingTarget target;
    ASSERT_TRUE(target.Register(&m_target));
    COleDataSource data;
    data.CacheGlobalData(CF_TEXT, BlockOf("HELLO"));
    data.CacheGlobalData(m_format, BlockOf("WORLD"));
    std::string shot;
    const DROPEFFECT effect = RealDrag(m_source, m_target, [&] { return target.m_overs > 0; }, [&] { return data.DoDragDrop(DROPEFFECT_COPY); },
                                       [&] { shot = SaveScreenshot(::GetDesktopWindow(), "OleDragDrop_mid_drag"); });
    EXPECT_GT(target.m_overs.load(), 0);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_EQ(target.m_drops, 1);
    EXPECT_EQ(target.m_dropEffect, DROPEFFECT_COPY);
    EXPECT_EQ(target.m_formats, (std::vector<CLIPFORMAT> {CF_TEXT, m_format}));
    EXPECT_EQ(target.m_texts, (std::vector<CString> {"HELLO", "WORLD"}));
    EXPECT_FALSE(shot.empty());
    SaveScreenshot(m_target, "OleDragDrop_dropped");
}

TEST_F(OleDragDrop, DataObjectAnswersFromItsCache)
{
    const LONG live = orv::ole::LiveObjectCount();
    IDataObject* object = nullptr;
    {
        COleDataSource data;
        data.CacheGlobalData(CF_TEXT, BlockOf("OLD"));
        data.CacheGlobalData(CF_TEXT, BlockOf("NEW"));
        object = data.GetInterface();
        object->AddRef();
    }
    // The source is gone; the reference held keeps its data.
    COleDataObject reader;
    reader.Attach(object);
    EXPECT_TRUE(reader.IsDataAvailable(CF_TEXT));
    EXPECT_FALSE(reader.IsDataAvailable(m_format));
    HGLOBAL copy = reader.GetGlobalData(CF_TEXT);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(TextOf(copy), "NEW");
    ::GlobalFree(copy);

    const struct { CLIPFORMAT format; DWORD tymed; HRESULT answer; } asks[] = {
        {CF_TEXT, TYMED_HGLOBAL | TYMED_ISTREAM, S_OK},
        {CF_TEXT, TYMED_ISTREAM, DV_E_TYMED},
        {m_format, TYMED_HGLOBAL, DV_E_FORMATETC},
    };
    for (const auto& ask : asks) {
        FORMATETC format {ask.format, nullptr, DVASPECT_CONTENT, -1, ask.tymed};
        EXPECT_EQ(object->QueryGetData(&format), ask.answer) << ask.format;
    }
    FORMATETC text {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM here {};
    here.tymed = TYMED_HGLOBAL;
    here.hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, 2);
    EXPECT_EQ(object->GetDataHere(&text, &here), STG_E_MEDIUMFULL);
    here.hGlobal = ::GlobalReAlloc(here.hGlobal, 8, GMEM_MOVEABLE);
    EXPECT_EQ(object->GetDataHere(&text, &here), S_OK);
    EXPECT_EQ(TextOf(here.hGlobal), "NEW");
    ::ReleaseStgMedium(&here);
    STGMEDIUM medium {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = BlockOf("X");
    EXPECT_EQ(object->SetData(&text, &medium, TRUE), DATA_E_FORMATETC);
    ::ReleaseStgMedium(&medium);
    IEnumFORMATETC* formats = nullptr;
    EXPECT_EQ(object->EnumFormatEtc(DATADIR_SET, &formats), E_NOTIMPL);
    reader.Release();
    EXPECT_EQ(orv::ole::LiveObjectCount(), live);
}

TEST_F(OleDragDrop, DropSourceDropsOnReleaseAndCancelsOnEscape)
{
    const struct { BOOL escape; DWORD keys; SCODE answer; } cases[] = {
        {FALSE, MK_LBUTTON, S_OK},
        {FALSE, MK_RBUTTON | MK_SHIFT, S_OK},
        {FALSE, 0, DRAGDROP_S_DROP},
        {FALSE, MK_CONTROL, DRAGDROP_S_DROP},
        {TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL},
        {TRUE, 0, DRAGDROP_S_CANCEL},
    };
    COleDropSource source;
    for (const auto& c : cases)
        EXPECT_EQ(source.GetInterface()->QueryContinueDrag(c.escape, c.keys), c.answer) << c.keys;
    EXPECT_EQ(source.GetInterface()->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
}

TEST_F(OleDragDrop, TargetIsRevokedWhenItsWindowGoes)
{
    const LONG live = orv::ole::LiveObjectCount();
    {
        COleDropTarget target;
        CDragPad pad;
        ASSERT_TRUE(pad.Create("short-lived", 700));
        ASSERT_TRUE(target.Register(&pad));
        EXPECT_FALSE(target.Register(&m_target)); // serves one window
        COleDropTarget second;
        EXPECT_FALSE(second.Register(&pad));      // one target per window
        pad.DestroyWindow();
        EXPECT_EQ(target.GetRegisteredWindow(), nullptr);
        EXPECT_TRUE(target.Register(&m_target));
    }
    // OLE let go of every target it held.
    EXPECT_EQ(orv::ole::LiveObjectCount(), live);
}

TEST_F(OleDragDrop, ThousandCancelledDragsLeaveNothingBehind)
{
    CRecordingTarget target;
    ASSERT_TRUE(target.Register(&m_target));
    const LONG live = orv::ole::LiveObjectCount();
    const size_t blocks = BusyHeapBlocks();
    int cancelled = 0;
    ExpectNoHandleLeak([&] {
        COleDataSource data;
        data.CacheGlobalData(CF_TEXT, BlockOf("HELLO"));
        data.CacheGlobalData(m_format, BlockOf("WORLD"));
        // The loop reads this Escape from the queue and cancels.
        ::PostMessageA(m_source, WM_KEYDOWN, VK_ESCAPE, 1);
        cancelled += data.DoDragDrop(DROPEFFECT_COPY) == DROPEFFECT_NONE ? 1 : 0;
    });
    EXPECT_EQ(cancelled, 1020);
    EXPECT_EQ(orv::ole::LiveObjectCount(), live);
    // A block left per drag would add 2,000.
    EXPECT_LE(BusyHeapBlocks(), blocks + 20);
    std::printf("heap blocks %zu -> %zu\n", blocks, BusyHeapBlocks());
}
