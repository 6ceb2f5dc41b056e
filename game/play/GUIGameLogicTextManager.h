// The scores floating over the board while a level runs, oldest first, drawn into a window of their own. The rule
// step adds one per scored cell at the cell's screen position; the level updates the manager first in its frame
// and deletes it with itself, texts still floating included.
#pragma once

#include "GUIGameLogicText.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace KeystrelEngine {
class GUIManager;
class Model;
class TimerManager;
} // namespace KeystrelEngine

namespace Wispfold {

class GUIGameLogicTextManager
{
public:
    // The window is made at (0, 0) with no size, shown, with a clone of the model as its quad (none for null).
    GUIGameLogicTextManager(KeystrelEngine::TimerManager& timers, KeystrelEngine::GUIManager& gui,
                            const KeystrelEngine::Model* windowModel);
    // Deletes the texts, then the window when the GUI still holds it.
    virtual ~GUIGameLogicTextManager();

    GUIGameLogicTextManager(const GUIGameLogicTextManager&) = delete;
    GUIGameLogicTextManager& operator=(const GUIGameLogicTextManager&) = delete;

    // "+" and the points in decimal, centred on the position.
    void AddText(std::uint32_t points, KeystrelEngine::GUIPoint position);
    // Every text in order; those that ended are deleted, the others keep their order.
    void Update();

    KeystrelEngine::GUIWindow* GetWindow() const { return m_window; }
    const std::vector<std::unique_ptr<GUIGameLogicText>>& GetTexts() const { return m_texts; }

private:
    KeystrelEngine::TimerManager* m_timers;
    KeystrelEngine::GUIManager* m_gui;
    KeystrelEngine::GUIWindow* m_window;
    std::vector<std::unique_ptr<GUIGameLogicText>> m_texts;
};

} // namespace Wispfold
