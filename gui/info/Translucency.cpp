#include "gui/info/Translucency.h"

#include <QBitmap>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <algorithm>

namespace kelvra
{

namespace
{

constexpr const char* kLayered = "kelvraLayered";

} // namespace

void SetTranslucency(QWidget* window, int alpha, unsigned colourKey, int mode)
{
    if (!window)
        return;
    // The layered style is kept on the window itself, beside whatever else it has.
    window->setProperty(kLayered, true);
    if (mode == 1) {
        window->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
        return;
    }
    // The colour key is a blue-green-red value; the window's own pixels of that colour are cut out.
    const QColor key(static_cast<int>(colourKey & 0xFF), static_cast<int>((colourKey >> 8) & 0xFF),
                     static_cast<int>((colourKey >> 16) & 0xFF));
    const QPixmap look = window->grab();
    if (look.isNull())
        return;
    const QBitmap mask = QBitmap::fromImage(
        look.toImage().createMaskFromColor(key.rgb(), Qt::MaskInColor).scaled(window->size()));
    window->setMask(mask);
}

bool isLayered(const QWidget* window)
{
    return window && window->property(kLayered).toBool();
}

} // namespace kelvra
