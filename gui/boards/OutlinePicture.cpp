#include "gui/boards/OutlinePicture.h"

#include "calc/Numeric.h"
#include "gui/boards/BoardRows.h"
#include "gui/common/MessageService.h"
#include "solid/BoardShape.h"
#include "solid/BoxMesh.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kelvra
{

namespace
{

const QColor kBevelColour(192, 0, 0);
constexpr double kLabelRoom = 46; // pixels round the outline for the edges' texts
constexpr double kCellAspect = 0.8;

QString degrees(double value, char sep)
{
    return toQString(formatDouble(roundHalfEven(value, 1), sep)) + QChar(0x00b0);
}

} // namespace

void paintBoardOutline(QPainter& painter, const QRectF& area, const Board& board,
                       const std::vector<Board>& all, char sep, Measure measure, const BoardWords& words)
{
    if (board.outline.size() < 3 || area.width() < 2 * kLabelRoom || area.height() < 2 * kLabelRoom)
        return;
    const BoardShape shape = boardShape(board, boxMiddle(all));
    const QFontMetricsF metrics(painter.font());
    const BoardRow row = boardRow(board, sep, measure);
    const QString title = toQString(row.name) + QStringLiteral("  ") + toQString(row.size) +
                          (measure == Measure::Imperial ? QString() : QStringLiteral(" cm"));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), metrics.height()), Qt::AlignHCenter,
                     metrics.elidedText(title, Qt::ElideRight, area.width()));

    const QRectF room =
        area.adjusted(kLabelRoom, metrics.height() + kLabelRoom / 2, -kLabelRoom, -kLabelRoom / 2);
    double w = 0, h = 0;
    for (const Point2& p : board.outline) {
        w = std::max(w, p.x);
        h = std::max(h, p.y);
    }
    if (w <= 0 || h <= 0 || room.width() <= 0 || room.height() <= 0) {
        painter.restore();
        return;
    }
    const double scale = std::min(room.width() / w, room.height() / h);
    const QPointF origin(room.center().x() - w * scale / 2, room.center().y() + h * scale / 2);
    auto toScreen = [&](Point2 p) {
        return QPointF(origin.x() + p.x * scale, origin.y() - p.y * scale);
    };
    QPolygonF polygon;
    for (const Point2& p : board.outline)
        polygon << toScreen(p);
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    painter.setBrush(QColor(250, 235, 200));
    painter.drawPolygon(polygon);
    painter.setBrush(Qt::white);
    for (const BoardHole& hole : board.holes) {
        if (hole.outline.empty()) {
            const double r = hole.diameter / 2 * scale;
            painter.drawEllipse(toScreen(hole.center), r, r);
        } else {
            QPolygonF opening;
            for (const Point2& p : hole.outline)
                opening << toScreen(p);
            painter.drawPolygon(opening);
        }
    }

    const QPointF middle = polygon.boundingRect().center();
    const bool trapezoid = board.isTrapezoid();
    for (std::size_t i = 0; i < board.outline.size(); ++i) {
        const Point2 a = board.outline[i], b = board.outline[(i + 1) % board.outline.size()];
        const QPointF pa = toScreen(a), pb = toScreen(b);
        const bool bevelled = i < board.bevels.size() && roundHalfEven(board.bevels[i].degrees, 1) != 0;
        QStringList lines;
        if (trapezoid)
            lines << toQString(boardLengthText(std::hypot(b.x - a.x, b.y - a.y), measure, sep));
        if (bevelled) {
            const Bevel& bevel = board.bevels[i];
            QString tilt = toQString(
                withFigures(words.edge, {std::to_string(i + 1), degrees(bevel.degrees, sep).toStdString()}));
            if (bevel.beyondSaw)
                tilt += QStringLiteral(" * ") + degrees(bevel.complementary, sep);
            lines << tilt;
            const LongFace face = i < shape.longFaces.size() ? shape.longFaces[i] : LongFace::Both;
            if (face != LongFace::Both)
                lines << toQString(face == LongFace::Outer ? words.longOutside : words.longInside);
            painter.setPen(QPen(kBevelColour, 3));
            painter.drawLine(pa, pb);
        }
        if (lines.isEmpty())
            continue;
        // The text stands outside the edge, away from the board's middle.
        const QPointF mid = (pa + pb) / 2;
        QPointF out = mid - middle;
        const double len = std::hypot(out.x(), out.y());
        out = len > 0 ? out / len : QPointF(0, 1);
        const QString text = lines.join(QStringLiteral("\n"));
        QRectF box = metrics.boundingRect(QRectF(0, 0, 400, 200), Qt::AlignCenter, text);
        box.moveCenter(mid + QPointF(out.x() * (box.width() / 2 + 4), out.y() * (box.height() / 2 + 4)));
        painter.setPen(bevelled ? kBevelColour : QColor(Qt::black));
        painter.drawText(box, Qt::AlignCenter, text);
    }
    painter.restore();
}

double outlinesHeight(double width, std::size_t boardCount, int columns)
{
    const auto rows =
        (boardCount + static_cast<std::size_t>(columns) - 1) / static_cast<std::size_t>(columns);
    return static_cast<double>(rows) * width / columns * kCellAspect;
}

void paintOutlines(QPainter& painter, const QRectF& area, const std::vector<Board>& boards, char sep,
                   Measure measure, int columns, const BoardWords& words)
{
    if (boards.empty() || columns < 1)
        return;
    const double cellW = area.width() / columns;
    const double cellH =
        std::min(cellW * kCellAspect,
                 area.height() / static_cast<double>((boards.size() + static_cast<std::size_t>(columns) - 1) /
                                                     static_cast<std::size_t>(columns)));
    for (std::size_t i = 0; i < boards.size(); ++i) {
        const double x = area.left() + static_cast<double>(i % static_cast<std::size_t>(columns)) * cellW;
        const double y = area.top() + static_cast<double>(i / static_cast<std::size_t>(columns)) * cellH;
        paintBoardOutline(painter, QRectF(x + 4, y + 4, cellW - 8, cellH - 8), boards[i], boards, sep,
                          measure, words);
    }
}

OutlinePicture::OutlinePicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picOutlines"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setToolTip(toQString(m_words.outlinesHint));
}

void OutlinePicture::setBoards(std::vector<Board> boards, char sep, Measure measure, const BoardWords& words)
{
    m_measure = measure;
    m_words = words;
    setToolTip(toQString(m_words.outlinesHint));
    m_boards = std::move(boards);
    m_separator = sep;
    update();
}

void OutlinePicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int columns = width() > 900 ? 4 : width() > 600 ? 3 : 2;
    paintOutlines(painter, QRectF(rect()), m_boards, m_separator, m_measure, columns, m_words);
}

} // namespace kelvra
