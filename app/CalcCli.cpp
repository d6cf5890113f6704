#include "app/CalcCli.h"

#include "app/AcousticsReport.h"
#include "app/Batch.h"
#include "app/BoardsReport.h"
#include "app/CalcReport.h"
#include "app/FitReport.h"
#include "app/LayoutReport.h"
#include "fit/FitTexts.h"
#include "layouter/BoardExports.h"
#include "layouter/CutPlanText.h"
#include "persist/ProjectFile.h"
#include "solid/MeshFiles.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace kelvra
{

namespace
{

constexpr const char* kUsage =
    "usage: kelvra-calc [--decimal ,|.] [--units cm|in] [--set KEY=TEXT]... [--json] [--best-fit]\n"
    "                   [--saw 2|3|4|1/8|3/32] [--sheet 0|1|2|4x8ft|5x5ft|LxB] [--cut-list] [--svg FILE] "
    "[--save FILE.tbx] [--boards]\n"
    "                   [--target-fb F]... [--curve-csv FILE] [--export-svg FILE] [--export-dxf FILE]\n"
    "                   [--export-csv FILE] [--export-stl FILE] [--export-obj FILE] [PROJECT.tbx]\n"
    "       kelvra-calc --fit-boot [--decimal ,|.] [--set KEY=TEXT]... [--json] [PROJECT.tbx]\n"
    "       kelvra-calc --batch [--decimal ,|.] [--set KEY=TEXT]... [--best-fit] [--saw 2|3|4] [--boards]\n"
    "  KEY is a model key (h2, l3, b2, ca, cb, lp, dp, bp, hp, thick0..2, subvol, vother);\n"
    "  the list keys sub, pieces0..2, ptype, pwhere, corr take a list position.\n"
    "  The woofer keys fs (Hz), qts, qes, qms, vas (l), sd (cm2), xmax (mm), re (ohm), pe (W), le (mH),\n"
    "  coils 1|2, z 1|2|4|8 (ohm per coil) and ql (box losses, 7), endcorr 0|1|2 (port ends 0.614,\n"
    "  0.732, 0.850), car 0|1|2|3 (none, compact, midsize, van), power (W in all, 1), coilwiring 0|1\n"
    "  (series, parallel), wiring 0|1 (woofers in parallel, series), subsonic and lowpass (Hz) with\n"
    "  subsonicorder and lowpassorder 2|4|5 (Butterworth 2, 4, Linkwitz-Riley 4) add the woofers\n"
    "  (pieces0), Qtc, Fc, F3, the sensitivity, the load, the limits, the suggested boxes, warnings\n"
    "  and the curve 10-190 Hz\n"
    "  to --json's \"acoustics\" (always there with the port's Fb and portLengthFor) and \"How it will\n"
    "  sound\" to the report. So do --target-fb F (the port length for that tuning; repeatable),\n"
    "  --curve-csv FILE (writes the curve) and a project file with a woofer. A port count of 0 is a\n"
    "  sealed box.\n"
    "  --best-fit adds the exact cutting plan of the real boards (\"Best fit\");\n"
    "  --svg FILE writes that plan as a drawing; without --best-fit, the layouter's sheet.\n"
    "  --export-svg FILE writes the plan's sheets as drawings in mm (FILE for the first, FILE-2,\n"
    "  FILE-3 ... before the extension for the others), --export-dxf FILE all sheets side by side for a\n"
    "  CNC router (R12, mm, layers OUTLINES, LABELS, SHEETS), --export-csv FILE the boards and the\n"
    "  numbered cuts (';' between fields with --decimal ,); all with the --saw of --best-fit.\n"
    "  --export-stl FILE and --export-obj FILE write the boards as solids with their holes, in mm with\n"
    "  z up: binary STL (one closed shell per board) and OBJ (one object per board).\n"
    "  --sheet 0|1|2 (122x61, 122x244, 122x305), 4x8ft, 5x5ft or LxB (a sheet of your own, length x\n"
    "  breadth in the --units) and --saw 2|3|4 (mm) or 1/8|3/32 (inch) set the layouter's sheet and saw\n"
    "  (else the settings file's \"Size\" and \"Thick\"); --json then has sheet, panels and cutLines;\n"
    "  Best fit plans on the 4x8ft, 5x5ft or LxB sheet when one is chosen.\n"
    "  --units in: the --set lengths are inches (12.5, 12 1/2, 12-1/2, 1/2), thicknesses inches to whole\n"
    "  mm (3/4 is 19 mm), volumes cubic feet, and the text outputs show inches to 1/16\" and ft3;\n"
    "  --json keeps its metric numbers and adds \"units\" and \"display\" (volumes and board sizes as "
    "shown).\n"
    "  --cut-list prints the boards to saw (name, length, breadth in cm, turned) instead of the report.\n"
    "  --boards adds the boards that really build the box (true sizes, outlines, bevels, positions and\n"
    "  the exact volumes; with --json the members boards, innerVolumeExact, netVolumeExact); a box\n"
    "  that cannot be built is an error that names the board.\n"
    "  PROJECT.tbx is read first, then each --set is applied; --save writes the result as the\n"
    "  program's Save would (\".tbx\" is added to a name without it).\n"
    "  --fit-boot searches the box for the design's woofers that fits a boot: the keys bootdepth,\n"
    "  bootheight, bootwidth (cm), seatangle (degrees), boxtype 0|1|2|3 (any, sealed, slot, round),\n"
    "  goal 0|1|2 (deepest, loudest at goalf, smallest with F3 at or below goalf), subsonic (Hz),\n"
    "  subsonicorder 2|4|5 and power (W, else N x Pe), with the woofer keys; --json gives \"fit\".\n"
    "  --batch reads one design a line from standard input: blank-separated KEY=TEXT and @PROJECT.tbx\n"
    "  words applied from left to right (\"...\" keeps blanks; \\\" and \\\\ inside it), and writes its\n"
    "  --json object as one line; a line that does not read gives {\"line\":N,\"error\":TEXT}.\n";

// The folder and the file name of a path, as the file dialog addresses a project.
std::pair<std::string, std::string> splitProjectPath(const std::string& path)
{
    const std::filesystem::path p(path);
    std::string folder = p.parent_path().string();
    return {folder.empty() ? "." : folder, p.filename().string()};
}

bool saveProjectFile(std::string path, const ModelInputs& inputs, const LayoutStrings& layout,
                     const WooferTexts& woofer)
{
    if (path.size() < 4 || path[path.size() - 4] != '.')
        path += ".tbx";
    const auto [folder, name] = splitProjectPath(path);
    const IniStore ini({folder, "kelvra"});
    if (WriteProject(ini, folder, name, inputs, layout, &woofer) == IniWriteStatus::Ok)
        return true;
    std::cerr << "kelvra-calc: cannot write project file '" << path << "'\n";
    return false;
}

json::Object layoutJson(const LayoutStrings& layout)
{
    json::Object o;
    for (std::size_t i = 0; i < kLayoutKeys.size(); ++i)
        o.str(std::string(kLayoutKeys[i]), layout[i]);
    // The boards beyond the seven, only where a project holds their places.
    for (std::string_view key : kExtraLayoutKeys)
        if (const auto text = layout.extra.find(key); text != layout.extra.end())
            o.str(std::string(key), text->second);
    return o;
}

bool writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    out.flush();
    if (out)
        return true;
    std::cerr << "kelvra-calc: cannot write '" << path << "'\n";
    return false;
}

// The workshop files of the plan; a design whose boards cannot be built or planned writes none.
bool writeExports(const CalcCliOptions& o, const BoardPlanResult& plan)
{
    if (!plan.ok()) {
        std::cerr << "kelvra-calc: " << plan.text() << "\n";
        return false;
    }
    const char sep = o.decimalSeparator;
    bool ok = true;
    if (o.exportSvg)
        for (int s = 0; s < plan.plan->sheetCount; ++s)
            ok = writeFile(sheetFileName(*o.exportSvg, s),
                           sheetSvg(*plan.plan, *plan.boards, s, sep, o.measure)) &&
                 ok;
    if (o.exportDxf)
        ok = writeFile(*o.exportDxf, planDxf(*plan.plan, *plan.boards, o.measure)) && ok;
    if (o.exportCsv)
        ok = writeFile(*o.exportCsv, cutListCsv(*plan.plan, *plan.boards, sep, o.measure)) && ok;
    return ok;
}

HoleSpec holesOf(const WooferTexts& woofer)
{
    return {*woofer.find("cutout"), *woofer.find("mountdepth")};
}

// The boards as solids; a design whose boards cannot be built writes none.
bool writeSolids(const CalcCliOptions& o, const CalcRun& run, const HoleSpec& holes)
{
    const BoardsResult boards = buildBoards(run.inputs, run.decimalSeparator, {}, holes);
    if (!boards.ok()) {
        std::cerr << "kelvra-calc: " << boards.error.text() << "\n";
        return false;
    }
    const std::vector<BoardMesh> meshes = boxMeshes(boards.boards->boards, holeRings(boards.boards->boards));
    bool ok = true;
    if (o.exportStl)
        ok = writeFile(*o.exportStl, meshesStl(meshes)) && ok;
    if (o.exportObj)
        ok = writeFile(*o.exportObj, meshesObj(meshes)) && ok;
    return ok;
}

} // namespace

