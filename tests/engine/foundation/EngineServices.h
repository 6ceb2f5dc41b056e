// The foundation objects that the window and the input need: a log and a configuration whose file lies in the
// test's base folder.
#pragma once

#include "engine/foundation/Config.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <string>

namespace TestSupport {

struct EngineServices
{
    KeystrelEngine::MessageManager log{"", "Quellhaven", "", true, false};
    KeystrelEngine::FileManager files{&log, "", "Data"};
    KeystrelEngine::Config config{"Quellhaven", "", &log, &files, "1024x768x32", false, false, false};

    bool Logged(const std::string& text) const
    {
        return std::any_of(log.m_history.begin(), log.m_history.end(),
                           [&](const auto& record) { return record.text.find(text) != std::string::npos; });
    }

    std::string ConfigFile() const
    {
        const Bytes bytes = ReadFile(BaseFolder() + "/Quellhaven.ini");
        return std::string(bytes.begin(), bytes.end());
    }
};

} // namespace TestSupport
