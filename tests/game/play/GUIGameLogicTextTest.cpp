// Floating texts: the text of the points, growth, drift, fade and end by age, the text's centre on its position,
// the order of the list, and the window the manager gives back. The score font (id 10) has glyphs half as wide
// as wide as half the size they are printed at, and a text measures the font's own size (22 here) high.
#include "engine/foundation/Controls.h"
#include "engine/gui/GUIManager.h"
#include "game/play/GUIGameLogicTextManager.h"
#include "tests/engine/gui/GUIFixture.h"

namespace {

using KeystrelEngine::GUIPoint;
using KeystrelEngine::GUITextRecord;
using Wispfold::GUIGameLogicText;
using Wispfold::GUIGameLogicTextManager;

class GUIGameLogicTextTest : public RenderTesting::ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        models = std::make_unique<KeystrelEngine::ModelManager>(modelServices);
        controls =
            std::make_unique<KeystrelEngine::Controls>(&services.log, timers.get(), &services.config, window.get());
        gui = std::make_unique<KeystrelEngine::GUIManager>(&services.log, &services.files, window.get(), timers.get(),
                                                           cameras.get(), shaders.get(), models.get(), controls.get(),
                                                           nullptr);
        std::vector<Formats::FontGlyph> glyphs;
        for (char16_t code : std::u16string(u"+0123456789"))
            glyphs.push_back(GUITesting::Glyph(code, 0.5f));
        RenderTesting::WriteDataFile("ui\\fonts\\score.fnt", Formats::BuildFontFile(glyphs));
        gui->m_fonts->LoadFont(GUIGameLogicText::kFontId, "ui\\fonts\\score.fnt", KeystrelEngine::ShaderDescriptor())
            ->m_size = 22.0f;
        texts = std::make_unique<GUIGameLogicTextManager>(*timers, *gui, nullptr);
    }

    void TearDown() override
    {
        texts.reset();
        gui.reset();
        controls.reset();
        models.reset();
        ModelFixture::TearDown();
    }

    // One frame of dt: the texts' update, then the GUI draws and forgets the frame's records.
    void Step(float dt)
    {
        timers->m_frameTime = dt;
        texts->Update();
        m_drawn.clear();
        KeystrelEngine::GUIWindow& window = *texts->GetWindow();
        for (std::uint32_t i = 0; i < window.GetTextCount(); ++i)
            m_drawn.push_back(window.GetTextRecord(i));
        gui->Draw();
    }

    std::unique_ptr<KeystrelEngine::ModelManager> models;
    std::unique_ptr<KeystrelEngine::Controls> controls;
    std::unique_ptr<KeystrelEngine::GUIManager> gui;
    std::unique_ptr<GUIGameLogicTextManager> texts;
    std::vector<GUITextRecord> m_drawn;
};

TEST_F(GUIGameLogicTextTest, PointsBecomeAPlusSignAndTheirDigits)
{
    for (const auto& [points, text] :
         {std::pair{0u, u"+0"}, {7u, u"+7"}, {250u, u"+250"}, {4294967295u, u"+4294967295"}}) {
        texts->AddText(points, {100, 100});
        EXPECT_EQ(texts->GetTexts().back()->GetText(), text);
    }
    Step(0.01f);
    ASSERT_EQ(m_drawn.size(), 4u);
    EXPECT_EQ(m_drawn[0].fontId, 10u);
    EXPECT_EQ(m_drawn[0].text, u"+0");
}

TEST_F(GUIGameLogicTextTest, GrowsDriftsFadesAndEndsByItsAge)
{
    texts->AddText(50, {400, 300}); // "+50": three glyphs
    struct Sample
    {
        float dt;
        float size;
        float alpha;
        float drift;
    };
    // Ages 0.1 (the clamped frame: half size, half alpha), 0.2, 0.7, 1.2, 1.45 and 1.7.
    const Sample samples[] = {{0.1f, 11, 0.5f, 0}, {0.1f, 22, 1, 0},          {0.5f, 22, 1, 17.5f},
                              {0.5f, 22, 1, 35},   {0.25f, 22, 0.5f, 43.75f}, {0.25f, 22, 0, 52.5f}};
    for (const Sample& sample : samples) {
        Step(sample.dt);
        SCOPED_TRACE(testing::Message() << "age " << texts->GetTexts()[0]->GetAge());
        ASSERT_EQ(m_drawn.size(), 1u);
        const GUITextRecord& record = m_drawn[0];
        EXPECT_NEAR(record.size, sample.size, 1e-4f);
        EXPECT_NEAR(record.colour.a, sample.alpha, 1e-4f);
        EXPECT_EQ(record.colour.r, 1.0f);
        EXPECT_NEAR(record.position.x, 400 - 1.5f * sample.size / 2, 1e-3f) << "centred";
        EXPECT_NEAR(record.position.y, 300 - sample.size / 2 + sample.drift, 1e-3f) << "centred, drifting up";
    }
    Step(0.01f);
    EXPECT_EQ(m_drawn.size(), 1u) << "drawn in the frame its age passes 1.7";
    EXPECT_TRUE(texts->GetTexts().empty()) << "and deleted in that update";
    Step(0.01f);
    EXPECT_TRUE(m_drawn.empty());
}

TEST_F(GUIGameLogicTextTest, TheListKeepsItsOrderAsTextsEnd)
{
    texts->AddText(1, {10, 10});
    Step(1.0f);
    texts->AddText(2, {20, 20});
    texts->AddText(3, {30, 30});
    Step(0.65f);
    texts->AddText(4, {40, 40});
    Step(0.1f); // the first ends
    ASSERT_EQ(texts->GetTexts().size(), 3u);
    EXPECT_EQ(texts->GetTexts()[0]->GetText(), u"+2");
    EXPECT_EQ(texts->GetTexts()[1]->GetText(), u"+3");
    EXPECT_EQ(texts->GetTexts()[2]->GetText(), u"+4");
    ASSERT_EQ(m_drawn.size(), 4u);
    EXPECT_EQ(m_drawn[0].text, u"+1");
    texts->AddText(5, {40, 40});
    texts->AddText(5, {40, 40});
    EXPECT_EQ(texts->GetTexts().size(), 5u) << "texts at one place are not merged";
}

TEST_F(GUIGameLogicTextTest, WithoutTheFontATextIsPlacedByItsPositionAlone)
{
    auto other = std::make_unique<GUIGameLogicTextManager>(*timers, *gui, nullptr);
    gui->m_fonts.reset(
        new KeystrelEngine::GUIFontManager(&services.log, &services.files, shaders.get(), models.get(), gui->m_camera));
    other->AddText(9, {200, 100});
    other->Update();
    ASSERT_EQ(other->GetWindow()->GetTextCount(), 1u);
    EXPECT_EQ(other->GetWindow()->GetTextRecord(0).position.x, 200.0f);
    EXPECT_EQ(other->GetWindow()->GetTextRecord(0).position.y, 100.0f);
}

TEST_F(GUIGameLogicTextTest, TheManagerGivesItsWindowBack)
{
    const auto live = [this] {
        const auto& slots = gui->m_windows.GetSlots();
        return std::count_if(slots.begin(), slots.end(), [](auto* window) { return window != nullptr; });
    };
    const auto before = live();
    auto other = std::make_unique<GUIGameLogicTextManager>(*timers, *gui, nullptr);
    EXPECT_EQ(live(), before + 1);
    EXPECT_TRUE(other->GetWindow()->GetFlags() & KeystrelEngine::GUIWindow::kShown);
    other->AddText(3, {1, 1});
    other.reset();
    EXPECT_EQ(live(), before);
}

} // namespace
