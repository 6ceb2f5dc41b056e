// A texture of the Direct3D 7 render system: a DirectDraw texture surface, with a chain of mip-map levels when it
// is mip-mapped. It keeps its level images in memory, so that it can rebuild its surface after the device has
// been lost or re-created without reading a file. It lives in the render system's list of textures from
// construction to destruction, so that a device reset can release and rebuild its surface, and so that the
// render system forgets it in its texture stages when it goes.
#pragma once

#include "Texture2D.h"
#include "platform/ddraw/DDraw.h"

#include <memory>
#include <vector>

namespace KeystrelEngine {

class Image;
class RenderSystem_D3D7;

class Texture2D_D3D7 final : public Texture2D
{
public:
    // Mip-mapped when asked for and "r_use_mip_mapping" is on.
    Texture2D_D3D7(MessageManager* log, Config* config, RenderSystem_D3D7* renderSystem, const std::string& name,
                   const Image& image, bool mipMapped);
    ~Texture2D_D3D7() override;

    // Builds the surface from image, or without one from the kept level images; nothing while a surface exists.
    // A failed creation is logged and leaves the texture without a surface (and its level images kept).
    void CreateSurface(const Image* image);
    void ReleaseSurface();
    // Null while the texture has no surface.
    IDirectDrawSurface7* GetSurface() const { return m_surface; }
    // Level 0 at the surface size and depth, then one image per mip level.
    const std::vector<std::unique_ptr<Image>>& GetLevelImages() const { return m_levels; }

private:
    void BuildLevelImages(const Image& source, std::uint32_t bitsPerPixel);
    DDSURFACEDESC2 DescribeSurface(std::uint32_t bitsPerPixel) const;
    void FillLevel(IDirectDrawSurface7* level, const Image& image, const DDPIXELFORMAT& format);
    void Check(HRESULT result) const;

    RenderSystem_D3D7* m_renderSystem;
    IDirectDrawSurface7* m_surface = nullptr; // one reference
    std::vector<std::unique_ptr<Image>> m_levels;
};

} // namespace KeystrelEngine
