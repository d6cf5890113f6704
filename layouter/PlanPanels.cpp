#include "layouter/PlanPanels.h"

namespace kelvra
{

namespace
{

float px(double cm)
{
    return static_cast<float>(cm * pxPerCm.toDouble());
}

int panelIndexOf(const std::string& key)
{
    for (int i = 0; i < kPanelCount; ++i)
        if (kPanelKeys[static_cast<std::size_t>(i)] == key)
            return i;
    return -1;
}

} // namespace

void ShowPlanPanels(PanelSet& panels, const CutPlan& plan, const BoxBoards& boards,
                    const std::array<std::string, kPanelCount>& names, char decimalSeparator)
{
    for (Panel& p : panels)
        p.visible = false;
    for (const BoardPlacement& b : plan.placements) {
        const int index = panelIndexOf(b.key);
        if (index < 0 || b.copy != 0 || b.sheet != 0 || b.board < 0 ||
            static_cast<std::size_t>(b.board) >= boards.boards.size())
            continue;
        const Board& board = boards.boards[static_cast<std::size_t>(b.board)];
        Panel& p = panels[static_cast<std::size_t>(index)];
        p.left = px(b.rect.left);
        p.top = px(b.rect.top);
        p.width = px(b.rect.width);
        p.height = px(b.rect.height);
        p.turned = b.turned ? 1 : 0;
        p.visible = true;
        p.caption = panelCaption(names[static_cast<std::size_t>(index)], board.length, board.breadth,
                                 decimalSeparator);
    }
}

} // namespace kelvra
