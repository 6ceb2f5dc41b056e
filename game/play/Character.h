// The guide figure that greets the player at a level's start, says the level-end line, announces upgrades,
// praises long chains and speaks the tutorial's hints. It is a GUI figure: the figure's model in a window, whose
// body animation (the model's own control) and face (a second control whose frame picks the face texture's
// cell) switch between named ranges, and four speech bubbles for one to four lines, in which text printers type
// a phrase line after line; the bubble then holds and fades.
//
// A phrase K is the text table's "K_SIZE" (the line count: below 2 one line, 2 and 3 as written, more four)
// and its lines "K_0" to "K_3".
//
// Layout: the figure's window (no quad) carries the figure's model window and the bubble windows; it hangs on
// the level's window at layer 1 in a level and on the menu background's top window at layer 20 in the menu
// states 2 and 11. The figure and bubble models are drawn in virtual-screen coordinates.
#pragma once

#include "engine/gui/GUIWindow.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace GameFramework {
class AudioPlayer;
class LevelManagerBase;
class ProfileManagerBase;
} // namespace GameFramework

namespace GameTools {
class GUITextPrinter;
}

namespace KeystrelEngine {
class AnimationControl;
class Controls;
class Engine;
class GUIManager;
class GUIWindow;
class Model;
class TimerManager;
} // namespace KeystrelEngine

namespace Wispfold {

constexpr std::uint32_t kBubbleCount = 4; // one per line count

// The shared resources the character is drawn with; none is owned.
struct CharacterResources
{
    const KeystrelEngine::Model* figure = nullptr;
    std::array<const KeystrelEngine::Model*, kBubbleCount> bubbles{}; // by line count - 1
    KeystrelEngine::GUIWindow* levelParent = nullptr;                 // in a level
    KeystrelEngine::GUIWindow* menuParent = nullptr;                  // the menu background's top window
};

class Character
{
public:
    static constexpr std::int32_t kStateMenu = 2;     // outside a level, and a won level's farewell
    static constexpr std::int32_t kStateLevel = 5;    // in a level
    static constexpr std::int32_t kStateUpgrade = 11; // an upgrade is announced
    static constexpr std::int32_t kMenuLayer = 20;
    static constexpr std::int32_t kLevelLayer = 1;
    static constexpr std::uint32_t kFontId = 2;
    static constexpr std::uint32_t kFirstPraiseSound = 6; // nine sounds follow in turn
    // Where the bubbles' lines are typed on the virtual screen: line k of every bubble from kTextLeft at the
    // height kFirstLine - k x kLineStep, inside the bubbles' areas (476 down to 56 units for one line and
    // kLineStep more for each further one).
    static constexpr float kTextLeft = 190.0f;
    static constexpr float kFirstLine = 440.0f;
    static constexpr float kLineStep = 28.0f;

    Character(KeystrelEngine::Engine& engine, const GameFramework::LevelManagerBase& levels,
              const GameFramework::ProfileManagerBase& profiles, GameFramework::AudioPlayer& player,
              const CharacterResources& resources);
    virtual ~Character();

    Character(const Character&) = delete;
    Character& operator=(const Character&) = delete;

    // Shows the figure for the state: its parent and layer, the entry animation (the menu rise in state 2, else
    // the level entry) and the face's waiting loop.
    void SetState(std::int32_t state);
    // The level-complete handler's upgrade announcement: state 11 without a new entry, the figure turning back
    // from its farewell, the upgrade phrase and sound once it is idle.
    void AnnounceUpgrade();
    // The figure stops speaking (its phrase is gone at once) and leaves (at once in the menu states).
    void ResetSpeech();
    // The won level's line: state 2, the farewell dance once the face has settled.
    void LevelEndPhrase();
    // The lost level's reaction: the figure leaves.
    void LevelFailedReaction() { ResetSpeech(); }
    // A praise of kind 0 to 3, spoken once the figure is idle; ignored while praise is off.
    void Praise(std::uint32_t kind);
    void SetPraiseEnabled(bool enabled) { m_praiseEnabled = enabled; }
    bool IsPraiseEnabled() const { return m_praiseEnabled; }
    // Types the phrase in the bubble of its line count, which holds for the hold time once typed and then fades.
    void ShowText(const std::string& key, float holdTime);
    // In a level, the point of the virtual screen (y up) that the bubbles leave in view: the cell the tutorial
    // points at. A bubble whose place would cover it stands lower, its top below the point. A point moves the
    // bubble shown now; none lets the next phrase's bubble stand in its own place.
    void KeepInView(std::optional<KeystrelEngine::GUIPoint> point);
    // Told every frame whether a dialog's frame stands over the level. No bubble covers a dialog: the phrase shown
    // ends at once, and the level's greeting and a praise wait until the dialog has gone.
    void SetDialogShown(bool shown);
    // No bubble is shown.
    bool IsSilent() const;
    void Update();

