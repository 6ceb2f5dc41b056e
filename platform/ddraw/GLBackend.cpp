#include "platform/ddraw/GLBackend.h"

#include "platform/ddraw/PixelFormat.h"
#include "platform/ddraw/Surface.h"
#include "platform/win32/WindowHost.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <algorithm>
#include <cmath>

namespace DDrawHost {

namespace {

// Entry points beyond OpenGL 1.1, loaded once from the context.
struct GLFunctions
{
    PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;
    PFNGLBLITFRAMEBUFFERPROC BlitFramebuffer = nullptr;
    PFNGLCLIPCONTROLPROC ClipControl = nullptr;
    PFNGLGENSAMPLERSPROC GenSamplers = nullptr;
    PFNGLDELETESAMPLERSPROC DeleteSamplers = nullptr;
    PFNGLBINDSAMPLERPROC BindSampler = nullptr;
    PFNGLSAMPLERPARAMETERIPROC SamplerParameteri = nullptr;
    PFNGLSAMPLERPARAMETERFPROC SamplerParameterf = nullptr;

    bool Load()
    {
        Get(GenFramebuffers, "glGenFramebuffers");
        Get(DeleteFramebuffers, "glDeleteFramebuffers");
        Get(BindFramebuffer, "glBindFramebuffer");
        Get(FramebufferRenderbuffer, "glFramebufferRenderbuffer");
        Get(GenRenderbuffers, "glGenRenderbuffers");
        Get(DeleteRenderbuffers, "glDeleteRenderbuffers");
        Get(BindRenderbuffer, "glBindRenderbuffer");
        Get(RenderbufferStorage, "glRenderbufferStorage");
        Get(BlitFramebuffer, "glBlitFramebuffer");
        Get(ClipControl, "glClipControl");
        Get(GenSamplers, "glGenSamplers");
        Get(DeleteSamplers, "glDeleteSamplers");
        Get(BindSampler, "glBindSampler");
        Get(SamplerParameteri, "glSamplerParameteri");
        Get(SamplerParameterf, "glSamplerParameterf");
        return GenFramebuffers && DeleteFramebuffers && BindFramebuffer && FramebufferRenderbuffer &&
               GenRenderbuffers && DeleteRenderbuffers && BindRenderbuffer && RenderbufferStorage && BlitFramebuffer &&
               ClipControl && GenSamplers && DeleteSamplers && BindSampler && SamplerParameteri && SamplerParameterf;
    }

