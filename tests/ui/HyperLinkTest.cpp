#include "HoverTestWindows.h"
#include "ToolTipProbe.h"

#include "controls/win/HyperLink.h"
#include "services/Registry.h"

#include "support/UpdateServer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace orv::ui;

namespace {

// No program is registered for this scheme, so the shell cannot open it.
const char* const kUnregistered = "orvnolink://quote/AAPL?range=1d";

void SetDefault(HKEY root, const CString& key, const CString& value)
{
    CRegistry registry(root);
    ASSERT_TRUE(registry.CreateKey(root, key) && registry.WriteString("", value));
}

// Each test registers the recorder beside the test program as the program
// that opens ".htm" files (for this user) and reads what it was given.
class HyperLink : public FrameTest<> {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        m_folder = orv_test::TestProgramFolder().string().c_str();
        m_recorder = "\"" + m_folder + "\\LinkRecorder.exe\" ";
        m_record = m_folder + "\\link-record.txt";
        ::DeleteFileA(m_record);
        ::SetEnvironmentVariableA("ORV_LINK_RECORD", m_record);
    }
    void TearDown() override
    {
        MouseAway();
        ::DeleteFileA(m_record);
    }

    void RegisterHtmCommand(const CString& command)
    {
        SetDefault(HKEY_CURRENT_USER, "Software\\Classes\\.htm", "OrvLinkTest.Page");
        SetDefault(HKEY_CURRENT_USER, "Software\\Classes\\OrvLinkTest.Page\\shell\\open\\command", command);
    }
    bool CreateLink(CHyperLink& link, const char* text, DWORD style = 0)
    {
        const bool made = link.Create(text, WS_CHILD | WS_VISIBLE | style, CRect(20, 20, 220, 60), &m_frame, 100);
        PumpPending();
        return made;
    }
    // One line per run of the recorder: its arguments joined by tabs.
    std::vector<std::string> Runs(size_t wanted = 0, DWORD waitMs = 10000) const
    {
        std::vector<std::string> runs;
        PumpUntil([&] {
            runs.clear();
            std::ifstream file(m_record.GetString());
            for (std::string line; std::getline(file, line);)
                runs.push_back(line);
            return wanted > 0 && runs.size() >= wanted;
        }, waitMs);
        return runs;
    }

    RegistryKeysGone m_userKeys {HKEY_CURRENT_USER, {"Software\\Classes\\.htm", "Software\\Classes\\OrvLinkTest.Page"}};
    RegistryKeysGone m_machineKeys {HKEY_CLASSES_ROOT, {".orvlinktest", "OrvLinkTest.Doc"}};
    CString m_folder;
    CString m_recorder;
    CString m_record;
};

} // namespace

TEST_F(HyperLink, StatesDrawTheirColoursUnderlinedAndAClickOpensTheText)
{
    RegisterHtmCommand(m_recorder + "fallback \"%1\"");
    // A link without an address opens its text.
    const CString address = CString(kUnregistered) + " and blanks";
    CHyperLink link;
    ASSERT_TRUE(CreateLink(link, address));
    EXPECT_STREQ(link.GetURL(), address);
    const int width = link.GetClientRect().Width();
    EXPECT_GE(LongestRow(link, RGB(0, 0, 238)), width - 1);
    SaveScreenshot(m_frame, "HyperLink-normal");

    MoveMouseTo(link, CPoint(10, 5));
    ASSERT_TRUE(PumpUntil([&] { return link.IsOver() != FALSE; }));
    EXPECT_GE(LongestRow(link, ::GetSysColor(13)), width - 1);
    // Without the help program (as under Wine) the hand is the system's.
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));
    SaveScreenshot(m_frame, "HyperLink-hover");
    ASSERT_TRUE(PumpUntil([&] { return ShownToolTipText() == address; }));
    SaveScreenshot(FindToolTip(), "HyperLink-tooltip");

    // The shell cannot open the scheme; the registered command gets the
    // address as one argument.
    ClickAt(link, CPoint(10, 5));
    EXPECT_EQ(Runs(1), std::vector<std::string> {"fallback\t" + std::string(address)});
    ASSERT_TRUE(PumpUntil([&] { return link.GetVisited() != FALSE; }));
    MouseAway();
    ASSERT_TRUE(PumpUntil([&] { return link.IsOver() == FALSE; }));
    EXPECT_GE(LongestRow(link, RGB(85, 26, 139)), width - 1);
    SaveScreenshot(m_frame, "HyperLink-visited");

    link.SetUnderline(FALSE);
    PumpPending();
    EXPECT_LT(LongestRow(link, RGB(85, 26, 139)), width / 2);
    // A font set from outside is drawn with the underline chosen.
    link.SetUnderline(TRUE);
    CFont face;
    face.CreatePointFont(120, "Tahoma");
    link.SetFont(static_cast<HFONT>(face.GetSafeHandle()));
    PumpPending();
    EXPECT_GE(LongestRow(link, RGB(85, 26, 139)), link.GetClientRect().Width() - 1);
}

