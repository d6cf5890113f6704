// The boards Best fit plans, from the model: the six panels and the port board when the layouter
// shows it, each unturned, sized as the layouter's panel set sizes them.
#pragma once

#include "calc/Model.h"
#include "layouter/BestFit.h"
#include "layouter/PanelSet.h"

#include <optional>
#include <vector>

namespace kelvra
{

// A side panel of a sloped enclosure without real side boards has no size of its own; it keeps the
// 25 x 25 pixels it is created with, 25 / 3 cm at 3 pixels per cm.
inline constexpr double kUnsizedPanelCm = 25.0 / 3.0;

// `portCountPosition` and `portWhere` are the list positions of cmbPieces(2) and cmbPortWhere; a
// sloped box's side panels take `realSides` when given, as the panel set sizes them.
std::vector<BestFitBoard> bestFitBoards(const DerivedMeasures& d, int portCountPosition, int portWhere,
                                        const std::optional<SideSize>& realSides = std::nullopt);

} // namespace kelvra
