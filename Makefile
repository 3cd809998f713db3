# The two commands of the quick start: `make demo` and `make test`.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
CLANG_BUILD ?= build-clang-release
WEB_BUILD ?= build-web
CMAKE_FLAGS ?=

# ---- One formatting ---------------------------------------------------------
# `make format` reflows every C++ file git knows of by .clang-format;
# `make format-check` (run by CI) fails where a file is not so formatted.
FORMAT_FILES = git ls-files '*.cpp' '*.h'
.PHONY: format format-check
format:
	$(FORMAT_FILES) | xargs clang-format -i
format-check: setup
	$(FORMAT_FILES) | xargs clang-format --dry-run --Werror

.PHONY: all setup build build-asan build-clang-release test test-plain test-asan \
        test-clang-release demo readme-picture bench clean windows \
        build-fuzz fuzz fuzz-ci fuzz-seeds soak web

all: build

setup:
	@scripts/setup

# The builds of `make test` treat warnings as errors; a plain cmake build
# (a packager's) keeps them warnings.
$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOWA_WERROR=ON \
	  $(CMAKE_FLAGS)

$(ASAN_BUILD)/CMakeCache.txt:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DMOWA_SANITIZE=ON \
	  -DMOWA_BENCH=OFF -DMOWA_WERROR=ON $(CMAKE_FLAGS)

$(CLANG_BUILD)/CMakeCache.txt:
	cmake -S . -B $(CLANG_BUILD) -DCMAKE_BUILD_TYPE=Release -DMOWA_WERROR=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DMOWA_BENCH=OFF \
	  -DMOWA_WINDOWS=OFF $(CMAKE_FLAGS)

# Building installs nothing; `make test` and `make demo` run scripts/setup
# first, which installs the Debian packages that are missing.
build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

build-asan: $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS)

build-clang-release: $(CLANG_BUILD)/CMakeCache.txt
	cmake --build $(CLANG_BUILD) -j $(JOBS)

# The whole suite, built plainly and with the sanitizers.
test: setup
	$(MAKE) web test-plain test-asan

test-plain: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The suite once more, built for release with Clang (CI runs it too).
test-clang-release: setup
	$(MAKE) build-clang-release
	cd $(CLANG_BUILD) && ctest --output-on-failure -j $(JOBS)

demo: setup
	$(MAKE) build
	@scripts/demo $(BUILD)

# The README's picture: scenes of the demo as the current build shows them,
# from the frames of a headless run.
readme-picture: build
	@scripts/demo --readme-picture docs/demo.png $(BUILD)

# mowa.exe for 64-bit and 32-bit Windows, and dist/mowa-windows-*.zip.
windows: setup
	@JOBS=$(JOBS) scripts/windows $(BUILD)

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
	rm -rf $(BUILD) $(ASAN_BUILD) $(CLANG_BUILD) $(FUZZ_BUILD)

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

# Fuzzing, with Clang's libFuzzer and the sanitizers. `make fuzz` runs every
# target for FUZZ_SECONDS and keeps what it finds new in
# $(FUZZ_BUILD)/corpus; `make fuzz-ci` replays every corpus in the tree and
# then fuzzes each whole-program target for 30 seconds and each reader,
# which tries thousands of inputs a second where those try tens, for 15;
# `make fuzz-seeds` writes the seed corpora of fuzz/corpus again.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

$(FUZZ_BUILD)/CMakeCache.txt:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOWA_FUZZ=ON -DBUILD_TESTING=OFF \
	  -DMOWA_BENCH=OFF -DMOWA_WINDOWS=OFF $(CMAKE_FLAGS)

build-fuzz: setup $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

fuzz: build-fuzz
	@scripts/fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-ci: build-fuzz
	@scripts/fuzz --ci $(FUZZ_BUILD) 30 15

fuzz-seeds: build-fuzz
	rm -rf fuzz/corpus
	$(FUZZ_BUILD)/mowa-fuzz-seeds fuzz/corpus $(FUZZ_BUILD)/demo

# ---- The VS Code extension -------------------------------------------------
# dist/mowa-vscode-VERSION.vsix, packaged with @vscode/vsce as pinned by
# editors/vscode/package-lock.json (needs node and npm: scripts/setup).
.PHONY: vscode
vscode:
	@editors/vscode/tools/package.sh dist

# The browser player (dist/web/, served by any static HTTP server, and
# dist/mowa-web.zip): emscripten builds it with FreeType from Debian's
# source package; the demo is staged by the native build.
web: setup
	scripts/web-deps $(WEB_BUILD)/deps
	NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD)/cmake \
	  -DCMAKE_BUILD_TYPE=Release -DMOWA_WERROR=ON -DBUILD_TESTING=OFF $(CMAKE_FLAGS)
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD)/cmake -j $(JOBS)
	$(MAKE) $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target mowa_demo
	MOWA_WEB_PLAYER=$(WEB_BUILD)/cmake scripts/web-pack $(BUILD)/demo dist/web
	rm -f dist/mowa-web.zip
	cd dist && python3 -m zipfile -c mowa-web.zip web
