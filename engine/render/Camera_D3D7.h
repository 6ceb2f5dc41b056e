// The Direct3D 7 camera: computes both projection forms and the view from the lens and the viewpoint, and hands
// the device form to the device. The perspective lens always has the ratio 4 : 3, whatever the window's aspect.
#pragma once

#include "Camera.h"
#include "platform/ddraw/DDraw.h"

namespace KeystrelEngine {

class RenderSystem_D3D7;

class Camera_D3D7 final : public Camera
{
public:
    Camera_D3D7(int projectionKind, RenderSystem_D3D7* renderSystem, IDirect3DDevice7* const* device);

    void Update(float aspect) override;
    void Apply() override;
    void ApplyZBiased() override;

    const Matrix4& GetDeviceProjection() const { return m_deviceProjection; }
    const Matrix4& GetDeviceZBiasedProjection() const { return m_deviceZBiasedProjection; }

private:
    void ComputePerspective();
    void ComputeOrthographic();
    void ComputeView();
    void SendProjection(const char* context, const Matrix4& projection);

    RenderSystem_D3D7* m_renderSystem;
    IDirect3DDevice7* const* m_device; // the render system's slot, which follows device re-creation
    Matrix4 m_deviceProjection;
    Matrix4 m_deviceZBiasedProjection;
};

} // namespace KeystrelEngine
