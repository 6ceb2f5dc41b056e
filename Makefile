# Quellhaven: `make run` builds and starts the game, `make test` builds and runs every test.
# Both install the Debian packages they need when they are missing.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
PACKAGES   := g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libsdl2-dev libjpeg62-turbo-dev \
              libvorbis-dev libogg-dev libgl-dev libgl1-mesa-dri xvfb xauth
BENCH_PACKAGES := libbenchmark-dev

.PHONY: all run test bench deps bench-deps build build-asan clean

all: build

deps:
	@tools/install-packages $(PACKAGES)

bench-deps: deps
	@tools/install-packages $(BENCH_PACKAGES)

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKEYSTREL_SANITIZE=ON

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test: build build-asan
	tools/run-tests $(BUILD) $(JOBS)
	tools/run-tests $(ASAN_BUILD) $(JOBS) --sanitized

run: build
	@echo "Quellhaven cannot be started yet: the program entry is not built."

bench: bench-deps $(BUILD)/build.ninja
	cmake -S . -B $(BUILD) -DKEYSTREL_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
