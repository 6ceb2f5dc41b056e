// What the tests of the board's cells, markers, borders and picking share: the play objects' engine services and
// small cell resources written for the test. Every cell model is a closed box of twelve triangles, the pick box
// of "cell_single" spanning (-10, -10, 0) to (10, 10, 4); the marker has the 76 frames of the butterfly; the six
// texture sets are told apart by their description flags; the mana burst emits one particle a second.
#pragma once

#include "PlayObjectsFixture.h"

#include "engine/render/ModelManager.h"
#include "game/play/BoardCellRecord.h"
#include "game/play/CellResources.h"

#include <array>
#include <memory>
#include <vector>

namespace TestSupport {

class CellsFixture : public PlayObjectsFixture
{
protected:
    static constexpr Formats::Float3 kCellMinimum{-10, -10, 0};
    static constexpr Formats::Float3 kCellMaximum{10, 10, 4};

    void SetUp() override
    {
        PlayObjectsFixture::SetUp();
        m_cellResources.empty = CellTemplate("cell_empty", kCellMinimum, {10, 10, 2});
        m_cellResources.single = CellTemplate("cell_single", kCellMinimum, kCellMaximum);
        m_cellResources.twin = CellTemplate("cell_double", kCellMinimum, {10, 10, 6});
        m_cellResources.block = CellTemplate("cell_block", kCellMinimum, {10, 10, 5});
        m_templates.push_back(Template("cell_select", Animated()));
        m_cellResources.select = m_templates.back().get();
        for (std::uint32_t n = 0; n < 6; ++n) {
            m_cellTextures[n].m_flags = 0x1000000u << n;
            (n < 3 ? m_cellResources.singleTextures[n] : m_cellResources.twinTextures[n - 3]) = &m_cellTextures[n];
        }
        m_manaTemplate.reset(particles->LoadParticleSystem(WriteParticles("mana_cell", OneASecond()), nullptr));
        m_cellResources.manaBurst = m_manaTemplate.get();
        for (std::uint32_t d = 0; d < Wispfold::kBorderCount; ++d) {
            const float x = static_cast<float>(d);
            m_cellResources.borders[d] = CellTemplate("border_" + std::to_string(d), {x, 0, 0}, {x + 1, 1, 1});
        }
    }

    void TearDown() override
    {
        m_manaTemplate.reset();
        PlayObjectsFixture::TearDown();
    }

    // Twelve triangles closing the box between the corners.
    static Formats::ModelFile BoxFile(const Formats::Float3& minimum, const Formats::Float3& maximum)
    {
        Formats::ModelFile file;
        for (std::uint32_t corner = 0; corner < 8; ++corner) {
            file.vertices.push_back({0,
                                     0,
                                     {0, 0, 1},
                                     {(corner & 1) ? maximum[0] : minimum[0], (corner & 2) ? maximum[1] : minimum[1],
                                      (corner & 4) ? maximum[2] : minimum[2]}});
        }
        file.indices = {0, 1, 3, 0, 3, 2, 4, 6, 7, 4, 7, 5, 0, 4, 5, 0, 5, 1,
                        2, 3, 7, 2, 7, 6, 0, 2, 6, 0, 6, 4, 1, 5, 7, 1, 7, 3};
        file.boxes = {{minimum, maximum}};
        return file;
    }

    const KeystrelEngine::Model* CellTemplate(const std::string& name, const Formats::Float3& minimum,
                                              const Formats::Float3& maximum)
    {
        m_templates.push_back(Template(name, BoxFile(minimum, maximum)));
        return m_templates.back().get();
    }

    static Wispfold::BoardCellRecord Record(std::uint32_t x, std::uint32_t y, Wispfold::CellKind kind = 0,
                                            bool closed = false, bool blocked = false)
    {
        Wispfold::BoardCellRecord record;
        record.x = x;
        record.y = y;
        record.kind = kind;
        record.closed = closed ? 1 : 0;
        record.blocked = blocked ? 1 : 0;
        // Columns 20 units apart, rows (doubled) 10 apart.
        record.position = {20.0f * static_cast<float>(x), 10.0f * static_cast<float>(y), 0.0f};
        return record;
    }

    // The engine's frame for the board's objects: cameras, particles, sprites and the model pass.
    void ModelFrame(float dt)
    {
        Frame(dt);
        models->RenderAll();
    }

    std::uint32_t RegisteredCount() const
    {
        std::uint32_t count = 0;
        for (const KeystrelEngine::Model* model : models->GetRegistry().GetSlots())
            count += model ? 1 : 0;
        return count;
    }

    Wispfold::CellResources m_cellResources;
    std::array<KeystrelEngine::ShaderDescriptor, 6> m_cellTextures;
    std::unique_ptr<KeystrelEngine::ParticleSystem> m_manaTemplate;
};

} // namespace TestSupport
