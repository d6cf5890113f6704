// kelvra-calc as a user runs it: the built program, its output and its exit status.
#include "app/CalcCli.h"
#include "tests/app/ToolRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

using namespace kelvra;

namespace
{

using kelvra::test::ToolRun;

// Runs the built tool with the given arguments (already shell-quoted) and collects stdout.
ToolRun runTool(const std::string& args)
{
    const std::string command = std::string("'") + KELVRA_CALC_EXE + "' " + args + " 2>/dev/null";
    return kelvra::test::runCommand(command);
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(KelvraCalc, DefaultBlockJsonUnderBothSeparators)
{
    for (const char* sep : {",", "."}) {
        const ToolRun r = runTool(std::string("--decimal ") + sep + " --json");
        ASSERT_EQ(r.status, 0) << sep;
        const std::string n = std::string("46") + sep + "23";
        EXPECT_TRUE(contains(r.out, "\"lblVolumeOut\":\"Outer Volume: 64 Liter\"")) << r.out;
        EXPECT_TRUE(contains(r.out, "\"lblVolume\":\"Intern Volume:\\r\\n" + n + " Liter\"")) << r.out;
        // Derived measures always use "." in JSON, whatever the locale.
        EXPECT_TRUE(contains(r.out, "\"innerHeight\":\"36.4\"")) << r.out;
        EXPECT_TRUE(contains(r.out, "\"thick\":[18,18,18]")) << r.out;
        EXPECT_TRUE(contains(r.out, "\"netVolume\":\"46.23\"")) << r.out;
        EXPECT_TRUE(contains(r.out, "\"simulationOn\":true")) << r.out;
        EXPECT_TRUE(contains(r.out, "\"messages\":[]")) << r.out;
    }
}

TEST(KelvraCalc, SetChangesTheDesign)
{
    const ToolRun r = runTool("--decimal , --set corr=2 --json");
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(contains(r.out, "Virtueel volume \\r\\n55,47 Liter")) << r.out;
    EXPECT_TRUE(contains(r.out, "\"corr\":2")) << r.out;
}

TEST(KelvraCalc, RefusalExitsWithOneAndTheMessage)
{
    const ToolRun r = runTool("--decimal , --set sub=4 --set h2=41,7 --json");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.out, "\"text\":\"Your sub is to big for the front plate\"")) << r.out;
    EXPECT_TRUE(contains(r.out, "\"icon\":\"exclamation\"")) << r.out;
    EXPECT_TRUE(contains(r.out, "\"simulationOn\":false")) << r.out;
    EXPECT_TRUE(contains(r.out, "\"netVolume\":null")) << r.out;
}

TEST(KelvraCalc, HumanReportShowsVolumesAndParameters)
{
    const ToolRun r = runTool("--decimal .");
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(contains(r.out, "Outer Volume: 64 Liter")) << r.out;
    EXPECT_TRUE(contains(r.out, "46.23 Liter")) << r.out;
    EXPECT_TRUE(contains(r.out, "B1:36.4cm B2:40")) << r.out;
}

TEST(KelvraCalc, UsageErrorsExitWithTwo)
{
    for (const char* args : {"--bogus", "--decimal x", "--set", "--set nokey", "--set zz=1", "--set sub=9",
                             "--set pieces2=abc", "--decimal"}) {
        EXPECT_EQ(runTool(args).status, 2) << args;
    }
}

TEST(KelvraCalc, ParseKeepsTheOrderOfSets)
{
    const CalcCliParse p = parseCalcCli({"--set", "h2=50", "--set", "h2=60", "--decimal", ","});
    ASSERT_TRUE(p.error.empty()) << p.error;
    ASSERT_EQ(p.options.sets.size(), 2u);
    EXPECT_EQ(p.options.sets[1].second, "60");
    EXPECT_EQ(p.options.decimalSeparator, ',');
}

TEST(KelvraCalc, AnyTextInABoxNeverCrashesTheTool)
{
    for (const char* text : {"", "abc", "1e400", "123456789012345678901234567890", "-0", "%20%20"}) {
        const ToolRun r = runTool(std::string("--json --set 'h2=") + text + "'");
        EXPECT_TRUE(r.status == 0 || r.status == 1) << text << " " << r.status;
    }
}

