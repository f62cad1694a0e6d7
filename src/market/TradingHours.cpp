#include "market/TradingHours.h"

#include "platform/HostClock.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <mutex>

namespace {

enum : unsigned int { kTimerId = 5100, kRefreshMs = 2000 };

std::atomic<bool> g_outside { false };
// Non-zero while an evaluation runs; a second evaluation meanwhile is skipped.
std::atomic<int> g_busy { 0 };
// Steady-clock milliseconds of the last evaluation, for the on-demand refresh.
std::atomic<std::int64_t> g_lastEvaluation { 0 };
std::atomic<bool> g_refreshOnDemand { false };
std::once_flag g_started;

// The host's offset is asked for once; evaluations read it afterwards.
std::atomic<bool> g_offsetKnown { false };
std::atomic<std::int32_t> g_offset { 0 };

std::atomic<std::int64_t (*)()> g_nowForTesting { nullptr };
std::atomic<std::int32_t (*)()> g_offsetForTesting { nullptr };

std::int64_t SteadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool LocalFields(std::time_t time, std::tm& fields)
{
#if defined(_WIN32)
    return localtime_s(&fields, &time) == 0;
#else
    return localtime_r(&time, &fields) != nullptr;
#endif
}

void Evaluate()
{
    int idle = 0;
    if (!g_busy.compare_exchange_strong(idle, 1))
        return;
    if (!g_offsetKnown.load()) {
        std::int32_t (*offset)() = g_offsetForTesting.load();
        g_offset.store(offset != nullptr ? offset() : platform::QueryHostClockOffset());
        g_offsetKnown.store(true);
    }
    std::int64_t (*now)() = g_nowForTesting.load();
    const std::int64_t seconds = (now != nullptr ? now() : std::int64_t(std::time(nullptr))) + g_offset.load();
    std::tm fields {};
    // A time the C library cannot break down leaves the flag as it was.
    if (LocalFields(std::time_t(seconds), fields)) {
        const bool outside = fields.tm_hour > 15 || fields.tm_hour < 9 || (fields.tm_hour == 9 && fields.tm_min < 30);
        g_outside.store(outside, std::memory_order_relaxed);
    }
    g_lastEvaluation.store(SteadyMilliseconds());
    g_busy.store(0);
}

void Start()
{
    Evaluate();
    if (!platform::StartThreadTimer(kTimerId, kRefreshMs, Evaluate))
        g_refreshOnDemand.store(true);
}

} // namespace

namespace orv::market {

bool IsOutsideRegularHours()
{
    std::call_once(g_started, Start);
    if (g_refreshOnDemand.load(std::memory_order_relaxed)
        && SteadyMilliseconds() - g_lastEvaluation.load(std::memory_order_relaxed) >= kRefreshMs)
        Evaluate();
    return g_outside.load(std::memory_order_relaxed);
}

void SetTradingClockForTesting(std::int64_t (*now)(), std::int32_t (*offset)())
{
    g_nowForTesting.store(now);
    g_offsetForTesting.store(offset);
    g_offsetKnown.store(false);
    Evaluate();
}

} // namespace orv::market