std::string applySet(ModelInputs& inputs, const std::string& key, const std::string& text, Measure measure,
                     char decimalSeparator)
{
    const ModelKey* k = findModelKey(key);
    if (!k)
        return "unknown model key '" + key + "'";
    if (k->kind == KeyKind::Text) {
        const Result<std::string> model =
            modelTextOfTyped(quantityOfKey(key), text, measure, decimalSeparator);
        if (!model)
            return "'" + key + "': " + model.error().description;
        textOf(inputs, *k) = *model;
        return {};
    }
    std::size_t used = 0;
    int position = 0;
    try {
        position = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size() || position < -1 || position >= listSize(*k))
        return "list key '" + key + "' takes a position from -1 to " + std::to_string(listSize(*k) - 1) +
               ", not '" + text + "'";
    listPosition(inputs, *k) = position;
    return {};
}

ProjectRead readProjectInto(const std::string& path, char separator, ModelInputs& inputs,
                            LayoutStrings& layout, WooferTexts* woofer)
{
    ProjectRead r;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        r.error = "cannot read project file '" + path + "': no such file";
        return r;
    }
    const auto [folder, name] = splitProjectPath(path);
    const IniStore ini({folder, "kelvra"});
    const ProjectContents contents = ReadProject(ini, folder, name, layout, separator);
    // The program asks before it reads another format; here the answer is always OK.
    if (contents.oldVersion)
        r.warnings.push_back("'" + path + "' has format tag '" + contents.fid + "', not '" +
                             std::string(kProjectFormatTag) + "'; read anyway");
    for (const StoredValue& v : contents.values)
        ApplyStoredValue(inputs, v);
    for (const std::string& key : contents.replacedKeys())
        r.warnings.push_back("'" + key + "' in '" + path + "' could not be read and takes its default");
    layout = contents.layoutStrings;
    if (woofer)
        *woofer = contents.woofer;
    return r;
}

