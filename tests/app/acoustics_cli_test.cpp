// kelvra-calc's acoustics: the woofer keys, --target-fb, --curve-csv and the woofer section of a project.
// libstdc++'s <regex> trips GCC's maybe-uninitialized analysis at -O1 with the sanitizers: a false alarm.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include "tests/app/ToolRun.h"

#include "tests/support/SeparatorText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace
{

using kelvra::test::ToolRun;

// A box of 50 x 60 x 50 cm with the generic 12-inch woofer, written with "," for the separator.
const std::string kBox = "--set h2=50 --set l3=60 --set b2=50 --set sub=3";
const std::string kWoofer = "--set fs=29 --set qes=0,44 --set qms=6 --set vas=70 --set sd=490 --set xmax=12 "
                            "--set re=3,3 --set pe=400 --set le=1,8";
const std::string kPort = "--set pieces2=1 --set dp=10 --set lp=30";

class AcousticsCli : public ::testing::TestWithParam<char>
{
protected:
    void SetUp() override
    {
        // One folder per test: ctest runs the tests of this file side by side.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        dir = std::filesystem::temp_directory_path() / ("kelvra-acoustics-cli-" + name);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // The tool under the test's separator; stderr joins stdout when asked.
    ToolRun run(const std::string& args, bool withErrors = false) const
    {
        const std::string command =
            std::string("cd '") + dir.string() + "' && '" + KELVRA_CALC_EXE + "' --decimal " + GetParam() +
            " " + kelvra::test::under(args, GetParam()) + (withErrors ? " 2>&1" : " 2>/dev/null");
        return kelvra::test::runCommand(command);
    }
    std::string file(const std::string& name) const
    {
        std::ifstream in(dir / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static std::size_t count(const std::string& text, const std::string& part)
    {
        std::size_t n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }

    std::filesystem::path dir;
};

} // namespace

TEST_P(AcousticsCli, JsonAlwaysTellsTheTuningTheReportWhenAskedFor)
{
    EXPECT_TRUE(std::regex_search(run("--json " + kBox + " " + kPort).out,
                                  std::regex(R"("acoustics":\{"fb":2\d\.\d+,"portLengthFor":\{\}\}\}\s*$)")));
    EXPECT_TRUE(std::regex_search(run("--json " + kBox).out,
                                  std::regex(R"("acoustics":\{"fb":null,"portLengthFor":\{\}\}\}\s*$)")));
    EXPECT_EQ(count(run(kBox + " " + kPort).out, "How it will sound"), 0u);
    // A port and a target: the tuning and the length, nothing of a woofer.
    const ToolRun r = run("--json " + kBox + " " + kPort + " --target-fb 32 --target-fb 35,5");
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(std::regex_search(
        r.out, std::regex(R"("acoustics":\{"fb":2\d\.\d+,"portLengthFor":\{"32":\d+\.\d+,"35)" +
                          std::string(GetParam() == ',' ? "," : ".") + R"(5":\d+\.\d+\}\}\}\s*$)")))
        << r.out;
}

TEST_P(AcousticsCli, SealedAndVentedFiguresAndTheCurve)
{
    const ToolRun sealed = run("--json " + kBox + " " + kWoofer);
    ASSERT_EQ(sealed.status, 0) << sealed.out;
    EXPECT_TRUE(std::regex_search(
        sealed.out, std::regex(R"("acoustics":\{"fb":null,"portLengthFor":\{\},"qtc":0\.\d+,"fc":\d+\.\d+,)"
                               R"("f3":\d+\.\d+,"sensitivity":8\d\.\d+,)")))
        << sealed.out;
    EXPECT_EQ(count(sealed.out, "{\"f\":"), 52u);
    EXPECT_NE(sealed.out.find("\"curve\":[{\"f\":10,\"spl\":"), std::string::npos);

    const ToolRun vented = run("--json " + kBox + " " + kWoofer + " " + kPort +
                               " --set car=2 --set power=200 "
                               "--curve-csv curve.csv");
    ASSERT_EQ(vented.status, 0) << vented.out;
    EXPECT_NE(vented.out.find("\"qtc\":null,\"fc\":null,\"f3\":"), std::string::npos) << vented.out;
    const std::string csv = file("curve.csv");
    const char column = GetParam() == ',' ? ';' : ',';
    EXPECT_EQ(count(csv, "\r\n"), 53u);
    EXPECT_EQ(csv.rfind(std::string("f") + column + "spl" + column + "splCabin" + column + "excursion" +
                            column + "portSpeed\r\n10" + column,
                        0),
              0u)
        << csv;
}

TEST_P(AcousticsCli, BadWooferValuesNameTheKey)
{
    const struct {
        const char* set;
        const char* message;
    } cases[] = {{"--set qes=0", "qes: must be greater than 0"},
                 {"--set vas=-70", "vas: must be greater than 0"},
                 {"--set sd=big", "sd: not a number"},
                 {"--set car=4", "car: must be one of 0 to 3"},
                 {"--target-fb 0", "--target-fb takes a frequency"}};
    for (const auto& c : cases) {
        const ToolRun r = run(kBox + " " + kWoofer + " " + c.set, true);
        EXPECT_EQ(r.status, 1) << c.set;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("nan"), std::string::npos);
    }
    EXPECT_NE(run(kBox + " --set fs=30 --curve-csv c.csv", true).out.find("vas: missing"), std::string::npos);
}

TEST_P(AcousticsCli, TheWooferTravelsWithTheProjectFile)
{
    ASSERT_EQ(run(kBox + " " + kWoofer + " " + kPort + " --set targetfb=33 --save boot").status, 0);
    EXPECT_NE(file("boot.tbx").find("[WOOFER]\r\nfs=29\r\nqes=" + kelvra::test::under("0,44", GetParam())),
              std::string::npos)
        << file("boot.tbx");
    const ToolRun r = run("--json boot.tbx");
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("\"portLengthFor\":{\"33\":"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"curve\":[{"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Separators, AcousticsCli, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });
