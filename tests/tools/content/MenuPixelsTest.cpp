// The menus' models drawn on the GL back end in an 800 x 600 GUI camera, as the windows show them (in place,
// open, each widget on the state frame of its texture grid), and saved as pictures for people to look at: the
// main menu, the level map with its markers placed by the map file's matrices, and a level-complete window over
// the in-game window.
#include "tests/engine/render/gl/ScenePixelFixture.h"
#include "tests/tools/content/MenuArt.h"
#include "tools/content/Layout.h"

#include "engine/render/ShaderUser.h"

#include <gtest/gtest.h>

using KeystrelEngine::Camera;
using KeystrelEngine::Image;
using KeystrelEngine::Model;
using KeystrelEngine::ShaderStage;

namespace {

class MenuPixels : public RenderTesting::ScenePixelFixture
{
protected:
    void SetUp() override
    {
        ScenePixelFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        MenuTesting::WriteMenus();
        render->m_clearColor = {0.36f, 0.55f, 0.42f, 1.0f};
        gui = cameras->CreateCamera(Camera::kOrthographic);
        gui->m_width = Content::Layout::kScreenWidth;
        gui->m_height = Content::Layout::kScreenHeight;
        gui->m_near = 500.0f;
        gui->m_far = -500.0f;
    }

    // A GUI model shown in place; an animated one on its last (open) frame.
    Model* Show(const std::string& name)
    {
        Model* model = models->LoadModel(name + ".mlf", gui, Model::kShown);
        model->GetAnimationControl().m_position = static_cast<float>(model->GetAnimationControl().GetFrameCount() - 1);
        return model;
    }

    Model* ShowMenu(const std::string& name) { return Show("ui\\menus\\models\\" + name); }

    // A unit quad scaled onto the rectangle, as the scroll widgets place their track, thumb and arrows.
    Model* ShowScaled(const std::string& name, const Content::LayoutRect& rect)
    {
        Model* model = ShowMenu(name);
        KeystrelEngine::Matrix4 place, scale;
        place.MakeTranslation({rect.left, rect.bottom, 0.0f});
        scale.m[0] = rect.width;
        scale.m[5] = rect.height;
        model->SetWorldMatrix(place * scale);
        return model;
    }

    // Holds the model's texture on one frame of its grid (frame k in column k % columns of row k / columns from
    // the picture's top), as a widget does with its state.
    static void ShowFrame(Model* model, std::uint32_t frame)
    {
        ShaderStage& stage = model->GetShaderUser()->m_stages[0];
        const float columns = static_cast<float>(stage.m_gridColumns), rows = static_cast<float>(stage.m_gridRows);
        stage.m_animationMode = ShaderStage::kAnimationNone;
        stage.m_scaleU = 1.0f / columns;
        stage.m_scaleV = 1.0f / rows;
        stage.m_offsetU = static_cast<float>(frame % stage.m_gridColumns) / columns;
        stage.m_offsetV = (rows - 1.0f - static_cast<float>(frame / stage.m_gridColumns)) / rows;
    }

    // Red, green, blue at a point of the virtual screen.
    std::array<int, 3> At(const Image& image, float x, float y)
    {
        const KeystrelEngine::ScreenPoint point = Camera::ProjectToScreen(*gui, {x, y, 0.0f}, cameras->GetViewport());
        return RenderTesting::PixelFromBottom(image, static_cast<std::uint32_t>(point.x),
                                              static_cast<std::uint32_t>(point.y));
    }

    static int Brightness(const std::array<int, 3>& rgb) { return rgb[0] + rgb[1] + rgb[2]; }

    Camera* gui = nullptr;
};

Content::LayoutRect Area(const std::string& name)
{
    return Content::Layout::Area(name);
}

// A scroll part's rectangle (in the scroll's own frame) moved onto the scroll.
Content::LayoutRect OnScroll(const std::string& part, const Content::LayoutRect& scroll)
{
    const Content::LayoutRect local = Area("controls\\" + part);
    return {scroll.left + local.left, scroll.bottom + local.bottom, local.width, local.height};
}

float MiddleX(const Content::LayoutRect& rect)
{
    return rect.left + 0.5f * rect.width;
}

float MiddleY(const Content::LayoutRect& rect)
{
    return rect.bottom + 0.5f * rect.height;
}

} // namespace

