#include "platform/testing.h"
#include "platform/win32/Files.h"

#include <mutex>
#include <unistd.h>

namespace {
std::mutex g_moduleMutex;
std::string g_moduleOverride;
} // namespace

DWORD GetModuleFileNameA(HMODULE /*module*/, std::string& fileName)
{
    {
        std::lock_guard lock(g_moduleMutex);
        if (!g_moduleOverride.empty()) {
            fileName = g_moduleOverride;
            return static_cast<DWORD>(fileName.size());
        }
    }
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            fileName.clear();
            return 0;
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    fileName = buffer;
    return static_cast<DWORD>(fileName.size());
}

HMODULE GetModuleHandleA(LPCSTR name)
{
    static const HMODULE program = reinterpret_cast<HMODULE>(std::uintptr_t{0x400000});
    return name ? nullptr : program;
}

void PlatformTesting::SetModuleFileName(const std::string& path)
{
    std::lock_guard lock(g_moduleMutex);
    g_moduleOverride = path;
}
