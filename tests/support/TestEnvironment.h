// Every test runs in folders of its own: HOME, the XDG folders and the base folder (the folder the
// program file is reported in) all lie below one temporary folder that is removed when the process ends, so
// tests running in parallel never share a file. The folders are emptied before each test of a process.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace TestSupport {

using Bytes = std::vector<std::uint8_t>;

// The temporary base folder of this process (a Linux path without a final slash).
const std::string& BaseFolder();

// Whole-file helpers on Linux paths; WriteFile creates missing folders.
void WriteFile(const std::string& path, const Bytes& bytes);
void WriteFile(const std::string& path, const std::string& text);
Bytes ReadFile(const std::string& path);
bool FileExists(const std::string& path);

Bytes ToBytes(const std::string& text);

// Whether an error's text is the render system's own and the machine gives no GL context at all (no GL there): the
// one reason a picture test has nothing to look at and is skipped. Any other error, a render system that fails on a
// machine with GL among them, fails the test.
bool IsNoRenderDevice(std::string_view text);

// An empty folder below the base folder, made anew (whatever an earlier test left there is removed).
std::string FreshFolder(const std::string& name);

} // namespace TestSupport
