// Logs 10,000 lines (messages, with a warning and an error among every ten) into a log file that is flushed per
// entry, and reports the time against the target of 50 ms.
#include "BenchSupport.h"
#include "engine/foundation/MessageManager.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using KeystrelEngine::MessageManager;

namespace {

constexpr int kLines = 10000;

double LogLines(const std::string& folder)
{
    MessageManager log(BenchSupport::EngineName(folder), "Bench", "", true, false);
    const std::string text = "Texture Manager: \"data\\textures\\board\\cell.jpg\" loaded";
    const auto start = std::chrono::steady_clock::now();
    for (int line = 0; line < kLines; ++line) {
        if (line % 10 == 8)
            log.Warning(text);
        else if (line % 10 == 9)
            log.Error(text);
        else
            log.Message(text);
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    log.ClearHistory();
    return BenchSupport::Milliseconds(elapsed);
}

} // namespace

int main()
{
    std::string folder = (std::filesystem::temp_directory_path() / "bench-log-XXXXXX").string();
    if (!mkdtemp(folder.data()))
        return 0;
    std::vector<double> rounds;
    for (int round = 0; round < 5; ++round)
        rounds.push_back(LogLines(folder));
    std::printf("bench_log: %d lines, every entry flushed to the file, %zu rounds\n", kLines, rounds.size());
    std::printf("  median %.1f ms (target < 50 ms)\n", BenchSupport::Median(rounds));
    std::filesystem::remove_all(folder);
    return 0;
}
