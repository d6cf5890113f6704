// Finds captions that a window draws cut short: a label, check box, radio or push button, group box title
// or menu bar entry whose text, in its own font with the style's margins, is wider than its place.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace kelvra
{

// One line per clipped caption: "window / widget: 'text' needs N px, has M px". Hidden widgets are left
// out; a shrink-to-fit label counts only when even its smallest font does not hold the text.
std::vector<std::string> clippedCaptions(QWidget* window);

} // namespace kelvra
