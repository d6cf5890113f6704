// Argument handling of kelvra-calc.
#pragma once

#include "acoustics/Woofer.h"
#include "app/CalcReport.h"
#include "boards/Boards.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kelvra
{

struct CalcCliOptions {
    char decimalSeparator = '.';
    std::vector<std::pair<std::string, std::string>> sets; // KEY, TEXT in the order given
    bool json = false;
    std::optional<std::string> projectFile;
    std::optional<std::string> saveFile; // --save: the resulting design as a project file
    bool bestFit = false;                // --best-fit: add the Best fit cutting plan
    int sawThick = 2;                    // --saw: the saw thickness in mm, 2, 3 or 4
    bool sawGiven = false;               // else the settings file's "Thick"
    int sheetIndex = 1;                  // --sheet: the layouter's sheet size, 0..5 (5 the custom sheet)
    bool sheetGiven = false;             // else the settings file's "Size"
    SheetCm customSheet = kDefaultCustomSheet; // --sheet LxB
    Measure measure = Measure::Metric;         // --units: what --set and the text outputs measure in
    bool unitsGiven = false;                   // --json then tells "units" and "display"
    bool cutList = false;                      // --cut-list: the table of the boards to saw
    std::optional<std::string> svgFile;        // --svg: with --best-fit, the plan as a drawing
    bool batch = false;                        // --batch: designs from standard input, one JSON line each
    std::vector<std::string> targetFbs;        // --target-fb F, as typed, in the order given
    std::optional<std::string> curveCsv;       // --curve-csv FILE
    bool boards = false;                       // --boards: the real boards that build the box
    bool fitBoot = false;                      // --fit-boot: the best box for the woofers in a boot
    // The workshop files of the real boards' Best fit plan (the saw as for --best-fit).
    std::optional<std::string> exportSvg; // --export-svg: one drawing per sheet, "-2", "-3" for the rest
    std::optional<std::string> exportDxf; // --export-dxf: all sheets side by side, mm, for a CNC router
    std::optional<std::string> exportCsv; // --export-csv: the boards and the numbered cuts
    // The boards as solids with their holes, mm: binary STL and OBJ.
    std::optional<std::string> exportStl; // --export-stl
    std::optional<std::string> exportObj; // --export-obj
    bool solids() const { return exportStl || exportObj; }
    bool exports() const { return exportSvg || exportDxf || exportCsv; }
};

// The options, or the one-line message that names the bad argument.
struct CalcCliParse {
    CalcCliOptions options;
    std::string error;
    bool help = false;
};
CalcCliParse parseCalcCli(const std::vector<std::string>& args);

// Applies one KEY=TEXT as --set does, the text in `measure`; returns the error text, empty when it was
// applied.
std::string applySet(ModelInputs& inputs, const std::string& key, const std::string& text,
                     Measure measure = Measure::Metric, char decimalSeparator = '.');

// Reading a project file into the inputs and placement texts.
struct ProjectRead {
    std::string error;                 // empty when the file was read
    std::vector<std::string> warnings; // another format tag, values that took their defaults
};
// With `woofer`, the file's woofer section is read into it too.
ProjectRead readProjectInto(const std::string& path, char separator, ModelInputs& inputs,
                            LayoutStrings& layout, WooferTexts* woofer = nullptr);

// The --json object of a design; `acoustics`, when given, is its last member. With --boards, `boards`
// are the design's boards when the caller has built them already.
std::string designJson(const CalcRun& run, const LayoutStrings& layout, const CalcCliOptions& options,
                       const std::optional<std::string>& acoustics = std::nullopt,
                       const BoardsResult* boards = nullptr);

// Exit status: 0 ran to the end, 1 stopped with a message (or an empty input), 2 usage error.
int runCalcCli(int argc, char** argv);

} // namespace kelvra
