#include "ProgramEntry.h"

#include "GameLoader.h"

#include <memory>
#include <new>

namespace Wispfold {

int WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showWindow)
{
    std::unique_ptr<GameLoader> loader(new (std::nothrow)
                                           GameLoader(instance, previousInstance, commandLine, showWindow));
    if (!loader)
        return 1;
    return loader->GetExitCode();
}

} // namespace Wispfold
