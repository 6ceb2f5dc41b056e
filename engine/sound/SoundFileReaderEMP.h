// The silent substitute for a file of a type no reader knows: eight bytes of 8-bit mono silence.
#pragma once

#include "SoundFileReader.h"

namespace KeystrelEngine {

class SoundFileReaderEMP : public SoundFileReader
{
public:
    SoundFileReaderEMP(FileManager* files, const std::string& name, MessageManager* log);

    void Rewind() override { m_position = 0; }
    void Read(void* destination, std::uint32_t bytes, std::uint32_t& got, bool& atEnd) override;

private:
    std::uint32_t m_position = 0;
};

} // namespace KeystrelEngine
