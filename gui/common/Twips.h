// Window positions are given in twips (1440 per inch); this converts them at the screen's logical dpi.
#pragma once

#include <QRect>

namespace kelvra
{

// Logical dots per inch of the primary screen (96 when there is none).
double logicalDpi();
int twipsToPixels(double twips);
double pixelsToTwips(int pixels);
QRect twipRect(double left, double top, double width, double height);

} // namespace kelvra
