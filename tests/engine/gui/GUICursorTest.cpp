// The GUI cursor on the recording device: the system cursor mapped from the window's client area onto the
// virtual screen with y up, and the quad hanging right and down from the hot spot.
#include "engine/gui/GUICursor.h"
#include "engine/foundation/Window.h"
#include "engine/render/Matrix4.h"
#include "tests/engine/gui/GUIFixture.h"

#include <cstring>

using KeystrelEngine::GUICursor;
using KeystrelEngine::Model;

namespace {

class GUICursorTest : public GUITesting::GUIFixture
{
protected:
    std::size_t RegisteredModels() const
    {
        const auto& slots = models->GetRegistry().GetSlots();
        return static_cast<std::size_t>(std::count_if(slots.begin(), slots.end(), [](auto* m) { return m; }));
    }

    // Puts the system cursor on a client pixel of the window.
    void MoveTo(LONG x, LONG y) const
    {
        POINT point{x, y};
        ClientToScreen(window->m_handle, &point);
        SetCursorPos(point.x, point.y);
    }
};

TEST_F(GUICursorTest, ClientRowsMapOntoTheVirtualScreenWithYUp)
{
    GUICursor cursor(&services.log, window.get(), models.get(), nullptr, camera);
    const float width = static_cast<float>(window->m_width);
    const float height = static_cast<float>(window->m_height);
    const struct
    {
        LONG x, y;
        float guiX, guiY;
    } cases[] = {{0, window->m_height - 1, 0.0f, 0.0f},
                 {0, 0, 0.0f, (height - 1.0f) / height * 600.0f},
                 {window->m_width / 2, window->m_height / 2, 400.0f, (height / 2.0f - 1.0f) / height * 600.0f},
                 {window->m_width - 1, 10, (width - 1.0f) / width * 800.0f, (height - 11.0f) / height * 600.0f}};
    for (const auto& c : cases) {
        MoveTo(c.x, c.y);
        cursor.Update();
        EXPECT_FLOAT_EQ(cursor.m_x, c.guiX) << c.x << ", " << c.y;
        EXPECT_FLOAT_EQ(cursor.m_y, c.guiY) << c.x << ", " << c.y;
    }
    // Without a quad there is nothing to draw.
    cursor.Draw();
    EXPECT_EQ(cursor.GetQuad(), nullptr);
    EXPECT_EQ(RegisteredModels(), 0u);
}

TEST_F(GUICursorTest, TheQuadHangsRightAndDownFromTheHotSpotAndShowsWhileVisible)
{
    const std::size_t before = RegisteredModels();
    {
        GUICursor cursor(&services.log, window.get(), models.get(), nullptr, camera,
                         KeystrelEngine::ShaderDescriptor::FromTextureSingleFrame("cursor.tga", "32bit"), 32.0f);
        Model* quad = cursor.GetQuad();
        ASSERT_NE(quad, nullptr);
        EXPECT_TRUE(Registered(quad));
        EXPECT_FLOAT_EQ(quad->GetSortDepth(), -30.1f);
        cursor.m_x = 100.0f;
        cursor.m_y = 200.0f;
        cursor.Draw();
        EXPECT_FALSE(quad->m_flags & Model::kShown);

        // Corners in the world: the hot spot (100, 200) is the top left; the quad reaches (132, 168).
        const KeystrelEngine::VertexBuffer& vertices = *quad->GetVertexBuffer();
        const float expected[4][4] = {{132, 168, 1, 0}, {132, 200, 1, 1}, {100, 168, 0, 0}, {100, 200, 0, 1}};
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t* vertex = vertices.GetData() + i * vertices.GetVertexSize();
            KeystrelEngine::Vector3 local;
            float uv[2];
            std::memcpy(&local, vertex, sizeof(float) * 3);
            std::memcpy(uv, vertex + vertices.GetVertexSize() - 8, 8);
            const KeystrelEngine::Vector3 world = quad->GetOwnWorldMatrix().TransformPoint(local);
            EXPECT_FLOAT_EQ(world.x, expected[i][0]) << i;
            EXPECT_FLOAT_EQ(world.y, expected[i][1]) << i;
            EXPECT_FLOAT_EQ(uv[0], expected[i][2]) << i;
            EXPECT_FLOAT_EQ(uv[1], expected[i][3]) << i;
        }
        // Drawn again somewhere else, the placement starts from the base matrix.
        cursor.m_visible = true;
        cursor.m_x = 10.0f;
        cursor.Draw();
        EXPECT_TRUE(quad->m_flags & Model::kShown);
        EXPECT_FLOAT_EQ(quad->GetOwnWorldMatrix().TransformPoint({0, 0, 0}).x, 10.0f);
    }
    EXPECT_EQ(RegisteredModels(), before) << "the quad went back with the cursor";
}

} // namespace
