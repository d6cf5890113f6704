// The plots of the sound window against frequency (10 to 200 Hz on a log axis): the SPL with and
// without cabin gain, the cone excursion with Xmax marked, the port air speed with its limit marked, the
// maximum SPL, the maximum power with the rated power marked, the impedance with its phase, and the
// group delay. The user chooses which are shown; the charts are built once, and a new curve only
// replaces the points of the series shown (a plot shown later takes the last curve then).
#pragma once

#include <QLocale>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QChart;
class QChartView;
class QLineSeries;
class QLogValueAxis;
class QValueAxis;

namespace kelvra
{

// One frequency of the curve as the plots show it.
struct PlotPoint {
    double f = 0;              // Hz
    double spl = 0;            // dB at 1 m
    double splCabin = 0;       // dB at 1 m with the car's cabin gain
    double excursion = 0;      // mm, peak
    double portSpeed = 0;      // m/s, peak; 0 without a port
    double maxSpl = 0;         // dB
    double maxPower = 0;       // W
    double impedance = 0;      // ohm
    double impedancePhase = 0; // degrees
    double groupDelay = 0;     // ms
};

// The plots in the order they stand, and the name of each one's view and check box.
enum class PlotKind { Spl, Excursion, PortSpeed, MaxSpl, MaxPower, Impedance, GroupDelay };
inline constexpr int kPlotCount = 7;

class SoundCharts : public QWidget
{
    Q_OBJECT
public:
    // The numbers on the axes are written with this decimal separator.
    explicit SoundCharts(char decimalSeparator, QWidget* parent = nullptr);
    // Titles and legends by name: a plot's title by its view's name ("chartSpl"), its lines' names by
    // that name with "Line1" and "Line2".
    void setTexts(const std::function<QString(const std::string&)>& text);

    // Shows a curve; `xmax` (mm), `portLimit` (m/s) and `ratedPower` (W) are drawn as dashed lines, the
    // port plot stays empty for a sealed box (`vented` false).
    void showCurve(const std::vector<PlotPoint>& points, double xmax, double portLimit, bool vented,
                   double ratedPower = 0);
    // Empties every series and axis: no curve at all, never a stale one.
    void clearCurve();
    bool hasCurve() const;

    QChartView* splView() const { return m_views[0]; }
    QChartView* excursionView() const { return m_views[1]; }
    QChartView* portSpeedView() const { return m_views[2]; }
    QChartView* view(PlotKind kind) const { return m_views[static_cast<std::size_t>(kind)]; }
    QLineSeries* series(int chart, int index) const; // chart: a PlotKind's number

    // Shows or hides a plot; a plot shown takes the last curve.
    void setPlotShown(PlotKind kind, bool shown);
    bool plotShown(PlotKind kind) const;

private:
    void fill(std::size_t plot);

    struct Plot {
        QChart* chart = nullptr;
        QLogValueAxis* x = nullptr;
        QValueAxis* y = nullptr;
        QLineSeries* first = nullptr;
        QLineSeries* second = nullptr; // the cabin-gain curve, the dashed limit or the phase
        QValueAxis* y2 = nullptr;      // the phase's axis, on the right
    };
    Plot makePlot(int index, const QString& title, const QString& yTitle, const QString& firstName,
                  const QString& secondName, bool dashedSecond, const QString& y2Title = QString());

    QLocale m_locale;
    std::array<Plot, kPlotCount> m_plots{};
    std::array<QChartView*, kPlotCount> m_views{};
    std::array<bool, kPlotCount> m_filled{};
    std::vector<PlotPoint> m_points; // the last curve and its limits
    double m_xmax = 0, m_portLimit = 0, m_ratedPower = 0;
    bool m_vented = false;
};

} // namespace kelvra
