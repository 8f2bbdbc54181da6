# Hardening runs: the whole test suite on a sanitizer build, the fuzz
# targets for a bounded time, and memcheck over the test programs. None of
# them is part of `make check`; CI calls them one by one.

DEB_PACKAGES += clang libclang-rt-14-dev valgrind

SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
MEMCHECK_BUILD ?= build-memcheck
FUZZ_SECONDS ?= 60
# The targets that touch files do so in a throwaway folder here, removed
# after the run even when a target crashed; memory backed, so the device's
# forced writes cost nothing.
FUZZ_TMPDIR ?= $(if $(wildcard /dev/shm),/dev/shm,/tmp)

# The Windows program under Wine runs none of the instrumented code: its
# cases are left to `make check`.
SANITIZE_CTEST_ARGS ?= -E /wine_
SANITIZE_FLAGS := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
# Every report lands in a file named after its program, as well as failing
# that program: a process whose exit status no test looks at (a mounted
# emulator, say) still fails the run. Built with clang because GCC's
# undefined-behaviour runtime ignores log_path next to AddressSanitizer and
# would print only to a standard error nobody may read.
#
# Leak checking stops the world with ptrace; a container that forbids it
# needs SANITIZE_LEAKS=0. The engine frees everything on close, so leaks
# are checked in full wherever they can be.
SANITIZE_LEAKS ?= 1
SANITIZE_REPORTS = $(abspath $(SANITIZE_BUILD))/sanitizer-reports
SANITIZE_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=$(SANITIZE_LEAKS):check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:log_path=$(SANITIZE_REPORTS)/report:log_exe_name=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:log_path=$(SANITIZE_REPORTS)/report:log_exe_name=1

.PHONY: check-sanitize sanitize-configure fuzz fuzz-build fuzz-configure memcheck memcheck-configure

# Configured afresh every time: parts of the tree join the build when their
# folders appear, which an existing cache would not notice.
sanitize-configure: deps
	CC=clang CXX=clang++ cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_C_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_SHARED_LINKER_FLAGS="$(SANITIZE_FLAGS)"

# Some sessions run every program this tree builds, the Windows one under
# Wine among them, as in `make check`.
check-sanitize: sanitize-configure windows
	rm -rf $(SANITIZE_REPORTS) && mkdir -p $(SANITIZE_REPORTS)
	$(SANITIZE_ENV) cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	@status=0; (cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) ctest --output-on-failure -j$(JOBS) $(SANITIZE_CTEST_ARGS)) || status=1; \
	for report in $(SANITIZE_REPORTS)/*; do \
		[ -e "$$report" ] || continue; echo "== $$report"; cat "$$report"; status=1; \
	done; \
	$(MAKE) --no-print-directory wine-stop BUILD=$(SANITIZE_BUILD) || true; \
	if [ $$status = 0 ]; then echo "check-sanitize: every test passed, no sanitizer reports"; fi; \
	exit $$status

# The fuzz targets build as a project of their own around the program's
# libraries, every library instrumented for coverage.
fuzz-configure: deps
	CC=clang CXX=clang++ cmake -S tests/fuzz -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

fuzz-build: fuzz-configure
	cmake --build $(FUZZ_BUILD) --target fuzz_targets -j$(JOBS)

# Each target starts from its seeds in tests/fuzz/corpus/NAME; what it finds
# stays in $(FUZZ_BUILD)/corpus/NAME, so the seeds in the repository change
# only by hand. A crash leaves crash-* in $(FUZZ_BUILD)/findings.
FUZZ_TARGETS := fuzz_command_line fuzz_hex_codec fuzz_drive_map fuzz_command_sectors

fuzz: fuzz-build
	@mkdir -p $(FUZZ_BUILD)/findings $(FUZZ_BUILD)/logs
	@status=0; scratch=$$(mktemp -d $(FUZZ_TMPDIR)/caldrin-fuzz.XXXXXX); \
	for t in $(FUZZ_TARGETS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
		echo "== $$t for $(FUZZ_SECONDS) s"; \
		TMPDIR=$$scratch ASAN_OPTIONS=detect_leaks=$(SANITIZE_LEAKS) UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		$(FUZZ_BUILD)/$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-artifact_prefix=$(abspath $(FUZZ_BUILD))/findings/$$t- \
			$(FUZZ_BUILD)/corpus/$$t tests/fuzz/corpus/$$t > $(FUZZ_BUILD)/logs/$$t.log 2>&1 \
			&& grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)' \
				$(FUZZ_BUILD)/logs/$$t.log \
			|| { status=1; tail -n 60 $(FUZZ_BUILD)/logs/$$t.log; }; \
		echo "corpus: $$(ls $(FUZZ_BUILD)/corpus/$$t | wc -l) inputs kept"; \
	done; \
	rm -rf $$scratch; \
	if [ $$status = 0 ]; then echo "fuzz: no findings"; else echo "fuzz: findings in $(FUZZ_BUILD)/findings"; fi; \
	exit $$status

# The program and every test program under memcheck, following the test
# programs into each run of the program and of the emulator. A process with
# an invalid access or a definite or indirect leak exits with status 99,
# which fails its test; the logs are swept as well. Wine and the FUSE mount
# helper are left to run natively, and so are the Windows program's cases.
MEMCHECK_LOGS = $(abspath $(MEMCHECK_BUILD))/memcheck-logs
MEMCHECK_OPTIONS := --tool=memcheck --trace-children=yes \
	--trace-children-skip='*wine*,*fusermount*' --leak-check=full \
	--errors-for-leak-kinds=definite,indirect --show-leak-kinds=definite,indirect \
	--error-exitcode=99
MEMCHECK_FILTER ?= -*/wine_*:WindowsProgram.*

