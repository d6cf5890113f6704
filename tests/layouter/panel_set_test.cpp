// The seven boards: sizes from the model, turns, the port cut, captions and the port's visibility.
#include "tests/layouter/LayouterTestSupport.h"

#include <gtest/gtest.h>

using namespace kelvra;
using namespace kelvra::test;

namespace
{

class PanelSetTest : public ::testing::TestWithParam<char>
{
protected:
    char sep() const { return GetParam(); }
    PanelSet refreshed(const Changes& changes, PanelSet p = {}) const
    {
        RefreshPanels(p, modelOf(changes, sep()), sep());
        return p;
    }
    std::string caption(const char* name, const char* l, const char* b) const
    {
        return std::string(name) + "\r\nl:" + under(l, sep()) + "cm\r\nb:" + under(b, sep()) + "cm";
    }
};
INSTANTIATE_TEST_SUITE_P(Locale, PanelSetTest, ::testing::Values(',', '.'), SeparatorName{});

// A rectangular port, 2 wide in 18 mm board, standing against the given panel.
Changes port(const char* where, const char* height, const char* count = "1")
{
    // clang-format off
    return with(defaultDesign(), {{"pieces2", count}, {"ptype", "1"}, {"pwhere", where}, {"hp", height},
                                  {"bp", "2"}, {"lp", "21,3"}, {"thick2", "18"}});
    // clang-format on
}

} // namespace

TEST_P(PanelSetTest, DefaultModelSizesEveryBoardAndTurnsExchangeTheSides)
{
    PanelSet p = refreshed(defaultDesign());
    struct Expected {
        float width, height;
        const char *name, *l, *b;
    };
    // With both angles right, topWidth equals bottomWidth; slantCb is 35,4.
    const Expected expected[] = {{106.2f, 135, " Voorzijde ", "45", "35,4"},
                                 {106.2f, 135, " Achterzijde ", "45", "35,4"},
                                 {135, 180.6f, "Bovenzijde ", "45", "60,2"},
                                 {135, 180.6f, "Onderzijde ", "45", "60,2"},
                                 {180.6f, 106.2f, "Zij links", "60,2", "35,4"},
                                 {180.6f, 106.2f, "Zij rechts", "60,2", "35,4"},
                                 {0, 0, "Poort", "0", "0"}};
    for (std::size_t i = 0; i < kPanelCount; ++i) {
        SCOPED_TRACE(kPanelKeys[i]);
        EXPECT_EQ(p[i].width, expected[i].width); // the same single-precision values, exactly
        EXPECT_EQ(p[i].height, expected[i].height);
        EXPECT_EQ(p[i].caption, caption(expected[i].name, expected[i].l, expected[i].b));
        EXPECT_TRUE(p[i].visible);
    }
    // Turning exchanges width and height but not the caption; positions and visibility stay.
    const PanelSet before = p;
    for (Panel& panel : p)
        panel.turned = 1;
    p[kRear].left = 12.5f;
    p[kPort].visible = false;
    p = refreshed(defaultDesign(), p);
    for (std::size_t i = 0; i < kPort; ++i) {
        EXPECT_EQ(p[i].width, before[i].height) << kPanelKeys[i];
        EXPECT_EQ(p[i].height, before[i].width) << kPanelKeys[i];
        EXPECT_EQ(p[i].caption, before[i].caption) << kPanelKeys[i];
    }
    EXPECT_EQ(p[kRear].left, 12.5f);
    EXPECT_FALSE(p[kPort].visible);
}