    template <typename F> static void Get(F& function, const char* name)
    {
        function = reinterpret_cast<F>(SDL_GL_GetProcAddress(name));
    }
};

GLFunctions gl;

GLenum BlendFactor(DWORD blend)
{
    switch (blend) {
    case D3DBLEND_ZERO:
        return GL_ZERO;
    case D3DBLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
        return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
        return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
        return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
        return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT:
        return GL_SRC_ALPHA_SATURATE;
    default:
        return GL_ONE;
    }
}

void SetEnabled(GLenum capability, bool on)
{
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
}

// An ARGB word as four floats red, green, blue, alpha.
void ToFloats(D3DCOLOR colour, GLfloat out[4])
{
    out[0] = static_cast<GLfloat>((colour >> 16) & 0xFF) / 255.0f;
    out[1] = static_cast<GLfloat>((colour >> 8) & 0xFF) / 255.0f;
    out[2] = static_cast<GLfloat>(colour & 0xFF) / 255.0f;
    out[3] = static_cast<GLfloat>(colour >> 24) / 255.0f;
}

const GLfloat* Floats(const D3DCOLORVALUE& colour)
{
    return &colour.r;
}

const GLfloat* Floats(const D3DMATRIX& matrix)
{
    return &matrix._11;
}

void SendLight(GLenum light, const D3DLIGHT7& source)
{
    static const GLfloat black[4] = {0, 0, 0, 1};
    glLightfv(light, GL_AMBIENT, Floats(source.dcvAmbient));
    glLightfv(light, GL_DIFFUSE, Floats(source.dcvDiffuse));
    glLightfv(light, GL_SPECULAR, black);
    const D3DVECTOR& p = source.dvPosition;
    const D3DVECTOR& d = source.dvDirection;
    if (source.dltType == D3DLIGHT_DIRECTIONAL) {
        // GL names the direction towards the light.
        const GLfloat towards[4] = {-d.x, -d.y, -d.z, 0.0f};
        glLightfv(light, GL_POSITION, towards);
        glLightf(light, GL_SPOT_CUTOFF, 180.0f);
        glLightf(light, GL_CONSTANT_ATTENUATION, 1.0f);
        glLightf(light, GL_LINEAR_ATTENUATION, 0.0f);
        glLightf(light, GL_QUADRATIC_ATTENUATION, 0.0f);
        return;
    }
    const GLfloat position[4] = {p.x, p.y, p.z, 1.0f};
    glLightfv(light, GL_POSITION, position);
    glLightf(light, GL_CONSTANT_ATTENUATION, source.dvAttenuation0);
    glLightf(light, GL_LINEAR_ATTENUATION, source.dvAttenuation1);
    glLightf(light, GL_QUADRATIC_ATTENUATION, source.dvAttenuation2);
    if (source.dltType == D3DLIGHT_SPOT) {
        // GL's cone has one edge: the outer cone, with an exponent standing in for the fall-off between the
        // inner and the outer cone.
        const GLfloat direction[3] = {d.x, d.y, d.z};
        glLightfv(light, GL_SPOT_DIRECTION, direction);
        const float outer = std::clamp(source.dvPhi * 0.5f * 57.29578f, 0.0f, 90.0f);
        glLightf(light, GL_SPOT_CUTOFF, outer);
        glLightf(light, GL_SPOT_EXPONENT,
                 source.dvTheta < source.dvPhi ? std::clamp(source.dvFalloff, 0.0f, 128.0f) : 0.0f);
    } else {
        glLightf(light, GL_SPOT_CUTOFF, 180.0f);
    }
}

// How a surface's pixels go to GL: directly when GL has a packed type of the same layout, otherwise converted to
// RGBA bytes first.
struct UploadFormat
{
    GLenum internalFormat;
    GLenum format;
    GLenum type;
    bool direct;
};

UploadFormat ChooseUploadFormat(const DDPIXELFORMAT& pixels)
{
    struct Known
    {
        DWORD bits, red, green, blue, alpha;
        GLenum format, type, withAlpha, withoutAlpha;
    };
    static const Known known[] = {
        {32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, GL_RGBA8, GL_RGB8},
        {16, 0xF800, 0x07E0, 0x001F, 0, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, GL_RGB8, GL_RGB8},
        {16, 0x7C00, 0x03E0, 0x001F, 0x8000, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, GL_RGB5_A1, GL_RGB5},
        {16, 0x0F00, 0x00F0, 0x000F, 0xF000, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, GL_RGBA4, GL_RGB4}};
    // A format without alpha gets a GL format without alpha, which samples alpha as 1.
    const bool alpha = pixels.dwRGBAlphaBitMask != 0;
    for (const Known& k : known) {
        if (k.bits == pixels.dwRGBBitCount && k.red == pixels.dwRBitMask && k.green == pixels.dwGBitMask &&
            k.blue == pixels.dwBBitMask && (!alpha || k.alpha == pixels.dwRGBAlphaBitMask))
            return {alpha ? k.withAlpha : k.withoutAlpha, k.format, k.type, true};
    }
    return {static_cast<GLenum>(alpha ? GL_RGBA8 : GL_RGB8), GL_RGBA, GL_UNSIGNED_BYTE, false};
}

GLint CombinerSource(DWORD argument)
{
    switch (argument) {
    case D3DTA_TEXTURE:
        return GL_TEXTURE;
    case D3DTA_DIFFUSE:
        return GL_PRIMARY_COLOR;
    default:
        return GL_PREVIOUS;
    }
}

// One half (colour or alpha) of a stage: modulate or select its first argument; disabled passes the current
// value on.
void SetCombiner(GLenum combine, GLenum source0, GLenum source1, GLint operand, DWORD operation, DWORD argument1,
                 DWORD argument2)
{
    const bool modulate = operation == D3DTOP_MODULATE;
    glTexEnvi(GL_TEXTURE_ENV, combine, modulate ? GL_MODULATE : GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, source0, operation == D3DTOP_DISABLE ? GL_PREVIOUS : CombinerSource(argument1));
    glTexEnvi(GL_TEXTURE_ENV, source1, CombinerSource(argument2));
    const GLenum operand0 = combine == GL_COMBINE_RGB ? GL_OPERAND0_RGB : GL_OPERAND0_ALPHA;
    const GLenum operand1 = combine == GL_COMBINE_RGB ? GL_OPERAND1_RGB : GL_OPERAND1_ALPHA;
    glTexEnvi(GL_TEXTURE_ENV, operand0, operand);
    glTexEnvi(GL_TEXTURE_ENV, operand1, operand);
}

void ApplyCombiners(const std::array<DWORD, D3DTSS_COUNT>& states)
{
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    SetCombiner(GL_COMBINE_RGB, GL_SOURCE0_RGB, GL_SOURCE1_RGB, GL_SRC_COLOR, states[D3DTSS_COLOROP],
                states[D3DTSS_COLORARG1], states[D3DTSS_COLORARG2]);
    SetCombiner(GL_COMBINE_ALPHA, GL_SOURCE0_ALPHA, GL_SOURCE1_ALPHA, GL_SRC_ALPHA, states[D3DTSS_ALPHAOP],
                states[D3DTSS_ALPHAARG1], states[D3DTSS_ALPHAARG2]);
}

// Whether GL holds every level of the texture as it is now.
bool IsCurrent(Surface& texture, const std::vector<std::uint32_t>& versions)
{
    std::size_t index = 0;
    for (Surface* level = &texture; level; level = level->NextLevel(), ++index) {
        if (versions[index] != level->GetContentVersion())
            return false;
    }
    return true;
}

void ApplyTextureMatrix(const std::array<DWORD, D3DTSS_COUNT>& states, const D3DMATRIX& m)
{
    glMatrixMode(GL_TEXTURE);
    if (states[D3DTSS_TEXTURETRANSFORMFLAGS] == D3DTTFF_COUNT2) {
        // Direct3D transforms (u, v, 1), GL (s, t, 0, 1): the third row becomes the translation.
        const GLfloat matrix[16] = {m._11, m._12, 0, 0, m._21, m._22, 0, 0, 0, 0, 1, 0, m._31, m._32, 0, 1};
        glLoadMatrixf(matrix);
    } else {
        glLoadIdentity();
    }
    glMatrixMode(GL_MODELVIEW);
}

} // namespace

struct GLBackend::Target
{
    GLuint framebuffer = 0;
    GLuint colour = 0;
    GLuint depth = 0;
    GLsizei width = 0;
    GLsizei height = 0;
};

// The GL copy of a texture chain, kept with its top level.
struct GLBackend::Texture
{
    GLuint name = 0;
    std::vector<std::uint32_t> versions; // per level: the content version GL holds
};

std::unique_ptr<GLBackend> GLBackend::Create()
{
    if (!SDL_GL_GetCurrentContext() && !Win32Host::MakeGLContextCurrent(nullptr))
        return nullptr;
    static const bool loaded = gl.Load();
    if (!loaded)
        return nullptr;
    return std::unique_ptr<GLBackend>(new GLBackend);
}

GLBackend::GLBackend()
{
    StartFromKnownState();
    gl.ClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glDepthFunc(GL_LEQUAL);
    glShadeModel(GL_SMOOTH);
    glFrontFace(GL_CCW);
    glDisable(GL_FOG);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_SCISSOR_TEST);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glColor4f(1, 1, 1, 1);
    glDepthMask(GL_TRUE);
    GLint units = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    m_units = static_cast<DWORD>(std::clamp<GLint>(units, 1, kD3DMaxTextureStages));
    gl.GenSamplers(static_cast<GLsizei>(m_units), m_samplers.data());
    for (DWORD unit = 0; unit < m_units; ++unit)
        gl.BindSampler(unit, m_samplers[unit]);
    m_anisotropic = SDL_GL_ExtensionSupported("GL_EXT_texture_filter_anisotropic") ||
                    SDL_GL_ExtensionSupported("GL_ARB_texture_filter_anisotropic");
}

