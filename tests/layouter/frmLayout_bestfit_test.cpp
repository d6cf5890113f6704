// "Best fit" and "Cut plan" in the layouter window: the plan's sheet, places, turns and numbered cuts
// on the sheet, the boards still movable, the placements recorded on close.
#include "LayoutWindowFixture.h"
#include "boards/BoardPlan.h"
#include "frmCutPlan.h"

#include <QTextBrowser>

#include <algorithm>

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
    // The default model's seven 40 cm boards do not fit 122x61 and do fit 122x244.
    EXPECT_EQ(plan.sheetIndex, 1);
    EXPECT_EQ(plan.sheetCount, 1);
    EXPECT_EQ(w.view().sheetIndex, plan.sheetIndex);
    EXPECT_TRUE(w.action("mnuPanelSize(1)")->isChecked());
    EXPECT_NE(settings().find("Size=1"), std::string::npos);
    // Each panel where its real board lies, turned as it; the boards' true outlines drawn over them.
    std::size_t outlineStrokes = 0;
    for (const BoardPlacement& b : plan.placements) {
        outlineStrokes += b.outline.size();
        const Panel& p = w.view().panels[static_cast<std::size_t>(indexOf(b.key))];
        EXPECT_NEAR(p.left, b.rect.left * 3, 0.01) << b.key;
        EXPECT_NEAR(p.top, b.rect.top * 3, 0.01) << b.key;
        EXPECT_EQ(p.turned != 0, b.turned) << b.key;
        EXPECT_EQ(w.panel(indexOf(b.key))->pos(), QPoint(qRound(p.left), qRound(p.top))) << b.key;
    }
    // Then one numbered red line per cut.
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
