// The curve as a CSV file, the same for kelvra-calc's --curve-csv and the sound window's export.
#pragma once

#include "acoustics/Acoustics.h"

#include <string>

namespace kelvra
{

// One row a frequency (f, spl, splCabin, excursion, portSpeed, maxSpl, maxPower,
// impedance, impedancePhase, groupDelay), CRLF line ends, numbers with
// `separator` as the decimal separator; with a decimal comma the columns are parted by ";".
std::string curveCsv(const Curve& curve, char separator);

} // namespace kelvra
