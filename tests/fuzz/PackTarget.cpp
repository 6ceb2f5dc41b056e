// Packs: the input is a pack file of the data folder. The file manager loads it at its start, as the game does,
// then lists the pack's folders and opens every entry listed.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "tests/support/PackWriter.h"

using KeystrelEngine::FileManager;
using TestSupport::Bytes;

namespace {

constexpr char kPackFile[] = "Data/fuzz.pak";
const char* const kFolders[] = {"data", "textures", "sounds"};

void OpenListed(FileManager& files, const char* folder)
{
    std::vector<std::string> names;
    files.ListFiles(folder, "*", names);
    for (const std::string& name : names) {
        try {
            files.OpenBinary(name, false);
        } catch (const KeystrelEngine::Error&) {
            // A listed entry that cannot be read is the file manager's answer to a damaged pack.
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static KeystrelEngine::MessageManager log("", "Quellhaven", "", false, false);
    const Fuzzing::FuzzFolder& folder = Fuzzing::FuzzFolder::Get();
    folder.Write(kPackFile, data, size);
    FileManager files(&log, folder.GetBase(), "Data");
    for (const char* name : kFolders)
        OpenListed(files, name);
    log.m_history.clear();
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    const Bytes text{'h', 'e', 'l', 'l', 'o'};
    seeds.Add("empty.pak", TestSupport::BuildPack({}));
    seeds.Add("one.pak", TestSupport::BuildPack({{"data\\one.txt", text}}));
    seeds.Add("folders.pak", TestSupport::BuildPack({{"data\\a.txt", text},
                                                     {"Textures\\Stone.TGA", Bytes(40, 7)},
                                                     {"sounds\\fx\\boom.wav", Bytes(9, 1)},
                                                     {"readme.txt", {}}}));
    seeds.Add("twice.pak", TestSupport::BuildPack({{"data\\same.txt", text}, {"DATA\\SAME.TXT", {1, 2}}}));
    seeds.Add("old.pak", TestSupport::BuildPack({{"data\\one.txt", text}}, 99));
}