std::string designJson(const CalcRun& run, const LayoutStrings& layout, const CalcCliOptions& options,
                       const std::optional<std::string>& acoustics, const BoardsResult* boards)
{
    json::Object report = jsonReport(run);
    if (options.bestFit) {
        std::optional<BoardPlanResult> plan;
        if (run.outcome.ranToEnd)
            plan = bestFitOf(run, options.sawThick, bestFitSheets(options.sheetIndex, options.customSheet));
        report.raw("bestFit", plan ? bestFitJson(*plan) : "null");
    }
    const std::optional<LayoutView> view =
        openedLayout(run, layout, {options.sawThick, options.sheetIndex, options.customSheet});
    addLayoutJson(report, view);
    report.raw("layoutStrings", layoutJson(layout).dump());
    std::optional<BoardsResult> built;
    if (boards)
        built = *boards;
    else if (options.boards || options.unitsGiven)
        built = buildBoards(run.inputs, run.decimalSeparator);
    if (options.unitsGiven)
        addDisplayJson(report, run, *built);
    if (options.boards)
        addBoardsJson(report, *built);
    if (acoustics)
        report.raw("acoustics", *acoustics);
    return report.dump();
}

CalcCliParse parseCalcCli(const std::vector<std::string>& args)
{
    CalcCliParse p;
    p.options.decimalSeparator = localeDecimalSeparator();
    std::optional<std::string> sheetText;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                p.error = std::string(name) + " needs a value";
                return std::nullopt;
            }
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            p.help = true;
        } else if (a == "--batch") {
            p.options.batch = true;
        } else if (a == "--json") {
            p.options.json = true;
        } else if (a == "--best-fit") {
            p.options.bestFit = true;
        } else if (a == "--saw") {
            auto v = value("--saw");
            if (!v)
                return p;
            // The mm kerfs by their number, the inch kerfs by their fraction.
            const auto kerf = std::find_if(kSawKerfs.begin(), kSawKerfs.end(), [&](const SawKerf& k) {
                return k.caption == (k.sawThick <= 4 ? *v + "mm" : *v + "\"");
            });
            if (kerf == kSawKerfs.end()) {
                p.error = "--saw takes 2, 3 or 4 (mm), 1/8 or 3/32 (inch), not '" + *v + "'";
                return p;
            }
            p.options.sawThick = kerf->sawThick;
            p.options.sawGiven = true;
        } else if (a == "--sheet") {
            auto v = value("--sheet");
            if (!v)
                return p;
            // LxB is read once --units and --decimal are known.
            sheetText = *v;
            p.options.sheetGiven = true;
        } else if (a == "--units") {
            auto v = value("--units");
            if (!v)
                return p;
            if (*v != "in" && *v != "cm") {
                p.error = "--units takes in or cm, not '" + *v + "'";
                return p;
            }
            p.options.measure = *v == "in" ? Measure::Imperial : Measure::Metric;
            p.options.unitsGiven = true;
        } else if (a == "--boards") {
            p.options.boards = true;
        } else if (a == "--fit-boot") {
            p.options.fitBoot = true;
        } else if (a == "--cut-list") {
            p.options.cutList = true;
        } else if (a == "--svg") {
            auto v = value("--svg");
            if (!v)
                return p;
            p.options.svgFile = *v;
        } else if (a == "--target-fb") {
            auto v = value("--target-fb");
            if (!v)
                return p;
            p.options.targetFbs.push_back(*v);
        } else if (a == "--curve-csv") {
            auto v = value("--curve-csv");
            if (!v)
                return p;
            p.options.curveCsv = *v;
        } else if (a == "--export-svg" || a == "--export-dxf" || a == "--export-csv") {
            auto v = value(a.c_str());
            if (!v)
                return p;
            (a == "--export-svg"   ? p.options.exportSvg
             : a == "--export-dxf" ? p.options.exportDxf
                                   : p.options.exportCsv) = *v;
        } else if (a == "--export-stl" || a == "--export-obj") {
            auto v = value(a.c_str());
            if (!v)
                return p;
            (a == "--export-stl" ? p.options.exportStl : p.options.exportObj) = *v;
        } else if (a == "--save") {
            auto v = value("--save");
            if (!v)
                return p;
            p.options.saveFile = *v;
        } else if (a == "--decimal") {
            auto v = value("--decimal");
            if (!v)
                return p;
            if (*v != "," && *v != ".") {
                p.error = "--decimal takes ',' or '.', not '" + *v + "'";
                return p;
            }
            p.options.decimalSeparator = (*v)[0];
        } else if (a == "--set") {
            auto v = value("--set");
            if (!v)
                return p;
            const auto eq = v->find('=');
            if (eq == std::string::npos || eq == 0) {
                p.error = "--set takes KEY=TEXT, not '" + *v + "'";
                return p;
            }
            p.options.sets.emplace_back(v->substr(0, eq), v->substr(eq + 1));
        } else if (!a.empty() && a[0] == '-') {
            p.error = "unknown option '" + a + "'";
            return p;
        } else if (p.options.projectFile) {
            p.error = "only one project file may be given, not also '" + a + "'";
            return p;
        } else {
            p.options.projectFile = a;
        }
    }
    if (sheetText) {
        static constexpr std::array<std::string_view, 5> kSheetArgs = {"0", "1", "2", "4x8ft", "5x5ft"};
        const auto named = std::find(kSheetArgs.begin(), kSheetArgs.end(), *sheetText);
        const std::optional<SheetCm> custom =
            named == kSheetArgs.end()
                ? readSheetText(*sheetText, p.options.measure, p.options.decimalSeparator)
                : std::nullopt;
        if (named != kSheetArgs.end()) {
            p.options.sheetIndex = static_cast<int>(named - kSheetArgs.begin());
        } else if (custom) {
            p.options.sheetIndex = kCustomSheet;
            p.options.customSheet = *custom;
        } else {
            p.error = "--sheet takes 0 (122x61), 1 (122x244), 2 (122x305), 4x8ft, 5x5ft or LxB (length x "
                      "breadth in the --units), not '" +
                      *sheetText + "'";
            return p;
        }
    }
    const CalcCliOptions& o = p.options;
    if (o.cutList && (o.json || o.batch) && p.error.empty())
        p.error = "--cut-list prints a table; it cannot be combined with --json or --batch";
    if (o.batch && p.error.empty() && (o.projectFile || o.saveFile || o.svgFile || o.exports() || o.solids()))
        p.error = "--batch takes its projects from the lines (@PROJECT.tbx); it has no project file, --save "
                  "or --svg";
    if (o.fitBoot && p.error.empty() &&
        (o.batch || o.bestFit || o.cutList || o.svgFile || o.saveFile || o.boards || o.exports() ||
         !o.targetFbs.empty() || o.curveCsv))
        p.error = "--fit-boot takes only --decimal, --set, --json and a project file";
    if (o.batch && p.error.empty() && (!o.targetFbs.empty() || o.curveCsv))
        p.error = "--batch has no --target-fb or --curve-csv";
    return p;
}

