#include "HoverTestWindows.h"
#include "ToolTipProbe.h"

#include "controls/win/HyperLink.h"
#include "services/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

using namespace orv::ui;

namespace {

const char* const kUserHtm = "Software\\Classes\\.htm";
const char* const kUserPageClass = "Software\\Classes\\OrvLinkTest.Page";
const char* const kMachineExtension = ".orvlinktest";
const char* const kMachineDocClass = "OrvLinkTest.Doc";
// A scheme that no program is registered for, so the shell cannot open it.
const char* const kUnregistered = "orvnolink://quote/AAPL?range=1d";

using Args = std::vector<std::string>;

CString ExeFolder()
{
    char path[MAX_PATH] {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    CString folder(path);
    return folder.Left(folder.ReverseFind('\\'));
}

void SetDefault(HKEY root, const CString& key, const CString& value)
{
    CRegistry registry(root);
    ASSERT_TRUE(registry.CreateKey(root, key));
    ASSERT_TRUE(registry.WriteString("", value));
}

class HyperLink : public ::testing::Test {
protected:
    void SetUp() override
    {
        MouseAway();
        char temp[MAX_PATH] {};
        ::GetTempPathA(MAX_PATH, temp);
        m_record = CString(temp) + "orv-link-record.txt";
        ::DeleteFileA(m_record);
        ::SetEnvironmentVariableA("ORV_LINK_RECORD", m_record);
        m_recorder = ExeFolder() + "\\LinkRecorder.exe";
        ASSERT_NE(::GetFileAttributesA(m_recorder), INVALID_FILE_ATTRIBUTES);
        ASSERT_TRUE(m_frame.Create("Hyperlink"));
    }
    void TearDown() override
    {
        MouseAway();
        CRegistry registry;
        registry.DeleteKey(HKEY_CURRENT_USER, kUserHtm, TRUE);
        registry.DeleteKey(HKEY_CURRENT_USER, kUserPageClass, TRUE);
        registry.DeleteKey(HKEY_CLASSES_ROOT, kMachineExtension, TRUE);
        registry.DeleteKey(HKEY_CLASSES_ROOT, kMachineDocClass, TRUE);
        ::DeleteFileA(m_record);
    }

    // Makes the command the ".htm" class opens with, for this user only.
    void RegisterHtmCommand(const CString& command)
    {
        SetDefault(HKEY_CURRENT_USER, kUserHtm, "OrvLinkTest.Page");
        SetDefault(HKEY_CURRENT_USER, CString(kUserPageClass) + "\\shell\\open\\command", command);
    }
    CString Recorder(const char* marker) const { return "\"" + m_recorder + "\" " + marker; }

    bool CreateLink(CHyperLink& link, const char* text, DWORD style = 0, CRect rect = CRect(20, 20, 220, 60))
    {
        if (!link.Create(text, WS_CHILD | WS_VISIBLE | style, rect, &m_frame, 100))
            return false;
        link.SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
        link.SetUnderline(FALSE); // copies the new font ...
        link.SetUnderline(TRUE);  // ... underlined again
        PumpPending();
        return true;
    }

    // One entry per run of the recorder, its arguments in order.
    std::vector<Args> Recorded() const
    {
        std::vector<Args> runs;
        std::ifstream file(m_record.GetString());
        for (std::string line; std::getline(file, line);) {
            Args args;
            size_t start = 0;
            for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
                args.push_back(line.substr(start, tab - start));
            args.push_back(line.substr(start));
            runs.push_back(args);
        }
        return runs;
    }
    bool WaitForRuns(size_t runs)
    {
        return PumpUntil([&] { return Recorded().size() >= runs; }, 10000);
    }

    CNoticeFrame m_frame;
    CString m_record;
    CString m_recorder;
};

// The longest row of pixels of the colour: the underline spans the text.
int LongestRow(HWND wnd, COLORREF colour)
{
    CRect client;
    ::GetClientRect(wnd, &client);
    const std::vector<int> rows = RowCounts(wnd, client, colour);
    return rows.empty() ? 0 : *std::max_element(rows.begin(), rows.end());
}

} // namespace

TEST_F(HyperLink, ColoursStartAsTheWebDefaultsAndMinusOneMeansTheHighlight)
{
    CHyperLink link;
    EXPECT_EQ(link.GetLinkColour(), RGB(0, 0, 238));
    EXPECT_EQ(link.GetVisitedColour(), RGB(85, 26, 139));
    EXPECT_EQ(link.GetHoverColour(), ::GetSysColor(13));
    link.SetColours(RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9));
    EXPECT_EQ(link.GetHoverColour(), RGB(7, 8, 9));
    link.SetColours(RGB(1, 2, 3), RGB(4, 5, 6), 0xFFFFFFFF);
    EXPECT_EQ(link.GetLinkColour(), RGB(1, 2, 3));
    EXPECT_EQ(link.GetVisitedColour(), RGB(4, 5, 6));
    EXPECT_EQ(link.GetHoverColour(), ::GetSysColor(13));
}

