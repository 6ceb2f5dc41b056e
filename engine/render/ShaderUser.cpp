#include "ShaderUser.h"

#include "Shader.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/TimerManager.h"

#include <algorithm>
#include <cmath>

namespace KeystrelEngine {

namespace {

// The position moved by step and wrapped into (0, frameCount]: a position of exactly frameCount stays there and
// shows frame 0. Positions that are not finite (a damaged rate) restart at 0, and a backward animation wraps
// from 0 to the end.
float Advance(float position, float step, std::uint32_t frameCount)
{
    if (frameCount == 0)
        return 0.0f;
    position += step;
    if (!std::isfinite(position))
        return 0.0f;
    const auto count = static_cast<float>(frameCount);
    if (position > count) {
        position = std::fmod(position, count);
        if (position == 0.0f)
            position = count;
    } else if (position < 0.0f) {
        position = std::fmod(position, count) + count;
    }
    return position;
}

} // namespace

ShaderUser::ShaderUser(const ShaderDescriptor& description, MessageManager* log, TimerManager* timers, Shader* shader)
    : ShaderDescriptor(description), m_log(log), m_timers(timers), m_shader(shader)
{
    for (std::uint32_t i = 0; i < std::min(m_stageCount, kMaxStages); ++i) {
        if (m_stages[i].m_flags & ShaderStage::kRandomStart)
            m_positions[i] = static_cast<float>(m_stages[i].m_frameCount) * static_cast<float>(RandomNext()) / 32768.0f;
    }
    m_shader->AddReference();
}

ShaderUser::~ShaderUser()
{
    if (m_shader->RemoveReference() == 0)
        delete m_shader;
}

void ShaderUser::Update()
{
    for (std::uint32_t i = 0; i < std::min(m_stageCount, kMaxStages); ++i) {
        ShaderStage& stage = m_stages[i];
        if (stage.m_animationMode == ShaderStage::kAnimationNone) {
            stage.m_currentFrame = 0;
            continue;
        }
        m_positions[i] = Advance(m_positions[i], m_timers->m_frameTime * stage.m_frameRate, stage.m_frameCount);
        // A position of exactly the frame count shows frame 0, in grids too (not a cell below the last row). The
        // position lies in [0, frame count] but may reach 2^32 for the largest counts, so it is taken in 64 bits.
        const auto position = static_cast<std::uint64_t>(m_positions[i]);
        const auto frame = stage.m_frameCount == 0 ? 0u : static_cast<std::uint32_t>(position % stage.m_frameCount);
        if (stage.m_animationMode == ShaderStage::kAnimationGrid) {
            ShowGridCell(stage, frame);
            stage.m_currentFrame = 0;
        } else {
            stage.m_currentFrame = frame;
        }
    }
}

void ShaderUser::SetFrame(std::uint32_t stage, std::uint32_t frame)
{
    if (stage < std::min(m_stageCount, kMaxStages))
        m_positions[stage] = static_cast<float>(frame);
}

// Cells are numbered left to right from the picture's top row down, while v runs up from its bottom row; each
// cell is shown inset by half a percent on every side.
void ShaderUser::ShowGridCell(ShaderStage& stage, std::uint32_t frame) const
{
    const std::uint32_t columns = std::max(1u, stage.m_gridColumns);
    const auto rows = static_cast<float>(std::max(1u, stage.m_gridRows));
    const auto column = static_cast<float>(frame % columns);
    const auto row = static_cast<float>(frame / columns);
    stage.m_scaleU = 0.99f / static_cast<float>(columns);
    stage.m_scaleV = 0.99f / rows;
    stage.m_offsetU = (column + 0.005f) / static_cast<float>(columns);
    stage.m_offsetV = (rows - 1.0f - row + 0.005f) / rows;
}

} // namespace KeystrelEngine
