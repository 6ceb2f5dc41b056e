#include "SoundFileReader.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileManager.h"

namespace KeystrelEngine {

SoundFileReader::SoundFileReader(FileManager* files, const std::string& name, MessageManager* log, bool openFile)
    : m_log(log), m_files(files), m_name(name), m_path(MakeDataPath(name))
{
    if (openFile)
        m_file = m_files->OpenBinary(m_path, false);
}

SoundFileReader::~SoundFileReader() = default;

void SoundFileReader::Fail(const std::string& reason) const
{
    throw FileError("Failed to load \"" + m_path + "\" sound file - " + reason);
}

} // namespace KeystrelEngine
