#include "tools/content/world/CameraFraming.h"

#include "tools/content/Layout.h"
#include "tools/content/world/BorderGenerator.h"
#include "tools/content/world/WorldGrid.h"

#include <algorithm>
#include <cmath>

namespace Content {
namespace {

constexpr float kTanHalf = 0.57735027f; // tan(pi / 6)
constexpr float kAspect = 4.0f / 3.0f;
constexpr float kSideRoom = 1.0f - 2.0f * CameraFraming::kSideMargin / Layout::kScreenWidth;
constexpr int kSamples = 72;

// The camera of one view: eye at (distance, 0, height), looking down by the tilt (radians from straight down)
// towards -x; screen right is +y.
struct View
{
    float distance;
    float height;
    float tilt;

    // Normalised screen coordinates (-1..1 across the view) of the point.
    std::array<float, 2> Screen(float x, float y, float z) const
    {
        const float dx = x - distance, dz = z - height;
        const float s = std::sin(tilt), c = std::cos(tilt);
        const float right = y;
        const float up = -c * dx + s * dz;
        const float ahead = -(s * dx + c * dz);
        return {right / (ahead * kTanHalf * kAspect), up / (ahead * kTanHalf)};
    }
};

struct Extent
{
    float low = 1e9f;
    float high = -1e9f;
    float side = 0.0f;
};

// Where the board's cylinder, its centre slid to (shift, 0), falls on the screen.
Extent Measure(const View& view, float reach, float shift)
{
    Extent extent;
    for (int k = 0; k < kSamples; ++k) {
        const float angle = 6.2831853f * static_cast<float>(k) / kSamples;
        for (float z : {CameraFraming::kLowest, CameraFraming::kHighest}) {
            const auto p = view.Screen(shift + reach * std::cos(angle), reach * std::sin(angle), z);
            extent.low = std::min(extent.low, p[1]);
            extent.high = std::max(extent.high, p[1]);
            extent.side = std::max(extent.side, std::fabs(p[0]));
        }
    }
    return extent;
}

// The shift that centres the board's picture between the bands (sliding the board towards the eye lowers it).
float CentringShift(const View& view, float reach)
{
    float low = -reach, high = reach;
    for (int step = 0; step < 40; ++step) {
        const float middle = 0.5f * (low + high);
        const Extent extent = Measure(view, reach, middle);
        (extent.low + extent.high > 0.0f ? low : high) = middle;
    }
    return 0.5f * (low + high);
}

// The half-height of the screen's middle the board may fill (1 the whole screen): the picture is centred on the
// screen, so the higher of the two bands bounds it on both sides.
float VerticalRoom()
{
    const float top = Layout::kScreenHeight - Layout::Area("game_logic\\top_band").bottom;
    const float bottom = Layout::Area("game_logic\\bottom_band").Top();
    return 1.0f - 2.0f * (std::max(top, bottom) + CameraFraming::kBandMargin) / Layout::kScreenHeight;
}

bool Fits(const Extent& extent, float room)
{
    return extent.high <= room && extent.low >= -room && extent.side <= kSideRoom;
}

} // namespace

float CameraFraming::Reach(const Formats::BoardFile& board)
{
    float farthest = 0.0f;
    for (const Formats::BoardFileCell& cell : board.cells)
        farthest = std::max(farthest, std::hypot(cell.position[0] + cell.offset[0], cell.position[1] + cell.offset[1]));
    return farthest + WorldGrid::kCellRadius + BorderGenerator::kThickness * 1.1547005f;
}

std::array<float, 5> CameraFraming::Frame(const Formats::BoardFile& board)
{
    const float reach = Reach(board);
    const float room = VerticalRoom();
    // Top view: straight down over the centre; the nearest ring of the cylinder (its top) must fit the bands.
    const float topHeight = kHighest + 1.02f * reach / (room * kTanHalf);

    // Oblique view: the nearest eye distance at which the centred board fits.
    const float sine = std::sin(kObliqueAngle), cosine = std::cos(kObliqueAngle);
    float near = reach, far = 40.0f * reach;
    for (int step = 0; step < 40; ++step) {
        const float middle = 0.5f * (near + far);
        const View view{middle * sine, middle * cosine, sine};
        (Fits(Measure(view, reach, CentringShift(view, reach)), room) ? far : near) = middle;
    }
    const float eye = 1.02f * far;
    const View view{eye * sine, eye * cosine, sine};
    return {topHeight, 0.0f, view.height, CentringShift(view, reach), view.distance};
}

} // namespace Content
