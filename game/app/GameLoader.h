// The game's loader: constructing it plays the whole game (the shell's Run is its constructor's last step), and its
// one own operation makes the game object with the product's and the maker's names, from which the shell builds
// the registry key, the user folder, the window title and the names of the configuration and the log.
#pragma once

#include "framework/GameLoaderBase.h"

namespace Wispfold {

class GameLoader : public GameFramework::GameLoaderBase
{
public:
    static constexpr const char* kProductName = "Quellhaven";
    static constexpr const char* kMakerName = "Tarrowby Games";

    // Runs the game to its end.
    GameLoader(HINSTANCE instance, HINSTANCE previousInstance, const char* commandLine, int showWindow);

    void CreateGame() override;

protected:
    struct DeferRun
    {
    };
    // Keeps the values and runs nothing: a derived loader calls Run once its own operations are in place.
    GameLoader(HINSTANCE instance, HINSTANCE previousInstance, const char* commandLine, int showWindow, DeferRun);
};

} // namespace Wispfold
