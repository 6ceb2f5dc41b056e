// What the menu windows ask of the menu background: the printer that types their titles in its text area, its
// stage theme, and its panel (the text window behind that area), which the windows shown over a running level bring in
// before they appear and give back after they have gone.
//
// The background owns the panel and says who holds it. A window holds it from the moment it appears over it until
// it gives it back or lets it go, and meanwhile the panel moves through its states:
//
//   InScene --holder calls it--> Called --it has unfolded--> Arrived --holder has seen it--> Up
//   Up (or Arrived) --holder gives it back--> GivenBack --the scene takes it, in its next update--> InScene
//
// The scene may also take the panel back by itself (ShowAll, ShowScene, a level's start): it is InScene again at
// once, and its holder, at its next update, calls it again if still shown, or lets it go.
#pragma once

namespace GameTools {
class GUITextPrinter;
}

namespace Wispfold {

class GUIMenuWindow;

class MenuBackground
{
public:
    enum class PanelState
    {
        InScene,   // nobody has called it: it stands in the scene, or is hidden with it
        Called,    // its holder called it: it unfolds in front of the menus once the scene shows
        Arrived,   // it is up; its holder has not seen it arrive yet
        Up,        // it is up in front of its holder
        GivenBack, // its holder gave it back: the scene takes it in its next update and dims away
    };

    virtual ~MenuBackground() = default;

    virtual GameTools::GUITextPrinter& GetTextPrinter() = 0;

    // The panel's moves of its own: InScene to Called, Arrived to Up, and Up to GivenBack.
    virtual PanelState GetPanelState() const = 0;
    virtual void RequestPanel() = 0;
    virtual void ClearPanelArrival() = 0;
    virtual void ReleasePanel() = 0;
    // The panel's window is still drawn (it goes with the scene as that dims away).
    virtual bool IsPanelWindowVisible() const = 0;

    bool IsPanelPresent() const
    {
        const PanelState state = GetPanelState();
        return state == PanelState::Arrived || state == PanelState::Up || state == PanelState::GivenBack;
    }
    bool IsPanelRequested() const { return GetPanelState() == PanelState::Called; }
    bool HasPanelJustArrived() const { return GetPanelState() == PanelState::Arrived; }
    bool IsPanelReleaseRequested() const { return GetPanelState() == PanelState::GivenBack; }
    // Nobody has called it and its window has gone with the scene: a new holder may call it.
    bool IsPanelFree() const { return GetPanelState() == PanelState::InScene && !IsPanelWindowVisible(); }

    // Who holds the panel, null for nobody. The holder is only compared, never followed.
    const GUIMenuWindow* GetPanelHolder() const { return m_panelHolder; }
    // Its holder has asked to give it back, which it does once its own frame has gone.
    bool IsPanelDueBack() const { return m_panelDueBack; }
    void HoldPanel(const GUIMenuWindow& holder)
    {
        m_panelHolder = &holder;
        m_panelDueBack = false;
    }
    void MarkPanelDueBack() { m_panelDueBack = true; }
    void LetGoOfPanel()
    {
        m_panelHolder = nullptr;
        m_panelDueBack = false;
    }
    void GiveBackPanel()
    {
        LetGoOfPanel();
        ReleasePanel();
    }

    // The stage whose themes show follows the current profile's current level (the map after each selection).
    virtual void UpdateStageTheme() = 0;
    // The new stage's themes fade in with a burst of the glow.
    virtual void StartNewStageTheme() = 0;
    // The whole menu scene fades back in (a level is left for the menus), and the panel is the scene's again.
    virtual void ShowAll() = 0;
    // The landscape alone, for the upgrade that follows a finished stage; the panel is the scene's, as above.
    virtual void ShowScene() = 0;
    // The scene's fade in or out has ended.
    virtual bool IsFadeComplete() const = 0;

private:
    const GUIMenuWindow* m_panelHolder = nullptr;
    bool m_panelDueBack = false;
};

} // namespace Wispfold
