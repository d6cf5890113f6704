#include "gui/boards/SheetPicture.h"

#include "gui/boards/BoardRows.h"
#include "gui/boards/BoxPicture.h"
#include "layouter/CutPlanText.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kelvra
{

namespace
{

const QColor kSheetColour(255, 224, 192); // the layouter's sheet
const QColor kCutColour(192, 0, 0);       // the layouter's plan cuts

QString nameOf(const BoxBoards& boards, const BoardPlacement& p)
{
    const auto i = static_cast<std::size_t>(p.board);
    return QString::fromStdString(i < boards.boards.size() ? boardRow(boards.boards[i], '.').name : p.key);
}

QPointF centreOf(const QPolygonF& shape)
{
    QPointF sum;
    for (const QPointF& p : shape)
        sum += p;
    return shape.isEmpty() ? sum : sum / static_cast<double>(shape.size());
}

} // namespace

void paintSheet(QPainter& painter, const QRectF& area, const CutPlan& plan, const BoxBoards& boards,
                int sheet)
{
    if (plan.sheet.width <= 0 || plan.sheet.height <= 0 || area.isEmpty())
        return;
    const double scale = std::min(area.width() / plan.sheet.width, area.height() / plan.sheet.height);
    const QPointF origin(area.left() + (area.width() - plan.sheet.width * scale) / 2,
                         area.top() + (area.height() - plan.sheet.height * scale) / 2);
    auto at = [&](double x, double y) {
        return origin + QPointF(x * scale, y * scale);
    };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF sheetRect(origin, QSizeF(plan.sheet.width * scale, plan.sheet.height * scale));
    painter.setPen(Qt::black);
    painter.setBrush(kSheetColour);
    painter.drawRect(sheetRect);

    QPen outline(QColor(64, 64, 64));
    outline.setCosmetic(true);
    QFont font = painter.font();
    font.setPixelSize(std::clamp(static_cast<int>(std::lround(scale * 3)), 8, 14));
    painter.setFont(font);
    for (const BoardPlacement& b : plan.placements) {
        if (b.sheet != sheet)
            continue;
        QPolygonF shape;
        for (const SheetPoint& q : b.outline)
            shape << at(q.x, q.y);
        if (shape.isEmpty())
            shape = QPolygonF(QRectF(at(b.rect.left, b.rect.top), at(b.rect.right(), b.rect.bottom())));
        painter.setPen(outline);
        painter.setBrush(boardColour(b.key));
        painter.drawPolygon(shape);
        painter.setPen(Qt::black);
        QRectF label(QPointF(0, 0), QSizeF(b.rect.width * scale, b.rect.height * scale));
        label.moveCenter(centreOf(shape));
        painter.drawText(label, Qt::AlignCenter | Qt::TextWordWrap, nameOf(boards, b));
    }

    // The cuts in the middle of their kerfs, each numbered on a white disc at its middle.
    QPen cut(kCutColour);
    cut.setWidthF(std::max(1.5, plan.kerf * scale));
    const double disc = std::clamp(scale * 4, 12.0, 18.0);
    for (const Cut& c : plan.cuts) {
        if (c.sheet != sheet)
            continue;
        const QPointF from = at(c.fromX, c.fromY);
        const QPointF to = at(c.toX, c.toY);
        painter.setPen(cut);
        painter.drawLine(from, to);
    }
    for (const Cut& c : plan.cuts) {
        if (c.sheet != sheet)
            continue;
        const QPointF middle = (at(c.fromX, c.fromY) + at(c.toX, c.toY)) / 2;
        const QRectF round(middle.x() - disc / 2, middle.y() - disc / 2, disc, disc);
        painter.setPen(kCutColour);
        painter.setBrush(Qt::white);
        painter.drawEllipse(round);
        QFont small = font;
        small.setPixelSize(static_cast<int>(disc * 0.6));
        painter.setFont(small);
        painter.drawText(round, Qt::AlignCenter, QString::number(c.n));
        painter.setFont(font);
    }
    painter.restore();
}

QImage sheetImage(const CutPlan& plan, const BoxBoards& boards, int sheet, double pixelsPerCm)
{
    const int w = std::max(1, static_cast<int>(std::lround(plan.sheet.width * pixelsPerCm)));
    const int h = std::max(1, static_cast<int>(std::lround(plan.sheet.height * pixelsPerCm)));
    QImage image(w + 2, h + 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintSheet(painter, QRectF(1, 1, w, h), plan, boards, sheet);
    return image;
}

SheetPicture::SheetPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picPlan"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void SheetPicture::setPlan(std::optional<CutPlan> plan, std::optional<BoxBoards> boards, std::string caption)
{
    m_caption = std::move(caption);
    m_plan = std::move(plan);
    m_boards = std::move(boards);
    update();
}

void SheetPicture::paintEvent(QPaintEvent*)
{
    if (!m_plan || !m_boards || m_plan->sheetCount <= 0)
        return;
    QPainter painter(this);
    const QFontMetricsF metrics(font());
    const double gap = 6;
    const double caption = metrics.height();
    const int n = m_plan->sheetCount;
    const double each = (height() - gap * (n + 1)) / n;
    for (int s = 0; s < n; ++s) {
        const double top = gap + s * (each + gap);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(
            QRectF(gap, top, width() - 2 * gap, caption), Qt::AlignLeft | Qt::AlignVCenter,
            QString::fromStdString(withFigures(
                m_caption, {std::to_string(s + 1), std::to_string(n), sheetCaption(m_plan->sheet, '.')})));
        paintSheet(painter, QRectF(gap, top + caption, width() - 2 * gap, each - caption), *m_plan, *m_boards,
                   s);
    }
}

} // namespace kelvra
