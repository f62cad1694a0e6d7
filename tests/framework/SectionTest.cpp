#include "framework/Exceptions.h"
#include "framework/Section.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Whether another thread can take the section right now.
bool FreeForOtherThreads(CSection& section)
{
    bool taken = false;
    std::thread other([&] {
        taken = section.TryLock();
        if (taken)
            section.Unlock();
    });
    other.join();
    return taken;
}

TEST(Section, CountersStayExactUnderContention)
{
    CSection section;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 100000; ++i) {
            CSectionLock lock(section);
            ++counter;
        }
    };
    std::thread first(work), second(work);
    first.join();
    second.join();
    EXPECT_EQ(counter, 200000);
}

// The holder may lock again and must unlock as often; others may not
// unlock; the guard releases on exit.
TEST(Section, ReentryForeignUnlocksAndTheGuard)
{
    CSection section(0);
    section.Lock();
    EXPECT_TRUE(section.TryLock());
    section.Lock();
    section.Unlock();
    section.Unlock();
    EXPECT_FALSE(FreeForOtherThreads(section));
    section.Unlock();
    EXPECT_TRUE(FreeForOtherThreads(section));
    {
        CSectionLock lock(section);
        EXPECT_FALSE(FreeForOtherThreads(section));
    }
    EXPECT_TRUE(FreeForOtherThreads(section));
    EXPECT_THROW(section.Unlock(), CInvalidArgException);
    section.Lock();
    bool threw = false;
    std::thread other([&] {
        try {
            section.Unlock();
        } catch (const CInvalidArgException&) {
            threw = true;
        }
    });
    other.join();
    EXPECT_TRUE(threw);
    section.Unlock();
    EXPECT_THROW(section.Unlock(), CInvalidArgException);
}

} // namespace
