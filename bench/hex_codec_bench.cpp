#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "hex_codec.h"

namespace {

constexpr uint32_t kBlock = 0x10000;

// Throughput is counted in bytes on the binary side for both directions, so
// the two figures compare directly (the text is twice as long).
void BM_hex_encode(benchmark::State& state) {
    std::vector<uint8_t> bytes(kBlock);
    for (uint32_t k = 0; k < kBlock; ++k) bytes[k] = static_cast<uint8_t>(k * 7 + (k >> 8));
    std::vector<char> text(2 * kBlock + 1);
    for (auto _ : state) {
        uint32_t length = static_cast<uint32_t>(text.size());
        benchmark::DoNotOptimize(hex_encode(bytes.data(), kBlock, text.data(), &length));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBlock);
}
BENCHMARK(BM_hex_encode);

void BM_hex_decode(benchmark::State& state) {
    std::vector<char> text(2 * kBlock + 1);
    for (uint32_t k = 0; k < 2 * kBlock; ++k) text[k] = "0123456789ABCDEFabcdef"[(k * 7 + (k >> 9)) % 22];
    text[2 * kBlock] = '\0';
    std::vector<uint8_t> bytes(kBlock);
    for (auto _ : state) {
        uint32_t count = kBlock;
        benchmark::DoNotOptimize(hex_decode(text.data(), bytes.data(), &count));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBlock);
}
BENCHMARK(BM_hex_decode);

}  // namespace
