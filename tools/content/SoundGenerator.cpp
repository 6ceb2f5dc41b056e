#include "tools/content/SoundGenerator.h"

#include "tools/content/DataFolder.h"
#include "tools/content/GameSounds.h"
#include "tools/content/MenuSounds.h"
#include "tools/formats/SoundWriters.h"

namespace Content {

std::vector<SoundEffect> SoundGenerator::Effects()
{
    std::vector<SoundEffect> effects = MenuSounds::Effects();
    std::vector<SoundEffect> game = GameSounds::Effects();
    effects.insert(effects.end(), game.begin(), game.end());
    return effects;
}

std::vector<ManifestEntry> SoundGenerator::Files() const
{
    std::vector<ManifestEntry> files;
    for (const SoundEffect& effect : Effects())
        files.push_back({effect.file, "SoundFileReaderWAV"});
    return files;
}

void SoundGenerator::Write(DataFolder& folder) const
{
    for (const SoundEffect& effect : Effects()) {
        MonoSound sound(effect.seconds, effect.loops);
        effect.draw(sound);
        folder.Write(effect.file, Formats::MakeWav(1, 16, MonoSound::kRate, sound.ToPcm16(effect.peakDb)));
    }
}

} // namespace Content