// A device made again (after a mode change) gets a new back end on the same context, which still holds what the
// last back end set: texture-coordinate arrays pointing into vertex memory that is gone, colour material, lights,
// bound textures. The caches of this back end start empty, so GL starts from the state they describe.
void GLBackend::StartFromKnownState()
{
    GLint lights = 8;
    glGetIntegerv(GL_MAX_LIGHTS, &lights);
    for (GLint light = 0; light < lights; ++light)
        glDisable(GL_LIGHT0 + static_cast<GLenum>(light));
    for (GLenum capability : {GL_COLOR_MATERIAL, GL_LIGHTING, GL_BLEND, GL_CULL_FACE, GL_DEPTH_TEST, GL_NORMALIZE})
        glDisable(capability);
    GLint units = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    for (GLint unit = units - 1; unit >= 0; --unit) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        glClientActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
    }
    glMatrixMode(GL_MODELVIEW);
    glDisableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glNormalPointer(GL_FLOAT, 0, nullptr);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
}

GLBackend::~GLBackend()
{
    if (m_presentedWindow)
        GdiHost::SetFrameSource(m_presentedWindow, nullptr);
    gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
    DeleteForgottenTextures();
    gl.DeleteSamplers(static_cast<GLsizei>(m_units), m_samplers.data());
}

