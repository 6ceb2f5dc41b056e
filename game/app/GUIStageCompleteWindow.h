// An invisible step between two stages: the first update after Open reports once.
#pragma once

#include "framework/GUIStageCompleteWindowBase.h"

namespace Wispfold {

class GUIStageCompleteWindow : public GameFramework::GUIStageCompleteWindowBase
{
public:
    using GUIStageCompleteWindowBase::GUIStageCompleteWindowBase;

    void Update() override;
    void Open() override { m_pending = true; }
    void Close() override { m_pending = false; }

private:
    bool m_pending = false;
};

} // namespace Wispfold
