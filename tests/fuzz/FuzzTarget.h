// What every fuzz target defines, in one source file of its own: LLVMFuzzerTestOneInput hands one input to a
// loader the way the engine would hand it a file, and WriteSeeds writes the target's seed corpus with the format
// writers the tests use. The clang build with KEYSTREL_FUZZ links the entry with libFuzzer's driver; every build
// links both functions with the replayer (ReplayMain.cpp), which CTest runs over the seeds and the saved crash
// inputs. A loader's own failures (its logged errors and raised engine errors) are expected answers; only a crash,
// a sanitizer report or an escaping exception is a finding.
#pragma once

#include "tests/fuzz/SeedFolder.h"

#include "engine/foundation/FileValues.h"
#include "engine/foundation/MessageManager.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace Fuzzing {

void WriteSeeds(SeedFolder& seeds);

// True when every value lies in the range: no NaN, no infinity, nothing the loader should have refused or mended.
inline bool AllWithin(std::span<const float> values, KeystrelEngine::ValueRange range)
{
    return std::all_of(values.begin(), values.end(), [range](float value) { return range.Holds(value); });
}

// True when the log holds no warning and no error: what a loader reads back from its own save needs no word.
inline bool LoggedNoProblem(const KeystrelEngine::MessageManager& log)
{
    return std::all_of(log.m_history.begin(), log.m_history.end(),
                       [](const auto& record) { return record.kind == KeystrelEngine::MessageManager::KindMessage; });
}

} // namespace Fuzzing
