// The pictures of one play, one per screen, saved for people to look at: each must show something (not one
// colour all over) and differ from the picture before it. A level's picture must show every butterfly colour of
// the level near a cell that holds it.
#pragma once

#include "engine/render/Image.h"

#include <string>

namespace KeystrelEngine {
class Engine;
}

namespace Wispfold {
class GameLogic;
}

namespace AppTesting {

class ScreenPictures
{
public:
    explicit ScreenPictures(KeystrelEngine::Engine& engine);

    // Grabs the screen and saves it numbered in order ("03_main_menu.bmp"); the checks fail the running test.
    const KeystrelEngine::Image& Take(const std::string& name);
    // Checks the last picture against the level as it stands.
    void ExpectButterflyColours(const Wispfold::GameLogic& level) const;

private:
    KeystrelEngine::Engine* m_engine;
    KeystrelEngine::Image m_previous;
    KeystrelEngine::Image m_last;
    int m_count = 0;
};

} // namespace AppTesting
