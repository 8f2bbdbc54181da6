# Hardening runs: the whole test suite on a sanitizer build, the fuzz
# targets for a bounded time, and memcheck over the test programs. None of
# them is part of `make check`; CI calls them one by one.

DEB_PACKAGES += clang libclang-rt-14-dev valgrind

SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
MEMCHECK_BUILD ?= build-memcheck
FUZZ_SECONDS ?= 60

SANITIZE_FLAGS := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
# Reports go to files as well as failing the process, so a child program
# whose exit status a test does not look at still fails the run.
SANITIZE_REPORTS = $(abspath $(SANITIZE_BUILD))/sanitizer-reports
SANITIZE_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:log_path=$(SANITIZE_REPORTS)/asan \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:log_path=$(SANITIZE_REPORTS)/ubsan

.PHONY: check-sanitize fuzz fuzz-build memcheck

$(SANITIZE_BUILD)/CMakeCache.txt:
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_C_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_SHARED_LINKER_FLAGS="$(SANITIZE_FLAGS)"

check-sanitize: deps $(SANITIZE_BUILD)/CMakeCache.txt
	rm -rf $(SANITIZE_REPORTS) && mkdir -p $(SANITIZE_REPORTS)
	$(SANITIZE_ENV) cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) ctest --output-on-failure -j$(JOBS)
	@if [ -n "$$(ls -A $(SANITIZE_REPORTS))" ]; then \
		cat $(SANITIZE_REPORTS)/*; echo "sanitizer reports in $(SANITIZE_REPORTS)"; exit 1; fi
	@echo "check-sanitize: no sanitizer reports"

# The fuzz targets build as a project of their own around the program's
# libraries, every library instrumented for coverage.
$(FUZZ_BUILD)/CMakeCache.txt:
	CC=clang CXX=clang++ cmake -S tests/fuzz -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

fuzz-build: deps $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j$(JOBS)

# Each target starts from its seeds in tests/fuzz/corpus/NAME; what it finds
# stays in $(FUZZ_BUILD)/corpus/NAME, so the seeds in the repository change
# only by hand. A crash leaves crash-* in $(FUZZ_BUILD)/findings.
FUZZ_TARGETS := fuzz_command_line fuzz_hex_codec fuzz_drive_map fuzz_command_sectors

fuzz: fuzz-build
	@mkdir -p $(FUZZ_BUILD)/findings
	@set -e; for t in $(FUZZ_TARGETS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
		echo "== $$t for $(FUZZ_SECONDS) s"; \
		ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		$(FUZZ_BUILD)/$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-artifact_prefix=$(abspath $(FUZZ_BUILD))/findings/$$t- \
			$(FUZZ_BUILD)/corpus/$$t tests/fuzz/corpus/$$t; \
	done

# The program and every test program under memcheck, following the test
# programs into each run of the program. A process with an invalid access
# or a definite or indirect leak exits with status 99.
MEMCHECK_LOGS = $(abspath $(MEMCHECK_BUILD))/memcheck-logs
MEMCHECK_OPTIONS := --tool=memcheck --trace-children=yes --leak-check=full \
	--errors-for-leak-kinds=definite,indirect --show-leak-kinds=definite,indirect \
	--error-exitcode=99

$(MEMCHECK_BUILD)/CMakeCache.txt:
	cmake -S . -B $(MEMCHECK_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

memcheck: deps $(MEMCHECK_BUILD)/CMakeCache.txt
	cmake --build $(MEMCHECK_BUILD) -j$(JOBS)
	rm -rf $(MEMCHECK_LOGS) && mkdir -p $(MEMCHECK_LOGS)
	@set -e; for t in $$(find $(MEMCHECK_BUILD)/tests -type f -name 'caldrin_*_tests' -perm -u+x | sort); do \
		echo "== valgrind $$t"; \
		valgrind $(MEMCHECK_OPTIONS) --log-file=$(MEMCHECK_LOGS)/vg.%p $$t --gtest_brief=1; \
	done
	@tools=$(MEMCHECK_LOGS); \
	echo "processes checked: $$(ls $$tools | wc -l)"; \
	bad=$$(grep -L 'ERROR SUMMARY: 0 errors' $$tools/vg.* || true); \
	if [ -n "$$bad" ]; then cat $$bad; echo "memcheck errors in: $$bad"; exit 1; fi; \
	echo "memcheck: every process ended with 0 errors"
