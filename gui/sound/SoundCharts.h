// The three plots of the sound window against frequency (10 to 200 Hz on a log axis): the SPL with and
// without cabin gain, the cone excursion with Xmax marked and the port air speed with its limit marked.
// The charts are built once; a new curve only replaces the points of their series.
#pragma once

#include <QLocale>
#include <QWidget>

#include <optional>
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
    double f = 0;         // Hz
    double spl = 0;       // dB at 1 m
    double splCabin = 0;  // dB at 1 m with the car's cabin gain
    double excursion = 0; // mm, peak
    double portSpeed = 0; // m/s, peak; 0 without a port
};

class SoundCharts : public QWidget
{
    Q_OBJECT
public:
    // The numbers on the axes are written with this decimal separator.
    explicit SoundCharts(char decimalSeparator, QWidget* parent = nullptr);

    // Shows a curve; `xmax` (mm) and `portLimit` (m/s) are drawn as dashed lines, the port plot stays
    // empty for a sealed box (`vented` false).
    void showCurve(const std::vector<PlotPoint>& points, double xmax, double portLimit, bool vented);
    // Empties every series and axis: no curve at all, never a stale one.
    void clearCurve();
    bool hasCurve() const;

    QChartView* splView() const { return m_views[0]; }
    QChartView* excursionView() const { return m_views[1]; }
    QChartView* portSpeedView() const { return m_views[2]; }
    QLineSeries* series(int chart, int index) const; // chart 0 SPL, 1 excursion, 2 port speed

private:
    struct Plot {
        QChart* chart = nullptr;
        QLogValueAxis* x = nullptr;
        QValueAxis* y = nullptr;
        QLineSeries* first = nullptr;
        QLineSeries* second = nullptr; // the cabin-gain curve or the dashed limit
    };
    Plot makePlot(int index, const QString& title, const QString& yTitle, const QString& firstName,
                  const QString& secondName, bool dashedSecond);

    QLocale m_locale;
    std::array<Plot, 3> m_plots{};
    std::array<QChartView*, 3> m_views{};
};

} // namespace kelvra
