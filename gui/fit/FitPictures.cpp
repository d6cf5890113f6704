#include "gui/fit/FitPictures.h"

#include <QChart>
#include <QChartView>
#include <QPainter>
#include <QPainterPath>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kelvra
{

BootPicture::BootPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picBoot"));
    setMinimumSize(sizeHint());
}

void BootPicture::setTexts(const std::function<QString(const char*)>& text)
{
    m_depth = text("picDepth");
    m_height = text("picHeight");
    m_angle = text("picAngle");
    m_width = text("picWidth");
    update();
}

QSize BootPicture::sizeHint() const
{
    return {fontMetrics().horizontalAdvance(QStringLiteral("M")) * 30, fontMetrics().height() * 9};
}

void BootPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm = fontMetrics();
    const double line = fm.height();
    const double w = width(), h = height();
    // The side view on the left two thirds: floor, the seat back at 70 degrees, the lid above.
    const QPointF foot(line * 1.5, h - line * 1.6);
    const double depth = w * 0.55, tall = h - line * 3.2;
    const QPointF back(foot.x() + tall / std::tan(70 * M_PI / 180), foot.y() - tall);
    p.setPen(QPen(palette().color(QPalette::WindowText), 2));
    p.drawLine(foot, QPointF(foot.x() + depth, foot.y()));
    p.drawLine(foot, back);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DashLine));
    p.drawLine(QPointF(back.x(), back.y()), QPointF(foot.x() + depth, back.y()));
    p.setPen(QPen(palette().color(QPalette::Highlight), 1));
    // Depth along the floor, height at the boot's opening, the angle at the seat's foot.
    const double below = foot.y() + line * 0.9;
    p.drawLine(QPointF(foot.x(), below - line * 0.3), QPointF(foot.x() + depth, below - line * 0.3));
    p.drawText(QRectF(foot.x(), below - line * 0.2, depth, line), Qt::AlignHCenter, m_depth);
    const double x = foot.x() + depth - line * 0.4;
    p.drawLine(QPointF(x, foot.y()), QPointF(x, back.y()));
    p.drawText(QRectF(x - depth / 2 - line * 0.3, (foot.y() + back.y()) / 2 - line / 2, depth / 2, line),
               Qt::AlignRight, m_height);
    p.drawArc(QRectF(foot.x() - line, foot.y() - line, 2 * line, 2 * line), 0, 70 * 16);
    p.drawText(QPointF(foot.x() + line * 1.1, foot.y() - line * 0.2), m_angle);
    // From above on the right: the width between the wheel arches.
    const double left = foot.x() + depth + line * 1.5, right = w - line * 0.5;
    const double top = line * 0.8, bottom = h - line * 1.6;
    p.setPen(QPen(palette().color(QPalette::WindowText), 2));
    p.drawRect(QRectF(left, top, right - left, bottom - top));
    const double arch = (bottom - top) * 0.3;
    p.drawRect(QRectF(left, top + arch, (right - left) * 0.18, arch));
    p.drawRect(QRectF(right - (right - left) * 0.18, top + arch, (right - left) * 0.18, arch));
    p.setPen(QPen(palette().color(QPalette::Highlight), 1));
    const double y = top + arch * 1.5;
    p.drawLine(QPointF(left + (right - left) * 0.18, y), QPointF(right - (right - left) * 0.18, y));
    p.drawText(QRectF(left, bottom + line * 0.1, right - left, line), Qt::AlignHCenter, m_width);
}

FitPlot::FitPlot(char decimalSeparator, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chtFront"));
    m_chart = new QChart;
    m_chart->setLocalizeNumbers(true);
    m_chart->setLocale(decimalSeparator == ',' ? QLocale(QLocale::Dutch) : QLocale::c());
    m_f3 = new QScatterSeries;
    m_f3->setMarkerSize(8);
    m_spl = new QScatterSeries;
    m_spl->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    m_spl->setMarkerSize(8);
    m_best = new QScatterSeries;
    m_best->setMarkerSize(14);
    for (QScatterSeries* s : {m_f3, m_spl, m_best})
        m_chart->addSeries(s);
    m_x = new QValueAxis;
    m_yF3 = new QValueAxis;
    m_ySpl = new QValueAxis;
    m_chart->addAxis(m_x, Qt::AlignBottom);
    m_chart->addAxis(m_yF3, Qt::AlignLeft);
    m_chart->addAxis(m_ySpl, Qt::AlignRight);
    for (QScatterSeries* s : {m_f3, m_best}) {
        s->attachAxis(m_x);
        s->attachAxis(m_yF3);
    }
    m_spl->attachAxis(m_x);
    m_spl->attachAxis(m_ySpl);
    auto* view = new QChartView(m_chart, this);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(fontMetrics().height() * 16);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
}

void FitPlot::show(const std::vector<FitDesign>& front, const std::optional<FitDesign>& best)
{
    m_f3->clear();
    m_spl->clear();
    m_best->clear();
    if (front.empty())
        return;
    double x0 = INFINITY, x1 = 0, f0 = INFINITY, f1 = 0, s0 = INFINITY, s1 = 0;
    for (const FitDesign& d : front) {
        m_f3->append(d.outerVolume, d.f3);
        m_spl->append(d.outerVolume, d.maxSplAt);
        x0 = std::min(x0, d.outerVolume);
        x1 = std::max(x1, d.outerVolume);
        f0 = std::min(f0, d.f3);
        f1 = std::max(f1, d.f3);
        s0 = std::min(s0, d.maxSplAt);
        s1 = std::max(s1, d.maxSplAt);
    }
    if (best)
        m_best->append(best->outerVolume, best->f3);
    const auto range = [](QValueAxis* axis, double lo, double hi) {
        const double pad = std::max(1.0, (hi - lo) * 0.08);
        axis->setRange(std::max(0.0, std::floor(lo - pad)), std::ceil(hi + pad));
        axis->applyNiceNumbers();
    };
    range(m_x, x0, x1);
    range(m_yF3, f0, f1);
    range(m_ySpl, s0, s1);
}

void FitPlot::setTexts(const std::function<QString(const char*)>& text)
{
    m_chart->setTitle(text("chartFront"));
    m_f3->setName(text("chartFrontLine1"));
    m_spl->setName(text("chartFrontLine2"));
    m_best->setName(text("chartFrontBest"));
    m_x->setTitleText(text("axisVolume"));
    m_yF3->setTitleText(text("axisF3"));
    m_ySpl->setTitleText(text("axisSpl"));
}

int FitPlot::points() const
{
    return static_cast<int>(m_f3->count());
}

} // namespace kelvra
