// The level-complete window over the generated catalogue: the mana line counts from where the stage stood to
// where it stands, the energy bonus counts into the score after the bar, CONTINUE completes the count in its
// frame, and the window reports by the level's place in its stage once the background's fade has ended.
#include "game/app/GUILevelCompleteWindow.h"
#include "engine/foundation/StringUtils.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextManager.h"
#include "framework/WindowRequest.h"
#include "game/app/ProfileManager.h"
#include "game/play/LevelManager.h"
#include "tests/game/app/MenuWindowFixture.h"

#include <cmath>

namespace {

using namespace AppTesting;
using GameFramework::LevelId;
using Wispfold::GUILevelCompleteWindow;

class GUILevelCompleteWindowTest : public MenuWindowFixture
{
protected:
    void SetUp() override
    {
        MenuWindowFixture::SetUp();
        for (const char* table : {"level_complete", "game_logic"})
            engine->m_gui->m_texts->LoadTexts(std::string("ui\\texts\\en\\") + table + ".ini");
        profiles->m_current = profiles->AddProfile(u"Ann");
        profiles->m_current->m_score = 1000;
        catalogue = std::make_unique<Wispfold::LevelManager>(engine->m_log.get(), engine->m_files.get());
        catalogue->Load();
        auto made =
            std::make_unique<GUILevelCompleteWindow>(engine.get(), player.get(), profiles.get(), catalogue.get(),
                                                     data.get(), manager.get(), data->GetChildWindow());
        window = made.get();
        windows.push_back(std::move(made));
        manager->m_countUpLimit = 0.5f; // advanced outside the window
    }

    void TearDown() override
    {
        windows.clear();
        catalogue.reset();
        MenuWindowFixture::TearDown();
    }

    void OpenOn(LevelId level, std::uint32_t bonus, bool noBonus = false)
    {
        window->m_level = level;
        window->m_energyBonus = bonus;
        window->m_noEnergyBonus = noBonus;
        window->Open();
        OpenFully(*window);
    }

    std::u16string ManaLine() const { return Texts(window->GetManaBar().GetCaption()).at(0).text; }
    std::u16string Expected(std::uint32_t counted, std::uint32_t total) const
    {
        return engine->m_gui->m_texts->GetText("GAME_LOGIC_MANNA", -1) + u" (" +
               KeystrelEngine::FormatUnsignedW(counted) + u" / " + KeystrelEngine::FormatUnsignedW(total) + u")";
    }
    std::uint32_t Value(LevelId id) const
    {
        return static_cast<std::uint32_t>(static_cast<Wispfold::LevelRecord*>(catalogue->GetLevel(id))->boardValue);
    }
    // Frames until the window reports, with the background's fade ended.
    std::uint32_t ReportAfterFade()
    {
        RunUntilGone(*window);
        Step(*window);
        EXPECT_EQ(window->m_result, GameFramework::RequestNone);
        background->fadeComplete = true;
        Step(*window);
        return window->m_result;
    }

