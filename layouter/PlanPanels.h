// The layouter's panels while "Best fit" shows the plan of the real boards: the picture shows the
// boards as they are cut, not the classic sizes, until the next RefreshPanels brings those back.
#pragma once

#include "boards/Boards.h"
#include "layouter/BestFit.h"
#include "layouter/PanelSet.h"

#include <array>
#include <string>

namespace kelvra
{

// Each panel whose board lies on the plan's first sheet goes to that board's place, turned as it
// lies, with the size of its placement rectangle and a caption of the board's real l and b under
// `names`; a panel whose board is not on that sheet (or not planned at all) is hidden. Boards without
// a panel of their own (partitions, second copies) are left to the drawing of their outlines.
void ShowPlanPanels(PanelSet& panels, const CutPlan& plan, const BoxBoards& boards,
                    const std::array<std::string, kPanelCount>& names, char decimalSeparator);

} // namespace kelvra
