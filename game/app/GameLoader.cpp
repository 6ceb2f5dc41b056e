#include "GameLoader.h"

#include "Game.h"

namespace Wispfold {

GameLoader::GameLoader(HINSTANCE instance, HINSTANCE previousInstance, const char* commandLine, int showWindow)
    : GameLoaderBase(instance, previousInstance, commandLine, showWindow)
{
    Run();
}

GameLoader::GameLoader(HINSTANCE instance, HINSTANCE previousInstance, const char* commandLine, int showWindow,
                       DeferRun)
    : GameLoaderBase(instance, previousInstance, commandLine, showWindow)
{
}

void GameLoader::CreateGame()
{
    m_game = std::make_unique<Game>(kProductName, kMakerName);
}

} // namespace Wispfold
