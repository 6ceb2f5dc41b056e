// A picture on the graphics device, shared by the texture manager under a key made of its image names and its
// mip-map choice, with a reference count that the manager keeps.
#pragma once

#include <cstdint>
#include <string>

namespace KeystrelEngine {

class Config;
class MessageManager;

class Texture2D
{
public:
    Texture2D(MessageManager* log, Config* config, const std::string& name, bool mipMapped)
        : m_log(log), m_config(config), m_name(name), m_mipMapped(mipMapped)
    {
    }
    virtual ~Texture2D() = default;

    Texture2D(const Texture2D&) = delete;
    Texture2D& operator=(const Texture2D&) = delete;

    const std::string& GetName() const { return m_name; }
    std::uint32_t GetReferenceCount() const { return m_referenceCount; }
    void AddReference() { ++m_referenceCount; }
    // Returns the references left.
    std::uint32_t RemoveReference() { return --m_referenceCount; }
    std::uint32_t GetVideoMemorySize() const { return m_videoMemorySize; }
    bool IsMipMapped() const { return m_mipMapped; }
    std::uint32_t GetWidth() const { return m_width; }
    std::uint32_t GetHeight() const { return m_height; }

protected:
    MessageManager* m_log;
    Config* m_config;
    std::string m_name;
    std::uint32_t m_referenceCount = 1;
    std::uint32_t m_videoMemorySize = 0; // bytes over every level at the last surface creation
    bool m_mipMapped;
    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
};

} // namespace KeystrelEngine
