// A frame of 200 draws of a lit 1,000-triangle mesh at 1024 x 768 (offscreen), with a few state changes per draw
// (world matrix, alpha blending and its factors, culling), drawn through the render system and by a hand-written
// GL loop with the same geometry and states, in the same run and the same GL context. Prints ms per frame of
// each (median of several rounds) and their ratio.
#include "bench/BenchSupport.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Window.h"
#include "engine/render/IndexBuffer.h"
#include "engine/render/Light.h"
#include "engine/render/LightManager.h"
#include "engine/render/RenderSystem_D3D7.h"
#include "engine/render/VertexBuffer.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace KeystrelEngine;
using BenchSupport::Median;
using BenchSupport::Milliseconds;

namespace {

constexpr int kDraws = 200;
constexpr int kColumns = 20;
constexpr int kGridWidth = 25; // 25 x 20 quads = 1,000 triangles
constexpr int kGridHeight = 20;
constexpr int kFrames = 20;
constexpr int kRounds = 5;

struct Vertex
{
    float position[3];
    float normal[3];
    float u, v;
};

struct Mesh
{
    std::vector<Vertex> vertices;
    std::vector<std::uint16_t> indices;
};

// A bumpy grid of one tile's size, centred on the origin.
Mesh MakeMesh()
{
    Mesh mesh;
    for (int y = 0; y <= kGridHeight; ++y) {
        for (int x = 0; x <= kGridWidth; ++x) {
            const float u = static_cast<float>(x) / kGridWidth;
            const float v = static_cast<float>(y) / kGridHeight;
            const float nx = 0.3f * static_cast<float>(std::sin(u * 12.0f));
            mesh.vertices.push_back({{(u - 0.5f) * 0.09f, (v - 0.5f) * 0.18f, 0.0f}, {nx, 0.2f, 0.93f}, u, v});
        }
    }
    for (int y = 0; y < kGridHeight; ++y) {
        for (int x = 0; x < kGridWidth; ++x) {
            const auto a = static_cast<std::uint16_t>(y * (kGridWidth + 1) + x);
            const auto b = static_cast<std::uint16_t>(a + 1);
            const auto c = static_cast<std::uint16_t>(a + kGridWidth + 1);
            const auto d = static_cast<std::uint16_t>(c + 1);
            mesh.indices.insert(mesh.indices.end(), {a, c, b, b, c, d});
        }
    }
    return mesh;
}

// Where draw i goes: a grid of 20 x 10 tiles over the screen.
void TileOffset(int i, float& x, float& y)
{
    x = -0.95f + 0.1f * static_cast<float>(i % kColumns);
    y = -0.9f + 0.2f * static_cast<float>(i / kColumns);
}

// The per-draw state changes both loops make.
bool Blended(int i)
{
    return i % 2 == 1;
}
std::uint32_t CullMode(int i)
{
    return i % 3 == 0 ? 2 : 0;
}

class EngineLoop
{
public:
    EngineLoop(RenderSystem& render, const Mesh& mesh) : m_render(render), m_lights(nullptr, &render)
    {
        m_vertices.reset(render.CreateVertexBuffer(0, false, static_cast<std::uint32_t>(mesh.vertices.size())));
        std::memcpy(m_vertices->Lock(0, static_cast<std::uint32_t>(mesh.vertices.size())), mesh.vertices.data(),
                    mesh.vertices.size() * sizeof(Vertex));
        m_vertices->Unlock();
        m_indices.reset(render.CreateIndexBuffer(0, static_cast<std::uint32_t>(mesh.indices.size())));
        std::memcpy(m_indices->Lock(0, static_cast<std::uint32_t>(mesh.indices.size())), mesh.indices.data(),
                    mesh.indices.size() * 2);
        m_indices->Unlock();
        Light* sun = m_lights.CreateLight();
        sun->type = Light::TypeDirectional;
        sun->direction = {0.3f, -0.5f, -0.8f};
        Light* lamp = m_lights.CreateLight();
        lamp->position = {0.0f, 0.0f, -0.2f};
        lamp->attenuation1 = 1.0f;
        m_lights.m_ambient = {0.2f, 0.2f, 0.2f, 1.0f};
        render.SetMaterial({1, 1, 1, 1}, {0.8f, 0.7f, 0.6f, 1}, {0, 0, 0, 0}, {0, 0, 0, 1}, 0.0f);
        render.SetZ(true);
    }