TEST_F(HyperLink, EachStateDrawsItsColourUnderlinedAndHoverShowsTheHandAndTheAddress)
{
    CHyperLink link;
    link.SetURL("https://example.test/research");
    ASSERT_TRUE(CreateLink(link, "Research and charts"));
    EXPECT_TRUE(link.GetStyle() & SS_NOTIFY);
    const int width = link.GetClientRect().Width();
    EXPECT_GE(LongestRow(link, RGB(0, 0, 238)), width - 1);
    SaveScreenshot(m_frame, "HyperLink-normal");

    MoveMouseTo(link, CPoint(10, 5));
    ASSERT_TRUE(PumpUntil([&] { return link.IsOver() != FALSE; }));
    PumpPending();
    EXPECT_GE(LongestRow(link, link.GetHoverColour()), width - 1);
    EXPECT_EQ(LongestRow(link, RGB(0, 0, 238)), 0);
    EXPECT_EQ(::GetCursor(), link.GetLinkCursor());
    SaveScreenshot(m_frame, "HyperLink-hover");
    ASSERT_TRUE(PumpUntil([] { return FindToolTip() != nullptr; }));
    PumpPending();
    EXPECT_STREQ(ShownToolTipText(FindToolTip()), "https://example.test/research");
    SaveScreenshot(FindToolTip(), "HyperLink-tooltip");

    MouseAway();
    ASSERT_TRUE(PumpUntil([&] { return link.IsOver() == FALSE; }));
    link.SetVisited(TRUE);
    PumpPending();
    EXPECT_GE(LongestRow(link, RGB(85, 26, 139)), width - 1);
    SaveScreenshot(m_frame, "HyperLink-visited");

    link.SetUnderline(FALSE);
    PumpPending();
    EXPECT_LT(LongestRow(link, RGB(85, 26, 139)), width / 2);
}

TEST_F(HyperLink, AnEmptyAddressOrTextIsTakenFromTheOther)
{
    CHyperLink fromText;
    ASSERT_TRUE(CreateLink(fromText, "https://example.test/from-text"));
    EXPECT_STREQ(fromText.GetURL(), "https://example.test/from-text");
    const HWND tip = FindToolTip(false, m_frame);
    ASSERT_NE(tip, nullptr);
    EXPECT_STREQ(ToolText(tip, fromText, 1), "https://example.test/from-text");

    CHyperLink fromUrl;
    fromUrl.SetURL("https://example.test/from-url");
    ASSERT_TRUE(CreateLink(fromUrl, ""));
    EXPECT_STREQ(fromUrl.GetWindowText(), "https://example.test/from-url");
    fromUrl.SetURL("https://example.test/changed");
    EXPECT_STREQ(fromUrl.GetURL(), "https://example.test/changed");
}

