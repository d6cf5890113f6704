// The recalculation on designs whose figures are known by hand, under both decimal separators; the
// woofer-fit rule, the version texts and the built-in text tables that messages and lists show.
#include "calc/InputRules.h"
#include "calc/Recalculate.h"
#include "info/Version.h"
#include "tests/layouter/LayouterTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace kelvra;
using kelvra::test::Changes;
using kelvra::test::under;

namespace
{

RecalcResult run(const Changes& changes, char sep, const CalcState& previous = {})
{
    return Recalculate(makeRecalcInputs(test::inputsOf(changes, sep), true, sep), previous);
}

std::string caption(RecalcResult r, const char* label)
{
    const LabelState* l = findLabel(r.state.figure, label);
    return l ? l->caption : "(no label)";
}

class Recalc : public ::testing::TestWithParam<char>
{
protected:
    char sep() const { return GetParam(); }
    // The only message of a stopped recalculation.
    Message stopped(const Changes& changes) const
    {
        const RecalcResult r = run(changes, sep());
        EXPECT_EQ(r.outcome.messages.size(), 1u);
        EXPECT_TRUE(r.outcome.switchSimulationOff);
        EXPECT_FALSE(r.outcome.ranToEnd);
        return r.outcome.messages.empty() ? Message{} : r.outcome.messages[0];
    }
};
INSTANTIATE_TEST_SUITE_P(Locale, Recalc, ::testing::Values(',', '.'), kelvra::test::SeparatorName{});

} // namespace

TEST_P(Recalc, KnownDesignsGiveTheirVolumes)
{
    struct Case {
        const char* name;
        Changes changes;
        const char* outer;
        const char* volume; // lblVolume, "," written; null where only the outer volume is known
        double net;
    };
    const char* in = "Intern Volume:\r\n";
    const Case cases[] = {
        {"default block", {}, "64", "Intern Volume:\r\n46,23 Liter", 46.23},
        {"damping wool", {{"corr", "2"}}, "64", "Virtueel volume \r\n55,47 Liter", 55.47},
        // P = 1.8 + 20; 2 x 21.8 x 10 x 10 x 0.785 = 3422.6 cm3 of port.
        {"two round ports", {{"pieces2", "2"}, {"dp", "10"}, {"lp", "20"}}, "64", "42,81", 42.81},
        // The maker's volume counts once for all woofers.
        {"subvol of three woofers", {{"pieces0", "2"}, {"subvol", "3"}}, "64", "45,23", 45.23},
        {"three woofers from the size table", {{"pieces0", "2"}}, "64", "42,23", 42.23},
        // 36.4 x (40 + 18.9) x 36.4 / 2 = 39020.072 cm3.
        {"front at 60 degrees", {{"cb", "60"}}, "64", "37,02", 37.02},
        {"rear at 70 degrees", {{"ca", "70"}}, "64", "42,19", 42.19},
        {"outer volume with a fraction", {{"h2", "45"}, {"l3", "40"}, {"b2", "40,3"}}, "72,5", nullptr, 0},
        {"other volume in whole litres", {{"vother", "5"}}, "64", "41,23", 41.23},
        {"15 inch just fits", {{"sub", "4"}, {"h2", "41,8"}}, "66,9", nullptr, 0},
        {"minus zero", {{"lp", "-0"}}, "64", "46,23", 46.23},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RecalcResult r = run(c.changes, sep());
        EXPECT_TRUE(r.outcome.ranToEnd);
        EXPECT_TRUE(r.outcome.messages.empty());
        EXPECT_EQ(r.state.lblVolumeOut, under(std::string("Outer Volume: ") + c.outer + " Liter", sep()));
        if (!c.volume)
            continue;
        const std::string volume = c.volume;
        EXPECT_EQ(r.state.lblVolume,
                  under(volume.find('\n') != std::string::npos ? volume : in + volume + " Liter", sep()));
        ASSERT_TRUE(r.outcome.netVolume.has_value());
        EXPECT_EQ(r.outcome.netVolume->raw(), std::llround(c.net * 10000));
    }
}

