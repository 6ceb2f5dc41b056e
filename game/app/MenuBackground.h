// What the menu windows ask of the menu background: the printer that types their titles in its text area, its
// stage theme, and its panel (the text window behind that area), which the windows shown over a running level bring in
// before they appear and give back after they have gone.
#pragma once

namespace GameTools {
class GUITextPrinter;
}

namespace Wispfold {

class MenuBackground
{
public:
    virtual ~MenuBackground() = default;

    virtual GameTools::GUITextPrinter& GetTextPrinter() = 0;
    // Sets the panel request and clears the release request.
    virtual void RequestPanel() = 0;
    // Clears the panel request and sets the release request.
    virtual void ReleasePanel() = 0;
    // A release asked for and not yet carried out.
    virtual bool IsPanelReleaseRequested() const = 0;
    // A panel asked for that has not arrived yet.
    virtual bool IsPanelRequested() const = 0;
    virtual bool IsPanelPresent() const = 0;
    // The panel's arrival, reported until the window that asked for it clears the report.
    virtual bool HasPanelJustArrived() const = 0;
    virtual void ClearPanelArrival() = 0;
    virtual bool IsPanelWindowVisible() const = 0;
    // The stage whose themes show follows the current profile's current level (the map after each selection).
    virtual void UpdateStageTheme() = 0;
    // The new stage's themes fade in with a burst of the glow.
    virtual void StartNewStageTheme() = 0;
    // The whole menu scene fades back in (a level is left for the menus). The panel is the scene's again: no
    // window holds it any more.
    virtual void ShowAll() = 0;
    // The landscape alone, for the upgrade that follows a finished stage; the panel is the scene's, as above.
    virtual void ShowScene() = 0;
    // The scene's fade in or out has ended.
    virtual bool IsFadeComplete() const = 0;
};

} // namespace Wispfold
