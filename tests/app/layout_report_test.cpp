// kelvra-calc's view of the layouter's sheet: --sheet, --saw and the settings file, the sheet/panels/
// cutLines JSON members, the sheet drawing and the cut list.
#include "app/CalcCli.h"
#include "app/LayoutReport.h"
#include "persist/ProjectFile.h"
#include "persist/Settings.h"
#include "tests/app/ToolRun.h"
#include "tests/layouter/LayouterTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace kelvra;
using namespace kelvra::test;

namespace
{

CalcRun runOf(const Changes& more, char sep)
{
    return runDesign(inputsOf(with(defaultDesign(), more), sep), sep, ResetTextTables());
}

// The tool's JSON object of a design, with the layouter's members as the tool adds them.
std::string layoutJsonOf(const CalcRun& run, const LayoutStrings& layout = {}, int saw = 2, int sheet = 1)
{
    json::Object report = jsonReport(run);
    addLayoutJson(report, openedLayout(run, layout, {saw, sheet}));
    return report.dump();
}

std::string panelJson(const char* key, const char* left, const char* top, const char* width,
                      const char* height, int turned)
{
    return std::string("{\"key\":\"") + key + "\",\"left\":" + left + ",\"top\":" + top +
           ",\"width\":" + width + ",\"height\":" + height + ",\"turned\":" + std::to_string(turned) +
           ",\"visible\":true,\"caption\":";
}

class LayoutReportTest : public ::testing::TestWithParam<char>
{
protected:
    char sep() const { return GetParam(); }
};
INSTANTIATE_TEST_SUITE_P(Locale, LayoutReportTest, ::testing::Values(',', '.'), SeparatorName{});

} // namespace

TEST(LayoutOptions, SheetAndSawTakeOnlyTheirMenuValues)
{
    const std::string sheet =
        "--sheet takes 0 (122x61), 1 (122x244), 2 (122x305), 4x8ft, 5x5ft or LxB (length x "
        "breadth in the --units), not ";
    const std::pair<std::vector<std::string>, std::string> bad[] = {
        {{"--sheet", "01"}, sheet + "'01'"},
        {{"--sheet", ""}, sheet + "''"},
        {{"--sheet"}, "--sheet needs a value"},
        {{"--saw", "2,0"}, "--saw takes 2, 3 or 4 (mm), 1/8 or 3/32 (inch), not '2,0'"},
        {{"--sheet", "0x122"}, sheet + "'0x122'"},
        {{"--units", "ft"}, "--units takes in or cm, not 'ft'"},
        {{"--cut-list", "--json"},
         "--cut-list prints a table; it cannot be combined with --json or --batch"}};
    for (const auto& [args, error] : bad)
        EXPECT_EQ(parseCalcCli(args).error, error) << args[0];
    const CalcCliOptions none = parseCalcCli({}).options;
    EXPECT_EQ(std::pair(none.sawThick, none.sheetIndex), std::pair(2, 1));
    EXPECT_FALSE(none.sawGiven);
    const CalcCliOptions both = parseCalcCli({"--sheet", "2", "--saw", "4", "--cut-list"}).options;
    EXPECT_EQ(std::pair(both.sawThick, both.sheetIndex), std::pair(4, 2));
    EXPECT_TRUE(both.sawGiven && both.cutList);
    const CalcCliParse p = parseCalcCli({"--set", "h2=50", "--set", "h2=60", "--batch", "--best-fit"});
    EXPECT_EQ(p.options.sets.size(), 2u);
    EXPECT_EQ(p.options.sets[1].second, "60"); // the order of the sets is kept
    EXPECT_TRUE(p.options.batch && p.options.bestFit);
}

TEST(LayoutOptions, SettingsFileGivesTheDefaultsAndOptionsWin)
{
    const TempFolder dir;
    EXPECT_EQ(layoutSettingsIn(dir.path(), ','), (LayoutChoice{2, 1})); // no file
    const IniStore ini({dir.path(), "kelvra"});
    ini.WriteIni("Layouter", "Thick", "4");
    ini.WriteIni("Layouter", "Size", "0");
    EXPECT_EQ(layoutSettingsIn(dir.path(), '.'), (LayoutChoice{4, 0}));
    const CalcCliOptions saw = withLayoutSettings(parseCalcCli({"--saw", "3"}).options, dir.path());
    EXPECT_EQ(std::pair(saw.sawThick, saw.sheetIndex), std::pair(3, 0));
    const CalcCliOptions sheet = withLayoutSettings(parseCalcCli({"--sheet", "2"}).options, dir.path());
    EXPECT_EQ(std::pair(sheet.sawThick, sheet.sheetIndex), std::pair(4, 2));
    // Values no menu item has open the window on the defaults; so does the tool.
    ini.WriteIni("Layouter", "Thick", "9");
    ini.WriteIni("Layouter", "Size", "x");
    EXPECT_EQ(layoutSettingsIn(dir.path(), ','), (LayoutChoice{2, 1}));

    // The built tool reads the settings file beside it, and the options win.
    const std::string tool = (dir.dir() / "kelvra-calc").string();
    std::filesystem::copy_file(KELVRA_CALC_EXE, tool);
    ini.WriteIni("Layouter", "Thick", "3");
    ini.WriteIni("Layouter", "Size", "2");
    EXPECT_TRUE(contains(runTool(dir, "--json", "", tool).out,
                         "\"sheet\":{\"height\":366,\"width\":915,\"kerf\":9}"));
    EXPECT_TRUE(contains(runTool(dir, "--json --sheet 0 --saw 4", "", tool).out,
                         "\"sheet\":{\"height\":366,\"width\":183,\"kerf\":12}"));
    // The saved saw is the default of Best fit too.
    EXPECT_EQ(runTool(dir, "--json --best-fit", "", tool).out,
              runTool(dir, "--json --best-fit --saw 3", "", tool).out);
}

