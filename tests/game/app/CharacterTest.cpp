#include "tests/game/app/CharacterFixture.h"

#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Model.h"
#include "framework/GUITextPrinter.h"

#include <SDL.h>
#include <string_view>
#include <tuple>

namespace {

using KeystrelEngine::AnimationControl;
using Wispfold::Character;

class CharacterTest : public AppTesting::CharacterFixture
{
protected:
    // The bubble shown, or -1.
    int ShownBubble() const
    {
        int shown = -1;
        for (std::uint32_t bubble = 0; bubble < Wispfold::kBubbleCount; ++bubble) {
            if (character->GetBubble(bubble)->GetFlags() & KeystrelEngine::GUIWindow::kShown) {
                EXPECT_EQ(shown, -1) << "two bubbles";
                shown = static_cast<int>(bubble);
            }
        }
        return shown;
    }

    std::size_t Typed(std::uint32_t line) const
    {
        return character->GetPrinter(static_cast<std::uint32_t>(ShownBubble()), line).GetShownText().size();
    }

    static bool Runs(const AnimationControl& control, std::uint32_t id, bool looping)
    {
        return control.m_currentAnimation == id && control.m_playing && control.m_looping == looping;
    }

    bool Shown() const { return character->GetFigureWindow()->GetFlags() & KeystrelEngine::GUIWindow::kShown; }
};

TEST_F(CharacterTest, EachStateHasItsParentLayerAndAnimations)
{
    SetPhrase("CHARACTER_LEVEL_BEGIN", {u"Hello!"}, "1");
    struct Case
    {
        std::int32_t state;
        KeystrelEngine::GUIWindow* parent;
        std::int32_t layer;
        std::uint32_t entry;
    };
    for (const Case& c :
         {Case{Character::kStateMenu, menuTop, 20, 3}, Case{Character::kStateLevel, data->GetChildWindow(), 1, 0},
          Case{Character::kStateUpgrade, menuTop, 20, 0}}) {
        SCOPED_TRACE(c.state);
        character->SetState(c.state);
        EXPECT_EQ(character->GetFigureWindow()->GetParent(), c.parent);
        EXPECT_EQ(character->GetFigureWindow()->GetLayer(), c.layer);
        EXPECT_TRUE(Shown());
        EXPECT_TRUE(Runs(character->GetBody(), c.entry, false));
        EXPECT_FLOAT_EQ(character->GetBody().m_speed, 18.0f);
        EXPECT_TRUE(Runs(character->GetFace(), 1, true));
        Frame();
        const std::uint32_t first = c.entry == 3 ? 97 : 0;
        EXPECT_GE(character->GetBody().m_currentFrame, first);
        EXPECT_LE(character->GetBody().m_currentFrame, first + 47);
    }

    // In a level: the entry ends in the rest loop, the face settles and starts talking, and the greeting follows.
    character->SetState(Character::kStateLevel);
    EXPECT_LT(FramesUntil([&] { return Runs(character->GetBody(), 2, true); }), 200);
    EXPECT_TRUE(character->GetFace().m_currentAnimation == 2);
    EXPECT_LT(FramesUntil([&] { return Runs(character->GetFace(), 12, true); }), 100);
    EXPECT_TRUE(character->IsSilent());
    const int waited = FramesUntil([&] { return !character->IsSilent(); });
    EXPECT_NEAR(waited * 0.02f, 0.66f, 0.03f);
    EXPECT_EQ(ShownBubble(), 0);
    EXPECT_LE(character->GetFace().m_currentFrame, 255u);
    EXPECT_GE(character->GetFace().m_currentFrame, 218u);

    // The won level's line, then the dance once the face has stopped (1.1 s on at the earliest), into the menus' rest.
    // A praise the pass before the winning one asked for is not spoken over the line, nor in its place.
    SetPhrase("CHARACTER_LEVEL_END", {u"Well played!"}, "1");
    SetPhrase("CHARACTER_PRAISE_2", {u"Splendid!"}, "1");
    character->Praise(2);
    character->LevelEndPhrase();
    EXPECT_EQ(character->GetState(), Character::kStateMenu);
    EXPECT_EQ(character->GetFigureWindow()->GetLayer(), 20);
    EXPECT_EQ(ShownBubble(), 0);
    bool otherLine = false;
    const int danced = FramesUntil([&] {
        otherLine =
            otherLine || !std::u16string_view(u"Well played!").starts_with(character->GetPrinter(0, 0).GetShownText());
        return character->GetBody().m_currentAnimation == 6;
    });
    EXPECT_GT(danced * 0.02f, 1.1f);
    EXPECT_FALSE(otherLine);
    EXPECT_EQ(character->GetPraiseCount(), 0u);
    EXPECT_EQ(LastSound(), 0u);
    EXPECT_TRUE(Runs(character->GetFace(), 0, false));
    EXPECT_LT(FramesUntil([&] { return Runs(character->GetBody(), 5, true); }), 300);

    // The lost level's reaction: the phrase ends at once; 1.1 s on, the face stops, the figure waves and flies off,
    // then is hidden, with a phrase begun meanwhile (a tutorial hint) which would come back with the next state.
    character->SetState(Character::kStateLevel);
    character->ShowText("CHARACTER_LEVEL_END", 30.0f);
    character->LevelFailedReaction();
    EXPECT_TRUE(character->IsSilent());
    character->ShowText("CHARACTER_LEVEL_END", 30.0f);
    EXPECT_LT(FramesUntil([&] { return character->GetBody().m_currentAnimation == 1; }), 300);
    EXPECT_TRUE(Runs(character->GetFace(), 0, false));
    EXPECT_LT(FramesUntil([&] { return !Shown(); }), 200);
    EXPECT_TRUE(character->IsSilent());
    EXPECT_EQ(character->GetBody().m_currentFrame, 96u);

    // The menus: the rise ends in the other rest, the face says its short line and goes on talking, silently.
    character->SetState(Character::kStateMenu);
    EXPECT_LT(FramesUntil([&] { return Runs(character->GetBody(), 5, true); }), 200);
    EXPECT_LT(FramesUntil([&] { return character->GetFace().m_currentAnimation == 4; }), 100);
    EXPECT_LT(FramesUntil([&] { return character->GetFace().m_currentAnimation == 5; }), 100);
    EXPECT_LT(FramesUntil([&] { return Runs(character->GetFace(), 12, true); }), 100);
    EXPECT_TRUE(character->IsSilent());
}

// A level left while the guide's greeting waits to be spoken hears no greeting: the figure leaves silent.
TEST_F(CharacterTest, ALevelLeftBeforeTheGreetingHearsNone)
{
    SetPhrase("CHARACTER_LEVEL_BEGIN", {u"Hello!"}, "1");
    character->SetState(Character::kStateLevel);
    EXPECT_LT(FramesUntil([&] { return Runs(character->GetFace(), 12, true); }), 300);
    character->ResetSpeech();
    // Till the figure has left, or a bubble shows on the way.
    EXPECT_LT(FramesUntil([&] { return !Shown() || !character->IsSilent(); }), 400);
    EXPECT_TRUE(character->IsSilent()) << "the greeting was spoken";
}

TEST_F(CharacterTest, PhrasesTypeLineAfterLineInTheBubbleOfTheirLineCount)
{
    character->SetState(Character::kStateLevel);
    struct Case
    {
        const char* size; // none: the key is missing and reads "UNKNOWN"
        int bubble;
    };
    for (const Case& c : {Case{nullptr, 0}, Case{"0", 0}, Case{"2", 1}, Case{"3", 2}, Case{"4", 3}, Case{"7", 3}}) {
        SCOPED_TRACE(c.size ? c.size : "missing");
        const std::string key = std::string("PHRASE_") + (c.size ? c.size : "MISSING");
        SetPhrase(key, {u"abcd", u"efghijkl", u"mn", u"op"}, c.size);
        character->ShowText(key, 1.0f);
        EXPECT_EQ(ShownBubble(), c.bubble);
        EXPECT_FALSE(character->IsSilent());
        const std::uint32_t lines = static_cast<std::uint32_t>(c.bubble) + 1;
        // 40 characters a second, one line after the other.
        float typing = 0.0f;
        do {
            Frame(0.025f);
            typing += 0.025f;
            for (std::uint32_t line = 1; line < lines; ++line) {
                if (Typed(line) > 0) {
                    EXPECT_EQ(Typed(line - 1), line == 1 ? 4u : line == 2 ? 8u : 2u);
                }
            }
        } while (Typed(lines - 1) < (lines == 1 ? 4u : lines == 2 ? 8u : 2u) && typing < 2.0f);
        const float expected = std::array<float, 4>{0.1f, 0.3f, 0.35f, 0.4f}[lines - 1];
        EXPECT_NEAR(typing, expected, 0.026f * static_cast<float>(lines));
    }
}

TEST_F(CharacterTest, BubbleFadesInWhileTypingHoldsAndFadesOut)
{
    character->SetState(Character::kStateLevel);
    SetPhrase("LONG", {u"twenty characters..."}, "1");
    character->ShowText("LONG", 1.0f);
    for (int frame = 1; frame <= 8; ++frame) {
        Frame(0.05f);
        EXPECT_NEAR(character->GetAlpha(), std::min(0.1f * static_cast<float>(frame), 1.0f), 1e-4);
    }
    const int typed = FramesUntil([&] { return character->GetPrinter(0, 0).IsFinished(); }, 100, 0.05f);
    EXPECT_LE(typed, 4);
    const int held = FramesUntil([&] { return character->GetAlpha() < 1.0f; }, 100, 0.05f);
    EXPECT_NEAR(held * 0.05f, 1.05f, 0.051f);
    const int faded = FramesUntil([&] { return character->IsSilent(); }, 100, 0.05f);
    EXPECT_NEAR(faded * 0.05f, 0.5f, 0.051f);

    // In the upgrade state a click ends the hold (elsewhere it does not); the fade still takes 0.5 s, and the
    // figure then leaves.
    for (std::int32_t state : {Character::kStateMenu, Character::kStateUpgrade}) {
        SCOPED_TRACE(state);
        character->SetState(state);
        character->ShowText("LONG", 4.0f);
        FramesUntil([&] { return character->GetPrinter(0, 0).IsFinished(); }, 100, 0.05f);
        PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, true);
        const int gone = FramesUntil([&] { return character->IsSilent(); }, 200, 0.05f);
        PlatformTesting::InjectMouseButton(SDL_BUTTON_LEFT, false);
        Frame();
        EXPECT_NEAR(gone * 0.05f, state == Character::kStateUpgrade ? 0.5f : 4.5f, 0.11f);
    }
    EXPECT_LT(FramesUntil([&] { return character->GetBody().m_currentAnimation == 1; }), 100);
}

