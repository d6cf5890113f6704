// The sheet plan of the real boards: each sheet with the boards as they are cut (true outlines, in the
// layouter's colours, with their names) and the numbered cuts in the order of sawing.
#pragma once

#include "boards/Boards.h"
#include "layouter/BestFit.h"

#include <QImage>
#include <QWidget>

#include <optional>

class QPainter;

namespace kelvra
{

// Paints one sheet (from 0) to fit the area, keeping its proportions.
void paintSheet(QPainter& painter, const QRectF& area, const CutPlan& plan, const BoxBoards& boards,
                int sheet);
// One sheet at a scale, for the print-out.
QImage sheetImage(const CutPlan& plan, const BoxBoards& boards, int sheet, double pixelsPerCm);

// Every sheet of the plan one below the other, as large as the widget lets them be.
class SheetPicture : public QWidget
{
    Q_OBJECT
public:
    explicit SheetPicture(QWidget* parent = nullptr);

    // `caption` words each sheet's title: %1 the sheet, %2 the count, %3 the sheet's size.
    void setPlan(std::optional<CutPlan> plan, std::optional<BoxBoards> boards,
                 std::string caption = "Sheet %1 of %2, %3");

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<CutPlan> m_plan;
    std::optional<BoxBoards> m_boards;
    std::string m_caption;
};

} // namespace kelvra
