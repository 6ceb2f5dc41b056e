#include "RenderSystem.h"

#include "engine/foundation/Config.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace KeystrelEngine {

namespace {

bool Differs(const RenderSystem::TextureMatrix& a, const RenderSystem::TextureMatrix& b)
{
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::fabs(a[i] - b[i]) > kTolerance)
            return true;
    }
    return false;
}

// Stores value and reports true when it has to be sent: forced, or different from the cached one.
template <typename T> bool Store(T& cached, const T& value, bool force)
{
    if (!force && cached == value)
        return false;
    cached = value;
    return true;
}

} // namespace

RenderSystem::RenderSystem(MessageManager* log, Config* config, Window* window, bool keepWindowSize)
    : m_log(log), m_config(config), m_window(window), m_keepWindowSize(keepWindowSize)
{
}

RenderSystem::~RenderSystem() = default;

void RenderSystem::Refresh()
{
    std::int32_t anisotropy = std::min<std::int32_t>(m_config->r_texture_anisotropy, m_maxAnisotropy);
    if (anisotropy < 2)
        anisotropy = 1;
    m_config->r_texture_anisotropy = anisotropy;
    for (std::uint32_t stage = 0; stage < m_stageCount; ++stage)
        SetMaxTextureAnisotropy(stage, static_cast<std::uint32_t>(anisotropy));
}

void RenderSystem::CheckModeChange()
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bits = 0;
    Config::ParseVideoMode(m_config->v_mode, &width, &height, &bits);
    if (width != m_modeWidth || height != m_modeHeight || bits != m_modeBits ||
        m_config->v_fullscreen != m_modeFullScreen)
        m_modeChangePending = true;
}

void RenderSystem::Reset(std::uint32_t flags)
{
    if (flags & kResetDevice) {
        m_modeChangePending = false;
        m_surfacesValid = true;
    }
    if (flags & kResetTextures)
        m_texturesNeedReload = false;
}

void RenderSystem::ResetStageStates()
{
    m_textures.assign(m_stageCount, nullptr);
    m_anisotropies.assign(m_stageCount, 0);
    m_filters.assign(m_stageCount, 0);
    m_addressU.assign(m_stageCount, 0);
    m_addressV.assign(m_stageCount, 0);
    m_textureMatrices.assign(m_stageCount, TextureMatrix{});
    m_surfacesValid = true;
    SetDefaultStates();
}

void RenderSystem::SetDefaultStates()
{
    SetMaterial({0.6f, 0.6f, 0.6f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 1.0f},
                0.0f);
    m_force = true;
    m_view.MakeIdentity();
    UpdateViewMatrix();
    SetWorldMatrix(Matrix4());
    SetAmbientColor({0.0f, 0.0f, 0.0f, 1.0f});
    SetAlphaBlend(false);
    SetBlend(0, 0);
    for (std::uint32_t stage = 0; stage < m_stageCount; ++stage) {
        SetTexture(stage, nullptr);
        SetMaxTextureAnisotropy(stage, 1);
        SetTextureFilter(stage, 1);
        SetTextureAdressU(stage, 1);
        SetTextureAdressV(stage, 1);
        SetTextureMatrix(stage, 1.0f, 1.0f, 0.0f, 0.0f);
    }
    SetCullMode(0);
    SetLighting(false);
    SetNormalizeNormals(false);
    SetZ(false);
    SetZWrite(true);
    m_lightsReset = false;
    m_force = false;
}

bool RenderSystem::IsStage(std::uint32_t stage) const
{
    assert(stage < m_textures.size() && "no such texture stage");
    return stage < m_textures.size();
}

Texture2D* RenderSystem::GetTexture(std::uint32_t stage) const
{
    return IsStage(stage) ? m_textures[stage] : nullptr;
}

std::uint32_t RenderSystem::GetMaxTextureAnisotropy(std::uint32_t stage) const
{
    return IsStage(stage) ? m_anisotropies[stage] : 0;
}

std::uint32_t RenderSystem::GetTextureFilter(std::uint32_t stage) const
{
    return IsStage(stage) ? m_filters[stage] : 0;
}

