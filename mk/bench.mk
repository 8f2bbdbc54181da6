# make bench: micro benchmarks of the hot loops, then the program against dd
# on the device emulator (bench/end_to_end.py). A Release build of its own.
DEB_PACKAGES += libbenchmark-dev time python3 strace
BENCH_BUILD ?= build-bench
BENCH_ROUNDS ?= 15

.PHONY: bench

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DCALDRIN_BENCH=ON
	cmake --build $(BENCH_BUILD) -j$(JOBS)
	$(BENCH_BUILD)/caldrin_micro_bench --benchmark_repetitions=5 \
		--benchmark_display_aggregates_only=true
	python3 bench/end_to_end.py --build $(BENCH_BUILD) --rounds $(BENCH_ROUNDS)
