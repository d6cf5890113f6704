// kelvra-calc --batch: the line reader, one JSON line per design, and the built tool fed on stdin.
#include "app/Batch.h"
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

namespace
{

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

struct BatchRun {
    BatchSummary summary;
    std::vector<std::string> out;
    std::string err;
};

BatchRun batch(const std::string& input, char separator, CalcCliOptions options = {})
{
    options.decimalSeparator = separator;
    options.batch = true;
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    BatchRun r;
    r.summary = runBatch(in, out, err, options);
    r.out = lines(out.str());
    r.err = err.str();
    return r;
}

// The --json line the tool gives for the first-run values with these --set words.
std::string singleJson(const std::vector<std::pair<std::string, std::string>>& sets, char separator)
{
    ModelInputs inputs = firstRunInputs();
    for (const auto& [k, t] : sets)
        EXPECT_EQ(applySet(inputs, k, t), "");
    const CalcRun run = runDesign(inputs, separator, ResetTextTables());
    CalcCliOptions o;
    o.decimalSeparator = separator;
    return designJson(run, LayoutStrings{}, o);
}

using kelvra::test::ToolRun;

// The built tool with its standard input taken from a file.
ToolRun runTool(const std::string& args, const std::string& stdinFile)
{
    const std::string command =
        std::string("'") + KELVRA_CALC_EXE + "' " + args + " < '" + stdinFile + "' 2>/dev/null";
    return kelvra::test::runCommand(command);
}

class TempFolder
{
public:
    TempFolder()
    {
        m_dir =
            std::filesystem::temp_directory_path() /
            ("kelvra-batch-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    ~TempFolder() { std::filesystem::remove_all(m_dir); }
    std::string file(const std::string& name) const { return (m_dir / name).string(); }
    std::string put(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return file(name);
    }

private:
    std::filesystem::path m_dir;
};

struct SplitCase {
    const char* line;
    std::vector<std::string> words;
};

class SplitBatchLine : public ::testing::TestWithParam<SplitCase>
{
};

} // namespace

TEST_P(SplitBatchLine, GivesTheWords)
{
    const BatchWords w = splitBatchLine(GetParam().line);
    EXPECT_EQ(w.error, "");
    EXPECT_EQ(w.words, GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Words, SplitBatchLine,
    ::testing::Values(SplitCase{"", {}}, SplitCase{"   \t ", {}}, SplitCase{"h2=50", {"h2=50"}},
                      SplitCase{"  h2=50\tl3=30   b2=20 ", {"h2=50", "l3=30", "b2=20"}},
                      SplitCase{"h2=50\r", {"h2=50"}}, SplitCase{"h2=\"4 0\"", {"h2=4 0"}},
                      SplitCase{"@\"/tmp/my house.tbx\" h2=1", {"@/tmp/my house.tbx", "h2=1"}},
                      SplitCase{"x=\"a\\\"b\"", {"x=a\"b"}}, SplitCase{"x=\"a\\\\b\"", {"x=a\\b"}},
                      SplitCase{"x=\"a\\nb\"", {"x=a\\nb"}}, SplitCase{"x=a\\b", {"x=a\\b"}},
                      SplitCase{"h2=\"\"", {"h2="}}, SplitCase{"\"\"", {""}},
                      SplitCase{"a\"b c\"d e", {"ab cd", "e"}}),
    [](const auto& info) { return kelvra::test::caseName(info.index, info.param.line); });

TEST(SplitBatchLine, UnclosedQuoteIsAnError)
{
    for (const char* line : {"h2=\"40", "\"", "h2=1 l3=\"2 3", "x=\"a\\\""}) {
        const BatchWords w = splitBatchLine(line);
        EXPECT_EQ(w.error, "a quote opened in the line is not closed") << line;
        EXPECT_TRUE(w.words.empty()) << line;
    }
}

struct BadLine {
    const char* line;
    const char* error;
};

class BatchBadLine : public ::testing::TestWithParam<BadLine>
{
};

TEST_P(BatchBadLine, NamesWhatIsWrong)
{
    const BatchDesign d = readBatchLine(GetParam().line, firstRunInputs(), ',');
    EXPECT_EQ(d.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, BatchBadLine,
    ::testing::Values(BadLine{"h2", "a design is KEY=TEXT or @PROJECT.tbx words, not 'h2'"},
                      BadLine{"h2=40 =5", "a design is KEY=TEXT or @PROJECT.tbx words, not '=5'"},
                      BadLine{"\"\"", "a design is KEY=TEXT or @PROJECT.tbx words, not ''"},
                      BadLine{"H2=40", "unknown model key 'H2'"},
                      BadLine{"size=1", "unknown model key 'size'"},
                      BadLine{"sub=6", "list key 'sub' takes a position from -1 to 5, not '6'"},
                      BadLine{"sub=-2", "list key 'sub' takes a position from -1 to 5, not '-2'"},
                      BadLine{"sub=1x", "list key 'sub' takes a position from -1 to 5, not '1x'"},
                      BadLine{"sub=", "list key 'sub' takes a position from -1 to 5, not ''"},
                      BadLine{"@", "'@' needs a project file path"},
                      BadLine{"@/no/such/house.tbx",
                              "cannot read project file '/no/such/house.tbx': no such file"},
                      BadLine{"h2=\"4", "a quote opened in the line is not closed"}),
    [](const auto& info) { return kelvra::test::caseName(info.index, info.param.line); });

TEST(BatchLine, WordsApplyFromLeftToRight)
{
    const BatchDesign d = readBatchLine("h2=50 sub=-1 h2=\"61,5\" pieces2=2 vother= ", firstRunInputs(), ',');
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.inputs.txtSize[0], "61,5");
    EXPECT_EQ(d.inputs.sub, -1);
    EXPECT_EQ(d.inputs.pieces[2], 2);
    EXPECT_EQ(d.inputs.txtVother, "");
    EXPECT_EQ(d.inputs.txtSize[1], "40"); // untouched keys keep the first-run value
}

TEST(BatchLine, ProjectIsReadWhereItStandsInTheLine)
{
    TempFolder dir;
    const std::string house = dir.put("my house.tbx", "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nh2=39\r\nl3=44\r\n"
                                                      "[LAYOUT]\r\nfront=10,5x20x0\r\n");
    const BatchDesign before = readBatchLine("h2=70 \"@" + house + "\"", firstRunInputs(), ',');
    ASSERT_EQ(before.error, "");
    EXPECT_EQ(before.inputs.txtSize[0], "39"); // the project comes after, so its h2 stands
    EXPECT_EQ(before.layout[0], "10,5x20x0");
    const BatchDesign after = readBatchLine("@\"" + house + "\" h2=70", firstRunInputs(), ',');
    ASSERT_EQ(after.error, "");
    EXPECT_EQ(after.inputs.txtSize[0], "70");
    EXPECT_EQ(after.inputs.txtSize[1], "44");
}

TEST(Batch, EachLineGivesExactlyTheJsonOfThatDesign)
{
    for (const char sep : {',', '.'}) {
        const std::string s(1, sep);
        const BatchRun r = batch("h2=50\n\nl3=3" + s + "5 ca=80 pieces2=1\n", sep);
        ASSERT_EQ(r.out.size(), 3u) << sep;
        EXPECT_EQ(r.out[0], singleJson({{"h2", "50"}}, sep));
        EXPECT_EQ(r.out[1], singleJson({}, sep)); // an empty line is the first-run design
        EXPECT_EQ(r.out[2], singleJson({{"l3", "3" + s + "5"}, {"ca", "80"}, {"pieces2", "1"}}, sep));
        EXPECT_TRUE(contains(r.out[1], "\"netVolume\":\"46.23\"")) << r.out[1];
        EXPECT_TRUE(contains(r.out[1], "\"lblVolume\":\"Intern Volume:\\r\\n46" + s + "23 Liter\""))
            << r.out[1];
        EXPECT_EQ(r.summary.lines, 3);
        EXPECT_EQ(r.summary.errors, 0);
    }
}

TEST(Batch, TheDecimalSeparatorAppliesToEveryLine)
{
    const BatchRun comma = batch("h2=45,5\nh2=45.5\n", ',');
    const BatchRun dot = batch("h2=45.5\nh2=45,5\n", '.');
    ASSERT_EQ(comma.out.size(), 2u);
    ASSERT_EQ(dot.out.size(), 2u);
    // The same number in each locale's own writing gives the same volume.
    const auto volume = [](const std::string& json) {
        const std::size_t at = json.find("\"netVolume\"");
        return json.substr(at, json.find(',', at) - at);
    };
    EXPECT_EQ(volume(comma.out[0]), volume(dot.out[0]));
    EXPECT_NE(volume(comma.out[0]), volume(singleJson({}, ',')));
    // The separator reaches the result texts of every line, not only the first.
    EXPECT_TRUE(contains(comma.out[1], " Liter\"")) << comma.out[1];
    EXPECT_NE(comma.out[1], dot.out[0]);
}

TEST(Batch, ABadLineGivesAnErrorObjectAndTheBatchGoesOn)
{
    const BatchRun r = batch("h2=50\nfoo=1\nsub=9\nh2=\"5\nh2=55\n", ',');
    ASSERT_EQ(r.out.size(), 5u);
    EXPECT_EQ(r.out[1], "{\"line\":2,\"error\":\"unknown model key 'foo'\"}");
    EXPECT_EQ(r.out[2], "{\"line\":3,\"error\":\"list key 'sub' takes a position from -1 to 5, not '9'\"}");
    EXPECT_EQ(r.out[3], "{\"line\":4,\"error\":\"a quote opened in the line is not closed\"}");
    EXPECT_EQ(r.out[4], singleJson({{"h2", "55"}}, ','));
    EXPECT_EQ(r.summary.errors, 3);
    EXPECT_FALSE(r.summary.allRanToEnd());
}

TEST(Batch, ErrorTextsStayValidJson)
{
    const BatchRun r = batch("f\xff\"o=1\n", ',');
    ASSERT_EQ(r.out.size(), 1u);
    EXPECT_EQ(r.out[0], "{\"line\":1,\"error\":\"a quote opened in the line is not closed\"}");
    const BatchRun k = batch("f\xffo\\=1\n", ',');
    EXPECT_EQ(k.out[0], "{\"line\":1,\"error\":\"unknown model key 'f\xEF\xBF\xBDo\\\\'\"}");
    // A text box holding bytes that are not UTF-8 still gives valid JSON; good letters stay.
    const BatchRun t = batch("vother=\xe9t\xc3\xa9\n", ',');
    EXPECT_TRUE(contains(t.out[0], "\"vother\":\"\xEF\xBF\xBDt\xC3\xA9\"")) << t.out[0];
}

TEST(Batch, AStoppedDesignIsReportedAndCounted)
{
    const BatchRun r = batch("h2=\nh2=40\n", ',');
    ASSERT_EQ(r.out.size(), 2u);
    EXPECT_EQ(r.out[0], singleJson({{"h2", ""}}, ','));
    EXPECT_EQ(r.summary.stopped, 1);
    EXPECT_EQ(r.summary.errors, 0);
    EXPECT_FALSE(r.summary.allRanToEnd());
}

TEST(Batch, CommandLineSetsAreTheBaseOfEveryLine)
{
    CalcCliOptions o;
    o.sets = {{"h2", "50"}, {"thick0", "22"}};
    const BatchRun r = batch("\nthick0=16\n", '.', o);
    ASSERT_EQ(r.out.size(), 2u);
    EXPECT_EQ(r.out[0], singleJson({{"h2", "50"}, {"thick0", "22"}}, '.'));
    EXPECT_EQ(r.out[1], singleJson({{"h2", "50"}, {"thick0", "16"}}, '.'));
}

TEST(Batch, BestFitIsAddedToEveryDesign)
{
    CalcCliOptions o;
    o.bestFit = true;
    const BatchRun r = batch("h2=30\nh2=\n", ',', o);
    ASSERT_EQ(r.out.size(), 2u);
    EXPECT_TRUE(contains(r.out[0], "\"bestFit\":{")) << r.out[0];
    EXPECT_TRUE(contains(r.out[1], "\"bestFit\":null")) << r.out[1];
}

TEST(Batch, ProjectWarningsNameTheirLine)
{
    TempFolder dir;
    const std::string old = dir.put("old.tbx", "[DATA]\r\nh2=50\r\nca=abc\r\n");
    const BatchRun r = batch("h2=1\n@" + old + "\n", ',');
    ASSERT_EQ(r.out.size(), 2u);
    EXPECT_TRUE(contains(r.out[1], "\"h2\":\"50\"")) << r.out[1];
    EXPECT_TRUE(contains(r.out[1], "\"ca\":\"90\"")) << r.out[1];
    EXPECT_TRUE(contains(r.err, "kelvra-calc: line 2: warning: '" + old + "' has format tag")) << r.err;
    EXPECT_TRUE(contains(r.err, "kelvra-calc: line 2: warning: 'ca' in '" + old + "' could not be read"))
        << r.err;
}

TEST(BatchTool, ReadsStandardInputAndWritesOneLineEach)
{
    TempFolder dir;
    const std::string house = dir.put("golf boot.tbx", "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nh2=39\r\n");
    const std::string input = dir.put("designs.txt", "h2=50\r\n@\"" + house + "\" l3=45\r\nnope\r\n\r\n");
    for (const char* sep : {",", "."}) {
        const ToolRun r = runTool(std::string("--batch --decimal ") + sep, input);
        EXPECT_EQ(r.status, 1) << "a line in error"; // the other lines were still written
        const std::vector<std::string> out = lines(r.out);
        ASSERT_EQ(out.size(), 4u) << r.out;
        EXPECT_EQ(out[0], singleJson({{"h2", "50"}}, sep[0]));
        EXPECT_TRUE(contains(out[1], "\"h2\":\"39\",\"l3\":\"45\"")) << out[1];
        EXPECT_EQ(out[2],
                  "{\"line\":3,\"error\":\"a design is KEY=TEXT or @PROJECT.tbx words, not 'nope'\"}");
        EXPECT_EQ(out[3], singleJson({}, sep[0]));
    }
}

TEST(BatchTool, ExitStatusAndUsageErrors)
{
    TempFolder dir;
    const std::string good = dir.put("good.txt", "h2=50\nl3=30\n");
    const std::string empty = dir.put("empty.txt", "");
    EXPECT_EQ(runTool("--batch --decimal ,", good).status, 0);
    const ToolRun none = runTool("--batch", empty);
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(runTool("--batch --set foo=1", good).status, 2);
    EXPECT_EQ(runTool("--batch '" + dir.file("x.tbx") + "'", good).status, 2);
    EXPECT_EQ(runTool("--batch --save '" + dir.file("x.tbx") + "'", good).status, 2);
    EXPECT_EQ(runTool("--batch --svg '" + dir.file("x.svg") + "'", good).status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.tbx")));

    const CalcCliParse p = parseCalcCli({"--batch", "--decimal", ",", "--best-fit"});
    EXPECT_EQ(p.error, "");
    EXPECT_TRUE(p.options.batch);
    EXPECT_TRUE(p.options.bestFit);
}
