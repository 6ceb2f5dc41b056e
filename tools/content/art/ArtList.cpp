#include "tools/content/art/ArtList.h"

#include "tools/content/DataFolder.h"
#include "tools/content/art/TextureFiles.h"

#include <algorithm>
#include <stdexcept>

namespace Content {
namespace {

constexpr const char* kModelReader = "ModelManager";
constexpr const char* kShaderReader = "ShaderManager";
constexpr const char* kTextureReader = "TextureManager";
constexpr const char* kParticleReader = "ParticleSystemManager";

// Lower case, backslashes only, and dots only where expected (none in a stem, one in a file name).
void CheckName(const std::string& name, std::size_t dots)
{
    const bool upper = std::any_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    if (name.empty() || upper || name.find('/') != std::string::npos ||
        static_cast<std::size_t>(std::count(name.begin(), name.end(), '.')) != dots)
        throw std::invalid_argument("\"" + name + "\" is not an engine name of the data folder");
}

std::string Checked(const std::string& stem, const std::string& extension)
{
    CheckName(stem, 0);
    return stem + extension;
}

} // namespace

ArtList::ArtList() = default;
ArtList::~ArtList() = default;

void ArtList::AddModel(const std::string& stem, std::function<ModelArt()> make)
{
    AddWithSurface<ModelArt>(stem, ".mlf", kModelReader, std::move(make),
                             [](const ModelArt& art) { return Formats::BuildModelFile(art.model); });
}

void ArtList::AddParticles(const std::string& stem, std::function<ParticleArt()> make)
{
    AddWithSurface<ParticleArt>(stem, ".psf", kParticleReader, std::move(make),
                                [](const ParticleArt& art) { return Formats::BuildParticleFile(art.system); });
}

void ArtList::AddTexture(const std::string& stem, std::function<Picture()> make)
{
    AddTexture(Checked(stem, ".jpg"), stem + "_alpha.jpg", std::move(make));
}

void ArtList::AddOpaqueTexture(const std::string& stem, std::function<Picture()> make)
{
    AddTexture(Checked(stem, ".jpg"), "", std::move(make));
}

void ArtList::AddTexture(const std::string& colourFile, const std::string& alphaFile, std::function<Picture()> make)
{
    std::vector<ManifestEntry> files;
    for (const std::string& file : {colourFile, alphaFile}) {
        if (file.empty())
            continue;
        CheckName(file, 1);
        if (!file.ends_with(".jpg"))
            throw std::invalid_argument("\"" + file + "\" is not a JPEG name");
        files.push_back({file, kTextureReader});
    }
    if (files.empty())
        throw std::invalid_argument("a texture needs a file name");
    Add(std::move(files), [=, make = std::move(make)](DataFolder& folder, TextureFiles& textures) {
        const Picture picture = make();
        if (!colourFile.empty())
            textures.WriteColour(picture, folder.Claim(colourFile));
        if (!alphaFile.empty())
            textures.WriteAlpha(picture, folder.Claim(alphaFile));
    });
}

void ArtList::AddFile(const std::string& name, const std::string& reader, std::function<Formats::Bytes()> make)
{
    CheckName(name, 1);
    Add({{name, reader}},
        [=, make = std::move(make)](DataFolder& folder, TextureFiles&) { folder.Write(name, make()); });
}

std::vector<ManifestEntry> ArtList::Entries() const
{
    std::vector<ManifestEntry> entries;
    for (const Item& item : m_items)
        entries.insert(entries.end(), item.files.begin(), item.files.end());
    return entries;
}

void ArtList::WriteAll(DataFolder& folder) const
{
    TextureFiles textures;
    for (const Item& item : m_items)
        item.write(folder, textures);
}

template <typename Art>
void ArtList::AddWithSurface(const std::string& stem, const char* extension, const char* reader,
                             std::function<Art()> make, Formats::Bytes (*build)(const Art&))
{
    const std::string file = Checked(stem, extension), surface = stem + ".srf";
    Add({{file, reader}, {surface, kShaderReader}}, [=, make = std::move(make)](DataFolder& folder, TextureFiles&) {
        const Art art = make();
        folder.Write(file, build(art));
        folder.Write(surface, Formats::BuildShaderFile(art.surface));
    });
}

void ArtList::Add(std::vector<ManifestEntry> files, Writer write)
{
    m_items.push_back({std::move(files), std::move(write)});
}

} // namespace Content
