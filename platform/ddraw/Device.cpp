#include "platform/ddraw/Device.h"

#include "platform/ddraw/DirectDraw.h"
#include "platform/ddraw/Surface.h"

#include <algorithm>

namespace DDrawHost {

namespace {

constexpr HRESULT D3DERR_SCENE_IN_SCENE = MakeDDrawResult(2161);
constexpr HRESULT D3DERR_ZBUFFER_NOTPRESENT = MakeDDrawResult(2163);

constexpr DWORD kMaxLights = 1024;

bool ValidPrimitive(D3DPRIMITIVETYPE type, DWORD indexCount)
{
    if (type == D3DPT_TRIANGLELIST)
        return indexCount >= 3 && indexCount % 3 == 0;
    return type == D3DPT_TRIANGLESTRIP && indexCount >= 3;
}

} // namespace

DeviceState::DeviceState()
{
    renderStates[D3DRENDERSTATE_ZENABLE] = TRUE;
    renderStates[D3DRENDERSTATE_ZWRITEENABLE] = TRUE;
    renderStates[D3DRENDERSTATE_ALPHABLENDENABLE] = FALSE;
    renderStates[D3DRENDERSTATE_SRCBLEND] = D3DBLEND_ONE;
    renderStates[D3DRENDERSTATE_DESTBLEND] = D3DBLEND_ZERO;
    renderStates[D3DRENDERSTATE_CULLMODE] = D3DCULL_CCW;
    renderStates[D3DRENDERSTATE_AMBIENT] = 0;
    renderStates[D3DRENDERSTATE_LIGHTING] = TRUE;
    renderStates[D3DRENDERSTATE_NORMALIZENORMALS] = FALSE;
    renderStates[D3DRENDERSTATE_COLORVERTEX] = TRUE;
    renderStates[D3DRENDERSTATE_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    renderStates[D3DRENDERSTATE_AMBIENTMATERIALSOURCE] = D3DMCS_MATERIAL;
    for (DWORD stage = 0; stage < kD3DMaxTextureStages; ++stage) {
        auto& states = stageStates[stage];
        states[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        states[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        states[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        states[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        states[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        states[D3DTSS_ALPHAARG2] = D3DTA_DIFFUSE;
        states[D3DTSS_TEXCOORDINDEX] = stage;
        states[D3DTSS_ADDRESSU] = D3DTADDRESS_WRAP;
        states[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
        states[D3DTSS_MAGFILTER] = D3DTFG_POINT;
        states[D3DTSS_MINFILTER] = D3DTFN_POINT;
        states[D3DTSS_MIPFILTER] = D3DTFP_NONE;
        states[D3DTSS_MAXANISOTROPY] = 1;
        states[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
    }
}

Device::Device(DirectDraw& owner, Surface& target, const D3DDEVICEDESC7& desc,
               std::vector<DDPIXELFORMAT> textureFormats)
    : m_owner(owner), m_target(&target), m_desc(desc), m_textureFormats(std::move(textureFormats))
{
    m_owner.AddRef();
    m_target->AddRef();
    m_state.viewport.dwWidth = target.GetDesc().dwWidth;
    m_state.viewport.dwHeight = target.GetDesc().dwHeight;
    SetLiveDevice(&m_state);
}

Device::~Device()
{
    ForgetLiveDevice(&m_state);
    for (IDirectDrawSurface7* texture : m_state.textures) {
        if (texture)
            texture->Release();
    }
    m_target->Release();
    m_owner.Release();
}

ULONG Device::AddRef()
{
    return ++m_references;
}

ULONG Device::Release()
{
    const ULONG remaining = --m_references;
    if (remaining == 0)
        delete this;
    return remaining;
}

Surface* Device::DepthBuffer() const
{
    return m_target->FindAttached(DDSCAPS_ZBUFFER);
}

HRESULT Device::SetViewport(D3DVIEWPORT7* viewport)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::SetViewport, viewport->dwWidth, viewport->dwHeight);
        FAILED(injected))
        return injected;
    const DDSURFACEDESC2& target = m_target->GetDesc();
    if (viewport->dwX + viewport->dwWidth > target.dwWidth || viewport->dwY + viewport->dwHeight > target.dwHeight ||
        !(viewport->dvMinZ >= 0.0f && viewport->dvMinZ <= viewport->dvMaxZ && viewport->dvMaxZ <= 1.0f))
        return DDERR_INVALIDPARAMS;
    m_state.viewport = *viewport;
    m_state.dirty |= DeviceState::DirtyViewport;
    return D3D_OK;
}

HRESULT Device::SetRenderTarget(IDirectDrawSurface7* target, DWORD /*flags*/)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::SetRenderTarget); FAILED(injected))
        return injected;
    auto* surface = static_cast<Surface*>(target);
    if (!surface || !surface->IsRenderTarget())
        return DDERR_INVALIDPARAMS;
    surface->AddRef();
    m_target->Release();
    m_target = surface;
    m_state.dirty = DeviceState::DirtyAll;
    return D3D_OK;
}

HRESULT Device::Clear(DWORD count, void* rects, DWORD flags, D3DCOLOR colour, D3DVALUE z, DWORD /*stencil*/)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::Clear, flags, colour); FAILED(injected))
        return injected;
    if (count != 0 || rects)
        return DDERR_INVALIDPARAMS;
    if (SurfacesLost())
        return DDERR_SURFACELOST;
    Surface* depth = DepthBuffer();
    if ((flags & D3DCLEAR_ZBUFFER) && !depth)
        return D3DERR_ZBUFFER_NOTPRESENT;
    m_owner.GetBackend().Clear(*m_target, depth, m_state.viewport, flags, colour, z);
    return D3D_OK;
}

