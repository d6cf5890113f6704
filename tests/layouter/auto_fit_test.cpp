// "Auto fit", its cut lines and middle line, the sheet sizes, the saw and "Check lines".
#include "layouter/AutoFit.h"
#include "tests/layouter/LayouterTestSupport.h"

#include <gtest/gtest.h>

using namespace kelvra;
using namespace kelvra::test;

namespace
{

class AutoFitTest : public ::testing::TestWithParam<char>
{
protected:
    char sep() const { return GetParam(); }
    LayoutView view(int sheetIndex = 1, int sawThick = 2, bool lines = false) const
    {
        LayoutView v;
        v.sheet = sheetSizeOf(sheetIndex);
        v.sheetIndex = sheetIndex;
        v.sawThick = static_cast<std::int16_t>(sawThick);
        v.linesOn = lines;
        return v;
    }
};
INSTANTIATE_TEST_SUITE_P(Locale, AutoFitTest, ::testing::Values(',', '.'),
                         [](const auto& info) { return separatorName(info.param); });

void expectAt(const Panel& p, float left, float top)
{
    EXPECT_FLOAT_EQ(p.left, left);
    EXPECT_FLOAT_EQ(p.top, top);
}

// A model made to measure: front and rear upright with the given lengths (a sloped rear-seat angle
// gives the front its own length), 35,4 broad; top and bottom as long as the rear.
PanelModel madeToMeasure(int frontLength, int rearLength, const char* topWidth, const char* bottomWidth)
{
    PanelModel m;
    DerivedMeasures& d = m.derived;
    d.thick = {18, 18, 18};
    d.h2 = Fixed::fromInt(39);
    d.l3 = Fixed::fromInt(rearLength);
    d.angleCa = frontLength == rearLength ? kRightAngle : Fixed::fromInt(1);
    d.angleCb = kRightAngle;
    d.slantCa = Fixed::fromInt(frontLength);
    d.slantCb = Fixed::fromInt(10);
    d.topWidth = *toFixed(topWidth, '.');
    d.bottomWidth = *toFixed(bottomWidth, '.');
    return m;
}

Stroke cut(float x1, float y1, float x2, float y2, float k)
{
    return {{x1, y1, x2, y2}, k, false, kCutLineColour};
}

void expectStrokes(const std::vector<Stroke>& got, const std::vector<Stroke>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE("stroke " + std::to_string(i));
        EXPECT_FLOAT_EQ(got[i].line.x1, want[i].line.x1);
        EXPECT_FLOAT_EQ(got[i].line.y1, want[i].line.y1);
        EXPECT_FLOAT_EQ(got[i].line.x2, want[i].line.x2);
        EXPECT_FLOAT_EQ(got[i].line.y2, want[i].line.y2);
        EXPECT_EQ(got[i].width, want[i].width);
        EXPECT_EQ(got[i].dashed, want[i].dashed);
        EXPECT_EQ(got[i].colour, want[i].colour);
    }
}

} // namespace

TEST(SheetAndSaw, SheetSizesAndKerfsInPixels)
{
    EXPECT_EQ(sheetSizeOf(0), (SheetSize{366, 183}));
    EXPECT_EQ(sheetSizeOf(1), (SheetSize{366, 732}));
    EXPECT_EQ(sheetSizeOf(2), (SheetSize{366, 915}));
    EXPECT_EQ(sheetSizeOf(3), (SheetSize{}));
    EXPECT_EQ(sheetSizeOf(-1), (SheetSize{}));
    EXPECT_EQ(kerfPixels(2), 6);
    EXPECT_EQ(kerfPixels(3), 9);
    EXPECT_EQ(kerfPixels(4), 12);
    EXPECT_EQ(kSheetSizeCaptions[0], "122x61");
    EXPECT_EQ(kSheetSizeCaptions[2], "122x305");
}

