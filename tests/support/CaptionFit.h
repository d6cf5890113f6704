// Finds captions that a window draws cut short: a label, check box, radio button, push button, group
// box title or menu bar entry whose text, in the widget's own font with the style's margins and
// indicator, is wider than the place the window gives it.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace kelvra
{

// One line per clipped caption: "window / widget: 'text' needs N px, has M px". Hidden widgets are
// left out; a shrink-to-fit label counts as clipped only when even its smallest font does not hold
// the text.
std::vector<std::string> clippedCaptions(QWidget* window);

} // namespace kelvra
