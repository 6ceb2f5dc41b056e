#include "tools/content/scene/CharacterGenerator.h"

#include "tools/content/art/ModelFiles.h"
#include "tools/content/art/Surface.h"
#include "tools/content/scene/CharacterFigure.h"
#include "tools/content/scene/CharacterPictures.h"
#include "tools/content/scene/SpeechBubble.h"

namespace Content {

void CharacterGenerator::List(ArtList& list) const
{
    const std::string folder = kFolder;
    list.AddModel(folder + "character", [] {
        // The code picks the face frame itself, so the grid has no rate of its own.
        return ModelArt{CharacterFigure::Build(),
                        Surface::Describe(SurfaceLook(kColour)
                                              .Opacity(kOpacity)
                                              .Blending(Blend::Alpha)
                                              .Grid(CharacterPictures::kColumns, CharacterPictures::kColumns))};
    });
    list.AddTexture(kColour, kOpacity, CharacterPictures::Sheet);
    for (int lines = 1; lines <= 4; ++lines) {
        list.AddModel(folder + "text_size" + std::to_string(lines), [lines] {
            return ModelArt{
                ModelFiles::Morph(SpeechBubble::kFrames, SpeechBubble::kFramesPerSecond,
                                  [lines](int k) { return SpeechBubble::At(lines, k); }),
                Surface::Describe(SurfaceLook("bubble.jpg").Opacity("bubble_alpha.jpg").Blending(Blend::Alpha))};
        });
    }
    list.AddTexture(folder + "bubble", SpeechBubble::Colours);
}

} // namespace Content
