# The Windows program: cross-built with MinGW-w64 into build-win32/, zipped
# by make dist, and run under Wine by the end-to-end tables of make check.
WIN32_BUILD ?= build-win32

DEPS_BEFORE += tools/deps-windows.sh

.PHONY: windows dist clean-windows wine-stop

# Configured every time (cheap once configured): Lua files that appear in
# lua/ and dumpers/ join the zip.
windows:
	cmake -S . -B $(WIN32_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.toolchain.cmake \
		-DCMAKE_BUILD_TYPE=Release -DCALDRIN_TESTS=OFF
	cmake --build $(WIN32_BUILD) -j$(JOBS)

dist: windows
	cd $(WIN32_BUILD) && cpack -G ZIP

# The tables of make check run against the Windows program too, so it is
# built first, after the packages it needs.
check: deps windows

# The tests keep their Wine prefix's wineserver running between test
# processes; it would end by itself half a minute later.
CHECK_AFTER += wine-stop
wine-stop:
	@prefix=$(abspath $(BUILD))/tests/windows/wine-prefix; \
	if [ -d $$prefix ]; then WINEPREFIX=$$prefix wineserver -k 2>/dev/null || true; fi

clean: clean-windows
clean-windows:
	rm -rf $(WIN32_BUILD) dist
