// The base of the high-score window. It keeps the mode it was opened in (2 from the main menu, 9 after the game
// was completed, 10 after a game over) and the entry of the table to highlight: the one the finished game's
// result made, none from the main menu. Its game window reports RequestBack.
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class Engine;
} // namespace KeystrelEngine

namespace GameFramework {

struct HighScoreEntry;

class GUIHighScoresWindowBase
{
public:
    explicit GUIHighScoresWindowBase(KeystrelEngine::Engine* engine);
    virtual ~GUIHighScoresWindowBase();

    GUIHighScoresWindowBase(const GUIHighScoresWindowBase&) = delete;
    GUIHighScoresWindowBase& operator=(const GUIHighScoresWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    // Keeps the parameters; the entry belongs to the high-score table.
    virtual void Open(std::int32_t mode, const HighScoreEntry* highlighted);
    virtual void Close();

    std::uint32_t m_result = 0;                    // a WindowRequest; 0 asks for nothing
    std::int32_t m_mode = 0;                       // as opened
    const HighScoreEntry* m_highlighted = nullptr; // as opened

protected:
    KeystrelEngine::Engine* m_engine;
};

} // namespace GameFramework
