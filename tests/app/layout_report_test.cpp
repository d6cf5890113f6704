// kelvra-calc's view of the layouter's sheet: --sheet, --saw, the sheet/panels/cutLines JSON members,
// the sheet drawing and the cut list, in process and through the built tool.
#include "app/CalcCli.h"
#include "app/LayoutReport.h"
#include "persist/Ini.h"
#include "persist/ProjectFile.h"
#include "persist/Settings.h"
#include "tests/app/ToolRun.h"
#include "tests/support/SeparatorText.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

using namespace kelvra;
namespace fs = std::filesystem;

namespace
{

// A folder of its own for each test, removed afterwards.
class TempDir
{
public:
    TempDir()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "kelvra-layout-" + std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        m_path = fs::temp_directory_path() / name;
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~TempDir() { fs::remove_all(m_path); }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// One input as the tool's --set puts it: a text, or a list position.
void setInput(ModelInputs& in, const std::string& name, const std::string& value)
{
    const ModelKey* key = findModelKey(name);
    ASSERT_NE(key, nullptr) << name;
    if (key->kind == KeyKind::List)
        listPosition(in, *key) = std::stoi(value);
    else
        textOf(in, *key) = value;
}

// The tool's JSON object of a design, with the layouter's members as the tool adds them.
std::string layoutJsonOf(const CalcRun& run, const LayoutStrings& layout, const CalcCliOptions& options)
{
    json::Object report = jsonReport(run);
    addLayoutJson(report, openedLayout(run, layout, {options.sawThick, options.sheetIndex}));
    return report.dump();
}

using kelvra::test::under;

// The layouter tests' design: 39 high, 45 long, 60,2 wide, both angles 90, 18 mm boards.
ModelInputs designInputs(char sep, const std::vector<std::pair<std::string, std::string>>& more = {})
{
    ModelInputs in = firstRunInputs();
    std::vector<std::pair<std::string, std::string>> sets = {{"h2", "39"}, {"l3", "45"}, {"b2", "60,2"},
                                                             {"ca", "90"}, {"cb", "90"}, {"thick0", "18"}};
    sets.insert(sets.end(), more.begin(), more.end());
    for (const auto& [k, v] : sets)
        setInput(in, k, under(v, sep));
    return in;
}

CalcRun runOf(const ModelInputs& in, char sep)
{
    return runDesign(in, sep, ResetTextTables());
}

CalcCliOptions optionsOf(char sep, int saw = 2, int sheet = 1)
{
    CalcCliOptions o;
    o.decimalSeparator = sep;
    o.sawThick = saw;
    o.sheetIndex = sheet;
    o.json = true;
    return o;
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::string panelJson(const char* key, const char* left, const char* top, const char* width,
                      const char* height, int turned, bool visible)
{
    return std::string("{\"key\":\"") + key + "\",\"left\":" + left + ",\"top\":" + top +
           ",\"width\":" + width + ",\"height\":" + height + ",\"turned\":" + std::to_string(turned) +
           ",\"visible\":" + (visible ? "true" : "false") + ",\"caption\":";
}

std::size_t countOf(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Well-formed enough for a drawing: every element closes in order, and attributes are quoted.
bool tagsBalanced(const std::string& xml)
{
    std::vector<std::string> open;
    for (std::size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
        const std::size_t end = xml.find('>', at);
        if (end == std::string::npos)
            return false;
        const std::string tag = xml.substr(at + 1, end - at - 1);
        if (tag.empty() || tag[0] == '?')
            continue;
        if (countOf(tag, "\"") % 2 != 0)
            return false;
        if (tag[0] == '/') {
            if (open.empty() || open.back() != tag.substr(1))
                return false;
            open.pop_back();
        } else if (tag.back() != '/') {
            open.push_back(tag.substr(0, tag.find(' ')));
        }
    }
    return open.empty();
}

class LayoutReportTest : public ::testing::TestWithParam<char>
{
protected:
    char sep() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Locale, LayoutReportTest, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

using kelvra::test::ToolRun;

// A copy of the built tool in the folder, so its settings file is the test's own.
fs::path toolIn(const fs::path& folder)
{
    const fs::path copy = folder / "kelvra-calc";
    fs::copy_file(KELVRA_CALC_EXE, copy, fs::copy_options::overwrite_existing);
    return copy;
}

ToolRun runTool(const fs::path& tool, const std::string& args)
{
    const std::string command = "'" + tool.string() + "' " + args + " 2>&1";
    return kelvra::test::runCommand(command);
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const char* kDesignSets = "--set h2=39 --set l3=45 --set b2=60,2 --set ca=90 --set cb=90 --set thick0=18";

std::string designArgs(char sep)
{
    return std::string("--decimal ") + sep + " " + under(kDesignSets, sep);
}

} // namespace

TEST(LayoutOptions, SheetAndSawTakeOnlyTheirMenuValues)
{
    struct Case {
        std::vector<std::string> args;
        bool ok;
        int saw;
        int sheet;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{}, true, 2, 1, ""},
        {{"--sheet", "0"}, true, 2, 0, ""},
        {{"--sheet", "2", "--saw", "4"}, true, 4, 2, ""},
        {{"--saw", "3"}, true, 3, 1, ""},
        {{"--sheet", "3"}, false, 0, 0, "--sheet takes 0 (122x61), 1 (122x244) or 2 (122x305), not '3'"},
        {{"--sheet", "-1"}, false, 0, 0, "--sheet takes 0 (122x61), 1 (122x244) or 2 (122x305), not '-1'"},
        {{"--sheet", "01"}, false, 0, 0, "--sheet takes 0 (122x61), 1 (122x244) or 2 (122x305), not '01'"},
        {{"--sheet", ""}, false, 0, 0, "--sheet takes 0 (122x61), 1 (122x244) or 2 (122x305), not ''"},
        {{"--sheet"}, false, 0, 0, "--sheet needs a value"},
        {{"--saw", "5"}, false, 0, 0, "--saw takes 2, 3 or 4 (mm), not '5'"},
        {{"--saw", "2,0"}, false, 0, 0, "--saw takes 2, 3 or 4 (mm), not '2,0'"},
        {{"--cut-list", "--json"},
         false,
         0,
         0,
         "--cut-list prints a table; it cannot be combined with --json or --batch"},
    };
    for (const Case& c : cases) {
        const CalcCliParse p = parseCalcCli(c.args);
        const std::string label = c.args.empty() ? "(none)" : c.args[0] + " " + c.args.back();
        if (!c.ok) {
            EXPECT_EQ(p.error, c.error) << label;
            continue;
        }
        ASSERT_EQ(p.error, "") << label;
        EXPECT_EQ(p.options.sawThick, c.saw) << label;
        EXPECT_EQ(p.options.sheetIndex, c.sheet) << label;
        EXPECT_EQ(p.options.sawGiven, c.saw != 2 || c.args.size() > 2) << label;
    }
    EXPECT_TRUE(parseCalcCli({"--cut-list"}).options.cutList);
}

TEST(LayoutOptions, SettingsFileGivesTheDefaultsAndOptionsWin)
{
    TempDir dir;
    const std::string folder = dir.path().string();
    EXPECT_EQ(layoutSettingsIn(folder, ','), (LayoutChoice{2, 1})); // no file
    const IniStore ini({folder, "kelvra"});
    ini.WriteIni("Layouter", "Thick", "4");
    ini.WriteIni("Layouter", "Size", "0");
    EXPECT_EQ(layoutSettingsIn(folder, '.'), (LayoutChoice{4, 0}));

    CalcCliOptions given = parseCalcCli({"--saw", "3"}).options;
    const CalcCliOptions merged = withLayoutSettings(given, folder);
    EXPECT_EQ(merged.sawThick, 3);   // given
    EXPECT_EQ(merged.sheetIndex, 0); // from the file
    given = parseCalcCli({"--sheet", "2"}).options;
    EXPECT_EQ(withLayoutSettings(given, folder).sawThick, 4);
    EXPECT_EQ(withLayoutSettings(given, folder).sheetIndex, 2);

    // Values no menu item has open the window on the defaults; so does the tool.
    ini.WriteIni("Layouter", "Thick", "9");
    ini.WriteIni("Layouter", "Size", "x");
    EXPECT_EQ(layoutSettingsIn(folder, ','), (LayoutChoice{2, 1}));
}

TEST_P(LayoutReportTest, DefaultAutoFitOnTheMiddleSheetWithKerfSix)
{
    const CalcRun run = runOf(designInputs(sep()), sep());
    ASSERT_TRUE(run.outcome.ranToEnd);
    const std::string json = layoutJsonOf(run, LayoutStrings{}, optionsOf(sep()));
    EXPECT_TRUE(contains(json, "\"sheet\":{\"height\":366,\"width\":732,\"kerf\":6}")) << json;
    // Positions always print with "."; the captions follow the user's separator.
    const std::string b = under("35,4", sep());
    EXPECT_TRUE(contains(json, "\"panels\":[" + panelJson("front", "0", "0", "106.2", "135", 0, true) +
                                   "\" Voorzijde \\r\\nl:45cm\\r\\nb:" + b + "cm\"}"))
        << json;
    EXPECT_TRUE(contains(json, panelJson("rear", "112.2", "0", "106.2", "135", 0, true))) << json;
    // The first layout of the opening, on the still empty sheet, turned the top; it stays turned.
    EXPECT_TRUE(contains(json, panelJson("top", "0", "141", "180.6", "135", 1, true))) << json;
    EXPECT_TRUE(contains(json, panelJson("bottom", "186.6", "141", "135", "180.6", 0, true))) << json;
    EXPECT_TRUE(contains(json, panelJson("left", "327.6", "0", "180.6", "106.2", 0, true))) << json;
    EXPECT_TRUE(contains(json, panelJson("right", "514.2", "0", "180.6", "106.2", 0, true))) << json;
    EXPECT_TRUE(contains(json, "{\"key\":\"port\",")) << json;
    EXPECT_TRUE(contains(json, "\"visible\":false,\"caption\":\"Poort\\r\\n")) << json;
    EXPECT_TRUE(contains(json, "\"cutLines\":[[109.2,0,109.2,138],[221.4,-3,221.4,138],[0,138,180.6,138],"
                               "[183.6,138,183.6,279],[324.6,138,324.6,324.6]]"))
        << json;
}

TEST_P(LayoutReportTest, SheetAndSawChangeTheLayout)
{
    const CalcRun run = runOf(designInputs(sep()), sep());
    const std::string wide = layoutJsonOf(run, LayoutStrings{}, optionsOf(sep(), 4, 2));
    EXPECT_TRUE(contains(wide, "\"sheet\":{\"height\":366,\"width\":915,\"kerf\":12}")) << wide;
    EXPECT_TRUE(contains(wide, panelJson("rear", "118.2", "0", "106.2", "135", 0, true))) << wide;
    const std::string small = layoutJsonOf(run, LayoutStrings{}, optionsOf(sep(), 3, 0));
    EXPECT_TRUE(contains(small, "\"sheet\":{\"height\":366,\"width\":183,\"kerf\":9}")) << small;
}

TEST_P(LayoutReportTest, SlopedBoxSidePanelsTakeTheRealSideBoards)
{
    // Rear seat at 60 degrees: the real side runs 60,2 along the bottom and stands 39 high.
    const CalcRun run = runOf(designInputs(sep(), {{"ca", "60"}}), sep());
    ASSERT_TRUE(run.outcome.ranToEnd);
    const std::string json = layoutJsonOf(run, LayoutStrings{}, optionsOf(sep()));
    EXPECT_TRUE(contains(json, "\"width\":180.6,\"height\":117,\"turned\":0,\"visible\":true,\"caption\":"
                               "\"Zij links\\r\\nl:" +
                                   under("60,2", sep()) + "cm\\r\\nb:39cm\""))
        << json;
}

TEST_P(LayoutReportTest, ProjectPlacementsAreRestoredRounded)
{
    TempDir dir;
    const ModelInputs in = designInputs(sep());
    LayoutStrings saved{};
    const std::array<std::string, kPanelCount> texts = {
        under("0x112,2x0", sep()), "150x0x1", "0x300x0", "150x300x0", "0x500x0", "150x500x1", "10x10x0"};
    for (std::size_t i = 0; i < texts.size(); ++i)
        saved[i] = texts[i];
    const std::string folder = dir.path().string();
    ASSERT_EQ(WriteProject(IniStore({folder, "kelvra"}), folder, "box.tbx", in, saved), IniWriteStatus::Ok);

    ModelInputs read = firstRunInputs();
    const ProjectContents contents =
        ReadProject(IniStore({folder, "kelvra"}), folder, "box.tbx", LayoutStrings{}, sep());
    for (const StoredValue& v : contents.values)
        ApplyStoredValue(read, v);
    const LayoutStrings layout = contents.layoutStrings;
    EXPECT_EQ(layout[kFront], under("0x112,2x0", sep()));
    const std::string json = layoutJsonOf(runOf(read, sep()), layout, optionsOf(sep()));
    EXPECT_TRUE(contains(json, panelJson("front", "112", "0", "106.2", "135", 0, true))) << json;
    // A board saved turned comes back turned, its sides exchanged.
    EXPECT_TRUE(contains(json, panelJson("rear", "0", "150", "135", "106.2", 1, true))) << json;
    EXPECT_TRUE(contains(json, panelJson("right", "500", "150", "106.2", "180.6", 1, true))) << json;
    // The lines of the layout before the placements belong to no board.
    EXPECT_TRUE(contains(json, "\"cutLines\":[]")) << json;
}

TEST_P(LayoutReportTest, UnreadablePlacementLeavesThatBoardWhereTheSheetChoiceLaidIt)
{
    LayoutStrings layout{};
    const std::array<std::string, 6> texts = {"axb", "0x", "0x300x0", "150x300x0", "0x500x0", "1e9x5x0"};
    for (std::size_t i = 0; i < texts.size(); ++i)
        layout[i] = texts[i];
    const std::string json = layoutJsonOf(runOf(designInputs(sep()), sep()), layout, optionsOf(sep()));
    // front, rear and right keep the fresh layout's places; the others are restored.
    EXPECT_TRUE(contains(json, panelJson("front", "0", "0", "106.2", "135", 0, true))) << json;
    EXPECT_TRUE(contains(json, panelJson("rear", "112.2", "0", "106.2", "135", 0, true))) << json;
    EXPECT_TRUE(contains(json, panelJson("top", "300", "0", "135", "180.6", 0, true))) << json;
    EXPECT_TRUE(contains(json, panelJson("right", "514.2", "0", "180.6", "106.2", 0, true))) << json;
}

TEST_P(LayoutReportTest, NoLayoutWhenTheDesignDidNotRun)
{
    ModelInputs in = designInputs(sep());
    setInput(in, "h2", "");
    const CalcRun run = runOf(in, sep());
    ASSERT_FALSE(run.outcome.ranToEnd);
    const std::string json = layoutJsonOf(run, LayoutStrings{}, optionsOf(sep()));
    EXPECT_TRUE(contains(json, "\"sheet\":null,\"panels\":null,\"cutLines\":null")) << json;
}

TEST_P(LayoutReportTest, SvgHoldsTheSheetEveryVisibleBoardAndTheCutLines)
{
    // A rectangular port: all seven boards are sawn.
    const CalcRun run = runOf(
        designInputs(
            sep(),
            {{"pieces2", "1"}, {"ptype", "1"}, {"pwhere", "3"}, {"hp", "20"}, {"bp", "2"}, {"lp", "21,3"}}),
        sep());
    ASSERT_TRUE(run.outcome.ranToEnd);
    const auto view = openedLayout(run, LayoutStrings{}, {2, 1});
    ASSERT_TRUE(view);
    ASSERT_TRUE(view->panels[kPort].visible);
    const std::string svg = layoutSvg(*view);
    EXPECT_TRUE(tagsBalanced(svg)) << svg;
    EXPECT_EQ(countOf(svg, "<rect "), 8u) << svg;
    EXPECT_TRUE(contains(svg, "<rect id=\"sheet\" x=\"0\" y=\"0\" width=\"732\" height=\"366\"")) << svg;
    EXPECT_TRUE(contains(svg, "width=\"244cm\" height=\"122cm\" viewBox=\"0 0 732 366\"")) << svg;
    EXPECT_TRUE(contains(svg, "<rect id=\"front\" x=\"0\" y=\"0\" width=\"106.2\" height=\"135\"")) << svg;
    EXPECT_TRUE(contains(svg, ">Voorzijde</tspan>")) << svg;
    EXPECT_TRUE(contains(svg, ">Poort</tspan>")) << svg;
    EXPECT_EQ(countOf(svg, "<line "), cutLinesOf(*view).size());
    EXPECT_GE(countOf(svg, "<line "), 5u);
    EXPECT_TRUE(contains(svg, ">l:45cm</tspan>")) << svg;

    // Without the port only six boards are drawn.
    const auto plain = openedLayout(runOf(designInputs(sep()), sep()), LayoutStrings{}, {2, 1});
    EXPECT_EQ(countOf(layoutSvg(*plain), "<rect "), 7u);
}

TEST_P(LayoutReportTest, SvgEscapesCaptionTexts)
{
    auto view = openedLayout(runOf(designInputs(sep()), sep()), LayoutStrings{}, {2, 1});
    ASSERT_TRUE(view);
    view->panels[kFront].caption = "A & <B>\r\nl:1cm\r\nb:2cm";
    const std::string svg = layoutSvg(*view);
    EXPECT_TRUE(contains(svg, ">A &amp; &lt;B&gt;</tspan>")) << svg;
    EXPECT_TRUE(tagsBalanced(svg));
}

TEST_P(LayoutReportTest, CutListRowsInBoardOrder)
{
    const auto view = openedLayout(runOf(designInputs(sep()), sep()), LayoutStrings{}, {2, 1});
    ASSERT_TRUE(view);
    const std::string b = under("35,4", sep());
    const std::string list = cutListText(*view, sep());
    const std::string w = under("60,2", sep());
    std::string expected = "Board        Length cm  Breadth cm  Turned\n";
    expected += "Voorzijde           45        " + b + "  no\n";
    expected += "Achterzijde         45        " + b + "  no\n";
    expected += "Bovenzijde          45        " + w + "  yes\n"; // turned on the still empty sheet
    expected += "Onderzijde          45        " + w + "  no\n";
    expected += "Zij links         " + w + "        " + b + "  no\n";
    expected += "Zij rechts        " + w + "        " + b + "  no\n";
    EXPECT_EQ(list, expected);
}

TEST_P(LayoutReportTest, ToolReadsItsSettingsFileAndTheOptions)
{
    TempDir dir;
    const fs::path tool = toolIn(dir.path());
    ToolRun r = runTool(tool, designArgs(sep()) + " --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(contains(r.out, "\"sheet\":{\"height\":366,\"width\":732,\"kerf\":6}")) << r.out;

    const IniStore ini({dir.path().string(), "kelvra"});
    ini.WriteIni("Layouter", "Thick", "3");
    ini.WriteIni("Layouter", "Size", "2");
    r = runTool(tool, designArgs(sep()) + " --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(contains(r.out, "\"sheet\":{\"height\":366,\"width\":915,\"kerf\":9}")) << r.out;
    r = runTool(tool, designArgs(sep()) + " --json --sheet 0 --saw 4");
    EXPECT_TRUE(contains(r.out, "\"sheet\":{\"height\":366,\"width\":183,\"kerf\":12}")) << r.out;
    // The saved saw is the default of Best fit too.
    r = runTool(tool, designArgs(sep()) + " --json --best-fit");
    const ToolRun explicitSaw = runTool(tool, designArgs(sep()) + " --json --best-fit --saw 3");
    EXPECT_EQ(r.out, explicitSaw.out);
}

TEST_P(LayoutReportTest, ToolWritesTheSheetDrawingAndTheCutList)
{
    TempDir dir;
    const fs::path tool = toolIn(dir.path());
    const fs::path svg = dir.path() / "sheet.svg";
    ToolRun r = runTool(tool, designArgs(sep()) + " --svg '" + svg.string() + "'");
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string drawing = readFile(svg);
    EXPECT_TRUE(tagsBalanced(drawing)) << drawing;
    EXPECT_EQ(countOf(drawing, "<rect "), 7u);
    EXPECT_EQ(countOf(drawing, "<line "), 5u);

    r = runTool(tool, designArgs(sep()) + " --cut-list");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind("Board ", 0), 0u) << r.out;
    EXPECT_EQ(countOf(r.out, "\n"), 7u) << r.out;
    EXPECT_TRUE(contains(r.out, "Bovenzijde          45        " + under("60,2", sep()) + "  yes\n"))
        << r.out;

    r = runTool(tool, designArgs(sep()) + " --sheet 7");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.out, "--sheet takes 0 (122x61), 1 (122x244) or 2 (122x305), not '7'")) << r.out;
    r = runTool(tool, designArgs(sep()) + " --saw 1");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.out, "--saw takes 2, 3 or 4 (mm), not '1'")) << r.out;

    // An unwritable drawing is an error the user sees.
    r = runTool(tool, designArgs(sep()) + " --svg '" + (dir.path() / "no" / "such" / "x.svg").string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.out, "cannot write")) << r.out;
}