TEST_P(PanelSetTest, PortAsHighAsTheInsideCutsTheBoardItStandsAgainst)
{
    // innerHeight is 39 - 3,6 = 35,4; the cut is 2 + 1,8 = 3,8 off the l side.
    PanelSet p = refreshed(port("0", "35,4"));
    EXPECT_FLOAT_EQ(p[kFront].height, 123.6f);
    EXPECT_EQ(p[kFront].caption, caption(" Voorzijde ", "41,2", "35,4"));
    EXPECT_EQ(p[kRear].caption, caption(" Achterzijde ", "45", "35,4"));
    // The port board itself: l = hp, b = lp.
    EXPECT_FLOAT_EQ(p[kPort].width, 106.2f);
    EXPECT_FLOAT_EQ(p[kPort].height, 63.9f);
    EXPECT_EQ(p[kPort].caption, caption("Poort", "35,4", "21,3"));
    PanelSet turned;
    turned[kFront].turned = 1;
    EXPECT_FLOAT_EQ(refreshed(port("0", "35,4"), turned)[kFront].width, 123.6f);
    p = refreshed(port("1", "35,4"));
    EXPECT_FLOAT_EQ(p[kRear].width, 94.8f);
    EXPECT_EQ(p[kRear].caption, caption(" Achterzijde ", "45", "31,6"));
    EXPECT_EQ(p[kFront].caption, caption(" Voorzijde ", "45", "35,4"));
    EXPECT_EQ(refreshed(port("2", "45"))[kTop].caption, caption("Bovenzijde ", "41,2", "60,2"));
    // No cut where the rules do not all of them hold.
    for (const Changes& uncut : {port("0", "35,4", "2"), port("0", "30"), port("3", "35,4"),
                                 port("4", "35,4"), port("0", "35,4", "0")}) {
        p = refreshed(uncut);
        EXPECT_EQ(p[kFront].caption, caption(" Voorzijde ", "45", "35,4")) << uncut.at("pwhere");
        EXPECT_EQ(p[kRear].caption, caption(" Achterzijde ", "45", "35,4"));
        EXPECT_EQ(p[kTop].caption, caption("Bovenzijde ", "45", "60,2"));
    }
}

TEST_P(PanelSetTest, PortPanelShownOnlyForARectangularPort)
{
    const std::pair<Changes, bool> cases[] = {{port("3", "20"), true},
                                              {port("3", "20", "2"), true},
                                              {with(port("3", "20"), {{"ptype", "0"}, {"dp", "8"}}), false},
                                              {port("3", "20", "0"), false},
                                              {port("3", "0"), false},
                                              {with(port("3", "20"), {{"lp", "0"}}), false},
                                              {defaultDesign(), false}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        PanelSet p;
        p[kPort].visible = !cases[i].second;
        UpdatePortVisibility(p, modelOf(cases[i].first, sep()));
        EXPECT_EQ(p[kPort].visible, cases[i].second) << "case " << i;
        EXPECT_TRUE(p[kFront].visible && p[kRight].visible);
    }
}

TEST_P(PanelSetTest, SlopedSidePanelsTakeTheRealSideBoardsRectangle)
{
    // The real side runs 60,2 along the bottom and stands 39 high; the right follows cb.
    const std::pair<Changes, float> cases[] = {{{{"ca", "60"}}, 106.2f}, {{{"ca", "70"}, {"cb", "80"}}, 117}};
    for (const auto& [slopes, rightHeight] : cases) {
        const PanelSet p = refreshed(with(defaultDesign(), slopes), refreshed(defaultDesign()));
        EXPECT_EQ(p[kLeft].caption, caption("Zij links", "60,2", "39"));
        EXPECT_FLOAT_EQ(p[kLeft].height, 117);
        EXPECT_FLOAT_EQ(p[kRight].height, rightHeight);
    }
    // The front takes its length from slantCa: 35,4 / sin 60 degrees.
    const PanelModel model = modelOf(with(defaultDesign(), {{"ca", "60"}}), sep());
    EXPECT_FLOAT_EQ(refreshed(with(defaultDesign(), {{"ca", "60"}}))[kFront].height,
                    static_cast<float>(model.derived.slantCa.toDouble() * 3));
}

TEST_P(PanelSetTest, NamesOddMeasuresAndOverflowNeverFail)
{
    PanelModel model = modelOf(defaultDesign(), sep());
    model.names[kFront] = "Front";
    PanelSet p;
    RefreshPanels(p, model, sep());
    EXPECT_EQ(p[kFront].caption, caption("Front", "45", "35,4"));
    model.derived.thick[0] = 20000; // 2 x 20000 leaves the 16-bit range: the upright panels stay
    RefreshPanels(p, model, sep());
    EXPECT_FLOAT_EQ(p[kRear].width, 106.2f);

    p = PanelSet{};
    RefreshPanels(p, PanelModel{}, sep());
    EXPECT_EQ(p[kFront].caption, caption(" Voorzijde ", "0", "0"));
    EXPECT_EQ(p[kLeft].width, kUnsizedPanelPx); // angle 0 is no right angle
}

TEST(PanelSet, CaptionRoundsHalvesToEvenAndLabelIsCentred)
{
    EXPECT_DOUBLE_EQ(captionCm(0.75f), 0.2); // 0,25 cm
    EXPECT_DOUBLE_EQ(captionCm(2.25f), 0.8); // 0,75 cm
    Panel p;
    p.width = 106.2f;
    p.height = 135;
    const LabelOffset o = centredLabel(p, 60, 39);
    EXPECT_FLOAT_EQ(o.x, 23.1f);
    EXPECT_FLOAT_EQ(o.y, 48);
}
