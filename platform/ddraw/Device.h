// The Direct3D 7 device: keeps every state it is told in a DeviceState, checks draws and hands them with that
// state to the back end of its DirectDraw object. It holds references to its DirectDraw object, its render
// target and the textures bound to its stages.
#pragma once

#include "platform/ddraw/DeviceState.h"

#include <atomic>
#include <vector>

namespace DDrawHost {

class DirectDraw;
class Surface;

class Device final : public IDirect3DDevice7
{
public:
    Device(DirectDraw& owner, Surface& target, const D3DDEVICEDESC7& desc, std::vector<DDPIXELFORMAT> textureFormats);

    HRESULT QueryInterface(REFIID /*iid*/, void** /*object*/) override { return E_NOINTERFACE; }
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT SetViewport(D3DVIEWPORT7* viewport) override;
    HRESULT SetRenderTarget(IDirectDrawSurface7* target, DWORD flags) override;
    HRESULT Clear(DWORD count, void* rects, DWORD flags, D3DCOLOR colour, D3DVALUE z, DWORD stencil) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetMaterial(D3DMATERIAL7* material) override;
    HRESULT SetLight(DWORD index, D3DLIGHT7* light) override;
    HRESULT LightEnable(DWORD index, BOOL enable) override;
    HRESULT SetTexture(DWORD stage, IDirectDrawSurface7* texture) override;
    HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount,
                                 WORD* indices, DWORD indexCount, DWORD flags) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount,
                                 DWORD* indices, DWORD indexCount, DWORD flags) override;

private:
    ~Device() override;

    template <typename Index>
    HRESULT Draw(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount, const Index* indices,
                 DWORD indexCount);
    LightSlot& Light(DWORD index);
    Surface* DepthBuffer() const;

    DirectDraw& m_owner;
    Surface* m_target;
    std::atomic<ULONG> m_references{1};
    D3DDEVICEDESC7 m_desc;
    std::vector<DDPIXELFORMAT> m_textureFormats;
    DeviceState m_state;
};

} // namespace DDrawHost
