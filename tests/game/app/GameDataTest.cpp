// The shared resources, loaded on the loading worker from the content tool's data: the lists, the named entries,
// the two GUI windows, the stage themes of the menu background's file, and loads that end in a file's error.
#include "engine/foundation/Error.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Model.h"
#include "engine/render/ShaderManager.h"
#include "engine/render/TextureManager.h"
#include "game/app/BackgroundThemes.h"
#include "tests/game/app/AppFixture.h"

#include <set>

using KeystrelEngine::GUIWindow;
using KeystrelEngine::Model;
using Wispfold::BackgroundThemes;
using Wispfold::GameData;

namespace {

// What the engine holds besides the keeper's own objects, to be found again once the keeper is gone.
struct Held
{
    std::uint32_t shaderUsers = 0;
    std::size_t textures = 0;
    std::uint32_t windows = 0;

    bool operator==(const Held&) const = default;
};

using namespace AppTesting;

class GameDataTest : public AppFixture
{
protected:
    Held Holding() const
    {
        std::vector<KeystrelEngine::Texture2D*> textures;
        engine->m_shaders->GetTextureManager()->GetLoadedTextures(textures);
        return {engine->m_shaders->GetUserCount(), textures.size(), engine->m_gui->m_windows.GetLiveCount()};
    }

    // Loads expecting the load to fail; returns the error's text.
    std::string FailedLoadText(GameData& data) const
    {
        try {
            LoadSharedData(data);
        } catch (const KeystrelEngine::Error& error) {
            return error.GetText();
        }
        return "(loaded)";
    }
};

template <class T> std::size_t Distinct(const std::vector<T*>& list)
{
    return std::set<T*>(list.begin(), list.end()).size();
}

TEST_F(GameDataTest, TheGeneratedSetLoadsOnTheWorkerAndIsGoneWithTheKeeper)
{
    const Held before = Holding();
    auto data = MakeSharedData();
    LoadSharedData(*data);
    EXPECT_FLOAT_EQ(data->GetProgress(), 1.0f);

    ASSERT_EQ(data->GetBorders().size(), GameData::kBorderCount);
    EXPECT_EQ(Distinct(data->GetBorders()), GameData::kBorderCount);
    EXPECT_EQ(data->GetBorders()[5]->m_flags & (Model::kColours | Model::kStatic), Model::kColours | Model::kStatic);
    ASSERT_EQ(data->GetButterflyShaders().size(), GameData::kColourCount);
    EXPECT_EQ(Distinct(data->GetButterflyShaders()), GameData::kColourCount);
    ASSERT_EQ(data->GetShadowShaders().size(), GameData::kColourCount);
    EXPECT_EQ(Distinct(data->GetShadowShaders()), GameData::kColourCount);
    EXPECT_EQ(std::count(data->GetButterflyShaders().begin(), data->GetButterflyShaders().end(), nullptr), 0);

    // The stage themes of the file, each with its place in the file and its stage.
    const BackgroundThemes themes(*engine->m_files);
    std::vector<std::uint32_t> positions;
    std::vector<std::int32_t> stages;
    for (std::size_t i = 0; i < themes.GetThemes().size(); ++i) {
        if (themes.GetThemes()[i].IsStageTheme()) {
            positions.push_back(static_cast<std::uint32_t>(i));
            stages.push_back(themes.GetThemes()[i].stage);
        }
    }
    EXPECT_FALSE(positions.empty());
    EXPECT_EQ(data->GetThemePositions(), positions);
    EXPECT_EQ(data->GetThemeStages(), stages);
    ASSERT_EQ(data->GetThemeModels().size(), positions.size());
    EXPECT_EQ(data->GetThemeModels()[0]->GetName(), themes.GetThemes()[positions[0]].GetModelName());

    // The root window: shown at depth -10, no quad, no parent; the child: shown under it at layer 100.
    const GUIWindow* root = data->GetRootWindow();
    const GUIWindow* child = data->GetChildWindow();
    ASSERT_TRUE(root && child);
    EXPECT_EQ(root->GetFlags(), GUIWindow::kShown | GUIWindow::kLayer10);
    EXPECT_EQ(root->GetParent(), nullptr);
    EXPECT_EQ(root->GetQuad(), nullptr);
    EXPECT_FLOAT_EQ(root->GetDepth(), -10.0f);
    EXPECT_EQ(root->m_size.width + root->m_size.height + root->m_position.x + root->m_position.y, 0.0f);
    EXPECT_EQ(child->GetFlags(), GUIWindow::kShown);
    EXPECT_EQ(child->GetParent(), root);
    EXPECT_EQ(child->GetLayer(), GameData::kChildWindowLayer);
    EXPECT_TRUE(child->IsVisible());

    // Entries by the names they were loaded from, a GUI frame with vertex colours.
    EXPECT_EQ(data->GetModel("ui\\menus\\models\\controls\\button_big.mlf")->m_flags & Model::kColours,
              Model::kColours);
    EXPECT_NE(data->GetModel("ui\\menus\\models\\level_complete\\mana_text_area.mlf"), nullptr);
    EXPECT_NE(data->GetShader("game_objects\\cell\\textures\\cell_2_blocked.jpg"), nullptr);
    EXPECT_NE(data->GetParticleSystem("ui\\menus\\particles\\cursor_train.psf"), nullptr);
    EXPECT_THROW(data->GetModel("ui\\menus\\models\\controls\\button_big"), KeystrelEngine::Error);

    data.reset();
    EXPECT_EQ(Holding(), before);
}

// Kinds other than 0 are base themes: they take no place in the lists, while the later stage themes keep their
// place in the file. A file of stage themes alone loads as well.
TEST_F(GameDataTest, ThemesOfOtherKindsTakeNoPlaceInTheLists)
{
    struct Case
    {
        const char* file;
        std::vector<std::uint32_t> positions;
        std::vector<std::int32_t> stages;
    };
    const Case cases[] = {
        {"5\r\nsky\r\n1 0\r\n\r\n\r\nmeadow\r\n0 0\r\nhills\r\n2\r\n9\r\ngrove\r\n0\r\n1\r\nspring\r\n0\r\n2",
         {1, 3, 4},
         {0, 1, 2}},
        {"2\nmeadow\n0\n3\ngrove\n0\n0\n", {0, 1}, {3, 0}},
        {"1\nsky\n-1\n0\n", {}, {}}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.file);
        ReplaceDataFile(BackgroundThemes::kPath, test.file);
        const auto data = MakeSharedData();
        LoadSharedData(*data);
        EXPECT_EQ(data->GetThemePositions(), test.positions);
        EXPECT_EQ(data->GetThemeStages(), test.stages);
        EXPECT_EQ(data->GetThemeModels().size(), test.positions.size());
    }
}

