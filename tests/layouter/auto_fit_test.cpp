// "Auto fit", its cut lines and middle line, the sheet sizes, the saw and "Check lines".
#include "layouter/AutoFit.h"
#include "tests/layouter/LayouterTestSupport.h"

#include <gtest/gtest.h>

using namespace kelvra;
using namespace kelvra::test;

namespace
{

LayoutView view(int sheetIndex = 1, int sawThick = 2, bool lines = false)
{
    LayoutView v;
    v.sheet = sheetSizeOf(sheetIndex);
    v.sheetIndex = sheetIndex;
    v.sawThick = static_cast<std::int16_t>(sawThick);
    v.linesOn = lines;
    return v;
}

void expectAt(const Panel& p, float left, float top)
{
    EXPECT_FLOAT_EQ(p.left, left);
    EXPECT_FLOAT_EQ(p.top, top);
}

// A model made to measure: front and rear upright with the given lengths (a sloped rear-seat angle
// gives the front its own length), 35,4 broad; top and bottom as long as the rear.
PanelModel madeToMeasure(int frontLength, const char* rearLength, const char* topWidth,
                         const char* bottomWidth)
{
    PanelModel m;
    DerivedMeasures& d = m.derived;
    d.thick = {18, 18, 18};
    d.h2 = Fixed::fromInt(39);
    d.l3 = *toFixed(rearLength, '.');
    d.angleCa = Fixed::fromInt(frontLength) == d.l3 ? kRightAngle : Fixed::fromInt(1);
    d.angleCb = kRightAngle;
    d.slantCa = Fixed::fromInt(frontLength);
    d.slantCb = Fixed::fromInt(10);
    d.topWidth = *toFixed(topWidth, '.');
    d.bottomWidth = *toFixed(bottomWidth, '.');
    return m;
}

Stroke cut(float x1, float y1, float x2, float y2, float k = 6)
{
    return {{x1, y1, x2, y2}, k, false, kCutLineColour};
}

const Stroke kMiddle = {{366, 0, 366, 366}, 1, true, kMiddleLineColour};

class AutoFitTest : public ::testing::TestWithParam<char>
{
protected:
    char sep() const { return GetParam(); }
    PanelModel model(const Changes& more = {}) const { return modelOf(with(defaultDesign(), more), sep()); }
};
INSTANTIATE_TEST_SUITE_P(Locale, AutoFitTest, ::testing::Values(',', '.'), SeparatorName{});

} // namespace

TEST(SheetAndSaw, SheetSizesKerfsAndSettingsOutsideTheMenus)
{
    EXPECT_EQ(sheetSizeOf(0), (SheetSize{366, 183}));
    EXPECT_EQ(sheetSizeOf(2), (SheetSize{366, 915}));
    EXPECT_EQ(sheetSizeOf(3), (SheetSize{365, 731})); // 4 x 8 ft, to whole pixels below
    EXPECT_EQ(sheetSizeOf(4), (SheetSize{457, 457}));
    EXPECT_EQ(sheetSizeOf(5, {100, 50.5}), (SheetSize{151, 300}));
    EXPECT_EQ(sheetSizeOf(6), (SheetSize{}));
    EXPECT_EQ(sheetSizeOf(-1), (SheetSize{}));
    EXPECT_EQ(kerfPixels(3), 9);
    EXPECT_EQ(kerfPixels(5), 9); // 1/8"
    EXPECT_EQ(kerfPixels(6), 7); // 3/32"
    EXPECT_DOUBLE_EQ(kerfOfSawThick(5), 0.3175);
    EXPECT_EQ(kSheetSizeCaptions[2], "122x305");
    for (char s : {',', '.'}) {
        const std::pair<std::string, int> saws[] = {
            {"4", 4}, {"5", 5}, {"6", 6}, {"7", 2}, {"1", 2}, {"drie", 2}, {under("3,4", s), 3}};
        for (const auto& [text, saw] : saws)
            EXPECT_EQ(sawThickSetting(text, s), saw) << text;
        const std::pair<const char*, int> sheets[] = {{"0", 0}, {"5", 5}, {"6", 1}, {"-1", 1}};
        for (const auto& [text, sheet] : sheets)
            EXPECT_EQ(sheetSizeSetting(text, s), sheet) << text;
    }
}

