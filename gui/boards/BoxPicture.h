// The drawing of the box from its boards' solids: seen from the front, the right and above, pulled
// apart (exploded) or assembled, each board in its layouter colour with its name.
#pragma once

#include "boards/Boards.h"

#include <QColor>
#include <QWidget>

class QPainter;

namespace kelvra
{

// The layouter's colour of a board by its key; partitions grey, the port wall yellow.
QColor boardColour(const std::string& key);

// Paints the boards to fit the area, with a margin for the names.
void paintBox(QPainter& painter, const QRectF& area, const std::vector<Board>& boards, bool exploded);

class BoxPicture : public QWidget
{
    Q_OBJECT
public:
    explicit BoxPicture(QWidget* parent = nullptr);

    // The boards to show; an empty list shows nothing.
    void setBoards(std::vector<Board> boards);
    void setExploded(bool exploded);
    bool exploded() const { return m_exploded; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Board> m_boards;
    bool m_exploded = true;
};

} // namespace kelvra
