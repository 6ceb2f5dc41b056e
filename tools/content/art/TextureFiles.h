// Writes pictures as the engine's JPEG files, through the engine's own image writer (its fixed quality): the
// colour as a 24-bit file, the alpha as an 8-bit grey file of the same size. The writer's log is a quiet one of
// its own; a failed write throws std::runtime_error with the engine's error text.
#pragma once

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "tools/content/art/Picture.h"

#include <filesystem>

namespace Content {

class TextureFiles
{
public:
    TextureFiles();

    void WriteColour(const Picture& picture, const std::filesystem::path& path);
    void WriteAlpha(const Picture& picture, const std::filesystem::path& path);

private:
    void Save(const KeystrelEngine::Image& image, const std::filesystem::path& path);

    KeystrelEngine::MessageManager m_log{"", "quellhaven-content", "", false, false};
    KeystrelEngine::FileManager m_files{&m_log, "", ""};
};

} // namespace Content
