// A render system without a device: each update operation only counts its calls, so tests see what the state
// cache decides to send.
#pragma once

#include "engine/render/RenderSystem.h"

#include <map>
#include <string>

namespace RenderTesting {

class CountingRenderSystem : public KeystrelEngine::RenderSystem
{
public:
    CountingRenderSystem(KeystrelEngine::MessageManager* log, KeystrelEngine::Config* config, std::uint32_t stages,
                         std::uint32_t maxAnisotropy)
        : RenderSystem(log, config, nullptr, false)
    {
        m_stageCount = stages;
        m_maxAnisotropy = maxAnisotropy;
        ResetStageStates();
    }

    // Calls of an update operation since the last Forget.
    int Count(const std::string& operation) const
    {
        const auto found = m_calls.find(operation);
        return found == m_calls.end() ? 0 : found->second;
    }
    void Forget() { m_calls.clear(); }

    KeystrelEngine::Camera* CreateCamera(int) override { return nullptr; }
    KeystrelEngine::VertexBuffer* CreateVertexBuffer(std::uint32_t, bool, std::uint32_t) override { return nullptr; }
    KeystrelEngine::VertexBuffer* CreateVertexBuffer(std::uint32_t, bool, const KeystrelEngine::VertexBuffer&) override
    {
        return nullptr;
    }
    KeystrelEngine::VertexBuffer* CreateVertexBuffer(const KeystrelEngine::VertexBuffer&) override { return nullptr; }
    KeystrelEngine::IndexBuffer* CreateIndexBuffer(std::uint32_t, std::uint32_t) override { return nullptr; }
    KeystrelEngine::IndexBuffer* CreateIndexBuffer(std::uint32_t, const KeystrelEngine::IndexBuffer&) override
    {
        return nullptr;
    }
    KeystrelEngine::IndexBuffer* CreateIndexBuffer(const KeystrelEngine::IndexBuffer&) override { return nullptr; }
    KeystrelEngine::Texture2D* CreateTexture2D(const std::string&, const KeystrelEngine::Image&, bool) override
    {
        return nullptr;
    }
    KeystrelEngine::Light* CreateLight(std::uint32_t) override { return nullptr; }
    void GrabScreen(KeystrelEngine::Image&) override {}

    void SetMaterial(const KeystrelEngine::Color&, const KeystrelEngine::Color&, const KeystrelEngine::Color&,
                     const KeystrelEngine::Color&, float) override
    {
        ++m_calls["SetMaterial"];
    }
    void UpdateProjectionMatrix() override { ++m_calls["Projection"]; }
    void UpdateViewMatrix() override { ++m_calls["View"]; }
    void UpdateWorldMatrix() override { ++m_calls["World"]; }
    void UpdateAmbientColor() override { ++m_calls["Ambient"]; }
    void UpdateAlphaBlend() override { ++m_calls["AlphaBlend"]; }
    void UpdateBlend() override { ++m_calls["Blend"]; }
    void UpdateTexture(std::uint32_t) override { ++m_calls["Texture"]; }
    void UpdateMaxTextureAnisotropy(std::uint32_t) override { ++m_calls["Anisotropy"]; }
    void UpdateTextureFilter(std::uint32_t) override { ++m_calls["Filter"]; }
    void UpdateTextureAdressU(std::uint32_t) override { ++m_calls["AddressU"]; }
    void UpdateTextureAdressV(std::uint32_t) override { ++m_calls["AddressV"]; }
    void UpdateTextureMatrix(std::uint32_t) override { ++m_calls["TextureMatrix"]; }
    void UpdateCullMode() override { ++m_calls["Cull"]; }
    void UpdateLighting() override { ++m_calls["Lighting"]; }
    void UpdateNormalizeNormals() override { ++m_calls["Normalize"]; }
    void UpdateZ() override { ++m_calls["Z"]; }
    void UpdateZWrite() override { ++m_calls["ZWrite"]; }

private:
    std::map<std::string, int> m_calls;
};

} // namespace RenderTesting
