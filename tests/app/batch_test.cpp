// kelvra-calc --batch: the line reader, one JSON line per design, and the built tool fed on stdin.
#include "app/Batch.h"
#include "tests/app/ToolRun.h"
#include "tests/support/SeparatorText.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace kelvra;
using namespace kelvra::test;

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
    std::ostringstream out, err;
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
    CalcCliOptions o;
    o.decimalSeparator = separator;
    return designJson(runDesign(inputs, separator, ResetTextTables()), LayoutStrings{}, o);
}

// A line and its words, or the error it gives as a design.
struct LineCase {
    const char* line;
    std::vector<std::string> words;
    const char* error = "";
};

class BatchLine : public ::testing::TestWithParam<LineCase>
{
};

const std::string kNotAWord = "a design is KEY=TEXT or @PROJECT.tbx words, not ";
const std::string kSub = "list key 'sub' takes a position from -1 to 5, not ";
const std::string kUnclosed = "a quote opened in the line is not closed";

} // namespace

TEST_P(BatchLine, GivesTheWordsOrNamesWhatIsWrong)
{
    const LineCase& c = GetParam();
    const BatchWords w = splitBatchLine(c.line);
    if (!c.words.empty() || std::string(c.error).empty()) {
        EXPECT_EQ(w.error, "");
        EXPECT_EQ(w.words, c.words);
    }
    if (std::string(c.error).empty())
        return;
    EXPECT_EQ(readBatchLine(c.line, firstRunInputs(), ',').error, c.error);
    if (c.error == kUnclosed) {
        EXPECT_TRUE(w.words.empty() && w.error == kUnclosed);
    }
}

const LineCase kLines[] = {
    {"", {}},
    {"  h2=50\tl3=30   b2=20 ", {"h2=50", "l3=30", "b2=20"}},
    {"h2=50\r", {"h2=50"}},
    {"h2=\"4 0\"", {"h2=4 0"}},
    {"@\"/tmp/my house.tbx\" h2=1", {"@/tmp/my house.tbx", "h2=1"}},
    {"x=\"a\\\"b\"", {"x=a\"b"}},
    {"x=\"a\\\\b\"", {"x=a\\b"}},
    {"x=a\\b", {"x=a\\b"}},
    {"h2=\"\"", {"h2="}},
    {"a\"b c\"d e", {"ab cd", "e"}},
    {"h2", {"h2"}, "a design is KEY=TEXT or @PROJECT.tbx words, not 'h2'"},
    {"h2=40 =5", {"h2=40", "=5"}, "a design is KEY=TEXT or @PROJECT.tbx words, not '=5'"},
    {"\"\"", {""}, "a design is KEY=TEXT or @PROJECT.tbx words, not ''"},
    {"H2=40", {"H2=40"}, "unknown model key 'H2'"},
    {"sub=6", {"sub=6"}, "list key 'sub' takes a position from -1 to 5, not '6'"},
    {"sub=", {"sub="}, "list key 'sub' takes a position from -1 to 5, not ''"},
    {"@", {"@"}, "'@' needs a project file path"},
    {"@/no/such/house.tbx",
     {"@/no/such/house.tbx"},
     "cannot read project file '/no/such/house.tbx': no such file"},
    {"h2=\"40", {}, "a quote opened in the line is not closed"},
    {"x=\"a\\\"", {}, "a quote opened in the line is not closed"},
};

INSTANTIATE_TEST_SUITE_P(Lines, BatchLine, ::testing::ValuesIn(kLines),
                         [](const auto& info) { return caseName(info.index, info.param.line); });

TEST(BatchLine, WordsAndProjectsApplyFromLeftToRight)
{
    const BatchDesign d = readBatchLine("h2=50 sub=-1 h2=\"61,5\" pieces2=2 vother= ", firstRunInputs(), ',');
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.inputs.h2, "61,5");
    EXPECT_EQ(d.inputs.sub, -1);
    EXPECT_EQ(d.inputs.pieces2, 2);
    EXPECT_EQ(d.inputs.vother, "");
    EXPECT_EQ(d.inputs.l3, "40"); // untouched keys keep the first-run value
    const TempFolder dir;
    const std::string house = dir.put("my house.tbx", "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nh2=39\r\nl3=44\r\n"
                                                      "[LAYOUT]\r\nfront=10,5x20x0\r\n");
    const BatchDesign before = readBatchLine("h2=70 \"@" + house + "\"", firstRunInputs(), ',');
    EXPECT_EQ(before.inputs.h2, "39"); // the project comes after, so its h2 stands
    EXPECT_EQ(before.layout[0], "10,5x20x0");
    const BatchDesign after = readBatchLine("@\"" + house + "\" h2=70", firstRunInputs(), ',');
    EXPECT_EQ(after.inputs.h2, "70");
    EXPECT_EQ(after.inputs.l3, "44");
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
        EXPECT_TRUE(contains(r.out[1], "\"lblVolume\":\"Intern Volume:\\r\\n46" + s + "23 Liter\""))
            << r.out[1];
        EXPECT_EQ(r.summary.lines, 3);
        EXPECT_EQ(r.summary.errors, 0);
    }
    // The separator applies to every line: the same number in each one's own writing, the same volume.
    const BatchRun comma = batch("h2=45,5\nh2=45.5\n", ',');
    const BatchRun dot = batch("h2=45.5\nh2=45,5\n", '.');
    EXPECT_EQ(comma.out[0], singleJson({{"h2", "45,5"}}, ','));
    EXPECT_EQ(dot.out[1], singleJson({{"h2", "45,5"}}, '.'));
    EXPECT_EQ(comma.out[1], singleJson({{"h2", "45.5"}}, ','));
}