void GLBackend::CreateRenderTarget(Surface& surface)
{
    auto* target = new Target;
    target->width = static_cast<GLsizei>(surface.GetDesc().dwWidth);
    target->height = static_cast<GLsizei>(surface.GetDesc().dwHeight);
    gl.GenFramebuffers(1, &target->framebuffer);
    gl.GenRenderbuffers(1, &target->colour);
    gl.BindRenderbuffer(GL_RENDERBUFFER, target->colour);
    gl.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, target->width, target->height);
    gl.BindFramebuffer(GL_FRAMEBUFFER, target->framebuffer);
    gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, target->colour);
    m_bound = target;
    surface.m_backendHandle = reinterpret_cast<std::uintptr_t>(target);
}

void GLBackend::DestroyRenderTarget(Surface& surface)
{
    auto* target = reinterpret_cast<Target*>(surface.m_backendHandle);
    if (m_presented == target)
        m_presented = nullptr;
    if (m_bound == target) {
        gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
        m_bound = nullptr;
    }
    gl.DeleteFramebuffers(1, &target->framebuffer);
    gl.DeleteRenderbuffers(1, &target->colour);
    if (target->depth)
        gl.DeleteRenderbuffers(1, &target->depth);
    delete target;
    surface.m_backendHandle = 0;
}

void GLBackend::ForgetTexture(Surface& texture)
{
    auto* copy = reinterpret_cast<Texture*>(texture.m_backendHandle);
    if (!copy)
        return;
    {
        std::lock_guard lock(m_forgottenMutex);
        m_forgotten.push_back(copy->name);
    }
    delete copy;
    texture.m_backendHandle = 0;
}

void GLBackend::DeleteForgottenTextures()
{
    {
        std::lock_guard lock(m_forgottenMutex);
        if (m_forgotten.empty())
            return;
        m_deleting.swap(m_forgotten);
    }
    glDeleteTextures(static_cast<GLsizei>(m_deleting.size()), m_deleting.data());
    m_deleting.clear();
}

void GLBackend::UploadLevel(Surface& level, int index, bool allocate)
{
    const DDSURFACEDESC2& desc = level.GetDesc();
    const UploadFormat format = ChooseUploadFormat(desc.ddpfPixelFormat);
    const void* pixels = level.Pixels().data();
    if (!format.direct) {
        const DWORD size = BytesPerPixel(desc.ddpfPixelFormat);
        m_convertBuffer.resize(static_cast<std::size_t>(desc.dwWidth) * desc.dwHeight * 4);
        unsigned char* out = m_convertBuffer.data();
        for (DWORD y = 0; y < desc.dwHeight; ++y) {
            const std::uint8_t* in = level.Pixels().data() + static_cast<std::size_t>(y) * level.GetPitch();
            for (DWORD x = 0; x < desc.dwWidth; ++x, out += 4) {
                const auto rgba = UnpackPixel(in + x * size, desc.ddpfPixelFormat);
                std::copy(rgba.begin(), rgba.end(), out);
            }
        }
        pixels = m_convertBuffer.data();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const auto width = static_cast<GLsizei>(desc.dwWidth);
    const auto height = static_cast<GLsizei>(desc.dwHeight);
    if (allocate) {
        glTexImage2D(GL_TEXTURE_2D, index, static_cast<GLint>(format.internalFormat), width, height, 0, format.format,
                     format.type, pixels);
    } else {
        glTexSubImage2D(GL_TEXTURE_2D, index, 0, 0, width, height, format.format, format.type, pixels);
    }
}

void GLBackend::BindTexture(Surface& texture)
{
    auto* copy = reinterpret_cast<Texture*>(texture.m_backendHandle);
    const bool fresh = copy == nullptr;
    if (fresh) {
        copy = new Texture;
        glGenTextures(1, &copy->name);
        texture.m_backendHandle = reinterpret_cast<std::uintptr_t>(copy);
    }
    glBindTexture(GL_TEXTURE_2D, copy->name);
    int index = 0;
    for (Surface* level = &texture; level; level = level->NextLevel(), ++index) {
        const std::uint32_t version = level->GetContentVersion();
        if (fresh)
            copy->versions.push_back(version);
        else if (copy->versions[index] == version)
            continue;
        else
            copy->versions[index] = version;
        UploadLevel(*level, index, fresh);
    }
    if (fresh)
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, index - 1);
}