TEST_F(MenuPixels, TheMainMenuShowsItsFrameAndButtonsInTheirStates)
{
    ShowMenu("main_menu\\window");
    const std::uint32_t states[] = {0, 1, 2, 0, 0, 0, 3};
    for (std::uint32_t i = 0; i < 7; ++i)
        ShowFrame(ShowMenu("main_menu\\button_" + std::to_string(i)), states[i]);
    const Image image = DrawScene();
    SavePicture(image, "menu_main_menu.bmp");

    const Content::LayoutRect frame = Area("main_menu\\window");
    const std::array<int, 3> clear = At(image, 20.0f, 20.0f);
    const std::array<int, 3> glass = At(image, frame.left + 40.0f, MiddleY(frame));
    EXPECT_NE(glass, clear);
    EXPECT_LT(Brightness(glass), Brightness(clear)); // dark glass over the light scene
    const auto button = [&](int i) {
        const Content::LayoutRect rect = Area("main_menu\\button_" + std::to_string(i));
        return At(image, MiddleX(rect), rect.bottom + 0.3f * rect.height);
    };
    EXPECT_GT(button(0)[1], button(0)[2] + 30);                   // leaf green
    EXPECT_GT(Brightness(button(1)), Brightness(button(0)) + 30); // hover is lighter
    EXPECT_LT(Brightness(button(2)), Brightness(button(0)) - 30); // pressed is darker
    EXPECT_LT(std::abs(button(6)[0] - button(6)[1]), 20);         // disabled is grey
}

TEST_F(MenuPixels, TheMapShowsItsMarkersWhereTheMapFilePlacesThem)
{
    ShowMenu("start_game\\window");
    ShowFrame(ShowMenu("start_game\\button_0"), 0);
    ShowFrame(ShowMenu("start_game\\button_1"), 1);
    const std::vector<Formats::MapFileRecord> records = Content::MapArt::Records();
    // The player is at the third level of the second stage: passed before, selected there, ahead after.
    const std::size_t selected = 6;
    const char* names[] = {"start", "finish", "check_point", "path"};
    std::vector<KeystrelEngine::Vector3> places;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const bool alternate = i == selected && records[i].kind == 3;
        const std::string name = alternate ? "path_check_point" : names[records[i].kind];
        KeystrelEngine::Matrix4 place;
        std::copy(records[i].matrix.begin(), records[i].matrix.end(), place.m);
        KeystrelEngine::Matrix4 shadowPlace;
        shadowPlace.MakeTranslation({2.0f, -2.0f, 0.0f});
        Model* shadow = Show("ui\\menus\\map\\models\\" + name);
        shadow->SetWorldMatrix(shadowPlace * place);
        ShowFrame(shadow, 5);
        Model* marker = Show("ui\\menus\\map\\models\\" + name);
        marker->SetWorldMatrix(place);
        ShowFrame(marker, i < selected ? 1 : i == selected ? 3 : i == selected + 1 ? 2 : 4);
        places.push_back(place.TransformPoint({0.0f, 0.0f, 0.0f}));
    }
    const Image image = DrawScene();
    SavePicture(image, "menu_map.bmp");

    const Content::LayoutRect area = Area("start_game\\window_area");
    const std::array<int, 3> glass = At(image, area.left + 4.0f, area.bottom + 4.0f);
    for (std::size_t i = 0; i < places.size(); ++i)
        EXPECT_NE(At(image, places[i].x, places[i].y), glass) << "marker " << i;
    // Passed markers are green, the selected one orange-red.
    EXPECT_GT(At(image, places[0].x + 10.0f, places[0].y)[1], At(image, places[0].x + 10.0f, places[0].y)[2]);
    const std::array<int, 3> chosen = At(image, places[selected].x + 9.0f, places[selected].y);
    EXPECT_GT(chosen[0], chosen[2] + 60);
}