# GoogleTest names a parameterised case by printing its parameter's raw
# bytes, padding included; that is the test framework reading padding, not
# the program.
define MEMCHECK_SUPPRESSIONS
{
   test-parameter-padding-value
   Memcheck:Value8
   ...
   fun:*PrintBytesInObjectTo*
}
{
   test-parameter-padding-cond
   Memcheck:Cond
   ...
   fun:*PrintBytesInObjectTo*
}
endef

memcheck-configure: deps
	cmake -S . -B $(MEMCHECK_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

memcheck: memcheck-configure windows
	cmake --build $(MEMCHECK_BUILD) -j$(JOBS)
	rm -rf $(MEMCHECK_LOGS) && mkdir -p $(MEMCHECK_LOGS)
	$(file >$(MEMCHECK_LOGS).supp,$(MEMCHECK_SUPPRESSIONS))
	@status=0; \
	for t in $$(find $(MEMCHECK_BUILD) -maxdepth 1 -type f -perm -u+x -name '*_tests' ! -name '*windows*' | sort); do \
		echo "== valgrind $$t"; \
		valgrind $(MEMCHECK_OPTIONS) --suppressions=$(MEMCHECK_LOGS).supp --log-file=$(MEMCHECK_LOGS)/vg.%p $$t --gtest_brief=1 \
			--gtest_filter='$(MEMCHECK_FILTER)' || status=1; \
	done; \
	logs=$(MEMCHECK_LOGS); \
	echo "memcheck: $$(grep -l 'ERROR SUMMARY' $$logs/vg.* | wc -l) processes checked to the end:"; \
	grep -l 'ERROR SUMMARY' $$logs/vg.* | xargs grep -h '== Command:' | awk '{print $$3}' | sed 's|.*/||' | sort | uniq -c; \
	bad=$$(grep -lE 'ERROR SUMMARY: [1-9]' $$logs/vg.* || true); \
	if [ -n "$$bad" ]; then cat $$bad; echo "memcheck errors in: $$bad"; status=1; fi; \
	$(MAKE) --no-print-directory wine-stop BUILD=$(MEMCHECK_BUILD) || true; \
	[ $$status = 0 ] && echo "memcheck: every test passed, every process ended with 0 errors"; \
	exit $$status