TEST_F(HyperLink, AutoSizeFitsTheTextByAlignmentAndOffKeepsTheSize)
{
    struct Case {
        DWORD style;
        bool autoSize;
    };
    const Case cases[] = {{SS_LEFT, true}, {SS_CENTER, true}, {SS_RIGHT, true}, {SS_LEFT | SS_CENTERIMAGE, true},
                          {SS_LEFT, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " auto size " << c.autoSize);
        CHyperLink link;
        link.SetAutoSize(c.autoSize ? TRUE : FALSE);
        ASSERT_TRUE(CreateLink(link, "Fit me", c.style, CRect(20, 20, 220, 60)));
        CSize extent;
        {
            CClientDC dc(link);
            CSelectScope font(dc, link.GetFont());
            extent = dc.GetTextExtent("Fit me", 6);
        }
        CRect rect = link.GetWindowRect();
        m_frame.ScreenToClient(&rect);
        if (!c.autoSize) {
            EXPECT_EQ(rect, CRect(20, 20, 220, 60));
            continue;
        }
        const int left = c.style == SS_CENTER ? 20 + (200 - extent.cx) / 2 : c.style == SS_RIGHT ? 220 - extent.cx : 20;
        const int top = (c.style & SS_CENTERIMAGE) ? 20 + (40 - extent.cy) / 2 : 20;
        EXPECT_EQ(rect, CRect(left, top, left + extent.cx, top + extent.cy));
    }
}

TEST_F(HyperLink, TheDefaultCursorIsTheHelpProgramsHandOrElseTheSystemHand)
{
    CHyperLink link;
    ASSERT_TRUE(CreateLink(link, "Hand"));
    char folder[MAX_PATH] {};
    ::GetWindowsDirectoryA(folder, MAX_PATH);
    const bool hasHelp = ::GetFileAttributesA((CString(folder) + "\\winhlp32.exe")) != INVALID_FILE_ATTRIBUTES;
    ASSERT_NE(link.GetLinkCursor(), nullptr);
    if (!hasHelp) {
        EXPECT_EQ(link.GetLinkCursor(), ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));
    }
    const HCURSOR cross = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32515));
    link.SetLinkCursor(cross);
    MoveMouseTo(link, CPoint(5, 5));
    ASSERT_TRUE(PumpUntil([&] { return ::GetCursor() == cross; }));
}

TEST_F(HyperLink, AClickOpensThroughTheRegisteredHtmCommandWhenTheShellCannot)
{
    RegisterHtmCommand(Recorder("fallback \"%1\""));
    const CString address = CString(kUnregistered) + " with blanks";
    CHyperLink link;
    link.SetURL(address);
    ASSERT_TRUE(CreateLink(link, "Open the quote"));
    ClickAt(link, CPoint(5, 5));
    ASSERT_TRUE(WaitForRuns(1));
    EXPECT_EQ(Recorded(), (std::vector<Args> {{"fallback", address.GetString()}}));
    ASSERT_TRUE(PumpUntil([&] { return link.GetVisited() != FALSE; }));
    MouseAway();
    ASSERT_TRUE(PumpUntil([&] { return link.IsOver() == FALSE; }));
    EXPECT_GE(LongestRow(link, RGB(85, 26, 139)), link.GetClientRect().Width() - 1);
    SaveScreenshot(m_frame, "HyperLink-visited-after-click");
}

TEST_F(HyperLink, TheRegisteredCommandGetsTheAddressAsOneArgumentInPlaceOfItsPlaceholder)
{
    const CString padding(std::string(253 - m_recorder.GetLength(), 'x').c_str());
    struct Case {
        CString command;
        CString address;
        INT_PTR refused; // 0: the command runs
        Args args;
    };
    const Case cases[] = {
        {Recorder("quoted \"%1\" --dropped"), kUnregistered, 0, {"quoted", kUnregistered}},
        {m_recorder + " bare %1", kUnregistered, 0, {"bare", kUnregistered}},
        {Recorder("none"), kUnregistered, 0, {"none", kUnregistered}},
        {Recorder("slash \"%1\""), "orvnolink:C:\\a folder\\", 0, {"slash", "orvnolink:C:\\a folder\\"}},
        // 259 characters fit the command buffer; 260 would be cut, so the
        // open fails as an incomplete association.
        {Recorder(padding + " %1"), kUnregistered, 0, {padding.GetString(), kUnregistered}},
        {Recorder(padding + "y %1"), kUnregistered, 27, {}},
        // A quote in the address would end the argument early.
        {Recorder("quote \"%1\""), "orvnolink://x\" --evil \"y", -1, {}},
        {Recorder("empty \"%1\""), "", -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command.GetString());
        ::DeleteFileA(m_record);
        RegisterHtmCommand(c.command);
        CHyperLink link;
        const INT_PTR result = link.GotoURL(c.address, SW_SHOWNOACTIVATE);
        if (c.refused != 0) {
            if (c.refused > 0) {
                EXPECT_EQ(result, c.refused);
            }
            EXPECT_LE(result, 32);
            PumpUntil([] { return false; }, 300); // a wrongly started recorder would write now
            EXPECT_TRUE(Recorded().empty());
            continue;
        }
        EXPECT_GT(result, 32);
        ASSERT_TRUE(WaitForRuns(1));
        EXPECT_EQ(Recorded(), std::vector<Args> {c.args});
    }
}

