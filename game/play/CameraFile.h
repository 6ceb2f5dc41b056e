// A board's camera file ("data\boards\" + camera name + ".ini"): five values in a text file, each the whole of its
// token and within the world's reach: top height, top shift, oblique height, oblique shift, oblique distance.
#pragma once

#include <string>

namespace KeystrelEngine {
class FileManager;
class MessageManager;
} // namespace KeystrelEngine

namespace Wispfold {

struct CameraFile
{
    float topHeight = 0.0f;
    float topShift = 0.0f;
    float obliqueHeight = 0.0f;
    float obliqueShift = 0.0f;
    float obliqueDistance = 0.0f;

    // Throws FileError naming the file when it cannot be opened or a value is missing, no number or out of reach;
    // values after the fifth are left with one warning.
    static CameraFile Read(KeystrelEngine::FileManager& files, KeystrelEngine::MessageManager& log,
                           const std::string& path);
};

} // namespace Wispfold
