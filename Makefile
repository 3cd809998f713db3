# The two commands of the quick start: `make demo` and `make test`.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
CMAKE_FLAGS ?=

.PHONY: all setup build build-asan test test-plain test-asan demo readme-picture \
        bench clean

all: build

setup:
	@scripts/setup

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

$(ASAN_BUILD)/CMakeCache.txt:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DMOWA_SANITIZE=ON \
	  -DMOWA_BENCH=OFF $(CMAKE_FLAGS)

build: setup $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

build-asan: setup $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The whole suite, built plainly and with the sanitizers.
test: test-plain test-asan

test-plain: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

demo: build
	@scripts/demo $(BUILD)

# The README's picture: scenes of the demo as the current build shows them,
# from the frames of a headless run.
readme-picture: build
	@scripts/demo --readme-picture docs/demo.png $(BUILD)

bench: build
	$(BUILD)/mowa_bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

# ---- The Debian package ----------------------------------------------------
# `make deb` builds $(BUILD)/mowa_VERSION_amd64.deb; `make deb-check` installs
# it into this machine, plays the installed demo headless to its end and
# removes the package again (needs root or sudo).
.PHONY: deb deb-check
deb: build
	cd $(BUILD) && cpack -G DEB
deb-check: deb
	@scripts/deb-check $(BUILD)

# ---- The real program's figures --------------------------------------------
# Start to first picture, processor use while a scenario waits for a click,
# click to its mark and peak memory of $(BUILD)/mowa under Xvfb.
.PHONY: bench-window
bench-window: build
	scripts/bench-window $(BUILD)
