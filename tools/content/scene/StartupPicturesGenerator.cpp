#include "tools/content/scene/StartupPicturesGenerator.h"

#include "tools/content/scene/EmblemPictures.h"

namespace Content {

void StartupPicturesGenerator::List(ArtList& list) const
{
    list.AddOpaqueTexture("ui\\menus\\textures\\publisher_logo_big", EmblemPictures::PublisherBig);
    list.AddTexture("ui\\cursors\\cursor", EmblemPictures::Cursor);
    list.AddOpaqueTexture("ui\\console\\console", EmblemPictures::Console);
}

} // namespace Content
