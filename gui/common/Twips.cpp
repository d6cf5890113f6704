#include "gui/common/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace kelvra
{

double logicalDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}

int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips * logicalDpi() / 1440.0));
}
double pixelsToTwips(int pixels)
{
    return pixels * 1440.0 / logicalDpi();
}

QRect twipRect(double left, double top, double width, double height)
{
    const int x = twipsToPixels(left);
    const int y = twipsToPixels(top);
    return QRect(x, y, twipsToPixels(left + width) - x, twipsToPixels(top + height) - y);
}

} // namespace kelvra
