// The controls the options window and the in-game menu share: the sound and music sliders and the full-screen
// check box. A slider has a position for every thousandth of the volume, and its arrows step a twentieth; the
// volume follows a moving slider at once, but only when it differs from the player's by a thousandth or more, so
// that a volume between two positions is not rounded by merely opening a window on it, while every move of the
// slider is heard. The slider sound runs while the sound slider is dragged, so that the player hears the new
// volume. Every window is updated every frame, shown or not, and the windows share the sound: each stops only the
// sound it started.
#pragma once

#include <cstdint>
#include <string>

namespace GameFramework {
class AudioPlayer;
}

namespace KeystrelEngine {
class GUICheckBox;
class GUIScroll;
} // namespace KeystrelEngine

namespace Wispfold {

class GUIMenuWindow;

class GUISettingsControls
{
public:
    static constexpr std::uint32_t kPositionCount = 1001;    // volume 0 to 1 by thousandths
    static constexpr float kSmallestChange = 0.001f - 1e-6f; // one position
    static constexpr std::uint32_t kArrowStep = 50;          // an arrow moves a twentieth of the range
    static constexpr std::uint32_t kSliderSound = 0;         // menu sound "volume_slider"

    // Adds the sound slider, the music slider and the full-screen check box, from the models of the folder below
    // "ui\\menus\\models\\", to the window.
    GUISettingsControls(GUIMenuWindow& window, const std::string& folder, GameFramework::AudioPlayer* player);

    // The sliders at the player's volumes (above 1 at the last position).
    void ShowVolumes();
    void ShowFullScreen(bool fullScreen);
    bool IsFullScreenChecked() const;
    // Once per frame after the window's frame update: while the frame is visible the sliders set the volumes;
    // the slider sound follows the sound slider's drag.
    void Update(bool frameVisible);

    KeystrelEngine::GUIScroll& GetSoundSlider() const { return *m_soundSlider; }
    KeystrelEngine::GUIScroll& GetMusicSlider() const { return *m_musicSlider; }
    KeystrelEngine::GUICheckBox& GetFullScreenBox() const { return *m_fullScreenBox; }

private:
    void ApplyVolumes();
    void FollowDrag();

    GameFramework::AudioPlayer* m_player;
    KeystrelEngine::GUIScroll* m_soundSlider;
    KeystrelEngine::GUIScroll* m_musicSlider;
    KeystrelEngine::GUICheckBox* m_fullScreenBox;
    bool m_sliderSoundStarted = false;
};

} // namespace Wispfold
