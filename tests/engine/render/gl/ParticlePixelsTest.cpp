// A particle system drawn on the GL back end (llvmpipe) through the sprite groups and the model manager: a
// fountain of soft sparks, blended additively, rising from the floor and falling back, saved as a picture for
// people to look at.
#include "engine/foundation/Random.h"
#include "engine/render/Image.h"
#include "engine/render/SpriteGroup.h"
#include "tests/engine/render/gl/ScenePixelFixture.h"
#include "tests/support/ImageFiles.h"

#include <cmath>

using KeystrelEngine::Camera;
using KeystrelEngine::Image;
using KeystrelEngine::ParticleSystem;
using KeystrelEngine::Quaternion;
using KeystrelEngine::ScreenPoint;
using RenderTesting::PixelFromBottom;
using TestSupport::Bytes;

namespace {

class ParticlePixels : public RenderTesting::ScenePixelFixture
{
protected:
    void SetUp() override
    {
        ScenePixelFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        render->m_clearColor = {0.02f, 0.02f, 0.08f, 1.0f};
    }
};

// A soft round spark: a warm white texture whose opacity falls from the centre to nothing at the rim.
void WriteSpark()
{
    constexpr int kSize = 32;
    Bytes colour;
    Bytes opacity;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f) / kSize * 2.0f - 1.0f;
            const float dy = (static_cast<float>(y) + 0.5f) / kSize * 2.0f - 1.0f;
            const float fall = std::max(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy));
            const auto a = static_cast<std::uint8_t>(255.0f * fall * fall);
            colour.insert(colour.end(), {200, 240, 255}); // blue, green, red
            opacity.insert(opacity.end(), {a, a, a});
        }
    }
    RenderTesting::WriteDataFile("effects\\spark.bmp", TestSupport::BMPFile(kSize, kSize, colour).Build());
    RenderTesting::WriteDataFile("effects\\spark_a.bmp", TestSupport::BMPFile(kSize, kSize, opacity).Build());
}

TEST_F(ParticlePixels, AFountainOfSparksIsDrawnAroundItsEmitterAndSavedAsAPicture)
{
    WriteSpark();
    Formats::ShaderFile description;
    description.flags = 1; // alpha blending: by the sparks' alpha, added to what is there
    description.sourceBlend = 4;
    description.destinationBlend = 1;
    description.stages.push_back({});
    description.stages[0].texture = "spark.bmp";
    description.stages[0].opacity = "spark_a.bmp";
    RenderTesting::WriteDataFile("effects\\fountain.srf", Formats::BuildShaderFile(description));

    // Sparks leave upwards at about 4.5 units a second, fall back under gravity onto the floor at z = 0 and
    // bounce once, turning from yellow to red as they age and fading out.
    Formats::ParticleFile file;
    file.capacity = 600;
    file.gravityOn = 1;
    file.gravity = 0.05f;
    file.floorOn = 1;
    file.bounceFactor = 0.4f;
    file.minimumEnergy = 0.2f;
    file.interpolate = 1;
    file.rate.fill(250);
    file.lifeCentre.fill(1.8f);
    file.lifeSpread.fill(0.4f);
    file.directionCentre.fill({0, 0, 1});
    file.directionSpread.fill({0.45f, 0.45f, 0.05f});
    file.colour = {{{1, 1, 0.6f, 1},
                    {1, 0.8f, 0.2f, 1},
                    {1, 0.45f, 0.1f, 0.85f},
                    {0.9f, 0.2f, 0.1f, 0.6f},
                    {0.6f, 0.1f, 0.2f, 0.3f},
                    {0.3f, 0.1f, 0.3f, 0}}};
    file.size = {0.14f, 0.12f, 0.11f, 0.1f, 0.09f, 0.08f};
    file.speedCentre.fill(0.045f);
    file.speedSpread.fill(0.008f);
    RenderTesting::WriteDataFile("effects\\fountain.psf", Formats::BuildParticleFile(file));

    Camera& camera = *cameras->GetDefaultCamera();
    camera.m_position = {0.0f, -5.0f, 1.4f};
    camera.m_orientation = Quaternion::FromAxisAngle({1.0f, 0.0f, 0.0f}, 1.5f); // looking along +y, a little down

    const std::unique_ptr<ParticleSystem> loaded(particles->LoadParticleSystem("effects\\fountain.psf", nullptr));
    ParticleSystem* fountain = particles->CloneParticleSystem(*loaded);
    fountain->m_looping = true;
    fountain->m_emitting = true;
    KeystrelEngine::RandomSeed = 5;
    for (int frame = 0; frame < 75; ++frame) // two and a half seconds: the fountain runs steadily
        Frame(1.0f / 30.0f);
    ASSERT_GT(fountain->GetLiveCount(), 300u);
    const Image image = DrawScene();
    SavePicture(image, "fountain.bmp");

    // The corners keep the clear colour; the column above the emitter glows warm, brightest near the floor
    // where the young sparks crowd; the sky beside the fountain stays dark.
    EXPECT_EQ(PixelFromBottom(image, 2, 2), (std::array<int, 3>{5, 5, 20}));
    EXPECT_EQ(PixelFromBottom(image, 637, 477), (std::array<int, 3>{5, 5, 20}));
    const ScreenPoint base = Camera::ProjectToScreen(camera, {0, 0, 0.3f}, cameras->GetViewport());
    const ScreenPoint top = Camera::ProjectToScreen(camera, {0, 0, 1.6f}, cameras->GetViewport());
    ASSERT_GT(top.y, base.y + 50.0f) << "the camera looks along +y with z up";
    const auto x = static_cast<std::uint32_t>(base.x);
    const std::array<int, 3> low = PixelFromBottom(image, x, static_cast<std::uint32_t>(base.y));
    const std::array<int, 3> high = PixelFromBottom(image, x, static_cast<std::uint32_t>(top.y));
    EXPECT_GT(low[0], 200);
    EXPECT_GE(low[0], low[2]);
    EXPECT_GT(high[0], 60);
    EXPECT_GE(high[0], high[2]);
    EXPECT_EQ(PixelFromBottom(image, 60, static_cast<std::uint32_t>(top.y)), (std::array<int, 3>{5, 5, 20}));
    std::uint32_t lit = 0;
    for (std::uint32_t y = 0; y < image.GetHeight(); ++y) {
        for (std::uint32_t column = 0; column < image.GetWidth(); ++column)
            lit += PixelFromBottom(image, column, y)[0] > 40 ? 1u : 0u;
    }
    EXPECT_GT(lit, 3000u);
    EXPECT_LT(lit, 640u * 480u / 4);
}

} // namespace
