// Any text as a panel's placement text: RestorePanel either takes all three parts or leaves the panel
// as it was, and what it takes is written back as a text that restores to the same place.
#include "layouter/Placement.h"

#include <cstdlib>
#include <string_view>

namespace
{

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const char separator : {',', '.'}) {
        kelvra::Panel panel;
        panel.left = 12.5f;
        panel.top = 7.25f;
        panel.turned = 1;
        const kelvra::Panel before = panel;
        std::int16_t turned = panel.turned;
        const std::optional<kelvra::Placement> parsed = kelvra::parsePlacement(text, separator);
        const bool restored = kelvra::RestorePanel(text, panel, turned, separator);
        check(restored == parsed.has_value());
        if (!restored) {
            check(panel == before && turned == before.turned);
            continue;
        }
        check(panel.top == parsed->top && panel.left == parsed->left && turned == parsed->turned);
        check(turned == 0 || turned == 1);
        // The close writes the place back; opening again restores it exactly.
        panel.turned = turned;
        const std::string again = kelvra::placementText(panel, separator);
        const std::optional<kelvra::Placement> reread = kelvra::parsePlacement(again, separator);
        check(reread && *reread == *parsed);
    }
    return 0;
}
