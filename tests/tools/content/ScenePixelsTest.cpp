// The menu scene drawn on the GL back end at 800 x 600 (one GUI unit a pixel) with engine GUI windows, as the
// menu background and the guide place their models: every theme of the background in file order under the
// decorations (with no hole in the sky), the guide with a speech bubble over the landscape, the logo screen under
// the cursor, and the menu's particle systems over the landscape. Saved as pictures for people to look at.
#include "engine/gui/GUIButton.h"
#include "engine/render/Image.h"
#include "engine/render/ParticleSystemManager.h"
#include "engine/render/ShaderUser.h"
#include "engine/render/SpriteGroupManager.h"
#include "tests/engine/gui/gl/GUIPixelFixture.h"
#include "tests/tools/content/BuildData.h"
#include "tools/content/Layout.h"
#include "tools/content/menus/MenuModels.h"
#include "tools/content/scene/BackgroundDecorationsGenerator.h"
#include "tools/content/scene/CharacterFigure.h"
#include "tools/content/scene/CharacterGenerator.h"
#include "tools/content/scene/MenuBackgroundGenerator.h"
#include "tools/content/scene/MenuParticlesGenerator.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using KeystrelEngine::GUIWindow;
using KeystrelEngine::Image;
using KeystrelEngine::Model;

namespace {

class ScenePixels : public GUITesting::GUIPixelFixture
{
protected:
    void SetUp() override
    {
        GUIPixelFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        SceneTesting::LinkBuildData();
        root = std::make_unique<GUIWindow>(gui, GUIWindow::kShown, KeystrelEngine::GUIPoint{},
                                           KeystrelEngine::GUISize{}, static_cast<const Model*>(nullptr), nullptr);
    }

    void TearDown() override
    {
        particles.reset();
        spriteGroups.reset();
        windows.clear();
        root.reset();
        GUIPixelFixture::TearDown();
    }

    // A started clone of a menu particle system at the place, drawn over the GUI as the game's owners draw it.
    KeystrelEngine::ParticleSystem* Emit(const std::string& name, const KeystrelEngine::Vector3& place)
    {
        if (!particles) {
            spriteGroups = std::make_unique<KeystrelEngine::SpriteGroupManager>(cameras.get(), models.get());
            particles = std::make_unique<KeystrelEngine::ParticleSystemManager>(
                KeystrelEngine::ParticleServices{&services.log, &services.files, timers.get(), spriteGroups.get()});
        }
        const std::unique_ptr<KeystrelEngine::ParticleSystem> loaded(
            particles->LoadParticleSystem(Content::MenuParticlesGenerator::kFolder + name + ".psf", camera));
        KeystrelEngine::ParticleSystem* system = particles->CloneParticleSystem(*loaded);
        Model& sprites = *system->GetSpriteGroup()->GetModel();
        sprites.m_flags |= Model::kDrawLast | Model::kFixedDepth | Model::kShown;
        sprites.SetSortDepth(-21.0f);
        system->m_position = place;
        system->m_emitting = true;
        return system;
    }

    void Step(float dt)
    {
        timers->m_frameTime = dt;
        cameras->Update();
        particles->UpdateAll();
        spriteGroups->UpdateAll();
    }

    // A model shown in place on the given layer, at the given frame of its animation.
    GUIWindow& Show(const std::string& model, std::int32_t layer, float frame = 0.0f)
    {
        windows.push_back(std::make_unique<GUIWindow>(gui, GUIWindow::kShown | GUIWindow::kColouredQuad,
                                                      KeystrelEngine::GUIPoint{}, KeystrelEngine::GUISize{1.0f, 1.0f},
                                                      model, root.get()));
        GUIWindow& window = *windows.back();
        window.SetLayer(layer);
        window.GetQuad()->GetAnimationControl().m_position = frame;
        return window;
    }

    void ShowThemes()
    {
        std::int32_t layer = 1;
        for (const Content::ThemeEntry& theme : Content::MenuBackgroundGenerator::Themes())
            Show("ui\\menus\\background\\models\\" + theme.name + ".mlf", layer++, 12.0f);
    }

    // The decorations on the layers the menu background gives them, each at the last frame of its unfolding.
    void ShowDecorations()
    {
        const float open = Content::BackgroundDecorationsGenerator::kUnfoldFrames - 1;
        const std::string folder = Content::BackgroundDecorationsGenerator::kFolder;
        Show(folder + "frame.mlf", 101, open);
        Show(folder + "logo_tarrowby.mlf", 102, open);
        Show(folder + "logo_additional.mlf", 103);
        Show(folder + "mount_text.mlf", 115, open);
        Show(folder + "text.mlf", 116, open);
        Show(folder + "mount_title.mlf", 118, open);
        for (int k = 0; k < 4; ++k)
            Show(folder + "title_" + std::to_string(k) + ".mlf", 119);
    }

