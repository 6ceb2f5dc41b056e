// The menus for the tests: the content tool with the menu generators only (textures, windows, controls, the HUD
// and the level map), and its run into the test's data folder.
#pragma once

#include "tests/support/TestEnvironment.h"
#include "tools/content/ContentTool.h"
#include "tools/content/menus/HudArt.h"
#include "tools/content/menus/MapArt.h"
#include "tools/content/menus/MenuControlArt.h"
#include "tools/content/menus/MenuTextures.h"
#include "tools/content/menus/MenuWindowArt.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace MenuTesting {

inline Content::ContentTool MenuTool()
{
    std::vector<std::unique_ptr<Content::Generator>> generators;
    generators.push_back(std::make_unique<Content::MenuTextures>());
    generators.push_back(std::make_unique<Content::MenuWindowArt>());
    generators.push_back(std::make_unique<Content::MenuControlArt>());
    generators.push_back(std::make_unique<Content::HudArt>());
    generators.push_back(std::make_unique<Content::MapArt>());
    return Content::ContentTool(std::move(generators));
}

// Writes the menus' files below "<base>/Data".
inline void WriteMenus()
{
    MenuTool().Run(std::filesystem::path(TestSupport::BaseFolder()) / "Data", "test");
}

} // namespace MenuTesting
