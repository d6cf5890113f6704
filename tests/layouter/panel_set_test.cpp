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
    PanelSet refreshed(const Changes& changes) const
    {
        PanelSet panels;
        RefreshPanels(panels, modelOf(changes, sep()), sep());
        return panels;
    }
    std::string caption(const char* name, const char* l, const char* b) const
    {
        return std::string(name) + "\r\nl:" + under(l, sep()) + "cm\r\nb:" + under(b, sep()) + "cm";
    }
};
INSTANTIATE_TEST_SUITE_P(Locale, PanelSetTest, ::testing::Values(',', '.'),
                         [](const auto& info) { return separatorName(info.param); });

// A single rectangular port, 2 wide in 18 mm board, standing against the given panel.
Changes rectangularPort(const char* where, const char* height, const char* count = "1")
{
    return with(defaultDesign(), {{"pieces2", count},
                                  {"ptype", "1"},
                                  {"pwhere", where},
                                  {"hp", height},
                                  {"bp", "2"},
                                  {"lp", "21,3"},
                                  {"thick2", "18"}});
}

} // namespace

TEST_P(PanelSetTest, DefaultModelSizesEveryBoard)
{
    const PanelSet p = refreshed(defaultDesign());
    struct Expected {
        float width, height;
        const char* name;
        const char* l;
        const char* b;
    };
    // With both angles right, topWidth equals bottomWidth; slantCb is 35,4.
    const std::array<Expected, 7> expected = {{{106.2f, 135, " Voorzijde ", "45", "35,4"},
                                               {106.2f, 135, " Achterzijde ", "45", "35,4"},
                                               {135, 180.6f, "Bovenzijde ", "45", "60,2"},
                                               {135, 180.6f, "Onderzijde ", "45", "60,2"},
                                               {180.6f, 106.2f, "Zij links", "60,2", "35,4"},
                                               {180.6f, 106.2f, "Zij rechts", "60,2", "35,4"},
                                               {0, 0, "Poort", "0", "0"}}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(kPanelKeys[i]);
        EXPECT_FLOAT_EQ(p[i].width, expected[i].width);
        EXPECT_FLOAT_EQ(p[i].height, expected[i].height);
        EXPECT_EQ(p[i].caption, caption(expected[i].name, expected[i].l, expected[i].b));
        EXPECT_EQ(p[i].left, 0);
        EXPECT_EQ(p[i].top, 0);
        EXPECT_TRUE(p[i].visible);
    }
    // The same single-precision values the rectangles are made of.
    EXPECT_EQ(p[kFront].width, 106.2f);
    EXPECT_EQ(p[kFront].height, 135.0f);
}

TEST_P(PanelSetTest, TurningExchangesWidthAndHeightButNotTheCaption)
{
    PanelSet p;
    const PanelModel model = modelOf(defaultDesign(), sep());
    RefreshPanels(p, model, sep());
    const PanelSet before = p;
    for (Panel& panel : p)
        panel.turned = 1;
    RefreshPanels(p, model, sep());
    for (int i = 0; i < kPort; ++i) {
        SCOPED_TRACE(kPanelKeys[static_cast<std::size_t>(i)]);
        EXPECT_EQ(p[static_cast<std::size_t>(i)].width, before[static_cast<std::size_t>(i)].height);
        EXPECT_EQ(p[static_cast<std::size_t>(i)].height, before[static_cast<std::size_t>(i)].width);
        EXPECT_EQ(p[static_cast<std::size_t>(i)].caption, before[static_cast<std::size_t>(i)].caption);
    }
}

TEST_P(PanelSetTest, RefreshKeepsPositionsAndVisibility)
{
    PanelSet p;
    p[kRear].left = 12.5f;
    p[kRear].top = -3;
    p[kPort].visible = false;
    RefreshPanels(p, modelOf(defaultDesign(), sep()), sep());
    EXPECT_EQ(p[kRear].left, 12.5f);
    EXPECT_EQ(p[kRear].top, -3);
    EXPECT_FALSE(p[kPort].visible);
}