void GLBackend::ApplySampler(DWORD stage, const std::array<DWORD, D3DTSS_COUNT>& states)
{
    const GLuint sampler = m_samplers[stage];
    const bool pointMinify = states[D3DTSS_MINFILTER] == D3DTFN_POINT;
    GLint minify = pointMinify ? GL_NEAREST : GL_LINEAR;
    if (states[D3DTSS_MIPFILTER] == D3DTFP_LINEAR)
        minify = pointMinify ? GL_NEAREST_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_LINEAR;
    gl.SamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, minify);
    gl.SamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER,
                         states[D3DTSS_MAGFILTER] == D3DTFG_POINT ? GL_NEAREST : GL_LINEAR);
    const auto wrap = [](DWORD mode) { return mode == D3DTADDRESS_CLAMP ? GL_CLAMP_TO_EDGE : GL_REPEAT; };
    gl.SamplerParameteri(sampler, GL_TEXTURE_WRAP_S, wrap(states[D3DTSS_ADDRESSU]));
    gl.SamplerParameteri(sampler, GL_TEXTURE_WRAP_T, wrap(states[D3DTSS_ADDRESSV]));
    if (m_anisotropic) {
        const bool anisotropic =
            states[D3DTSS_MINFILTER] == D3DTFN_ANISOTROPIC || states[D3DTSS_MAGFILTER] == D3DTFG_ANISOTROPIC;
        const DWORD maximum = anisotropic ? std::max<DWORD>(1, states[D3DTSS_MAXANISOTROPY]) : 1;
        gl.SamplerParameterf(sampler, GL_TEXTURE_MAX_ANISOTROPY_EXT, static_cast<GLfloat>(maximum));
    }
}

void GLBackend::ApplyStage(const DeviceState& state, DWORD stage, Surface& texture)
{
    glEnable(GL_TEXTURE_2D);
    BindTexture(texture);
    ApplyCombiners(state.stageStates[stage]);
    ApplySampler(stage, state.stageStates[stage]);
    ApplyTextureMatrix(state.stageStates[stage], state.textureTransforms[stage]);
}

// Stages draw in order until one whose colour operation is disabled; a stage without a texture passes the colour
// on. Units are set up again when their stage changed or their place in the cascade did, and a texture whose
// pixels changed since GL copied them is copied again.
void GLBackend::ApplyStages(const DeviceState& state, std::uint32_t dirty)
{
    bool cascade = true;
    for (DWORD stage = 0; stage < m_units; ++stage) {
        cascade = cascade && state.stageStates[stage][D3DTSS_COLOROP] != D3DTOP_DISABLE;
        auto* texture = cascade ? static_cast<Surface*>(state.textures[stage]) : nullptr;
        const std::uint32_t bit = 1u << stage;
        const bool changed =
            (dirty & (DeviceState::DirtyStage0 << stage)) || (texture != nullptr) != ((m_texturedUnits & bit) != 0);
        if (!changed) {
            if (texture && !IsCurrent(*texture, reinterpret_cast<Texture*>(texture->m_backendHandle)->versions)) {
                glActiveTexture(GL_TEXTURE0 + stage);
                BindTexture(*texture);
            }
            continue;
        }
        glActiveTexture(GL_TEXTURE0 + stage);
        if (texture) {
            ApplyStage(state, stage, *texture);
            m_texturedUnits |= bit;
        } else {
            glDisable(GL_TEXTURE_2D);
            m_texturedUnits &= ~bit;
        }
    }
}

