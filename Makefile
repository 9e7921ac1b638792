# Front door: every target installs what is missing first, so each works on a fresh
# Debian 12 machine.
BUILD        ?= build
BUILD_SAN    ?= build-sanitize
JOBS         ?= $(shell nproc)
CMAKE_FLAGS  ?=
export QT_QPA_PLATFORM ?= offscreen

.PHONY: all deps configure build test test-sanitize lint fuzz demo bench screenshots package install clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

$(BUILD_SAN)/build.ninja:
	cmake -S . -B $(BUILD_SAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON \
	      -DCORVANE_BUILD_GUI=OFF -DCORVANE_BUILD_BENCH=OFF

test-sanitize: deps $(BUILD_SAN)/build.ninja
	cmake --build $(BUILD_SAN) -j $(JOBS)
	cd $(BUILD_SAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    ctest --output-on-failure -j $(JOBS)

# clang-format and clang-tidy over the tree (needs the configured build's compile_commands.json).
lint: build
	@bash scripts/lint.sh $(BUILD)

# libFuzzer drivers under the sanitizers; FUZZ_SECONDS per driver (default 60).
fuzz: deps
	@bash scripts/fuzz.sh build-fuzz

demo: build
	@bash scripts/demo.sh $(BUILD)

bench: build
	@bash scripts/bench.sh $(BUILD)

screenshots: build
	@bash scripts/screenshots.sh $(BUILD)

package: build
	cd $(BUILD) && cpack -G DEB

install: build
	cmake --install $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD_SAN) build-fuzz
