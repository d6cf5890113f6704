// The layouter's "Best fit" and "Cut plan": the exact plan of the real boards shown on the sheet, and
// its numbered cut list in a window of its own.
#include "gui/layouter/frmLayout.h"

#include "gui/common/AppState.h"
#include "gui/common/MessageService.h"
#include "gui/common/WindowTexts.h"
#include "gui/layouter/frmCutPlan.h"
#include "layouter/BoardPlan.h"
#include "layouter/PlanPanels.h"

#include <string>

namespace kelvra
{

namespace
{

float px(double cm)
{
    return static_cast<float>(cm * pxPerCm.toDouble());
}

std::string firstLine(const std::string& caption)
{
    const std::string line = caption.substr(0, caption.find_first_of("\r\n"));
    const auto first = line.find_first_not_of(' ');
    const auto last = line.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : line.substr(first, last - first + 1);
}

} // namespace

std::optional<BoardPlanResult> frmLayout::planBoards()
{
    const PanelModel model = panelModel();
    std::vector<std::string> captions;
    for (const std::string& name : model.names)
        captions.push_back(firstLine(name));
    const std::vector<BestFitSheet> sheets = bestFitSheets(m_view.sheetIndex, m_view.customSheet);
    BoardPlanResult result =
        planDesign(m_app.inputs, m_app.decimalSeparator, kerfOfSawThick(m_view.sawThick), captions, sheets);
    if (!result.ok()) {
        messageService().show(this,
                              {result.text(), "Best fit", MessageIcon::Exclamation, MessageButtons::Ok});
        return std::nullopt;
    }
    return result;
}

void frmLayout::leavePlan()
{
    if (!m_visibleBeforePlan)
        return;
    for (std::size_t i = 0; i < m_visibleBeforePlan->size(); ++i)
        m_view.panels[i].visible = (*m_visibleBeforePlan)[i];
    m_visibleBeforePlan.reset();
}

void frmLayout::bestFit()
{
    putDown();
    const std::optional<BoardPlanResult> result = planBoards();
    if (!result)
        return;
    const CutPlan& plan = *result->plan;
    // The sheet size as if chosen from its menu, written back; then the plan's boards.
    chooseSheetSize(m_view.sheetIndex > 2 ? m_view.sheetIndex : plan.sheetIndex);
    std::array<bool, kPanelCount> visible{};
    for (std::size_t i = 0; i < visible.size(); ++i)
        visible[i] = m_view.panels[i].visible;
    m_visibleBeforePlan = visible;
    // Each panel shows its real board as it lies, so that nothing sticks out over the cut lines;
    // the true outlines are drawn as well, alone for the boards without a panel.
    ShowPlanPanels(m_view.panels, plan, *result->boards, panelModel().names, m_app.decimalSeparator);
    applyPanels();

    std::vector<Stroke> strokes;
    for (const BoardPlacement& b : plan.placements) {
        if (b.sheet != 0)
            continue;
        for (std::size_t i = 0; i < b.outline.size(); ++i) {
            const SheetPoint p = b.outline[i], q = b.outline[(i + 1) % b.outline.size()];
            strokes.push_back({{px(p.x), px(p.y), px(q.x), px(q.y)}, 1, false, kPlanOutlineColour});
        }
    }
    std::vector<SheetText> numbers;
    for (const Cut& c : plan.cuts) {
        if (c.sheet != 0)
            continue;
        const Segment line{px(c.fromX), px(c.fromY), px(c.toX), px(c.toY)};
        strokes.push_back({line, 1, false, kPlanCutColour});
        numbers.push_back({(line.x1 + line.x2) / 2, (line.y1 + line.y2) / 2, std::to_string(c.n)});
    }
    setDrawing(std::move(strokes), std::move(numbers));

    if (plan.sheetCount > 1) {
        messageService().show(
            this,
            {"The boards need " + std::to_string(plan.sheetCount) +
                 " sheets of this size; the picture shows the first sheet. \"Cut plan\" lists every sheet.",
             "Best fit", MessageIcon::Information, MessageButtons::Ok});
    }
}

void frmLayout::showCutPlan()
{
    std::optional<BoardPlanResult> result = planBoards();
    if (!result)
        return;
    auto* w = new frmCutPlan(std::move(*result->plan), boardNames(*result->boards), m_app.decimalSeparator,
                             this, m_app.measure, result->boards);
    w->setObjectName("frmCutPlan");
    WindowTexts texts(*w);
    translateWindow(m_app, texts);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowFlag(Qt::Window);
    w->show();
}

} // namespace kelvra
