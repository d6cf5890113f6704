// kelvra-calc as a user runs it: the built program under both decimal separators, with what it prints,
// its exit status and the files it leaves in the folder it runs in.
#include "tests/app/ToolRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using namespace kelvra::test;

namespace
{

struct CliCase {
    const char* name;
    std::string args; // after "--decimal ~"; stderr is dropped unless these redirect it
    int status;
    std::vector<std::string> parts = {};                           // in what the run prints
    std::vector<std::string> absent = {};                          // nowhere in it
    std::vector<std::string> files = {};                           // the files it leaves, no more
    std::vector<std::pair<std::string, std::string>> written = {}; // a file and a part of it
    std::vector<std::pair<std::string, std::string>> given = {};   // files there before; "/" ends a folder
};

const std::string kErrors = "2>&1 >/dev/null";
const std::string kBox = "--set h2=50 --set l3=60 --set b2=50 --set sub=3 ";
const std::string kWoofer = "--set fs=29 --set qes=0~44 --set qms=6 --set vas=70 --set sd=490 --set xmax=12 "
                            "--set re=3~3 --set pe=400 --set le=1~8 ";
const std::string kPort = "--set pieces2=1 --set dp=10 --set lp=30 ";
const std::string kFitBoot =
    "--set bootdepth=45 --set bootheight=38 --set bootwidth=45 --set seatangle=70 --set power=150 ";
const std::string kSlot =
    "--set pieces2=1 --set ptype=1 --set lp=20 --set bp=5 --set pwhere=0 --set hp=36~4 ";
const std::string kExports = " --export-svg plan.svg --export-dxf plan.dxf --export-csv plan.csv";
const std::string kHouse = "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nh2=39\r\nca=87~5\r\nsubvol=1~5\r\n[LAYOUT]\r\n"
                           "front=10~5x20x0\r\npwhere=spare\r\n";
const std::string kStopped = "--set sub=5 --set h2=41~7 "; // an 18" woofer behind a 41,7 cm front
const std::string kSubTooBig = "kelvra-calc: Error: sub size: Your sub is to big for the front plate\n";

// clang-format off
const CliCase kCases[] = {
    {"DefaultBlockJson", "--json", 0,
     {"\"lblVolumeOut\":\"Outer Volume: 64 Liter\"", "\"lblVolume\":\"Intern Volume:\\r\\n46~23 Liter\"",
      // Derived measures always use "." in JSON, whatever the user's separator.
      "\"innerHeight\":\"36.4\"", "\"thick\":[18,18,18]", "\"netVolume\":\"46.23\"", "\"simulationOn\":true",
      "\"messages\":[]", "\"acoustics\":{\"fb\":null,\"portLengthFor\":{}}}"},
     {"bestFit", "\"boards\""}},
    {"SetChangesTheDesign", "--set corr=2 --json", 0, {"Virtueel volume \\r\\n55~47 Liter", "\"corr\":2"}},
    {"RefusalExitsWithOne", "--set sub=4 --set h2=41~7 --json", 1,
     {"\"text\":\"Your sub is to big for the front plate\"", "\"icon\":\"exclamation\"",
      "\"simulationOn\":false", "\"netVolume\":null"}},
    {"HumanReport", "", 0, {"Outer Volume: 64 Liter", "46~23 Liter", "B1:36~4cm B2:40"},
     {"How it will sound"}},
    // Six boards of about 40 x 40 cm never fit on 122x61: one 122x244 sheet.
    {"BestFitJson", "--json --best-fit", 0,
     {"\"bestFit\":{\"sheet\":1,\"sheets\":1,\"placements\":{\"front\":{\"sheet\":0,", "\"right\":{",
      "\"cuts\":[{\"n\":1,\"sheet\":0,\"piece\":1,\"from\":[", "\"cutLength\":", "\"wastePercent\":",
      "\"offcuts\":[{\"sheet\":0,"}, {"\"port\":{"}},
    {"BestFitPortBoardJson", "--json --best-fit --saw 4 " + kSlot, 0, {"\"width\":18.2,\"height\":36.4"}},
    {"BestFitText", "--best-fit --saw 4 " + kSlot, 0,
     {"Best fit:\n  Sheet: 122x244, 1 sheet\n  Saw kerf: 4 mm\n",
      "\n  1. Sheet 1, piece 1 (244 x 122 cm): cut ", "Voorzijde ("}},
    {"BestFitSvg", "--best-fit --svg plan.svg", 0, {}, {}, {"plan.svg"},
     {{"plan.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"732\" height=\"366\""},
      {"plan.svg", "class=\"board\""}, {"plan.svg", "class=\"cut\""}}},
    // The front sits between the sides and on the bottom: 36.4 x 36.4, its corners in the box.
    {"DisplayOfEveryBoardAsSawn", "--json --units cm " + kSlot, 0,
     {"\"units\":\"cm\"", "\"port\":\"18~2 cm x 36~4 cm\""}},
    {"BoardsJson", "--json --boards", 0,
     {"\"boards\":[{\"key\":\"front\",\"name\":\"Voorzijde\",\"count\":1,\"thickness\":18,\"length\":36.4,"
      "\"breadth\":36.4,\"outline\":[[0,0],[36.4,0],[36.4,36.4],[0,36.4]],\"bevels\":[0,0,0,0],\"solid\":[["
      "38.2,1.8,1.8],",
      "{\"key\":\"left\",\"name\":\"Zij links\",\"count\":1,\"thickness\":18,\"length\":40,\"breadth\":40,",
      "\"innerVolumeExact\":\"48.23\",\"netVolumeExact\":\"46.23\","}},
    {"SlopedBoardsJson", "--json --boards --set ca=70 --set b2=60~2 --set h2=39", 0,
     {"\"bevels\":[20,0,20,0]", "\"netVolume\":\"61.64\",\"netVolumeClassic\":\"67.26\","}},
    {"CrossedEndsNameTheBoard", "--json --boards --set ca=30 " + kErrors, 1,
     {"kelvra-calc: The top: the end panels cross below the top: the top's outer width would be -29~28 "
      "cm.\n"}},
    {"SlotTooLongPrintsNothing", "--json --boards --set ca=60 " + kSlot + "--set lp=40", 1, {}, {"{"}},
    {"StoppedCutList", kStopped + "--cut-list " + kErrors, 1, {kSubTooBig}},
    {"StoppedCutListPrintsNothing", kStopped + "--cut-list", 1, {}, {"Board"}},
    {"ExportsOfASlopedBox", "--set ca=70" + kExports, 0, {}, {}, {"plan.csv", "plan.dxf", "plan.svg"},
     {{"plan.svg", "viewBox=\"0 0 "}, {"plan.dxf", "AC1009"}, {"plan.csv", "Zij links"}}},
    // No sheet holds this box whole: two 122x244 sheets, one drawing each.
    {"ExportsOnTwoSheets", "--saw 4 --set h2=60 --set l3=100 --set b2=90 --set ca=60" + kExports, 0, {}, {},
     {"plan-2.svg", "plan.csv", "plan.dxf", "plan.svg"}},
    {"ExportsOfABoxThatCannotBeBuilt", "--set ca=0" + kExports, 1},
    {"Save", "--set h2=39 --set b2=60~2 --save 'golf boot'", 0, {}, {}, {"golf boot.tbx"},
     {{"golf boot.tbx", "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nsub=2\r\npieces0=0\r\npieces1=0\r\n"
                        "pieces2=0\r\ncorr=0\r\npwhere=0\r\nptype=0\r\nh2=39\r\nl3=40\r\nb2=60~2\r\n"
                        "ca=90\r\ncb=90\r\nlp=0\r\ndp=0\r\nbp=0\r\nhp=0\r\nthick0=18\r\nthick1=18\r\n"
                        "thick2=18\r\nsubvol=0\r\nvother=0\r\n"}}},
    {"ProjectReadThenSets", "--json --set l3=45 house.tbx", 0,
     {"\"h2\":\"39\"", "\"ca\":\"88\"", "\"l3\":\"45\"", "\"subvol\":\"1~5\"",
      "\"layoutStrings\":{\"front\":\"10~5x20x0\",\"rear\":\"\",\"top\":\"\",\"bottom\":\"\",\"left\":\"\","
      "\"right\":\"\",\"port\":\"\",\"pwhere\":\"spare\"}"}, {}, {}, {}, {{"house.tbx", kHouse}}},
    // Read and saved again, the placements and the extra line stay.
    {"ProjectSavedAgain", "house.tbx --save copy.tbx", 0, {}, {}, {"copy.tbx"},
     {{"copy.tbx", "[LAYOUT]\r\nfront=10~5x20x0\r\npwhere=spare\r\n"}}, {{"house.tbx", kHouse}}},
    {"OldProjectWarns", "--json old.tbx 2>&1", 0, {"has format tag 'v0'", "\"h2\":\"50\""}, {}, {}, {},
     {{"old.tbx", "[DATA]\r\nh2=50\r\n"}}},
    {"MissingProject", "nowhere.tbx", 2},
    {"SaveOntoAFolder", "--save folder.tbx", 1, {}, {}, {}, {}, {{"folder.tbx/", ""}}},
    {"PortTuningAndTargets", "--json " + kBox + kPort + "--target-fb 32 --target-fb 35~5", 0,
     {"\"acoustics\":{\"fb\":2", "\"portLengthFor\":{\"32\":", ",\"35~5\":"}, {"\"qtc\"", "\"curve\""}},
    {"SealedFigures", "--json " + kBox + kWoofer, 0,
     {"\"acoustics\":{\"fb\":null,\"portLengthFor\":{},\"woofers\":1,\"qtc\":0.", "\"sensitivity\":8",
      "\"curve\":[{\"f\":10,\"spl\":"}},
    {"VentedCurveCsv",
     "--json " + kBox + kWoofer + kPort + "--set car=2 --set power=200 --curve-csv curve.csv", 0,
     {"\"qtc\":null,\"fc\":null,\"f3\":"}, {}, {"curve.csv"},
     {{"curve.csv", "f^spl^splCabin^excursion^portSpeed^maxSpl^maxPower^impedance^impedancePhase^groupDelay\r\n10^"}}},
    // Two woofers wired in series, 2 ohm coils in parallel, behind a subsonic filter: one driver of
    // twice Vas and Sd, a 2 ohm load, 800 W rated.
    {"TwoWoofersWiredAndFiltered",
     "--json " + kBox + kWoofer + kPort + "--set pieces0=1 --set coils=2 --set z=2 --set coilwiring=1 "
     "--set wiring=1 --set subsonic=25 --set subsonicorder=5 --set lowpass=80 --set power=1000", 0,
     {"\"woofers\":2,", "\"load\":2,", "\"fullPower\":{\"power\":800,\"excursionLimitAt\":",
      "\"portResonance\":", "\"suggested\":{\"sealed\":{\"vb\":", "\"vented\":{\"vb\":",
      "\"warnings\":[\"The power 1000 W is above the rated power of 800 W.\"]",
      "\"maxSpl\":", "\"maxPower\":", "\"impedance\":", "\"impedancePhase\":", "\"groupDelay\":"}},
    // lp counts from the front's outer face: the room is the inside and the 1,8 cm front.
    {"TargetPortLongerThanTheBox", "--json " + kBox + kPort + "--target-fb 12", 0,
     {"\"warnings\":[\"Target Fb 12 Hz needs a port of 133~4 cm; the box has room for 48~2 cm.\"]"}},
    {"FsOutOfRange", kBox + kWoofer + "--set fs=600 2>&1", 1, {"fs: must be from 5 to 500 Hz"}},
    {"PowerOutOfRange", kBox + kWoofer + "--set power=200000 2>&1", 1, {"power: must be from"}},
    {"BadWiring", kBox + kWoofer + "--set wiring=2 2>&1", 1, {"wiring: must be 0 or 1"}},
    {"WooferTravelsWithTheProject", kBox + kWoofer + kPort + "--set targetfb=33 --save boot", 0, {}, {},
     {"boot.tbx"}, {{"boot.tbx", "[WOOFER]\r\nfs=29\r\nqes=0~44"}}},
    {"BadQes", kBox + kWoofer + "--set qes=0 2>&1", 1, {"qes: must be greater than 0"}, {"nan"}},
    {"BadCar", kBox + kWoofer + "--set car=4 2>&1", 1, {"car: must be one of 0 to 3"}},
    {"BadTarget", kBox + kWoofer + "--target-fb 0 2>&1", 1, {"--target-fb takes a frequency"}},
    {"MissingVas", kBox + "--set fs=30 --curve-csv c.csv 2>&1", 1, {"vas: missing"}},
    {"BadSheet", "--sheet 7 2>&1", 2, {"--sheet takes 0 (122x61), 1 (122x244), 2 (122x305), 4x8ft, 5x5ft or LxB"}},
    {"BadSaw", "--saw 1 2>&1", 2, {"--saw takes 2, 3 or 4 (mm), 1/8 or 3/32 (inch), not '1'"}},
    {"UnwritableDrawing", "--svg no/such/x.svg 2>&1", 1, {"cannot write"}},
    {"FitBootTooSmall", "--fit-boot --set sub=3 " + kFitBoot + "--set bootheight=30 " + kWoofer + "2>&1", 1,
     {"The boot is too small for 1 woofer of 12\": their front needs more than 34~1 cm of height"}},
    {"FitBootBadGoal", "--fit-boot --set goal=3 " + kWoofer + "2>&1", 1,
     {"goal: must be 0 (deepest), 1 (loudest) or 2 (smallest)"}},
    {"FitBootJson", "--fit-boot --json --set sub=3 " + kFitBoot + kWoofer, 0,
     {"{\"fit\":{\"best\":{\"inputs\":{\"h2\":\"", "\"ca\":\"70\",\"cb\":\"90\"", "\"front\":[{\"inputs\"",
      "\"evaluated\":", "\"seconds\":"}},
};
// clang-format on

void PrintTo(const CliCase& c, std::ostream* os)
{
    *os << c.name;
}

class CalcCli : public ::testing::TestWithParam<CliCase>
{
};

} // namespace

