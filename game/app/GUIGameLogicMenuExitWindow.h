// Asked from the in-game menu: leave the level for the main menu (OK) or go back to the in-game menu (NO). OK
// closes the window and brings the menu scene back; the window reports only once both have ended.
#pragma once

#include "framework/GUIGameLogicMenuExitWindowBase.h"
#include "game/app/GameLogicExitQuestion.h"
#include "game/app/LevelLeaving.h"

namespace Wispfold {

class GUIGameLogicMenuExitWindow : public GameFramework::GUIGameLogicMenuExitWindowBase, public GUIMenuWindow
{
public:
    GUIGameLogicMenuExitWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player, const GameData* data,
                               GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent);

    void Update() override;
    void Open() override;
    // After OK the window has closed itself: no second close.
    void Close() override;

    const GameLogicExitQuestion& GetQuestion() const { return m_question; }
    bool IsLeaving() const { return m_leaving.IsLeaving(); }

private:
    GameLogicExitQuestion m_question;
    LevelLeaving m_leaving;
};

} // namespace Wispfold
