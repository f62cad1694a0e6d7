// A small timing harness for the benchmarks that run under Wine, where
// Google Benchmark is not built for the Windows compiler. A case runs in
// batches timed with the performance counter; the median and the fastest
// batch are printed per operation, like the native benchmarks' aggregates.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace orv::bench {

// Seconds since an arbitrary start, from the performance counter.
inline double Now()
{
    static const double perSecond = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return double(frequency.QuadPart);
    }();
    LARGE_INTEGER count;
    ::QueryPerformanceCounter(&count);
    return double(count.QuadPart) / perSecond;
}

struct Case {
    const char* name;
    int batches;         // how many timed batches (the median is over these)
    int perBatch;        // operations in one batch
    double unit;         // seconds per printed unit (1e-3 for ms, 1e-6 for us)
    const char* unitName;
    // Run before each batch, outside the timing.
    std::function<void()> setUp;
    // One operation; `i` counts from 0 within the batch.
    std::function<void(int i)> timed;
    // Run after each batch, outside the timing.
    std::function<void()> tearDown;
};

// Runs the case and prints "name  median  fastest  unit" per operation.
inline void Run(const Case& c)
{
    std::vector<double> perOperation;
    for (int batch = 0; batch < c.batches; ++batch) {
        if (c.setUp)
            c.setUp();
        const double start = Now();
        for (int i = 0; i < c.perBatch; ++i)
            c.timed(i);
        perOperation.push_back((Now() - start) / c.perBatch);
        if (c.tearDown)
            c.tearDown();
    }
    std::sort(perOperation.begin(), perOperation.end());
    std::printf("%-34s median %10.3f %-2s  fastest %10.3f %-2s  (%d x %d)\n", c.name,
                perOperation[perOperation.size() / 2] / c.unit, c.unitName, perOperation.front() / c.unit,
                c.unitName, c.batches, c.perBatch);
    std::fflush(stdout);
}

} // namespace orv::bench
