// The content tool's data of this build (written by the content_data set-up test) seen from a test: the test's
// own data folder becomes a link to it, so the engine's managers read the very files the game will.
#pragma once

#include "tests/support/TestEnvironment.h"

#include <filesystem>

namespace SceneTesting {

inline void LinkBuildData()
{
    const std::filesystem::path link = std::filesystem::path(TestSupport::BaseFolder()) / "Data";
    std::filesystem::remove_all(link);
    std::filesystem::create_directory_symlink(std::filesystem::path(KEYSTREL_BUILD_FOLDER) / "Data", link);
}

} // namespace SceneTesting
