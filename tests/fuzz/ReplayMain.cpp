// The replayer, linked with each fuzz target in every build in place of libFuzzer's driver.
//   replay_<target> --write-seeds FOLDER   writes the target's seed corpus into FOLDER (run when it is built);
//   replay_<target> PATH...                 hands every file named, and every file of every folder named, to the
//                                           target once, in name order, as libFuzzer would hand it over.
// A folder that does not exist counts as empty: a target whose fuzzing has found nothing has no folder of saved
// crash inputs. A crash or a sanitizer report ends the process, which fails the test that ran it.
#include "tests/fuzz/FuzzTarget.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> InputsAt(const fs::path& path)
{
    std::vector<fs::path> inputs;
    if (fs::is_directory(path)) {
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(path)) {
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
        }
    } else if (fs::exists(path)) {
        inputs.push_back(path);
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

void Replay(const fs::path& input)
{
    std::ifstream in(input, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // libFuzzer never hands over a null pointer, not even for an empty input.
    static const std::uint8_t kNothing = 0;
    LLVMFuzzerTestOneInput(bytes.empty() ? &kNothing : bytes.data(), bytes.size());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-seeds") == 0) {
        Fuzzing::SeedFolder seeds(argv[2]);
        Fuzzing::WriteSeeds(seeds);
        std::printf("%zu seeds written to %s\n", seeds.GetCount(), argv[2]);
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        const std::vector<fs::path> inputs = InputsAt(argv[i]);
        for (const fs::path& input : inputs)
            Replay(input);
        std::printf("%zu inputs replayed from %s\n", inputs.size(), argv[i]);
    }
    return 0;
}
