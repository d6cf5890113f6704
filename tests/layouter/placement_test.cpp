// Placement texts, RestorePanel and the layouter's open and close sequences.
#include "layouter/Placement.h"
#include "tests/layouter/LayouterTestSupport.h"

#include <gtest/gtest.h>

using namespace kelvra;
using namespace kelvra::test;

namespace
{

class PlacementTest : public ::testing::TestWithParam<char>
{
protected:
    char sep() const { return GetParam(); }
    LayoutView opened(const LayoutStrings& strings, OpenedLayout* how = nullptr, const char* saw = "2",
                      const char* sheet = "1") const
    {
        LayoutView v;
        const OpenedLayout o = OpenLayout(v, modelOf(defaultDesign(), sep()), saw, sheet, strings, sep());
        if (how)
            *how = o;
        return v;
    }
};
INSTANTIATE_TEST_SUITE_P(Locale, PlacementTest, ::testing::Values(',', '.'), SeparatorName{});

Panel at(float left, float top, std::int16_t turned = 0)
{
    Panel p;
    p.left = left;
    p.top = top;
    p.turned = turned;
    return p;
}

} // namespace

TEST_P(PlacementTest, TextsAreTopLeftTurnedAndRestoreRoundsToWholePixels)
{
    EXPECT_EQ(placementText(at(112.2f, 0), sep()), under("0x112,2x0", sep()));
    EXPECT_EQ(placementText(at(282, 141, 1), sep()), "141x282x1");
    EXPECT_EQ(placementText(at(468.6f, -20.5f), sep()), under("-20,5x468,6x0", sep()));
    EXPECT_EQ(placementText(at(1.0f / 3, 0), sep()), under("0x0,3333333x0", sep())); // seven digits
    struct Case {
        const char* text; // written with ","
        std::int16_t top, left, turned;
    };
    const Case cases[] = {{"0x112,2x0", 0, 112, 0}, {"141x282x1", 141, 282, 1},   {"0x112,5x0", 0, 112, 0},
                          {"0x113,5x1", 0, 114, 1}, {"-20x-30,6x0", -20, -31, 0}, {"32767x0x0", 32767, 0, 0},
                          {"1x2x0,6", 1, 2, 1}};
    for (const Case& c : cases) {
        const std::string text = under(c.text, sep());
        Panel p = at(7, 7);
        std::int16_t turned = 1 - c.turned;
        ASSERT_TRUE(RestorePanel(text, p, turned, sep())) << text;
        EXPECT_EQ(p.top, c.top) << text;
        EXPECT_EQ(p.left, c.left) << text;
        EXPECT_EQ(turned, c.turned) << text;
    }
}

TEST_P(PlacementTest, BadTextsLeaveThePanelWhereItIs)
{
    const char other = sep() == ',' ? '.' : ',';
    // clang-format off
    const std::string texts[] = {"", "0", "0x0", "0x0x", "x0x0", "axbxc", "0x1x2", "0x1x-1", "0x99999x0",
                                 "40000x0x0", "1e9x0x0", "0x0x0x0", "0x12 3x0",
                                 std::string("0x112") + other + "2x0", "0x112" + std::string(1, sep()) + "2"};
    // clang-format on
    for (const std::string& text : texts) {
        Panel p = at(7, 8);
        std::int16_t turned = 1;
        EXPECT_FALSE(RestorePanel(text, p, turned, sep())) << text;
        EXPECT_EQ(p, at(7, 8)) << text;
        EXPECT_EQ(turned, 1) << text;
        EXPECT_FALSE(parsePlacement(text, sep()).has_value()) << text;
    }
}

