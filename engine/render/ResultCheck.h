// The one result check of the Direct3D 7 render system: a failed DirectDraw or Direct3D call becomes one error
// line in the log, "Direct3D Subsystem (" + the calling operation + "): " + the code's description, and the caller
// goes on. Codes of 0 and above are success and say nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace KeystrelEngine {

class RenderSystem;

// The description of a DirectDraw code; any other code (Direct3D's own among them) gives
// "Unknown error (Code: " + the code as a signed decimal + ")".
std::string GetResultText(std::int32_t code);

// The context is only read when the code is a failure, so a check of a successful call costs no allocation.
void CheckResult(std::string_view context, std::int32_t code, const RenderSystem* renderSystem);

} // namespace KeystrelEngine
