#include "tools/content/ContentTool.h"

#include "tools/content/DataFolder.h"
#include "tools/content/MusicGenerator.h"
#include "tools/content/Parallel.h"
#include "tools/content/SoundGenerator.h"
#include "tools/content/TextTableGenerator.h"
#include "tools/content/fonts/FontGenerator.h"
#include "tools/content/world/BonusGenerator.h"
#include "tools/content/world/BorderGenerator.h"
#include "tools/content/world/ButterflyGenerator.h"
#include "tools/content/world/CellGenerator.h"
#include "tools/content/world/EnvironmentGenerator.h"
#include "tools/content/world/LevelGenerator.h"
#include "tools/content/menus/HudArt.h"
#include "tools/content/menus/MapArt.h"
#include "tools/content/menus/MenuControlArt.h"
#include "tools/content/menus/MenuTextures.h"
#include "tools/content/menus/MenuWindowArt.h"
#include "tools/content/scene/BackgroundDecorationsGenerator.h"
#include "tools/content/scene/CharacterGenerator.h"
#include "tools/content/scene/MenuBackgroundGenerator.h"
#include "tools/content/scene/MenuParticlesGenerator.h"
#include "tools/content/scene/StartupPicturesGenerator.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace Content {
namespace fs = std::filesystem;
namespace {

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        throw std::runtime_error("cannot write \"" + path.string() + "\"");
}

std::string StampText(const std::string& identity)
{
    return "quellhaven-content " + identity + "\n";
}

constexpr std::uint64_t kHashStart = 14695981039346656037ull;

// Carries a 64-bit FNV-1a hash on over the bytes of the file.
void HashFile(const fs::path& path, std::uint64_t& hash)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read \"" + path.string() + "\"");
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i)
            hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
    }
}

// Removes everything in the folder but the stamp.
void EmptyBesideStamp(const fs::path& folder)
{
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename() != ContentTool::kStampName)
            fs::remove_all(entry.path());
    }
}

} // namespace

ContentTool::ContentTool()
{
    // One line per generator; they run side by side.
    m_generators.push_back(std::make_unique<SoundGenerator>());
    m_generators.push_back(std::make_unique<MusicGenerator>());
    m_generators.push_back(std::make_unique<FontGenerator>());
    m_generators.push_back(std::make_unique<TextTableGenerator>());
    m_generators.push_back(std::make_unique<CellGenerator>());
    m_generators.push_back(std::make_unique<BorderGenerator>());
    m_generators.push_back(std::make_unique<ButterflyGenerator>());
    m_generators.push_back(std::make_unique<BonusGenerator>());
    m_generators.push_back(std::make_unique<LevelGenerator>());
    m_generators.push_back(std::make_unique<EnvironmentGenerator>());
    m_generators.push_back(std::make_unique<MenuTextures>());
    m_generators.push_back(std::make_unique<MenuWindowArt>());
    m_generators.push_back(std::make_unique<MenuControlArt>());
    m_generators.push_back(std::make_unique<HudArt>());
    m_generators.push_back(std::make_unique<MapArt>());
    m_generators.push_back(std::make_unique<MenuBackgroundGenerator>());
    m_generators.push_back(std::make_unique<BackgroundDecorationsGenerator>());
    m_generators.push_back(std::make_unique<StartupPicturesGenerator>());
    m_generators.push_back(std::make_unique<CharacterGenerator>());
    m_generators.push_back(std::make_unique<MenuParticlesGenerator>());
}

ContentTool::ContentTool(std::vector<std::unique_ptr<Generator>> generators) : m_generators(std::move(generators)) {}

std::vector<ManifestEntry> ContentTool::Manifest() const
{
    std::vector<ManifestEntry> manifest;
    for (const std::unique_ptr<Generator>& generator : m_generators) {
        std::vector<ManifestEntry> files = generator->Files();
        manifest.insert(manifest.end(), files.begin(), files.end());
    }
    return manifest;
}

ContentTool::Outcome ContentTool::Run(const fs::path& folder, const std::string& identity) const
{
    const fs::path stamp = folder / kStampName;
    if (IsUpToDate(folder, StampText(identity)))
        return Outcome::UpToDate;
    if (fs::exists(folder) && !fs::is_empty(folder) && !fs::exists(stamp))
        throw std::runtime_error("\"" + folder.string() + "\" holds files but no " + kStampName +
                                 ": it is not a content folder, so nothing was written");
    fs::create_directories(folder);
    // A stale stamp first, so that a run that fails half-way leaves a folder that is still ours and out of date.
    WriteText(stamp, "incomplete\n");
    EmptyBesideStamp(folder);
    Generate(folder);
    WriteText(stamp, StampText(identity));
    return Outcome::Written;
}

bool ContentTool::IsUpToDate(const fs::path& folder, const std::string& stamp) const
{
    if (ReadText(folder / kStampName) != stamp)
        return false;
    for (const ManifestEntry& entry : Manifest()) {
        if (!fs::exists(DataFolder::DiskPath(folder, entry.name)))
            return false;
    }
    return true;
}

void ContentTool::Generate(const fs::path& folder) const
{
    DataFolder data(folder, Manifest());
    RunInParallel(m_generators.size(), [&](std::size_t i) { m_generators[i]->Write(data); });
    const std::vector<std::string> missing = data.Missing();
    if (!missing.empty())
        throw std::runtime_error("no generator wrote \"" + missing.front() + "\"");
}

std::string ContentTool::Identity(const fs::path& program) const
{
    std::uint64_t hash = kHashStart;
    HashFile(program, hash);
    for (const std::unique_ptr<Generator>& generator : m_generators) {
        for (const fs::path& input : generator->Inputs())
            HashFile(input, hash);
    }
    std::ostringstream text;
    text << std::hex << hash;
    return text.str();
}

} // namespace Content
