// quellhaven-content <data folder>: writes every file the game reads (see ContentTool).
#include "tools/content/ContentTool.h"

#include <chrono>
#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    // An option is never taken for a folder name ("--help" would otherwise become a data folder).
    if (argc != 2 || argv[1][0] == '-') {
        std::cerr << "usage: quellhaven-content <data folder>\n";
        return 2;
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        const Content::ContentTool tool;
        const auto outcome = tool.Run(argv[1], tool.Identity("/proc/self/exe"));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (outcome == Content::ContentTool::Outcome::UpToDate)
            std::cout << "quellhaven-content: " << argv[1] << " is up to date\n";
        else
            std::cout << "quellhaven-content: wrote " << tool.Manifest().size() << " files to " << argv[1] << " in "
                      << took.count() << " s\n";
    } catch (const std::exception& error) {
        std::cerr << "quellhaven-content: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
