// CWaitableTimer on the real kernel timers (fired on this thread in alertable
// waits, with a second timer as the fence that a test waits for) and, through
// the timer-services table, on stand-ins that record what the system is
// handed or act as a system without the services.
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
};

void Record(LPVOID parameter, FILETIME firedAt)
{
    auto* fired = static_cast<Fired*>(parameter);
    fired->parameter = parameter;
    fired->times.push_back((static_cast<ULONGLONG>(firedAt.dwHighDateTime) << 32) | firedAt.dwLowDateTime);
}

ULONGLONG Now()
{
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    return (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

// Waits alertably, so that completion routines run, until done() holds.
bool WaitAlertably(const std::function<bool()>& done, DWORD timeoutMs = 5000)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end) {
            return false;
        }
        ::SleepEx(static_cast<DWORD>(end - now), TRUE);
    }
    return true;
}

// Waits alertably until a fresh timer fires after `ms`, then runs whatever
// completions are still queued: afterwards every completion a timer due
// earlier could have brought has run.
void PassFence(DWORD ms)
{
    CWaitableTimer fence;
    ASSERT_TRUE(fence.Create(TRUE));
    ASSERT_TRUE(fence.SetOnceOffRelative(ms));
    const ULONGLONG end = ::GetTickCount64() + 5000;
    DWORD result = WAIT_IO_COMPLETION;
    while (result == WAIT_IO_COMPLETION && ::GetTickCount64() < end) {
        result = ::WaitForSingleObjectEx(fence.GetHandle(), 5000, TRUE);
    }
    ASSERT_EQ(result, WAIT_OBJECT_0);
    ::SleepEx(0, TRUE);
}

// The value a new kernel handle gets: the lowest free slot of the process's
// handle table. Wine's handle count stays put whatever is open, but a
// leaked handle keeps its slot, so the next one lands higher.
std::uintptr_t NextHandleSlot()
{
    const HANDLE probe = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ::CloseHandle(probe);
    return reinterpret_cast<std::uintptr_t>(probe);
}

} // namespace

TEST(WaitableTimer, OnceOffAndPeriodicTimersCallTheirRoutineInAlertableWaits)
{
    Fired once;
    CWaitableTimer timer;
    ASSERT_TRUE(timer.Create(FALSE));
    timer.SetCompletionRoutine(&Record, &once);
    const ULONGLONG setAt = Now();
    ASSERT_TRUE(timer.SetOnceOffRelative(30));
    ASSERT_TRUE(WaitAlertably([&] { return !once.times.empty(); }));
    EXPECT_EQ(once.parameter, &once);
    EXPECT_GE(Now(), setAt + 20 * 10000); // 100 ns units, with room for the clock's grain
    PassFence(60);
    EXPECT_EQ(once.times.size(), 1u);

    Fired periodic;
    timer.SetCompletionRoutine(&Record, &periodic);
    ASSERT_TRUE(timer.SetPeriodicRelative(20, 25));
    ASSERT_TRUE(WaitAlertably([&] { return periodic.times.size() >= 3; }));
    ASSERT_TRUE(timer.Cancel());
    const size_t atCancel = periodic.times.size();
    PassFence(100);
    EXPECT_EQ(periodic.times.size(), atCancel);
}

// The routine runs on the thread that set the timer, once that thread waits
// alertably; a thread that only waits plainly for it never runs it.
TEST(WaitableTimer, RoutineRunsOnTheThreadThatSetTheTimer)
{
    struct Shared {
        HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        DWORD routineThread = 0;
    } shared;
    const auto routine = [](LPVOID parameter, FILETIME) {
        auto* s = static_cast<Shared*>(parameter);
        s->routineThread = ::GetCurrentThreadId();
        ::SetEvent(s->done);
    };
    DWORD setter = 0;
    std::thread thread([&] {
        setter = ::GetCurrentThreadId();
        CWaitableTimer timer;
        if (timer.Create(FALSE)) {
            timer.SetCompletionRoutine(routine, &shared);
            timer.SetOnceOffRelative(20);
            while (::WaitForSingleObjectEx(shared.done, 5000, TRUE) == WAIT_IO_COMPLETION) {
            }
        }
    });
    EXPECT_EQ(::WaitForSingleObject(shared.done, 5000), WAIT_OBJECT_0);
    thread.join();
    EXPECT_EQ(shared.routineThread, setter);
    EXPECT_NE(shared.routineThread, ::GetCurrentThreadId());
    ::CloseHandle(shared.done);
}

