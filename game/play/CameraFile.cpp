#include "CameraFile.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileTextual.h"
#include "engine/foundation/FileValues.h"

namespace Wispfold {

using KeystrelEngine::FileValues;

CameraFile CameraFile::Read(KeystrelEngine::FileManager& files, KeystrelEngine::MessageManager& log,
                            const std::string& path)
{
    const auto file = files.OpenTextual(path, false);
    FileValues values(path);
    CameraFile camera;
    camera.topHeight = values.NextFloat(*file, FileValues::kWorld, "the top height");
    camera.topShift = values.NextFloat(*file, FileValues::kWorld, "the top shift");
    camera.obliqueHeight = values.NextFloat(*file, FileValues::kWorld, "the oblique height");
    camera.obliqueShift = values.NextFloat(*file, FileValues::kWorld, "the oblique shift");
    camera.obliqueDistance = values.NextFloat(*file, FileValues::kWorld, "the oblique distance");
    values.CheckEnd(*file);
    values.WarnOfNote(log);
    return camera;
}

} // namespace Wispfold
