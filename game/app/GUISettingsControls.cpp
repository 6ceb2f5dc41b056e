#include "game/app/GUISettingsControls.h"

#include "engine/gui/GUICheckBox.h"
#include "engine/gui/GUIScroll.h"
#include "engine/sound/Sound.h"
#include "framework/AudioPlayer.h"
#include "game/app/GUIMenuWindow.h"

#include <algorithm>
#include <cmath>

namespace Wispfold {

namespace {

constexpr float kPositionsPerVolume = GUISettingsControls::kPositionCount - 1;

KeystrelEngine::GUIScroll* AddSlider(GUIMenuWindow& window, const std::string& model)
{
    KeystrelEngine::GUIScroll* slider =
        window.AddControl(ControlKind::HorizontalScroll, model, "controls\\scroll_h")->GetScroll();
    slider->m_positionCount = GUISettingsControls::kPositionCount;
    slider->m_step = GUISettingsControls::kArrowStep;
    return slider;
}

void ShowVolume(KeystrelEngine::GUIScroll& slider, float volume)
{
    const long position = std::lround(volume * kPositionsPerVolume);
    slider.SetPosition(static_cast<std::uint32_t>(std::clamp(position, 0L, static_cast<long>(kPositionsPerVolume))));
}

float VolumeAt(const KeystrelEngine::GUIScroll& slider)
{
    return static_cast<float>(slider.GetPosition()) / kPositionsPerVolume;
}

// A move of one position changes the volume by a thousandth, which float rounding may put a hair below.
bool Differs(float volume, float current)
{
    return std::fabs(volume - current) >= GUISettingsControls::kSmallestChange;
}

} // namespace

GUISettingsControls::GUISettingsControls(GUIMenuWindow& window, const std::string& folder,
                                         GameFramework::AudioPlayer* player)
    : m_player(player), m_soundSlider(AddSlider(window, folder + "\\slider_sound")),
      m_musicSlider(AddSlider(window, folder + "\\slider_music")),
      m_fullScreenBox(
          window.AddControl(ControlKind::CheckBox, folder + "\\fullscreen_check_box", "controls\\check_box")
              ->GetCheckBox())
{
}

void GUISettingsControls::ShowVolumes()
{
    ShowVolume(*m_soundSlider, m_player->GetSoundVolume());
    ShowVolume(*m_musicSlider, m_player->GetMusicVolume());
}

void GUISettingsControls::ShowFullScreen(bool fullScreen)
{
    m_fullScreenBox->m_checked = fullScreen;
}

bool GUISettingsControls::IsFullScreenChecked() const
{
    return m_fullScreenBox->m_checked;
}

void GUISettingsControls::Update(bool frameVisible)
{
    if (frameVisible)
        ApplyVolumes();
    FollowDrag();
}

void GUISettingsControls::ApplyVolumes()
{
    const float sound = VolumeAt(*m_soundSlider);
    if (Differs(sound, m_player->GetSoundVolume()))
        m_player->SetSoundVolume(sound);
    const float music = VolumeAt(*m_musicSlider);
    if (Differs(music, m_player->GetMusicVolume()))
        m_player->SetMusicVolume(music);
}

void GUISettingsControls::FollowDrag()
{
    const bool dragged = m_soundSlider->IsPressed();
    const bool playing = m_player->GetSoundState(kSliderSound) == KeystrelEngine::Sound::Playing;
    if (dragged && !playing) {
        m_player->PlaySound(kSliderSound);
        m_sliderSoundStarted = true;
    } else if (!dragged && m_sliderSoundStarted) {
        if (playing)
            m_player->StopSound(kSliderSound);
        m_sliderSoundStarted = false;
    }
}

} // namespace Wispfold
