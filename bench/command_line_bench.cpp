#include <benchmark/benchmark.h>

#include <string>

#include "command_line.h"

namespace {

void split(benchmark::State& state, const std::string& line) {
    for (auto _ : state) {
        int word_count = 0;
        benchmark::DoNotOptimize(split_command_line(line.c_str(), word_count));
        benchmark::DoNotOptimize(word_count);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(line.size()));
}

void BM_split_command_line(benchmark::State& state) { split(state, "d 0 10000 f.bin\n"); }
BENCHMARK(BM_split_command_line);

// The longest line the console accepts: four words spread over it, so every
// character is looked at.
void BM_split_command_line_longest(benchmark::State& state) {
    const std::string gap((kCommandLineSize - 1 - 19) / 3, ' ');
    std::string line = "w" + gap + "8000" + gap + "10000" + gap + "patch.bin";
    line.insert(0, kCommandLineSize - 1 - line.size(), ' ');
    split(state, line);
}
BENCHMARK(BM_split_command_line_longest);

}  // namespace
