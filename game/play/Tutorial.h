// Teaches the game in small topics during play, each once per player: the first topic whose profile flag is
// still set and whose subject is on the board starts; the character says its phrases, a glowing tip points at a
// cell and, for the camera topic, the board turns and the view switches. A finished topic clears its flag at
// once. While a topic runs the character's praise is off. A won or lost or left level drops the running topic,
// which leaves the board, the view and the character as the topic's end would; the topic's flag stays set, so it
// starts again from its beginning in a later level.
#pragma once

#include "engine/gui/RegisteredModel.h"

#include <array>
#include <cstdint>
#include <string>

namespace KeystrelEngine {
class Engine;
class Model;
class TimerManager;
} // namespace KeystrelEngine

namespace Wispfold {

class Board;
class CameraControl;
class Cell;
class CellPlacement;
class Character;
class TutorialFlags;
struct LevelRecord;

class Tutorial
{
public:
    enum Topic : std::int32_t
    {
        kNoTopic = -1,
        kMakeSwap = 0,
        kCamera,
        kDoubleMana,
        kClosedCell,
        kWebItem,
        kBonus0, // bonus 1 and 2 follow
        kBonus1,
        kBonus2,
        kTopicCount
    };

    // The tip is a copy of the shared cell tip model, registered while the tutorial lives.
    Tutorial(KeystrelEngine::Engine& engine, TutorialFlags& flags, const KeystrelEngine::Model& tipSource,
             Character& character, CameraControl& camera, const Board& board, const CellPlacement& cells,
             const LevelRecord& level);
    virtual ~Tutorial();

    Tutorial(const Tutorial&) = delete;
    Tutorial& operator=(const Tutorial&) = delete;

    void Update();

    std::int32_t GetTopic() const { return m_topic; }
    std::uint32_t GetStep() const { return m_step; }
    KeystrelEngine::Model& GetTip() const { return *m_tip; }

private:
    // The cells a topic points at: the last cell of kind 2, blocked, closed, and carrying a bonus of kind 0 to 2.
    enum Tracked : std::uint32_t
    {
        kTrackedDoubleMana = 0,
        kTrackedBlocked,
        kTrackedClosed,
        kTrackedBonus0,
        kTrackedCount = kTrackedBonus0 + 3
    };

    void Speak(const std::string& key, float holdTime);
    void Advance();
    void Finish();
    void Drop();
    bool IsSilent() const;
    bool WaitedFor(float seconds) const;

    void RunMakeSwap();
    void RunCamera();
    void SwitchViewBack();
    void Turn(float sign, std::uint32_t next);
    void RunCellTopic();
    bool SubjectHolds() const;
    void ShowTip(const Cell& cell);
    // The tip stands on the cell, which the character's bubble leaves in view while the tip shows.
    void PointAt(const Cell& cell);
    void HideTip();
    void KeepTipInView();
    void SetTipAlpha(float alpha);

    bool IsLevelDecided() const;
    void ChooseTopic();
    void TrackCells();
    bool IsEligible(std::int32_t topic) const;

    KeystrelEngine::TimerManager* m_timers;
    TutorialFlags& m_flags;
    Character& m_character;
    CameraControl& m_camera;
    const Board& m_board;
    const CellPlacement& m_cells;
    const LevelRecord& m_level;
    KeystrelEngine::RegisteredModel m_tip;

    std::int32_t m_topic = kNoTopic; // at most one runs
    std::uint32_t m_step = 0;
    float m_clock = 0.0f;
    bool m_cameraRemembered = false; // the view was oblique or free when the camera topic switched it
    std::array<const Cell*, kTrackedCount> m_tracked{};
    const Cell* m_pointed = nullptr; // the tip's cell while the tip shows
};

} // namespace Wispfold