TEST(KelvraCalcBestFit, JsonHoldsThePlanOfTheDefaultModel)
{
    for (const char* sep : {",", "."}) {
        const ToolRun r = runTool(std::string("--decimal ") + sep + " --json --best-fit");
        ASSERT_EQ(r.status, 0) << sep;
        // Six boards of about 40 x 40 cm never fit on 122x61: one 122x244 sheet. JSON numbers use "."
        // whatever the locale.
        EXPECT_TRUE(
            contains(r.out, "\"bestFit\":{\"sheet\":1,\"sheets\":1,\"placements\":{\"front\":{\"sheet\":0,"))
            << r.out;
        for (const char* key : {"\"rear\":{", "\"top\":{", "\"bottom\":{", "\"left\":{", "\"right\":{"})
            EXPECT_TRUE(contains(r.out, key)) << key;
        EXPECT_FALSE(contains(r.out, "\"port\":{")); // no port in the default model
        EXPECT_TRUE(contains(r.out, "\"cuts\":[{\"n\":1,\"sheet\":0,\"piece\":1,\"from\":[")) << r.out;
        EXPECT_TRUE(contains(r.out, "\"cutLength\":")) << r.out;
        EXPECT_TRUE(contains(r.out, "\"wastePercent\":")) << r.out;
        EXPECT_TRUE(contains(r.out, "\"offcuts\":[{\"sheet\":0,")) << r.out;
    }
    EXPECT_FALSE(contains(runTool("--json").out, "bestFit")); // only when asked for
}

TEST(KelvraCalcBestFit, SmallModelFitsOnTheSmallestSheet)
{
    const ToolRun r = runTool("--json --best-fit --set sub=0 --set h2=20 --set l3=30 --set b2=28");
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(contains(r.out, "\"bestFit\":{\"sheet\":0,\"sheets\":1,")) << r.out;
}

TEST(KelvraCalcBestFit, PortBoardAndSawThickness)
{
    // One rectangular port of 36.4 x 20 cm at the front: seven boards, the port wall 20 x 36.4 cm.
    const std::string port =
        "--set pieces2=1 --set ptype=1 --set lp=20 --set bp=5 --set pwhere=0 --set hp=36";
    const ToolRun r = runTool("--decimal . --json --best-fit --saw 4 " + port + ".4");
    ASSERT_EQ(r.status, 0);
    const std::string portJson = r.out.substr(r.out.find("\"port\":{\"sheet\":"));
    EXPECT_TRUE(contains(portJson, "\"width\":20,\"height\":36.4") ||
                contains(portJson, "\"width\":36.4,\"height\":20"))
        << r.out;
    const ToolRun text = runTool("--decimal , --best-fit --saw 4 " + port + ",4");
    ASSERT_EQ(text.status, 0);
    EXPECT_TRUE(contains(text.out, "Best fit:\n  Sheet: 122x244, 1 sheet\n  Saw kerf: 4 mm\n")) << text.out;
    EXPECT_TRUE(contains(text.out, "\n  1. Sheet 1, piece 1 (244 x 122 cm): cut ")) << text.out;
    EXPECT_TRUE(contains(text.out, "Voorzijde (")) << text.out;
    for (const char* bad : {"--saw 5", "--saw", "--saw x"})
        EXPECT_EQ(runTool(std::string("--best-fit ") + bad).status, 2) << bad;
}

TEST(KelvraCalcBestFit, SvgDrawsThePlan)
{
    char folder[] = "/tmp/kelvra-bestfit-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::filesystem::path svg = std::filesystem::path(folder) / "plan.svg";
    const ToolRun r = runTool("--best-fit --svg '" + svg.string() + "'");
    ASSERT_EQ(r.status, 0);
    std::ifstream in(svg);
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    EXPECT_TRUE(contains(s, "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"732\" height=\"366\"")) << s;
    std::size_t boards = 0;
    for (std::size_t at = s.find("class=\"board\""); at != std::string::npos;
         at = s.find("class=\"board\"", at + 1))
        ++boards;
    EXPECT_EQ(boards, 6u);
    EXPECT_TRUE(contains(s, "class=\"cut\"")) << s;
    std::filesystem::remove_all(folder);
}