    // A main-menu button as the menu shows it: its own model in place on a button window whose hit area is the
    // button's layout rectangle, so that the cursor and the enabling choose the frame of its texture.
    KeystrelEngine::GUIButton& ShowButton(std::uint32_t index)
    {
        const std::string name = "main_menu\\button_" + std::to_string(index);
        auto button = std::make_unique<KeystrelEngine::GUIButton>(
            gui, nullptr, GUIWindow::kShown | GUIWindow::kColouredQuad, KeystrelEngine::GUIPoint{},
            KeystrelEngine::GUISize{1.0f, 1.0f}, "ui\\menus\\models\\" + name + ".mlf", root.get());
        const Content::LayoutRect& rect = Content::Layout::Area(name);
        button->m_hasHitArea = true;
        button->m_hitArea = {rect.left, rect.bottom, rect.width, rect.height};
        button->SetLayer(106);
        KeystrelEngine::GUIButton& shown = *button;
        windows.push_back(std::move(button));
        return shown;
    }

    Image Draw()
    {
        root->UpdateVisibility();
        for (const auto& window : windows)
            window->Draw();
        cameras->Update();
        shaders->Update();
        lights->Apply();
        models->RenderAll();
        Image image;
        render->GrabScreen(image);
        return image;
    }

    std::unique_ptr<KeystrelEngine::SpriteGroupManager> spriteGroups;
    std::unique_ptr<KeystrelEngine::ParticleSystemManager> particles;
    std::unique_ptr<GUIWindow> root;
    std::vector<std::unique_ptr<GUIWindow>> windows;
};

TEST_F(ScenePixels, TheBackgroundShowsEveryThemeUnderItsDecorations)
{
    ShowThemes();
    ShowDecorations();
    // Magenta shows wherever the themes leave a hole; the sky must cover the whole screen.
    render->m_clearColor = {1.0f, 0.0f, 1.0f, 1.0f};
    const Image image = Draw();
    RenderTesting::SaveTestPicture(image, "background.bmp", services.files);
    EXPECT_TRUE(Errors().empty()) << Errors().front();
    std::uint32_t holes = 0;
    for (std::uint32_t y = 0; y < image.GetHeight(); ++y) {
        for (std::uint32_t x = 0; x < image.GetWidth(); ++x)
            holes += RenderTesting::PixelFromBottom(image, x, y) == std::array<int, 3>{255, 0, 255} ? 1 : 0;
    }
    EXPECT_EQ(holes, 0u);
}

TEST_F(ScenePixels, TheMainMenuStandsOverTheBackground)
{
    ShowThemes();
    ShowDecorations();
    const Image background = Draw();

    // The menus hang from the background's top root, its decorations' layer 4: above the screen frame and the
    // logos, under the title panel and the name. The frame open; the second button under the cursor, the third
    // pressed, the last disabled.
    Show("ui\\menus\\models\\main_menu\\window.mlf", 105, Content::MenuModels::kUnfoldFrames - 1);
    std::vector<KeystrelEngine::GUIButton*> buttons;
    for (std::uint32_t i = 0; i < 7; ++i)
        buttons.push_back(&ShowButton(i));
    root->UpdateVisibility();
    const auto middle = [](const std::string& name) {
        const Content::LayoutRect& rect = Content::Layout::Area(name);
        return std::array<float, 2>{rect.left + 0.5f * rect.width, rect.bottom + 0.5f * rect.height};
    };
    const std::array<float, 2> hover = middle("main_menu\\button_1"), press = middle("main_menu\\button_2");
    buttons[1]->Update(hover[0], hover[1], false, false);
    buttons[2]->Update(press[0], press[1], true, true);
    buttons[6]->SetEnabled(false);
    const Image image = Draw();
    RenderTesting::SaveTestPicture(image, "main_menu.bmp", services.files);
    EXPECT_TRUE(Errors().empty()) << Errors().front();
    EXPECT_EQ(buttons[1]->GetState(), KeystrelEngine::GUIButton::kHover);
    EXPECT_EQ(buttons[2]->GetState(), KeystrelEngine::GUIButton::kPressed);

    // The menu covers the landscape inside its frame and leaves it untouched around it.
    const Content::LayoutRect& frame = Content::Layout::Area("main_menu\\window");
    std::uint32_t changedInside = 0, changedOutside = 0, inside = 0;
    for (std::uint32_t y = 0; y < image.GetHeight(); ++y) {
        for (std::uint32_t x = 0; x < image.GetWidth(); ++x) {
            const bool changed =
                RenderTesting::PixelFromBottom(image, x, y) != RenderTesting::PixelFromBottom(background, x, y);
            const bool within = frame.Contains({static_cast<float>(x), static_cast<float>(y), 1.0f, 1.0f});
            inside += within ? 1 : 0;
            (within ? changedInside : changedOutside) += changed ? 1 : 0;
        }
    }
    EXPECT_GT(changedInside, inside * 9 / 10);
    EXPECT_EQ(changedOutside, 0u);
}

TEST_F(ScenePixels, TheGuideSpeaksFromItsBubbleOverTheLandscape)
{
    ShowThemes();
    const std::string folder = Content::CharacterGenerator::kFolder;
    Show(folder + "text_size2.mlf", 120, 24.0f);
    GUIWindow& guide = Show(folder + "character.mlf", 121, 48.0f);
    // A talking face: the grid advanced to its frame by one update of a frame's length.
    KeystrelEngine::ShaderUser& face = *guide.GetQuad()->GetShaderUser();
    face.m_stages[0].m_frameRate = 1.0f;
    timers->m_frameTime = 231.0f;
    const Image image = Draw();
    RenderTesting::SaveTestPicture(image, "guide.bmp", services.files);
    EXPECT_TRUE(Errors().empty()) << Errors().front();
}

TEST_F(ScenePixels, TheLogoScreenFillsTheScreenUnderTheCursor)
{
    // As the logo window shows it: the 800 x 600 part of the big picture on the whole screen, and the cursor
    // drawn 40 units big with its tip at the mouse.
    windows.push_back(std::make_unique<GUIWindow>(gui, GUIWindow::kShown, KeystrelEngine::GUIPoint{},
                                                  KeystrelEngine::GUISize{800.0f, 600.0f},
                                                  KeystrelEngine::ShaderDescriptor::FromTextureSingleFrame(
                                                      "ui\\menus\\textures\\publisher_logo_big.jpg", "32bit"),
                                                  root.get(), 0.78125f, 0.5859375f));
    windows.push_back(std::make_unique<GUIWindow>(gui, GUIWindow::kShown, KeystrelEngine::GUIPoint{560.0f, 160.0f},
                                                  KeystrelEngine::GUISize{40.0f, 40.0f},
                                                  KeystrelEngine::ShaderDescriptor::FromTextureSingleFrame(
                                                      "ui\\cursors\\cursor.jpg", "ui\\cursors\\cursor_alpha.jpg"),
                                                  root.get(), 1.0f, 1.0f));
    windows.back()->SetLayer(2);
    const Image image = Draw();
    RenderTesting::SaveTestPicture(image, "logo.bmp", services.files);
    EXPECT_TRUE(Errors().empty()) << Errors().front();
    // The picture reaches the screen's corners: its top-right corner is the picture's dark night, not the clear
    // colour.
    const std::array<int, 3> corner = RenderTesting::PixelFromBottom(image, 797, 597);
    EXPECT_GT(corner[0] + corner[1] + corner[2], 0);
}

TEST_F(ScenePixels, MenuSparklesGlowOverTheScene)
{
    // The upgrade glow over the middle, a mana flight curving down to a glowing bar at the bottom, and the cursor
    // trailing sparks from the left and bursting where it clicks.
    ShowThemes();
    KeystrelEngine::ParticleSystem* upgrade = Emit("upgrade", {400.0f, 300.0f, 0.0f});
    KeystrelEngine::ParticleSystem* flight = Emit("mana_to_progress", {250.0f, 300.0f, 0.0f});
    flight->m_looping = true;
    Emit("mana_progress", {560.0f, 60.0f, 0.0f})->m_looping = true;
    KeystrelEngine::ParticleSystem* trail = Emit("cursor_train", {300.0f, 420.0f, 0.0f});
    trail->m_looping = true;
    KeystrelEngine::ParticleSystem* click = nullptr;
    for (int frame = 0; frame < 14; ++frame) {
        const float t = static_cast<float>(frame) / 13.0f;
        trail->m_position = {300.0f + 240.0f * t + 12.0f, 420.0f - 60.0f * t - 18.0f, 0.0f};
        flight->m_position = {250.0f + 310.0f * t, 300.0f - 240.0f * t * t, 0.0f};
        if (frame == 9)
            click = Emit("cursor_click", {540.0f, 360.0f, 0.0f});
        Step(0.05f);
    }
    const Image image = Draw();
    RenderTesting::SaveTestPicture(image, "sparkles.bmp", services.files);
    EXPECT_TRUE(Errors().empty()) << Errors().front();
    for (const KeystrelEngine::ParticleSystem* system : {upgrade, flight, trail, click})
        EXPECT_GT(system->GetLiveCount(), 0u);
}

} // namespace
