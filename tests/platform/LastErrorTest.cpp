#include "platform/LastError.h"

#include <gtest/gtest.h>

#include <thread>

TEST(LastError, IsKeptPerThread)
{
    SetLastError(1344);
    DWORD seenByOtherThread = 1;
    std::thread other([&] {
        seenByOtherThread = GetLastError();
        SetLastError(487);
    });
    other.join();
    EXPECT_NE(seenByOtherThread, 1344u);
    EXPECT_EQ(GetLastError(), 1344u);
    SetLastError(0);
    EXPECT_EQ(GetLastError(), 0u);
}
