// The registry kind of radio buttons: a plain button so far. No factory makes one and no group joins them.
#pragma once

#include "GUIButton.h"

namespace KeystrelEngine {

class GUIRadioButton : public GUIButton
{
public:
    using GUIButton::GUIButton;
};

} // namespace KeystrelEngine
