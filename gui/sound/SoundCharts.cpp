#include "gui/sound/SoundCharts.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kelvra
{

namespace
{

constexpr double kLowest = 10;   // Hz
constexpr double kHighest = 200; // Hz

// A round step for an axis of this span, so the grid lines fall on numbers a builder reads at once.
double niceStep(double span)
{
    const double raw = std::max(span, 1e-3) / 5;
    const double magnitude = std::pow(10, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (raw <= m * magnitude)
            return m * magnitude;
    return 10 * magnitude;
}

void setNiceRange(QValueAxis* axis, double low, double high)
{
    const double step = niceStep(high - low);
    const double from = std::floor(low / step) * step;
    const double to = std::max(from + step, std::ceil(high / step) * step);
    // A keystroke seldom moves the rounded range; leaving the axis alone then spares the chart its layout.
    const int ticks = static_cast<int>(std::lround((to - from) / step)) + 1;
    if (axis->min() == from && axis->max() == to && axis->tickCount() == ticks)
        return;
    axis->setRange(from, to);
    axis->setTickCount(ticks);
    axis->setLabelFormat(step < 1 ? QStringLiteral("%.1f") : QStringLiteral("%.0f"));
}

bool finite(const PlotPoint& p)
{
    return std::isfinite(p.f) && std::isfinite(p.spl) && std::isfinite(p.splCabin) &&
           std::isfinite(p.excursion) && std::isfinite(p.portSpeed);
}

} // namespace

SoundCharts::SoundCharts(char decimalSeparator, QWidget* parent)
    : QWidget(parent),
      m_locale(decimalSeparator == ',' ? QLocale(QLocale::Dutch, QLocale::Netherlands) : QLocale::c())
{
    m_locale.setNumberOptions(QLocale::OmitGroupSeparator);
    m_plots[0] =
        makePlot(0, tr("Sound pressure at 1 m"), tr("dB"), tr("SPL"), tr("SPL with cabin gain"), false);
    m_plots[1] = makePlot(1, tr("Cone excursion"), tr("mm"), tr("Excursion"), tr("Xmax"), true);
    m_plots[2] = makePlot(2, tr("Port air speed"), tr("m/s"), tr("Air speed"), tr("Limit"), true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QChartView* v : m_views)
        layout->addWidget(v);
    clearCurve();
}

SoundCharts::Plot SoundCharts::makePlot(int index, const QString& title, const QString& yTitle,
                                        const QString& firstName, const QString& secondName,
                                        bool dashedSecond)
{
    Plot p;
    p.chart = new QChart;
    p.chart->setTitle(title);
    p.chart->setLocalizeNumbers(true);
    p.chart->setLocale(m_locale);
    p.chart->legend()->setAlignment(Qt::AlignTop);
    p.chart->setMargins(QMargins(4, 2, 4, 2));
    p.x = new QLogValueAxis;
    p.x->setBase(10);
    p.x->setRange(kLowest, kHighest);
    p.x->setMinorTickCount(8);
    // A log axis names only the decades (10, 100); a builder reads 20, 50 and 200 too. Those labels come
    // from a category axis over the same range in log10, which places them exactly under the log grid.
    p.x->setLabelsVisible(false);
    auto* labels = new QCategoryAxis;
    labels->setRange(std::log10(kLowest), std::log10(kHighest));
    labels->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (int f : {10, 20, 30, 50, 100, 200})
        labels->append(m_locale.toString(f), std::log10(f));
    labels->setGridLineVisible(false);
    labels->setLineVisible(false);
    labels->setTitleText(tr("Hz"));
    p.y = new QValueAxis;
    p.y->setTitleText(yTitle);
    p.chart->addAxis(p.x, Qt::AlignBottom);
    p.chart->addAxis(labels, Qt::AlignBottom);
    p.chart->addAxis(p.y, Qt::AlignLeft);
    p.first = new QLineSeries;
    p.first->setName(firstName);
    p.second = new QLineSeries;
    p.second->setName(secondName);
    for (QLineSeries* s : {p.first, p.second}) {
        p.chart->addSeries(s);
        s->attachAxis(p.x);
        s->attachAxis(p.y);
    }
    QPen pen(dashedSecond ? QColor(200, 0, 0) : QColor(0, 140, 60));
    pen.setWidthF(2);
    if (dashedSecond)
        pen.setStyle(Qt::DashLine);
    p.second->setPen(pen);
    auto* view = new QChartView(p.chart, this);
    view->setObjectName(QStringList{"chartSpl", "chartExcursion", "chartPortSpeed"}.at(index));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(360, 170);
    m_views[static_cast<std::size_t>(index)] = view;
    return p;
}

QLineSeries* SoundCharts::series(int chart, int index) const
{
    const Plot& p = m_plots.at(static_cast<std::size_t>(chart));
    return index == 0 ? p.first : p.second;
}

bool SoundCharts::hasCurve() const
{
    return m_plots[0].first->count() > 0;
}

void SoundCharts::clearCurve()
{
    for (Plot& p : m_plots) {
        p.first->clear();
        p.second->clear();
        setNiceRange(p.y, 0, 10);
    }
}

void SoundCharts::showCurve(const std::vector<PlotPoint>& points, double xmax, double portLimit, bool vented)
{
    if (points.empty() || !std::all_of(points.begin(), points.end(), finite) || !std::isfinite(xmax)) {
        clearCurve();
        return;
    }
    QList<QPointF> spl, cabin, excursion, speed;
    for (QList<QPointF>* l : {&spl, &cabin, &excursion, &speed})
        l->reserve(static_cast<qsizetype>(points.size()));
    double lowSpl = points.front().spl, highSpl = lowSpl, highExcursion = xmax, highSpeed = portLimit;
    for (const PlotPoint& p : points) {
        spl.append({p.f, p.spl});
        cabin.append({p.f, p.splCabin});
        excursion.append({p.f, p.excursion});
        lowSpl = std::min({lowSpl, p.spl, p.splCabin});
        highSpl = std::max({highSpl, p.spl, p.splCabin});
        highExcursion = std::max(highExcursion, p.excursion);
        if (vented) {
            speed.append({p.f, p.portSpeed});
            highSpeed = std::max(highSpeed, p.portSpeed);
        }
    }
    m_plots[0].first->replace(spl);
    m_plots[0].second->replace(cabin);
    // Down to 40 dB below the loudest point: the deep end of a sealed curve would squash the rest.
    setNiceRange(m_plots[0].y, std::max(lowSpl, highSpl - 40), highSpl + 1);

    m_plots[1].first->replace(excursion);
    m_plots[1].second->replace(QList<QPointF>{{kLowest, xmax}, {kHighest, xmax}});
    // A curve far past its limit leaves the plot at the top rather than flatten the part that matters.
    setNiceRange(m_plots[1].y, 0, std::min(highExcursion, 3 * xmax) * 1.05);

    m_plots[2].first->replace(speed);
    m_plots[2].second->replace(QList<QPointF>{{kLowest, portLimit}, {kHighest, portLimit}});
    setNiceRange(m_plots[2].y, 0, std::min(highSpeed, 3 * portLimit) * 1.05);
}

} // namespace kelvra
