// The measures of the design as real geometry, and the lines of its cross-section, shared by the shell,
// the port and the volume.
#pragma once

#include "boards/Boards.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kelvra::boards_detail
{

struct Design {
    double h2 = 0, l3 = 0, b2 = 0;          // outer measures, cm
    double ca = 90, cb = 90;                // degrees
    int thick0 = 0, thick1 = 0, thick2 = 0; // mm
    double lp = 0, dp = 0, bp = 0, hp = 0;  // cm
    int ports = 0, partitions = 0, woofers = 1;
    int ptype = 0, pwhere = 0, sub = 0, corr = 0;
    double subvol = 0; // litres
    int otherLitres = 0;
    char decimalSeparator = '.';
};

// The faces of the cross-section as x at height y: the rear and front, outer and inner.
struct Section {
    double t = 0; // shell board thickness, cm
    double h2 = 0, b2 = 0;
    double cotCa = 0, cotCb = 0, sinCa = 1, sinCb = 1;

    double rearOuter(double y) const { return y * cotCa; }
    double frontOuter(double y) const { return b2 - y * cotCb; }
    double rearInner(double y) const { return t / sinCa + y * cotCa; }
    double frontInner(double y) const { return b2 - t / sinCb - y * cotCb; }
    double innerWidth(double y) const { return frontInner(y) - rearInner(y); }
    double innerBottom() const { return t; }
    double innerTop() const { return h2 - t; }
    double innerHeight() const { return h2 - 2 * t; }
    // Area of the air's cross-section between the shell boards, cm².
    double innerArea() const { return (innerWidth(t) + innerWidth(h2 - t)) / 2 * innerHeight(); }
    std::vector<Point2> inner() const;
};

Section sectionOf(const Design& d);

// A board whose cross-section in x-y runs from z0 to z1.
std::vector<Point3> prism(const std::vector<Point2>& section, double z0, double z1);
// The polygon moved so that its bounding box starts at (0, 0); returns the bounding size.
Point2 normalise(std::vector<Point2>& outline);
Bevel bevelOf(double tiltDegrees);
double mmPrecision(double cm); // cm to 0.1 mm, halves to even

// The port's length inside the box: lp less the carrying panel's thickness along the port, cm.
double portRun(const Design& d, const Section& s);
// A slot that does not reach across its inner space, closed by a strip of its own.
bool portNeedsStrip(const Design& d, const Section& s);
std::optional<BoardsError> portFits(const Design& d, const Section& s);
// From the port's inner end to the wall it faces, cm; and the least that leaves the air room to turn
// (its smaller inner measure: the slot's width or height, the tube's diameter).
double portClearance(const Design& d, const Section& s);
double portClearanceNeeded(const Design& d);
// Adds the port wall and closing strip (rectangular port) or the hole (round port) to the boards;
// `names` are the port wall's and the strip's.
void addPort(const Design& d, const Section& s, std::span<const std::string> names, BoxBoards& out);
// What the ports take from the air inside the boards, cm3: their air and their boards' wood.
double portVolume(const Design& d, const Section& s);

// Keeps a notice and, for kelvra-calc and the exports, its English words among the warnings; those words.
const std::string& addNotice(BoxBoards& out, BoardsNotice notice, char decimalSeparator);

// Puts the woofers' cut-outs and the ports' holes and openings on their boards; refuses a cut-out that
// leaves too little board or a woofer that is too deep for the room behind the front.
std::optional<BoardsError> addHoles(const Design& d, const Section& s, const HoleSpec& wanted,
                                    BoxBoards& out);

} // namespace kelvra::boards_detail
