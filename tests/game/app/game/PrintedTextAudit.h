// Reads, after a frame, the texts the GUI's widgets were given to print, key texts as the drawing looked them up,
// and keeps what a player must never see: a text showing "UNKNOWN" (a key no text table gave) and a character
// its font has no glyph for (printed as a gap). A widget's records outlive the frame that drew them until the
// widget adds texts again, so reading them after every frame sees every text drawn; a finding is kept once.
#pragma once

#include <set>
#include <string>

namespace KeystrelEngine {
class GUIManager;
}

namespace GameTesting {

class PrintedTextAudit
{
public:
    void Read(const KeystrelEngine::GUIManager& gui);

    // One line each: the text (or its key) showing "UNKNOWN", or the font and the code without a glyph.
    const std::set<std::string>& Findings() const { return m_findings; }

private:
    std::set<std::string> m_findings;
};

} // namespace GameTesting
