#include "framework/StartupLog.h"

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

TEST(StartupLog, UndoingOutOfOrderIsReportedKeepsTheRestAndTellsStepsApartByTheirOwnName)
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
}

TEST(StartupLog, AFullLogLeavesFurtherStepsOutAndSaysSo)
{
    CStartupLog log;
    std::vector<std::unique_ptr<CStartupStep>> steps;
    static const char* const names[] = {"a", "b"};
    for (int i = 0; i < 24; ++i)
        steps.push_back(std::make_unique<CStartupStep>(log, names[i % 2]));
    EXPECT_TRUE(log.IsInOrder());
    // Twenty-four steps fit.
    EXPECT_EQ(log.GetCount(), 24);

    CStartupStep extra(log, "extra");
    EXPECT_FALSE(log.IsInOrder());
    EXPECT_EQ(log.GetCount(), 24);
    EXPECT_STREQ(log.GetStep(23), names[1]);
}

} // namespace
