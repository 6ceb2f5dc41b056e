#include "tests/game/app/game/ScreenPictures.h"

#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Camera.h"
#include "engine/render/RenderSystem.h"
#include "game/play/Board.h"
#include "game/play/BoardScene.h"
#include "game/play/GameLogic.h"
#include "game/play/Item.h"
#include "game/play/LevelManager.h"
#include "tests/engine/render/gl/PixelFixture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>

namespace AppTesting {
namespace {

// Hues in degrees of the five butterfly paints, as the content tool mixes their wings' main colours.
constexpr std::array<float, 5> kButterflyHues = {21.0f, 53.0f, 203.0f, 110.0f, 284.0f};
constexpr float kHueTolerance = 15.0f;
constexpr int kSearchRadius = 24; // pixels around a cell's centre at 1024 x 768
constexpr int kPixelTolerance = 24;
constexpr double kLeastChangedShare = 0.02;

struct Hsv
{
    float hue = 0.0f;
    float saturation = 0.0f;
    float value = 0.0f;
};

Hsv ToHsv(const std::array<int, 3>& rgb)
{
    const float r = rgb[0] / 255.0f, g = rgb[1] / 255.0f, b = rgb[2] / 255.0f;
    const float high = std::max({r, g, b});
    const float range = high - std::min({r, g, b});
    Hsv hsv{0.0f, high > 0.0f ? range / high : 0.0f, high};
    if (range <= 0.0f)
        return hsv;
    const float sector = high == r   ? std::fmod((g - b) / range + 6.0f, 6.0f)
                         : high == g ? (b - r) / range + 2.0f
                                     : (r - g) / range + 4.0f;
    hsv.hue = sector * 60.0f;
    return hsv;
}

bool ShowsHue(const KeystrelEngine::Image& picture, int x, int y, float hue)
{
    for (int dy = -kSearchRadius; dy <= kSearchRadius; ++dy) {
        for (int dx = -kSearchRadius; dx <= kSearchRadius; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px < 0 || py < 0 || px >= static_cast<int>(picture.GetWidth()) ||
                py >= static_cast<int>(picture.GetHeight()))
                continue;
            const Hsv hsv = ToHsv(RenderTesting::PixelFromBottom(picture, px, py));
            const float distance = std::fabs(hsv.hue - hue);
            if (hsv.saturation > 0.4f && hsv.value > 0.25f && std::min(distance, 360.0f - distance) < kHueTolerance)
                return true;
        }
    }
    return false;
}

bool IsUniform(const KeystrelEngine::Image& picture)
{
    const auto first = RenderTesting::PixelFromBottom(picture, 0, 0);
    for (std::uint32_t y = 0; y < picture.GetHeight(); y += 3)
        for (std::uint32_t x = 0; x < picture.GetWidth(); x += 3)
            if (RenderTesting::PixelFromBottom(picture, x, y) != first)
                return false;
    return true;
}

// The share of pixels (every third in each direction) whose colours differ by more than a little.
double ChangedShare(const KeystrelEngine::Image& a, const KeystrelEngine::Image& b)
{
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return 1.0;
    std::size_t changed = 0, all = 0;
    for (std::uint32_t y = 0; y < a.GetHeight(); y += 3) {
        for (std::uint32_t x = 0; x < a.GetWidth(); x += 3, ++all) {
            const auto p = RenderTesting::PixelFromBottom(a, x, y);
            const auto q = RenderTesting::PixelFromBottom(b, x, y);
            changed += std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]) > kPixelTolerance;
        }
    }
    return static_cast<double>(changed) / static_cast<double>(all);
}

} // namespace

ScreenPictures::ScreenPictures(KeystrelEngine::Engine& engine) : m_engine(&engine) {}

const KeystrelEngine::Image& ScreenPictures::Take(const std::string& name)
{
    m_previous = std::move(m_last);
    m_last = KeystrelEngine::Image();
    m_engine->m_renderSystem->GrabScreen(m_last);
    char number[16];
    std::snprintf(number, sizeof number, "%02d_", ++m_count);
    RenderTesting::SaveTestPicture(m_last, number + name + ".bmp", *m_engine->m_files);
    EXPECT_FALSE(IsUniform(m_last)) << name;
    if (m_count > 1) {
        EXPECT_GT(ChangedShare(m_previous, m_last), kLeastChangedShare) << name << " looks like the picture before";
    }
    return m_last;
}

void ScreenPictures::ExpectButterflyColours(const Wispfold::GameLogic& level) const
{
    const Wispfold::Board& board = level.GetBoard();
    const KeystrelEngine::Camera& screen = *m_engine->m_gui->m_camera;
    std::map<std::uint32_t, bool> seen; // by colour: whether a butterfly of it shows
    for (const auto& cell : board.GetCells()) {
        const Wispfold::Item* item = board.GetItem(cell.get());
        if (!item || item->m_colour >= kButterflyHues.size())
            continue;
        const Wispfold::ScreenPosition at = level.GetScene().GetScreenPosition(*cell);
        const int x = static_cast<int>(at.x / screen.m_width * static_cast<float>(m_last.GetWidth()));
        const int y = static_cast<int>(at.y / screen.m_height * static_cast<float>(m_last.GetHeight()));
        bool& shown = seen[item->m_colour];
        shown = shown || ShowsHue(m_last, x, y, kButterflyHues[item->m_colour]);
    }
    const auto& record = static_cast<const Wispfold::LevelRecord&>(*level.GetLevel());
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(record.colourCount)) << "colours on the board";
    for (const auto& [colour, shown] : seen)
        EXPECT_TRUE(shown) << "no butterfly of colour " << colour << " shows";
}

} // namespace AppTesting