TEST_P(PlacementTest, OpeningWithoutPlacementsLaysOutWithTheTopTurned)
{
    OpenedLayout o;
    const LayoutView v = opened(LayoutStrings{}, &o);
    EXPECT_TRUE(o.autoFitted);
    EXPECT_FALSE(o.restored);
    EXPECT_EQ(o.sawThick, 2);
    EXPECT_EQ(o.sheetIndex, 1);
    EXPECT_EQ(v.sheet, (SheetSize{366, 732}));
    // The first layout ran on the still empty sheet and turned the top, not the bottom.
    EXPECT_EQ(v.panels[kTop].turned, 1);
    EXPECT_EQ(v.panels[kBottom].turned, 0);
    EXPECT_FLOAT_EQ(v.panels[kTop].top, 130.2f);
    EXPECT_FLOAT_EQ(v.panels[kTop].width, 180.6f);
    EXPECT_FLOAT_EQ(v.panels[kBottom].left, 186.6f);
    EXPECT_FLOAT_EQ(v.panels[kRight].left, 503.4f);
    EXPECT_FALSE(v.linesOn);
    EXPECT_TRUE(v.middleLineOn);
    // The saved saw and sheet apply; settings outside the menus give the defaults.
    const LayoutView wide = opened(LayoutStrings{}, &o, "4", "2");
    EXPECT_EQ(o.sawThick, 4);
    EXPECT_EQ(wide.sheet.width, 915);
    EXPECT_FLOAT_EQ(wide.panels[kRear].left, 118.2f);
    const LayoutView odd = opened(LayoutStrings{}, &o, "7", "nine");
    EXPECT_EQ(o.sawThick, 2);
    EXPECT_EQ(odd.sheet.width, 732);
}

TEST_P(PlacementTest, RecordedPlacementsAreRestoredRounded)
{
    const PanelModel m = modelOf(defaultDesign(), sep());
    LayoutView first = opened(LayoutStrings{});
    first.panels[kLeft].turned = 1;
    RefreshPanels(first.panels, m, sep());
    first.panels[kLeft].left = 400.4f;
    first.panels[kLeft].top = 200.6f;
    LayoutStrings strings{};
    strings[7] = "spare";
    RecordLayout(first.panels, strings, sep());
    EXPECT_EQ(strings[kLeft], under("200,6x400,4x1", sep()));
    EXPECT_EQ(strings[kRear], under("0x112,2x0", sep()));
    EXPECT_EQ(strings[kTop], under("130,2x0x1", sep()));
    EXPECT_EQ(strings[kPort], "0x0x0");
    EXPECT_EQ(strings[7], "spare");

    OpenedLayout o;
    const LayoutView second = opened(strings, &o);
    EXPECT_TRUE(o.restored);
    EXPECT_FALSE(o.autoFitted);
    EXPECT_EQ(second.panels[kRear].left, 112);
    EXPECT_EQ(second.panels[kLeft].left, 400);
    EXPECT_EQ(second.panels[kLeft].top, 201);
    // Sizes follow the restored turns.
    EXPECT_FLOAT_EQ(second.panels[kLeft].width, 117);
    EXPECT_FLOAT_EQ(second.panels[kLeft].height, 180.6f);
    // A top saved unturned undoes the turn of the first layout.
    strings[kTop] = "0x0x0";
    EXPECT_EQ(opened(strings).panels[kTop].turned, 0);
    EXPECT_FLOAT_EQ(opened(strings).panels[kTop].width, 124.2f);
}

TEST_P(PlacementTest, BadOrMissingTextsKeepThoseBoardsFromTheLayout)
{
    const LayoutView fitted = opened(LayoutStrings{});
    LayoutStrings strings{};
    for (int i = 0; i < kPort; ++i)
        strings[static_cast<std::size_t>(i)] = "5x6x0";
    strings[kRear] = "rubbish";
    strings[kTop] = "1x2";
    OpenedLayout o;
    const LayoutView v = opened(strings, &o);
    EXPECT_TRUE(o.restored);
    EXPECT_EQ(v.panels[kFront].left, 6);
    EXPECT_EQ(v.panels[kFront].top, 5);
    EXPECT_EQ(v.panels[kRear].left, fitted.panels[kRear].left);
    EXPECT_EQ(v.panels[kTop].left, fitted.panels[kTop].left);
    EXPECT_EQ(v.panels[kTop].turned, 1);
    EXPECT_EQ(v.panels[kPort].left, fitted.panels[kPort].left);
    // Only some texts given: the opening's layout stands.
    LayoutStrings some{};
    some[kFront] = "50x50x0";
    const LayoutView w = opened(some, &o);
    EXPECT_FALSE(o.restored);
    EXPECT_FALSE(o.autoFitted);
    EXPECT_EQ(w.panels[kFront].left, 0);
    EXPECT_FLOAT_EQ(w.panels[kRear].left, 112.2f);
}
