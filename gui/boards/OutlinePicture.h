// A small drawing of every board's outline as it is cut: each bevelled edge marked with the blade's
// tilt and the face it leaves long, a trapezoid's four edges with their lengths, and the holes.
#pragma once

#include "boards/Boards.h"
#include "gui/boards/BoardRows.h"
#include "units/Units.h"

#include <QWidget>

class QPainter;

namespace kelvra
{

// One board, fitted into `area`, its name and size above the drawing.
void paintBoardOutline(QPainter& painter, const QRectF& area, const Board& board,
                       const std::vector<Board>& all, char decimalSeparator, Measure measure,
                       const BoardWords& words = {});
// Every board in a grid of `columns` cells; the height a grid of that width needs.
void paintOutlines(QPainter& painter, const QRectF& area, const std::vector<Board>& boards,
                   char decimalSeparator, Measure measure, int columns, const BoardWords& words = {});
double outlinesHeight(double width, std::size_t boardCount, int columns);

class OutlinePicture : public QWidget
{
    Q_OBJECT
public:
    explicit OutlinePicture(QWidget* parent = nullptr);
    void setBoards(std::vector<Board> boards, char decimalSeparator, Measure measure,
                   const BoardWords& words = {});

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Board> m_boards;
    char m_separator = '.';
    Measure m_measure = Measure::Metric;
    BoardWords m_words;
};

} // namespace kelvra
