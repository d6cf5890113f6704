// The placement texts that carry the layout between the layouter and project files, and the
// layouter's open and close sequences on its state.
#pragma once

#include "layouter/AutoFit.h"

#include <string>
#include <string_view>

namespace kelvra
{

// Top + "x" + Left + "x" + turned, positions as single-precision texts in the user's format:
// "0x112,2x0".
std::string placementText(const Panel& panel, char decimalSeparator);

struct Placement {
    std::int16_t top = 0;
    std::int16_t left = 0;
    std::int16_t turned = 0;

    bool operator==(const Placement&) const = default;
};

// The three parts of a placement text, each rounded to a whole number (halves to even). Nothing for
// a text with fewer than three parts, a part that is no number in the user's format or lies outside
// the 16-bit range, or a turned flag other than 0 and 1.
std::optional<Placement> parsePlacement(std::string_view text, char decimalSeparator);

// Puts a panel where its text says. A text that cannot be read leaves the panel and its flag as they
// were, and returns false.
bool RestorePanel(std::string_view text, Panel& panel, std::int16_t& turned, char decimalSeparator);

// What opening the layouter applied, for the settings file.
struct OpenedLayout {
    int sawThick = kDefaultSawThick;
    int sheetIndex = kDefaultSheetSize;
    bool restored = false; // the saved placements were taken up
    bool autoFitted = false;
};

// The open sequence on a freshly created view: the saved "Thick", then the saved "Size" (each laid
// out as if chosen from its menu), then the saved placements when all six of the sawn boards have
// one, else a fresh "Auto fit" when none has.
OpenedLayout OpenLayout(LayoutView& view, const PanelModel& model, std::string_view thickSetting,
                        std::string_view sizeSetting, const LayoutStrings& layoutStrings,
                        char decimalSeparator);

// The seven placement texts of the close; the spare eighth text stays as it is.
void RecordLayout(const PanelSet& panels, LayoutStrings& layoutStrings, char decimalSeparator);
// The texts of the boards beyond the seven, under their keys; boards the design no longer has lose theirs.
void RecordExtraLayout(const ExtraPanels& extras, LayoutStrings& layoutStrings, char decimalSeparator);

} // namespace kelvra
