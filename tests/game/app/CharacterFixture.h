// What the tests of the speaking character (and of the tutorial that makes it speak) share: the shared data
// loaded, the generated level catalogue, the English fonts, a window standing in for the menu background's top window,
// the nine praise sounds on one file, and the character over them. Tests write the phrases they speak into the text
// table.
#pragma once

#include "engine/foundation/StringUtils.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "game/app/GameData.h"
#include "game/app/LevelResources.h"
#include "game/app/Profile.h"
#include "game/play/Character.h"
#include "game/play/LevelManager.h"
#include "platform/testing.h"
#include "tests/game/app/AppFixture.h"
#include "tests/game/app/LevelSession.h"
#include "tests/tools/content/ContentData.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace AppTesting {

class CharacterFixture : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        KeystrelEngine::GUIManager& gui = *engine->m_gui;
        gui.m_camera->m_width = 800.0f;
        gui.m_camera->m_height = 600.0f;
        ContentTesting::LoadFonts(*gui.m_fonts, ContentTesting::ReadFontList(*engine->m_files, "en"), true);
        data = MakeSharedData();
        LoadSharedData(*data);
        const KeystrelEngine::Model* noQuad = nullptr;
        menuTop = gui.CreateWindow(KeystrelEngine::GUIWindow::kShown | KeystrelEngine::GUIWindow::kLayer20, {}, {},
                                   noQuad, nullptr);
        for (std::uint32_t sound = 0; sound < 9; ++sound)
            player->AddSound(Wispfold::Character::kFirstPraiseSound + sound, "audio\\game\\bad_swap.wav", 1, false);
        levels = std::make_unique<Wispfold::LevelManager>(engine->m_log.get(), engine->m_files.get());
        levels->Load();
        character = std::make_unique<Wispfold::Character>(*engine, *levels, *profiles, *player, Resources());
    }

    void TearDown() override
    {
        character.reset();
        engine->m_gui->DeleteWindow(menuTop);
        levels.reset();
        data.reset();
        AppFixture::TearDown();
    }

    Wispfold::CharacterResources Resources() const { return Wispfold::MakeCharacterResources(*data, menuTop); }

    void SetPhrase(const std::string& key, const std::vector<std::u16string>& lines, const char* size = nullptr)
    {
        KeystrelEngine::GUITextManager& texts = *engine->m_gui->m_texts;
        if (size)
            texts.SetText(key + "_SIZE", KeystrelEngine::ToWide(size));
        for (std::size_t line = 0; line < lines.size(); ++line)
            texts.SetText(key + "_" + std::to_string(line), lines[line]);
    }

    void Frame(float dt = 0.02f)
    {
        PlatformTesting::AdvanceFakeClock(dt);
        engine->Update();
        engine->m_timers->m_frameTime = dt;
        character->Update();
        engine->EndFrame();
    }

    // Frames until the condition holds after one, at most limit; returns how many ran (limit + 1 when it never
    // held).
    template <class Condition> int FramesUntil(Condition condition, int limit = 1000, float dt = 0.02f)
    {
        for (int count = 1; count <= limit; ++count) {
            Frame(dt);
            if (condition())
                return count;
        }
        return limit + 1;
    }

    // The praise sound played last (the voice started latest), or 0 with none.
    std::uint32_t LastSound() const
    {
        const auto& voices = player->GetVoices();
        const auto latest = std::max_element(voices.begin(), voices.end(),
                                             [](const auto& a, const auto& b) { return a->startTime < b->startTime; });
        return latest == voices.end() || (*latest)->startTime == 0.0 ? 0 : (*latest)->soundId;
    }

    // The profile file's byte of the game flag.
    std::uint8_t SavedFlag(const Wispfold::Profile& profile, std::size_t flag) const
    {
        const TestSupport::Bytes bytes = TestSupport::ReadFile(userFolder + "/profiles/" + profile.GetFileName());
        EXPECT_GE(bytes.size(), Wispfold::Profile::FlagCount);
        return bytes.size() < Wispfold::Profile::FlagCount ? 0xFF
                                                           : bytes[bytes.size() - Wispfold::Profile::FlagCount + flag];
    }

    std::unique_ptr<Wispfold::GameData> data;
    std::unique_ptr<Wispfold::LevelManager> levels; // the generated catalogue
    KeystrelEngine::GUIWindow* menuTop = nullptr;
    std::unique_ptr<Wispfold::Character> character;
};

} // namespace AppTesting
