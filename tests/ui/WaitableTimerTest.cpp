// CWaitableTimer on real kernel timers, fired in alertable waits, and through
// the timer-services table on stand-ins that record what the system is handed.
#include "controls/win/WaitableTimer.h"

#include "platform/win32/TimerServices.h"
#include "UiHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace {

struct Fired {
    std::vector<ULONGLONG> times;
    DWORD thread = 0;
};

void Record(LPVOID parameter, FILETIME firedAt)
{
    auto* fired = static_cast<Fired*>(parameter);
    fired->thread = ::GetCurrentThreadId();
    fired->times.push_back((static_cast<ULONGLONG>(firedAt.dwHighDateTime) << 32) | firedAt.dwLowDateTime);
}

// Waits alertably, so that completion routines run, until `count` have run.
bool WaitForCompletions(const Fired& fired, size_t count)
{
    const ULONGLONG end = ::GetTickCount64() + 5000;
    while (fired.times.size() < count && ::GetTickCount64() < end) {
        ::SleepEx(static_cast<DWORD>(end - ::GetTickCount64()), TRUE);
    }
    return fired.times.size() >= count;
}

// Waits alertably for a fresh timer due after `ms`, then runs whatever is
// still queued: every completion of a timer due earlier has run by then.
void PassFence(DWORD ms)
{
    CWaitableTimer fence;
    ASSERT_TRUE(fence.Create(TRUE) && fence.SetOnceOffRelative(ms));
    DWORD result = WAIT_IO_COMPLETION;
    for (int i = 0; i < 100 && result == WAIT_IO_COMPLETION; ++i) {
        result = ::WaitForSingleObjectEx(fence.GetHandle(), 5000, TRUE);
    }
    ASSERT_EQ(result, WAIT_OBJECT_0);
    ::SleepEx(0, TRUE);
}

} // namespace

TEST(WaitableTimer, RoutineRunsOnTheSettingThreadUntilCancelledOrTheHandleIsLetGo)
{
    Fired once;
    DWORD setter = 0;
    std::thread thread([&] {
        setter = ::GetCurrentThreadId();
        CWaitableTimer timer;
        timer.SetCompletionRoutine(&Record, &once);
        if (timer.Create(FALSE) && timer.SetOnceOffRelative(30)) {
            WaitForCompletions(once, 1);
            PassFence(60);
        }
    });
    thread.join();
    ASSERT_EQ(once.times.size(), 1u);
    EXPECT_EQ(once.thread, setter);

    Fired periodic;
    CWaitableTimer timer;
    timer.SetCompletionRoutine(&Record, &periodic);
    ASSERT_TRUE(timer.Create(FALSE) && timer.SetPeriodicRelative(20, 25));
    ASSERT_TRUE(WaitForCompletions(periodic, 3));
    ASSERT_TRUE(timer.Cancel());
    const size_t atCancel = periodic.times.size();
    PassFence(100);
    EXPECT_EQ(periodic.times.size(), atCancel);

    // A timer that has fired has its completion queued, with the timer
    // object as context. Letting the handle go cancels it first.
    const std::pair<const char*, std::function<void(std::unique_ptr<CWaitableTimer>&)>> cases[] = {
        {"Close", [](auto& timer) { timer->Close(); }},
        {"Detach", [](auto& timer) { ::CloseHandle(timer->Detach()); }},
        {"destructor", [](auto& timer) { timer.reset(); }},
        {"Create", [](auto& timer) { timer->Create(FALSE); }},
    };
    for (const auto& [name, letGo] : cases) {
        Fired fired;
        auto timer = std::make_unique<CWaitableTimer>();
        timer->SetCompletionRoutine(&Record, &fired);
        ASSERT_TRUE(timer->Create(FALSE) && timer->SetOnceOffRelative(20));
        ASSERT_EQ(::WaitForSingleObject(timer->GetHandle(), 5000), WAIT_OBJECT_0) << name;
        letGo(timer);
        PassFence(20);
        EXPECT_TRUE(fired.times.empty()) << name;
    }
}

TEST(WaitableTimer, ThousandCreateSetDestroyCyclesLeaveNoHandles)
{
    Fired fired;
    const long before = orv::ui::CountKernelHandles();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 1000; ++i) {
        CWaitableTimer timer;
        timer.SetCompletionRoutine(&Record, &fired);
        timer.Create(FALSE);
        timer.SetPeriodicRelative(1000, 1000);
    }
    EXPECT_EQ(orv::ui::CountKernelHandles(), before);
}

namespace {

struct SetCall {
    LONGLONG due;
    LONG period;
    PTIMERAPCROUTINE routine;
    LPVOID context;
    BOOL resume;
};
std::vector<SetCall> g_sets;

BOOL WINAPI RecordSet(HANDLE, const LARGE_INTEGER* due, LONG period, PTIMERAPCROUTINE routine, LPVOID context,
                      BOOL resume)
{
    g_sets.push_back({due->QuadPart, period, routine, context, resume});
    return TRUE;
}

BOOL WINAPI AcceptCancel(HANDLE)
{
    return TRUE;
}

} // namespace

TEST(TimerServicesStandIn, DueTimesPeriodsAndFlagsReachTheSystem)
{
    struct Restore {
        platform::win32::TimerServices real;
        ~Restore() { platform::win32::ReplaceTimerServices(real); }
    } restore {platform::win32::ReplaceTimerServices({nullptr, nullptr, &RecordSet, &AcceptCancel})};
    g_sets.clear();
    Fired fired;
    CWaitableTimer timer;
    // Events stand in for timer handles: real handles for Close to close.
    timer.Attach(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    EXPECT_TRUE(timer.SetOnceOffRelative(1500));
    timer.SetSignalWhenSuspended(TRUE);
    timer.SetCompletionRoutine(&Record, &fired);
    EXPECT_TRUE(timer.SetPeriodicAbsolute(SYSTEMTIME {2026, 12, 1, 7, 14, 35, 0, 0}, 250));
    EXPECT_FALSE(timer.SetOnceOffAbsolute(SYSTEMTIME {2026, 13, 0, 7, 0, 0, 0, 0}));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    timer.Close(); // clears the flag
    timer.Attach(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    EXPECT_TRUE(timer.SetPeriodicRelative(40, 20));

    ASSERT_EQ(g_sets.size(), 3u);
    EXPECT_EQ(g_sets[0].due, -15000000);
    EXPECT_EQ(g_sets[1].due, 134411277000000000); // 7 December 2026 14:35 UTC
    EXPECT_EQ(g_sets[2].due, -400000);
    EXPECT_EQ((std::vector<LONG> {g_sets[0].period, g_sets[1].period, g_sets[2].period}),
              (std::vector<LONG> {0, 250, 20}));
    EXPECT_EQ((std::vector<BOOL> {g_sets[0].resume, g_sets[1].resume, g_sets[2].resume}),
              (std::vector<BOOL> {FALSE, TRUE, FALSE}));
    EXPECT_EQ(g_sets[0].routine, nullptr);
    EXPECT_EQ(g_sets[1].context, &timer);
    g_sets[1].routine(g_sets[1].context, 0x89ABCDEF, 0x01234567);
    EXPECT_EQ(fired.times, std::vector<ULONGLONG> {0x0123456789ABCDEFull});

    // Without the services nothing is called, and the last error is 120.
    platform::win32::ReplaceTimerServices({});
    EXPECT_FALSE(timer.Create(FALSE));
    EXPECT_EQ(::GetLastError(), 120u);
    EXPECT_FALSE(timer.SetOnceOffRelative(10));
    EXPECT_EQ(::GetLastError(), 120u);
}
