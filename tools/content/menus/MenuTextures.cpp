#include "tools/content/menus/MenuTextures.h"

#include "tools/content/menus/MenuModels.h"
#include "tools/content/menus/MenuPictures.h"

namespace Content {

void MenuTextures::List(ArtList& list) const
{
    const auto add = [&list](const char* name, std::function<Picture()> make) {
        list.AddTexture(MenuModels::TextureStem(name), std::move(make));
    };
    add("frame", [] { return MenuPictures::Frame(512, 512, 14.0f); });
    add("bar_frame", [] { return MenuPictures::Frame(256, 32, 4.0f); });
    add("panel", [] { return MenuPictures::Panel(256, 64); });
    add("button_main", [] { return MenuPictures::Buttons(256, 64); });
    add("button", [] { return MenuPictures::Buttons(128, 32); });
    add("thumb", [] { return MenuPictures::Buttons(32, 32); });
    add("button_minimize", [] { return MenuPictures::Buttons(32, 32, ButtonIcon::Minimize); });
    add("button_close", [] { return MenuPictures::Buttons(32, 32, ButtonIcon::Close); });
    add("arrow_left", [] { return MenuPictures::Buttons(32, 32, ButtonIcon::ArrowLeft); });
    add("arrow_right", [] { return MenuPictures::Buttons(32, 32, ButtonIcon::ArrowRight); });
    add("arrow_up", [] { return MenuPictures::Buttons(32, 32, ButtonIcon::ArrowUp); });
    add("arrow_down", [] { return MenuPictures::Buttons(32, 32, ButtonIcon::ArrowDown); });
    add("check_box", [] { return MenuPictures::CheckBoxes(); });
    add("check_window", [] { return MenuPictures::CheckBoxes(ButtonIcon::Window); });
    add("check_full_screen", [] { return MenuPictures::CheckBoxes(ButtonIcon::FullScreen); });
    add("track_h", [] { return MenuPictures::Track(false); });
    add("track_v", [] { return MenuPictures::Track(true); });
    add("bar_mana", [] { return MenuPictures::Bar({0.35f, 0.7f, 1.0f, 1.0f}); });
    add("bar_energy", [] { return MenuPictures::Bar({1.0f, 0.72f, 0.25f, 1.0f}); });
    add("band", [] { return MenuPictures::Band(); });
    add("upgrades", [] { return MenuPictures::Upgrades(); });
}

} // namespace Content
