// What every fuzz target defines, in one source file of its own: LLVMFuzzerTestOneInput hands one input to a
// loader the way the engine would hand it a file, and WriteSeeds writes the target's seed corpus with the format
// writers the tests use. The clang build with KEYSTREL_FUZZ links the entry with libFuzzer's driver; every build
// links both functions with the replayer (ReplayMain.cpp), which CTest runs over the seeds and the saved crash
// inputs. A loader's own failures (its logged errors and raised engine errors) are expected answers; only a crash,
// a sanitizer report or an escaping exception is a finding.
#pragma once

#include "tests/fuzz/SeedFolder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace Fuzzing {

void WriteSeeds(SeedFolder& seeds);

} // namespace Fuzzing