TEST(Batch, BadAndStoppedLinesAreReportedAndTheBatchGoesOn)
{
    const BatchRun r = batch("h2=50\nfoo=1\nsub=9\nh2=\"5\nh2=55\nh2=\n", ',');
    ASSERT_EQ(r.out.size(), 6u);
    EXPECT_EQ(r.out[1], "{\"line\":2,\"error\":\"unknown model key 'foo'\"}");
    EXPECT_EQ(r.out[2], "{\"line\":3,\"error\":\"" + kSub + "'9'\"}");
    EXPECT_EQ(r.out[3], "{\"line\":4,\"error\":\"" + kUnclosed + "\"}");
    EXPECT_EQ(r.out[4], singleJson({{"h2", "55"}}, ','));
    EXPECT_EQ(r.out[5], singleJson({{"h2", ""}}, ','));
    EXPECT_EQ(r.summary.errors, 3);
    EXPECT_EQ(r.summary.stopped, 1);
    EXPECT_FALSE(r.summary.allRanToEnd());
    // Error texts stay valid JSON, whatever bytes the line holds.
    EXPECT_EQ(batch("f\xff\"o=1\n", ',').out[0], "{\"line\":1,\"error\":\"" + kUnclosed + "\"}");
    EXPECT_EQ(batch("f\xffo\\=1\n", ',').out[0],
              "{\"line\":1,\"error\":\"unknown model key 'f\xEF\xBF\xBDo\\\\'\"}");
    const BatchRun t = batch("vother=\xe9t\xc3\xa9\n", ',');
    EXPECT_TRUE(contains(t.out[0], "\"vother\":\"\xEF\xBF\xBDt\xC3\xA9\"")) << t.out[0];
}

TEST(Batch, CommandLineOptionsApplyToEveryLine)
{
    CalcCliOptions o;
    o.sets = {{"h2", "50"}, {"thick0", "22"}};
    const BatchRun r = batch("\nthick0=16\n", '.', o);
    ASSERT_EQ(r.out.size(), 2u);
    EXPECT_EQ(r.out[0], singleJson({{"h2", "50"}, {"thick0", "22"}}, '.'));
    EXPECT_EQ(r.out[1], singleJson({{"h2", "50"}, {"thick0", "16"}}, '.'));
    CalcCliOptions fit;
    fit.bestFit = true;
    const BatchRun f = batch("h2=30\nh2=\n", ',', fit);
    EXPECT_TRUE(contains(f.out[0], "\"bestFit\":{")) << f.out[0];
    EXPECT_TRUE(contains(f.out[1], "\"bestFit\":null")) << f.out[1];
}

TEST(Batch, ProjectWarningsNameTheirLine)
{
    const TempFolder dir;
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
    const TempFolder dir;
    dir.put("golf boot.tbx", "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nh2=39\r\n");
    dir.put("designs.txt", "h2=50\r\n@\"golf boot.tbx\" l3=45\r\nnope\r\n\r\n");
    dir.put("good.txt", "h2=50\nl3=30\n");
    const ToolRun r = runTool(dir, "--batch --decimal .", "< designs.txt 2>/dev/null");
    EXPECT_EQ(r.status, 1) << "a line in error"; // the other lines were still written
    const std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 4u) << r.out;
    EXPECT_EQ(out[0], singleJson({{"h2", "50"}}, '.'));
    EXPECT_TRUE(contains(out[1], "\"h2\":\"39\",\"l3\":\"45\"")) << out[1];
    EXPECT_EQ(out[2], "{\"line\":3,\"error\":\"" + kNotAWord + "'nope'\"}");
    EXPECT_EQ(runTool(dir, "--batch --decimal ,", "< good.txt").status, 0);
    EXPECT_EQ(runTool(dir, "--batch", "</dev/null").out, "");
}