// A missing file at each kind of step, before and after the GUI windows, and a damaged background file: the load
// ends with the file's error on the main thread, and once the keeper is gone nothing it made is left.
TEST_F(GameDataTest, AMissingSharedFileEndsTheLoadWithItsErrorAndLeavesNothingBehind)
{
    const Held before = Holding();
    for (const std::string& missing :
         std::initializer_list<std::string>{BackgroundThemes::kPath, "game_objects\\board_border\\border_3.mlf",
                                            "ui\\menus\\models\\controls\\scroll_v_button_decrease.mlf",
                                            "ui\\menus\\models\\level_complete\\mana_text_area.mlf"}) {
        SCOPED_TRACE(missing);
        RemoveDataFile(missing);
        auto data = MakeSharedData();
        const std::string text = FailedLoadText(*data);
        EXPECT_NE(text.find(missing), std::string::npos) << text;
        EXPECT_LT(data->GetProgress(), 1.0f);
        data.reset();
        EXPECT_EQ(Holding(), before);
        ResetDataFolder();
    }

    // A background file that ends before its count, after a stage theme was loaded.
    ReplaceDataFile(BackgroundThemes::kPath, "4\nmeadow\n0 0\n");
    auto data = MakeSharedData();
    EXPECT_EQ(FailedLoadText(*data),
              "Incorrect \"data\\ui\\menus\\background\\background.ini\" file format: theme 2's name is missing");
    data.reset();
    EXPECT_EQ(Holding(), before);
}

} // namespace
