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

// A script block and a whole 64 KiB dump, whose checksum "d" prints.
void BM_crc32(benchmark::State& state) {
    const auto bytes = sample_bytes(static_cast<size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(crc32(bytes.data(), bytes.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_crc32)->Arg(0x4000)->Arg(0x10000);

// 510 bytes is one command sector; 64 KiB shows the loop without call overhead.
void BM_crc16_xmodem(benchmark::State& state) {
    const auto bytes = sample_bytes(static_cast<size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(crc16_xmodem(bytes.data(), bytes.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_crc16_xmodem)->Arg(510)->Arg(0x10000);

// Bytes 0 to 509 of each of 128 sectors (64 KiB), as framing a run does.
void BM_crc16_xmodem_blocks(benchmark::State& state) {
    constexpr size_t kSectors = 128;
    const auto bytes = sample_bytes(kSectors * 512);
    uint16_t crcs[kSectors];
    for (auto _ : state) {
        crc16_xmodem_blocks(bytes.data(), 510, 512, kSectors, crcs);
        benchmark::DoNotOptimize(crcs);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSectors * 510);
}
BENCHMARK(BM_crc16_xmodem_blocks);

}  // namespace
