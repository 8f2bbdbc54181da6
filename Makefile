# Short commands in front of CMake.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Debian packages that building and testing need; fragments in mk/ add theirs.
DEB_PACKAGES := build-essential cmake pkg-config googletest libgtest-dev \
	liblua5.1-0-dev libfuse3-dev fuse3 cc65
# Steps that must run before the packages are installed (mk/ fragments).
DEPS_BEFORE :=
# Targets that `make check` runs after the Linux tests (mk/ fragments).
CHECK_AFTER :=

.PHONY: all deps build check clean demo

all: build

include $(sort $(wildcard mk/*.mk))

deps:
	@$(foreach step,$(DEPS_BEFORE),$(step) &&) true
	@missing=$$(for p in $(DEB_PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "installing:" $$missing; \
		$(SUDO) apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

check: deps build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	@$(foreach target,$(CHECK_AFTER),$(MAKE) --no-print-directory $(target) &&) true

# The device emulator with a demonstration cartridge, a short session, and a
# whole-cartridge dump compared with the image.
demo: build
	emulator/demo/run_demo.sh $(BUILD)

clean:
	rm -rf $(BUILD)
