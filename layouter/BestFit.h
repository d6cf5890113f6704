// "Best fit": an exact guillotine cutting plan for the layouter's boards. Every cut runs straight
// through the piece it splits, as a panel saw, table saw or track saw cuts; a board may be turned;
// one kerf lies between neighbouring boards and none at the sheet's edges.
#pragma once

#include "layouter/Sheets.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kelvra
{

// One board as the panel set sizes it, unturned: width and height in cm as the layouter shows it.
struct BestFitBoard {
    std::string key;
    double width = 0;
    double height = 0;
};

// A standard sheet in cm, as the layouter shows it: width across, height down (122 high).
struct BestFitSheet {
    double width = 0;
    double height = 0;
};

// The three standard sheets in the order of the sheet-size menu: 122x61, 122x244, 122x305.
inline constexpr std::array<BestFitSheet, 3> kStandardSheets = {{{61, 122}, {244, 122}, {305, 122}}};

// A rectangle on a sheet in cm from the sheet's top-left corner.
struct CutRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double area() const { return width * height; }
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

// A point on a sheet in cm from its top-left corner.
struct SheetPoint {
    double x = 0;
    double y = 0;
};

struct BoardPlacement {
    std::string key;
    int board = 0; // index in the boards given
    int sheet = 0; // 0 for the first sheet
    CutRect rect;  // as it lies, turned or not
    bool turned = false;
    int piece = 0;                   // id of the piece that the cuts leave as this board
    int copy = 0;                    // 0 for the first of a board that is needed more than once
    int nestedWith = -1;             // placement that shares its strip head to tail, if any
    std::vector<SheetPoint> outline; // the board as cut, on the sheet: the rectangle or its true shape
};

// A piece of board during sawing: a whole sheet or a part that a cut made.
struct CutPiece {
    int id = 0; // the sheets are pieces 1..sheetCount, each cut numbers its parts after those
    int sheet = 0;
    CutRect rect;
};

struct Cut {
    int n = 0; // 1, 2, ... in the order of sawing
    int sheet = 0;
    int piece = 0;         // id of the piece it splits
    bool vertical = false; // runs from the piece's top edge to its bottom edge
    double offset = 0;     // from the piece's left (vertical) or top edge to the near side of the kerf
    // The centre line of the kerf, from edge to edge of the piece, in cm on the sheet.
    double fromX = 0, fromY = 0, toX = 0, toY = 0;
    double length = 0;
    int firstPart = -1;  // id of the left or upper part
    int secondPart = -1; // id of the right or lower part; -1 when the kerf eats the rest
    // A slanted cut shapes a board inside its piece: it parts two nested boards or trims one to its
    // true outline. It runs straight from edge to edge of the piece at `angle` degrees to the edges
    // it crosses; `boards` are the placements it frees, and it leaves no new rectangular pieces.
    bool slanted = false;
    double angle = 90;
    std::vector<int> boards;
};

struct CutPlan {
    int sheetIndex = 0; // index in the sheets given
    int sheetCount = 0;
    BestFitSheet sheet;
    double kerf = 0;
    std::vector<BoardPlacement> placements; // in the order of the boards given
    std::vector<CutPiece> pieces;           // every piece by id, the sheets first
    std::vector<Cut> cuts;                  // in the order of sawing
    std::vector<CutPiece> offcuts;          // the left-over rectangles, largest first
    double cutLength = 0;
    double wastePercent = 0; // of the area of the sheets used, kerfs included

    double largestOffcut() const { return offcuts.empty() ? 0.0 : offcuts.front().rect.area(); }
    const CutPiece* piece(int id) const;
};

// TooMany: the exact search is for the layouter's handful of boards, at most kMaxBestFitBoards.
enum class BestFitFault { NoBoards, BadSize, TooLarge, BadKerf, TooMany };
inline constexpr int kMaxBestFitBoards = 10;

struct BestFitError {
    BestFitFault fault = BestFitFault::NoBoards;
    std::string key; // the board concerned, if any
    std::string text() const;
};

struct BestFitResult {
    std::optional<CutPlan> plan;
    BestFitError error; // meaningful only without a plan

    bool ok() const { return plan.has_value(); }
};

// The plan on the smallest sheet that holds all boards; where none does, on the fewest sheets of
// one size, then the smallest. Among those plans the one whose largest left-over rectangle is the
// biggest. The sheets may come in any order; kerf is in cm.
BestFitResult BestFit(std::span<const BestFitBoard> boards, double kerf,
                      std::span<const BestFitSheet> sheets = kStandardSheets);

// The kerf in cm of a saw thickness number (2, 3 or 4 mm, 5 for 1/8", 6 for 3/32").
inline double kerfOfSawThick(int sawThick)
{
    return kerfMm(sawThick) / 10.0;
}

} // namespace kelvra
