// Asked from inside a level: quit the program (OK) or go back to the level (NO). It appears over the
// background's panel.
#pragma once

#include "framework/GUIGameLogicGameExitWindowBase.h"
#include "game/app/GameLogicExitQuestion.h"

namespace Wispfold {

class GUIGameLogicGameExitWindow : public GameFramework::GUIGameLogicGameExitWindowBase, public GUIMenuWindow
{
public:
    GUIGameLogicGameExitWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player, const GameData* data,
                               GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent);

    void Update() override;
    void Open() override;
    void Close() override;

    const GameLogicExitQuestion& GetQuestion() const { return m_question; }

private:
    GameLogicExitQuestion m_question;
};

} // namespace Wispfold