HRESULT Device::BeginScene()
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::BeginScene); FAILED(injected))
        return injected;
    if (SurfacesLost())
        return DDERR_SURFACELOST;
    if (m_state.inScene)
        return D3DERR_SCENE_IN_SCENE;
    m_state.inScene = true;
    return D3D_OK;
}

HRESULT Device::EndScene()
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::EndScene); FAILED(injected))
        return injected;
    if (SurfacesLost())
        return DDERR_SURFACELOST;
    if (!m_state.inScene)
        return D3DERR_SCENE_NOT_IN_SCENE;
    m_state.inScene = false;
    return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::SetRenderState, state, value); FAILED(injected))
        return injected;
    if (state >= D3DRENDERSTATE_COUNT)
        return DDERR_INVALIDPARAMS;
    m_state.renderStates[state] = value;
    m_state.dirty |= DeviceState::DirtyRenderStates;
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::SetTextureStageState, stage, state, value); FAILED(injected))
        return injected;
    if (stage >= m_desc.wMaxSimultaneousTextures || state >= D3DTSS_COUNT)
        return DDERR_INVALIDPARAMS;
    m_state.stageStates[stage][state] = value;
    m_state.dirty |= DeviceState::DirtyStage0 << stage;
    return D3D_OK;
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::SetTransform, state); FAILED(injected))
        return injected;
    switch (state) {
    case D3DTRANSFORMSTATE_WORLD:
        m_state.world = *matrix;
        m_state.dirty |= DeviceState::DirtyWorld;
        return D3D_OK;
    case D3DTRANSFORMSTATE_VIEW:
        m_state.view = *matrix;
        m_state.dirty |= DeviceState::DirtyView;
        return D3D_OK;
    case D3DTRANSFORMSTATE_PROJECTION:
        m_state.projection = *matrix;
        m_state.dirty |= DeviceState::DirtyProjection;
        return D3D_OK;
    default:
        break;
    }
    const DWORD stage = state - D3DTRANSFORMSTATE_TEXTURE0;
    if (state < D3DTRANSFORMSTATE_TEXTURE0 || stage >= kD3DMaxTextureStages)
        return DDERR_INVALIDPARAMS;
    m_state.textureTransforms[stage] = *matrix;
    m_state.dirty |= DeviceState::DirtyStage0 << stage;
    return D3D_OK;
}

