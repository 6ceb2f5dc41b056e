// What the GUI tests share: the model services on the recording device, a model manager, the GUI camera (800 x
// 600, near 500, far -500), the text and font managers, and fonts written below the data folder with the font
// writer. Font glyphs are named by their code; every test font lies in "ui\fonts".
#pragma once

#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUITextManager.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/IndexBuffer.h"
#include "engine/render/ModelManager.h"
#include "engine/render/ShaderDescriptor.h"
#include "tests/engine/render/ModelFixture.h"
#include "tools/formats/FontFileWriter.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace GUITesting {

// A glyph of the given advance width whose texture rectangle, within the texture, tells it apart: u is U(code).
constexpr float U(char16_t code)
{
    return static_cast<float>(code) / 65536.0f;
}

inline Formats::FontGlyph Glyph(char16_t code, float width)
{
    return {static_cast<std::uint16_t>(code), U(code), 0.25f, 0.125f, 0.5f, width};
}

// The corners of a quad of a batch: position x, y and texture u, v of each of its four vertices.
struct QuadCorner
{
    float x, y, u, v;
};

class GUIFixture : public RenderTesting::ModelFixture
{
protected:
    explicit GUIFixture(bool recording = true) : ModelFixture(recording) {}

    void SetUp() override
    {
        ModelFixture::SetUp();
        CreateGUI();
    }

    void TearDown() override
    {
        DestroyGUI();
        ModelFixture::TearDown();
    }

    void CreateGUI()
    {
        models = std::make_unique<KeystrelEngine::ModelManager>(modelServices);
        camera = cameras->CreateCamera(KeystrelEngine::Camera::kOrthographic);
        camera->m_near = 500.0f;
        camera->m_far = -500.0f;
        camera->m_width = 800.0f;
        camera->m_height = 600.0f;
        texts = std::make_unique<KeystrelEngine::GUITextManager>(&services.log, &services.files);
        fonts = std::make_unique<KeystrelEngine::GUIFontManager>(&services.log, &services.files, shaders.get(),
                                                                 models.get(), camera);
        gui = {&services.log, shaders.get(), models.get(), camera, texts.get(), fonts.get()};
    }

    void DestroyGUI()
    {
        fonts.reset();
        texts.reset();
        models.reset();
    }

    static void WriteFont(const std::string& name, const std::vector<Formats::FontGlyph>& glyphs)
    {
        RenderTesting::WriteDataFile("ui\\fonts\\" + name, Formats::BuildFontFile(glyphs));
    }

    // A font of its own under the id, loaded from a new file.
    KeystrelEngine::GUIFont* LoadFont(std::uint32_t id, const std::vector<Formats::FontGlyph>& glyphs)
    {
        const std::string name = "font" + std::to_string(id) + ".fnt";
        WriteFont(name, glyphs);
        return fonts->LoadFont(id, "ui\\fonts\\" + name, KeystrelEngine::ShaderDescriptor());
    }

    // A top-level window without a quad.
    std::unique_ptr<KeystrelEngine::GUIWindow> Window(std::uint32_t flags, KeystrelEngine::GUIPoint position,
                                                      KeystrelEngine::GUISize size,
                                                      KeystrelEngine::GUIWindow* parent = nullptr)
    {
        return std::make_unique<KeystrelEngine::GUIWindow>(gui, flags, position, size,
                                                           static_cast<const KeystrelEngine::Model*>(nullptr), parent);
    }

    // Whether the registry holds the model.
    bool Registered(const KeystrelEngine::Model* model) const
    {
        const auto& slots = models->GetRegistry().GetSlots();
        return std::find(slots.begin(), slots.end(), model) != slots.end();
    }

    // The four corners of quad k of a font's batch.
    static std::array<QuadCorner, 4> Quad(const KeystrelEngine::GUIFont& font, std::uint32_t k)
    {
        const KeystrelEngine::VertexBuffer& buffer = *font.GetBatchModel()->GetVertexBuffer();
        std::array<QuadCorner, 4> corners;
        for (std::uint32_t i = 0; i < 4; ++i) {
            const std::uint8_t* vertex =
                buffer.GetData() + static_cast<std::size_t>(4 * k + i) * buffer.GetVertexSize();
            std::memcpy(&corners[i].x, vertex, 8);
            std::memcpy(&corners[i].u, vertex + buffer.GetVertexSize() - 8, 8);
        }
        return corners;
    }

    static std::uint32_t UsedIndices(const KeystrelEngine::GUIFont& font)
    {
        return font.GetBatchModel()->GetIndexBuffer()->GetUsedIndexCount();
    }

    std::unique_ptr<KeystrelEngine::ModelManager> models;
    KeystrelEngine::Camera* camera = nullptr;
    std::unique_ptr<KeystrelEngine::GUITextManager> texts;
    std::unique_ptr<KeystrelEngine::GUIFontManager> fonts;
    KeystrelEngine::GUIServices gui;
};

} // namespace GUITesting
