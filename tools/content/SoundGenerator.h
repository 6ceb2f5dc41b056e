// Writes every sound effect as a 16-bit mono WAV file at 22,050 samples per second.
#pragma once

#include "tools/content/Generator.h"
#include "tools/content/SoundEffect.h"

namespace Content {

class SoundGenerator : public Generator
{
public:
    // The menu sounds, then the game sounds.
    static std::vector<SoundEffect> Effects();

    std::vector<ManifestEntry> Files() const override;
    void Write(DataFolder& folder) const override;
};

} // namespace Content
