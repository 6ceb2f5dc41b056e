#include "tools/content/art/TextureFiles.h"

#include <stdexcept>

namespace Content {

TextureFiles::TextureFiles() = default;

void TextureFiles::WriteColour(const Picture& picture, const std::filesystem::path& path)
{
    Save(picture.ColourImage(&m_log), path);
}

void TextureFiles::WriteAlpha(const Picture& picture, const std::filesystem::path& path)
{
    Save(picture.AlphaImage(&m_log), path);
}

void TextureFiles::Save(const KeystrelEngine::Image& image, const std::filesystem::path& path)
{
    // An absolute name is written where it says, whatever the file manager's folders.
    if (KeystrelEngine::Image::SaveJPEG(image, std::filesystem::absolute(path).string(), &m_files))
        return;
    const std::string reason = m_log.m_history.empty() ? "unknown failure" : m_log.m_history.back().text;
    throw std::runtime_error("cannot write \"" + path.string() + "\": " + reason);
}

} // namespace Content
