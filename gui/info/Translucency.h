// Translucent windows: the About window and the installed-programs window are drawn see-through.
#pragma once

class QWidget;

namespace kelvra
{

// Mode 1: the whole window with the given alpha (0 transparent, 255 opaque). Any other mode: the
// pixels of the colour key (an RGB value as 0x00BBGGRR) become transparent and alpha is not used.
void SetTranslucency(QWidget* window, int alpha, unsigned colourKey, int mode);

// Whether SetTranslucency has made the window a layered (see-through) window.
bool isLayered(const QWidget* window);

} // namespace kelvra
