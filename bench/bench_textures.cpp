// A 1024 x 1024 texture with its mip chain: how long the render system takes to make it from a picture (resampling,
// the level images, packing each level through a staging surface), and how long its first upload to GL takes (the
// first draw with it, less the same draw with a texture GL already holds). Prints ms of each (median of several
// rounds) and their ratio.
#include "bench/BenchSupport.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Window.h"
#include "engine/render/Image.h"
#include "engine/render/IndexBuffer.h"
#include "engine/render/RenderSystem_D3D7.h"
#include "engine/render/Texture2D.h"
#include "engine/render/VertexBuffer.h"

#include <SDL2/SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace KeystrelEngine;
using BenchSupport::Median;

namespace {

constexpr std::uint32_t kSide = 1024;
constexpr int kRounds = 7;

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A picture with detail at every scale, so that no level is flat.
void FillPicture(Image& image)
{
    for (std::uint32_t y = 0; y < kSide; ++y) {
        std::uint8_t* pixel = image.GetRow(y);
        for (std::uint32_t x = 0; x < kSide; ++x, pixel += 3) {
            pixel[0] = static_cast<std::uint8_t>(x ^ y);
            pixel[1] = static_cast<std::uint8_t>(x * 3 + y);
            pixel[2] = static_cast<std::uint8_t>((x / 16 + y / 16) % 2 ? 230 : 20);
        }
    }
}

class Quad
{
public:
    explicit Quad(RenderSystem& render) : m_render(render)
    {
        const float vertices[4][8] = {{-1, -1, -0.5f, 0, 0, 1, 0, 0},
                                      {1, -1, -0.5f, 0, 0, 1, 1, 0},
                                      {1, 1, -0.5f, 0, 0, 1, 1, 1},
                                      {-1, 1, -0.5f, 0, 0, 1, 0, 1}};
        m_vertices.reset(render.CreateVertexBuffer(0, false, 4));
        std::memcpy(m_vertices->Lock(0, 4), vertices, sizeof(vertices));
        m_vertices->Unlock();
        const std::uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
        m_indices.reset(render.CreateIndexBuffer(0, 6));
        std::memcpy(m_indices->Lock(0, 6), indices, sizeof(indices));
        m_indices->Unlock();
    }

    // One frame drawing the quad with the texture; ms until GL has finished.
    double Draw(Texture2D* texture)
    {
        glFinish();
        const auto start = std::chrono::steady_clock::now();
        m_render.SetTexture(0, texture);
        m_render.BeginScene();
        m_render.DrawIndexedPrimitive(false, m_indices.get(), m_vertices.get(), 2);
        m_render.EndScene();
        glFinish();
        return MillisecondsSince(start);
    }

private:
    RenderSystem& m_render;
    std::unique_ptr<VertexBuffer> m_vertices;
    std::unique_ptr<IndexBuffer> m_indices;
};

} // namespace

int main()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    MessageManager log("", "bench_textures", "", false, false);
    FileManager files(&log, "", "Data");
    Config config("bench_textures", "", &log, &files, "1024x768x32", true, true, false);
    Window window(&log, &config, "bench_textures", nullptr, 0, false, 1024, 768, false, true, 0, 0);
    std::unique_ptr<RenderSystem_D3D7> render;
    try {
        render = std::make_unique<RenderSystem_D3D7>(&log, &config, &window, true);
    } catch (const Error& error) {
        std::printf("bench_textures: no GL device (%s)\n", error.GetText().c_str());
        return 0;
    }
    Image picture;
    picture.Create(&log, kSide, kSide, 24);
    FillPicture(picture);
    render->SetTextureFilter(0, 2);
    Quad quad(*render);
    std::unique_ptr<Texture2D> held(render->CreateTexture2D("held", picture, true));
    quad.Draw(held.get()); // the held texture is in GL from here on

    std::vector<double> creation;
    std::vector<double> upload;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        std::unique_ptr<Texture2D> texture(render->CreateTexture2D("fresh", picture, true));
        creation.push_back(MillisecondsSince(start));
        const double first = quad.Draw(texture.get());
        const double again = quad.Draw(held.get());
        upload.push_back(std::max(0.0, first - again));
        render->SetTexture(0, nullptr);
    }
    const double creationMs = Median(creation);
    const double uploadMs = Median(upload);
    std::printf("bench_textures: %ux%u, 24-bit picture, mip-mapped (%u bytes of levels)\n", kSide, kSide,
                held->GetVideoMemorySize());
    std::printf("  creation from the picture %8.2f ms\n", creationMs);
    std::printf("  first upload              %8.2f ms\n", uploadMs);
    std::printf("  ratio creation / upload   %8.2f\n", uploadMs > 0 ? creationMs / uploadMs : 0.0);
    return 0;
}