    void Frame()
    {
        m_render.Refresh();
        m_lights.EnableLighting(true);
        m_lights.Apply();
        m_render.BeginScene();
        Matrix4 world;
        for (int i = 0; i < kDraws; ++i) {
            float x;
            float y;
            TileOffset(i, x, y);
            world.MakeTranslation({x, y, -0.5f});
            m_render.SetWorldMatrix(world);
            m_render.SetAlphaBlend(Blended(i));
            m_render.SetBlend(Blended(i) ? 4 : 1, Blended(i) ? 5 : 0);
            m_render.SetCullMode(CullMode(i));
            m_render.DrawIndexedPrimitive(false, m_indices.get(), m_vertices.get(),
                                          static_cast<std::uint32_t>(m_indices->GetIndexCount() / 3));
        }
        m_render.EndScene();
        m_render.SwapBuffers();
        glFinish();
    }

private:
    RenderSystem& m_render;
    LightManager m_lights;
    std::unique_ptr<VertexBuffer> m_vertices;
    std::unique_ptr<IndexBuffer> m_indices;
};

// The same frame written directly against GL: its own frame buffer, the same fixed-function states.
class HandLoop
{
public:
    explicit HandLoop(const Mesh& mesh) : m_mesh(mesh), m_target(1024, 768, true) {}

    void Frame()
    {
        m_target.Bind();
        glClearColor(0, 0, 0, 1);
        glClearDepth(1.0);
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_LIGHTING);
        glDisable(GL_COLOR_MATERIAL);
        const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
        const GLfloat materialAmbient[] = {1, 1, 1, 1};
        const GLfloat materialDiffuse[] = {0.8f, 0.7f, 0.6f, 1};
        const GLfloat black[] = {0, 0, 0, 1};
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, materialAmbient);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, materialDiffuse);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        const GLfloat view[] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
        glLoadMatrixf(view);
        const GLfloat sun[] = {-0.3f, 0.5f, 0.8f, 0.0f};
        const GLfloat lamp[] = {0.0f, 0.0f, -0.2f, 1.0f};
        const GLfloat white[] = {1, 1, 1, 1};
        for (GLenum light : {GL_LIGHT0, GL_LIGHT1}) {
            glLightfv(light, GL_DIFFUSE, white);
            glLightfv(light, GL_AMBIENT, white);
            glLightfv(light, GL_SPECULAR, black);
            glEnable(light);
        }
        glLightfv(GL_LIGHT0, GL_POSITION, sun);
        glLightfv(GL_LIGHT1, GL_POSITION, lamp);
        glLightf(GL_LIGHT1, GL_LINEAR_ATTENUATION, 1.0f);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, sizeof(Vertex), m_mesh.vertices.data());
        glNormalPointer(GL_FLOAT, sizeof(Vertex), &m_mesh.vertices[0].normal);
        for (int i = 0; i < kDraws; ++i) {
            float x;
            float y;
            TileOffset(i, x, y);
            glLoadMatrixf(view);
            glTranslatef(x, y, -0.5f);
            if (Blended(i)) {
                glEnable(GL_BLEND);
                glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            } else {
                glDisable(GL_BLEND);
                glBlendFunc(GL_ONE, GL_ONE);
            }
            if (CullMode(i) == 2) {
                glEnable(GL_CULL_FACE);
                glCullFace(GL_FRONT);
            } else {
                glDisable(GL_CULL_FACE);
            }
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(m_mesh.indices.size()), GL_UNSIGNED_SHORT,
                           m_mesh.indices.data());
        }
        m_target.Present();
    }

private:
    const Mesh& m_mesh;
    BenchSupport::HandTarget m_target;
};

template <typename Loop> double TimeFrames(Loop& loop)
{
    const auto start = std::chrono::steady_clock::now();
    for (int frame = 0; frame < kFrames; ++frame)
        loop.Frame();
    return Milliseconds(std::chrono::steady_clock::now() - start) / kFrames;
}

} // namespace

int main()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    MessageManager log("", "bench_render", "", false, false);
    FileManager files(&log, "", "Data");
    Config config("bench_render", "", &log, &files, "1024x768x32", true, true, false);
    config.v_vsync = false;
    Window window(&log, &config, "bench_render", nullptr, 0, false, 1024, 768, false, true, 0, 0);
    std::unique_ptr<RenderSystem_D3D7> render;
    try {
        render = std::make_unique<RenderSystem_D3D7>(&log, &config, &window, true);
    } catch (const Error& error) {
        std::printf("bench_render: no GL device (%s)\n", error.GetText().c_str());
        return 0;
    }
    const Mesh mesh = MakeMesh();
    EngineLoop engine(*render, mesh);
    HandLoop hand(mesh);
    engine.Frame(); // first uses: warm the driver's caches
    hand.Frame();

    std::vector<double> engineTimes;
    std::vector<double> handTimes;
    for (int round = 0; round < kRounds; ++round) {
        engineTimes.push_back(TimeFrames(engine));
        handTimes.push_back(TimeFrames(hand));
    }
    const double engineMs = Median(engineTimes);
    const double handMs = Median(handTimes);
    std::printf("bench_render: %d draws x %zu triangles, 1024x768, lit\n", kDraws, mesh.indices.size() / 3);
    std::printf("  render system   %8.2f ms/frame\n", engineMs);
    std::printf("  hand-written GL %8.2f ms/frame\n", handMs);
    std::printf("  ratio           %8.2f (target <= 1.25)\n", engineMs / handMs);
    return 0;
}
