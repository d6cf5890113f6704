// picFigure, the fixed figure of the enclosure with the measure names used on the panel drawing.
// It is painted once by our own code and never changes; the print job pastes image().
#pragma once

#include <QImage>
#include <QWidget>

namespace kelvra
{

class FigurePicture : public QWidget
{
    Q_OBJECT

public:
    explicit FigurePicture(QWidget* parent = nullptr);

    // The stored picture, the size of the widget's design area.
    QImage image() const { return m_image; }

    // Paints the figure into an image of the given size in pixels (white background).
    static QImage paintFigure(QSize size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};

} // namespace kelvra
