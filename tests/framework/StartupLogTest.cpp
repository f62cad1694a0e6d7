#include "LibraryStartup.h"

#if defined(_WIN32)
#  include "controls/win/SysColors.h"
#  include "framework/win/RegisteredMessages.h"
#endif

#include <gtest/gtest.h>

#include <memory>
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

// The log the actions below look at: each action notes how many steps were
// complete when it ran.
CStartupLog* g_watched = nullptr;
std::vector<int> g_countsSeenByActions;

void NoteCount()
{
    g_countsSeenByActions.push_back(g_watched->GetCount());
}

TEST(StartupLog, StepsRecordInOrderAndUndoLastFirst)
{
    CStartupLog log;
    g_watched = &log;
    g_countsSeenByActions.clear();
    {
        CStartupStep first(log, "first", NoteCount);
        {
            CStartupStep second(log, "second");
            CStartupStep third(log, "third", NoteCount);
            // An action runs before its step is recorded.
            EXPECT_EQ(g_countsSeenByActions, (std::vector<int> {0, 2}));
            EXPECT_EQ(Steps(log), (std::vector<std::string> {"first", "second", "third"}));
        }
        EXPECT_EQ(Steps(log), (std::vector<std::string> {"first"}));
        EXPECT_TRUE(log.IsInOrder());
    }
    EXPECT_EQ(log.GetCount(), 0);
    EXPECT_TRUE(log.IsInOrder());
    EXPECT_EQ(log.GetStep(0), nullptr);
    EXPECT_EQ(log.GetStep(-1), nullptr);
    g_watched = nullptr;
}

// Undoing out of order or a full log is reported and keeps the rest;
// steps are told apart by their own name.
TEST(StartupLog, MisuseIsReportedAndTheRestKept)
{
    CStartupLog log;
    auto first = std::make_unique<CStartupStep>(log, "first");
    auto second = std::make_unique<CStartupStep>(log, "second");
    CStartupStep third(log, "third");
    second.reset();
    EXPECT_FALSE(log.IsInOrder());
    EXPECT_EQ(Steps(log), (std::vector<std::string> {"first", "third"}));
    EXPECT_EQ(log.GetStep(2), nullptr);

    // A name that was never recorded removes nothing.
    CStartupLog other;
    CStartupStep kept(other, "kept");
    other.Undo("never");
    EXPECT_FALSE(other.IsInOrder());
    EXPECT_EQ(Steps(other), (std::vector<std::string> {"kept"}));
    // Two steps with equal texts at different addresses: each removes its own.
    static const char nameA[] = "same";
    static const char nameB[] = "same";
    CStartupLog same;
    auto a = std::make_unique<CStartupStep>(same, nameA);
    auto b = std::make_unique<CStartupStep>(same, nameB);
    a.reset();
    EXPECT_FALSE(same.IsInOrder());
    ASSERT_EQ(same.GetCount(), 1);
    EXPECT_EQ(same.GetStep(0), nameB);

    // A full log leaves further steps out.
    CStartupLog full;
    std::vector<std::unique_ptr<CStartupStep>> steps;
    static const char* const names[] = {"a", "b"};
    for (int i = 0; i < 24; ++i)
        steps.push_back(std::make_unique<CStartupStep>(full, names[i % 2]));
    EXPECT_TRUE(full.IsInOrder());
    // Twenty-four steps fit.
    EXPECT_EQ(full.GetCount(), 24);

    CStartupStep extra(full, "extra");
    EXPECT_FALSE(full.IsInOrder());
    EXPECT_EQ(full.GetCount(), 24);
    EXPECT_STREQ(full.GetStep(23), names[1]);
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