TEST_P(CalcCli, PrintsWritesAndExits)
{
    const CliCase& c = GetParam();
    for (const char sep : {',', '.'}) {
        SCOPED_TRACE(std::string("separator ") + sep);
        const TempFolder dir;
        std::vector<std::string> expected(c.files.begin(), c.files.end());
        for (const auto& [name, bytes] : c.given) {
            expected.push_back(name.substr(0, name.find('/')));
            if (name.back() == '/')
                std::filesystem::create_directories(dir.dir() / name);
            else
                dir.put(name, withSeparator(bytes, sep));
        }
        std::sort(expected.begin(), expected.end());
        const ToolRun r = runTool(dir, withSeparator("--decimal ~ " + c.args, sep),
                                  contains(c.args, "2>") ? "" : "2>/dev/null");
        EXPECT_EQ(r.status, c.status) << r.out;
        for (const std::string& part : c.parts)
            EXPECT_TRUE(contains(r.out, withSeparator(part, sep))) << part << "\nin: " << r.out;
        for (const std::string& part : c.absent)
            EXPECT_FALSE(contains(r.out, part)) << part << "\nin: " << r.out;
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir.dir()))
            files.push_back(entry.path().filename().string());
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, expected);
        for (const auto& [file, part] : c.written) {
            const std::string bytes = dir.read(file);
            EXPECT_TRUE(contains(bytes, withSeparator(part, sep))) << file << ":\n" << bytes;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, CalcCli, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CalcCliUsage, WrongOptionsExitWithTwo)
{
    const TempFolder dir;
    for (const char* args : {"--bogus", "--decimal x", "--set", "--set nokey", "--set zz=1", "--set sub=9",
                             "--set pieces2=abc", "--decimal", "--best-fit --saw 5", "--best-fit --saw",
                             "--best-fit --saw x", "--batch --export-dxf plan.dxf", "--batch --set foo=1",
                             "--batch x.tbx", "--batch --save x.tbx", "--batch --svg x.svg"})
        EXPECT_EQ(runTool(dir, args, "</dev/null 2>/dev/null").status, 2) << args;
    EXPECT_TRUE(std::filesystem::is_empty(dir.dir()));
}