    std::int32_t GetState() const { return m_state; }
    KeystrelEngine::AnimationControl& GetBody() const { return *m_body; }
    KeystrelEngine::AnimationControl& GetFace() const { return *m_face; }
    KeystrelEngine::GUIWindow* GetFigureWindow() const { return m_figureWindow; }
    KeystrelEngine::GUIWindow* GetBubble(std::uint32_t index) const { return m_bubbles[index]; }
    GameTools::GUITextPrinter& GetPrinter(std::uint32_t bubble, std::uint32_t line) const;
    float GetAlpha() const { return m_alpha; }
    std::uint32_t GetPraiseCount() const { return m_praiseCount; }
    bool IsPraisePending() const { return m_praisePending; }

private:
    // A clock that runs while its flag is set.
    struct Timer
    {
        bool on = false;
        float clock = 0.0f;
        void Start(float at = 0.0f)
        {
            on = true;
            clock = at;
        }
    };

    void CreateWindows(const CharacterResources& resources);
    void AddRanges();
    std::uint32_t UpgradeNumber() const;
    void SpeakDelayed(float dt);
    void FinishAnimations(float dt);
    void RunReset(float dt);
    void SettleIdle();
    void StartTalking();
    void LeaveWhenDone();
    void AwaitMenuPhrase(float dt);
    void SpeakPraise();
    void AnimateFace();
    void TypeAndFade(float dt);
    void StopWidening();
    void PlaceBubble();
    // The widest line of the phrase in the bubbles' font.
    float WidestLine() const;
    void HideBubble();
    void SetAlpha(float alpha);

    KeystrelEngine::TimerManager* m_timers;
    KeystrelEngine::Controls* m_controls;
    KeystrelEngine::GUIManager* m_gui;
    const GameFramework::LevelManagerBase& m_levels;
    const GameFramework::ProfileManagerBase& m_profiles;
    GameFramework::AudioPlayer& m_player;
    KeystrelEngine::GUIWindow* m_levelParent;
    KeystrelEngine::GUIWindow* m_menuParent;

    std::int32_t m_state = 0;
    KeystrelEngine::GUIWindow* m_figureWindow = nullptr;
    KeystrelEngine::GUIWindow* m_modelWindow = nullptr;
    KeystrelEngine::AnimationControl* m_body = nullptr; // the figure quad's own
    std::unique_ptr<KeystrelEngine::AnimationControl> m_face;
    std::array<KeystrelEngine::GUIWindow*, kBubbleCount> m_bubbles{};
    std::array<std::unique_ptr<GameTools::GUITextPrinter>, 10> m_printers; // bubble by bubble, line by line

    std::array<std::u16string, kBubbleCount> m_lines;
    std::uint32_t m_lineCount = 0;
    std::uint32_t m_nextLine = 0; // the first line not yet handed to its printer
    std::int32_t m_shownBubble = -1;
    std::optional<KeystrelEngine::GUIPoint> m_keptInView;
    float m_holdTime = 0.0f;
    float m_typingClock = 0.0f;
    float m_fadeClock = 0.0f;
    float m_alpha = 0.0f;

    Timer m_delayedSpeech;
    std::array<Timer, 2> m_finish; // the level end and the upgrade's return
    Timer m_reset;
    bool m_farewellPhrase = false; // the reset's state-2 phrase has run
    Timer m_menuWait;
    bool m_upgrade = false;
    bool m_dialogShown = false;
    bool m_praiseEnabled = true;
    bool m_praisePending = false;
    std::uint32_t m_praiseKind = 0;
    std::uint32_t m_praiseCount = 0;
};

} // namespace Wispfold