TEST_P(AutoFitTest, DefaultModelOnTheMiddleSheet)
{
    LayoutView v = view();
    v.panels[kPort].left = 40;
    v.panels[kPort].top = 50;
    AutoFit(v, modelOf(defaultDesign(), sep()), sep());
    const PanelSet& p = v.panels;
    expectAt(p[kFront], 0, 0);
    EXPECT_FLOAT_EQ(p[kFront].width, 106.2f);
    EXPECT_FLOAT_EQ(p[kFront].height, 135);
    expectAt(p[kRear], 112.2f, 0);
    expectAt(p[kTop], 0, 141);
    EXPECT_FLOAT_EQ(p[kTop].width, 135);
    expectAt(p[kBottom], 141, 141);
    expectAt(p[kLeft], 282, 0);
    expectAt(p[kRight], 282 + p[kLeft].width + 6, 0);
    EXPECT_FLOAT_EQ(p[kRight].left, 468.6f);
    for (int i = 0; i < kPort; ++i)
        EXPECT_EQ(p[static_cast<std::size_t>(i)].turned, 0);
    // The port board is never moved, and without a rectangular port it is hidden.
    expectAt(p[kPort], 40, 50);
    EXPECT_FALSE(p[kPort].visible);
    EXPECT_EQ(v.sawThick, 2);
    // "Lines" is off: only the middle line is drawn.
    expectStrokes(v.drawing, {{{366, 0, 366, 366}, 1, true, kMiddleLineColour}});
    EXPECT_TRUE(cutLinesOf(v).empty());
}

TEST_P(AutoFitTest, DefaultModelCutLines)
{
    LayoutView v = view(1, 2, true);
    AutoFit(v, modelOf(defaultDesign(), sep()), sep());
    expectStrokes(v.drawing, {
                                 cut(109.2f, 0, 109.2f, 138, 6),  // right of the front
                                 cut(221.4f, -3, 221.4f, 138, 6), // right of the rear
                                 cut(0, 138, 135, 138, 6),        // above the top
                                 cut(138, 138, 138, 324.6f, 6),   // right of the top
                                 cut(279, 138, 279, 324.6f, 6),   // right of the bottom
                                 {{366, 0, 366, 366}, 1, true, kMiddleLineColour},
                             });
    EXPECT_EQ(cutLinesOf(v).size(), 5u);
}

TEST_P(AutoFitTest, NoLinesWithoutLinesAndMiddleLine)
{
    LayoutView v = view();
    v.middleLineOn = false;
    v.drawing.push_back({{1, 2, 3, 4}, 6, false, kCutLineColour});
    AutoFit(v, modelOf(defaultDesign(), sep()), sep());
    EXPECT_TRUE(v.drawing.empty()); // cleared, nothing new
}

TEST_P(AutoFitTest, EqualFrontAndRearGoSideBySideEvenWhenTheRearFitsBelow)
{
    LayoutView v = view();
    const PanelModel m = modelOf(defaultDesign(), sep());
    AutoFit(v, m, sep());
    // 135 + 135 + 6 is well within 366, yet the rear stands beside the front.
    expectAt(v.panels[kRear], 112.2f, 0);
}

TEST_P(AutoFitTest, RearEndingExactlyOnTheLowerEdgeGoesBelowTheFront)
{
    // 150 + 210 + 6 = 366.
    LayoutView v = view(1, 2, true);
    AutoFit(v, madeToMeasure(50, 70, "20", "20"), sep());
    expectAt(v.panels[kRear], 0, 156);
    EXPECT_EQ(v.drawing[1], cut(0, 153, 106.2f, 153, 6)); // above the rear
    // One tenth of a cm more and it starts beside the front.
    LayoutView w = view(1, 2, true);
    AutoFit(w, madeToMeasure(50, 70, "20", "20"), sep());
    PanelModel longer = madeToMeasure(50, 70, "20", "20");
    longer.derived.l3 = *toFixed("70.1", '.');
    AutoFit(w, longer, sep());
    expectAt(w.panels[kRear], 112.2f, 0);
    EXPECT_EQ(w.drawing[1], cut(109.2f, 0, 109.2f, w.panels[kRear].height, 6)); // left of the rear
}

