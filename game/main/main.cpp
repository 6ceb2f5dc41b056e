// The program: the game's entry with the program's module, no previous instance, the command line's arguments
// joined by blanks and the normal show flag. Its data lie below the program's folder, in "Data".
#include "game/app/ProgramEntry.h"

#include <string>

namespace {

std::string JoinArguments(int argc, char** argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        line += argv[i];
    }
    return line;
}

} // namespace

int main(int argc, char** argv)
{
    std::string commandLine = JoinArguments(argc, argv);
    return Wispfold::WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWNORMAL);
}
