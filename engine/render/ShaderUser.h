// One drawn object's shader: its own copy of the description (blending, material, addressing and texture matrix
// may differ from other users of the same shader), the animation position of each stage, and a reference to the
// shared shader, which it deletes when it is the last to go. The shader manager hands users out and owns them.
#pragma once

#include "ShaderDescriptor.h"

namespace KeystrelEngine {

class MessageManager;
class Shader;
class TimerManager;

class ShaderUser : public ShaderDescriptor
{
public:
    // Stages with a random start begin at a random frame (one draw of the engine's generator each).
    ShaderUser(const ShaderDescriptor& description, MessageManager* log, TimerManager* timers, Shader* shader);
    ~ShaderUser() override;

    ShaderUser(const ShaderUser&) = delete;
    ShaderUser& operator=(const ShaderUser&) = delete;

    // Advances each stage's animation by the frame time: the current frame of frame animations, the texture
    // matrix of grid animations.
    void Update();

    // Puts a stage's animation on a frame; the next Update shows it (and keeps it while the stage's rate is 0).
    // A stage the description does not have is left alone.
    void SetFrame(std::uint32_t stage, std::uint32_t frame);

    Shader* GetShader() const { return m_shader; }
    // The animation position of a stage, in frames.
    float GetPosition(std::uint32_t stage) const { return m_positions[stage]; }

private:
    void ShowGridCell(ShaderStage& stage, std::uint32_t frame) const;

    MessageManager* m_log;
    TimerManager* m_timers;
    Shader* m_shader;
    float m_positions[kMaxStages] = {};
};

} // namespace KeystrelEngine