TEST_P(Recalc, DerivedMeasuresOfTheBlockAndTheSlopedFront)
{
    const DerivedMeasures d = run({}, sep()).state.derived;
    EXPECT_EQ(d.thick, (std::array<std::int16_t, 3>{18, 18, 18}));
    EXPECT_EQ(d.innerHeight.raw(), 364000);
    EXPECT_EQ(d.angleCa, kRightAngle);
    EXPECT_EQ(d.offsetCb.raw(), 0);
    EXPECT_EQ(d.bottomWidth.raw(), 400000);
    EXPECT_EQ(d.topWidth.raw(), 400000);
    // 36.4 - 0.5 x 2 x 36.4 / tan 1.57: a right angle still leaves a small offset with pi = 3.14.
    EXPECT_EQ(d.meanInnerWidth.raw(), 363710);
    EXPECT_EQ(d.partitionWidth.raw(), 327710);
    const RecalcResult front = run({{"cb", "60"}}, sep());
    const DerivedMeasures& s = front.state.derived;
    EXPECT_EQ(s.angleCb.raw(), 10467);
    EXPECT_EQ(s.topWidth.raw(), 189000);
    EXPECT_EQ(s.slantCb.raw(), 420000);
    EXPECT_EQ(s.offsetCb.raw(), 210000);
    EXPECT_EQ(s.meanInnerWidth.raw(), 258657);
    EXPECT_NE(front.state.paramText.find(under("cm L3:40cm L4:18,9cm", sep())), std::string::npos)
        << front.state.paramText;
    EXPECT_EQ(run({{"thick0", "18,5"}}, sep()).state.derived.thick[0], 18);
    EXPECT_EQ(run({{"thick0", "19,5"}}, sep()).state.derived.thick[0], 20);
}

TEST_P(Recalc, FifteenInchWooferIsRefusedAtItsOwnDiameter)
{
    // 41.7 - 3.6 = 38.1 = 15 x 2.54: equal counts as too large.
    const CalcState before;
    const RecalcResult r = run({{"sub", "4"}, {"h2", "41,7"}}, sep(), before);
    ASSERT_EQ(r.outcome.messages.size(), 1u);
    const Message& m = r.outcome.messages[0];
    EXPECT_EQ(m.text, "Your sub is to big for the front plate");
    EXPECT_EQ(m.title, "Error: sub size");
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
    EXPECT_TRUE(r.outcome.switchSimulationOff);
    EXPECT_EQ(r.state.lblVolumeOut, before.lblVolumeOut);
    EXPECT_EQ(r.state.lblVolume, before.lblVolume);
    EXPECT_EQ(r.state.derived.innerHeight.raw(), 381000); // the steps before the check are written
}

