// The boards that really build the box: sizes, outlines, bevels and positions from the model's input
// texts, with true pi and the exact angles (the classic calculation keeps its 3.14 and its rounding).
//
// Joinery: the left and right sides are full outer trapezoids that run through and cover every other
// board's ends; between them the bottom runs under and the top over everything, both across the full
// outer width with their ends bevelled to the sloped faces, and the rear and front stand on the bottom
// under the top with level-cut (bevelled) feet and heads.
//
// Coordinates of a board's `solid` (cm): x across the width from the rear panel's outer foot towards the
// front, y up from the bottom's outer face, z along the length from the left side's outer face.
#pragma once

#include "calc/Model.h"

#include <array>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvra
{

struct Point2 {
    double x = 0, y = 0; // cm, in the board's own plane
};
struct Point3 {
    double x = 0, y = 0, z = 0; // cm, in the assembled box
};

// The saw blade's tilt from square for one edge, in degrees to 0.1. Most saws tilt to 45 at most; a
// steeper bevel is marked and gives the complementary tilt (90 - degrees) that cuts the same joint with
// the board on its edge.
struct Bevel {
    double degrees = 0;
    bool beyondSaw = false;
    double complementary = 0;
};

// A hole sawn through a board, in the board's outline coordinates (cm from its lower left corner).
struct BoardHole {
    std::string kind; // "woofer", "port" (a round port) or "slot" (a slot port's opening)
    Point2 center;
    double diameter = 0;         // round holes
    std::vector<Point2> outline; // a slot's corners, counter-clockwise
};

struct Board {
    std::string key;  // front, rear, top, bottom, left, right, port, partition1, partition2, ...
    std::string name; // the figure's panel caption
    int count = 1;
    int thicknessMm = 0;
    // Finished size in cm to 0.1 mm: the bounding size in the board's own plane, over the long points
    // of its bevels (the blank to cut before tilting the blade). Length runs along the box (z) for front,
    // rear, top and bottom, across the width (x) for the sides, the partitions and the port wall.
    double length = 0, breadth = 0;
    // Polygon in cm, counter-clockwise, from (0, 0) of the bounding size. Front, rear, top and bottom:
    // the blank, length along x; its edge 0 is the foot (front, rear) or the rear edge (top, bottom),
    // edge 2 the head or the front edge, edges 1 and 3 the ends against the sides. Sides, partitions
    // and the port wall: their shape as seen from the left, edge 0 at the bottom.
    std::vector<Point2> outline;
    std::vector<Bevel> bevels; // one per outline edge, edge i runs outline[i] -> outline[i + 1]
    std::vector<Point3> solid; // corner points of one board as it sits in the box: the corners of its
                               // cross-section at its lower z (or y for a lying port wall), then the
                               // same corners at its upper one
    std::vector<BoardHole> holes;
    bool isTrapezoid() const; // an outline of four edges that is not a rectangle
};

// The hole of a round port, sawn into the panel that carries it.
struct PortHole {
    std::string panelKey;
    double diameter = 0;
    int count = 0;
};

// The mouth of a rectangular (slot) port: an opening of width x height at the left end of the panel
// that carries it (side ports: at its rear-bottom corner).
struct PortSlot {
    std::string panelKey;
    double width = 0, height = 0;
    int count = 0;
};

enum class BoardsFault {
    BadNumber,     // a measure that is not a number
    NotPositive,   // a measure of 0 or below where the box needs one
    ZeroAngle,     // an angle of 0
    BadAngle,      // an angle below 0 or from 180 on
    TopCrossed,    // the end panels cross below the top, or within the boards
    TooThick,      // a board thicker than half the side it closes, or partitions that fill the box
    PortTooLong,   // longer than its panel and the inner space behind it
    PortTooHigh,   // higher than the inner space it crosses
    PortTooWide,   // the slots with their walls wider than the panel that carries them
    TooLarge,      // a measure that would leave the range of numbers
    HoleTooClose,  // a cut-out leaves less than 1 cm of board to an edge or to its neighbour
    WooferTooDeep, // the woofer's mounting depth reaches the wall behind it
};

// Every name of a board or a measure a refusal can carry, in English, numbered for translation;
// "partition wall %1" takes the wall's number.
inline constexpr std::array<const char*, 52> kRefusalPhrases = {
    "the box",
    "the front panel",
    "the rear panel",
    "the top",
    "the bottom",
    "the left side",
    "the right side",
    "the port",
    "the port's closing strip",
    "partition wall %1",
    "the height h2",
    "the length l3",
    "the width b2",
    "the rear-seat angle ca",
    "the front angle cb",
    "the board thickness thick0",
    "the partition board thickness thick1",
    "the port board thickness thick2",
    "the port length lp",
    "the port diameter dp",
    "the port width bp",
    "the port height hp",
    "the maker's volume subvol",
    "the other volume vother",
    "the top's outer width",
    "the end panels cross below the top:",
    "twice the board thickness thick0",
    "the end panels' thickness across the bottom",
    "the inner width under the top",
    "the end panels cross inside the boards:",
    "the partition walls together",
    "the inner length",
    "a measure of the box",
    "the woofer's cut-out diameter cutout",
    "the woofer's mounting depth mountdepth",
    "the cut-outs side by side",
    "the panel's ends and each other",
    "the cut-outs",
    "the panel's foot and head",
    "the woofer's mounting depth",
    "the room behind the front at the woofer",
    "the carrying panel's thickness",
    "its panel and the inner space behind it",
    "the inside of its panel",
    "the port diameters side by side",
    "the inner space it crosses",
    "the port height hp with its closing strip",
    "the port widths bp with their walls",
    "the inside of the panel that carries them",
    "its panel and the room up to the nearest partition wall",
    "the room up to partition wall 1",
    "the port's openings, the panel's end and each other"};

// The words of a refusal. The sentences take %1 the board, %2 the measure and then the figures (and
// the measure compared with); a phrase left empty stays English.
struct RefusalWords {
    std::array<std::string, 9> sentences = {
        "%1: %2 is not a number.",
        "%1: %2 is %3; it must be more than 0.",
        "%1: %2 is 0 degrees; the panel would lie flat on the bottom.",
        "%1: %2 is %3 degrees; it must be more than 0 and less than 180.",
        "%1: %2 %3 would be %4 cm.",
        "%1: %2 is too large to build.",
        "%1: %2 leave %3 cm of board to %4, less than %5 cm.",
        "%1 does not fit: %2 is %3 cm, more than %4 of %5 cm.",
        "%1: %2 is %3 degrees; it must be from 1 to 179 degrees.",
    };
    std::array<std::string, kRefusalPhrases.size()> phrases;
    // The phrase in these words: "the rear panel" or its translation; a phrase not in the list as it is.
    std::string phrase(std::string_view english) const;
    // The board of a key as a refusal names it ("the rear panel", "partition wall 2").
    std::string boardPhrase(const std::string& key) const;
    // The same at the head of a sentence ("The rear panel").
    std::string subject(const std::string& key) const;
};
enum RefusalSentence : std::size_t {
    kRefuseBadNumber,
    kRefuseNotPositive,
    kRefuseZeroAngle,
    kRefuseBadAngle,
    kRefuseCrossed,
    kRefuseTooLarge,
    kRefuseTooClose,
    kRefuseDoesNotFit,
    kRefuseAngleRange
};

struct BoardsError {
    BoardsFault fault = BoardsFault::BadNumber;
    std::string board;   // board key
    std::string measure; // what is wrong, in the user's words
    double value = 0, limit = 0;
    std::string limitMeasure;    // what the value is compared with
    char decimalSeparator = '.'; // for the numbers of the text
    // One sentence naming the board and the measure, in English or in the given words.
    std::string text(const RefusalWords& words = {}) const;
};

// Something the builder should know about boards that can be built.
struct BoardsNotice {
    enum class Kind {
        TakesTooMuch,  // the woofers, port, partitions and other volume take more than the inside
        CutoutGuess,   // the usual cut-out does not fit on the front (value: the cut-out, cm)
        PortClearance, // the port ends too near the wall it faces (value: the room, limit: the least, cm)
    };
    Kind kind = Kind::TakesTooMuch;
    double value = 0, limit = 0;
    bool roundPort = true;
};

// The words of the notices and hole lines, with %1, %2 ... for the figures. The defaults are the
// English of the exports and kelvra-calc; a window passes its own, translated ones.
struct BoardsWords {
    std::string takesTooMuch = "The woofers, the port, the partitions and the other volume take more room "
                               "than the box has inside.";
    std::string cutoutGuess =
        "The woofers' usual cut-out of \u00d8 %1 cm does not fit on the front; type the "
        "woofer's cut-out to place it.";
    std::string clearanceRound = "The port ends %1 cm from the wall it faces; leave at least %2 cm (its "
                                 "diameter) for the air to turn.";
    std::string clearanceSlot =
        "The port ends %1 cm from the wall it faces; leave at least %2 cm (its smaller "
        "inner measure) for the air to turn.";
    std::string wooferHole = "%1: woofer cut-out \u00d8 %2 cm, centre %3 cm across, %4 cm up";
    std::string portHole = "%1: port hole \u00d8 %2 cm, centre %3 cm across, %4 cm up";
    std::string slotHole = "%1: slot opening %2 x %3 cm, from %4 cm across, %5 cm up";
};
// `pattern` with %1 ... %9 replaced by the figures in turn.
std::string withFigures(std::string_view pattern, std::initializer_list<std::string> figures);
std::string noticeText(const BoardsNotice& notice, char decimalSeparator, const BoardsWords& words = {});

struct BoxBoards {
    // Shell boards in the order front, rear, top, bottom, left, right; then the port wall and the
    // partitions (one entry per wall, partition1..).
    std::vector<Board> boards;
    std::optional<PortHole> portHole;
    std::optional<PortSlot> portSlot;
    double innerVolumeExact = 0; // litres of air inside the shell boards
    // Litres the woofer sees: the air inside the shell boards less the woofers' displacement, the ports
    // (their air and the wood of their boards inside the box), the partition walls and the other
    // volume, times the correction factor.
    double netVolumeExact = 0;
    std::optional<double> portClearance; // cm from the port's inner end to the wall it faces
    // Set when that leaves the air less room than the port's smaller inner measure; also in warnings.
    std::optional<std::string> clearanceWarning;
    std::vector<std::string> warnings;
    std::vector<BoardsNotice> notices; // the warnings as figures, for a window to word them itself
};

struct BoardsResult {
    std::optional<BoxBoards> boards;
    BoardsError error;
    bool ok() const { return boards.has_value(); }
};

inline constexpr int kShellBoardCount = 6;

// The woofers' holes as typed, cm in the user's number format: the cut-out diameter (empty: the usual
// cut-out of the woofer's size) and the mounting depth (empty: not checked).
struct HoleSpec {
    std::string cutout;
    std::string mountdepth;
};
// The usual cut-out of a woofer of a size position of the size list (6" to 18"), cm.
double defaultCutout(int sizePosition);
// Every hole of every board, one line each, with its place from the board's lower left corner:
// "Voorzijde: woofer cut-out Ø 23,4 cm, centre 18,2 cm across, 18,2 cm up".
std::vector<std::string> holeLines(const BoxBoards& boards, char decimalSeparator,
                                   const BoardsWords& words = {});
// The least board a cut-out leaves to an edge or its neighbour, cm.
inline constexpr double kHoleMargin = 1;

// The key and built-in name of the strip that closes a slot port's open side.
inline constexpr const char* kPortStripKey = "portstrip";
inline constexpr const char* kPortStripName = "Poortstrook";

// The boards of the design. `names` are the captions of the figure's panel labels in board-key order
// (front, rear, top, bottom, left, right, port); empty gives the built-in Dutch captions.
// `holes` places the woofers' cut-outs on the front; the ports' holes and openings are always placed.
BoardsResult buildBoards(const ModelInputs& in, char decimalSeparator,
                         std::span<const std::string> names = {}, const HoleSpec& holes = {});

// The exact net volume in litres (unrounded) of the boards of the design; nothing when they cannot be
// built.
std::optional<double> exactNetVolume(const ModelInputs& in, char decimalSeparator);

// A board's size as the cut list shows it: cm to 1 mm in the given separator ("36,4").
std::string boardSizeText(double cm, char decimalSeparator);

} // namespace kelvra
