# The two commands of the quick start: `make demo` and `make test`.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
CMAKE_FLAGS ?=

.PHONY: all setup build build-asan test test-plain test-asan demo readme-picture \
        bench clean build-fuzz fuzz fuzz-ci fuzz-seeds soak

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

# The demo looped SOAK_PASSES times in one process, its memory, descriptors
# and GDI objects sampled and their slopes reported; then the fault sweep in
# full, many calls of every service made to fail one at a time.
SOAK_PASSES ?= 10000
soak: build
	$(BUILD)/mowa-soak $(BUILD)/demo demo/clicks.txt $(SOAK_PASSES)
	MOWA_FAULT_SWEEP=full $(BUILD)/mowa_tests --gtest_filter='*FaultSweep*'

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

# Fuzzing, with Clang's libFuzzer and the sanitizers. `make fuzz` runs every
# target for FUZZ_SECONDS and keeps what it finds new in
# $(FUZZ_BUILD)/corpus; `make fuzz-ci` replays every corpus in the tree and
# then fuzzes each target for 30 seconds; `make fuzz-seeds` writes the seed
# corpora of fuzz/corpus again.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

$(FUZZ_BUILD)/CMakeCache.txt:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOWA_FUZZ=ON -DMOWA_TESTS=OFF \
	  -DMOWA_BENCH=OFF $(CMAKE_FLAGS)

build-fuzz: setup $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

fuzz: build-fuzz
	@scripts/fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-ci: build-fuzz
	@scripts/fuzz --ci $(FUZZ_BUILD) 30

fuzz-seeds: build-fuzz
	rm -rf fuzz/corpus
	$(FUZZ_BUILD)/mowa-fuzz-seeds fuzz/corpus $(FUZZ_BUILD)/demo
