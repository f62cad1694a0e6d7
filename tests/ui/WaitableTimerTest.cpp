// CWaitableTimer on real kernel timers, fired in alertable waits with a
// second timer as the fence a test waits for, and through the timer-services
// table on stand-ins that record what the system is handed.
#include "controls/win/WaitableTimer.h"

#include "platform/win32/TimerServices.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

using platform::win32::TimerServices;

namespace {

struct Fired {
    std::vector<ULONGLONG> times;
    LPVOID parameter = nullptr;
    DWORD thread = 0;
};

void Record(LPVOID parameter, FILETIME firedAt)
{
    auto* fired = static_cast<Fired*>(parameter);
    fired->parameter = parameter;
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

// The value a new kernel handle gets, the lowest free slot of the handle
// table. Wine's handle count ignores what is open, but a leaked handle keeps
// its slot and pushes the next one up.
std::uintptr_t NextHandleSlot()
{
    const HANDLE probe = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ::CloseHandle(probe);
    return reinterpret_cast<std::uintptr_t>(probe);
}

} // namespace

TEST(WaitableTimer, OnceOffAndPeriodicTimersCallTheirRoutineUntilCancelled)
{
    Fired once;
    CWaitableTimer timer;
    ASSERT_TRUE(timer.Create(FALSE));
    timer.SetCompletionRoutine(&Record, &once);
    const ULONGLONG setAt = ::GetTickCount64();
    ASSERT_TRUE(timer.SetOnceOffRelative(30));
    ASSERT_TRUE(WaitForCompletions(once, 1));
    EXPECT_GE(::GetTickCount64() - setAt, 20u); // room for the tick's grain
    EXPECT_EQ(once.parameter, &once);
    PassFence(60);
    EXPECT_EQ(once.times.size(), 1u);

    Fired periodic;
    timer.SetCompletionRoutine(&Record, &periodic);
    ASSERT_TRUE(timer.SetPeriodicRelative(20, 25));
    ASSERT_TRUE(WaitForCompletions(periodic, 3));
    ASSERT_TRUE(timer.Cancel());
    const size_t atCancel = periodic.times.size();
    PassFence(100);
    EXPECT_EQ(periodic.times.size(), atCancel);
}

TEST(WaitableTimer, RoutineRunsOnTheThreadThatSetTheTimer)
{
    Fired fired;
    DWORD setter = 0;
    std::thread thread([&] {
        setter = ::GetCurrentThreadId();
        CWaitableTimer timer;
        timer.SetCompletionRoutine(&Record, &fired);
        if (timer.Create(FALSE) && timer.SetOnceOffRelative(20)) {
            WaitForCompletions(fired, 1);
        }
    });
    thread.join();
    ASSERT_EQ(fired.times.size(), 1u);
    EXPECT_EQ(fired.thread, setter);
}

// A timer that has fired has its completion queued for this thread, with the
// timer object as context. Letting the handle go cancels it first.
TEST(WaitableTimer, LettingTheHandleGoDropsAQueuedCompletion)
{
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
    const auto cycle = [] {
        Fired fired;
        CWaitableTimer timer;
        timer.SetCompletionRoutine(&Record, &fired);
        timer.Create(FALSE);
        timer.SetPeriodicRelative(1000, 1000);
    };
    cycle();
    DWORD before = 0;
    DWORD after = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &before);
    const std::uintptr_t slot = NextHandleSlot();
    for (int i = 0; i < 1000; ++i) {
        cycle();
    }
    ::GetProcessHandleCount(::GetCurrentProcess(), &after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(NextHandleSlot(), slot);
}

namespace {

struct SetCall {
    HANDLE handle;
    LONGLONG due;
    LONG period;
    PTIMERAPCROUTINE routine;
    LPVOID context;
    BOOL resume;
};
std::vector<SetCall> g_sets;

BOOL WINAPI RecordSet(HANDLE handle, const LARGE_INTEGER* due, LONG period, PTIMERAPCROUTINE routine,
                      LPVOID context, BOOL resume)
{
    g_sets.push_back({handle, due->QuadPart, period, routine, context, resume});
    return TRUE;
}

BOOL WINAPI AcceptCancel(HANDLE)
{
    return TRUE;
}

class TimerServicesStandIn : public ::testing::Test {
protected:
    void TearDown() override { platform::win32::ReplaceTimerServices(m_real); }

    TimerServices m_real = platform::win32::ReplaceTimerServices({nullptr, nullptr, &RecordSet, &AcceptCancel});
};

} // namespace

TEST_F(TimerServicesStandIn, DueTimesPeriodsAndFlagsReachTheSystem)
{
    g_sets.clear();
    // An event stands in for the timer handle: a real handle to close.
    const HANDLE handle = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Fired fired;
    CWaitableTimer timer;
    timer.Attach(handle);
    ASSERT_TRUE(timer.SetOnceOffRelative(1500));
    timer.SetSignalWhenSuspended(TRUE);
    timer.SetCompletionRoutine(&Record, &fired);
    ASSERT_TRUE(timer.SetPeriodicAbsolute(SYSTEMTIME {2026, 12, 1, 7, 14, 35, 0, 0}, 250));
    // Invalid calendar fields fail before the system is called.
    EXPECT_FALSE(timer.SetOnceOffAbsolute(SYSTEMTIME {2026, 13, 0, 7, 0, 0, 0, 0}));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    timer.Close(); // clears the flag
    timer.Attach(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(timer.SetPeriodicRelative(40, 20));

    ASSERT_EQ(g_sets.size(), 3u);
    const struct {
        LONGLONG due;
        LONG period;
        bool routine;
        BOOL resume;
    } expected[] = {
        {-15000000, 0, false, FALSE},
        {134411277000000000, 250, true, TRUE}, // 7 December 2026 14:35 UTC
        {-400000, 20, true, FALSE},
    };
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(g_sets[i].due, expected[i].due) << i;
        EXPECT_EQ(g_sets[i].period, expected[i].period) << i;
        EXPECT_EQ(g_sets[i].routine != nullptr, expected[i].routine) << i;
        EXPECT_EQ(g_sets[i].resume, expected[i].resume) << i;
        EXPECT_EQ(g_sets[i].context, &timer) << i;
    }
    EXPECT_EQ(g_sets[0].handle, handle);
    g_sets[1].routine(g_sets[1].context, 0x89ABCDEF, 0x01234567);
    ASSERT_EQ(fired.times, std::vector<ULONGLONG> {0x0123456789ABCDEFull});
    EXPECT_EQ(fired.parameter, &fired);
}

TEST_F(TimerServicesStandIn, WithoutTheServicesEveryOperationFailsWithError120)
{
    platform::win32::ReplaceTimerServices({});
    CWaitableTimer timer;
    const std::function<BOOL()> calls[] = {
        [&] { return timer.Create(FALSE); },
        [&] { return timer.Open("OrvTimer"); },
        [&] { return timer.Cancel(); },
        [&] { return timer.SetOnceOffRelative(10); },
        [&] { return timer.SetPeriodicAbsolute(SYSTEMTIME {2026, 1, 4, 1, 0, 0, 0, 0}, 5); },
    };
    for (size_t i = 0; i < std::size(calls); ++i) {
        ::SetLastError(0);
        EXPECT_FALSE(calls[i]()) << i;
        EXPECT_EQ(::GetLastError(), 120u) << i;
    }
}