TEST_P(Recalc, NegativeVolumeKeepsOnlyThePrefixAndTakesTheTranslatedText)
{
    const Changes negative = {{"pieces2", "1"}, {"dp", "30"}, {"lp", "100"}};
    const RecalcResult r = run(negative, sep());
    ASSERT_EQ(r.outcome.messages.size(), 1u);
    EXPECT_EQ(r.outcome.messages[0].text, "Somethings wrong, you've got a negative volume");
    EXPECT_EQ(r.outcome.messages[0].title, "Calculate Neg.");
    EXPECT_EQ(r.outcome.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(r.outcome.switchSimulationOff);
    EXPECT_EQ(r.state.lblVolumeOut, "Outer Volume: 64 Liter");
    EXPECT_EQ(r.state.lblVolume, "Intern Volume:\r\n");
    TextTables tables = ResetTextTables();
    tables.messageBox[kMsgNegativeVolume] = "Negative!";
    const RecalcResult t =
        Recalculate(makeRecalcInputs(test::inputsOf(negative, sep()), true, sep(), &tables), CalcState{});
    ASSERT_EQ(t.outcome.messages.size(), 1u);
    EXPECT_EQ(t.outcome.messages[0].text, "Negative!");
}

TEST_P(Recalc, RuntimeErrorsNameTheErrorAndTheUnreadBox)
{
    const Message zero = stopped({{"ca", "0"}});
    EXPECT_EQ(zero.text.rfind("There has been a error [6]:\r\n", 0), 0u) << zero.text;
    EXPECT_EQ(zero.title, programTitle());
    EXPECT_EQ(zero.icon, MessageIcon::None);
    // Every box in the order the recalculation reads them, and the name the window knows it by.
    const std::pair<const char*, const char*> boxes[] = {
        {"thick0", "txtSize(9)"},  {"thick2", "txtSize(11)"}, {"h2", "txtSize(0)"}, {"cb", "txtSize(4)"},
        {"subvol", "txtSize(12)"}, {"lp", "txtSize(5)"},      {"hp", "txtSize(8)"}, {"vother", "txtVother"}};
    for (const auto& [key, control] : boxes) {
        EXPECT_EQ(stopped({{key, "abc"}}).text, "There has been a error [13]:\r\nType mismatch") << key;
        EXPECT_EQ(run({{key, "abc"}}, sep()).outcome.unreadControl, control) << key;
    }
    for (const Changes& other : {Changes{{"ca", "0"}}, Changes{{"sub", "5"}}, Changes{}})
        EXPECT_EQ(run(other, sep()).outcome.unreadControl, "");
    for (const char* list : {"sub", "pieces0", "pieces1"})
        stopped({{list, "-1"}});
    // The port count is compared as a position first, so no selection means no port.
    EXPECT_TRUE(run({{"pieces2", "-1"}}, sep()).outcome.ranToEnd);
}

TEST_P(Recalc, EmptyBoxOrSimulationOffChangesNothing)
{
    const CalcState before = run({}, sep()).state;
    // Every text but the displacement and the other volume must be there.
    const std::vector<std::string> required = {"h2", "l3", "b2", "ca",     "cb",     "lp",
                                               "dp", "bp", "hp", "thick0", "thick1", "thick2"};
    for (std::size_t i = 0; i < required.size(); ++i) {
        ModelInputs in = firstRunInputs();
        textOf(in, *findModelKey(required[i])).clear();
        textOf(in, *findModelKey(required[(i + 1) % required.size()])) =
            "50"; // would change the result if anything ran
        const RecalcResult r = Recalculate(makeRecalcInputs(in, true, sep()), before);
        EXPECT_TRUE(r.outcome.messages.empty()) << i;
        EXPECT_FALSE(r.outcome.switchSimulationOff) << i;
        EXPECT_EQ(r.state, before) << i;
    }
    const RecalcResult off = Recalculate(makeRecalcInputs(firstRunInputs(), false, sep()), CalcState{});
    EXPECT_EQ(off.state, CalcState{});
    EXPECT_FALSE(off.outcome.ranToEnd);
}

TEST_P(Recalc, FigureLabelsAndParameterText)
{
    RecalcResult block = run({}, sep());
    const std::pair<const char*, bool> shown[] = {{"lblH2(0)", true},  {"lblH3(0)", false},
                                                  {"lblH4(0)", false}, {"lblB1(2)", true},
                                                  {"lblL3(1)", false}, {"lblL4(2)", false}};
    for (const auto& [name, visible] : shown)
        EXPECT_EQ(findLabel(block.state.figure, name)->visible, visible) << name;
    RecalcResult sloped = run({{"ca", "70"}}, sep());
    EXPECT_TRUE(findLabel(sloped.state.figure, "lblH3(0)")->visible);
    EXPECT_FALSE(findLabel(sloped.state.figure, "lblH2(0)")->visible);
    EXPECT_EQ(caption(block, "lblH2(0)"), under("H2: 36,4cm", sep()));
    EXPECT_EQ(caption(block, "lblL4(0)"), "L4: 40cm");
    const std::string& p = block.state.paramText;
    EXPECT_EQ(p.rfind("P:18mm\r\n", 0), 0u) << p;
    EXPECT_NE(p.find(under("B1:36,4cm B2:40", sep())), std::string::npos) << p;
    // A front port narrows one B2 label only.
    RecalcResult port =
        run({{"pieces2", "1"}, {"ptype", "1"}, {"pwhere", "0"}, {"hp", "36,4"}, {"bp", "5"}}, sep());
    EXPECT_EQ(caption(port, "lblB2(2)"), under("B2: 33,2cm", sep()));
    for (const char* other : {"lblB2(0)", "lblB2(1)", "lblB2(3)"})
        EXPECT_EQ(caption(port, other), "B2: 40cm") << other;
    EXPECT_FALSE(findLabel(port.state.figure, "lblDP")->visible);
    EXPECT_TRUE(findLabel(port.state.figure, "lblBP")->visible);
}

TEST(WooferFit, SideBySideInTheLengthAndEachInTheHeight)
{
    struct Case {
        int sizePosition, count;
        double innerLength, innerHeight;
        bool fits;
    };
    // 2 x 30.48 = 60.96 side by side; as large as the inner height counts as too large.
    const Case cases[] = {{3, 2, 60, 36.4, false},   {3, 2, 61, 36.4, true},   {4, 1, 100, 15 * 2.54, false},
                          {5, 1, 36.4, 36.4, false}, {2, 1, 36.4, 36.4, true}, {-1, 1, 36.4, 36.4, true}};
    for (const Case& c : cases)
        EXPECT_EQ(wooferFitsFront(wooferDiameterCm(c.sizePosition), c.count, c.innerLength, c.innerHeight),
                  c.fits)
            << c.sizePosition << " x " << c.count << " in " << c.innerLength;
}

TEST(VersionAndTexts, TitleVersionAndBuiltInDutchTexts)
{
    EXPECT_EQ(VersionString(true), "0.1.53");
    EXPECT_EQ(VersionString(false, true), "0.1 Build53 BETA");
    VersionInfo other{};
    other.major = 2;
    other.minor = 10;
    other.revision = 7;
    EXPECT_EQ(VersionString(false, false, other), "2.10 Build7");
    EXPECT_EQ(TitleString(), "Kelvra [0.1 Build53]");
    EXPECT_EQ(TitleString(2), "Kelvra -TestVersion- [0.1 Build53]");
    EXPECT_EQ(ResetTextTables().messageBox[kMsgOldVersion],
              "Oude versie van het bestand, toch proberen te laden?");
}
