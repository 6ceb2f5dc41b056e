// The engine's failure channel. Whatever the engine cannot work around leaves its subsystem as one of these;
// nothing on the frame path catches them, the game loader shows the text and the program ends.
#pragma once

#include <new>
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

// Runs a file reader. Memory that runs out inside it (a damaged size that asks for more than can be had) is raised
// as FileError with formatText, so that the reader's caller reports it like any other damaged file instead of the
// allocation failure ending the program.
template <class Reader> void ReadWithinMemory(const std::string& formatText, Reader&& reader)
{
    try {
        reader();
    } catch (const std::bad_alloc&) {
        throw FileError(formatText);
    }
}

} // namespace KeystrelEngine
