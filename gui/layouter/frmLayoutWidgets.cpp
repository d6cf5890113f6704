#include "gui/layouter/frmLayoutWidgets.h"

#include "gui/common/MessageService.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace kelvra
{

namespace
{

QColor qColour(Rgb c)
{
    return QColor(c.red, c.green, c.blue);
}

int pixel(float v)
{
    return static_cast<int>(std::lround(v));
}

QString captionText(const std::string& caption)
{
    QString text = toQString(caption);
    text.replace("\r\n", "\n");
    return text;
}

} // namespace

SheetView::SheetView(QWidget* parent) : QWidget(parent)
{
    setObjectName("picPanel");
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, qColour(kSheetColour));
    setPalette(p);
    setMouseTracking(true);
}

void SheetView::setDrawing(const std::vector<Stroke>* strokes, const std::vector<SheetText>* texts)
{
    m_strokes = strokes;
    m_texts = texts;
    update();
}

void SheetView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_strokes) {
        for (const Stroke& s : *m_strokes) {
            QPen pen(qColour(s.colour), s.width, s.dashed ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap);
            painter.setPen(pen);
            painter.drawLine(QPointF(s.line.x1, s.line.y1), QPointF(s.line.x2, s.line.y2));
        }
    }
    if (m_texts) {
        painter.setPen(Qt::black);
        for (const SheetText& t : *m_texts) {
            const QRectF box(t.x - 50, t.y - 20, 100, 40);
            painter.drawText(box, Qt::AlignCenter, toQString(t.text));
        }
    }
}

CutOverlay::CutOverlay(const std::vector<Stroke>* strokes, const std::vector<SheetText>* texts,
                       QWidget* sheet)
    : QWidget(sheet), m_strokes(strokes), m_texts(texts)
{
    setObjectName("cutOverlay");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void CutOverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(qColour(kPlanCutColour), 1));
    for (const Stroke& s : *m_strokes)
        if (s.colour == kPlanCutColour)
            painter.drawLine(QPointF(s.line.x1, s.line.y1), QPointF(s.line.x2, s.line.y2));
    QFont small = font();
    small.setPointSizeF(7);
    painter.setFont(small);
    const QFontMetrics metrics(small);
    for (const SheetText& t : *m_texts) {
        const QString number = toQString(t.text);
        const double w = std::max(metrics.horizontalAdvance(number) + 6, metrics.height());
        const QRectF tag(t.x - w / 2, t.y - metrics.height() / 2.0, w, metrics.height());
        painter.setBrush(Qt::white);
        painter.setPen(QPen(qColour(kPlanCutColour), 1));
        painter.drawRoundedRect(tag, 3, 3);
        painter.setPen(Qt::black);
        painter.drawText(tag, Qt::AlignCenter, number);
    }
}

void SheetView::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved(event->position().toPoint());
}

void SheetView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void SheetView::mouseReleaseEvent(QMouseEvent* event)
{
    emit buttonReleased(event->position().toPoint(), event->button());
}

PanelView::PanelView(int index, QWidget* parent, std::string_view key) : QWidget(parent), m_index(index)
{
    const bool seven = index < kPanelCount;
    // The boards beyond the seven are named by their keys: "shpartition1", "shportstrip".
    const std::string name =
        seven ? std::string(kPanelShapeNames[static_cast<std::size_t>(index)]) : "sh" + std::string(key);
    setObjectName(QString::fromStdString(name));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window,
               qColour(seven ? kPanelColours[static_cast<std::size_t>(index)] : kExtraPanelColour));
    setPalette(p);
    m_label = new QLabel(this);
    m_label->setObjectName(QString("lblName(%1)").arg(index));
    m_label->setAlignment(Qt::AlignCenter);
    setGeometry(0, 0, pixel(kUnsizedPanelPx), pixel(kUnsizedPanelPx));
}

void PanelView::setBorder(bool on)
{
    if (m_border == on)
        return;
    m_border = on;
    update();
}

void PanelView::apply(const Panel& panel, Measure measure, char decimalSeparator)
{
    setGeometry(pixel(panel.left), pixel(panel.top), std::max(0, pixel(panel.width)),
                std::max(0, pixel(panel.height)));
    const QString text = captionText(measureText(panel.caption, measure, decimalSeparator));
    if (m_label->text() != text || m_fittedFor != size()) {
        m_label->setText(text);
        fitCaption();
    }
    const LabelOffset o =
        centredLabel(panel, static_cast<float>(m_label->width()), static_cast<float>(m_label->height()));
    m_label->move(pixel(o.x), pixel(o.y));
    setVisible(panel.visible);
}

void PanelView::fitCaption()
{
    m_fittedFor = size();
    setToolTip(m_label->text());
    constexpr double kSmallest = 5.0;
    QFont f = font();
    double points = QFontInfo(f).pointSizeF();
    for (;;) {
        f.setPointSizeF(points);
        m_label->setFont(f);
        m_label->adjustSize();
        const bool fits = m_label->width() <= width() && m_label->height() <= height();
        if (fits || points <= kSmallest) {
            m_label->setVisible(fits);
            return;
        }
        points = std::max(kSmallest, points - 0.5);
    }
}

void PanelView::paintEvent(QPaintEvent*)
{
    if (!m_border)
        return;
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace kelvra