std::uint32_t RenderSystem::GetTextureAdressU(std::uint32_t stage) const
{
    return IsStage(stage) ? m_addressU[stage] : 0;
}

std::uint32_t RenderSystem::GetTextureAdressV(std::uint32_t stage) const
{
    return IsStage(stage) ? m_addressV[stage] : 0;
}

RenderSystem::TextureMatrix RenderSystem::GetTextureMatrix(std::uint32_t stage) const
{
    return IsStage(stage) ? m_textureMatrices[stage] : TextureMatrix{};
}

void RenderSystem::SetProjectionMatrix(const Matrix4& matrix)
{
    if (!m_force && Matrix4::Equals(m_projection, matrix))
        return;
    m_projection = matrix;
    UpdateProjectionMatrix();
}

void RenderSystem::SetViewMatrix(const Matrix4& matrix)
{
    if (!m_force && Matrix4::Equals(m_view, matrix))
        return;
    m_view = matrix;
    UpdateViewMatrix();
}

void RenderSystem::SetWorldMatrix(const Matrix4& matrix)
{
    if (!m_force && Matrix4::Equals(m_world, matrix))
        return;
    m_world = matrix;
    UpdateWorldMatrix();
}

void RenderSystem::SetAmbientColor(const Color& colour)
{
    if (!m_force && !Color::Differs(m_ambient, colour))
        return;
    m_ambient = colour;
    UpdateAmbientColor();
}

void RenderSystem::SetAlphaBlend(bool on)
{
    if (Store(m_alphaBlend, on, m_force))
        UpdateAlphaBlend();
}

void RenderSystem::SetBlend(std::uint32_t source, std::uint32_t destination)
{
    if (!m_force && m_sourceBlend == source && m_destinationBlend == destination)
        return;
    m_sourceBlend = source;
    m_destinationBlend = destination;
    UpdateBlend();
}

void RenderSystem::SetTexture(std::uint32_t stage, Texture2D* texture)
{
    if (IsStage(stage) && Store(m_textures[stage], texture, m_force))
        UpdateTexture(stage);
}

void RenderSystem::SetMaxTextureAnisotropy(std::uint32_t stage, std::uint32_t anisotropy)
{
    if (IsStage(stage) && Store(m_anisotropies[stage], anisotropy, m_force))
        UpdateMaxTextureAnisotropy(stage);
}

void RenderSystem::SetTextureFilter(std::uint32_t stage, std::uint32_t filter)
{
    if (IsStage(stage) && Store(m_filters[stage], filter, m_force))
        UpdateTextureFilter(stage);
}

void RenderSystem::SetTextureAdressU(std::uint32_t stage, std::uint32_t mode)
{
    if (IsStage(stage) && Store(m_addressU[stage], mode, m_force))
        UpdateTextureAdressU(stage);
}

void RenderSystem::SetTextureAdressV(std::uint32_t stage, std::uint32_t mode)
{
    if (IsStage(stage) && Store(m_addressV[stage], mode, m_force))
        UpdateTextureAdressV(stage);
}

void RenderSystem::SetTextureMatrix(std::uint32_t stage, float scaleU, float scaleV, float offsetU, float offsetV)
{
    const TextureMatrix matrix = {scaleU, scaleV, offsetU, offsetV};
    if (!IsStage(stage) || (!m_force && !Differs(m_textureMatrices[stage], matrix)))
        return;
    m_textureMatrices[stage] = matrix;
    UpdateTextureMatrix(stage);
}

void RenderSystem::SetCullMode(std::uint32_t mode)
{
    if (Store(m_cullMode, mode, m_force))
        UpdateCullMode();
}

void RenderSystem::SetLighting(bool on)
{
    if (Store(m_lighting, on, m_force))
        UpdateLighting();
}

void RenderSystem::SetNormalizeNormals(bool on)
{
    if (Store(m_normalizeNormals, on, m_force))
        UpdateNormalizeNormals();
}

void RenderSystem::SetZ(bool on)
{
    if (Store(m_zTest, on, m_force))
        UpdateZ();
}

void RenderSystem::SetZWrite(bool on)
{
    if (Store(m_zWrite, on, m_force))
        UpdateZWrite();
}

} // namespace KeystrelEngine
