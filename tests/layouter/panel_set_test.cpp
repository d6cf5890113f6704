// The seven boards: the real boards' sizes (the classic ones with the port cut when the box cannot be
// built), turns, captions and the port's visibility.
#include "boards/Boards.h"
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
    // The real boards: front, rear, top and bottom sit between the sides (45 - 2 x 1,8 long), front and
    // rear between the bottom and the top (39 - 3,6 high); the sides cover it all.
    const Expected expected[] = {{106.2f, 124.2f, " Voorzijde ", "41,4", "35,4"},
                                 {106.2f, 124.2f, " Achterzijde ", "41,4", "35,4"},
                                 {124.2f, 180.6f, "Bovenzijde ", "41,4", "60,2"},
                                 {124.2f, 180.6f, "Onderzijde ", "41,4", "60,2"},
                                 {180.6f, 117, "Zij links", "60,2", "39"},
                                 {180.6f, 117, "Zij rechts", "60,2", "39"},
                                 {0, 0, "Poort", "0", "0"}};
    for (std::size_t i = 0; i < kPanelCount; ++i) {
        SCOPED_TRACE(kPanelKeys[i]);
        EXPECT_FLOAT_EQ(p[i].width, expected[i].width);
        EXPECT_FLOAT_EQ(p[i].height, expected[i].height);
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

// Every panel is the bounding rectangle of its real board, whatever the slopes and the port.
TEST_P(PanelSetTest, PanelsTakeTheBoardsCoresSizes)
{
    const Changes designs[] = {defaultDesign(),
                               with(defaultDesign(), {{"ca", "60"}}),
                               with(defaultDesign(), {{"ca", "70"}, {"cb", "80"}, {"thick0", "22"}}),
                               port("0", "35,4"),
                               with(port("1", "20"), {{"cb", "75"}}),
                               port("2", "30"),
                               with(port("3", "20"), {{"ca", "80"}, {"pieces1", "1"}, {"lp", "15"}})};
    for (const Changes& design : designs) {
        const ModelInputs in = inputsOf(design, sep());
        const BoardsResult boards = buildBoards(in, sep());
        ASSERT_TRUE(boards.ok()) << boards.error.text();
        const PanelSet p = refreshed(design);
        for (const Board& b : boards.boards->boards) {
            const auto key = std::find(kPanelKeys.begin(), kPanelKeys.end(), b.key);
            if (key == kPanelKeys.end())
                continue;
            const auto i = static_cast<std::size_t>(key - kPanelKeys.begin());
            // The port wall of a front or rear slot stands: its height hp is the panel's l.
            const bool standing = b.key == "port" && (in.pwhere == 0 || in.pwhere == 1);
            const double l = standing ? b.breadth : b.length, w = standing ? b.length : b.breadth;
            EXPECT_NEAR(lSide(p[i], static_cast<int>(i)) / 3.0, l, 1e-4)
                << b.key << " in " << design.at("ca");
            EXPECT_NEAR(bSide(p[i], static_cast<int>(i)) / 3.0, w, 1e-4) << b.key;
            EXPECT_EQ(p[i].caption, panelCaption(kPanelNames[i], l, w, sep()));
        }
    }
}

TEST_P(PanelSetTest, BoxThatCannotBeBuiltKeepsTheClassicSizesAndPortCut)
{
    // A slot longer than the box: no real boards; innerHeight 35,4, the cut 2 + 1,8 off the l side.
    PanelSet p = refreshed(with(port("0", "35,4"), {{"lp", "70"}}));
    EXPECT_FLOAT_EQ(p[kFront].height, 123.6f);
    EXPECT_EQ(p[kFront].caption, caption(" Voorzijde ", "41,2", "35,4"));
    EXPECT_EQ(p[kRear].caption, caption(" Achterzijde ", "45", "35,4"));
    EXPECT_EQ(p[kPort].caption, caption("Poort", "35,4", "70"));
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

TEST_P(PanelSetTest, NamesOddMeasuresAndOverflowNeverFail)
{
    PanelModel model = modelOf(defaultDesign(), sep());
    model.names[kFront] = "Front";
    PanelSet p;
    RefreshPanels(p, model, sep());
    EXPECT_EQ(p[kFront].caption, caption("Front", "41,4", "35,4"));
    model.realBoards.reset();
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
