// The fit window's two drawings: what each measure of the boot is, and the front of designs as a plot
// of F3 and the maximum SPL over the outer volume.
#pragma once

#include "fit/Fit.h"

#include <QWidget>

#include <functional>

class QChart;
class QScatterSeries;
class QValueAxis;

namespace kelvra
{

// The boot from the side (floor depth from the rear seat's foot, height, the seat back's angle) and from
// above (the width between the wheel arches).
class BootPicture : public QWidget
{
public:
    explicit BootPicture(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    // The measures' names, from the window's texts ("picDepth" ...).
    void setTexts(const std::function<QString(const char*)>& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_depth, m_height, m_angle, m_width;
};

class FitPlot : public QWidget
{
public:
    FitPlot(char decimalSeparator, QWidget* parent = nullptr);
    // The front's designs by outer volume; the best is marked apart. An empty front clears the plot.
    void show(const std::vector<FitDesign>& front, const std::optional<FitDesign>& best);
    int points() const;
    // The title, the legend and the axes, from the window's texts ("chartFront" ...).
    void setTexts(const std::function<QString(const char*)>& text);

private:
    QChart* m_chart = nullptr;
    QScatterSeries* m_f3 = nullptr;
    QScatterSeries* m_spl = nullptr;
    QScatterSeries* m_best = nullptr;
    QValueAxis* m_x = nullptr;
    QValueAxis* m_yF3 = nullptr;
    QValueAxis* m_ySpl = nullptr;
};

} // namespace kelvra