TEST(WaitableTimer, AbsoluteTimeInThePastSignalsAtOnceAndNamedTimersAreShared)
{
    CWaitableTimer timer;
    ASSERT_TRUE(timer.Create(TRUE, "OrvWaitableTimerTest"));
    CWaitableTimer other;
    ASSERT_TRUE(other.Open("OrvWaitableTimerTest"));
    SYSTEMTIME past {2020, 1, 3, 1, 12, 0, 0, 0};
    ASSERT_TRUE(other.SetOnceOffAbsolute(past));
    EXPECT_EQ(::WaitForSingleObject(timer.GetHandle(), 5000), WAIT_OBJECT_0);

    const HANDLE handle = timer.Detach();
    EXPECT_EQ(timer.GetHandle(), nullptr);
    EXPECT_EQ(::WaitForSingleObject(handle, 0), WAIT_OBJECT_0) << "still open after Detach";
    timer.Attach(handle);
    EXPECT_EQ(timer.GetHandle(), handle);

    EXPECT_FALSE(CWaitableTimer().Open("OrvWaitableTimerTestMissing"));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

// A timer that has fired has its completion queued for this thread. Letting
// the handle go cancels it first, so that the queued call, whose context is
// the timer object, never runs.
TEST(WaitableTimer, ClosingDetachingOrDestroyingDropsAQueuedCompletion)
{
    const struct {
        const char* name;
        std::function<void(std::unique_ptr<CWaitableTimer>&)> letGo;
    } cases[] = {
        {"Close", [](auto& timer) { timer->Close(); }},
        {"Detach", [](auto& timer) { ::CloseHandle(timer->Detach()); }},
        {"destructor", [](auto& timer) { timer.reset(); }},
        {"Create", [](auto& timer) { timer->Create(FALSE); }},
    };
    for (const auto& c : cases) {
        Fired fired;
        auto timer = std::make_unique<CWaitableTimer>();
        ASSERT_TRUE(timer->Create(FALSE));
        timer->SetCompletionRoutine(&Record, &fired);
        ASSERT_TRUE(timer->SetOnceOffRelative(20));
        ASSERT_EQ(::WaitForSingleObject(timer->GetHandle(), 5000), WAIT_OBJECT_0) << c.name;
        c.letGo(timer);
        PassFence(20);
        EXPECT_TRUE(fired.times.empty()) << c.name;
    }
}

TEST(WaitableTimer, ThousandCreateSetDestroyCyclesLeaveNoHandles)
{
    const auto cycle = [] {
        CWaitableTimer timer;
        Fired fired;
        timer.Create(FALSE);
        timer.SetCompletionRoutine(&Record, &fired);
        timer.SetPeriodicRelative(1000, 1000);
    };
    for (int i = 0; i < 20; ++i) {
        cycle();
    }
    DWORD before = 0;
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &before));
    const std::uintptr_t slotBefore = NextHandleSlot();
    for (int i = 0; i < 1000; ++i) {
        cycle();
    }
    DWORD after = 0;
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &after));
    EXPECT_EQ(after, before);
    EXPECT_EQ(NextHandleSlot(), slotBefore);
}

