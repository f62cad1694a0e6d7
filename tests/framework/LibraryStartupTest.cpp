#include "LibraryStartup.h"

#if defined(_WIN32)
#  include "controls/win/SysColors.h"
#  include "framework/win/RegisteredMessages.h"
#endif

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Steps(const CStartupLog& log)
{
    std::vector<std::string> steps;
    for (int i = 0; i < log.GetCount(); ++i)
        steps.emplace_back(log.GetStep(i));
    return steps;
}

TEST(LibraryStartup, StaticObjectsAreBuiltInLoadOrder)
{
    const std::vector<std::string> expected = {
#if defined(_WIN32)
        "RWM_ORV_QUERYDESIGNMODE RWM_ORV_AUTOUPDATE_NOTIFY",
        "RWM_ORV_CHECKMOUSE",
        "CHookedMsgBox",
        "RWM_ORV_FORWARDIDLE",
#endif
        "CMapFidToCaption",
#if defined(_WIN32)
        "CSysColors",
#endif
        "branding lock",
        "separators",
        "COrvDateTime",
#if defined(_WIN32)
        "WM_DATETIME_EDIT RWM_ORV_AREYOUTRACKING RWM_ORV_GETBUDDY RWM_ORV_SPLITTER_RESIZED",
        "OrvClipFormat",
#endif
        "CSymbolData",
    };
    const CStartupLog& log = GetLibraryStartupLog();
    EXPECT_EQ(Steps(log), expected);
    EXPECT_TRUE(log.IsInOrder());
}

#if defined(_WIN32)

// The names are new to the test process, so the system hands out ids from
// its shared table of registered names (0xC000 upwards) in the order they
// were asked for; window messages and clipboard formats share that table.
TEST(LibraryStartup, MessagesAndClipFormatAreRegisteredInLoadOrderAndSystemColoursCached)
{
    struct Registered { const char* name; UINT id; };
    const Registered registered[] = {
        {"RWM_ORV_QUERYDESIGNMODE", RWM_ORV_QUERYDESIGNMODE}, {"RWM_ORV_AUTOUPDATE_NOTIFY", RWM_ORV_AUTOUPDATE_NOTIFY},
        {"RWM_ORV_CHECKMOUSE", RWM_ORV_CHECKMOUSE},           {"RWM_ORV_FORWARDIDLE", RWM_ORV_FORWARDIDLE},
        {"WM_DATETIME_EDIT", WM_DATETIME_EDIT},               {"RWM_ORV_AREYOUTRACKING", RWM_ORV_AREYOUTRACKING},
        {"RWM_ORV_GETBUDDY", RWM_ORV_GETBUDDY},               {"RWM_ORV_SPLITTER_RESIZED", RWM_ORV_SPLITTER_RESIZED},
        {"OrvClipFormat", g_cfOrvClipFormat},
    };
    UINT previous = 0;
    for (const Registered& entry : registered) {
        SCOPED_TRACE(entry.name);
        EXPECT_GE(entry.id, 0xC000u);
        EXPECT_GT(entry.id, previous);
        previous = entry.id;
    }
    // Each id belongs to its own name: asking again gives the same id.
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(::RegisterWindowMessageA(registered[i].name), registered[i].id) << registered[i].name;
    EXPECT_EQ(::RegisterClipboardFormatA("OrvClipFormat"), registered[8].id);
    EXPECT_EQ(CSysColors::sm_crWindow, ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(CSysColors::sm_crBtnText, ::GetSysColor(COLOR_BTNTEXT));
    EXPECT_NE(CSysColors::sm_penWindow.GetSafeHandle(), nullptr);
}

#endif

} // namespace
