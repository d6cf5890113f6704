#include "gui/main/FigurePicture.h"

#include "gui/common/Twips.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace kelvra
{

namespace
{

// The figure is drawn in twips of its design area and scaled to the pixels of the screen.
constexpr int kWidth = 8205;
constexpr int kHeight = 4020;

const QColor kInk(40, 40, 40);
const QColor kName(20, 50, 150);
const QColor kBoard(242, 228, 200);
const QColor kOpening(255, 255, 255);

enum class Side { Above, Below, Left, Right };

// A measure name placed next to a point, on the given side of it.
void name(QPainter& p, QPointF at, Side side, const QString& text)
{
    const QFontMetricsF fm(p.font());
    const double w = fm.horizontalAdvance(text);
    const double h = fm.height();
    const double gap = 40;
    QRectF r;
    switch (side) {
    case Side::Above:
        r = QRectF(at.x() - w / 2, at.y() - gap - h, w, h);
        break;
    case Side::Below:
        r = QRectF(at.x() - w / 2, at.y() + gap, w, h);
        break;
    case Side::Left:
        r = QRectF(at.x() - gap - w, at.y() - h / 2, w, h);
        break;
    case Side::Right:
        r = QRectF(at.x() + gap, at.y() - h / 2, w, h);
        break;
    }
    p.save();
    p.setPen(kName);
    p.drawText(r, Qt::AlignCenter, text);
    p.restore();
}

// A dimension line from a to b with an arrow head at each end.
void dimension(QPainter& p, QPointF a, QPointF b)
{
    p.save();
    p.setPen(QPen(kInk, 12));
    p.drawLine(a, b);
    const QLineF line(a, b);
    const QPointF unit = (b - a) / line.length();
    const QPointF normal(-unit.y(), unit.x());
    const double len = 110;
    const double half = 45;
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF{a, a + unit * len + normal * half, a + unit * len - normal * half});
    p.drawPolygon(QPolygonF{b, b - unit * len + normal * half, b - unit * len - normal * half});
    p.restore();
}

// Thin extension line from an edge to its dimension line.
void extension(QPainter& p, QPointF a, QPointF b)
{
    p.save();
    p.setPen(QPen(QColor(150, 150, 150), 8));
    p.drawLine(a, b);
    p.restore();
}

void sideView(QPainter& p, const FigureCaptions& c)
{
    // Rear panel leaning against the rear seat on the left, front panel on the right.
    const QPointF bottomRear(600, 3150), bottomFront(3500, 3150);
    const QPointF topRear(1350, 950), topFront(3200, 950);
    p.setPen(QPen(kInk, 24));
    p.setBrush(kBoard);
    p.drawPolygon(QPolygonF{bottomRear, bottomFront, topFront, topRear});

    // L4 over the top, L3 under the bottom.
    extension(p, topRear, topRear - QPointF(0, 330));
    extension(p, topFront, topFront - QPointF(0, 330));
    dimension(p, topRear - QPointF(0, 260), topFront - QPointF(0, 260));
    name(p, QPointF((topRear.x() + topFront.x()) / 2, 690), Side::Above, "L4");
    extension(p, bottomRear, bottomRear + QPointF(0, 330));
    extension(p, bottomFront, bottomFront + QPointF(0, 330));
    dimension(p, bottomRear + QPointF(0, 260), bottomFront + QPointF(0, 260));
    name(p, QPointF((bottomRear.x() + bottomFront.x()) / 2, 3410), Side::Below, "L3 = " + c.width);

    // H2 straight up inside, H3 and H4 along the sloping end panels.
    dimension(p, QPointF(1900, 950), QPointF(1900, 3150));
    name(p, QPointF(1900, 1700), Side::Right, "H2");
    name(p, (bottomRear + topRear) / 2, Side::Left, "H3");
    name(p, (bottomFront + topFront) / 2, Side::Right, "H4");

    // The port runs from the front panel into the box: LP long, HP (or DP) high.
    const QRectF tube(2500, 2550, 920, 330);
    p.setPen(QPen(kInk, 16));
    p.setBrush(kOpening);
    p.drawRect(tube);
    dimension(p, QPointF(tube.left(), tube.top() - 130), QPointF(tube.right(), tube.top() - 130));
    name(p, QPointF(tube.center().x(), tube.top() - 150), Side::Above, "LP");
    dimension(p, QPointF(tube.left() - 110, tube.top()), QPointF(tube.left() - 110, tube.bottom()));
    name(p, QPointF(tube.left() - 120, tube.center().y()), Side::Left, "HP");
}

void frontView(QPainter& p, const FigureCaptions& c)
{
    const QRectF outer(4500, 950, 3200, 2200);
    const double board = 130;
    const QRectF inner = outer.adjusted(board, board, -board, -board);
    p.setPen(QPen(kInk, 24));
    p.setBrush(kBoard);
    p.drawRect(outer);
    p.setPen(QPen(kInk, 10, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(inner);

    // B1 between the side panels above, B2 over the whole box below.
    extension(p, inner.topLeft(), QPointF(inner.left(), outer.top() - 330));
    extension(p, inner.topRight(), QPointF(inner.right(), outer.top() - 330));
    dimension(p, QPointF(inner.left(), outer.top() - 260), QPointF(inner.right(), outer.top() - 260));
    name(p, QPointF(inner.center().x(), 690), Side::Above, "B1");
    extension(p, outer.bottomLeft(), outer.bottomLeft() + QPointF(0, 330));
    extension(p, outer.bottomRight(), outer.bottomRight() + QPointF(0, 330));
    dimension(p, outer.bottomLeft() + QPointF(0, 260), outer.bottomRight() + QPointF(0, 260));
    name(p, QPointF(outer.center().x(), 3410), Side::Below, "B2 = " + c.length);

    // The woofer.
    const QPointF cone(6750, 2050);
    p.setPen(QPen(kInk, 16));
    p.setBrush(QColor(90, 90, 90));
    p.drawEllipse(cone, 640, 640);
    p.setBrush(QColor(150, 150, 150));
    p.drawEllipse(cone, 470, 470);
    p.setBrush(QColor(60, 60, 60));
    p.drawEllipse(cone, 150, 150);

    // A round port (DP) above a rectangular one (BP wide, HP high).
    const QPointF round(5050, 1480);
    const double radius = 260;
    p.setPen(QPen(kInk, 16));
    p.setBrush(kOpening);
    p.drawEllipse(round, radius, radius);
    dimension(p, round - QPointF(radius, 0), round + QPointF(radius, 0));
    name(p, round + QPointF(radius, 0), Side::Right, "DP");

    const QRectF slot(4800, 2330, 520, 560);
    p.setPen(QPen(kInk, 16));
    p.setBrush(kOpening);
    p.drawRect(slot);
    dimension(p, QPointF(slot.left(), slot.top() - 110), QPointF(slot.right(), slot.top() - 110));
    name(p, QPointF(slot.center().x(), slot.top() - 130), Side::Above, "BP");
    dimension(p, QPointF(slot.right() + 110, slot.top()), QPointF(slot.right() + 110, slot.bottom()));
    name(p, QPointF(slot.right() + 120, slot.center().y()), Side::Right, "HP");
}

} // namespace

FigurePicture::FigurePicture(QWidget* parent) : QWidget(parent)
{
    setObjectName("picFigure");
    setGeometry(twipRect(0, 8640, kWidth, kHeight));
    m_image = paintFigure(size());
}

void FigurePicture::setCaptions(const FigureCaptions& captions)
{
    if (captions == m_captions)
        return;
    m_captions = captions;
    m_image = paintFigure(size(), m_captions);
    update();
}

QImage FigurePicture::paintFigure(QSize size, const FigureCaptions& captions)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setWindow(0, 0, kWidth, kHeight);
    p.setViewport(0, 0, size.width(), size.height());
    QFont font("DejaVu Sans");
    font.setPixelSize(210);
    font.setBold(true);
    p.setFont(font);
    sideView(p, captions);
    frontView(p, captions);
    // The names that do not fit beside their lines, in the free band at the top.
    QFont small = font;
    small.setPixelSize(150);
    small.setBold(false);
    p.setFont(small);
    p.setPen(kName);
    p.drawText(QRectF(120, 40, kWidth - 240, 190), Qt::AlignLeft | Qt::AlignVCenter,
               "H2 = " + captions.height + " - 2 x " + captions.board + ",  H3 = " + captions.angleRear +
                   ",  H4 = " + captions.angleFront + ",  L4 = top");
    p.drawText(QRectF(120, 230, kWidth - 240, 190), Qt::AlignLeft | Qt::AlignVCenter,
               captions.port + ":  LP = " + captions.portLength + ",  DP = " + captions.portDiameter +
                   ",  BP = " + captions.portWidth + ",  HP = " + captions.portHeight);
    p.setPen(QPen(QColor(160, 160, 160), 12));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(6, 6, kWidth - 12, kHeight - 12));
    return image;
}

void FigurePicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(rect(), m_image);
}

} // namespace kelvra
