// The shared control models of "ui\\menus\\models\\controls\\": the button and check-box base models that
// unfold at their reference places with their selection and text areas, the arrow, track and thumb quads the
// scroll widgets scale, the scroll part places, and the upgrade pictures (frames 2s and 2s + 1 for stage s).
#pragma once

#include "tools/content/art/ArtGenerator.h"

namespace Content {

class MenuControlArt : public ArtGenerator
{
protected:
    void List(ArtList& list) const override;
};

} // namespace Content