    std::unique_ptr<Wispfold::LevelManager> catalogue;
    GUILevelCompleteWindow* window = nullptr;
};

TEST_F(GUILevelCompleteWindowTest, ManaThenEnergyCountUpAndContinueCompletesTheCountInItsFrame)
{
    const LevelId level{0, 1};
    const std::uint32_t total = catalogue->SumStageBoardValues(0);
    const std::uint32_t reached = catalogue->SumStageBoardValuesUpTo(0, 1);
    ASSERT_GT(Value(level), 0u);
    window->m_level = level;
    window->m_energyBonus = 200;
    window->Open();
    // The bar holds where the stage stood until the window has faded fully in.
    while (window->m_colour.a < 1.0f) {
        Step(*window);
        if (window->m_colour.a < 1.0f && window->GetFrameWidget()->IsVisible()) {
            EXPECT_EQ(ManaLine(), Expected((reached - Value(level)) * 10, total * 10));
        }
    }
    EXPECT_EQ(Texts(window->GetContinueButton()->GetWidget())[0].key, "CONTINUE");

    // The bar fills; the energy waits half a second after it, counting into the score as it goes.
    std::uint32_t lastMana = 0;
    int framesAfterMana = 0;
    for (int frame = 0; frame < 200 && !manager->m_secondCountUp; ++frame) {
        Step(*window);
        EXPECT_TRUE(manager->m_firstCountUp);
        EXPECT_GE(window->GetCountedMana(), lastMana);
        lastMana = window->GetCountedMana();
        framesAfterMana += lastMana == reached * 10 ? 1 : 0;
    }
    ASSERT_TRUE(manager->m_secondCountUp);
    // The mana count completed in the first of these frames, which counts toward the half second.
    EXPECT_NEAR(static_cast<float>(framesAfterMana) * kFrameTime, GUILevelCompleteWindow::kEnergyDelay,
                kFrameTime + 1e-4f);
    EXPECT_EQ(ManaLine(), Expected(reached * 10, total * 10));
    EXPECT_EQ(window->GetCountedEnergy(), 0u);
    manager->m_countUpLimit = 1.0f;
    for (int frame = 0; frame < 3; ++frame) {
        Step(*window);
        EXPECT_EQ(profiles->m_current->m_score, 1000 + window->GetCountedEnergy());
    }
    EXPECT_GT(window->GetCountedEnergy(), 0u);
    EXPECT_LT(window->GetCountedEnergy(), 200u);

    EXPECT_EQ(Click(*window, *window->GetContinueButton()->GetWidget()), GameFramework::RequestNone);
    EXPECT_EQ(window->GetEnergyTimer(), 100000.0f);
    EXPECT_EQ(window->GetCountedEnergy(), 200u);
    EXPECT_EQ(profiles->m_current->m_score, 1200u);
    EXPECT_EQ(background->showAlls, 1);
    EXPECT_EQ(ReportAfterFade(), GameFramework::RequestDone);
    EXPECT_FALSE(manager->m_firstCountUp);
    EXPECT_FALSE(manager->m_secondCountUp);
}

TEST_F(GUILevelCompleteWindowTest, TheLastLevelOfAStageLeavesTowardTheUpgradeAndNoBonusCountsNothing)
{
    const LevelId last{0, static_cast<std::uint32_t>(catalogue->GetStageLevels(0).size() - 1)};
    OpenOn(last, 200, true);
    EXPECT_EQ(Texts(window->GetContinueButton()->GetWidget())[0].key, "LEVEL_COMPLETE_UPGRADE");
    for (int frame = 0; frame < 100; ++frame)
        Step(*window);
    EXPECT_EQ(window->GetEnergyTimer(), 0.0f);
    EXPECT_FALSE(manager->m_secondCountUp);
    Click(*window, *window->GetContinueButton()->GetWidget());
    EXPECT_EQ(profiles->m_current->m_score, 1000u);
    EXPECT_EQ(background->stageThemeUpdates, 1);
    EXPECT_EQ(background->newStageThemes, 1);
    EXPECT_EQ(background->showScenes, 1);
    EXPECT_EQ(background->showAlls, 0);
    EXPECT_EQ(ReportAfterFade(), GUILevelCompleteWindow::kRequestUpgrade);
}

TEST_F(GUILevelCompleteWindowTest, AStageOfZeroValuesShowsAnEmptyBarAndItsStartWithoutDividingByZero)
{
    for (const auto& record : catalogue->GetStageLevels(0))
        static_cast<Wispfold::LevelRecord&>(*record).boardValue = 0;
    OpenOn({0, 1}, 0);
    for (int frame = 0; frame < 20; ++frame) {
        Step(*window);
        EXPECT_EQ(window->GetManaBar().GetValue(), 0.0f);
        EXPECT_FALSE(std::isnan(window->GetManaBar().GetFillPosition()));
    }
    EXPECT_EQ(ManaLine(), Expected(0, 0));
}

} // namespace