TEST_P(LayoutReportTest, DefaultAutoFitOnTheMiddleSheetWithKerfSix)
{
    const std::string json = layoutJsonOf(runOf({}, sep()));
    EXPECT_TRUE(contains(json, "\"sheet\":{\"height\":366,\"width\":732,\"kerf\":6}")) << json;
    // Positions always print with "."; the captions follow the user's separator.
    EXPECT_TRUE(contains(json, "\"panels\":[" + panelJson("front", "0", "0", "106.2", "124.2", 0) +
                                   "\" Voorzijde \\r\\nl:" + under("41,4", sep()) +
                                   "cm\\r\\nb:" + under("35,4", sep()) + "cm\"}"))
        << json;
    // The first layout of the opening, on the still empty sheet, turned the top; it stays turned. The
    // panels are the real boards: front and top between the sides (41,4), the sides 39 high.
    EXPECT_TRUE(contains(json, panelJson("top", "0", "130.2", "180.6", "124.2", 1))) << json;
    EXPECT_TRUE(contains(json, panelJson("right", "503.4", "0", "180.6", "117", 0))) << json;
    EXPECT_TRUE(contains(json, "\"visible\":false,\"caption\":\"Poort\\r\\n")) << json;
    EXPECT_TRUE(contains(json,
                         "\"cutLines\":[[109.2,0,109.2,127.2],[221.4,-3,221.4,127.2],[0,127.2,180.6,127.2],"
                         "[183.6,127.2,183.6,257.4],[313.8,127.2,313.8,313.8]]"))
        << json;
    // A sloped box's side panels are the real side boards too: 60,2 along the bottom, 39 high.
    EXPECT_TRUE(contains(
        layoutJsonOf(runOf({{"ca", "60"}}, sep())),
        "\"width\":180.6,\"height\":117,\"turned\":0,\"visible\":true,\"caption\":\"Zij links\\r\\nl:" +
            under("60,2", sep()) + "cm\\r\\nb:39cm\""));
    EXPECT_TRUE(contains(layoutJsonOf(runOf({{"h2", ""}}, sep())),
                         "\"sheet\":null,\"panels\":null,\"cutLines\":null"));
}

TEST_P(LayoutReportTest, SheetDrawingAndCutList)
{
    // A rectangular port lower than the box: all seven boards and the strip are sawn.
    const auto view = openedLayout(
        runOf({{"pieces2", "1"}, {"ptype", "1"}, {"pwhere", "3"}, {"hp", "20"}, {"bp", "2"}, {"lp", "21,3"}},
              sep()),
        LayoutStrings{}, {2, 1});
    ASSERT_TRUE(view);
    std::string svg = layoutSvg(*view);
    EXPECT_EQ(countOf(svg, "<rect "), 9u) << svg; // the sheet, seven boards and the slot's closing strip
    EXPECT_TRUE(contains(svg, "<rect id=\"portstrip\"")) << svg;
    EXPECT_TRUE(contains(svg, "<rect id=\"sheet\" x=\"0\" y=\"0\" width=\"732\" height=\"366\"")) << svg;
    EXPECT_TRUE(contains(svg, "width=\"244cm\" height=\"122cm\" viewBox=\"0 0 732 366\"")) << svg;
    EXPECT_TRUE(contains(svg, "<rect id=\"front\" x=\"0\" y=\"0\" width=\"106.2\" height=\"124.2\"")) << svg;
    EXPECT_TRUE(contains(svg, ">Poort</tspan>")) << svg;
    EXPECT_TRUE(contains(svg, ">l:" + under("41,4", sep()) + "cm</tspan>")) << svg;
    EXPECT_EQ(countOf(svg, "<line "), cutLinesOf(*view).size());
    EXPECT_EQ(countOf(svg, "<tspan"), countOf(svg, "</tspan>"));
    EXPECT_EQ(svg.substr(svg.find_last_not_of('\n') - 5, 6), "</svg>");
    const auto plain = openedLayout(runOf({}, sep()), LayoutStrings{}, {2, 1});
    EXPECT_EQ(countOf(layoutSvg(*plain), "<rect "), 7u); // without the port only six boards
    auto odd = *plain;
    odd.panels[kFront].caption = "A & <B>\r\nl:1cm\r\nb:2cm";
    EXPECT_TRUE(contains(layoutSvg(odd), ">A &amp; &lt;B&gt;</tspan>"));

    const std::string b = under("35,4", sep()), w = under("60,2", sep()), l = under("41,4", sep());
    // clang-format off
    EXPECT_EQ(cutListText(*plain, sep()), "Board        Length cm  Breadth cm  Turned\n"
                                          "Voorzijde         " + l + "        " + b + "  no\n"
                                          "Achterzijde       " + l + "        " + b + "  no\n"
                                          "Bovenzijde        " + l + "        " + w + "  yes\n"
                                          "Onderzijde        " + l + "        " + w + "  no\n"
                                          "Zij links         " + w + "          39  no\n"
                                          "Zij rechts        " + w + "          39  no\n");
    // clang-format on
}
