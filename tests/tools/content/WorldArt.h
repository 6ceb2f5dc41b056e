// The board's world for the tests: the content tool with the world generators only, run into the test's data
// folder, and the world's manifest.
#pragma once

#include "tests/support/TestEnvironment.h"
#include "tools/content/ContentTool.h"
#include "tools/content/world/BonusGenerator.h"
#include "tools/content/world/BorderGenerator.h"
#include "tools/content/world/ButterflyGenerator.h"
#include "tools/content/world/CellGenerator.h"
#include "tools/content/world/EnvironmentGenerator.h"
#include "tools/content/world/LevelGenerator.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace WorldTesting {

inline Content::ContentTool WorldTool()
{
    std::vector<std::unique_ptr<Content::Generator>> generators;
    generators.push_back(std::make_unique<Content::CellGenerator>());
    generators.push_back(std::make_unique<Content::BorderGenerator>());
    generators.push_back(std::make_unique<Content::ButterflyGenerator>());
    generators.push_back(std::make_unique<Content::BonusGenerator>());
    generators.push_back(std::make_unique<Content::LevelGenerator>());
    generators.push_back(std::make_unique<Content::EnvironmentGenerator>());
    return Content::ContentTool(std::move(generators));
}

// Writes the world's files below "<base>/Data".
inline void WriteWorld()
{
    WorldTool().Run(std::filesystem::path(TestSupport::BaseFolder()) / "Data", "test");
}

} // namespace WorldTesting
