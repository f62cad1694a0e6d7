#include "platform/LastError.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// Two threads set different values, wait for each other by spinning (no
// system call that could itself touch the value), then read their own.
TEST(LastError, IsKeptPerThread)
{
    std::atomic<int> ready { 0 };
    DWORD seen[2] {};
    auto run = [&](int slot, DWORD value) {
        SetLastError(value);
        ready.fetch_add(1);
        while (ready.load() < 2) {
        }
        seen[slot] = GetLastError();
    };
    std::thread first(run, 0, DWORD(1344));
    std::thread second(run, 1, DWORD(487));
    first.join();
    second.join();
    EXPECT_EQ(seen[0], 1344u);
    EXPECT_EQ(seen[1], 487u);
}