TEST_P(PanelSetTest, SinglePortAsHighAsTheFrontShortensItsLength)
{
    // innerHeight is 39 - 3,6 = 35,4; the cut is 2 + 1,8 = 3,8 off the l side.
    const PanelSet p = refreshed(rectangularPort("0", "35,4"));
    EXPECT_FLOAT_EQ(p[kFront].height, 123.6f);
    EXPECT_FLOAT_EQ(p[kFront].width, 106.2f);
    EXPECT_EQ(p[kFront].caption, caption(" Voorzijde ", "41,2", "35,4"));
    EXPECT_EQ(p[kRear].caption, caption(" Achterzijde ", "45", "35,4"));
    // The port board itself: l = hp, b = lp.
    EXPECT_FLOAT_EQ(p[kPort].width, 106.2f);
    EXPECT_FLOAT_EQ(p[kPort].height, 63.9f);
    EXPECT_EQ(p[kPort].caption, caption("Poort", "35,4", "21,3"));
}

TEST_P(PanelSetTest, PortCutOfATurnedFrontShortensItsWidth)
{
    PanelSet p;
    p[kFront].turned = 1;
    RefreshPanels(p, modelOf(rectangularPort("0", "35,4"), sep()), sep());
    EXPECT_FLOAT_EQ(p[kFront].width, 123.6f);
    EXPECT_FLOAT_EQ(p[kFront].height, 106.2f);
    EXPECT_EQ(p[kFront].caption, caption(" Voorzijde ", "41,2", "35,4"));
}

TEST_P(PanelSetTest, PortCutOfTheRearTakesItsBreadth)
{
    const PanelSet p = refreshed(rectangularPort("1", "35,4"));
    EXPECT_FLOAT_EQ(p[kRear].width, 94.8f);
    EXPECT_FLOAT_EQ(p[kRear].height, 135);
    EXPECT_EQ(p[kRear].caption, caption(" Achterzijde ", "45", "31,6"));
    EXPECT_EQ(p[kFront].caption, caption(" Voorzijde ", "45", "35,4"));
}

TEST_P(PanelSetTest, PortCutOfTheTopComparesItsLength)
{
    const PanelSet p = refreshed(rectangularPort("2", "45"));
    EXPECT_FLOAT_EQ(p[kTop].width, 123.6f);
    EXPECT_EQ(p[kTop].caption, caption("Bovenzijde ", "41,2", "60,2"));
}

