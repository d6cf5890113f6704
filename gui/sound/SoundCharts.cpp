#include "gui/sound/SoundCharts.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
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
           std::isfinite(p.excursion) && std::isfinite(p.portSpeed) && std::isfinite(p.maxSpl) &&
           std::isfinite(p.maxPower) && std::isfinite(p.impedance) && std::isfinite(p.impedancePhase) &&
           std::isfinite(p.groupDelay);
}

// The views' names, in the order of PlotKind.
const char* const kViewNames[kPlotCount] = {"chartSpl",       "chartExcursion", "chartPortSpeed",
                                            "chartMaxSpl",    "chartMaxPower",  "chartImpedance",
                                            "chartGroupDelay"};

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
    m_plots[3] =
        makePlot(3, tr("Maximum SPL (Xmax or rated power)"), tr("dB"), tr("Maximum SPL"), QString(), false);
    m_plots[4] = makePlot(4, tr("Maximum power (Xmax or rated power)"), tr("W"), tr("Maximum power"),
                          tr("Rated power"), true);
    m_plots[5] = makePlot(5, tr("Impedance"), tr("ohm"), tr("Impedance"), tr("Phase"), false, tr("degrees"));
    m_plots[6] = makePlot(6, tr("Group delay"), tr("ms"), tr("Group delay"), QString(), false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QChartView* v : m_views)
        layout->addWidget(v);
    // The three of old show at first; the others when the user asks for them.
    for (std::size_t i = 3; i < m_views.size(); ++i)
        m_views[i]->hide();
    clearCurve();
}

void SoundCharts::setTexts(const std::function<QString(const std::string&)>& text)
{
    for (std::size_t i = 0; i < m_plots.size(); ++i) {
        const std::string name = kViewNames[i];
        m_plots[i].chart->setTitle(text(name));
        m_plots[i].first->setName(text(name + "Line1"));
        if (!m_plots[i].second->name().isEmpty())
            m_plots[i].second->setName(text(name + "Line2"));
    }
}

SoundCharts::Plot SoundCharts::makePlot(int index, const QString& title, const QString& yTitle,
                                        const QString& firstName, const QString& secondName,
                                        bool dashedSecond, const QString& y2Title)
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
    if (!y2Title.isEmpty()) {
        p.y2 = new QValueAxis;
        p.y2->setTitleText(y2Title);
        p.chart->addAxis(p.y2, Qt::AlignRight);
    }
    for (QLineSeries* s : {p.first, p.second}) {
        p.chart->addSeries(s);
        s->attachAxis(p.x);
        s->attachAxis(s == p.second && p.y2 ? p.y2 : p.y);
    }
    if (secondName.isEmpty())
        p.chart->legend()->markers(p.second).constFirst()->setVisible(false);
    QPen pen(dashedSecond ? QColor(200, 0, 0) : QColor(0, 140, 60));
    pen.setWidthF(2);
    if (dashedSecond)
        pen.setStyle(Qt::DashLine);
    p.second->setPen(pen);
    auto* view = new QChartView(p.chart, this);
    view->setObjectName(QString::fromLatin1(kViewNames[index]));
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
    return !m_points.empty();
}

void SoundCharts::setPlotShown(PlotKind kind, bool shown)
{
    const auto i = static_cast<std::size_t>(kind);
    m_views[i]->setVisible(shown);
    if (shown && !m_filled[i])
        fill(i);
}

bool SoundCharts::plotShown(PlotKind kind) const
{
    return !m_views[static_cast<std::size_t>(kind)]->isHidden();
}

void SoundCharts::clearCurve()
{
    m_points.clear();
    for (std::size_t i = 0; i < m_plots.size(); ++i) {
        Plot& p = m_plots[i];
        p.first->clear();
        p.second->clear();
        setNiceRange(p.y, 0, 10);
        if (p.y2)
            setNiceRange(p.y2, -90, 90);
        m_filled[i] = true;
    }
}

void SoundCharts::showCurve(const std::vector<PlotPoint>& points, double xmax, double portLimit, bool vented,
                            double ratedPower)
{
    if (points.empty() || !std::all_of(points.begin(), points.end(), finite) || !std::isfinite(xmax)) {
        clearCurve();
        return;
    }
    m_points = points;
    m_xmax = xmax;
    m_portLimit = portLimit;
    m_vented = vented;
    m_ratedPower = ratedPower;
    // A hidden plot waits: a keystroke pays only for what the user sees.
    for (std::size_t i = 0; i < m_plots.size(); ++i) {
        m_filled[i] = false;
        if (!m_views[i]->isHidden())
            fill(i);
    }
}

void SoundCharts::fill(std::size_t plot)
{
    m_filled[plot] = true;
    Plot& p = m_plots[plot];
    if (m_points.empty())
        return;
    QList<QPointF> first, second;
    first.reserve(static_cast<qsizetype>(m_points.size()));
    second.reserve(static_cast<qsizetype>(m_points.size()));
    const auto limitLine = [&](double value) {
        second = {{kLowest, value}, {kHighest, value}};
    };
    double low = INFINITY, high = -INFINITY;
    const auto add = [&](QList<QPointF>& into, double f, double v) {
        into.append({f, v});
        low = std::min(low, v);
        high = std::max(high, v);
    };
    switch (static_cast<PlotKind>(plot)) {
    case PlotKind::Spl:
        for (const PlotPoint& pt : m_points) {
            add(first, pt.f, pt.spl);
            add(second, pt.f, pt.splCabin);
        }
        // Down to 40 dB below the loudest point: the deep end of a sealed curve would squash the rest.
        setNiceRange(p.y, std::max(low, high - 40), high + 1);
        break;
    case PlotKind::Excursion:
        for (const PlotPoint& pt : m_points)
            add(first, pt.f, pt.excursion);
        limitLine(m_xmax);
        // A curve far past its limit leaves the plot at the top rather than flatten the part that matters.
        setNiceRange(p.y, 0, std::min(std::max(high, m_xmax), 3 * m_xmax) * 1.05);
        break;
    case PlotKind::PortSpeed:
        high = m_portLimit;
        if (m_vented)
            for (const PlotPoint& pt : m_points)
                add(first, pt.f, pt.portSpeed);
        limitLine(m_portLimit);
        setNiceRange(p.y, 0, std::min(high, 3 * m_portLimit) * 1.05);
        break;
    case PlotKind::MaxSpl:
        for (const PlotPoint& pt : m_points)
            add(first, pt.f, pt.maxSpl);
        setNiceRange(p.y, std::max(low, high - 40), high + 1);
        break;
    case PlotKind::MaxPower:
        for (const PlotPoint& pt : m_points)
            add(first, pt.f, pt.maxPower);
        limitLine(m_ratedPower);
        setNiceRange(p.y, 0, std::max(high, m_ratedPower) * 1.05);
        break;
    case PlotKind::Impedance:
        for (const PlotPoint& pt : m_points) {
            add(first, pt.f, pt.impedance);
            second.append({pt.f, pt.impedancePhase});
        }
        setNiceRange(p.y, 0, high * 1.05);
        setNiceRange(p.y2, -90, 90);
        break;
    case PlotKind::GroupDelay:
        for (const PlotPoint& pt : m_points)
            add(first, pt.f, pt.groupDelay);
        setNiceRange(p.y, std::min(0.0, low), high * 1.05);
        break;
    }
    p.first->replace(first);
    p.second->replace(second);
}

} // namespace kelvra