TEST_P(AutoFitTest, DefaultModelOnTheMiddleSheetWithItsCutLines)
{
    LayoutView v = view(1, 2, true);
    v.panels[kPort].left = 40;
    v.panels[kPort].top = 50;
    AutoFit(v, model(), sep());
    const PanelSet& p = v.panels;
    expectAt(p[kFront], 0, 0);
    EXPECT_FLOAT_EQ(p[kFront].width, 106.2f);
    EXPECT_FLOAT_EQ(p[kFront].height, 124.2f); // the real front between the sides: 45 - 3,6
    // 124,2 + 124,2 + 6 is well within 366, yet the rear of the same size stands beside the front.
    expectAt(p[kRear], 112.2f, 0);
    expectAt(p[kTop], 0, 130.2f);
    expectAt(p[kBottom], 130.2f, 130.2f);
    // The real sides stand 39 high (117): below the bottom they would end at 433,8.
    expectAt(p[kLeft], 260.4f, 0);
    expectAt(p[kRight], 447, 0);
    for (int i = 0; i < kPort; ++i)
        EXPECT_EQ(p[static_cast<std::size_t>(i)].turned, 0);
    // The port board is never moved, and without a rectangular port it is hidden.
    expectAt(p[kPort], 40, 50);
    EXPECT_FALSE(p[kPort].visible);
    EXPECT_EQ(v.drawing,
              (std::vector<Stroke>{cut(109.2f, 0, 109.2f, 127.2f), cut(221.4f, -3, 221.4f, 127.2f),
                                   cut(0, 127.2f, 124.2f, 127.2f), cut(127.2f, 127.2f, 127.2f, 313.8f),
                                   cut(257.4f, 127.2f, 257.4f, 313.8f), kMiddle}));
    EXPECT_EQ(cutLinesOf(v).size(), 5u);
    // "Lines" off: only the middle line; the middle line off too: the sheet is cleared.
    v.linesOn = false;
    AutoFit(v, model(), sep());
    EXPECT_EQ(v.drawing, std::vector<Stroke>{kMiddle});
    EXPECT_TRUE(cutLinesOf(v).empty());
    ToggleMiddleLine(v);
    EXPECT_FALSE(v.middleLineOn);
    EXPECT_EQ(v.drawing.size(), 1u); // the drawn line stays until the next layout
    AutoFit(v, model(), sep());
    EXPECT_TRUE(v.drawing.empty());
    ToggleMiddleLine(v);
    EXPECT_EQ(v.drawing, std::vector<Stroke>{kMiddle});
}

TEST_P(AutoFitTest, PanelsEndingExactlyOnTheLowerEdgeStayBelow)
{
    // 150 + 210 + 6 = 366: the rear goes below the front; a tenth of a cm more and it goes beside it.
    LayoutView v = view(1, 2, true);
    AutoFit(v, madeToMeasure(50, "70", "20", "20"), sep());
    expectAt(v.panels[kRear], 0, 156);
    EXPECT_EQ(v.drawing[1], cut(0, 153, 106.2f, 153)); // above the rear
    AutoFit(v, madeToMeasure(50, "70.1", "20", "20"), sep());
    expectAt(v.panels[kRear], 112.2f, 0);
    EXPECT_EQ(v.drawing[1], cut(109.2f, 0, 109.2f, v.panels[kRear].height)); // left of the rear
    // The rear 135 high at the top edge: 135 + 6 + 225 = 366 leaves the top unturned below it.
    LayoutView w = view();
    AutoFit(w, madeToMeasure(45, "45", "75", "20"), sep());
    EXPECT_EQ(w.panels[kTop].turned, 0);
    expectAt(w.panels[kTop], 0, 141);
    LayoutView x = view();
    AutoFit(x, madeToMeasure(45, "45", "75.1", "20"), sep());
    EXPECT_EQ(x.panels[kTop].turned, 1);
    expectAt(x.panels[kTop], 112.2f, 0);
    EXPECT_FLOAT_EQ(x.panels[kTop].width, 225.3f);
}

TEST_P(AutoFitTest, TurnsMadeBeforeAreKept)
{
    LayoutView v = view();
    v.panels[kTop].turned = 1;
    for (int run = 0; run < 2; ++run) {
        AutoFit(v, model(), sep());
        EXPECT_EQ(v.panels[kTop].turned, 1);
        // Turned, it is 180,6 wide and 124,2 high, and still fits below the rear.
        expectAt(v.panels[kTop], 0, 130.2f);
        EXPECT_FLOAT_EQ(v.panels[kTop].width, 180.6f);
        expectAt(v.panels[kBottom], 186.6f, 130.2f);
    }
    LayoutView w = view();
    w.panels[kLeft].turned = 1;
    w.panels[kFront].turned = 1;
    AutoFit(w, model(), sep());
    EXPECT_EQ(w.panels[kLeft].turned, 1);
    EXPECT_FLOAT_EQ(w.panels[kFront].width, 124.2f);
    // The rear is no longer the same size as the turned front, and fits below it.
    expectAt(w.panels[kRear], 0, 112.2f);
}

