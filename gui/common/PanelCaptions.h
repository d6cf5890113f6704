// The boards' names as the main window's figure shows them, so every window names a board alike.
#pragma once

#include "layouter/PanelSet.h"

#include <array>
#include <string>

namespace kelvra
{

class MainWindowHost;

// The figure's panel captions (they follow the language file), or the built-in names where the main
// window has no such caption.
std::array<std::string, kPanelCount> panelCaptions(MainWindowHost& host);

} // namespace kelvra
