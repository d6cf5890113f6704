// The boards window's texts, apart from the window: one row of the board list per board and the
// volume lines, in the user's number format.
#pragma once

#include "boards/Boards.h"
#include "units/Units.h"

#include <string>
#include <vector>

namespace kelvra
{

struct BoardRow {
    std::string name;      // the figure's caption, trimmed; the key when there is none
    std::string count;     // "2"
    std::string size;      // length x breadth in cm to 1 mm: "40 x 36,4"
    std::string thickness; // "18 mm"
    // "square", or the tilt of every bevelled edge: "edge 2: 20°; edge 4: 70° * 20°"; a trapezoid first
    // gives its four edges: "trapezoid 40 / 40 / 25,4 / 42,6; square"
    std::string bevels;
    bool beyondSaw = false;
};

// The words of the rows and lines, with %1, %2 ... for the figures. The defaults are English; the
// boards window passes the ones of its language.
struct BoardWords {
    std::string square = "square";
    std::string edge = "edge %1: %2";
    std::string trapezoid = "trapezoid %1";
    std::string portHole = "Port: %1 round hole of \u00d8 %2 cm in %3";
    std::string portHoles = "Port: %1 round holes of \u00d8 %2 cm in %3";
    std::string portSlot = "Port: %1 slot opening of %2 x %3 cm in %4";
    std::string portSlots = "Port: %1 slot openings of %2 x %3 cm in %4";
    std::string volumes = "Exact inner volume: %1 litres, exact net volume: %2 litres";
    std::string hole = "Hole, %1";
    std::string beyondSaw =
        "* beyond 45\u00b0, further than most saws tilt: the second angle, with the board on "
        "its edge, cuts the same joint.";
    std::string longOutside = "long outside";
    std::string longInside = "long inside";
    std::string outlinesHint =
        "Red edges are bevelled: edge number, the blade's tilt from square and the face the "
        "bevel leaves long.";
    std::string sheetCaption = "Sheet %1 of %2, %3";
    BoardsWords core;
};

// Sizes in cm and mm, or in inches to 1/16" with `measure` imperial.
BoardRow boardRow(const Board& board, char decimalSeparator, Measure measure = Measure::Metric,
                  const BoardWords& words = {});
// One length of a board as the rows show it: cm, or inches to 1/16".
std::string boardLengthText(double cm, Measure measure, char decimalSeparator);

// The exact inner and net volume, then the core's warnings (a port too near the wall it faces ...).
std::vector<std::string> volumeLines(const BoxBoards& boards, char decimalSeparator,
                                     const BoardWords& words = {});

// Where the port goes through its panel: the round holes' diameter, the slot's opening.
std::vector<std::string> portLines(const BoxBoards& boards, char decimalSeparator,
                                   const BoardWords& words = {});

// The names the core gives the boards when the captions are trimmed of their padding.
std::string trimmedName(const std::string& caption);

} // namespace kelvra