TEST(CalcCliFitBoot, TheBestInputsGivenBackGiveTheSameFigures)
{
    const TempFolder dir;
    const std::string woofer = withSeparator(kWoofer, '.');
    const ToolRun fit = runTool(dir, "--decimal . --fit-boot --json --set sub=3 " + kFitBoot + woofer);
    ASSERT_EQ(fit.status, 0) << fit.out;
    // The best design's inputs, as --set words.
    const auto from = fit.out.find("\"inputs\":{") + 10, to = fit.out.find('}', from);
    std::string sets;
    for (std::size_t at = from; at < to;) {
        const auto colon = fit.out.find(':', at), end = std::min(fit.out.find(",\"", at), to);
        std::string value = fit.out.substr(colon + 1, end - colon - 1);
        std::erase(value, '"');
        sets += "--set " + fit.out.substr(at + 1, colon - at - 2) + "=" + value + " ";
        at = end + 1;
    }
    const ToolRun again = runTool(dir, "--decimal . --json --boards " + sets + woofer + "--set power=150");
    ASSERT_EQ(again.status, 0) << sets << again.out;
    const auto member = [](const std::string& text, const std::string& key, std::size_t from = 0) {
        const auto at = text.find("\"" + key + "\":", from) + key.size() + 3;
        return text.substr(at, text.find_first_of(",}", at) - at);
    };
    const auto best = fit.out.find("\"best\"");
    EXPECT_EQ(member(fit.out, "fb", best), member(again.out, "fb", again.out.find("\"acoustics\"")));
    EXPECT_EQ(member(fit.out, "f3", best), member(again.out, "f3", again.out.find("\"acoustics\"")));
    std::string net = member(again.out, "netVolumeExact");
    std::erase(net, '"');
    EXPECT_NEAR(std::stod(member(fit.out, "netVolume", best)), std::stod(net), 0.005);
}
