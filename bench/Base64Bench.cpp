// Base64 throughput on 1 MiB of random bytes: our coder in both forms beside
// OpenSSL's block coder. Throughput is counted in input bytes for encoding and
// in output bytes for decoding, the same for every coder.
#include "text/Base64Coding.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#if defined(ORV_HAVE_OPENSSL)
#include <openssl/evp.h>
#endif

namespace {

constexpr int kSize = 1 << 20;

const CByteArray& Input()
{
    static const CByteArray input = [] {
        CByteArray bytes;
        bytes.SetSize(kSize);
        std::mt19937 random(42);
        for (int i = 0; i < kSize; ++i)
            bytes[i] = BYTE(random());
        return bytes;
    }();
    return input;
}

void OrvEncodeBytes(benchmark::State& state)
{
    CBase64Coding coder;
    CByteArray out;
    for (auto _ : state) {
        coder.Encode(Input(), out);
        benchmark::DoNotOptimize(out.GetData());
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}

void OrvEncodeText(benchmark::State& state)
{
    CBase64Coding coder;
    CString out;
    for (auto _ : state) {
        coder.Encode(Input(), out);
        benchmark::DoNotOptimize(out.GetString());
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}

void OrvDecodeBytes(benchmark::State& state)
{
    CBase64Coding coder;
    CByteArray encoded, out;
    coder.Encode(Input(), encoded);
    for (auto _ : state) {
        coder.Decode(encoded, out);
        benchmark::DoNotOptimize(out.GetData());
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}

void OrvDecodeText(benchmark::State& state)
{
    CBase64Coding coder;
    CString encoded;
    CByteArray out;
    coder.Encode(Input(), encoded);
    for (auto _ : state) {
        coder.Decode(encoded, out);
        benchmark::DoNotOptimize(out.GetData());
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}

BENCHMARK(OrvEncodeBytes);
BENCHMARK(OrvEncodeText);
BENCHMARK(OrvDecodeBytes);
BENCHMARK(OrvDecodeText);

#if defined(ORV_HAVE_OPENSSL)
void OpenSslEncodeBlock(benchmark::State& state)
{
    std::vector<unsigned char> out(kSize / 3 * 4 + 8);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EVP_EncodeBlock(out.data(), Input().GetData(), kSize));
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}

void OpenSslDecodeBlock(benchmark::State& state)
{
    std::vector<unsigned char> encoded(kSize / 3 * 4 + 8);
    const int length = EVP_EncodeBlock(encoded.data(), Input().GetData(), kSize);
    std::vector<unsigned char> out(kSize + 4);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EVP_DecodeBlock(out.data(), encoded.data(), length));
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}

BENCHMARK(OpenSslEncodeBlock);
BENCHMARK(OpenSslDecodeBlock);
#endif

} // namespace
