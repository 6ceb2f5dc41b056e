// The engine's abstract renderer. It keeps a copy of every render state the engine changes (matrices, ambient
// colour, blending, the per-stage texture states, culling, lighting, Z) and sends a state to the device only when
// it changes: each setter compares the new value with the cached one (floats within the engine tolerance) and
// calls the matching update operation, which the implementation turns into device calls. While the force flag is
// set (during SetDefaultStates) every setter sends. It also runs the frame (refresh, begin and end of scene,
// presentation) and makes the device-bound resources.
#pragma once

#include "Color.h"
#include "Matrix4.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace KeystrelEngine {

class Camera;
class Config;
class Image;
class IndexBuffer;
class Light;
class MessageManager;
class Texture2D;
class VertexBuffer;
class Window;

class RenderSystem
{
public:
    // Clear flags.
    static constexpr std::uint32_t kClearTarget = 1;
    static constexpr std::uint32_t kClearZBuffer = 2;
    static constexpr std::uint32_t kClearStencil = 4;

    // Reset flags.
    static constexpr std::uint32_t kResetDevice = 1;
    static constexpr std::uint32_t kResetTextures = 2;

    // Texture matrix: scale u, scale v, offset u, offset v.
    using TextureMatrix = std::array<float, 4>;

    RenderSystem(MessageManager* log, Config* config, Window* window, bool keepWindowSize);
    virtual ~RenderSystem();

    RenderSystem(const RenderSystem&) = delete;
    RenderSystem& operator=(const RenderSystem&) = delete;

    virtual void Refresh();
    virtual void BeginScene() {}
    virtual void EndScene() {}
    virtual void SwapBuffers() {}
    virtual void CheckModeChange();
    virtual void Reset(std::uint32_t flags);
    virtual void DrawIndexedPrimitive(bool /*strip*/, IndexBuffer* /*indices*/, VertexBuffer* /*vertices*/,
                                      std::uint32_t /*primitiveCount*/)
    {
    }

    virtual Camera* CreateCamera(int projectionKind) = 0;
    virtual VertexBuffer* CreateVertexBuffer(std::uint32_t usage, bool hasColours, std::uint32_t vertexCount) = 0;
    virtual VertexBuffer* CreateVertexBuffer(std::uint32_t usage, bool hasColours, const VertexBuffer& source) = 0;
    virtual VertexBuffer* CreateVertexBuffer(const VertexBuffer& source) = 0;
    virtual IndexBuffer* CreateIndexBuffer(std::uint32_t usage, std::uint32_t indexCount) = 0;
    virtual IndexBuffer* CreateIndexBuffer(std::uint32_t usage, const IndexBuffer& source) = 0;
    virtual IndexBuffer* CreateIndexBuffer(const IndexBuffer& source) = 0;
    virtual Texture2D* CreateTexture2D(const std::string& name, const Image& image, bool mipMapped) = 0;
    virtual Light* CreateLight(std::uint32_t index) = 0;
    virtual void GrabScreen(Image& image) = 0;

    virtual void ResetStageStates();
    virtual void SetDefaultStates();

    virtual void SetMaterial(const Color& ambient, const Color& diffuse, const Color& specular, const Color& emissive,
                             float power) = 0;
    virtual void UpdateProjectionMatrix() = 0;
    virtual void UpdateViewMatrix() = 0;
    virtual void UpdateWorldMatrix() = 0;
    virtual void UpdateAmbientColor() = 0;
    virtual void UpdateAlphaBlend() = 0;
    virtual void UpdateBlend() = 0;
    virtual void UpdateTexture(std::uint32_t stage) = 0;
    virtual void UpdateMaxTextureAnisotropy(std::uint32_t stage) = 0;
    virtual void UpdateTextureFilter(std::uint32_t stage) = 0;
    virtual void UpdateTextureAdressU(std::uint32_t stage) = 0;
    virtual void UpdateTextureAdressV(std::uint32_t stage) = 0;
    virtual void UpdateTextureMatrix(std::uint32_t stage) = 0;
    virtual void UpdateCullMode() = 0;
    virtual void UpdateLighting() = 0;
    virtual void UpdateNormalizeNormals() = 0;
    virtual void UpdateZ() = 0;
    virtual void UpdateZWrite() = 0;