int runCalcCli(int argc, char** argv)
{
    const CalcCliParse p = parseCalcCli(std::vector<std::string>(argv + 1, argv + argc));
    if (p.help) {
        std::cout << kUsage;
        return 0;
    }
    if (!p.error.empty()) {
        std::cerr << "kelvra-calc: " << p.error << "\n";
        return 2;
    }
    const CalcCliOptions o = withLayoutSettings(p.options, toolSettingsFolder(argc > 0 ? argv[0] : nullptr));
    if (o.batch) {
        ModelInputs checked = firstRunInputs();
        for (const auto& [key, text] : o.sets) {
            const std::string error = applySet(checked, key, text, o.measure, o.decimalSeparator);
            if (!error.empty()) {
                std::cerr << "kelvra-calc: " << error << "\n";
                return 2;
            }
        }
        std::ios::sync_with_stdio(false);
        const BatchSummary summary = runBatch(std::cin, std::cout, std::cerr, o);
        std::cout.flush();
        return summary.allRanToEnd() ? 0 : 1;
    }
    ModelInputs inputs = firstRunInputs();
    LayoutStrings layout{};
    AcousticsRequest sound;
    sound.targetTexts = o.targetFbs;
    if (o.projectFile) {
        const ProjectRead read =
            readProjectInto(*o.projectFile, o.decimalSeparator, inputs, layout, &sound.texts);
        for (const std::string& w : read.warnings)
            std::cerr << "kelvra-calc: warning: " << w << "\n";
        if (!read.error.empty()) {
            std::cerr << "kelvra-calc: " << read.error << "\n";
            return 2;
        }
    }
    // The JSON object always tells the port's tuning; the text report only when asked about, and a
    // project with a woofer asks.
    sound.wanted = o.json || !o.targetFbs.empty() || o.curveCsv || !sound.texts.empty();
    std::vector<std::pair<std::string, std::string>> fitSets;
    for (const auto& [key, text] : o.sets) {
        if (o.fitBoot && isFitKey(key)) {
            fitSets.emplace_back(key, text);
            continue;
        }
        if (std::string* wooferText = sound.texts.find(key)) {
            *wooferText = text;
            // The woofer's holes belong to the boards, not to the sound report.
            sound.wanted = sound.wanted || (key != "cutout" && key != "mountdepth");
            continue;
        }
        const std::string error = applySet(inputs, key, text, o.measure, o.decimalSeparator);
        if (!error.empty()) {
            std::cerr << "kelvra-calc: " << error << "\n";
            return 2;
        }
    }
    if (o.fitBoot)
        return runFitBoot(inputs, sound.texts, fitSets, o.decimalSeparator, o.json);
    std::optional<BoardsResult> boards;
    if (o.boards) {
        // A box that cannot be built prints nothing of it: the error names the board.
        boards = buildBoards(inputs, o.decimalSeparator, {}, holesOf(sound.texts));
        if (!boards->ok()) {
            std::cerr << "kelvra-calc: " << boards->error.text() << "\n";
            return 1;
        }
    }
    const TextTables tables = ResetTextTables();
    const CalcRun run = runDesign(inputs, o.decimalSeparator, tables, o.measure);
    std::optional<AcousticsOutcome> acoustics;
    if (sound.wanted) {
        acoustics = acousticsOf(run, sound);
        if (!acoustics->inputError.empty()) {
            std::cerr << "kelvra-calc: " << acoustics->inputError << "\n";
            return 1;
        }
        if (o.curveCsv && acoustics->csv.empty() && acoustics->designError.empty()) {
            std::cerr << "kelvra-calc: --curve-csv needs the woofer's parameters (fs, qts, vas, sd, xmax, "
                         "re, pe)\n";
            return 1;
        }
    }
    std::optional<BoardPlanResult> plan;
    // The JSON object works out its own plan; here it is needed for the text report, the drawing, the
    // workshop files and the exit status.
    if ((o.bestFit && run.outcome.ranToEnd) || o.exports())
        plan = bestFitOf(run, o.sawThick, bestFitSheets(o.sheetIndex, o.customSheet));
    // A table or a drawing has no room for the message that stopped the design: it goes to stderr.
    if ((o.cutList || o.svgFile) && !run.outcome.ranToEnd) {
        for (const Message& m : run.outcome.messages)
            std::cerr << "kelvra-calc: " << m.title << ": " << oneLine(m.text) << "\n";
        if (o.svgFile)
            std::cerr << "kelvra-calc: nothing was calculated, so '" << *o.svgFile << "' is not written\n";
    }
    if (o.json) {
        std::cout << designJson(run, layout, o,
                                acoustics ? std::optional<std::string>(acoustics->json) : std::nullopt,
                                boards ? &*boards : nullptr)
                  << "\n";
    } else if (o.cutList) {
        if (const auto view = openedLayout(run, layout, {o.sawThick, o.sheetIndex, o.customSheet}))
            std::cout << cutListText(*view, o.decimalSeparator, o.measure);
    } else {
        std::cout << humanReport(run);
        if (plan)
            std::cout << humanBestFit(*plan, o.decimalSeparator, o.measure);
        if (acoustics)
            std::cout << acoustics->human;
        if (boards)
            std::cout << humanBoards(*boards->boards, o.decimalSeparator, o.measure);
    }
    if (o.saveFile && !saveProjectFile(*o.saveFile, inputs, layout, sound.texts))
        return 1;
    if (acoustics && !acoustics->designError.empty()) {
        std::cerr << "kelvra-calc: " << acoustics->designError << "\n";
        return 1;
    }
    if (o.curveCsv) {
        std::ofstream csv(*o.curveCsv, std::ios::binary);
        csv << acoustics->csv;
        if (!csv) {
            std::cerr << "kelvra-calc: cannot write '" << *o.curveCsv << "'\n";
            return 1;
        }
    }
    if (o.svgFile && !o.bestFit &&
        !writeLayoutSvg(*o.svgFile, run, layout, {o.sawThick, o.sheetIndex, o.customSheet}))
        return 1;
    if (o.svgFile && o.bestFit && plan && plan->ok()) {
        std::ofstream svg(*o.svgFile, std::ios::binary);
        svg << cutPlanSvg(*plan->plan);
        if (!svg) {
            std::cerr << "kelvra-calc: cannot write '" << *o.svgFile << "'\n";
            return 1;
        }
    }
    if (o.exports() && !writeExports(o, *plan))
        return 1;
    if (o.solids() && !writeSolids(o, run, holesOf(sound.texts)))
        return 1;
    if (o.bestFit && plan && !plan->ok()) {
        std::cerr << "kelvra-calc: " << plan->text() << "\n";
        return 1;
    }
    if (run.outcome.ranToEnd)
        return 0;
    if (run.outcome.messages.empty())
        std::cerr << "kelvra-calc: an input box is empty; nothing was calculated\n";
    return 1;
}

} // namespace kelvra
