// The framework's thread object and the wait that keeps a window alive.
#include "UiHarness.h"

#include "framework/win/ThreadTimer.h"
#include "framework/win/WinThread.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace orv::ui;

namespace {

std::atomic<int> g_deleted {0};
std::atomic<int> g_messages {0};

// Counts its deletion; without a procedure it runs a loop that counts
// thread messages until WM_QUIT.
class CCountedThread : public CWinThread {
public:
    using CWinThread::CWinThread;
    ~CCountedThread() override { ++g_deleted; }

    BOOL InitInstance() override { return TRUE; }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->hwnd == nullptr && msg->message == WM_APP)
            ++g_messages;
        return FALSE;
    }
};

HANDLE Duplicate(HANDLE thread)
{
    HANDLE copy = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), thread, ::GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    return copy;
}

DWORD ExitCodeAfterEnd(HANDLE thread)
{
    EXPECT_EQ(::WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeThread(thread, &code);
    ::CloseHandle(thread);
    return code;
}

} // namespace

TEST(WinThread, ProcedureRunsOnResumeLoopTakesThreadMessagesUntilQuitAndTheObjectGoesWithTheThread)
{
    g_deleted = 0;
    auto* thread = new CCountedThread([](LPVOID) -> UINT { return 42; }, nullptr);
    ASSERT_TRUE(thread->CreateThread(CREATE_SUSPENDED));
    HANDLE handle = Duplicate(thread->m_hThread);
    EXPECT_EQ(::WaitForSingleObject(handle, 100), static_cast<DWORD>(WAIT_TIMEOUT));
    thread->ResumeThread();
    EXPECT_EQ(ExitCodeAfterEnd(handle), 42u);
    EXPECT_EQ(g_deleted, 1);

    // AfxBeginThread gives the priority before the thread runs.
    CWinThread* begun = AfxBeginThread([](LPVOID) -> UINT { return UINT(::GetThreadPriority(::GetCurrentThread())); },
                                       nullptr, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(begun, nullptr);
    handle = Duplicate(begun->m_hThread);
    begun->ResumeThread();
    EXPECT_EQ(int(ExitCodeAfterEnd(handle)), THREAD_PRIORITY_BELOW_NORMAL);

    // Without a procedure the thread's loop takes thread messages until
    // WM_QUIT, whose code is its exit code.
    g_messages = 0;
    auto* loop = new CCountedThread;
    ASSERT_TRUE(loop->CreateThread(CREATE_SUSPENDED));
    handle = Duplicate(loop->m_hThread);
    const DWORD id = loop->m_nThreadID;
    loop->ResumeThread();
    // The loop's queue exists once the thread has asked for a message.
    ASSERT_TRUE(PumpUntil([&] { return ::PostThreadMessageA(id, WM_APP, 0, 0) != FALSE; }));
    ::PostThreadMessageA(id, WM_APP, 0, 0);
    ::PostThreadMessageA(id, WM_QUIT, 7, 0);
    EXPECT_EQ(ExitCodeAfterEnd(handle), 7u);
    EXPECT_EQ(g_messages, 2);
    EXPECT_EQ(g_deleted, 2);
}

// The event is set from a thread timer, which fires only through the
// dispatching the wait does; a spent time answers at once.
TEST(WinThread, WaitPumpingMessagesDispatchesUntilTheObjectIsSignalled)
{
    const HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    int ticks = 0;
    CThreadTimer timer;
    timer.Start(50, [&] {
        if (++ticks == 3)
            ::SetEvent(event);
    });
    EXPECT_EQ(WaitPumpingMessages(event, 5000), WAIT_OBJECT_0);
    timer.Stop();
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(WaitPumpingMessages(event, 0), WAIT_OBJECT_0);
    ::ResetEvent(event);
    EXPECT_EQ(WaitPumpingMessages(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ::CloseHandle(event);
}
