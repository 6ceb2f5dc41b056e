#include "TextureManager.h"

#include "Image.h"
#include "RenderSystem.h"
#include "Texture2D.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"

namespace KeystrelEngine {

namespace {

void WarnUnlessPowerOfTwo(MessageManager* log, const Image& image, const std::string& path)
{
    if (!IsPowerOfTwo(image.GetWidth()) || !IsPowerOfTwo(image.GetHeight()))
        log->Warning("Texture Manager: \"" + path + "\" image size should be power of two");
}

} // namespace

bool IsPowerOfTwo(std::uint32_t value)
{
    return value <= 65536 && (value & (value - 1)) == 0;
}

TextureManager::TextureManager(MessageManager* log, FileManager* files, Config* config, RenderSystem* renderSystem)
    : m_log(log), m_files(files), m_config(config), m_renderSystem(renderSystem)
{
}

TextureManager::~TextureManager()
{
    for (const auto& [key, texture] : m_textures)
        delete texture;
    m_textures.clear();
}

Texture2D* TextureManager::GetTexture(const std::string& diffuseName, const std::string& opacityName,
                                      std::uint32_t flags)
{
    const std::string diffusePath = ToLower(MakeDataPath(diffuseName));
    const std::string opacityPath = ToLower(MakeDataPath(opacityName));
    std::string key = "diffuse_" + diffusePath;
    if (flags & kUseOpacity)
        key += "_plus_opacity_" + opacityPath;
    if (flags & kMipMapping)
        key += "_with_mip_mapping";
    if (const auto found = m_textures.find(key); found != m_textures.end()) {
        found->second->AddReference();
        return found->second;
    }

    Image diffuse;
    if (!Image::Load(m_files, diffusePath, diffuse, m_log))
        diffuse.MakeCheckerboard(m_log);
    else
        WarnUnlessPowerOfTwo(m_log, diffuse, diffusePath);
    if (flags & kUseOpacity) {
        Image opacity;
        if (opacityPath == diffusePath) {
            opacity.CopyFrom(diffuse);
        } else {
            if (diffuse.GetBitsPerPixel() != 24)
                m_log->Warning("Texture Manager: \"" + diffusePath + "\" image color depth should be 24 bit");
            if (Image::Load(m_files, opacityPath, opacity, m_log)) {
                WarnUnlessPowerOfTwo(m_log, opacity, opacityPath);
                if (opacity.GetWidth() != diffuse.GetWidth() || opacity.GetHeight() != diffuse.GetHeight())
                    m_log->Warning("Texture Manager: \"" + opacityPath + "\" image size should be the same as \"" +
                                   diffusePath + "\"");
            }
        }
        // Without an opacity picture (its reader has said why) the texture has no alpha.
        if (!opacity.IsEmpty())
            Image::CombineAlpha(opacity, diffuse);
    }
    Texture2D* texture = m_renderSystem->CreateTexture2D(key, diffuse, (flags & kMipMapping) != 0);
    m_textures.emplace(key, texture);
    return texture;
}

void TextureManager::ReleaseTexture(Texture2D* texture)
{
    if (!texture)
        return;
    const auto found = m_textures.find(texture->GetName());
    if (found == m_textures.end() || found->second != texture)
        return;
    if (texture->RemoveReference() == 0) {
        delete texture;
        m_textures.erase(found);
    }
}

std::uint32_t TextureManager::GetUsedMemorySize() const
{
    std::uint32_t total = 0;
    for (const auto& [key, texture] : m_textures)
        total += texture->GetVideoMemorySize();
    return total;
}

void TextureManager::GetLoadedTextures(std::vector<Texture2D*>& textures) const
{
    textures.clear();
    for (const auto& [key, texture] : m_textures)
        textures.push_back(texture);
}

} // namespace KeystrelEngine
