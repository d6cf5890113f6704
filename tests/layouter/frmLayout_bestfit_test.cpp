// "Best fit" and "Cut plan" in the layouter window: the plan's sheet, the real boards as they lie and
// its numbered cuts on the sheet, the boards still movable, the placements recorded on close.
#include "gui/layouter/frmCutPlan.h"
#include "layouter/BoardPlan.h"
#include "tests/layouter/LayoutWindowFixture.h"

#include <QTextBrowser>

#include <algorithm>
#include <array>

using namespace kelvra;
using namespace kelvra::test;

namespace
{

class BestFitWindow : public LayoutWindow
{
protected:
    CutPlan expectedPlan()
    {
        BoardPlanResult r =
            planDesign(app().inputs, app().decimalSeparator, kerfOfSawThick(m_window->view().sawThick));
        EXPECT_TRUE(r.ok());
        return r.ok() ? *r.plan : CutPlan{};
    }
};
INSTANTIATE_TEST_SUITE_P(Locale, BestFitWindow, ::testing::Values(',', '.'),
                         [](const auto& info) { return separatorName(info.param); });

int indexOf(const std::string& key)
{
    for (int i = 0; i < kPanelCount; ++i)
        if (kPanelKeys[static_cast<std::size_t>(i)] == key)
            return i;
    return -1;
}

} // namespace

TEST_P(BestFitWindow, PlacesTheBoardsByThePlanOnItsSheet)
{
    frmLayout& w = open();
    EXPECT_EQ(w.action("mnuPanelBest")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F12));
    trigger("mnuPanelBest");
    const CutPlan plan = expectedPlan();
    // The default model's boards do not fit 122x61 and do fit 122x244.
    EXPECT_EQ(plan.sheetIndex, 1);
    EXPECT_EQ(plan.sheetCount, 1);
    EXPECT_EQ(w.view().sheetIndex, plan.sheetIndex);
    EXPECT_TRUE(w.action("mnuPanelSize(1)")->isChecked());
    EXPECT_NE(settings().find("Size=1"), std::string::npos);
    // The boards' true outlines, then one numbered red line per cut.
    std::size_t outlineStrokes = 0;
    for (const BoardPlacement& b : plan.placements)
        outlineStrokes += b.outline.size();
    const std::vector<Stroke>& drawn = w.view().drawing;
    ASSERT_EQ(drawn.size(), outlineStrokes + plan.cuts.size());
    EXPECT_EQ(drawn.front().colour, kPlanOutlineColour);
    for (std::size_t i = 0; i < plan.cuts.size(); ++i) {
        const Stroke& cut = drawn[outlineStrokes + i];
        EXPECT_EQ(cut.colour, kPlanCutColour);
        EXPECT_NEAR(cut.line.x1, plan.cuts[i].fromX * 3, 0.01);
        EXPECT_NEAR(cut.line.y2, plan.cuts[i].toY * 3, 0.01);
    }
    EXPECT_TRUE(m_messages.messages.empty());

    // Auto fit afterwards clears the plan's lines and lays out by the hand rules again.
    trigger("mnuPanelAuto");
    EXPECT_TRUE(std::none_of(w.view().drawing.begin(), w.view().drawing.end(), [](const Stroke& s) {
        return s.colour == Rgb{192, 0, 0};
    }));
}

