#include "Light_D3D7.h"

#include "RenderSystem_D3D7.h"
#include "ResultCheck.h"

namespace KeystrelEngine {

namespace {

D3DCOLORVALUE ToDevice(const Color& colour)
{
    return {colour.r, colour.g, colour.b, colour.a};
}

D3DVECTOR ToDevice(const Vector3& vector)
{
    return {vector.x, vector.y, vector.z};
}

} // namespace

Light_D3D7::Light_D3D7(MessageManager* log, std::uint32_t index, RenderSystem_D3D7* renderSystem,
                       IDirect3DDevice7* const* device)
    : Light(log, index), m_renderSystem(renderSystem), m_device(device)
{
}

Light_D3D7::~Light_D3D7()
{
    Disable();
}

void Light_D3D7::Disable()
{
    if (*m_device)
        CheckResult("Light_D3D7::DisableLight", (*m_device)->LightEnable(index, FALSE), m_renderSystem);
}

void Light_D3D7::Refresh()
{
    if (!*m_device)
        return;
    if (!enabled) {
        Disable();
        return;
    }
    D3DLIGHT7 light;
    light.dcvDiffuse = ToDevice(diffuse);
    light.dcvSpecular = ToDevice(specular);
    light.dcvAmbient = ToDevice(ambient);
    light.dvRange = range;
    switch (type) {
    case TypeDirectional:
        light.dltType = D3DLIGHT_DIRECTIONAL;
        light.dvDirection = ToDevice(direction);
        break;
    case TypeSpot:
        light.dltType = D3DLIGHT_SPOT;
        light.dvPosition = ToDevice(position);
        light.dvDirection = ToDevice(direction);
        light.dvTheta = theta;
        light.dvPhi = phi;
        light.dvFalloff = 1.0f;
        break;
    case TypePoint:
        light.dltType = D3DLIGHT_POINT;
        light.dvPosition = ToDevice(position);
        break;
    default:
        break; // type 0, which the device refuses
    }
    if (type == TypeSpot || type == TypePoint) {
        light.dvAttenuation0 = attenuation0;
        light.dvAttenuation1 = attenuation1;
        light.dvAttenuation2 = attenuation2;
    }
    CheckResult("Light_D3D7::Refresh", (*m_device)->SetLight(index, &light), m_renderSystem);
    CheckResult("Light_D3D7::Refresh", (*m_device)->LightEnable(index, TRUE), m_renderSystem);
}

} // namespace KeystrelEngine