TEST_F(HyperLink, AutoSizeFitsTheTextByAlignmentOffKeepsTheSizeAndALinkWithoutTextShowsItsAddress)
{
    CHyperLink bare;
    bare.SetURL("orvnolink://from-url");
    ASSERT_TRUE(CreateLink(bare, ""));
    EXPECT_STREQ(bare.GetWindowText(), "orvnolink://from-url");
    for (DWORD style : {DWORD(SS_LEFT), DWORD(SS_CENTER), DWORD(SS_RIGHT), DWORD(SS_CENTERIMAGE), DWORD(-1)}) {
        SCOPED_TRACE(style);
        CHyperLink link;
        link.SetAutoSize(style != DWORD(-1));
        ASSERT_TRUE(CreateLink(link, "Fit me", style == DWORD(-1) ? 0 : style));
        CClientDC dc(link);
        CSelectScope font(dc, link.GetFont());
        const CSize text = dc.GetTextExtent("Fit me", 6);
        const int left = style == SS_CENTER ? 20 + (200 - text.cx) / 2 : style == SS_RIGHT ? 220 - text.cx : 20;
        const int top = style == SS_CENTERIMAGE ? 20 + (40 - text.cy) / 2 : 20;
        EXPECT_EQ(RectInParent(link), style == DWORD(-1) ? CRect(20, 20, 220, 60) : CRect(left, top, left + text.cx, top + text.cy));
    }
}

TEST_F(HyperLink, TheShellOpensAnAssociatedDocumentElseTheRegisteredCommandGetsTheAddressInPlaceOfItsPlaceholder)
{
    // Commands of 259 characters fit the buffer; 260 would be cut.
    const std::string padding(259 - m_recorder.GetLength() - 3, 'x');
    const std::string plain(kUnregistered);
    const struct {
        CString command;
        const char* address;
        INT_PTR failure; // 0: the recorder runs and gets `run`
        std::string run;
    } cases[] = {
        {m_recorder + "quoted \"%1\" --dropped", kUnregistered, 0, "quoted\t" + plain},
        {m_recorder + "bare %1", kUnregistered, 0, "bare\t" + plain},
        {m_recorder + "none", kUnregistered, 0, "none\t" + plain},
        {m_recorder + "slash \"%1\"", "orvnolink:C:\\a folder\\", 0, "slash\torvnolink:C:\\a folder\\"},
        {m_recorder + padding.c_str() + " %1", kUnregistered, 0, padding + "\t" + plain},
        {m_recorder + padding.c_str() + "y %1", kUnregistered, 27, ""},
        {m_recorder + "quote \"%1\"", "orvnolink://x\" --evil \"y", -1, ""},
        {m_recorder + "empty \"%1\"", "", -1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command.GetString());
        ::DeleteFileA(m_record);
        RegisterHtmCommand(c.command);
        const INT_PTR result = CHyperLink().GotoURL(c.address, SW_SHOWNOACTIVATE);
        if (c.failure == 0) {
            EXPECT_GT(result, 32);
            EXPECT_EQ(Runs(1), std::vector<std::string> {c.run});
            continue;
        }
        EXPECT_LE(result, 32);
        EXPECT_TRUE(c.failure < 0 || result == c.failure);
        EXPECT_TRUE(Runs(0, 300).empty()); // a wrongly started recorder would write by now
    }

    // The shell opens an associated document without the fallback.
    RegisterHtmCommand(m_recorder + "fallback \"%1\"");
    SetDefault(HKEY_CLASSES_ROOT, ".orvlinktest", "OrvLinkTest.Doc");
    SetDefault(HKEY_CLASSES_ROOT, "OrvLinkTest.Doc\\shell\\open\\command", m_recorder + "shell \"%1\"");
    const CString document = m_folder + "\\link-page.orvlinktest";
    std::ofstream(document.GetString()) << "page";
    EXPECT_GT(CHyperLink().GotoURL(document, SW_SHOWNOACTIVATE), 32);
    Runs(1);
    const std::vector<std::string> runs = Runs(2, 300);
    ::DeleteFileA(document);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(CString(runs[0].c_str()).MakeLower().Find("shell\t"), 0) << runs[0];
    EXPECT_NE(CString(runs[0].c_str()).MakeLower().Find("link-page.orvlinktest"), -1) << runs[0];
}

TEST_F(HyperLink, AFailedOpenExplainsItselfInAMessageBox)
{
    RegisterHtmCommand("\"" + m_folder + "\\no-such-browser.exe\" \"%1\"");
    CHyperLink link;
    link.SetURL(kUnregistered);
    ASSERT_TRUE(CreateLink(link, "Broken link"));
    // The message box is modal: a thread timer reads its text and closes it.
    CString shown;
    WhenShown reader([] { return FindThreadWindow("#32770"); }, [&](HWND box) {
        shown = ReadWindowText(::GetDlgItem(box, 0xFFFF));
        SaveScreenshot(box, "HyperLink-error-box");
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    ClickAt(link, CPoint(5, 5));
    ASSERT_TRUE(PumpUntil([&] { return !shown.IsEmpty(); }, 10000));
    EXPECT_STREQ(shown, "Unable to open hyperlink:\n\nThe specified file was not found.");
    EXPECT_FALSE(link.GetVisited());
    for (const auto& [code, text] : {std::pair<INT_PTR, const char*> {26, "A sharing violation occurred. "},
                                     {99, "Unknown Error (99) occurred."}})
        EXPECT_STREQ(CHyperLink::ErrorReportText(code), CString("Unable to open hyperlink:\n\n") + text);
}
