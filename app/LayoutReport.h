// The layouter's sheet as kelvra-calc reports it: the layout the window shows right after opening,
// its JSON members, a drawing of the sheet and the cut list for the saw.
#pragma once

#include "app/CalcCli.h"
#include "app/CalcReport.h"
#include "app/Json.h"
#include "layouter/AutoFit.h"

#include <optional>
#include <string>

namespace kelvra
{

// The saw thickness (mm) and the sheet-size index the layouter opens with.
struct LayoutChoice {
    int sawThick = kDefaultSawThick;
    int sheetIndex = kDefaultSheetSize;
    SheetCm customSheet = kDefaultCustomSheet;

    bool operator==(const LayoutChoice&) const = default;
};

// The "Thick" and "Size" of the settings file kelvra.ini in the folder, read as the window reads
// them: a missing file or key, or a text naming no menu item, gives the default.
LayoutChoice layoutSettingsIn(const std::string& folder, char decimalSeparator);

// The options with the settings file's choices where --saw or --sheet was not given.
CalcCliOptions withLayoutSettings(CalcCliOptions options, const std::string& folder);

// The folder of the running tool; "." when it cannot be told.
std::string toolFolder(const char* argv0);

// The folder of the settings file the window uses: kelvra.ini beside the tool, or the user's
// configuration folder when the tool's folder cannot be written, as the window chooses it.
std::string toolSettingsFolder(const char* argv0);

// The sheet, panels and cut lines as the window shows them after opening on this design with these
// settings and the project's placement texts; nothing when the design did not run to the end.
// The cut lines are those "Auto fit" draws with "Lines" on; a restored layout has none.
std::optional<LayoutView> openedLayout(const CalcRun& run, const LayoutStrings& layout,
                                       const LayoutChoice& choice);

// Adds "sheet", "panels" and "cutLines" (each null without a layout).
void addLayoutJson(json::Object& report, const std::optional<LayoutView>& view);

// The sheet drawn to scale (1 cm of the sheet is 1 cm of the drawing): outline, visible panels with
// their captions, cut lines.
std::string layoutSvg(const LayoutView& view);

// Writes layoutSvg of the opened layout; false, with a message on stderr, when it cannot be written.
// Nothing is written when the design did not run to the end: there is no sheet to draw.
bool writeLayoutSvg(const std::string& path, const CalcRun& run, const LayoutStrings& layout,
                    const LayoutChoice& choice);

// One row per visible board: name, length and breadth in cm (or inches to 1/16"), turned.
std::string cutListText(const LayoutView& view, char decimalSeparator, Measure measure = Measure::Metric);

} // namespace kelvra