namespace
{

// A folder of its own for the project files of one test.
class KelvraCalcProject : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() /
              ("kelvra-calc-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string file(const std::string& name) const { return (dir / name).string(); }
    std::string slurp(const std::string& name) const
    {
        std::ifstream in(dir / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void put(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }
    std::filesystem::path dir;
};

} // namespace

TEST_F(KelvraCalcProject, SaveWritesWhatTheProgramsSaveWrites)
{
    for (const char sep : {',', '.'}) {
        const std::string s(1, sep);
        const ToolRun r = runTool("--decimal " + s + " --set h2=39 --set 'b2=60" + s + "2' --save '" +
                                  file("golf boot") + "'");
        ASSERT_EQ(r.status, 0);
        EXPECT_EQ(
            slurp("golf boot.tbx"),
            "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nsub=2\r\npieces0=0\r\npieces1=0\r\npieces2=0\r\ncorr=0\r\n"
            "pwhere=0\r\nptype=0\r\nh2=39\r\nl3=40\r\nb2=60" +
                s +
                "2\r\nca=90\r\ncb=90\r\nlp=0\r\ndp=0\r\nbp=0\r\nhp=0\r\nthick0=18\r\nthick1=18\r\n"
                "thick2=18\r\nsubvol=0\r\nvother=0\r\n");
        std::filesystem::remove(dir / "golf boot.tbx");
    }
}

TEST_F(KelvraCalcProject, ProjectIsReadThenSetsApplyAndPlacementsReachTheJson)
{
    put("house.tbx", "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nh2=39\r\nca=87,5\r\nsubvol=1,5\r\n[LAYOUT]\r\n"
                     "front=10,5x20x0\r\npwhere=spare\r\n");
    const ToolRun r = runTool("--decimal , --json --set l3=45 '" + file("house.tbx") + "'");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(contains(r.out, "\"h2\":\"39\"")) << r.out;
    EXPECT_TRUE(contains(r.out, "\"ca\":\"88\"")) << r.out;
    EXPECT_TRUE(contains(r.out, "\"l3\":\"45\"")) << r.out;
    EXPECT_TRUE(contains(r.out, "\"subvol\":\"1,5\"")) << r.out;
    EXPECT_TRUE(contains(
        r.out, "\"layoutStrings\":{\"front\":\"10,5x20x0\",\"rear\":\"\",\"top\":\"\",\"bottom\":\"\","
               "\"left\":\"\",\"right\":\"\",\"port\":\"\",\"pwhere\":\"spare\"}"))
        << r.out;

    // Read and saved again, the placements and the extra line stay.
    ASSERT_EQ(runTool("--decimal , '" + file("house.tbx") + "' --save '" + file("copy.tbx") + "'").status, 0);
    EXPECT_NE(slurp("copy.tbx").find("[LAYOUT]\r\nfront=10,5x20x0\r\npwhere=spare\r\n"), std::string::npos);
}

TEST_F(KelvraCalcProject, OldFormatIsReadWithAWarningAndAMissingFileIsAnError)
{
    put("old.tbx", "[DATA]\r\nh2=50\r\n");
    const std::string both = std::string("'") + KELVRA_CALC_EXE + "' --json '" + file("old.tbx") + "' 2>&1";
    FILE* pipe = popen(both.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        out.append(buffer.data(), n);
    EXPECT_EQ(WEXITSTATUS(pclose(pipe)), 0);
    EXPECT_TRUE(contains(out, "has format tag 'v0'")) << out;
    EXPECT_TRUE(contains(out, "\"h2\":\"50\"")) << out;

    EXPECT_EQ(runTool("'" + file("nowhere.tbx") + "'").status, 2);
    std::filesystem::create_directories(dir / "folder.tbx");
    EXPECT_EQ(runTool("--save '" + file("folder.tbx") + "'").status, 1);
}

TEST_F(KelvraCalcProject, ExportsWriteTheWorkshopFilesOfTheRealBoards)
{
    struct Case {
        const char* name;
        std::string args;
        int status;
        std::vector<const char*> files; // written, in the test's folder
    };
    const std::string all = " --export-svg '" + file("plan.svg") + "' --export-dxf '" + file("plan.dxf") +
                            "' --export-csv '" + file("plan.csv") + "'";
    const std::vector<Case> cases = {
        {"sloped box on one sheet", "--decimal , --set ca=70" + all, 0, {"plan.svg", "plan.dxf", "plan.csv"}},
        // No sheet holds this box whole: two 122x244 sheets, one drawing each.
        {"two sheets",
         "--saw 4 --set h2=60 --set l3=100 --set b2=90 --set ca=60" + all,
         0,
         {"plan.svg", "plan-2.svg", "plan.dxf", "plan.csv"}},
        {"boards that cannot be built", "--set ca=0" + all, 1, {}},
    };
    for (const Case& c : cases) {
        const ToolRun r = runTool(c.args);
        EXPECT_EQ(r.status, c.status) << c.name;
        std::vector<std::string> written;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            written.push_back(entry.path().filename().string());
        std::sort(written.begin(), written.end());
        std::vector<std::string> expected(c.files.begin(), c.files.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(written, expected) << c.name;
        if (c.status == 0) {
            EXPECT_TRUE(contains(slurp("plan.svg"), "viewBox=\"0 0 ")) << c.name;
            EXPECT_TRUE(contains(slurp("plan.dxf"), "AC1009")) << c.name;
            EXPECT_TRUE(contains(slurp("plan.csv"), "Zij links")) << c.name;
        }
        for (const std::string& f : written)
            std::filesystem::remove(dir / f);
    }
    // The comma separator gives ';' between fields; --batch writes no files.
    ASSERT_EQ(runTool("--decimal , --export-csv '" + file("plan.csv") + "'").status, 0);
    EXPECT_TRUE(contains(slurp("plan.csv"), "name;key;count;length cm;")) << slurp("plan.csv");
    EXPECT_EQ(runTool("--batch --export-dxf '" + file("plan.dxf") + "' </dev/null").status, 2);
}

TEST(KelvraCalcBoards, JsonListsTheRealBoardsAndTheExactVolumes)
{
    for (const char* sep : {",", "."}) {
        const ToolRun r = runTool(std::string("--decimal ") + sep + " --json --boards");
        ASSERT_EQ(r.status, 0) << sep;
        // The front sits between the sides and on the bottom: 36.4 x 36.4, its corners in the box.
        EXPECT_TRUE(
            contains(r.out, "\"boards\":[{\"key\":\"front\",\"name\":\"Voorzijde\",\"count\":1,"
                            "\"thickness\":18,\"length\":36.4,\"breadth\":36.4,\"outline\":[[0,0],"
                            "[36.4,0],[36.4,36.4],[0,36.4]],\"bevels\":[0,0,0,0],\"solid\":[[38.2,1.8,1.8],"))
            << r.out;
        EXPECT_TRUE(contains(r.out, "{\"key\":\"left\",\"name\":\"Zij links\",\"count\":1,\"thickness\":18,"
                                    "\"length\":40,\"breadth\":40,"))
            << r.out;
        EXPECT_TRUE(contains(r.out, "\"innerVolumeExact\":\"48.23\",\"netVolumeExact\":\"46.23\",")) << r.out;
    }
    const ToolRun sloped = runTool("--decimal , --json --boards --set ca=70 --set b2=60,2 --set h2=39");
    EXPECT_TRUE(contains(sloped.out, "\"bevels\":[20,0,20,0]")) << sloped.out;
    EXPECT_TRUE(contains(sloped.out, "\"volumeNote\":\"The exact net volume is ")) << sloped.out;
    EXPECT_FALSE(contains(runTool("--json").out, "\"boards\"")); // only when asked for
}

TEST(KelvraCalcBoards, ABoxThatCannotBeBuiltIsAnErrorNamingTheBoard)
{
    const std::string tool = std::string("'") + KELVRA_CALC_EXE + "' ";
    const ToolRun crossed =
        kelvra::test::runCommand(tool + "--decimal . --json --boards --set ca=30 2>&1 >/dev/null");
    EXPECT_EQ(crossed.status, 1);
    EXPECT_EQ(crossed.out,
              "kelvra-calc: The top: the end panels cross below the top: the top's outer width would "
              "be -29.28 cm.\n");
    const ToolRun slot =
        kelvra::test::runCommand(tool + "--decimal , --json --boards --set ca=60 --set pieces2=1 "
                                        "--set ptype=1 --set lp=40 --set bp=5 --set hp=36,4 2>/dev/null");
    EXPECT_EQ(slot.status, 1);
    EXPECT_EQ(slot.out, ""); // nothing of a box that cannot be built
}

TEST(KelvraCalc, CutListAndDrawingOfAStoppedDesignGiveTheMessageOnStderr)
{
    char folder[] = "/tmp/kelvra-stopped-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string svg = std::string(folder) + "/sheet.svg";
    for (const char* sep : {",", "."}) {
        // An 18" woofer does not fit behind a 41,7 cm front.
        const std::string design = std::string("--decimal ") + sep + " --set sub=5 --set h2=41" + sep + "7 ";
        for (const std::string& output :
             {std::string("--cut-list"), "--svg '" + svg + "'", "--best-fit --svg '" + svg + "'"}) {
            const std::string command = std::string("'") + KELVRA_CALC_EXE + "' " + design + output;
            const ToolRun err = kelvra::test::runCommand(command + " 2>&1 >/dev/null");
            EXPECT_EQ(err.status, 1) << output;
            EXPECT_TRUE(
                contains(err.out, "kelvra-calc: Error: sub size: Your sub is to big for the front plate\n"))
                << output << ": " << err.out;
            EXPECT_FALSE(std::filesystem::exists(svg)) << output;
        }
        EXPECT_EQ(runTool(design + "--cut-list").out, "");
    }
    std::filesystem::remove_all(folder);
}