GLBackend::Target& GLBackend::Bind(Surface& surface, Surface* depth)
{
    auto* target = reinterpret_cast<Target*>(surface.m_backendHandle);
    if (m_bound != target) {
        gl.BindFramebuffer(GL_FRAMEBUFFER, target->framebuffer);
        m_bound = target;
    }
    if (depth && !target->depth) {
        gl.GenRenderbuffers(1, &target->depth);
        gl.BindRenderbuffer(GL_RENDERBUFFER, target->depth);
        const bool deep = depth->GetDesc().ddpfPixelFormat.dwZBufferBitDepth > 16;
        gl.RenderbufferStorage(GL_RENDERBUFFER, deep ? GL_DEPTH24_STENCIL8 : GL_DEPTH_COMPONENT16, target->width,
                               target->height);
        gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, deep ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                                   GL_RENDERBUFFER, target->depth);
    }
    return *target;
}

void GLBackend::ApplyViewport(const Target& target, const D3DVIEWPORT7& viewport)
{
    // Direct3D counts rows from the top, GL from the bottom.
    const GLint y = target.height - static_cast<GLint>(viewport.dwY + viewport.dwHeight);
    glViewport(static_cast<GLint>(viewport.dwX), y, static_cast<GLsizei>(viewport.dwWidth),
               static_cast<GLsizei>(viewport.dwHeight));
    glDepthRange(viewport.dvMinZ, viewport.dvMaxZ);
    glScissor(static_cast<GLint>(viewport.dwX), y, static_cast<GLsizei>(viewport.dwWidth),
              static_cast<GLsizei>(viewport.dwHeight));
}

void GLBackend::Clear(Surface& surface, Surface* depth, const D3DVIEWPORT7& viewport, DWORD flags, D3DCOLOR colour,
                      float z)
{
    const Target& target = Bind(surface, depth);
    ApplyViewport(target, viewport);
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        GLfloat rgba[4];
        ToFloats(colour, rgba);
        glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if ((flags & D3DCLEAR_ZBUFFER) && target.depth) {
        glClearDepth(z);
        glDepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    glEnable(GL_SCISSOR_TEST);
    glClear(mask);
    glDisable(GL_SCISSOR_TEST);
    glDepthMask(m_depthMask ? GL_TRUE : GL_FALSE);
}

void GLBackend::ApplyRenderStates(const DeviceState& state)
{
    const auto& rs = state.renderStates;
    SetEnabled(GL_DEPTH_TEST, rs[D3DRENDERSTATE_ZENABLE] != FALSE);
    m_depthMask = rs[D3DRENDERSTATE_ZWRITEENABLE] != FALSE;
    glDepthMask(m_depthMask ? GL_TRUE : GL_FALSE);
    SetEnabled(GL_BLEND, rs[D3DRENDERSTATE_ALPHABLENDENABLE] != FALSE);
    glBlendFunc(BlendFactor(rs[D3DRENDERSTATE_SRCBLEND]), BlendFactor(rs[D3DRENDERSTATE_DESTBLEND]));
    const DWORD cull = rs[D3DRENDERSTATE_CULLMODE];
    SetEnabled(GL_CULL_FACE, cull == D3DCULL_CW || cull == D3DCULL_CCW);
    glCullFace(cull == D3DCULL_CW ? GL_BACK : GL_FRONT);
    SetEnabled(GL_LIGHTING, rs[D3DRENDERSTATE_LIGHTING] != FALSE);
    SetEnabled(GL_NORMALIZE, rs[D3DRENDERSTATE_NORMALIZENORMALS] != FALSE);
    GLfloat ambient[4];
    ToFloats(rs[D3DRENDERSTATE_AMBIENT], ambient);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
}

void GLBackend::ApplyLights(const DeviceState& state)
{
    GLint maximum = 8;
    glGetIntegerv(GL_MAX_LIGHTS, &maximum);
    int used = 0;
    for (const LightSlot& slot : state.lights) {
        if (!slot.enabled || used == maximum)
            continue;
        const GLenum light = GL_LIGHT0 + static_cast<GLenum>(used++);
        SendLight(light, slot.light);
        glEnable(light);
    }
    for (int i = used; i < m_glLightsInUse; ++i)
        glDisable(GL_LIGHT0 + static_cast<GLenum>(i));
    m_glLightsInUse = used;
}

void GLBackend::ApplyTransformsAndLights(const DeviceState& state, bool resendLights)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(Floats(state.view));
    if (resendLights)
        ApplyLights(state);
    glMultMatrixf(Floats(state.world));
}

