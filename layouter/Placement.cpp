#include "layouter/Placement.h"

namespace kelvra
{

std::string placementText(const Panel& panel, char decimalSeparator)
{
    std::string out = formatSingle(panel.top, decimalSeparator);
    out += 'x';
    out += formatSingle(panel.left, decimalSeparator);
    out += 'x';
    out += std::to_string(panel.turned);
    return out;
}

std::optional<Placement> parsePlacement(std::string_view text, char decimalSeparator)
{
    // At most three parts: whatever follows the second "x" is the third part.
    const std::size_t first = text.find('x');
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::size_t second = text.find('x', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    const Result<std::int16_t> top = toInt16(text.substr(0, first), decimalSeparator);
    const Result<std::int16_t> left = toInt16(text.substr(first + 1, second - first - 1), decimalSeparator);
    const Result<std::int16_t> turned = toInt16(text.substr(second + 1), decimalSeparator);
    if (!top || !left || !turned || (*turned != 0 && *turned != 1))
        return std::nullopt;
    return Placement{*top, *left, *turned};
}

bool RestorePanel(std::string_view text, Panel& panel, std::int16_t& turned, char decimalSeparator)
{
    const std::optional<Placement> p = parsePlacement(text, decimalSeparator);
    if (!p)
        return false;
    panel.top = p->top;
    panel.left = p->left;
    turned = p->turned;
    return true;
}

OpenedLayout OpenLayout(LayoutView& view, const PanelModel& model, std::string_view thickSetting,
                        std::string_view sizeSetting, const LayoutStrings& layoutStrings,
                        char decimalSeparator)
{
    OpenedLayout out;
    out.sawThick = sawThickSetting(thickSetting, decimalSeparator);
    ChooseSawThick(view, out.sawThick, model, decimalSeparator);
    out.sheetIndex = sheetSizeSetting(sizeSetting, decimalSeparator);
    ChooseSheetSize(view, out.sheetIndex, model, decimalSeparator);

    int filled = 0;
    for (int i = 0; i < kPort; ++i)
        if (!layoutStrings[static_cast<std::size_t>(i)].empty())
            ++filled;
    if (filled == kPort) {
        for (int i = 0; i < kPanelCount; ++i) {
            Panel& p = view.panels[static_cast<std::size_t>(i)];
            RestorePanel(layoutStrings[static_cast<std::size_t>(i)], p, p.turned, decimalSeparator);
        }
        RefreshPanels(view.panels, model, decimalSeparator);
        // The boards beyond the seven where their texts say; without one, in the column Auto fit uses.
        RefreshExtraPanels(view.extras, model, decimalSeparator);
        PlaceExtraPanels(view.extras, view.panels, view.sheet.height, kerfPixels(view.sawThick));
        for (ExtraPanel& e : view.extras)
            if (const auto text = layoutStrings.extra.find(e.key); text != layoutStrings.extra.end())
                RestorePanel(text->second, e.panel, e.panel.turned, decimalSeparator);
        RefreshExtraPanels(view.extras, model, decimalSeparator);
        out.restored = true;
    } else if (filled == 0) {
        AutoFit(view, model, decimalSeparator);
        out.autoFitted = true;
    }
    return out;
}

void RecordExtraLayout(const ExtraPanels& extras, LayoutStrings& layoutStrings, char decimalSeparator)
{
    layoutStrings.extra.clear();
    for (const ExtraPanel& e : extras)
        layoutStrings.extra[e.key] = placementText(e.panel, decimalSeparator);
}

void RecordLayout(const PanelSet& panels, LayoutStrings& layoutStrings, char decimalSeparator)
{
    for (int i = 0; i < kPanelCount; ++i)
        layoutStrings[static_cast<std::size_t>(i)] =
            placementText(panels[static_cast<std::size_t>(i)], decimalSeparator);
}

} // namespace kelvra
