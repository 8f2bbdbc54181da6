#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "crc16_xmodem.h"
#include "crc32.h"

namespace {

std::vector<uint8_t> sample_bytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t k = 0; k < count; ++k) bytes[k] = static_cast<uint8_t>(k * 7 + (k >> 8));
    return bytes;
}

// A whole 64 KiB dump, the checksum printed after every "d".
void BM_crc32(benchmark::State& state) {
    const auto bytes = sample_bytes(static_cast<size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(crc32(bytes.data(), bytes.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_crc32)->Arg(0x10000);

// 510 bytes is one command sector; 64 KiB shows the loop without call overhead.
void BM_crc16_xmodem(benchmark::State& state) {
    const auto bytes = sample_bytes(static_cast<size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(crc16_xmodem(bytes.data(), bytes.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_crc16_xmodem)->Arg(510)->Arg(0x10000);

}  // namespace