void GLBackend::ApplyMaterial(const DeviceState& state)
{
    static const GLfloat black[4] = {0, 0, 0, 1};
    const D3DMATERIAL7& material = state.material;
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, Floats(material.ambient));
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, Floats(material.diffuse));
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, Floats(material.emissive));
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(material.power, 0.0f, 128.0f));
}

void GLBackend::ApplyColourSource(const DeviceState& state, bool vertexColours)
{
    // Which material colours follow the vertex colour; without vertex colours the material holds.
    const auto& rs = state.renderStates;
    const bool tracking = vertexColours && rs[D3DRENDERSTATE_COLORVERTEX] != FALSE;
    const bool diffuse = tracking && rs[D3DRENDERSTATE_DIFFUSEMATERIALSOURCE] == D3DMCS_COLOR1;
    const bool ambient = tracking && rs[D3DRENDERSTATE_AMBIENTMATERIALSOURCE] == D3DMCS_COLOR1;
    const int mode = diffuse && ambient ? GL_AMBIENT_AND_DIFFUSE : diffuse ? GL_DIFFUSE : ambient ? GL_AMBIENT : 0;
    if (mode == m_colourMaterial)
        return;
    if (mode) {
        glColorMaterial(GL_FRONT_AND_BACK, static_cast<GLenum>(mode));
        glEnable(GL_COLOR_MATERIAL);
    } else {
        glDisable(GL_COLOR_MATERIAL);
    }
    // Tracking overwrote the material's colours; they come back from the device's material.
    if (m_colourMaterial)
        ApplyMaterial(state);
    m_colourMaterial = mode;
}

void GLBackend::SetVertexArrays(const DrawCall& draw)
{
    const bool colours = (draw.vertexFormat & D3DFVF_DIFFUSE) != 0;
    const GLsizei stride = colours ? 36 : 32;
    const auto* base = static_cast<const unsigned char*>(draw.vertices);
    glVertexPointer(3, GL_FLOAT, stride, base);
    glNormalPointer(GL_FLOAT, stride, base + 12);
    if (colours)
        glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, stride, base + 24);
    // Every textured stage reads the vertex's one pair of texture coordinates.
    for (DWORD unit = 0; unit < m_units; ++unit) {
        const std::uint32_t bit = 1u << unit;
        const bool wanted = (m_texturedUnits & bit) != 0;
        if (!wanted && !(m_coordinateUnits & bit))
            continue;
        glClientActiveTexture(GL_TEXTURE0 + unit);
        if (wanted)
            glTexCoordPointer(2, GL_FLOAT, stride, base + (colours ? 28 : 24));
        if (wanted == ((m_coordinateUnits & bit) != 0))
            continue;
        if (wanted)
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        else
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        m_coordinateUnits ^= bit;
    }
    if (colours != m_colourArray) {
        if (colours) {
            glEnableClientState(GL_COLOR_ARRAY);
        } else {
            glDisableClientState(GL_COLOR_ARRAY);
            glColor4f(1, 1, 1, 1);
        }
        m_colourArray = colours;
    }
}

void GLBackend::Draw(Surface& surface, Surface* depth, DeviceState& state, const DrawCall& draw)
{
    DeleteForgottenTextures();
    const Target& target = Bind(surface, depth);
    const std::uint32_t dirty = state.dirty;
    state.dirty = 0;
    if (dirty & DeviceState::DirtyViewport)
        ApplyViewport(target, state.viewport);
    if (dirty & DeviceState::DirtyRenderStates)
        ApplyRenderStates(state);
    if (dirty & DeviceState::DirtyProjection) {
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(Floats(state.projection));
    }
    if (dirty & DeviceState::DirtyMaterial)
        ApplyMaterial(state);
    if (dirty & (DeviceState::DirtyWorld | DeviceState::DirtyView | DeviceState::DirtyLights))
        ApplyTransformsAndLights(state, (dirty & (DeviceState::DirtyView | DeviceState::DirtyLights)) != 0);
    ApplyColourSource(state, (draw.vertexFormat & D3DFVF_DIFFUSE) != 0);
    ApplyStages(state, dirty);
    SetVertexArrays(draw);
    const GLenum mode = draw.type == D3DPT_TRIANGLESTRIP ? GL_TRIANGLE_STRIP : GL_TRIANGLES;
    glDrawElements(mode, static_cast<GLsizei>(draw.indexCount), draw.indices32 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                   draw.indices);
}

