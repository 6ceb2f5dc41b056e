// The GUI manager's frame over 200 widgets at 800 x 600 on the recording device (no GL): 100 buttons, 50 check
// boxes and 50 windows that print a text each, with the system cursor moving over them and the left button
// pressed and released in turn. Prints microseconds per frame of GUIManager::Update and of GUIManager::Draw
// (medians of several rounds), a bare loop of the same 200 hit tests at the same cursor positions, the ratio of
// the update to that loop, and the allocations per steady frame of the two (target 0).
#include "bench/BenchSupport.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "engine/render/ShaderDescriptor.h"
#include "platform/testing.h"
#include "tools/formats/FontFileWriter.h"
#include "tools/formats/FontTextureWriter.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

using namespace KeystrelEngine;
using BenchSupport::EngineName;
using BenchSupport::Median;
using BenchSupport::WriteBytes;

namespace {

constexpr int kButtons = 100;
constexpr int kCheckBoxes = 50;
constexpr int kWindows = 50;
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kFrames = 200;
constexpr int kRounds = 5;
constexpr std::uint32_t kCellHeight = 16;

// Letters and digits, each a plain cell of its own width.
void WriteFont(const std::filesystem::path& folder)
{
    Formats::FontPictures pictures{kCellHeight, 256, {}};
    for (char16_t code = u'0'; code <= u'z'; ++code) {
        const std::uint32_t width = 6 + code % 5;
        pictures.glyphs.push_back({code, width, std::vector<std::uint32_t>(width * kCellHeight, 0xFFFFFFFF)});
    }
    const Formats::FontTexture texture = Formats::BuildFontTexture(pictures);
    WriteBytes(folder / "font.tga", texture.tga);
    WriteBytes(folder / "font.fnt", Formats::BuildFontFile(texture.glyphs));
}

// The widgets in a grid of 20 columns and 10 rows of 40 x 60 cells: buttons in rows 0-4, check boxes in rows 5-7
// and 8 (first half), windows in the rest.
class Scene
{
public:
    explicit Scene(GUIManager& gui)
    {
        const std::uint32_t flags = GUIWindow::kShown | GUIWindow::kColouredQuad;
        for (int i = 0; i < kButtons + kCheckBoxes + kWindows; ++i) {
            const GUIPoint position{static_cast<float>(i % 20) * 40.0f, static_cast<float>(i / 20) * 60.0f};
            const GUISize size{36.0f, 56.0f};
            m_rectangles.push_back({position.x, position.y, size.width, size.height});
            if (i < kButtons) {
                m_buttons.push_back(gui.CreateButton(flags, position, size, ShaderDescriptor(), nullptr, 1, 1));
            } else if (i < kButtons + kCheckBoxes) {
                gui.CreateCheckBox(position, size, m_buttons[0]->GetQuad(), nullptr)->SetVisible(true);
            } else {
                m_windows.push_back(gui.CreateWindow(flags, position, size, ShaderDescriptor(), nullptr, 1, 1));
            }
        }
    }

    // What the game's windows do every frame before the GUI draws.
    void AddTexts()
    {
        for (GUIWindow* window : m_windows)
            window->AddText(0x03, 1, u"Text", 0.0f, 0.0f, {0, 0}, {1, 1, 1, 1});
    }

    // The same hit tests as the widgets' update, without the widgets.
    int HitTests(float x, float y) const
    {
        int hits = 0;
        for (const GUIRect& r : m_rectangles)
            hits += x > r.x && x < r.x + r.width && y > r.y && y < r.y + r.height;
        return hits;
    }

private:
    std::vector<GUIRect> m_rectangles;
    std::vector<GUIButton*> m_buttons;
    std::vector<GUIWindow*> m_windows;
};

// The cursor's path: a circle through the grid, in client pixels.
POINT PathPoint(int frame)
{
    const double angle = frame * 0.05;
    return {static_cast<LONG>(400 + 300 * std::cos(angle)), static_cast<LONG>(300 + 250 * std::sin(angle))};
}

struct Timings
{
    std::vector<double> update, draw, bare;
    std::uint64_t allocations = 0;
};

} // namespace

