# Quellhaven: `make run` builds and starts the game, `make data` builds the content tool and writes the game's
# data into $(BUILD)/Data (both build only the game and the tool), `make test` builds and runs every test,
# `make bench` runs the benchmarks, `make fuzz` the loaders' fuzz targets and `make soak` long watched random play.
# Each installs the Debian packages it needs when they are missing.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
# `make fuzz` runs every fuzz target for FUZZ_SECONDS (FUZZ_TARGETS="jpeg wav" chooses some).
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
# `make soak` plays SOAK_SEEDS seeds (a count from seed 1, or FIRST-LAST) of SOAK_FRAMES frames each.
SOAK_SEEDS  ?= 100
SOAK_FRAMES ?= 12000
PACKAGES   := g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libsdl2-dev libjpeg62-turbo-dev \
              libvorbis-dev libogg-dev libgl-dev libgl1-mesa-dri xvfb xauth libfreetype-dev fonts-dejavu-core \
              libx11-dev libxi-dev libxkbcommon-dev libxtst-dev
BENCH_PACKAGES := libbenchmark-dev
FUZZ_PACKAGES  := clang-14 libclang-rt-14-dev llvm-14

.PHONY: all run data test bench fuzz soak deps bench-deps fuzz-deps build build-game build-asan clean

all: build

deps:
	@tools/install-packages $(PACKAGES)

bench-deps: deps
	@tools/install-packages $(BENCH_PACKAGES)

fuzz-deps: deps
	@tools/install-packages $(FUZZ_PACKAGES)

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKEYSTREL_SANITIZE=ON

# The fuzz build is clang's, with the loaders' fuzz targets and without the unit tests.
$(FUZZ_BUILD)/build.ninja:
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
	      -DCMAKE_CXX_COMPILER=clang++-14 -DKEYSTREL_FUZZ=ON -DKEYSTREL_TESTS=OFF

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# The game and its content tool alone, in the folder `make test` builds everything in.
build-game: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target quellhaven quellhaven-content

build-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test: build build-asan
	tools/run-tests $(BUILD) $(JOBS)
	tools/run-tests $(ASAN_BUILD) $(JOBS) --sanitized

# The tool does nothing while the stamp in the folder names its own build.
data: build-game
	$(BUILD)/tools/content/quellhaven-content $(BUILD)/Data

# The program finds its data in the folder it lies in: $(BUILD)/quellhaven reads $(BUILD)/Data.
run: data
	$(BUILD)/quellhaven

bench: bench-deps $(BUILD)/build.ninja
	cmake -S . -B $(BUILD) -DKEYSTREL_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

fuzz: fuzz-deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	tools/run-fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The soak's program alone and the game's data, then the seeds on every core (see tools/soak).
soak: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target game_soak quellhaven-content
	$(BUILD)/tools/content/quellhaven-content $(BUILD)/Data
	tools/soak $(BUILD) $(SOAK_SEEDS) $(SOAK_FRAMES) $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
