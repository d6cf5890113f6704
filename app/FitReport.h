// kelvra-calc --fit-boot: the best box for the design's woofers in a boot, and the front of the others.
#pragma once

#include "acoustics/Woofer.h"
#include "calc/Model.h"

#include <string>
#include <utility>
#include <vector>

namespace kelvra
{

// Runs the search from the design (woofers, boards, correction), the woofer's texts and the search's own
// KEY=TEXT; prints the report or with `json` the object with `fit`. Exit status as kelvra-calc's.
int runFitBoot(const ModelInputs& design, const WooferTexts& woofer,
               const std::vector<std::pair<std::string, std::string>>& fitSets, char separator, bool json);

} // namespace kelvra