TEST_F(CharacterTest, PraiseWaitsForTheIdleFigureAndCyclesItsSounds)
{
    SetPhrase("CHARACTER_LEVEL_BEGIN", {u"Hello!"}, "1");
    for (int kind = 0; kind < 4; ++kind)
        SetPhrase("CHARACTER_PRAISE_" + std::to_string(kind),
                  {u"Well done " + KeystrelEngine::ToWide(std::to_string(kind))}, "1");
    character->SetState(Character::kStateLevel);
    character->Praise(1);
    const int waited = FramesUntil([&] {
        EXPECT_TRUE(character->IsPraisePending() || character->GetBody().m_currentAnimation == 2);
        return !character->IsPraisePending();
    });
    EXPECT_GT(waited * 0.02f, 47.0f / 18.0f - 0.05f); // the whole entry
    EXPECT_EQ(character->GetFace().m_currentAnimation, 8u);
    EXPECT_EQ(LastSound(), 6u);
    EXPECT_EQ(character->GetPrinter(0, 0).GetShownText().size(), 0u);
    FramesUntil([&] { return character->GetPrinter(0, 0).IsFinished(); });
    EXPECT_EQ(character->GetPrinter(0, 0).GetShownText(), u"Well done 1");

    const std::uint32_t kinds[] = {3, 0, 2, 1, 3, 3, 0, 1, 2, 0};
    const std::uint32_t faces[] = {3, 8, 11, 11}; // by kind
    for (std::uint32_t i = 0; i < std::size(kinds); ++i) {
        SCOPED_TRACE(i);
        character->Praise(kinds[i]);
        EXPECT_LT(FramesUntil([&] { return !character->IsPraisePending(); }, 200, 0.05f), 200);
        EXPECT_EQ(character->GetFace().m_currentAnimation, faces[kinds[i]]);
        EXPECT_EQ(LastSound(), 6u + (i + 1) % 9);
        EXPECT_EQ(character->GetPraiseCount(), i + 2);
        EXPECT_LT(FramesUntil([&] { return Runs(character->GetFace(), 12, true); }, 200, 0.05f), 200);
    }

    character->SetPraiseEnabled(false);
    character->Praise(2);
    EXPECT_FALSE(character->IsPraisePending());
}

