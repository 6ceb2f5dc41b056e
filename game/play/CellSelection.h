// One ring on a selected cell: it fades in over the appear range, pulses while its cell stays selected, then
// fades out over the disappear range and ends. The model is borrowed from the selection manager's pool.
#pragma once

#include <cstdint>

namespace KeystrelEngine {
class AnimationControl;
class Model;
} // namespace KeystrelEngine

namespace Wispfold {

class CellLook;

class CellSelection
{
public:
    // Animation ranges of the marker model.
    enum Range : std::uint32_t
    {
        kAppear = 0,    // frames 0 to 10
        kPulse = 1,     // frames 10 to 40
        kDisappear = 2, // frames 40 to 50
    };

    // Shows the model transparent where the cell's model stands and starts the appear range.
    CellSelection(const CellLook& cell, KeystrelEngine::Model& model);
    virtual ~CellSelection() = default;

    CellSelection(const CellSelection&) = delete;
    CellSelection& operator=(const CellSelection&) = delete;

    // Moves on through the ranges by what the model's animation played in the last model pass, and fades.
    void Update();

    const CellLook* GetCell() const { return m_cell; }
    KeystrelEngine::Model& GetModel() const { return *m_model; }
    bool IsAlive() const { return m_alive; }

    // The cell is still the selected one.
    bool m_active = true;

private:
    void Start(Range range, bool looping);

    const CellLook* m_cell;
    KeystrelEngine::Model* m_model;
    KeystrelEngine::AnimationControl* m_animation;
    bool m_alive = true;
};

} // namespace Wispfold
