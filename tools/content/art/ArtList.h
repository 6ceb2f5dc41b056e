// The files an art generator writes, each named once together with how it is made: the list gives the
// manifest (every file with the engine class that reads it) and later makes and writes the files, so the names
// a generator lists and the files it writes cannot drift apart.
//
// Names are engine names without the data folder: lower case, backslashes, and no "." but the one before the
// extension (the engine finds a model's ".srf" by cutting the name at its first dot). Models and particle
// systems are given by stem ("game_objects\\cell\\cell_single") and always get their ".srf" beside them;
// textures by stem ("ui\\cursors\\cursor" -> "cursor.jpg" and "cursor_alpha.jpg") or by their two file names.
// Names break these rules: std::invalid_argument when added.
#pragma once

#include "tools/content/Generator.h"
#include "tools/content/art/Picture.h"
#include "tools/formats/ModelFileWriter.h"
#include "tools/formats/ParticleFileWriter.h"
#include "tools/formats/ShaderFileWriter.h"

#include <functional>
#include <string>
#include <vector>

namespace Content {

class TextureFiles;

// A model file and its ".srf" (ModelFiles, Rig and Surface make them).
struct ModelArt
{
    Formats::ModelFile model;
    Formats::ShaderFile surface;
};

// A particle-system file and its ".srf" (the sprite: ParticleKeys and Surface).
struct ParticleArt
{
    Formats::ParticleFile system;
    Formats::ShaderFile surface;
};

class ArtList
{
public:
    ArtList();
    ~ArtList();
    ArtList(const ArtList&) = delete;
    ArtList& operator=(const ArtList&) = delete;

    // stem.mlf ("ModelManager") and stem.srf ("ShaderManager").
    void AddModel(const std::string& stem, std::function<ModelArt()> make);
    // stem.psf ("ParticleSystemManager") and stem.srf.
    void AddParticles(const std::string& stem, std::function<ParticleArt()> make);
    // stem.jpg and stem_alpha.jpg ("TextureManager").
    void AddTexture(const std::string& stem, std::function<Picture()> make);
    // stem.jpg alone: textures without an opacity picture.
    void AddOpaqueTexture(const std::string& stem, std::function<Picture()> make);
    // File names with ".jpg"; either may be empty: a colour picture whose opacity file is not named after it, or
    // opacity pictures alone.
    void AddTexture(const std::string& colourFile, const std::string& alphaFile, std::function<Picture()> make);
    // Any other file (text lists, boards, maps) with the engine class that reads it.
    void AddFile(const std::string& name, const std::string& reader, std::function<Formats::Bytes()> make);

    std::vector<ManifestEntry> Entries() const;
    // Makes and writes every file, in the order added.
    void WriteAll(DataFolder& folder) const;

private:
    using Writer = std::function<void(DataFolder&, TextureFiles&)>;

    struct Item
    {
        std::vector<ManifestEntry> files;
        Writer write;
    };

    void Add(std::vector<ManifestEntry> files, Writer write);
    // The file of the stem and extension, made by build from the art, and the art's ".srf" beside it.
    template <typename Art>
    void AddWithSurface(const std::string& stem, const char* extension, const char* reader, std::function<Art()> make,
                        Formats::Bytes (*build)(const Art&));

    std::vector<Item> m_items;
};

} // namespace Content