TEST_F(CharacterTest, BubbleStopsWideningPastItsWidestLine)
{
    character->SetState(Character::kStateLevel);
    const KeystrelEngine::GUIFont& font = *engine->m_gui->m_fonts->FindFont(Character::kFontId);
    SetPhrase("TWO", {u"Short", u"A somewhat longer line"}, "2");
    character->ShowText("TWO", 5.0f);
    KeystrelEngine::Model& quad = *character->GetBubble(1)->GetQuad();
    const float limit = font.PrintedWidth(u"A somewhat longer line") + 75.0f;
    // The check sees the width of the frame drawn last, so the bubble stops at the first width past the limit.
    std::vector<float> widths;
    FramesUntil([&] {
        const KeystrelEngine::BoundingBox& box = quad.m_boundingBox;
        const float width = box.m_localMax.x - box.m_localMin.x;
        if (widths.empty() || widths.back() != width)
            widths.push_back(width);
        return !quad.GetAnimationControl().m_playing;
    });
    Frame();
    const KeystrelEngine::BoundingBox& box = quad.m_boundingBox;
    ASSERT_GE(widths.size(), 2u);
    EXPECT_FLOAT_EQ(box.m_localMax.x - box.m_localMin.x, widths.back());
    EXPECT_GT(widths.back(), limit);
    EXPECT_LE(widths[widths.size() - 2], limit);
    EXPECT_LT(quad.GetAnimationControl().m_currentFrame, 24u);
}