TEST_F(MenuPixels, TheLevelCompleteWindowStandsOverTheInGameWindow)
{
    ShowMenu("game_logic\\background");
    for (const char* part : {"menu_button", "level_name", "score", "mode_button", "minimize_button",
                             "maximize_window_button", "close_button", "mana_background", "energy_background"}) {
        Model* model = ShowMenu(std::string("game_logic\\") + part);
        if (model->GetShaderUser()->m_stages[0].m_animationMode == ShaderStage::kAnimationGrid)
            ShowFrame(model, 0);
    }
    ShowFrame(ShowMenu("game_logic\\mana"), 4);
    ShowFrame(ShowMenu("game_logic\\energy"), 0);
    ShowMenu("big_window\\window");
    ShowMenu("level_complete\\frame");
    ShowMenu("controls\\upgrade")->GetAnimationControl().m_position = 0.0f; // stage 0, its charm awakened
    ShowMenu("level_complete\\mana_background");
    ShowFrame(ShowMenu("level_complete\\mana"), 6);
    ShowFrame(ShowMenu("big_window\\button_1"), 0);
    const Image image = DrawScene();
    SavePicture(image, "menu_level_complete.bmp");

    // The bars fill from the left (the mana bar a quarter empty) and show below the window: mana blue,
    // energy amber.
    const Content::LayoutRect mana = Area("game_logic\\mana"), energy = Area("game_logic\\energy");
    const std::array<int, 3> manaFull = At(image, mana.left + 10.0f, MiddleY(mana));
    EXPECT_GT(manaFull[2], manaFull[0] + 60);
    const std::array<int, 3> manaEmpty = At(image, mana.Right() - 6.0f, MiddleY(mana));
    EXPECT_LT(manaEmpty[2], manaFull[2] - 60);
    const std::array<int, 3> energyFull = At(image, energy.Right() - 20.0f, MiddleY(energy));
    EXPECT_GT(energyFull[0], energyFull[2] + 60);
    // The awakened star of the first stage shines gold in the middle of the upgrade picture.
    const Content::LayoutRect upgrade = Area("controls\\upgrade");
    const std::array<int, 3> star = At(image, MiddleX(upgrade), MiddleY(upgrade));
    EXPECT_GT(star[0], star[2] + 60);
}

TEST_F(MenuPixels, TheOptionsWindowShowsItsSlidersCheckBoxAndResolutionRow)
{
    ShowMenu("big_window\\window");
    for (const char* slider : {"slider_music", "slider_sound"}) {
        const Content::LayoutRect track = Area(std::string("options\\") + slider);
        ShowScaled("controls\\scroll_h", track);
        ShowFrame(ShowScaled("controls\\button_arrow_left", OnScroll("scroll_h_button_decrease", track)), 0);
        ShowFrame(ShowScaled("controls\\button_arrow_right", OnScroll("scroll_h_button_increase", track)), 1);
        ShowFrame(ShowScaled("controls\\scroll_h_toddler", OnScroll("scroll_h_toddler_min", track)), 0);
        ShowFrame(ShowScaled("controls\\scroll_h_toddler", OnScroll("scroll_h_toddler_max", track)), 1);
    }
    ShowFrame(ShowMenu("options\\resolution_button_left"), 0);
    ShowMenu("options\\resolution_text");
    ShowFrame(ShowMenu("options\\resolution_button_right"), 3);
    ShowFrame(ShowMenu("options\\fullscreen_check_box"), 4);
    for (int i = 0; i < 3; ++i)
        ShowFrame(ShowMenu("big_window\\button_" + std::to_string(i)), 0);
    const Image image = DrawScene();
    SavePicture(image, "menu_options.bmp");

    // The thumbs stand at the two ends of the track, clear of the arrow buttons; the groove shows between.
    const Content::LayoutRect track = Area("options\\slider_music");
    const Content::LayoutRect low = OnScroll("scroll_h_toddler_min", track);
    const std::array<int, 3> thumb = At(image, MiddleX(low), MiddleY(low));
    EXPECT_GT(thumb[1], thumb[2] + 30);
    const std::array<int, 3> groove = At(image, MiddleX(track), MiddleY(track));
    EXPECT_LT(Brightness(groove), Brightness(thumb));
    EXPECT_NE(At(image, MiddleX(track), track.Top() - 2.0f), groove);
    // The checked box shows its gold tick.
    const Content::LayoutRect box = Area("options\\fullscreen_check_box");
    const std::array<int, 3> tick = At(image, box.left + 0.45f * box.width, box.bottom + 0.35f * box.height);
    EXPECT_GT(tick[0], tick[2] + 60);
}
