// The recalculation on the designs whose figures are known by hand, under both decimal separators.
#include "calc/Recalculate.h"
#include "tests/support/SeparatorText.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace kelvra;

namespace
{

using kelvra::test::under;

// A design: the first-run values with some keys changed; texts are written with ",".
using Changes = std::map<std::string, std::string>;

ModelInputs design(const Changes& changes, char sep)
{
    ModelInputs in = firstRunInputs();
    for (const auto& [name, value] : changes) {
        const ModelKey* key = findModelKey(name);
        EXPECT_NE(key, nullptr) << name;
        if (key->kind == KeyKind::List)
            listPosition(in, *key) = std::stoi(value);
        else
            textOf(in, *key) = under(value, sep);
    }
    return in;
}

RecalcResult run(const Changes& changes, char sep, const CalcState& previous = {})
{
    return Recalculate(makeRecalcInputs(design(changes, sep), true, sep), previous);
}

class Recalc : public ::testing::TestWithParam<char>
{
};
INSTANTIATE_TEST_SUITE_P(Locale, Recalc, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

} // namespace

TEST_P(Recalc, KnownDesignsGiveTheirVolumes)
{
    const char sep = GetParam();
    struct Case {
        const char* name;
        Changes changes;
        const char* outer;
        const char* volume; // lblVolume, "," written
        std::int64_t netRaw;
    };
    const Case cases[] = {
        {"default block", {}, "Outer Volume: 64 Liter", "Intern Volume:\r\n46,23 Liter", 462300},
        {"damping wool",
         {{"corr", "2"}},
         "Outer Volume: 64 Liter",
         "Virtueel volume \r\n55,47 Liter",
         554700},
        {"bubble foil", {{"corr", "1"}}, "Outer Volume: 64 Liter", "Virtueel volume \r\n50,85 Liter", 508500},
        // P = 1.8 + 20; 2 x 21.8 x 10 x 10 x 0.785 = 3422.6 cm3 of port.
        {"two round ports",
         {{"pieces2", "2"}, {"dp", "10"}, {"lp", "20"}},
         "Outer Volume: 64 Liter",
         "Intern Volume:\r\n42,81 Liter",
         428100},
        // The maker's volume counts once for all woofers.
        {"subvol of three woofers",
         {{"pieces0", "2"}, {"subvol", "3"}},
         "Outer Volume: 64 Liter",
         "Intern Volume:\r\n45,23 Liter",
         452300},
        {"three woofers from the size table",
         {{"pieces0", "2"}},
         "Outer Volume: 64 Liter",
         "Intern Volume:\r\n42,23 Liter",
         422300},
        // 36.4 x (40 + 18.9) x 36.4 / 2 = 39020.072 cm3.
        {"front at 60 degrees",
         {{"cb", "60"}},
         "Outer Volume: 64 Liter",
         "Intern Volume:\r\n37,02 Liter",
         370200},
        {"rear at 70 degrees",
         {{"ca", "70"}},
         "Outer Volume: 64 Liter",
         "Intern Volume:\r\n42,19 Liter",
         421900},
        {"outer volume with a fraction",
         {{"h2", "45"}, {"l3", "40"}, {"b2", "40,3"}},
         "Outer Volume: 72,5 Liter",
         nullptr,
         0},
        {"other volume in whole litres",
         {{"vother", "5"}},
         "Outer Volume: 64 Liter",
         "Intern Volume:\r\n41,23 Liter",
         412300},
        {"15 inch just fits", {{"sub", "4"}, {"h2", "41,8"}}, "Outer Volume: 66,9 Liter", nullptr, 0},
        {"minus zero", {{"lp", "-0"}}, "Outer Volume: 64 Liter", "Intern Volume:\r\n46,23 Liter", 462300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RecalcResult r = run(c.changes, sep);
        EXPECT_TRUE(r.outcome.ranToEnd);
        EXPECT_TRUE(r.outcome.messages.empty());
        EXPECT_FALSE(r.outcome.switchSimulationOff);
        EXPECT_EQ(r.state.lblVolumeOut, under(c.outer, sep));
        if (c.volume) {
            EXPECT_EQ(r.state.lblVolume, under(c.volume, sep));
            ASSERT_TRUE(r.outcome.netVolume.has_value());
            EXPECT_EQ(r.outcome.netVolume->raw(), c.netRaw);
        }
    }
}

TEST_P(Recalc, DerivedMeasuresOfTheDefaultBlock)
{
    const RecalcResult r = run({}, GetParam());
    const DerivedMeasures& d = r.state.derived;
    EXPECT_EQ(d.thick, (std::array<std::int16_t, 3>{18, 18, 18}));
    EXPECT_EQ(d.innerHeight.raw(), 364000);
    EXPECT_EQ(d.innerLength.raw(), 364000);
    EXPECT_EQ(d.innerWidth.raw(), 364000);
    EXPECT_EQ(d.angleCa, kRightAngle);
    EXPECT_EQ(d.angleCb, kRightAngle);
    EXPECT_EQ(d.offsetCa.raw(), 0);
    EXPECT_EQ(d.offsetCb.raw(), 0);
    EXPECT_EQ(d.topWidth, d.bottomWidth);
    EXPECT_EQ(d.bottomWidth.raw(), 400000);
    EXPECT_EQ(d.slantCa.raw(), 364000);
    // 36.4 - 0.5 x 2 x 36.4 / tan 1.57: a right angle still leaves a small offset with pi = 3.14.
    EXPECT_EQ(d.meanInnerWidth.raw(), 363710);
    EXPECT_EQ(d.partitionWidth.raw(), 327710);
}

TEST_P(Recalc, SlopedFrontGivesTheTrapezoidMeasures)
{
    const RecalcResult r = run({{"cb", "60"}}, GetParam());
    const DerivedMeasures& d = r.state.derived;
    EXPECT_EQ(d.angleCb.raw(), 10467);
    EXPECT_EQ(d.topWidth.raw(), 189000);
    EXPECT_EQ(d.slantCb.raw(), 420000);
    EXPECT_EQ(d.offsetCb.raw(), 210000);
    EXPECT_EQ(d.meanInnerWidth.raw(), 258657);
}

TEST_P(Recalc, ThicknessTextRoundsHalvesToEven)
{
    const char sep = GetParam();
    EXPECT_EQ(run({{"thick0", "18,5"}}, sep).state.derived.thick[0], 18);
    EXPECT_EQ(run({{"thick0", "19,5"}}, sep).state.derived.thick[0], 20);
}

TEST_P(Recalc, FifteenInchWooferIsRefusedAtItsOwnDiameter)
{
    const char sep = GetParam();
    // 41.7 - 3.6 = 38.1 = 15 x 2.54: equal counts as too large.
    const CalcState before;
    const RecalcResult r = run({{"sub", "4"}, {"h2", "41,7"}}, sep, before);
    ASSERT_EQ(r.outcome.messages.size(), 1u);
    const Message& m = r.outcome.messages[0];
    EXPECT_EQ(m.text, "Your sub is to big for the front plate");
    EXPECT_EQ(m.title, "Error: sub size");
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
    EXPECT_TRUE(r.outcome.switchSimulationOff);
    EXPECT_FALSE(r.outcome.ranToEnd);
    EXPECT_EQ(r.state.lblVolumeOut, before.lblVolumeOut);
    EXPECT_EQ(r.state.lblVolume, before.lblVolume);
    // The measures of the steps before the check are already written.
    EXPECT_EQ(r.state.derived.innerHeight.raw(), 381000);
}

TEST_P(Recalc, NegativeVolumeKeepsOnlyThePrefix)
{
    const char sep = GetParam();
    const RecalcResult r = run({{"pieces2", "1"}, {"dp", "30"}, {"lp", "100"}}, sep);
    ASSERT_EQ(r.outcome.messages.size(), 1u);
    EXPECT_EQ(r.outcome.messages[0].text, "Somethings wrong, you've got a negative volume");
    EXPECT_EQ(r.outcome.messages[0].title, "Calculate Neg.");
    EXPECT_EQ(r.outcome.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(r.outcome.switchSimulationOff);
    EXPECT_EQ(r.state.lblVolumeOut, "Outer Volume: 64 Liter");
    EXPECT_EQ(r.state.lblVolume, "Intern Volume:\r\n");
}

TEST_P(Recalc, TranslatedMessageTextIsUsed)
{
    TextTables tables = ResetTextTables();
    tables.messageBox[kMsgNegativeVolume] = "Negative!";
    const char sep = GetParam();
    const RecalcInputs in =
        makeRecalcInputs(design({{"pieces2", "1"}, {"dp", "30"}, {"lp", "100"}}, sep), true, sep, &tables);
    const RecalcResult r = Recalculate(in, CalcState{});
    ASSERT_EQ(r.outcome.messages.size(), 1u);
    EXPECT_EQ(r.outcome.messages[0].text, "Negative!");
}

TEST_P(Recalc, AngleOfZeroIsARuntimeError)
{
    const RecalcResult r = run({{"ca", "0"}}, GetParam());
    ASSERT_EQ(r.outcome.messages.size(), 1u);
    const Message& m = r.outcome.messages[0];
    EXPECT_EQ(m.text.rfind("There has been a error [6]:\r\n", 0), 0u) << m.text;
    EXPECT_EQ(m.title, programTitle());
    EXPECT_EQ(m.icon, MessageIcon::None);
    EXPECT_TRUE(r.outcome.switchSimulationOff);
}

TEST_P(Recalc, EmptyBoxReturnsSilentlyAndChangesNothing)
{
    const char sep = GetParam();
    const CalcState before = run({}, sep).state;
    for (int i = 0; i < 12; ++i) {
        ModelInputs in = firstRunInputs();
        in.txtSize[static_cast<std::size_t>(i)].clear();
        in.txtSize[static_cast<std::size_t>((i + 1) % 12)] = "50"; // would change the result if anything ran
        const RecalcResult r = Recalculate(makeRecalcInputs(in, true, sep), before);
        EXPECT_TRUE(r.outcome.messages.empty()) << i;
        EXPECT_FALSE(r.outcome.switchSimulationOff) << i;
        EXPECT_EQ(r.state, before) << i;
    }
}

TEST_P(Recalc, SimulationOffDoesNothing)
{
    const char sep = GetParam();
    const RecalcResult r = Recalculate(makeRecalcInputs(firstRunInputs(), false, sep), CalcState{});
    EXPECT_EQ(r.state, CalcState{});
    EXPECT_TRUE(r.outcome.messages.empty());
    EXPECT_FALSE(r.outcome.ranToEnd);
}

TEST_P(Recalc, AnyTextInAnyBoxGivesAMessageNeverACrash)
{
    const char sep = GetParam();
    const std::string texts[] = {"letters",      "1e400",  "123456789012345678901234567890",
                                 "   ",          "12,5,5", "\x01\xff",
                                 "-99999999999", "9e18"};
    for (std::size_t box = 0; box < 14; ++box) {
        for (const std::string& text : texts) {
            ModelInputs in = firstRunInputs();
            (box < 13 ? in.txtSize[box] : in.txtVother) = text;
            const RecalcResult r = Recalculate(makeRecalcInputs(in, true, sep), CalcState{});
            if (r.outcome.ranToEnd)
                continue; // a text the box tolerates (a huge length, say) may still give a design
            ASSERT_EQ(r.outcome.messages.size(), 1u) << box << " " << text;
            EXPECT_TRUE(r.outcome.switchSimulationOff) << box << " " << text;
        }
    }
}

TEST_P(Recalc, TextThatIsNotANumberIsErrorThirteenAndNamesItsBox)
{
    // Every box in the order the recalculation reads them, and the name the window knows it by.
    const std::pair<const char*, const char*> boxes[] = {
        {"thick0", "txtSize(9)"},  {"thick2", "txtSize(11)"}, {"h2", "txtSize(0)"}, {"cb", "txtSize(4)"},
        {"subvol", "txtSize(12)"}, {"lp", "txtSize(5)"},      {"hp", "txtSize(8)"}, {"vother", "txtVother"}};
    for (const auto& [key, control] : boxes) {
        const RecalcResult r = run({{key, "abc"}}, GetParam());
        ASSERT_EQ(r.outcome.messages.size(), 1u) << key;
        EXPECT_EQ(r.outcome.messages[0].text, "There has been a error [13]:\r\nType mismatch") << key;
        EXPECT_EQ(r.outcome.unreadControl, control) << key;
    }
    // Stops that are no unreadable text name no box.
    for (const Changes& other : {Changes{{"ca", "0"}}, Changes{{"sub", "5"}}, Changes{}})
        EXPECT_EQ(run(other, GetParam()).outcome.unreadControl, "");
}

TEST_P(Recalc, ListWithoutSelectionIsARuntimeError)
{
    for (const char* list : {"sub", "pieces0", "pieces1"}) {
        const RecalcResult r = run({{list, "-1"}}, GetParam());
        ASSERT_EQ(r.outcome.messages.size(), 1u) << list;
        EXPECT_TRUE(r.outcome.switchSimulationOff) << list;
    }
    // The port count is compared as a position first, so no selection means no port.
    EXPECT_TRUE(run({{"pieces2", "-1"}}, GetParam()).outcome.ranToEnd);
}

TEST_P(Recalc, FigureVisibilityFollowsTheAngles)
{
    const char sep = GetParam();
    struct Case {
        Changes changes;
        std::map<std::string, bool> visible;
    };
    const Case cases[] = {
        {{},
         {{"lblH2(0)", true},
          {"lblH2(1)", true},
          {"lblH3(0)", false},
          {"lblH4(0)", false},
          {"lblB1(0)", true},
          {"lblB1(1)", true},
          {"lblB1(2)", true},
          {"lblL3(1)", false},
          {"lblL4(1)", false},
          {"lblL4(2)", false}}},
        {{{"ca", "70"}}, {{"lblH3(0)", true}, {"lblH2(1)", true}, {"lblH2(0)", false}, {"lblH4(0)", false}}},
    };
    for (const auto& c : cases) {
        FigureState figure = run(c.changes, sep).state.figure;
        for (const auto& [name, visible] : c.visible) {
            const LabelState* label = findLabel(figure, name);
            ASSERT_NE(label, nullptr) << name;
            EXPECT_EQ(label->visible, visible) << name;
        }
    }
}

TEST_P(Recalc, FigureAndParameterTextOfTheDefaultBlock)
{
    const char sep = GetParam();
    RecalcResult r = run({}, sep);
    EXPECT_EQ(findLabel(r.state.figure, "lblH2(0)")->caption, under("H2: 36,4cm", sep));
    EXPECT_EQ(findLabel(r.state.figure, "lblL3(0)")->caption, "L3: 40cm");
    EXPECT_EQ(findLabel(r.state.figure, "lblL4(0)")->caption, "L4: 40cm");
    const std::string& p = r.state.paramText;
    EXPECT_EQ(p.rfind("P:18mm\r\n", 0), 0u) << p;
    EXPECT_NE(p.find(under("B1:36,4cm B2:40", sep)), std::string::npos) << p;
    EXPECT_NE(p.find("H2:40 "), std::string::npos) << p;
}

TEST_P(Recalc, FrontPortNarrowsOneB2Label)
{
    const char sep = GetParam();
    RecalcResult r =
        run({{"pieces2", "1"}, {"ptype", "1"}, {"pwhere", "0"}, {"hp", "36,4"}, {"bp", "5"}}, sep);
    EXPECT_EQ(findLabel(r.state.figure, "lblB2(2)")->caption, under("B2: 33,2cm", sep));
    for (const char* other : {"lblB2(0)", "lblB2(1)", "lblB2(3)"})
        EXPECT_EQ(findLabel(r.state.figure, other)->caption, "B2: 40cm") << other;
    EXPECT_FALSE(findLabel(r.state.figure, "lblDP")->visible);
    EXPECT_TRUE(findLabel(r.state.figure, "lblBP")->visible);
}

TEST_P(Recalc, InPlaceAndPureRecalculationAgree)
{
    const char sep = GetParam();
    const RecalcInputs in = makeRecalcInputs(design({{"ca", "75"}, {"pieces1", "1"}}, sep), true, sep);
    CalcState state;
    const RecalcOutcome outcome = Recalculate(in, state);
    const RecalcResult pure = Recalculate(in, CalcState{});
    EXPECT_EQ(state, pure.state);
    EXPECT_EQ(outcome.netVolume, pure.outcome.netVolume);
}