TEST_P(AutoFitTest, TopEndingExactlyOnTheLowerEdgeIsNotTurned)
{
    // Rear 135 high at the top edge: 135 + 6 + 225 = 366.
    LayoutView v = view();
    AutoFit(v, madeToMeasure(45, 45, "75", "20"), sep());
    EXPECT_EQ(v.panels[kTop].turned, 0);
    expectAt(v.panels[kTop], 0, 141);

    LayoutView w = view();
    AutoFit(w, madeToMeasure(45, 45, "75.1", "20"), sep());
    EXPECT_EQ(w.panels[kTop].turned, 1);
    expectAt(w.panels[kTop], 112.2f, 0);
    EXPECT_FLOAT_EQ(w.panels[kTop].width, 225.3f);
    EXPECT_FLOAT_EQ(w.panels[kTop].height, 135);
}

TEST_P(AutoFitTest, TopTurnedBeforeStaysTurnedAndIsPlacedTurned)
{
    LayoutView v = view();
    v.panels[kTop].turned = 1;
    const PanelModel m = modelOf(defaultDesign(), sep());
    for (int run = 0; run < 3; ++run) {
        AutoFit(v, m, sep());
        EXPECT_EQ(v.panels[kTop].turned, 1);
        // Turned, it is 180,6 wide and 135 high, and still fits below the rear.
        expectAt(v.panels[kTop], 0, 141);
        EXPECT_FLOAT_EQ(v.panels[kTop].width, 180.6f);
        expectAt(v.panels[kBottom], 186.6f, 141);
        EXPECT_EQ(v.sawThick, 2);
    }
}

TEST_P(AutoFitTest, OtherTurnsAreKeptAsTheyAre)
{
    LayoutView v = view();
    v.panels[kLeft].turned = 1;
    v.panels[kFront].turned = 1;
    AutoFit(v, modelOf(defaultDesign(), sep()), sep());
    EXPECT_EQ(v.panels[kLeft].turned, 1);
    EXPECT_EQ(v.panels[kFront].turned, 1);
    EXPECT_FLOAT_EQ(v.panels[kFront].width, 135);
    // The rear is no longer the same size as the turned front, and fits below it.
    expectAt(v.panels[kRear], 0, 112.2f);
}

TEST_P(AutoFitTest, EmptySheetTurnsTheTop)
{
    // The first layout of an opening runs before any sheet size is chosen.
    LayoutView v;
    AutoFit(v, modelOf(defaultDesign(), sep()), sep());
    EXPECT_EQ(v.panels[kTop].turned, 1);
    EXPECT_EQ(v.panels[kBottom].turned, 0);
    expectAt(v.panels[kTop], 112.2f, 0);
    expectAt(v.panels[kBottom], 112.2f, 141); // below a top on the upper edge
}

TEST_P(AutoFitTest, SlopedFrontPutsTheRearBelowAndTheTopTurnedBesideIt)
{
    // Front 40,9 long (35,4 / sin 60 degrees), rear 45: the rear fits below the front; the top does
    // not fit below the rear and is turned, and the bottom goes below it.
    LayoutView v = view(1, 2, true);
    const PanelModel m = modelOf(with(defaultDesign(), {{"ca", "60"}}), sep());
    AutoFit(v, m, sep());
    const PanelSet& p = v.panels;
    const float fh = p[kFront].height;
    expectAt(p[kRear], 0, fh + 6);
    EXPECT_EQ(p[kTop].turned, 1);
    expectAt(p[kTop], 112.2f, 0);
    expectAt(p[kBottom], 112.2f, 141);
    const float h = 3;
    const float tw = p[kTop].width; // topWidth is shorter by the rear-seat slope
    EXPECT_LT(tw, 180.6f);
    expectStrokes(v.drawing, {
                                 cut(109.2f, 0, 109.2f, fh + h, 6),
                                 cut(0, p[kRear].top - h, 106.2f, p[kRear].top - h, 6),
                                 cut(109.2f, p[kRear].top - h, 109.2f, p[kRear].top + 135 + h, 6),
                                 cut(109.2f, 0, 109.2f, 135, 6),
                                 cut(112.2f + tw + h, -h, 112.2f + tw + h, 135 + h, 6),
                                 cut(109.2f, 141 + 180.6f - h, 109.2f, 0, 6),
                                 cut(112.2f + 135 + h, 141 - h, 112.2f + 135 + h, 141 + 180.6f + h, 6),
                                 {{366, 0, 366, 366}, 1, true, kMiddleLineColour},
                             });
}

