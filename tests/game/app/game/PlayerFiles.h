// The player's files as they lie on disk, read without changing them: the watch's own eyes, apart from the game's
// loaders (which mend what they read, keep a damaged file as ".bad" and save again). A file is intact when it is
// byte for byte what the game's format writes for the records it holds, and its values are within what the game
// keeps; anything a loader would have to refuse or mend (a bad header, a short file, a count beyond its records or
// beyond what the file may hold, bytes after the last record, a value out of range) is its fault.
#pragma once

#include "tools/formats/HighScoresFileWriter.h"
#include "tools/formats/ProfileFileWriter.h"

#include <string>

namespace KeystrelEngine {
class FileManager;
}

namespace GameTesting {

template <class Records> struct FileOnDisk
{
    Records records;
    std::string fault; // empty for an intact file
};

// Paths as the game names them, opened from the disk through the file manager.
FileOnDisk<Formats::ProfileFile> ReadProfileFile(KeystrelEngine::FileManager& files, const std::string& path);
FileOnDisk<Formats::ProfileListFile> ReadProfileListFile(KeystrelEngine::FileManager& files, const std::string& path);
FileOnDisk<Formats::HighScoresFile> ReadHighScoresFile(KeystrelEngine::FileManager& files, const std::string& path);

} // namespace GameTesting
