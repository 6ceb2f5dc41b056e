// Text files: the input is a whole text file in any encoding (told by its byte-order mark), read each way the
// engine reads text: by lines, by blank-separated tokens, by UTF-16 lines and by numbers, each from the start.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"

#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileTextual.h"

#include <memory>
#include <string>

using KeystrelEngine::FileBinary;
using KeystrelEngine::FileTextual;

namespace {

std::unique_ptr<FileTextual> OpenText(const std::uint8_t* data, std::size_t size)
{
    auto file = std::make_unique<FileBinary>("fuzz.txt", static_cast<std::uint32_t>(size), data);
    return std::make_unique<FileTextual>(std::move(file), FileTextual::ModeRead);
}

// Writes the lines in the encoding through the engine's writer and returns the file's bytes.
std::vector<std::uint8_t> Written(FileTextual::Encoding encoding, const std::vector<std::string>& lines)
{
    const Fuzzing::FuzzFolder& folder = Fuzzing::FuzzFolder::Get();
    {
        FileTextual text(std::make_unique<FileBinary>(folder.GetBase() + "/seed.txt", true, false),
                         FileTextual::ModeWrite, encoding);
        for (const std::string& line : lines) {
            text.WriteString(line);
            text.WriteLineEnd();
        }
        text.Close();
    }
    return folder.Read("seed.txt");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string line;
    for (bool tokens : {false, true}) {
        const auto text = OpenText(data, size);
        while (text->ReadLine(line, tokens)) {
        }
    }
    std::u16string wide;
    const auto wideText = OpenText(data, size);
    while (wideText->ReadLineW(wide)) {
    }
    // Each number read takes at least one character, so the reads end within the file's size.
    const auto numbers = OpenText(data, size);
    for (std::size_t i = 0; i <= size && !numbers->IsEndOfFile(); ++i) {
        numbers->ReadInt();
        numbers->ReadFloat();
    }
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    const std::vector<std::string> lines = {"// a comment line",       "name  value // with a comment",
                                            "\tnumbers 12 -7 3.5 1e3", "",
                                            "Grüße aus Quellhaven",    "last"};
    seeds.Add("ansi.txt", Written(FileTextual::EncodingAnsi, lines));
    seeds.Add("utf8.txt", Written(FileTextual::EncodingUtf8, lines));
    seeds.Add("utf16le.txt", Written(FileTextual::EncodingUtf16LittleEndian, lines));
    seeds.Add("utf16be.txt", Written(FileTextual::EncodingUtf16BigEndian, lines));
    seeds.Add("unix.txt", {'a', ' ', 'b', '\n', '1', '\n', '\n', '2', '.', '5'});
}