void GLBackend::ReadPixels(Surface& source, Surface& destination)
{
    const Target& target = Bind(source, nullptr);
    m_readBuffer.resize(static_cast<std::size_t>(target.width) * target.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, target.width, target.height, GL_RGBA, GL_UNSIGNED_BYTE, m_readBuffer.data());
    const DDPIXELFORMAT& format = destination.GetDesc().ddpfPixelFormat;
    const DWORD size = BytesPerPixel(format);
    for (GLsizei y = 0; y < target.height; ++y) {
        // GL's first row is the bottom one, a surface's the top one.
        const unsigned char* in =
            m_readBuffer.data() + static_cast<std::size_t>(target.height - 1 - y) * target.width * 4;
        std::uint8_t* out = destination.Pixels().data() + static_cast<std::size_t>(y) * destination.GetPitch();
        for (GLsizei x = 0; x < target.width; ++x, in += 4)
            PackPixel(out + x * size, format, {in[0], in[1], in[2], in[3]});
    }
}

void GLBackend::Present(Surface& source, HWND shownIn, bool vsync)
{
    DeleteForgottenTextures();
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    if (!window)
        return;
    Target& target = Bind(source, nullptr);
    m_presented = &target;
    if (shownIn != m_presentedWindow) {
        if (m_presentedWindow)
            GdiHost::SetFrameSource(m_presentedWindow, nullptr);
        GdiHost::SetFrameSource(shownIn, this);
        m_presentedWindow = shownIn;
    }
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    // Letterbox: the largest rectangle of the target's aspect that fits, centred.
    const double scale =
        std::min(static_cast<double>(width) / target.width, static_cast<double>(height) / target.height);
    const int shownWidth = static_cast<int>(std::lround(target.width * scale));
    const int shownHeight = static_cast<int>(std::lround(target.height * scale));
    const int left = (width - shownWidth) / 2;
    const int bottom = (height - shownHeight) / 2;
    gl.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    if (shownWidth != width || shownHeight != height) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    gl.BlitFramebuffer(0, 0, target.width, target.height, left, bottom, left + shownWidth, bottom + shownHeight,
                       GL_COLOR_BUFFER_BIT, scale == 1.0 ? GL_NEAREST : GL_LINEAR);
    const int interval = vsync ? 1 : 0;
    if (interval != m_swapInterval) {
        SDL_GL_SetSwapInterval(interval);
        m_swapInterval = interval;
    }
    SDL_GL_SwapWindow(window);
    gl.BindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
}

GdiHost::FrameSize GLBackend::GetFrameSize()
{
    return m_presented ? GdiHost::FrameSize{m_presented->width, m_presented->height} : GdiHost::FrameSize{};
}

bool GLBackend::ReadFrame(std::uint8_t* pixels)
{
    if (!m_presented)
        return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    gl.BindFramebuffer(GL_READ_FRAMEBUFFER, m_presented->framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, m_presented->width, m_presented->height, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
    gl.BindFramebuffer(GL_READ_FRAMEBUFFER, m_bound ? m_bound->framebuffer : 0);
    return glGetError() == GL_NO_ERROR;
}

void ReadGLLimits(ScriptedDevice& device)
{
    if (!SDL_GL_GetCurrentContext() && !Win32Host::MakeGLContextCurrent(nullptr))
        return;
    GLint size = 0;
    GLint units = 0;
    GLfloat anisotropy = 1.0f;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
    glGetError(); // a context without anisotropic filtering refuses the last query
    device.maxTextureWidth = static_cast<DWORD>(size);
    device.maxTextureHeight = static_cast<DWORD>(size);
    device.textureStages = static_cast<WORD>(std::clamp<GLint>(units, 1, kD3DMaxTextureStages));
    device.maxAnisotropy = static_cast<DWORD>(std::max(1.0f, anisotropy));
}

} // namespace DDrawHost