TEST_P(AutoFitTest, BottomThatFitsNowhereIsTurnedBesideTheFront)
{
    // Front 90 high, rear 120 below it, top 120 below the rear; 222 + 120 + 6 + 90 > 366.
    LayoutView v = view(1, 2, true);
    AutoFit(v, madeToMeasure(30, 40, "40", "30"), sep());
    const PanelSet& p = v.panels;
    expectAt(p[kRear], 0, 96);
    expectAt(p[kTop], 0, 222);
    EXPECT_EQ(p[kBottom].turned, 1);
    expectAt(p[kBottom], 112.2f, 0);
    EXPECT_FLOAT_EQ(p[kBottom].width, 90);
    EXPECT_FLOAT_EQ(p[kBottom].height, 120);
    // Below the turned bottom, then right of it.
    EXPECT_EQ(v.drawing[v.drawing.size() - 3], cut(109.2f, 123, 199.2f, 123, 6));
    EXPECT_EQ(v.drawing[v.drawing.size() - 2], cut(205.2f, -3, 205.2f, 123, 6));
    // Left below the bottom, right below the left.
    expectAt(p[kLeft], 112.2f, 126);
    expectAt(p[kRight], 112.2f, 126 + p[kLeft].height + 6);
}

TEST_P(AutoFitTest, SawThicknessWidensEveryGap)
{
    LayoutView v = view(1, 4);
    AutoFit(v, modelOf(defaultDesign(), sep()), sep());
    expectAt(v.panels[kRear], 118.2f, 0);
    expectAt(v.panels[kTop], 0, 147);
    EXPECT_EQ(v.sawThick, 4);
}

TEST_P(AutoFitTest, PortPanelShownForARectangularPort)
{
    LayoutView v = view();
    const PanelModel m = modelOf(
        with(defaultDesign(),
             {{"pieces2", "1"}, {"ptype", "1"}, {"pwhere", "3"}, {"hp", "20"}, {"bp", "2"}, {"lp", "21,3"}}),
        sep());
    v.panels[kPort].visible = false;
    AutoFit(v, m, sep());
    EXPECT_TRUE(v.panels[kPort].visible);
    expectAt(v.panels[kPort], 0, 0);
}

TEST_P(AutoFitTest, ChoosingSheetAndSawLaysOutAgain)
{
    LayoutView v = view();
    const PanelModel m = modelOf(defaultDesign(), sep());
    ASSERT_TRUE(ChooseSheetSize(v, 2, m, sep()));
    EXPECT_EQ(v.sheet, (SheetSize{366, 915}));
    EXPECT_EQ(v.sheetIndex, 2);
    expectStrokes(v.drawing, {{{457.5f, 0, 457.5f, 366}, 1, true, kMiddleLineColour}});

    ASSERT_TRUE(ChooseSawThick(v, 3, m, sep()));
    EXPECT_EQ(v.sawThick, 3);
    expectAt(v.panels[kRear], 115.2f, 0);
    v.panels[kRear].left = 500;
    ASSERT_TRUE(ChooseSawThick(v, 3, m, sep())); // the checked item again still lays out
    expectAt(v.panels[kRear], 115.2f, 0);

    EXPECT_FALSE(ChooseSheetSize(v, 3, m, sep()));
    EXPECT_FALSE(ChooseSawThick(v, 5, m, sep()));
    EXPECT_FALSE(ChooseSawThick(v, 1, m, sep()));
    EXPECT_EQ(v.sheet, (SheetSize{366, 915}));
    EXPECT_EQ(v.sawThick, 3);
}

