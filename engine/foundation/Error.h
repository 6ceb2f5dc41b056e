// The engine's failure channel. Whatever the engine cannot work around leaves its subsystem as one of these;
// nothing on the frame path catches them, the game loader shows the text and the program ends.
#pragma once

#include <string>
#include <utility>

namespace KeystrelEngine {

class Error
{
public:
    explicit Error(std::string text) : m_text(std::move(text)) {}
    virtual ~Error() = default;

    const std::string& GetText() const { return m_text; }

private:
    std::string m_text;
};

// Files that cannot be opened, read or written, and damaged content found by the readers.
class FileError : public Error
{
public:
    using Error::Error;
};

// Raised by the log's fatal-error call after its line is written.
class FatalError : public Error
{
public:
    using Error::Error;
};

} // namespace KeystrelEngine
