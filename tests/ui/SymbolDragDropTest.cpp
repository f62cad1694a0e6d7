// Symbol drags: what a real drag offers, how dropped data is read, the data
// source that keeps helper data, the companion library's hand-over to a
// window of another process, and no object, block or handle left behind.
#include "DragTestWindows.h"

#include "controls/win/OleDataSourceEx.h"
#include "controls/win/SymbolDragDrop.h"
#include "framework/win/RegisteredMessages.h"

#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace orv::ui;

namespace {

std::string Terminated(const char* text)
{
    return std::string(text, std::strlen(text) + 1);
}

// A data object as a drop target sees it, over the given blocks.
struct Dropped {
    COleDataSource source;
    COleDataObject object;
    explicit Dropped(std::initializer_list<std::pair<CLIPFORMAT, std::string>> blocks)
    {
        for (const auto& [format, bytes] : blocks)
            source.CacheGlobalData(format, BlockOf(bytes));
        object.Attach(source.GetInterface(), FALSE);
    }
};

std::string TextOf(IDataObject* object, CLIPFORMAT format)
{
    FORMATETC formatEtc {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium {};
    if (FAILED(object->GetData(&formatEtc, &medium)))
        return "<none>";
    std::string text = orv::ui::TextOf(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    return text;
}

class SymbolDragDrop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_NE(g_cfOrvClipFormat, 0);
        MouseAway();
        ASSERT_TRUE(m_source.Create("IBM / A1", 60));
    }

    CDragPad m_source;
};

} // namespace

TEST_F(SymbolDragDrop, RealDragOffersPlainTextAndOrvClipFormat)
{
    const struct { const char* symbol; const char* account; std::vector<CString> texts; const char* read; } cases[] = {
        {" ibm  ", "A1", {"IBM", "SYMBOL=IBM|ACCOUNT=A1"}, "IBM/A1"},
        {"", "", {}, "-/-"},
    };
    for (const auto& c : cases) {
        // A target with the condition controls' drop glue and its owner's
        // callback.
        CRecordingCallback target;
        CCondPad pad(&target);
        target.m_pad = &pad;
        ASSERT_TRUE(pad.Create("drop a symbol", 400));
        ASSERT_TRUE(pad.Register());
        CString read;
        target.m_onDrop = [&](COleDataObject* data) {
            char symbol[25] = "", account[25] = "";
            read.Format("%s/%s", GetDragDropSymbol(data, 0x1F, symbol, sizeof symbol) ? symbol : "-",
                        GetDragDropAccount(data, account, sizeof account) ? account : "-");
        };
        const bool first = c.symbol[0] == ' ';
        const DROPEFFECT effect = RealDrag(m_source, pad, [&] { return target.m_overs > 0; },
                                           [&] { return DoDragDrop(c.symbol, c.account); },
                                           [&] { if (first) SaveScreenshot(::GetDesktopWindow(), "SymbolDragDrop_mid_drag"); });
        EXPECT_EQ(effect, DROPEFFECT_COPY) << c.read;
        const std::vector<CLIPFORMAT> formats = c.texts.empty() ? std::vector<CLIPFORMAT> {}
                                                                : std::vector<CLIPFORMAT> {CF_TEXT, g_cfOrvClipFormat};
        EXPECT_EQ(target.m_formats, formats) << c.read;
        EXPECT_EQ(target.m_texts, c.texts) << c.read;
        EXPECT_STREQ(read, c.read);
        if (first)
            SaveScreenshot(pad, "SymbolDragDrop_dropped");
    }
}

