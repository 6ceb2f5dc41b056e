// The render system on DirectDraw 7 and Direct3D 7. At construction it lists the display drivers with their
// Direct3D devices and display modes, chooses a device (transform-and-lighting hardware first, then other
// hardware, then the software rasterizer, then the reference rasterizer) and a display mode from the video
// settings, and creates DirectDraw, the screen surfaces, the device, the viewport and the Z buffer. When the
// hardware device cannot be created it falls back to the software rasterizer. Every frame it restores lost
// surfaces, clears and begins the scene, and presents the back buffer (a blit into the window, or a flip in full
// screen); a mode change re-creates everything. Failed device calls are logged through the result check and the
// frame goes on; only failures at start-up are fatal.
#pragma once

#include "RenderSystem.h"
#include "platform/ddraw/DDraw.h"

#include <memory>
#include <string>
#include <vector>

namespace KeystrelEngine {

class Texture2D_D3D7;

class RenderSystem_D3D7 final : public RenderSystem
{
public:
    struct ModeRecord
    {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        std::uint32_t bits = 0; // 16, or 32 for 24-bit and 32-bit display modes
        DDSURFACEDESC2 desc;
    };

    struct DeviceRecord
    {
        std::vector<std::unique_ptr<ModeRecord>> modes; // the display modes the device renders to
        GUID guid;
        std::string name;
        std::string description;
        D3DDEVICEDESC7 desc;
        bool hardware = false;
        const ModeRecord* currentMode = nullptr;
        bool fullScreen = false;
    };

    struct DriverRecord
    {
        std::vector<std::unique_ptr<DeviceRecord>> devices;
        GUID guid;
        bool hasGuid = false; // the primary display driver has none
        std::string description;
        DDCAPS hardwareCaps;
        DDCAPS emulationCaps;
        DeviceRecord* currentDevice = nullptr;
        bool primary = false;
        std::uint32_t desktopWidth = 0;
        std::uint32_t desktopHeight = 0;
        std::uint32_t desktopBits = 0;
        // At least 640 x 400, by width, height and depth, each descending.
        std::vector<DDSURFACEDESC2> modes;
    };

    RenderSystem_D3D7(MessageManager* log, Config* config, Window* window, bool keepWindowSize);
    ~RenderSystem_D3D7() override;

    void Refresh() override;
    void BeginScene() override;
    void EndScene() override;
    void SwapBuffers() override;
    void CheckModeChange() override;
    void Reset(std::uint32_t flags) override;
    void DrawIndexedPrimitive(bool strip, IndexBuffer* indices, VertexBuffer* vertices,
                              std::uint32_t primitiveCount) override;

    Camera* CreateCamera(int projectionKind) override;
    VertexBuffer* CreateVertexBuffer(std::uint32_t usage, bool hasColours, std::uint32_t vertexCount) override;
    VertexBuffer* CreateVertexBuffer(std::uint32_t usage, bool hasColours, const VertexBuffer& source) override;
    VertexBuffer* CreateVertexBuffer(const VertexBuffer& source) override;
    IndexBuffer* CreateIndexBuffer(std::uint32_t usage, std::uint32_t indexCount) override;
    IndexBuffer* CreateIndexBuffer(std::uint32_t usage, const IndexBuffer& source) override;
    IndexBuffer* CreateIndexBuffer(const IndexBuffer& source) override;
    Texture2D* CreateTexture2D(const std::string& name, const Image& image, bool mipMapped) override;
    Light* CreateLight(std::uint32_t index) override;
    void GrabScreen(Image& image) override;

    void SetDefaultStates() override;
    void SetMaterial(const Color& ambient, const Color& diffuse, const Color& specular, const Color& emissive,
                     float power) override;
    void UpdateProjectionMatrix() override;
    void UpdateViewMatrix() override;
    void UpdateWorldMatrix() override;
    void UpdateAmbientColor() override;
    void UpdateAlphaBlend() override;
    void UpdateBlend() override;
    void UpdateTexture(std::uint32_t stage) override;
    void UpdateMaxTextureAnisotropy(std::uint32_t stage) override;
    void UpdateTextureFilter(std::uint32_t stage) override;
    void UpdateTextureAdressU(std::uint32_t stage) override;
    void UpdateTextureAdressV(std::uint32_t stage) override;
    void UpdateTextureMatrix(std::uint32_t stage) override;
    void UpdateCullMode() override;
    void UpdateLighting() override;
    void UpdateNormalizeNormals() override;
    void UpdateZ() override;
    void UpdateZWrite() override;

    // Textures join the list when they are made and leave it when they go; a texture that leaves is also
    // forgotten by every stage that holds it, so a new texture at the same address is bound again.
    void AddTexture(Texture2D_D3D7* texture);
    void RemoveTexture(Texture2D_D3D7* texture);

    IDirectDraw7* GetDirectDraw() const { return m_directDraw; }
    // The place that holds the current device, for objects that must follow device re-creation.
    IDirect3DDevice7* const* GetDeviceSlot() const { return &m_device; }
    const std::vector<std::unique_ptr<DriverRecord>>& GetDrivers() const { return m_drivers; }
    const DriverRecord* GetDriver() const { return m_driver; }
    const DeviceRecord* GetCurrentDevice() const { return m_driver ? m_driver->currentDevice : nullptr; }

private:
    void ListDrivers();
    void AddDriver(GUID* guid, const char* description);
    void ListDevices(DriverRecord& driver, IDirect3D7* direct3D);
    void AddDevice(DriverRecord& driver, const char* description, const char* name, const D3DDEVICEDESC7& desc);
    void ChooseDevice(bool softwareOnly);
    void CreateDeviceWithFallback(bool logCapabilities);
    void ChooseVideoMode();
    const ModeRecord* FindVideoMode();
    bool CreateEverything(bool logCapabilities);
    void CreateScreenBuffers(const ModeRecord& mode, bool fullScreen);
    void CreateZBuffer(const DeviceRecord& device);
    void ReadCapabilities(const DeviceRecord& device, bool log);
    void ReleaseEverything();
    void Check(const char* context, HRESULT result) const;

    std::vector<std::unique_ptr<DriverRecord>> m_drivers;
    DriverRecord* m_driver = nullptr;
    IDirectDraw7* m_directDraw = nullptr;
    IDirect3D7* m_direct3D = nullptr;
    IDirect3DDevice7* m_device = nullptr;
    IDirectDrawSurface7* m_zBuffer = nullptr;
    IDirectDrawSurface7* m_primary = nullptr;
    IDirectDrawSurface7* m_backBuffer = nullptr;
    DDSURFACEDESC2 m_backBufferDesc;
    std::vector<Texture2D_D3D7*> m_textureList;
};

} // namespace KeystrelEngine
