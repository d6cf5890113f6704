// The seven boards of the layouter: their sizes from the model, the turned flags, the port cut, the
// captions and the port's visibility. Sizes and positions are pixels on the sheet at `pxPerCm`.
#pragma once

#include "calc/Model.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvra
{

// The layouter's one fixed scale.
inline constexpr Fixed pxPerCm = Fixed::fromInt(3);

inline constexpr int kPanelCount = 7;
enum PanelIndex : int { kFront = 0, kRear, kTop, kBottom, kLeft, kRight, kPort };

// The keys under which project files store each board, in board order.
inline constexpr std::array<std::string_view, kPanelCount> kPanelKeys = {"front", "rear",  "top", "bottom",
                                                                         "left",  "right", "port"};
// The panel rectangles' control names.
inline constexpr std::array<std::string_view, kPanelCount> kPanelShapeNames = {
    "shFront", "shRear", "shTop", "shBottom", "shLeft", "shRight", "shPort"};
// The main-window figure labels whose captions name the boards, and their built-in texts.
inline constexpr std::array<int, kPanelCount> kPanelNameLabels = {0, 3, 1, 5, 2, 6, 4};
inline constexpr std::array<std::string_view, kPanelCount> kPanelNames = {
    " Voorzijde ", " Achterzijde ", "Bovenzijde ", "Onderzijde ", "Zij links", "Zij rechts", "Poort"};

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;

    bool operator==(const Rgb&) const = default;
};

inline constexpr std::array<Rgb, kPanelCount> kPanelColours = {{{128, 255, 128},
                                                                {128, 128, 255},
                                                                {128, 255, 128},
                                                                {128, 128, 255},
                                                                {128, 255, 128},
                                                                {128, 128, 255},
                                                                {255, 255, 128}}};

// The size every panel has before the model first sizes it; the side panels of a sloped enclosure
// keep it.
inline constexpr float kUnsizedPanelPx = 25;

// One board on the sheet. `turned` is 1 for a quarter turn, 0 otherwise.
struct Panel {
    float left = 0;
    float top = 0;
    float width = kUnsizedPanelPx;
    float height = kUnsizedPanelPx;
    std::int16_t turned = 0;
    bool visible = true;
    std::string caption;

    bool operator==(const Panel&) const = default;
};

using PanelSet = std::array<Panel, kPanelCount>;

// The bounding rectangle of the real side boards in cm: l across the box's width, b up its height.
struct SideSize {
    Fixed l;
    Fixed b;

    bool operator==(const SideSize&) const = default;
};

// A real board's bounding rectangle as a panel takes it: l and b in cm.
struct RealBoardSize {
    std::string key;
    Fixed l;
    Fixed b;

    bool operator==(const RealBoardSize&) const = default;
};

// What the panel set reads from the main window: the last recalculation's measures, the list
// positions of cmbPieces(2) and cmbPortWhere, and the captions of the naming labels.
struct PanelModel {
    DerivedMeasures derived;
    int portCountPosition = 0;
    int portWhere = 0;
    // The boards as they are sawn: every panel takes its board's bounding rectangle. Nothing when the
    // boards of the design cannot be built; the panels then keep the classic measures.
    std::optional<std::vector<RealBoardSize>> realBoards;
    std::array<std::string, kPanelCount> names{std::string(kPanelNames[0]), std::string(kPanelNames[1]),
                                               std::string(kPanelNames[2]), std::string(kPanelNames[3]),
                                               std::string(kPanelNames[4]), std::string(kPanelNames[5]),
                                               std::string(kPanelNames[6])};
};

// `decimalSeparator` reads the input texts for the real side boards.
PanelModel panelModelOf(const DerivedMeasures& derived, const ModelInputs& inputs, char decimalSeparator);

// The bounding rectangle of the real side boards of the design; nothing when they cannot be built.
std::optional<SideSize> realSideSize(const ModelInputs& inputs, char decimalSeparator);

// Every real board of the design as the panels take it, in the boards' order: front and rear stand (l
// along the box), top, bottom, sides, partitions and the port's strip lie with l along their length,
// the port wall's l is its height hp across the slot. Nothing when the boards cannot be built.
std::optional<std::vector<RealBoardSize>> realBoardSizes(const ModelInputs& inputs, char decimalSeparator);

// The l and b sides of a rectangle as pixels: front and rear stand upright (l down), the others lie
// (l across); a turn exchanges them.
float lSide(const Panel& panel, int index);
float bSide(const Panel& panel, int index);

// Sizes one panel (board `index`) from the model and its turned flag and applies the port cut; the
// caption, position and visibility stay as they are.
void SizePanel(Panel& panel, int index, const PanelModel& model);

// Sizes every panel as SizePanel does and rewrites every caption. Positions and visibility stay as
// they are.
void RefreshPanels(PanelSet& panels, const PanelModel& model, char decimalSeparator);

// Shows the port panel only for a port the builder has to saw: a rectangular one.
bool portPanelShown(const PanelModel& model);
void UpdatePortVisibility(PanelSet& panels, const PanelModel& model);

// The caption's top-left corner inside its panel, centring a label of the given size.
struct LabelOffset {
    float x = 0;
    float y = 0;
};
LabelOffset centredLabel(const Panel& panel, float labelWidth, float labelHeight);

// A side's length in cm as the caption writes it: pixels / pxPerCm to one decimal, halves to even.
double captionCm(float sidePx);

// A panel's caption: name, CR LF, "l:", l, "cm", CR LF, "b:", b, "cm", both in cm to one decimal
// (halves to even) in the user's number format without trailing zeros.
std::string panelCaption(std::string_view name, double lCm, double bCm, char decimalSeparator);

} // namespace kelvra