TEST_F(SymbolDragDrop, ReadingPrefersOrvClipFormatAndNeedsRoomForTheText)
{
    const CLIPFORMAT orv = g_cfOrvClipFormat;
    const struct { Dropped* data; const char* symbol; const char* account; } cases[] = {
        {new Dropped {{orv, Terminated("SYMBOL=IBM|ACCOUNT=A1")}, {CF_TEXT, Terminated("MSFT")}}, "IBM", "A1"},
        // Text of another program need not end with a zero byte.
        {new Dropped {{CF_TEXT, "NASDAQ:MSFT"}}, "MSFT", nullptr},
        {new Dropped {{CF_TEXT, Terminated("")}}, nullptr, nullptr},
        {new Dropped {{CF_OEMTEXT, Terminated("IBM")}}, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        char symbol[8] = "", account[8] = "";
        EXPECT_EQ(GetDragDropSymbol(&c.data->object, 0x1F, symbol, sizeof symbol), c.symbol != nullptr);
        EXPECT_STREQ(symbol, c.symbol != nullptr ? c.symbol : "");
        EXPECT_EQ(GetDragDropAccount(&c.data->object, account, sizeof account), c.account != nullptr);
        EXPECT_STREQ(account, c.account != nullptr ? c.account : "");
        delete c.data;
    }

    Dropped ibm {{CF_TEXT, Terminated("IBM")}};
    char small[4] = "";
    EXPECT_FALSE(GetDragDropSymbol(&ibm.object, 0x1F, small, 3));
    EXPECT_TRUE(GetDragDropSymbol(&ibm.object, 0x1F, small, 4));
    EXPECT_TRUE(GetDragDropSymbol(&ibm.object, 0x1F, nullptr, 0));
    EXPECT_STREQ(small, "IBM");

    const struct { const char* text; ULONG flags; bool read; } strings[] = {
        {"ABCDEFGHIJKLMNOPQRSTUVWX", 0x1F, true}, // 24 characters fit
        {"/ESZ2", 1, false},
    };
    for (const auto& s : strings) {
        Dropped data {{CF_TEXT, Terminated(s.text)}};
        CString symbol("old");
        EXPECT_EQ(GetDragDropSymbol(symbol, &data.object, s.flags), s.read) << s.text;
        EXPECT_STREQ(symbol, s.read ? s.text : "old");
    }
}

TEST_F(SymbolDragDrop, DataSourceExKeepsHelperDataAndCopiesWhatItDoesNotOwn)
{
    const LONG live = orv::ole::LiveObjectCount();
    const CLIPFORMAT helper = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("OrvTest.HelperData"));
    {
        COleDataSourceEx source;
        IDataObject* object = source.GetInterface();
        FORMATETC format {helper, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM kept {};
        kept.tymed = TYMED_HGLOBAL;
        kept.hGlobal = BlockOf(Terminated("ONE"));
        EXPECT_EQ(object->SetData(&format, &kept, FALSE), S_OK);
        // The caller's block changes and goes; the cached copy does not.
        std::memcpy(::GlobalLock(kept.hGlobal), "TWO", 3);
        ::GlobalUnlock(kept.hGlobal);
        ::ReleaseStgMedium(&kept);
        EXPECT_EQ(TextOf(object, helper), "ONE");

        STGMEDIUM given {};
        given.tymed = TYMED_HGLOBAL;
        given.hGlobal = BlockOf(Terminated("THREE"));
        EXPECT_EQ(object->SetData(&format, &given, TRUE), S_OK);
        EXPECT_EQ(TextOf(object, helper), "THREE");
        IEnumFORMATETC* formats = nullptr;
        ASSERT_EQ(object->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
        FORMATETC listed[3] {};
        ULONG count = 0;
        formats->Next(3, listed, &count);
        formats->Release();
        EXPECT_EQ(count, 1u); // replaced, not added

        FORMATETC file {helper, nullptr, DVASPECT_CONTENT, -1, TYMED_FILE};
        STGMEDIUM named {};
        named.tymed = TYMED_FILE;
        EXPECT_EQ(object->SetData(&file, &named, FALSE), DV_E_TYMED);
    }
    EXPECT_EQ(orv::ole::LiveObjectCount(), live);
}

TEST_F(SymbolDragDrop, CompanionHandsTheSymbolToAWindowOfAnotherProcess)
{
    orv_test::ScratchFolder folder("companion");
    const std::string record = (folder / "symbols.txt").string();
    std::string command = "OrvInjectTarget.exe 400 300 \"" + record + "\"";
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    ASSERT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &process));
    HWND external = nullptr;
    ::WaitForInputIdle(process.hProcess, 5000);
    ASSERT_TRUE(PumpUntil([&] { return (external = ::FindWindowA("OrvInjectTarget", nullptr)) != nullptr; }));
    // The drag loop hears the mouse only while its thread is in the
    // foreground, as after a real press on the source.
    ::SetForegroundWindow(m_source);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == m_source.GetSafeHwnd(); }));
    const HCURSOR hand = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
    bool handShown = false;
    const DROPEFFECT effect = RealDrag(m_source, external, [&] {
        CURSORINFO info {};
        info.cbSize = sizeof info;
        return handShown = ::GetCursorInfo(&info) && info.hCursor == hand;
    }, [] { return DoDragDrop(" msft ", "A1"); });
    ::PostMessageA(external, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 5000), WAIT_OBJECT_0);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    // The window is no OLE target: OLE drops nothing, the library hands over.
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_TRUE(handShown);
    EXPECT_EQ(orv_test::ReadFile(record), "MSFT\n");
}

TEST_F(SymbolDragDrop, ThousandCancelledSymbolDragsLeaveNothingBehind)
{
    const LONG live = orv::ole::LiveObjectCount();
    const size_t blocks = BusyHeapBlocks();
    int cancelled = 0;
    ExpectNoHandleLeak([&] {
        ::PostMessageA(m_source, WM_KEYDOWN, VK_ESCAPE, 1);
        cancelled += DoDragDrop("ibm", "A1") == DROPEFFECT_NONE ? 1 : 0;
    });
    EXPECT_EQ(cancelled, 1020);
    EXPECT_EQ(orv::ole::LiveObjectCount(), live);
    // A block left per drag would add 2,000.
    EXPECT_LE(BusyHeapBlocks(), blocks + 20);
}
