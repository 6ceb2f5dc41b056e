#include "tools/content/MusicGenerator.h"

#include "tools/content/Composer.h"
#include "tools/content/DataFolder.h"
#include "tools/content/MusicRenderer.h"
#include "tools/content/Parallel.h"
#include "tools/formats/SoundWriters.h"

namespace Content {
namespace {

void WriteTrack(const TrackStyle& style, DataFolder& folder)
{
    const StereoTrack track = MusicRenderer::Render(Composer(style).Compose());
    const auto frames = static_cast<std::uint32_t>(track.left.size());
    folder.Write(style.file,
                 Formats::EncodeOgg(2, MusicRenderer::kRate, frames, [&](std::uint32_t frame, unsigned channel) {
                     return channel ? track.right[frame] : track.left[frame];
                 }));
}

} // namespace

const std::vector<TrackStyle>& MusicGenerator::Tracks()
{
    // The menu is calm and unhurried in D major; the level tracks move a little more, in F and E major.
    static const std::vector<TrackStyle> tracks{
        {"audio\\music\\menu.ogg", 180.0, 0x51A7E001u, 62, 76.0, Instrument::Flute},
        {"audio\\music\\game0.ogg", 120.0, 0x51A7E002u, 65, 92.0, Instrument::Bell},
        {"audio\\music\\game1.ogg", 120.0, 0x51A7E003u, 64, 100.0, Instrument::Flute},
    };
    return tracks;
}

std::vector<ManifestEntry> MusicGenerator::Files() const
{
    std::vector<ManifestEntry> files;
    for (const TrackStyle& track : Tracks())
        files.push_back({track.file, "SoundFileReaderOGG"});
    return files;
}

void MusicGenerator::Write(DataFolder& folder) const
{
    RunInParallel(Tracks().size(), [&](std::size_t i) { WriteTrack(Tracks()[i], folder); });
}

} // namespace Content