TEST_P(PanelSetTest, NoPortCutWhereTheRulesDoNotAllOfThemHold)
{
    struct Case {
        const char* name;
        Changes design;
    };
    const std::vector<Case> cases = {
        {"two ports", rectangularPort("0", "35,4", "2")},
        {"port lower than the front", rectangularPort("0", "30")},
        {"port against the left side", rectangularPort("3", "35,4")},
        {"port against the right side", rectangularPort("4", "35,4")},
        {"no port", rectangularPort("0", "35,4", "0")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PanelSet p = refreshed(c.design);
        EXPECT_EQ(p[kFront].caption, caption(" Voorzijde ", "45", "35,4"));
        EXPECT_EQ(p[kRear].caption, caption(" Achterzijde ", "45", "35,4"));
        EXPECT_EQ(p[kTop].caption, caption("Bovenzijde ", "45", "60,2"));
    }
}

TEST_P(PanelSetTest, PortPanelShownOnlyForARectangularPort)
{
    struct Case {
        const char* name;
        Changes design;
        bool shown;
    };
    const std::vector<Case> cases = {
        {"rectangular port", rectangularPort("3", "20"), true},
        {"two rectangular ports", rectangularPort("3", "20", "2"), true},
        {"round port beside the measures", with(rectangularPort("3", "20"), {{"ptype", "0"}, {"dp", "8"}}),
         false},
        {"no port", rectangularPort("3", "20", "0"), false},
        {"no port height", rectangularPort("3", "0"), false},
        {"no port length", with(rectangularPort("3", "20"), {{"lp", "0"}}), false},
        {"default design", defaultDesign(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PanelModel model = modelOf(c.design, sep());
        PanelSet p;
        p[kPort].visible = !c.shown;
        UpdatePortVisibility(p, model);
        EXPECT_EQ(p[kPort].visible, c.shown);
        for (int i = 0; i < kPort; ++i)
            EXPECT_TRUE(p[static_cast<std::size_t>(i)].visible);
    }
}

TEST_P(PanelSetTest, SlopedSidePanelsTakeTheRealSideBoardsRectangle)
{
    struct Case {
        const char* name;
        Changes design;
        const char* leftL;
        const char* leftB;
        float rightHeight;
    };
    // The real side runs 60,2 along the bottom and stands 39 high; a slope only shortens its top.
    const std::vector<Case> cases = {
        {"rear seat sloped, front square", with(defaultDesign(), {{"ca", "60"}}), "60,2", "39", 106.2f},
        {"both sloped", with(defaultDesign(), {{"ca", "70"}, {"cb", "80"}}), "60,2", "39", 117},
    };
    for (const Case& c : cases) {
        PanelSet p;
        RefreshPanels(p, modelOf(defaultDesign(), sep()), sep());
        RefreshPanels(p, modelOf(c.design, sep()), sep());
        EXPECT_EQ(p[kLeft].caption, caption("Zij links", c.leftL, c.leftB)) << c.name;
        EXPECT_FLOAT_EQ(p[kLeft].height, 117) << c.name;
        // The right panel follows cb: the classic size while it is square.
        EXPECT_FLOAT_EQ(p[kRight].height, c.rightHeight) << c.name;
    }
    // The front takes its length from slantCa: 35,4 / sin 60 degrees.
    const PanelModel model = modelOf(with(defaultDesign(), {{"ca", "60"}}), sep());
    PanelSet p;
    RefreshPanels(p, model, sep());
    EXPECT_FLOAT_EQ(p[kFront].height, static_cast<float>(model.derived.slantCa.toDouble() * 3));
}

TEST_P(PanelSetTest, NamesFollowTheMainWindowsLabels)
{
    PanelModel model = modelOf(defaultDesign(), sep());
    model.names[kFront] = "Front";
    model.names[kPort] = "Port";
    PanelSet p;
    RefreshPanels(p, model, sep());
    EXPECT_EQ(p[kFront].caption, caption("Front", "45", "35,4"));
    EXPECT_EQ(p[kPort].caption.substr(0, 6), "Port\r\n");
}

TEST_P(PanelSetTest, ZeroAndNegativeMeasuresNeverFail)
{
    PanelSet p;
    RefreshPanels(p, PanelModel{}, sep());
    EXPECT_EQ(p[kFront].width, 0);
    EXPECT_EQ(p[kFront].caption, caption(" Voorzijde ", "0", "0"));
    EXPECT_EQ(p[kLeft].width, kUnsizedPanelPx); // angle 0 is no right angle

    PanelModel negative;
    negative.derived.h2 = Fixed::fromInt(-10);
    negative.derived.l3 = Fixed::fromInt(-5);
    negative.derived.thick[0] = 18;
    negative.derived.angleCa = kRightAngle;
    RefreshPanels(p, negative, sep());
    EXPECT_FLOAT_EQ(p[kFront].width, -40.8f);
    EXPECT_FLOAT_EQ(p[kFront].height, -15);
    EXPECT_EQ(p[kFront].caption, caption(" Voorzijde ", "-5", "-13,6"));
}

TEST_P(PanelSetTest, OverflowingThicknessKeepsTheUprightPanelsAsTheyWere)
{
    PanelModel model = modelOf(defaultDesign(), sep());
    PanelSet p;
    RefreshPanels(p, model, sep());
    model.derived.thick[0] = 20000; // 2 x 20000 leaves the 16-bit range
    RefreshPanels(p, model, sep());
    EXPECT_FLOAT_EQ(p[kFront].width, 106.2f);
    EXPECT_FLOAT_EQ(p[kRear].width, 106.2f);
}

TEST(PanelSet, CaptionRoundsHalvesToEven)
{
    EXPECT_DOUBLE_EQ(captionCm(106.2f), 35.4);
    EXPECT_DOUBLE_EQ(captionCm(0.75f), 0.2); // 0,25 cm
    EXPECT_DOUBLE_EQ(captionCm(2.25f), 0.8); // 0,75 cm
}

TEST(PanelSet, LabelIsCentredInItsPanel)
{
    Panel p;
    p.width = 106.2f;
    p.height = 135;
    const LabelOffset o = centredLabel(p, 60, 39);
    EXPECT_FLOAT_EQ(o.x, 23.1f);
    EXPECT_FLOAT_EQ(o.y, 48);
}