    // Cached setters: send only what changes, everything while forced. A stage the device does not have is a
    // caller's mistake: asserted in debug builds, ignored otherwise (readers then give empty values).
    void SetProjectionMatrix(const Matrix4& matrix);
    void SetViewMatrix(const Matrix4& matrix);
    void SetWorldMatrix(const Matrix4& matrix);
    void SetAmbientColor(const Color& colour);
    void SetAlphaBlend(bool on);
    void SetBlend(std::uint32_t source, std::uint32_t destination);
    void SetTexture(std::uint32_t stage, Texture2D* texture);
    void SetMaxTextureAnisotropy(std::uint32_t stage, std::uint32_t anisotropy);
    void SetTextureFilter(std::uint32_t stage, std::uint32_t filter);
    void SetTextureAdressU(std::uint32_t stage, std::uint32_t mode);
    void SetTextureAdressV(std::uint32_t stage, std::uint32_t mode);
    void SetTextureMatrix(std::uint32_t stage, float scaleU, float scaleV, float offsetU, float offsetV);
    void SetCullMode(std::uint32_t mode);
    void SetLighting(bool on);
    void SetNormalizeNormals(bool on);
    void SetZ(bool on);
    void SetZWrite(bool on);

    MessageManager* GetLog() const { return m_log; }
    std::uint32_t GetTextureStageCount() const { return m_stageCount; }
    std::uint32_t GetMaxTextureWidth() const { return m_maxTextureWidth; }
    std::uint32_t GetMaxTextureHeight() const { return m_maxTextureHeight; }
    std::uint32_t GetMaxAnisotropy() const { return m_maxAnisotropy; }

    bool AreSurfacesValid() const { return m_surfacesValid; }
    bool IsModeChangePending() const { return m_modeChangePending; }
    bool TexturesNeedReload() const { return m_texturesNeedReload; }
    bool IsForced() const { return m_force; }
    // Read and cleared by the light manager, which then re-enables its lights.
    bool AreLightsReset() const { return m_lightsReset; }
    void ClearLightsReset() { m_lightsReset = false; }

    const Matrix4& GetProjectionMatrix() const { return m_projection; }
    const Matrix4& GetViewMatrix() const { return m_view; }
    const Matrix4& GetWorldMatrix() const { return m_world; }
    const Color& GetAmbientColor() const { return m_ambient; }
    bool GetAlphaBlend() const { return m_alphaBlend; }
    std::uint32_t GetSourceBlend() const { return m_sourceBlend; }
    std::uint32_t GetDestinationBlend() const { return m_destinationBlend; }
    Texture2D* GetTexture(std::uint32_t stage) const;
    std::uint32_t GetMaxTextureAnisotropy(std::uint32_t stage) const;
    std::uint32_t GetTextureFilter(std::uint32_t stage) const;
    std::uint32_t GetTextureAdressU(std::uint32_t stage) const;
    std::uint32_t GetTextureAdressV(std::uint32_t stage) const;
    TextureMatrix GetTextureMatrix(std::uint32_t stage) const;
    std::uint32_t GetCullMode() const { return m_cullMode; }
    bool GetLighting() const { return m_lighting; }
    bool GetNormalizeNormals() const { return m_normalizeNormals; }
    bool GetZ() const { return m_zTest; }
    bool GetZWrite() const { return m_zWrite; }

    // Callers that clear the screen their own way change these.
    std::uint32_t m_clearFlags = kClearTarget | kClearZBuffer;
    Color m_clearColor{0.0f, 0.0f, 0.0f, 1.0f};

protected:
    MessageManager* m_log;
    Config* m_config;
    Window* m_window;
    bool m_keepWindowSize;

    // Device limits, written when the device is created.
    std::uint32_t m_maxTextureWidth = 0;
    std::uint32_t m_maxTextureHeight = 0;
    std::uint32_t m_stageCount = 0;
    std::uint32_t m_maxAnisotropy = 0;

    bool m_surfacesValid = false;
    bool m_modeChangePending = false;
    bool m_texturesNeedReload = false;
    bool m_force = false;

    Matrix4 m_projection;
    Matrix4 m_view;
    Matrix4 m_world;
    Color m_ambient;
    bool m_alphaBlend = false;
    std::uint32_t m_sourceBlend = 0;
    std::uint32_t m_destinationBlend = 0;
    std::vector<Texture2D*> m_textures;
    std::vector<std::uint32_t> m_anisotropies;
    std::vector<std::uint32_t> m_filters;
    std::vector<std::uint32_t> m_addressU;
    std::vector<std::uint32_t> m_addressV;
    std::vector<TextureMatrix> m_textureMatrices;
    std::uint32_t m_cullMode = 0;
    bool m_lighting = false;
    bool m_normalizeNormals = false;
    bool m_zTest = false;
    bool m_zWrite = false;
    bool m_lightsReset = false;

    // The display mode in use and whether it is full screen, for CheckModeChange.
    std::uint32_t m_modeWidth = 0;
    std::uint32_t m_modeHeight = 0;
    std::uint32_t m_modeBits = 0;
    bool m_modeFullScreen = false;

private:
    bool IsStage(std::uint32_t stage) const;
};

} // namespace KeystrelEngine
