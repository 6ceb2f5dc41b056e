// The models of the menu windows: the title's text area, the four frames with their text areas, and each
// window's own controls (buttons, check boxes, slider and scroll places, panels), each at its layout rectangle.
#pragma once

#include "tools/content/art/ArtGenerator.h"

namespace Content {

class MenuWindowArt : public ArtGenerator
{
protected:
    void List(ArtList& list) const override;
};

} // namespace Content
