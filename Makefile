# Quellhaven: `make run` builds and starts the game, `make data` builds the content tool and writes the game's
# data into $(BUILD)/Data, `make test` builds and runs every test.
# Each installs the Debian packages it needs when they are missing.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
PACKAGES   := g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libsdl2-dev libjpeg62-turbo-dev \
              libvorbis-dev libogg-dev libgl-dev libgl1-mesa-dri xvfb xauth libfreetype-dev fonts-dejavu-core
BENCH_PACKAGES := libbenchmark-dev

.PHONY: all run data test bench deps bench-deps build build-asan clean

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

# The tool does nothing while the stamp in the folder names its own build.
data: build
	$(BUILD)/tools/content/quellhaven-content $(BUILD)/Data

run: data
	@echo "Quellhaven cannot be started yet: the program entry is not built."

bench: bench-deps $(BUILD)/build.ninja
	cmake -S . -B $(BUILD) -DKEYSTREL_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