int main()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "bench_gui_manager";
    std::filesystem::create_directories(folder);
    WriteFont(folder);
    PlatformTesting::UseRecordingDevice(true);
    PlatformTesting::UseManualSoundOutput(22050);

    EngineSettings settings;
    settings.applicationName = "bench_gui_manager";
    settings.installPath = EngineName(folder);
    settings.videoMode = "800x600x32";
    settings.forceVideoMode = true;
    settings.forceFullscreen = true;
    std::unique_ptr<Engine> engine;
    try {
        engine = std::make_unique<Engine>(settings);
    } catch (const Error& error) {
        std::printf("bench_gui_manager: no engine (%s)\n", error.GetText().c_str());
        return 0;
    }
    GUIManager& gui = *engine->m_gui;
    gui.m_camera->m_width = kWidth;
    gui.m_camera->m_height = kHeight;
    gui.m_fonts
        ->LoadFont(1, EngineName(folder / "font.fnt"),
                   ShaderDescriptor::FromTextureSingleFrame(EngineName(folder / "font.tga"), "32bit"))
        ->m_size = static_cast<float>(kCellHeight);
    Scene scene(gui);
    Controls& controls = *engine->m_controls;
    const HWND window = engine->m_window->m_handle;

    Timings timings;
    volatile int hits = 0;
    for (int round = -1; round < kRounds; ++round) { // round -1 warms the pools up
        double update = 0, draw = 0, bare = 0;
        for (int frame = 0; frame < kFrames; ++frame) {
            POINT point = PathPoint(frame);
            ClientToScreen(window, &point);
            SetCursorPos(point.x, point.y);
            controls.SetKeyState("MOUSE1", frame % 8 < 4);
            scene.AddTexts();
            const std::uint64_t before = BenchSupport::Allocations();
            const auto start = std::chrono::steady_clock::now();
            gui.Update();
            const auto updated = std::chrono::steady_clock::now();
            gui.Draw();
            const auto drawn = std::chrono::steady_clock::now();
            if (round >= 0)
                timings.allocations += BenchSupport::Allocations() - before;
            const POINT client = PathPoint(frame);
            hits = hits + scene.HitTests(static_cast<float>(client.x), static_cast<float>(kHeight - 1 - client.y));
            const auto tested = std::chrono::steady_clock::now();
            controls.EndFrame();
            update += std::chrono::duration<double, std::micro>(updated - start).count();
            draw += std::chrono::duration<double, std::micro>(drawn - updated).count();
            bare += std::chrono::duration<double, std::micro>(tested - drawn).count();
        }
        if (round >= 0) {
            timings.update.push_back(update / kFrames);
            timings.draw.push_back(draw / kFrames);
            timings.bare.push_back(bare / kFrames);
        }
    }

    const double update = Median(timings.update);
    const double bare = Median(timings.bare);
    std::printf("bench_gui_manager: %d buttons, %d check boxes, %d windows with a text, 800x600, recording device\n",
                kButtons, kCheckBoxes, kWindows);
    std::printf("  GUIManager::Update                    %9.2f us/frame\n", update);
    std::printf("  GUIManager::Draw                      %9.2f us/frame\n", Median(timings.draw));
    std::printf("  bare loop of the same hit tests       %9.2f us/frame\n", bare);
    std::printf("  ratio of the update to the bare loop  %9.1f\n", update / bare);
    std::printf("  allocations per steady frame          %9.2f (target 0)\n",
                static_cast<double>(timings.allocations) / (kRounds * kFrames));
    engine.reset();
    PlatformTesting::UseManualSoundOutput(0);
    PlatformTesting::UseRecordingDevice(false);
    std::filesystem::remove_all(folder);
    return 0;
}
