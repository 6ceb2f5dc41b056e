// GUI text at 800 x 600 (offscreen): 40 windows print 50 characters each every frame (2,000 glyph quads, two
// font instances at two depths) through AddText, the windows' Draw, the font manager's end of frame and the
// model manager's RenderAll; against a hand-written GL loop that draws the same 2,000 textured, coloured quads
// from one array in the same context. Prints characters per millisecond of each (medians of several rounds),
// their ratio, the CPU part alone (texts added, laid out and written into the batches, without drawing), and
// the allocations per frame of that CPU part.
#include "bench/BenchSupport.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Window.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUITextManager.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/CameraManager.h"
#include "engine/render/IndexBuffer.h"
#include "engine/render/LightManager.h"
#include "engine/render/ModelManager.h"
#include "engine/render/RenderSystem_D3D7.h"
#include "engine/render/ShaderDescriptor.h"
#include "engine/render/ShaderManager.h"
#include "engine/render/VertexBuffer.h"
#include "tools/formats/FontTextureWriter.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

using namespace KeystrelEngine;
using BenchSupport::EngineName;
using BenchSupport::Median;
using BenchSupport::Milliseconds;
using BenchSupport::WriteBytes;

namespace {

constexpr int kWindows = 40;
constexpr int kCharacters = 50;
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kFrames = 30;
constexpr int kRounds = 5;
constexpr std::uint32_t kCellHeight = 16;
constexpr double kTargetRatio = 1.5;
constexpr double kTargetCpuRate = 5000.0;

// The printable ASCII letters and digits, each a glyph picture of its own width in a two-tone cell.
Formats::FontTexture MakeFontTexture()
{
    Formats::FontPictures pictures{kCellHeight, 256, {}};
    for (char16_t code = u'0'; code <= u'z'; ++code) {
        const std::uint32_t width = 6 + code % 5;
        std::vector<std::uint32_t> pixels(width * kCellHeight, 0xFFE0E0FF);
        std::fill_n(pixels.begin(), width * 4, 0xFF8080FF);
        pictures.glyphs.push_back({code, width, pixels});
    }
    return Formats::BuildFontTexture(pictures);
}

// The GUI side of the frame: windows in two columns of twenty, alternately at depth -10 and -20, each with a line
// of fifty characters of the font.
class TextScene
{
public:
    TextScene(const GUIServices& gui, GUIFontManager& fonts) : m_fonts(fonts)
    {
        for (int i = 0; i < kWindows; ++i) {
            const GUIPoint position{static_cast<float>(i % 2) * 400.0f, static_cast<float>(i / 2) * 30.0f};
            m_windows.push_back(std::make_unique<GUIWindow>(gui, GUIWindow::kShown | (i % 2 ? 0x04u : 0x08u), position,
                                                            GUISize{400, 30}, nullptr, nullptr));
            std::u16string line;
            for (int c = 0; c < kCharacters; ++c)
                line += static_cast<char16_t>(u'0' + (i * 7 + c * 3) % 75);
            m_lines.push_back(line);
        }
    }

    // Texts added, laid out and written into the batches, and the batches ended.
    void Print()
    {
        for (int i = 0; i < kWindows; ++i) {
            m_windows[i]->AddText(0x02, 1, m_lines[i], 0.0f, 0.0f, {4, 0}, {1, 1, 1, 1});
            m_windows[i]->Draw();
        }
        m_fonts.EndFrame();
    }

private:
    GUIFontManager& m_fonts;
    std::vector<std::unique_ptr<GUIWindow>> m_windows;
    std::vector<std::u16string> m_lines;
};

// The same quads drawn straight with GL from one array: the vertices the engine wrote, copied once.
class HandLoop
{
public:
    HandLoop(const std::vector<std::uint8_t>& vertices, const Formats::FontTexture& texture)
        : m_vertices(vertices), m_target(kWidth, kHeight, false)
    {
        glGenTextures(1, &m_texture);
        glBindTexture(GL_TEXTURE_2D, m_texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        // The TGA's pixels (blue, green, red, alpha) follow its 18-byte header, the top row first; the glyph
        // records count v from the picture's bottom row, so the rows go up bottom first.
        const std::size_t rowBytes = std::size_t{texture.width} * 4;
        std::vector<std::uint8_t> rows;
        for (std::uint32_t y = texture.height; y-- > 0;) {
            const auto row = texture.tga.begin() + 18 + static_cast<std::ptrdiff_t>(y * rowBytes);
            rows.insert(rows.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
        }
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(texture.width),
                     static_cast<GLsizei>(texture.height), 0, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
        const std::size_t quads = vertices.size() / (4 * VertexBuffer::kSizeWithColour);
        for (std::uint32_t k = 0; k < quads; ++k)
            m_indices.insert(m_indices.end(), {4 * k, 4 * k + 1, 4 * k + 2, 4 * k + 2, 4 * k + 1, 4 * k + 3});
    }

    void Frame()
    {
        m_target.Bind();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, m_texture);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWidth, 0, kHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const GLsizei stride = VertexBuffer::kSizeWithColour;
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, stride, m_vertices.data());
        glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, stride, m_vertices.data() + 24);
        glTexCoordPointer(2, GL_FLOAT, stride, m_vertices.data() + 28);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(m_indices.size()), GL_UNSIGNED_INT, m_indices.data());
        glDisable(GL_TEXTURE_2D);
        m_target.Present();
    }