// In a level the bubble leaves the point the tutorial points at in view: one it would cover sends it below the
// point; one beside or above it, none, or the menu states leave it in its place.
TEST_F(CharacterTest, TheBubbleStandsBelowAPointItWouldCover)
{
    const KeystrelEngine::GUIFont& font = *engine->m_gui->m_fonts->FindFont(Character::kFontId);
    SetPhrase("TWO", {u"Short", u"A somewhat longer line"}, "2");
    const KeystrelEngine::BoundingBox& box = character->GetBubble(1)->GetQuad()->m_boundingBox;
    const float right = box.m_localMin.x + font.PrintedWidth(u"A somewhat longer line") + 75.0f;
    const float middle = 0.5f * (box.m_localMin.y + box.m_localMax.y);
    using Point = KeystrelEngine::GUIPoint;
    for (const auto& [state, point, moves] : std::vector<std::tuple<std::int32_t, std::optional<Point>, bool>>{
             {Character::kStateLevel, Point{right - 10.0f, middle}, true},
             {Character::kStateLevel, Point{right + 60.0f, middle}, false},
             {Character::kStateLevel, Point{right - 10.0f, box.m_localMax.y + 60.0f}, false},
             {Character::kStateLevel, std::nullopt, false},
             {Character::kStateMenu, Point{right - 10.0f, middle}, false}}) {
        character->SetState(state);
        character->ShowText("TWO", 5.0f);
        character->KeepInView(point);
        const float shift = character->GetBubble(1)->m_position.y;
        EXPECT_EQ(shift < 0.0f, moves) << state << " " << (point ? point->x : -1.0f);
        if (moves) {
            EXPECT_LT(box.m_localMax.y + shift, point->y - 30.0f);
        }
        character->KeepInView(std::nullopt);
    }
}

// After the level-end dance the figure comes back for the upgrade: the stage just finished gives the phrase and
// the sound (the current stage less one, or the stage itself on the game's last level).
TEST_F(CharacterTest, UpgradeAnnouncementNamesTheStageJustFinished)
{
    auto* profile = profiles->AddProfile(u"Upton");
    profiles->m_current = profile;
    const std::uint32_t lastStage = levels->GetStageCount() - 1;
    const std::uint32_t lastLevel = levels->GetStage(lastStage).levelCount - 1;
    struct Case
    {
        GameFramework::LevelId current;
        std::uint32_t number;
    };
    for (const Case& c : {Case{{2, 0}, 1}, Case{{lastStage, lastLevel}, lastStage}}) {
        SCOPED_TRACE(c.number);
        profile->m_currentLevel = c.current;
        const std::string key = "CHARACTER_UPGRADE_" + std::to_string(c.number);
        SetPhrase(key, {u"Upgrade!"}, "1");
        SetPhrase("CHARACTER_LEVEL_END", {u"Well played!"}, "1");
        character->SetState(Character::kStateLevel);
        FramesUntil([&] { return Runs(character->GetBody(), 2, true); });
        character->LevelEndPhrase();
        FramesUntil([&] { return character->GetBody().m_currentAnimation == 6; });
        character->AnnounceUpgrade();
        EXPECT_LT(FramesUntil([&] { return character->GetBody().m_currentAnimation == 7; }), 200);
        EXPECT_LT(FramesUntil([&] { return Runs(character->GetFace(), 11, true); }), 300);
        EXPECT_EQ(LastSound(), Character::kFirstPraiseSound + c.number % 9);
        FramesUntil([&] { return character->GetPrinter(0, 0).IsFinished() && !character->IsSilent(); });
        EXPECT_EQ(character->GetPrinter(0, 0).GetShownText(), u"Upgrade!");
        // The phrase's fade ends the announcement: the figure leaves.
        EXPECT_LT(FramesUntil([&] { return !Shown(); }, 1000), 1000);
    }
}

} // namespace
