#include "market/ByteUtils.h"

#include <cstring>

unsigned int CalcChecksum(const void* data, int length)
{
    if (data == nullptr || length <= 0)
        return 0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    unsigned char s1 = 0, s2 = 0, s3 = 0, s4 = 0;
    for (int i = 0; i < length; ++i) {
        s1 = static_cast<unsigned char>(s1 + bytes[i]);
        s2 = static_cast<unsigned char>(s2 + s1);
        s3 = static_cast<unsigned char>(s3 + s2);
        s4 = static_cast<unsigned char>(s4 + s3);
    }
    return unsigned(s4) << 24 | unsigned(s3) << 16 | unsigned(s2) << 8 | unsigned(s1);
}

int CalcOptimalHashSize(int count)
{
    static const int primes[] = { 13, 53, 101, 251, 503, 811, 1229, 1777, 2347, 5003, 10007, 25013, 50021,
                                  100003, 250007 };
    const int last = int(sizeof primes / sizeof primes[0]) - 1;
    // In double first: count * 1.2 does not fit an int for the largest counts.
    const double x = count * 1.2;
    if (x < 17)
        return 17;
    if (x >= primes[last])
        return primes[last];
    const int whole = static_cast<int>(x);
    for (int i = 0; i < last; ++i) {
        if (primes[i] > whole)
            return primes[i + 1];
    }
    return primes[last];
}

namespace orv {

void* memmem(const void* haystack, unsigned int haystackLength, const void* needle, unsigned int needleLength)
{
    if (haystack == nullptr || needle == nullptr || needleLength > haystackLength)
        return nullptr;
    const auto* hay = static_cast<const unsigned char*>(haystack);
    if (needleLength == 0)
        return const_cast<unsigned char*>(hay);
    const auto* pattern = static_cast<const unsigned char*>(needle);
    const unsigned char* end = hay + (haystackLength - needleLength) + 1;
    for (const unsigned char* at = hay; at < end; ++at) {
        at = static_cast<const unsigned char*>(std::memchr(at, pattern[0], std::size_t(end - at)));
        if (at == nullptr)
            return nullptr;
        if (std::memcmp(at, pattern, needleLength) == 0)
            return const_cast<unsigned char*>(at);
    }
    return nullptr;
}

} // namespace orv
