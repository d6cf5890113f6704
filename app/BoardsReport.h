// The real boards of a design in kelvra-calc's reports: the JSON members and the cut list.
#pragma once

#include "app/Json.h"
#include "boards/Boards.h"
#include "units/Units.h"

#include <string>

namespace kelvra
{

// Adds "boards", "innerVolumeExact", "netVolumeExact" and, when there are any, "boardsWarnings"; a
// design whose boards cannot be built gets "boardsError" instead.
void addBoardsJson(json::Object& report, const BoardsResult& result);

// The cut list: one line a board with its count, size, thickness and bevels, then the volumes.
// Sizes in cm and mm, or in inches to 1/16" and cubic feet with `measure` imperial.
std::string humanBoards(const BoxBoards& boards, char decimalSeparator, Measure measure = Measure::Metric);

} // namespace kelvra
