// The port of the enclosure design as the acoustics see it.
#pragma once

#include "acoustics/Acoustics.h"
#include "calc/Model.h"

namespace kelvra
{

// The port count (`cmbPieces(2)`), shape (`cmbPortType`, 0 = round) and the texts of lp, dp, bp, hp read
// with the user's separator. Only the measures the shape uses are read; with no port none is. Errors
// name the key ("pieces2", "lp", "dp", "bp", "hp").
Checked<Port> designPort(const ModelInputs& inputs, char decimalSeparator, EndCorrection endCorrection);

// The warning that the port length `lengthCm` that tunes to `targetFb` is longer than the box has room
// for: the boards of the design with that length refuse the port as too long, and their limit is the room.
std::optional<SoundWarning> targetPortRoom(const ModelInputs& inputs, char decimalSeparator, double lengthCm,
                                           double targetFb);

} // namespace kelvra
