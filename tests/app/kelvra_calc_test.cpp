// kelvra-calc as a user runs it: the built program, its output and its exit status.
#include "CalcCli.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

using namespace kelvra;

namespace
{

struct ToolRun {
    int status = -1;
    std::string out;
};

// Runs the built tool with the given arguments (already shell-quoted) and collects stdout.
ToolRun runTool(const std::string& args)
{
    ToolRun r;
    const std::string command = std::string("'") + KELVRA_CALC_EXE + "' " + args + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        r.out.append(buffer.data(), n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
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
