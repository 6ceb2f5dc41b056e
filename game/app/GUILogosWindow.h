// The publisher's logo over the whole screen, shown first at start-up: whole for 1.5 seconds, then fading out
// over one second, after which the window reports RequestDone. Without the logo's picture it reports at once.
#pragma once

#include "framework/GUILogosWindowBase.h"

namespace KeystrelEngine {
class GUIManager;
class GUIWindow;
} // namespace KeystrelEngine

namespace Wispfold {

class GUILogosWindow : public GameFramework::GUILogosWindowBase
{
public:
    static constexpr const char* kPicture = "data\\ui\\menus\\textures\\publisher_logo_big.jpg";
    static constexpr float kWholeTime = 1.5f;
    static constexpr float kFadeTime = 1.0f;

    explicit GUILogosWindow(KeystrelEngine::Engine* engine);
    ~GUILogosWindow() override;

    void Update() override;
    void Open() override;
    // Deletes the logo's window.
    void Close() override;

    KeystrelEngine::GUIWindow* GetLogoWindow() const { return m_logo; }
    bool IsActive() const { return m_active; }

private:
    void DeleteLogo();

    KeystrelEngine::GUIManager* m_gui;
    KeystrelEngine::GUIWindow* m_logo = nullptr;
    bool m_active = false;
    float m_clock = 0.0f; // seconds since the first update while open
};

} // namespace Wispfold
