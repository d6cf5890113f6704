// picFigure, the figure of the enclosure with the measure names used on the panel drawing, each named
// with the caption of the input box it comes from; the print job pastes image().
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

namespace kelvra
{

// The captions of the input boxes the figure's measures come from, as the main window shows them.
struct FigureCaptions {
    QString height = QStringLiteral("Hoogte");
    QString length = QStringLiteral("Lengte onderzijde");
    QString width = QStringLiteral("Breedte");
    QString angleRear = QStringLiteral("Hoek achterbank");
    QString angleFront = QStringLiteral("Hoek voorzijde");
    QString board = QStringLiteral("Plankdikte");
    QString port = QStringLiteral("Poort Volume");
    QString portLength = QStringLiteral("Lengte");
    QString portDiameter = QStringLiteral("Diameter");
    QString portWidth = QStringLiteral("Breedte");
    QString portHeight = QStringLiteral("Hoogte");
    bool operator==(const FigureCaptions&) const = default;
};

class FigurePicture : public QWidget
{
    Q_OBJECT

public:
    explicit FigurePicture(QWidget* parent = nullptr);

    // The stored picture, the size of the widget's design area.
    QImage image() const { return m_image; }

    // Paints the figure into an image of the given size in pixels (white background).
    static QImage paintFigure(QSize size, const FigureCaptions& captions = {});
    // Names the measures anew after a language change.
    void setCaptions(const FigureCaptions& captions);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    FigureCaptions m_captions;
};

} // namespace kelvra