TEST_P(AutoFitTest, SlopedRearPutsTheRearBelowAndTheTopTurnedBesideIt)
{
    // The real rear of a 60 degree rear-seat panel is broader than the square front (its slope and
    // bevel, 41,92 cm), so it is not the front's size and fits below it; the top does not fit below the
    // rear and is turned, and the bottom goes below it.
    LayoutView v = view(1, 2, true);
    AutoFit(v, model({{"ca", "60"}}), sep());
    const PanelSet& p = v.panels;
    const float rt = p[kRear].top, rw = p[kRear].width, tw = p[kTop].width, h = 3;
    EXPECT_FLOAT_EQ(p[kFront].height, 124.2f);
    EXPECT_FLOAT_EQ(rt, 130.2f);
    EXPECT_FLOAT_EQ(rw, 125.76f);
    EXPECT_EQ(p[kTop].turned, 1);
    expectAt(p[kTop], 112.2f, 0);
    expectAt(p[kBottom], 112.2f, 130.2f);
    EXPECT_FLOAT_EQ(tw, 116.16f); // the top is narrower by the rear-seat slope
    EXPECT_EQ(v.drawing,
              (std::vector<Stroke>{
                  cut(109.2f, 0, 109.2f, 124.2f + h), cut(0, rt - h, rw, rt - h),
                  cut(rw + h, rt - h, rw + h, rt + 124.2f + h), cut(109.2f, 0, 109.2f, 124.2f),
                  cut(112.2f + tw + h, -h, 112.2f + tw + h, 124.2f + h),
                  cut(109.2f, 130.2f + 180.6f - h, 109.2f, 0),
                  cut(112.2f + 124.2f + h, 130.2f - h, 112.2f + 124.2f + h, 130.2f + 180.6f + h), kMiddle}));
}

TEST_P(AutoFitTest, BottomThatFitsNowhereIsTurnedBesideTheFront)
{
    // Front 90 high, rear 120 below it, top 120 below the rear; 222 + 120 + 6 + 90 > 366.
    LayoutView v = view(1, 2, true);
    AutoFit(v, madeToMeasure(30, "40", "40", "30"), sep());
    const PanelSet& p = v.panels;
    expectAt(p[kRear], 0, 96);
    expectAt(p[kTop], 0, 222);
    EXPECT_EQ(p[kBottom].turned, 1);
    expectAt(p[kBottom], 112.2f, 0);
    EXPECT_FLOAT_EQ(p[kBottom].width, 90);
    // Below the turned bottom, then right of it.
    EXPECT_EQ(v.drawing[v.drawing.size() - 3], cut(109.2f, 123, 199.2f, 123));
    EXPECT_EQ(v.drawing[v.drawing.size() - 2], cut(205.2f, -3, 205.2f, 123));
    // Left below the bottom, right below the left.
    expectAt(p[kLeft], 112.2f, 126);
    expectAt(p[kRight], 112.2f, 126 + p[kLeft].height + 6);
}

TEST_P(AutoFitTest, ChoosingSheetAndSawLaysOutAgain)
{
    LayoutView v = view();
    const PanelModel m = model();
    ASSERT_TRUE(ChooseSheetSize(v, 2, m, sep()));
    EXPECT_EQ(v.sheet, (SheetSize{366, 915}));
    EXPECT_EQ(v.sheetIndex, 2);
    EXPECT_EQ(v.drawing, (std::vector<Stroke>{{{457.5f, 0, 457.5f, 366}, 1, true, kMiddleLineColour}}));
    ASSERT_TRUE(ChooseSawThick(v, 3, m, sep()));
    EXPECT_EQ(v.sawThick, 3);
    expectAt(v.panels[kRear], 115.2f, 0);
    v.panels[kRear].left = 500;
    ASSERT_TRUE(ChooseSawThick(v, 3, m, sep())); // the checked item again still lays out
    expectAt(v.panels[kRear], 115.2f, 0);
    EXPECT_FALSE(ChooseSheetSize(v, 6, m, sep()));
    EXPECT_FALSE(ChooseSawThick(v, 7, m, sep()));
    EXPECT_FALSE(ChooseSawThick(v, 1, m, sep()));
    EXPECT_EQ(v.sheet, (SheetSize{366, 915}));
    EXPECT_EQ(v.sawThick, 3);
}

TEST(CheckLines, PullsPanelsOntoTheLeftTopAndLowerEdges)
{
    struct Case {
        const char* name;
        float left, top, height, wantLeft, wantTop;
    };
    // Saw thickness 3 (k = 9) on a 366-pixel sheet.
    const Case cases[] = {
        {"left at one kerf", 9, 50, 10, 0, 50},
        {"left just past one kerf", 9.5f, 50, 10, 9.5f, 50},
        {"above the top edge", 50, -20, 10, 50, 0},
        {"off the left edge", -30, 50, 10, 0, 50},
        {"top within a kerf", 50, 4, 10, 50, 0},
        {"past the lower edge", 50, 200, 180, 50, 186},
        {"ending on the lower edge", 50, 186, 180, 50, 186},
        {"far off the right", 2000, 50, 10, 2000, 50},
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
        for (const Panel& panel : p)
            expectAt(panel, c.wantLeft, c.wantTop);
    }
}
