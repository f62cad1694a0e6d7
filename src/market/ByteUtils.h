// Small numeric utilities over byte ranges: a rolling checksum, hash-table
// sizes for an expected number of entries, and a byte-sequence search.
#pragma once

#include "OrvApi.h"

// Four running 8-bit sums s1..s4 (s1 += byte, s2 += s1, s3 += s2, s4 += s3)
// packed as s4 s3 s2 s1 from the high byte down. 0 for a length of 0 or
// less, or null data.
ORV_API unsigned int CalcChecksum(const void* data, int length);

// A prime hash-table size for `count` entries: with x = count * 1.2, 17 when
// x < 17; otherwise the prime after the first one greater than x in
// 13, 53, 101, 251, 503, 811, 1229, 1777, 2347, 5003, 10007, 25013, 50021,
// 100003, 250007, and never more than 250007.
ORV_API int CalcOptimalHashSize(int count);

// memmem: the first occurrence of the needle's bytes in the haystack, or
// null (also for null pointers or a needle longer than the haystack). An
// empty needle is found at the start of the haystack.
//
// glibc declares its own ::memmem with size_t lengths, and a second global
// overload would make ordinary calls ambiguous; so ours lives in namespace
// orv. On Windows, where the C library has none, it is also brought into
// the global namespace, so callers there write memmem(...) as usual.
namespace orv {
ORV_API void* memmem(const void* haystack, unsigned int haystackLength, const void* needle,
                     unsigned int needleLength);
} // namespace orv
#if defined(_WIN32)
using orv::memmem;
#endif
