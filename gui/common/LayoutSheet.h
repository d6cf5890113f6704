// The layouter's sheet as the print job needs it. The main window hands it over, so printing never
// reaches into the layouter window itself.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace kelvra
{

// The layouter window as the job needs it: its sheet view and its seven panels in board order.
struct LayoutSheet {
    QWidget* picPanel = nullptr;
    std::array<QWidget*, 7> panels{};
    std::vector<QWidget*> extras; // the partition walls and the port's strip, after the seven
};

struct LayouterAccess {
    // Loads the layouter when it is not open (which builds and shows its panels) and returns its
    // sheet; nothing when there is no layouter.
    std::function<std::optional<LayoutSheet>()> open;
    // Closes the layouter through its normal closing, which keeps the placements.
    std::function<void()> close;
};

} // namespace kelvra
