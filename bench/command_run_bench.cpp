#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench_drive.h"
#include "command_sectors.h"
#include "device_link.h"
#include "memory_access.h"
#include "platform.h"

// The 0x10000-sector run of a 64 KiB write, taken apart in three layers that
// each add one step: the bare file write, framing plus write, and building
// plus framing plus write. The differences are the cost of each step. All
// figures count the 32 MiB of the run.
namespace {

constexpr uint32_t kDataLength = 0x10000;
constexpr uint32_t kRunLength = kDataLength * kCommandSectorSize;

void count_run_bytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kRunLength);
}

void BM_command_file_write(benchmark::State& state) {
    bench_drive_folder();
    std::vector<uint8_t> run(kRunLength, 0);
    const std::string path = device_file_name("CMD.CMD");
    for (auto _ : state)
        if (platform::write_command_file(path.c_str(), run.data(), kRunLength) != int32_t(kRunLength))
            state.SkipWithError("command file write failed");
    count_run_bytes(state);
}
BENCHMARK(BM_command_file_write)->Unit(benchmark::kMillisecond);

void BM_send_command_sectors(benchmark::State& state) {
    bench_drive_folder();
    std::vector<uint8_t> run(kRunLength, 0);
    for (auto _ : state)
        if (send_command_sectors(run.data(), kRunLength) != int32_t(kRunLength))
            state.SkipWithError("send failed");
    count_run_bytes(state);
}
BENCHMARK(BM_send_command_sectors)->Unit(benchmark::kMillisecond);

void BM_write_memory_famicom(benchmark::State& state) {
    bench_drive_folder();
    std::vector<uint8_t> data(kDataLength);
    for (uint32_t k = 0; k < kDataLength; ++k) data[k] = static_cast<uint8_t>(k * 7 + (k >> 8));
    for (auto _ : state)
        if (write_memory_famicom(0, data.data(), kDataLength) != int32_t(kRunLength))
            state.SkipWithError("write failed");
    count_run_bytes(state);
}
BENCHMARK(BM_write_memory_famicom)->Unit(benchmark::kMillisecond);

}  // namespace
