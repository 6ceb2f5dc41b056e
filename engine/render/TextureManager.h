// Shares textures by a key of their image names and mip-map choice, with a reference count per texture. It loads
// the pictures, warns about sizes and depths the device handles badly, falls back to the checkerboard when the
// diffuse picture cannot be loaded, and merges an opacity picture into the alpha channel. The shader manager owns
// it; textures still held when it goes are deleted with it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace KeystrelEngine {

class Config;
class FileManager;
class MessageManager;
class RenderSystem;
class Texture2D;

// True for 0, 1 and the powers of two up to 65536; larger powers count as too large.
bool IsPowerOfTwo(std::uint32_t value);

class TextureManager
{
public:
    // GetTexture flags.
    static constexpr std::uint32_t kUseOpacity = 1;
    static constexpr std::uint32_t kMipMapping = 2;

    TextureManager(MessageManager* log, FileManager* files, Config* config, RenderSystem* renderSystem);
    virtual ~TextureManager();

    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    // The texture of the key, with one more reference; loaded and made when the key is new. Names are taken below
    // the data folder and compared in lower case.
    Texture2D* GetTexture(const std::string& diffuseName, const std::string& opacityName, std::uint32_t flags);
    // One reference fewer; the texture goes with its last. Null and textures of no key are left alone.
    void ReleaseTexture(Texture2D* texture);

    // Bytes over every loaded texture's levels.
    std::uint32_t GetUsedMemorySize() const;
    // Every loaded texture, in key order.
    void GetLoadedTextures(std::vector<Texture2D*>& textures) const;

private:
    MessageManager* m_log;
    FileManager* m_files;
    Config* m_config;
    RenderSystem* m_renderSystem;
    std::map<std::string, Texture2D*> m_textures; // owned
};

} // namespace KeystrelEngine