private:
    const std::vector<std::uint8_t>& m_vertices;
    std::vector<std::uint32_t> m_indices;
    BenchSupport::HandTarget m_target;
    GLuint m_texture = 0;
};

// The quads the instances hold after a frame, one array.
std::vector<std::uint8_t> CopyQuads(const GUIFontManager& fonts)
{
    std::vector<std::uint8_t> vertices;
    for (const auto& instance : fonts.GetInstances()) {
        const VertexBuffer& buffer = *instance->GetBatchModel()->GetVertexBuffer();
        const std::size_t bytes = std::size_t{instance->GetBatchModel()->GetIndexBuffer()->GetUsedIndexCount()} / 6 *
                                  4 * buffer.GetVertexSize();
        vertices.insert(vertices.end(), buffer.GetData(), buffer.GetData() + bytes);
    }
    return vertices;
}

template <typename Frame> double TimeFrames(Frame frame)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kFrames; ++i)
        frame();
    return Milliseconds(std::chrono::steady_clock::now() - start) / kFrames;
}

} // namespace

int main()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "bench_gui_text";
    std::filesystem::create_directories(folder);
    const Formats::FontTexture texture = MakeFontTexture();
    WriteBytes(folder / "font.tga", texture.tga);
    WriteBytes(folder / "font.fnt", Formats::BuildFontFile(texture.glyphs));

    MessageManager log("", "bench_gui_text", "", false, false);
    FileManager files(&log, "", "Data");
    Config config("bench_gui_text", "", &log, &files, "800x600x32", true, true, false);
    config.v_vsync = false;
    Window window(&log, &config, "bench_gui_text", nullptr, 0, false, kWidth, kHeight, false, true, 0, 0);
    std::unique_ptr<RenderSystem_D3D7> render;
    try {
        render = std::make_unique<RenderSystem_D3D7>(&log, &config, &window, true);
    } catch (const Error& error) {
        std::printf("bench_gui_text: no GL device (%s)\n", error.GetText().c_str());
        return 0;
    }
    TimerManager timers(true);
    CameraManager cameras(&log, &window, render.get());
    LightManager lights(&log, render.get());
    ShaderManager shaders(&log, &files, &timers, &config, render.get());
    ModelManager models({&log, &files, &timers, render.get(), &cameras, &lights, &shaders});
    Camera* camera = cameras.CreateCamera(Camera::kOrthographic);
    camera->m_near = 500.0f;
    camera->m_far = -500.0f;
    camera->m_width = static_cast<float>(kWidth);
    camera->m_height = static_cast<float>(kHeight);
    GUITextManager texts(&log, &files);
    GUIFontManager fonts(&log, &files, &shaders, &models, camera);
    fonts
        .LoadFont(1, EngineName(folder / "font.fnt"),
                  ShaderDescriptor::FromTextureSingleFrame(EngineName(folder / "font.tga"), "32bit"))
        ->m_size = static_cast<float>(kCellHeight);
    TextScene scene({&log, &shaders, &models, camera, &texts, &fonts}, fonts);

    const auto engineFrame = [&] {
        scene.Print();
        render->Refresh();
        cameras.Update();
        models.RenderAll();
        render->SwapBuffers();
        glFinish();
    };
    engineFrame(); // first uses: the instances, the texture upload, the driver's caches
    const std::vector<std::uint8_t> quads = CopyQuads(fonts);
    HandLoop hand(quads, texture);
    hand.Frame();

    std::vector<double> engineTimes;
    std::vector<double> handTimes;
    std::vector<double> cpuTimes;
    std::uint64_t allocations = 0;
    for (int round = 0; round < kRounds; ++round) {
        engineTimes.push_back(TimeFrames(engineFrame));
        handTimes.push_back(TimeFrames([&] { hand.Frame(); }));
        const std::uint64_t before = BenchSupport::Allocations();
        const double cpuTime = TimeFrames([&] { scene.Print(); });
        allocations += BenchSupport::Allocations() - before;
        cpuTimes.push_back(cpuTime);
    }
    const double characters = kWindows * kCharacters;
    const double engineRate = characters / Median(engineTimes);
    const double handRate = characters / Median(handTimes);
    const double cpuRate = characters / Median(cpuTimes);
    std::printf("bench_gui_text: %d windows x %d characters, %zu quads, 800x600\n", kWindows, kCharacters,
                quads.size() / (4 * VertexBuffer::kSizeWithColour));
    std::printf("  engine (AddText, Draw, EndFrame, RenderAll) %9.0f characters/ms\n", engineRate);
    std::printf("  hand-written GL, one array                  %9.0f characters/ms\n", handRate);
    std::printf("  ratio                                       %9.2f (target <= %.1f)\n", handRate / engineRate,
                kTargetRatio);
    std::printf("  CPU part alone                              %9.0f characters/ms (target >= %.0f)\n", cpuRate,
                kTargetCpuRate);
    std::printf("  allocations per frame of the CPU part       %9.2f\n",
                static_cast<double>(allocations) / (kRounds * kFrames));
    std::filesystem::remove_all(folder);
    return 0;
}
