#include "print/PrintPlan.h"

#include <algorithm>
#include <cmath>

namespace kelvra
{

const std::array<const char*, 7> kPanelControlNames = {"shFront", "shRear",  "shTop", "shBottom",
                                                       "shLeft",  "shRight", "shPort"};

std::string printHeader(const std::string& titleString, const std::string& words)
{
    return titleString + " " + words;
}

double roundTwips(double value)
{
    // The default floating-point rounding mode rounds halves to even.
    const double r = std::nearbyint(value);
    return std::clamp(r, -32768.0, 32767.0);
}

namespace
{

PrintItem header(const std::string& text)
{
    return {PrintItem::Kind::Header, text, 0, 0, 0, 0};
}
PrintItem image(const std::string& source, double x, double y)
{
    return {PrintItem::Kind::Image, source, x, y, 0, 0};
}
PrintItem outline(double x1, double y1, double x2, double y2)
{
    return {PrintItem::Kind::Outline, {}, x1, y1, x2, y2};
}

PrintItem text(const std::string& source, double x1, double y1, double x2, double y2)
{
    return {PrintItem::Kind::Text, source, x1, y1, x2, y2};
}

} // namespace

std::vector<PrintItem> boardTableItems(const std::vector<PrintBoardRow>& rows, TwipSize area,
                                       const BoardTableHeading& heading)
{
    constexpr double kMargin = 120;
    constexpr double kRow = 330;  // a 10-point line with some air
    constexpr double kInset = 90; // from a column's left edge to its text
    // Where each column starts, as a share of the table's width: the boards window's columns.
    constexpr std::array<double, 5> kColumns = {0.0, 0.42, 0.55, 0.82, 1.0};

    const double left = kMargin;
    const double width = std::max(0.0, area.width - 2 * kMargin);
    const double lines = static_cast<double>(rows.size() + 1);
    const double row = std::min(kRow, std::max(0.0, area.height - 2 * kMargin) / lines);
    std::vector<PrintItem> items;
    auto addRow = [&](double top, const std::array<const std::string*, 4>& cells) {
        for (std::size_t c = 0; c < cells.size(); ++c)
            items.push_back(text(*cells[c], left + kColumns[c] * width + kInset, top,
                                 left + kColumns[c + 1] * width, top + row));
    };
    addRow(kMargin, {&heading[0], &heading[1], &heading[2], &heading[3]});
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const PrintBoardRow& b = rows[r];
        addRow(kMargin + row * static_cast<double>(r + 1), {&b.name, &b.count, &b.size, &b.thickness});
    }
    items.push_back(outline(left, kMargin, left + width, kMargin + row * lines));
    items.push_back(outline(left, kMargin + row, left + width, kMargin + row));
    return items;
}

FirstPage composeFirstPage(const PrintChoice& choice, const MainPrintGeometry& main, TwipSize printable,
                           const std::string& headerText)
{
    FirstPage first;
    first.page.orientation = PageOrientation::Portrait;
    first.page.items.push_back(header(headerText));

    double y = 500;
    // The input frames line up with the left edge of the panel drawing, whichever items are ticked.
    const double x = roundTwips((printable.width - main.picture1.width) / 2);

    if (choice.mPanel) {
        first.page.items.push_back(image("Picture1", (printable.width - main.picture1.width) / 2, 500));
        y = roundTwips(500 + main.picture1.height);
        first.count = 1;
    }
    if (choice.figure) {
        first.page.items.push_back(image("picFigure", (printable.width - main.picFigure.width) / 2, y));
        y = roundTwips(y + main.picFigure.height);
        ++first.count;
    }
    if (choice.settings) {
        // The frames keep their arrangement in the main window, with the outer margins taken as zero.
        first.page.items.push_back(image("fraInfo", x, y));
        first.page.items.push_back(image("fraCorrection", x + main.fraCorrection.left, y));
        first.page.items.push_back(image("fraPort", x + main.fraPort.left, y));
        first.page.items.push_back(image("fraWoofer", x, y + main.fraWoofer.top));
        first.page.items.push_back(image("fraResult", x + main.fraResult.left, y + main.fraResult.top));
        y = roundTwips(y + main.fraWoofer.top + main.fraWoofer.height);
        ++first.count;
    }
    return first;
}

PrintPage composeLayoutPage(const SheetPrintGeometry& sheet, TwipSize printable,
                            const std::string& headerText)
{
    PrintPage page;
    page.orientation = PageOrientation::Landscape;
    page.items.push_back(header(headerText));

    const double x = roundTwips((printable.width - sheet.picPanel.width) / 2);
    const double y = roundTwips((printable.height - sheet.picPanel.height) / 2);
    page.items.push_back(outline(x, y, x + sheet.picPanel.width, y + sheet.picPanel.height));

    for (std::size_t i = 0; i < sheet.panels.size(); ++i) {
        if (i == 6 && !sheet.portVisible)
            continue;
        const TwipRect& p = sheet.panels[i];
        const double px = roundTwips(x + p.left);
        const double py = roundTwips(y + p.top);
        page.items.push_back(image(kPanelControlNames[i], px, py));
        page.items.push_back(outline(px, py, px + p.width, py + p.height));
    }
    for (const auto& [name, p] : sheet.extras) {
        const double px = roundTwips(x + p.left);
        const double py = roundTwips(y + p.top);
        page.items.push_back(image(name, px, py));
        page.items.push_back(outline(px, py, px + p.width, py + p.height));
    }
    return page;
}

PrintPlan composePrint(const PrintChoice& choice, const MainPrintGeometry& main,
                       const std::optional<SheetPrintGeometry>& sheet, TwipSize portraitPrintable,
                       TwipSize landscapePrintable, const std::string& headerText)
{
    PrintPlan plan;
    if (!choice.any())
        return plan;
    FirstPage first = composeFirstPage(choice, main, portraitPrintable, headerText);
    plan.documents.push_back({{std::move(first.page)}});
    if (choice.layouter) {
        PrintPage layout =
            composeLayoutPage(sheet.value_or(SheetPrintGeometry{}), landscapePrintable, headerText);
        if (layoutIsSecondDocument(first.count))
            plan.documents.push_back({{std::move(layout)}});
        else
            plan.documents.front().pages.push_back(std::move(layout));
    }
    return plan;
}

} // namespace kelvra