TEST_P(AutoFitTest, MiddleLineToggle)
{
    LayoutView v = view();
    AutoFit(v, modelOf(defaultDesign(), sep()), sep());
    ASSERT_EQ(v.drawing.size(), 1u);
    ToggleMiddleLine(v);
    EXPECT_FALSE(v.middleLineOn);
    EXPECT_EQ(v.drawing.size(), 1u); // the drawn line stays
    AutoFit(v, modelOf(defaultDesign(), sep()), sep());
    EXPECT_TRUE(v.drawing.empty()); // until the next layout clears the sheet
    ToggleMiddleLine(v);
    EXPECT_TRUE(v.middleLineOn);
    EXPECT_EQ(v.drawing.size(), 1u);
}

TEST_P(AutoFitTest, SettingsOutsideTheMenusGiveTheDefaults)
{
    const char s = sep();
    EXPECT_EQ(sawThickSetting("3", s), 3);
    EXPECT_EQ(sawThickSetting("4", s), 4);
    EXPECT_EQ(sawThickSetting("5", s), 2);
    EXPECT_EQ(sawThickSetting("1", s), 2);
    EXPECT_EQ(sawThickSetting("", s), 2);
    EXPECT_EQ(sawThickSetting("drie", s), 2);
    EXPECT_EQ(sawThickSetting("99999999", s), 2);
    EXPECT_EQ(sawThickSetting(under("3,4", s), s), 3);
    EXPECT_EQ(sheetSizeSetting("0", s), 0);
    EXPECT_EQ(sheetSizeSetting("2", s), 2);
    EXPECT_EQ(sheetSizeSetting("3", s), 1);
    EXPECT_EQ(sheetSizeSetting("-1", s), 1);
    EXPECT_EQ(sheetSizeSetting("x", s), 1);
}

TEST(CheckLines, PullsPanelsOntoTheLeftTopAndLowerEdges)
{
    struct Case {
        const char* name;
        float left, top, height;
        float wantLeft, wantTop;
    };
    // Saw thickness 3 (k = 9) on a 366-pixel sheet.
    const std::vector<Case> cases = {
        {"left at one kerf", 9, 50, 10, 0, 50},
        {"left just past one kerf", 9.5f, 50, 10, 9.5f, 50},
        {"above the top edge", 50, -20, 10, 50, 0},
        {"off the left edge", -30, 50, 10, 0, 50},
        {"top within a kerf", 50, 4, 10, 50, 0},
        {"past the lower edge", 50, 200, 180, 50, 186},
        {"ending on the lower edge", 50, 186, 180, 50, 186},
        {"far off the right edge", 2000, 50, 10, 2000, 50},
        {"higher than the sheet", 50, 20, 400, 50, -34},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelSet p;
        for (Panel& panel : p) {
            panel.left = c.left;
            panel.top = c.top;
            panel.height = c.height;
        }
        p[kPort].visible = false; // hidden, checked all the same
        CheckLines(p, 3, 366);
        for (const Panel& panel : p) {
            EXPECT_FLOAT_EQ(panel.left, c.wantLeft);
            EXPECT_FLOAT_EQ(panel.top, c.wantTop);
        }
    }
}

TEST(CheckLines, UsesTheViewsSawAndSheet)
{
    LayoutView v;
    v.sheet = sheetSizeOf(0);
    v.sawThick = 4;
    v.panels[kRear].left = 12;
    v.panels[kRear].top = 12.5f;
    v.drawing.push_back({{1, 1, 2, 2}, 12, false, kCutLineColour});
    CheckLines(v);
    EXPECT_EQ(v.panels[kRear].left, 0);
    EXPECT_EQ(v.panels[kRear].top, 12.5f);
    EXPECT_EQ(v.drawing.size(), 1u); // no redrawing
}
