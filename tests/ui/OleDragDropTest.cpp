// The OLE drag-and-drop classes apart from a drag: the data source's answers
// to the data object calls and the target's registration. Real drags (drop
// on release, cancel on Escape) run in SymbolDragDropTest.cpp.
#include "DragTestWindows.h"

#include "framework/win/OleDragDrop.h"

#include <gtest/gtest.h>

using namespace orv::ui;

namespace {

class OleDragDrop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInit());
        MouseAway();
        m_format = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("OrvTest.DragFormat"));
        ASSERT_TRUE(m_target.Create("drop here", 400));
    }

    CLIPFORMAT m_format = 0;
    CDragPad m_target;
};

} // namespace

TEST_F(OleDragDrop, DataObjectAnswersFromItsCacheAndATargetIsRevokedWhenItsWindowGoes)
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
    STGMEDIUM medium {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = BlockOf("X");
    EXPECT_EQ(object->SetData(&text, &medium, TRUE), DATA_E_FORMATETC);
    ::ReleaseStgMedium(&medium);
    IEnumFORMATETC* formats = nullptr;
    EXPECT_EQ(object->EnumFormatEtc(DATADIR_SET, &formats), E_NOTIMPL);
    reader.Release();

    // A target is revoked when its window goes.
    {
        COleDropTarget target;
        CDragPad pad;
        ASSERT_TRUE(pad.Create("short-lived", 700));
        ASSERT_TRUE(target.Register(&pad));
        EXPECT_FALSE(target.Register(&m_target)); // serves one window
        COleDropTarget second;
        EXPECT_FALSE(second.Register(&pad));      // one target per window
        pad.DestroyWindow();
        EXPECT_TRUE(target.Register(&m_target));
    }
    // OLE let go of every object and target it held.
    EXPECT_EQ(orv::ole::LiveObjectCount(), live);
}