TEST_F(HyperLink, TheShellOpensAnAssociatedDocumentWithoutTheFallback)
{
    RegisterHtmCommand(Recorder("fallback \"%1\""));
    SetDefault(HKEY_CLASSES_ROOT, kMachineExtension, kMachineDocClass);
    SetDefault(HKEY_CLASSES_ROOT, CString(kMachineDocClass) + "\\shell\\open\\command", Recorder("shell \"%1\""));
    const CString document = m_record.Left(m_record.ReverseFind('\\')) + "\\orv-page.orvlinktest";
    std::ofstream(document.GetString()) << "page";
    CHyperLink link;
    EXPECT_GT(link.GotoURL(document, SW_SHOWNOACTIVATE), 32);
    ASSERT_TRUE(WaitForRuns(1));
    PumpUntil([] { return false; }, 300);
    const std::vector<Args> runs = Recorded();
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_EQ(runs[0].size(), 2u);
    EXPECT_EQ(runs[0][0], "shell");
    EXPECT_NE(CString(runs[0][1].c_str()).MakeLower().Find("orv-page.orvlinktest"), -1) << runs[0][1];
    ::DeleteFileA(document);
}

TEST_F(HyperLink, AFailedOpenBeepsAndExplainsInAMessageBox)
{
    RegisterHtmCommand("\"" + ExeFolder() + "\\no-such-browser.exe\" \"%1\"");
    CHyperLink link;
    link.SetURL(kUnregistered);
    ASSERT_TRUE(CreateLink(link, "Broken link"));
    static CString s_boxText;
    static bool s_boxSeen;
    s_boxText.Empty();
    s_boxSeen = false;
    // The message box is modal: a thread timer reads and closes it.
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND box = ::FindWindowA("#32770", nullptr);
        if (box == nullptr || s_boxSeen || !::IsWindowVisible(box))
            return;
        s_boxSeen = true;
        ::EnumChildWindows(
            box,
            [](HWND child, LPARAM) -> BOOL {
                char name[32] {};
                ::GetClassNameA(child, name, sizeof(name));
                if (lstrcmpiA(name, "Static") == 0 && ::GetWindowTextLengthA(child) > 0)
                    s_boxText = ReadWindowText(child);
                return TRUE;
            },
            0);
        SaveScreenshot(box, "HyperLink-error-box");
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    ClickAt(link, CPoint(5, 5));
    const bool seen = PumpUntil([] { return s_boxSeen; }, 10000);
    ::KillTimer(nullptr, timer);
    ASSERT_TRUE(seen);
    PumpPending();
    EXPECT_STREQ(s_boxText, "Unable to open hyperlink:\n\nThe specified file was not found.");
    EXPECT_FALSE(link.GetVisited());
    EXPECT_TRUE(Recorded().empty());
}

TEST_F(HyperLink, ErrorReportsNameTheCodeOrSayItIsUnknown)
{
    const std::pair<INT_PTR, const char*> cases[] = {
        {0, "The operating system is out\nof memory or resources."},
        {3, "The specified path was not found."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {99, "Unknown Error (99) occurred."},
        {1, "Unknown Error (1) occurred."},
    };
    for (const auto& [code, text] : cases)
        EXPECT_STREQ(CHyperLink::ErrorReportText(code), CString("Unable to open hyperlink:\n\n") + text) << code;
}

TEST_F(HyperLink, CreatingAndDestroyingLeavesNoHandles)
{
    ExpectNoHandleLeak(
        [&] {
            CHyperLink link;
            link.Create("https://example.test/leak", WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 30), &m_frame, 100);
            link.SetUnderline(FALSE);
        },
        4);
}