HRESULT Device::SetMaterial(D3DMATERIAL7* material)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::SetMaterial); FAILED(injected))
        return injected;
    m_state.material = *material;
    m_state.dirty |= DeviceState::DirtyMaterial;
    return D3D_OK;
}

LightSlot& Device::Light(DWORD index)
{
    if (index >= m_state.lights.size()) {
        // A light enabled before it was set is a white directional light along +Z.
        LightSlot unset;
        unset.light.dltType = D3DLIGHT_DIRECTIONAL;
        unset.light.dcvDiffuse = {1, 1, 1, 0};
        unset.light.dvDirection = {0, 0, 1};
        m_state.lights.resize(index + 1, unset);
    }
    return m_state.lights[index];
}

HRESULT Device::SetLight(DWORD index, D3DLIGHT7* light)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::SetLight, index, light->dltType); FAILED(injected))
        return injected;
    if (index >= kMaxLights || light->dltType < D3DLIGHT_POINT || light->dltType > D3DLIGHT_DIRECTIONAL ||
        !(light->dvRange >= 0.0f))
        return DDERR_INVALIDPARAMS;
    Light(index).light = *light;
    m_state.dirty |= DeviceState::DirtyLights;
    return D3D_OK;
}

HRESULT Device::LightEnable(DWORD index, BOOL enable)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::LightEnable, index, static_cast<DWORD>(enable));
        FAILED(injected))
        return injected;
    if (index >= kMaxLights)
        return DDERR_INVALIDPARAMS;
    Light(index).enabled = enable != FALSE;
    m_state.dirty |= DeviceState::DirtyLights;
    return D3D_OK;
}

HRESULT Device::SetTexture(DWORD stage, IDirectDrawSurface7* texture)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::SetTexture, stage, texture ? 1 : 0); FAILED(injected))
        return injected;
    if (stage >= m_desc.wMaxSimultaneousTextures ||
        (texture && !(static_cast<Surface*>(texture)->GetCaps() & DDSCAPS_TEXTURE)))
        return DDERR_INVALIDPARAMS;
    if (texture)
        texture->AddRef();
    if (m_state.textures[stage])
        m_state.textures[stage]->Release();
    m_state.textures[stage] = texture;
    m_state.dirty |= DeviceState::DirtyStage0 << stage;
    return D3D_OK;
}

HRESULT Device::EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context)
{
    for (DDPIXELFORMAT format : m_textureFormats) {
        if (callback(&format, context) == D3DENUMRET_CANCEL)
            break;
    }
    return D3D_OK;
}

template <typename Index>
HRESULT Device::Draw(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount,
                     const Index* indices, DWORD indexCount)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::DrawIndexedPrimitive, type, vertexCount, indexCount);
        FAILED(injected))
        return injected;
    if (!m_state.inScene)
        return D3DERR_SCENE_NOT_IN_SCENE;
    const bool knownFormat = vertexFormat == (D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1) ||
                             vertexFormat == (D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    if (!knownFormat || !vertices || !indices || !ValidPrimitive(type, indexCount) ||
        std::any_of(indices, indices + indexCount, [vertexCount](Index i) { return i >= vertexCount; }))
        return DDERR_INVALIDPARAMS;
    if (SurfacesLost())
        return DDERR_SURFACELOST;
    constexpr bool indices32 = sizeof(Index) == 4;
    if (m_owner.IsRecording()) {
        RecordDraw({type, vertexFormat, vertexCount, indexCount, indices32,
                    std::vector<DWORD>(indices, indices + indexCount)});
    }
    m_owner.GetBackend().Draw(*m_target, DepthBuffer(), m_state,
                              {type, vertexFormat, vertices, vertexCount, indices, indices32, indexCount});
    return D3D_OK;
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount,
                                     WORD* indices, DWORD indexCount, DWORD /*flags*/)
{
    return Draw(type, vertexFormat, vertices, vertexCount, indices, indexCount);
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount,
                                     DWORD* indices, DWORD indexCount, DWORD /*flags*/)
{
    return Draw(type, vertexFormat, vertices, vertexCount, indices, indexCount);
}

} // namespace DDrawHost