TEST_P(BestFitWindow, ShowsTheRealBoardsUntilTheClassicSizesAreBack)
{
    struct Case {
        const char* name;
        Changes design;
        bool portShown; // the port wall is planned on the first sheet
        bool oneSheet;
    };
    const std::vector<Case> cases = {
        {"square box", defaultDesign(), false, true},
        {"sloped box with a slot port",
         with(defaultDesign(), {{"ca", "70"},
                                {"pieces2", "1"},
                                {"ptype", "1"},
                                {"dp", "0"},
                                {"lp", "20"},
                                {"bp", "5"},
                                {"hp", "20"}}),
         true, true},
        // The boards of the second sheet are not on the picture.
        {"boards for two sheets", with(defaultDesign(), {{"h2", "60"}, {"l3", "100"}, {"b2", "100"}}), false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setDesign(c.design);
        frmLayout& w = open();
        trigger("mnuPanelBest");
        const BoardsResult boards = buildBoards(app().inputs, sep());
        ASSERT_TRUE(boards.ok());
        const CutPlan plan = expectedPlan();
        EXPECT_EQ(plan.sheetCount == 1, c.oneSheet);
        std::array<bool, kPanelCount> shown{};
        for (const BoardPlacement& b : plan.placements) {
            const int i = indexOf(b.key);
            if (i < 0 || b.copy != 0 || b.sheet != 0)
                continue;
            shown[static_cast<std::size_t>(i)] = true;
            const Board& board = boards.boards->boards[static_cast<std::size_t>(b.board)];
            const QRect planned(qRound(b.rect.left * 3), qRound(b.rect.top * 3), qRound(b.rect.width * 3),
                                qRound(b.rect.height * 3));
            const PanelView* panel = w.panel(i);
            EXPECT_TRUE(panel->isVisible()) << b.key;
            EXPECT_EQ(panel->geometry(), planned) << b.key;
            EXPECT_EQ(w.view().panels[static_cast<std::size_t>(i)].turned != 0, b.turned) << b.key;
            const QLabel* label = w.lblName(i);
            EXPECT_EQ(label->text(),
                      QString("%1\nl:%2cm\nb:%3cm")
                          .arg(QString::fromUtf8(kPanelNames[static_cast<std::size_t>(i)].data()),
                               QString::fromStdString(boardSizeText(board.length, sep())),
                               QString::fromStdString(boardSizeText(board.breadth, sep()))))
                << b.key;
            EXPECT_LE((label->geometry().center() - panel->rect().center()).manhattanLength(), 2) << b.key;
        }
        EXPECT_EQ(shown[kPort], c.portShown);
        for (int i = 0; i < kPanelCount; ++i)
            EXPECT_EQ(w.panel(i)->isVisible(), shown[static_cast<std::size_t>(i)]) << i;

        // "Update" brings back the classic sizes and captions of the boards as they lie, and the panels
        // of the second sheet.
        const LayoutView planned = w.view();
        trigger("mnuDrawUpd");
        PanelSet classic = planned.panels;
        RefreshPanels(classic, modelOf(c.design, sep()), sep());
        for (int i = 0; i < kPanelCount; ++i) {
            const Panel& p = w.view().panels[static_cast<std::size_t>(i)];
            EXPECT_EQ(rectOf(p), rectOf(classic[static_cast<std::size_t>(i)])) << i;
            EXPECT_EQ(p.caption, classic[static_cast<std::size_t>(i)].caption) << i;
            EXPECT_EQ(w.panel(i)->isVisible(), i != kPort || c.portShown) << i;
        }
        closeWindow();
    }
}

TEST_P(BestFitWindow, SmallBoardsGoOnTheSmallSheetAndStayMovable)
{
    setDesign(with(defaultDesign(), {{"h2", "20"}, {"l3", "25"}, {"b2", "25"}}));
    frmLayout& w = open();
    trigger("mnuPanelBest");
    EXPECT_EQ(w.view().sheetIndex, 0);
    EXPECT_EQ(w.picPanel()->size(), QSize(183, 366));

    // Picked up, moved and put down as after Auto fit; the new place is what the close records.
    QWidget* rear = w.panel(kRear);
    click(rear, Qt::LeftButton);
    moveOnSheet(QPoint(100, 200));
    click(rear, Qt::LeftButton);
    EXPECT_FALSE(w.panelPickedUp());
    EXPECT_EQ(rear->pos(), QPoint(100, 200));
    EXPECT_FLOAT_EQ(w.view().panels[kRear].left, 100);
    EXPECT_FLOAT_EQ(w.view().panels[kRear].top, 200);
    closeWindow();
    ASSERT_GE(app().layoutStrings.size(), static_cast<std::size_t>(kPanelCount));
    EXPECT_EQ(app().layoutStrings[kRear].rfind("200x100x", 0), 0u) << app().layoutStrings[kRear];
    EXPECT_NE(app().layoutStrings[kFront], "0x0x0"); // the plan's place, not the hand rules' corner
}

TEST_P(BestFitWindow, CutPlanWindowListsTheNumberedCuts)
{
    frmLayout& w = open();
    EXPECT_EQ(w.action("mnuPanelCutPlan")->text(), "Cut plan");
    trigger("mnuPanelCutPlan");
    auto* plan = w.findChild<frmCutPlan*>("frmCutPlan");
    ASSERT_NE(plan, nullptr);
    EXPECT_TRUE(plan->isVisible());
    EXPECT_EQ(plan->plan().cuts.size(), expectedPlan().cuts.size());
    const QString text = plan->txtCutPlan()->toPlainText();
    EXPECT_TRUE(text.contains("Voorzijde")) << text.toStdString();
    EXPECT_TRUE(text.contains("Zij rechts")) << text.toStdString();
    // The cut plan only shows: the boards stay where they were.
    EXPECT_EQ(w.view().sheetIndex, 1);
}

TEST_P(BestFitWindow, BoardsThatCannotBePlannedAreReported)
{
    struct Case {
        const char* name;
        Changes design;
        const char* words;
    };
    const std::vector<Case> cases = {
        {"too large for every sheet", with(defaultDesign(), {{"l3", "400"}}),
         "larger than the largest sheet"},
        // The boards core refuses a 60 cm slot in a wedge 43,7 cm deep inside at the top.
        {"boards that cannot be built",
         with(defaultDesign(),
              {{"ca", "60"}, {"pieces2", "1"}, {"ptype", "1"}, {"lp", "60"}, {"bp", "5"}, {"hp", "20"}}),
         "the port length lp is 60 cm"},
    };
    for (const Case& c : cases) {
        setDesign(c.design);
        frmLayout& w = open();
        const LayoutView before = w.view();
        trigger("mnuPanelBest");
        ASSERT_NE(m_messages.last(), nullptr) << c.name;
        EXPECT_EQ(m_messages.last()->title, "Best fit");
        EXPECT_EQ(m_messages.last()->icon, MessageIcon::Exclamation);
        EXPECT_NE(m_messages.last()->text.find(under(c.words, GetParam())), std::string::npos)
            << m_messages.last()->text;
        EXPECT_EQ(w.view().panels, before.panels);
        trigger("mnuPanelCutPlan");
        EXPECT_EQ(w.findChild<frmCutPlan*>("frmCutPlan"), nullptr);
        closeWindow();
    }
}