namespace {

// What the last SetWaitableTimer call was handed.
struct SetCall {
    int calls = 0;
    HANDLE handle = nullptr;
    LONGLONG due = 0;
    LONG period = -1;
    PTIMERAPCROUTINE routine = nullptr;
    LPVOID context = nullptr;
    BOOL resume = -1;
};
SetCall g_set;

BOOL WINAPI RecordSet(HANDLE handle, const LARGE_INTEGER* due, LONG period, PTIMERAPCROUTINE routine,
                      LPVOID context, BOOL resume)
{
    g_set = {g_set.calls + 1, handle, due->QuadPart, period, routine, context, resume};
    return TRUE;
}

BOOL WINAPI AcceptCancel(HANDLE)
{
    return TRUE;
}

// Puts a table of timer services in place for the test's life.
class TimerServicesStandIn : public ::testing::Test {
protected:
    void Use(const TimerServices& services) { platform::win32::ReplaceTimerServices(services); }
    void TearDown() override { platform::win32::ReplaceTimerServices(m_real); }

    TimerServices m_real = platform::win32::GetTimerServices();
};

} // namespace

TEST_F(TimerServicesStandIn, DueTimesPeriodsAndFlagsReachTheSystem)
{
    Use({nullptr, nullptr, &RecordSet, &AcceptCancel});
    g_set = {};
    // Events stand in for timer handles: real handles that Close can close.
    const HANDLE fake = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CWaitableTimer timer;
    timer.Attach(fake);

    ASSERT_TRUE(timer.SetOnceOffRelative(1500));
    EXPECT_EQ(g_set.handle, fake);
    EXPECT_EQ(g_set.due, -15000000);
    EXPECT_EQ(g_set.period, 0);
    EXPECT_EQ(g_set.routine, nullptr);
    EXPECT_EQ(g_set.context, &timer);
    EXPECT_EQ(g_set.resume, FALSE);

    Fired fired;
    timer.SetSignalWhenSuspended(TRUE);
    timer.SetCompletionRoutine(&Record, &fired);
    ASSERT_TRUE(timer.SetPeriodicAbsolute(SYSTEMTIME {2026, 12, 1, 7, 14, 35, 0, 0}, 250));
    EXPECT_EQ(g_set.due, 134411277000000000); // 7 December 2026 14:35 UTC as a file time
    EXPECT_EQ(g_set.period, 250);
    EXPECT_EQ(g_set.resume, TRUE);
    ASSERT_NE(g_set.routine, nullptr);
    g_set.routine(g_set.context, 0x89ABCDEF, 0x01234567);
    ASSERT_EQ(fired.times.size(), 1u);
    EXPECT_EQ(fired.times[0], 0x0123456789ABCDEFull);
    EXPECT_EQ(fired.parameter, &fired);

    // Calendar fields that are no time fail before the system is called.
    const int calls = g_set.calls;
    EXPECT_FALSE(timer.SetOnceOffAbsolute(SYSTEMTIME {2026, 13, 0, 7, 0, 0, 0, 0}));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(g_set.calls, calls);

    // Close clears the flag along with the handle.
    timer.Close();
    const HANDLE second = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    timer.Attach(second);
    ASSERT_TRUE(timer.SetPeriodicRelative(40, 20));
    EXPECT_EQ(g_set.handle, second);
    EXPECT_EQ(g_set.due, -400000);
    EXPECT_EQ(g_set.resume, FALSE);
}

TEST_F(TimerServicesStandIn, WithoutTheServicesEveryOperationFailsWithError120)
{
    Use({});
    CWaitableTimer timer;
    const std::pair<const char*, std::function<BOOL()>> calls[] = {
        {"Create", [&] { return timer.Create(FALSE); }},
        {"Open", [&] { return timer.Open("OrvTimer"); }},
        {"Cancel", [&] { return timer.Cancel(); }},
        {"SetOnceOffRelative", [&] { return timer.SetOnceOffRelative(10); }},
        {"SetPeriodicAbsolute", [&] { return timer.SetPeriodicAbsolute(SYSTEMTIME {2026, 1, 4, 1, 0, 0, 0, 0}, 5); }},
    };
    for (const auto& [name, call] : calls) {
        ::SetLastError(0);
        EXPECT_FALSE(call()) << name;
        EXPECT_EQ(::GetLastError(), 120u) << name;
    }
}
