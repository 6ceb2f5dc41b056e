// The butterflies and their shadows. "butterfly" is a morph model of 76 frames whose two wings turn about the
// body for the play code's animation ranges: 0-10 the flying loop, 10-15 a glide, 15-25 settling, 25-60 the
// resting flap (folded at 25 and 60), 60-70 the lift, 70-75 a last beat; its head points along +y. Five
// pictures give five colours with wings of their own outline and pattern, so they are told apart at a glance.
// "shadow" is the flat silhouette of the same 76 frames (the wings as they fall on the ground), with one dark
// picture and an opacity picture per colour of that colour's outline.
#pragma once

#include "tools/content/art/ArtGenerator.h"

namespace Content {

class ButterflyGenerator : public ArtGenerator
{
public:
    static constexpr int kFrames = 76;
    static constexpr int kColours = 5;

protected:
    void List(ArtList& list) const override;
};

} // namespace Content
