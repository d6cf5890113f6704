// The faults of a design's inputs in plain words, for the main window: what is wrong, and which input
// box holds it, instead of a number the builder cannot act on.
#pragma once

#include "boards/Boards.h"
#include "calc/Model.h"

#include <optional>
#include <string>

namespace kelvra
{

struct InputFault {
    std::string text; // one or two sentences naming the board and the measure
    // The model key of the box that holds the fault ("ca", "thick0", "lp"); empty when no single box
    // does (the end panels crossing each other, say).
    std::string key;
    bool operator==(const InputFault&) const = default;
};

// The first fault that keeps the box from being built: a measure that is not a number or not above 0,
// an angle outside 1 to 179 degrees, a board thicker than half a side, a port that does not fit.
// nullopt when the boards can be built. In English, or in the given words.
std::optional<InputFault> findInputFault(const ModelInputs& in, char decimalSeparator,
                                         const RefusalWords& words = {});

} // namespace kelvra
