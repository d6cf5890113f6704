// The cutting plan of the boards that really build the box: Best fit of every board piece (a board
// with count 2 is two pieces), a trapezoid by its bounding rectangle, and two equal trapezoids nested
// head to tail on one strip wherever that needs less sheet. After the straight cuts of the plan, a
// slanted cut parts each nested pair and trims every trapezoid to its true outline.
#pragma once

#include "boards/Boards.h"
#include "layouter/BestFit.h"
#include "layouter/CutPlanText.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kelvra
{

struct BoardPlanResult {
    std::optional<BoxBoards> boards;        // the boards the plan cuts, when they could be built
    std::optional<CutPlan> plan;            // placements in board order, each board `count` times
    std::optional<BoardsError> boardsError; // the boards of the design cannot be built
    BestFitError planError;                 // meaningful when there are boards but no plan

    bool ok() const { return plan.has_value(); }
    std::string text() const; // the error as the user reads it
};

// The width of the strip that holds two equal trapezoids head to tail, one turned half round, with a
// kerf between them along the slanted edge they share; nothing for an outline that is no trapezoid
// with two level parallel edges. `outline` as the boards core gives it (y up, from (0, 0)).
std::optional<double> nestedStripWidth(const std::vector<Point2>& outline, double kerf);

BoardPlanResult planBoards(const BoxBoards& boards, double kerf,
                           std::span<const BestFitSheet> sheets = kStandardSheets);

// Builds the boards of the design (named by `names`, see buildBoards) and plans them.
BoardPlanResult planDesign(const ModelInputs& inputs, char decimalSeparator, double kerf,
                           std::span<const std::string> names = {},
                           std::span<const BestFitSheet> sheets = kStandardSheets);

// The cut plan in words with the bevel cuts after the plan's own cuts, numbered on: one per bevelled
// edge of every board piece, with the blade's tilt and the face the bevel leaves long.
CutPlanText describeBoardPlan(const CutPlan& plan, const BoxBoards& boards, char decimalSeparator,
                              Measure measure = Measure::Metric, const CutPlanWords& words = {});

// The names of the plan's boards, by board index, for describeCutPlan.
std::vector<std::string> boardNames(const BoxBoards& boards);

} // namespace kelvra
