#include "layouter/CutPlanText.h"

#include "calc/Numeric.h"

#include <algorithm>

namespace kelvra
{

std::string cutPlanNumber(double cm, char decimalSeparator)
{
    return formatDouble(roundHalfEven(cm, 2), decimalSeparator);
}

std::string sheetCaption(const BestFitSheet& sheet, char decimalSeparator, Measure measure)
{
    if (measure == Measure::Imperial)
        return inchFraction(inchesOfCm(sheet.height)) + "x" + inchFraction(inchesOfCm(sheet.width)) + "\"";
    return cutPlanNumber(sheet.height, decimalSeparator) + "x" + cutPlanNumber(sheet.width, decimalSeparator);
}

namespace
{

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

CutPlanText describeCutPlan(const CutPlan& plan, const std::vector<std::string>& names, char decimalSeparator,
                            Measure measure)
{
    const bool inches = measure == Measure::Imperial;
    auto n = [&](double v) {
        return cutPlanNumber(v, decimalSeparator);
    };
    // A length with its unit: "36,4 cm" or 14 5/16".
    auto len = [&](double v) {
        return inches ? inchText(inchesOfCm(v)) : n(v) + " cm";
    };
    auto size = [&](const CutRect& r) {
        return inches ? len(r.width) + " x " + len(r.height) : n(r.width) + " x " + n(r.height) + " cm";
    };
    auto where = [&](const CutRect& r) {
        return len(r.left) + " from the left, " + len(r.top) + " from the top";
    };
    auto nameOf = [&](const BoardPlacement& p) {
        const std::size_t i = static_cast<std::size_t>(p.board);
        const std::string name = i < names.size() ? trimmed(names[i]) : std::string();
        return (name.empty() ? p.key : name) + (p.copy > 0 ? " #" + std::to_string(p.copy + 1) : "");
    };
    auto placementName = [&](int index) {
        const std::size_t i = static_cast<std::size_t>(index);
        return i < plan.placements.size() ? nameOf(plan.placements[i]) : std::string();
    };

    CutPlanText text;
    text.summary.push_back("Sheet: " + sheetCaption(plan.sheet, decimalSeparator, measure) + ", " +
                           std::to_string(plan.sheetCount) + (plan.sheetCount == 1 ? " sheet" : " sheets"));
    text.summary.push_back("Saw kerf: " +
                           (inches ? inchText(inchesOfCm(plan.kerf)) : n(plan.kerf * 10) + " mm"));
    text.summary.push_back("Cuts: " + std::to_string(plan.cuts.size()) + ", total length " +
                           len(plan.cutLength));
    text.summary.push_back("Waste: " + formatDouble(roundHalfEven(plan.wastePercent, 1), decimalSeparator) +
                           " % of the sheets");
    if (plan.offcuts.empty())
        text.summary.push_back("Largest left-over: none");
    else
        text.summary.push_back("Largest left-over: " + size(plan.offcuts.front().rect));

    for (const Cut& c : plan.cuts) {
        const CutPiece* p = plan.piece(c.piece);
        std::string line = std::to_string(c.n) + ". Sheet " + std::to_string(c.sheet + 1) + ", piece " +
                           std::to_string(c.piece);
        if (p)
            line += " (" + size(p->rect) + ")";
        if (c.slanted) {
            const double left = p ? p->rect.left : 0, top = p ? p->rect.top : 0;
            line += ": slanted cut at " + formatDouble(roundHalfEven(c.angle, 1), decimalSeparator) +
                    "\u00b0 to the " + (c.vertical ? "top and bottom" : "left and right") + " edges (" +
                    formatDouble(roundHalfEven(90 - c.angle, 1), decimalSeparator) +
                    "\u00b0 off square), from " + len(c.fromX - left) + " right and " + len(c.fromY - top) +
                    " down to " + len(c.toX - left) + " right and " + len(c.toY - top) +
                    " down of the piece's top-left corner, " + len(c.length) + " long; ";
            if (c.boards.size() == 2)
                line += "parts " + placementName(c.boards[0]) + " from " + placementName(c.boards[1]);
            else if (c.boards.size() == 1)
                line += "trims " + placementName(c.boards[0]) + " to its shape, the rest is waste";
            text.cuts.push_back(line);
            continue;
        }
        line += c.vertical ? ": cut " + len(c.offset) + " from the left edge, top to bottom"
                           : ": cut " + len(c.offset) + " from the top edge, left to right";
        line += ", " + len(c.length) + " long; ";
        if (c.secondPart < 0)
            line += "gives piece " + std::to_string(c.firstPart) + ", the rest goes in the kerf";
        else
            line += "gives pieces " + std::to_string(c.firstPart) + " and " + std::to_string(c.secondPart);
        text.cuts.push_back(line);
    }
    for (const BoardPlacement& p : plan.placements)
        text.boards.push_back(
            nameOf(p) + " (" + size(p.rect) + "): sheet " + std::to_string(p.sheet + 1) + ", " +
            where(p.rect) + (p.turned ? ", turned" : "") +
            (p.nestedWith >= 0 ? ", nested head to tail with " + placementName(p.nestedWith) : ""));
    // A sliver narrower than the kerf is sawdust, not a piece to keep.
    for (const CutPiece& o : plan.offcuts)
        if (std::min(o.rect.width, o.rect.height) >= plan.kerf)
            text.offcuts.push_back("Piece " + std::to_string(o.id) + " (" + size(o.rect) + "): sheet " +
                                   std::to_string(o.sheet + 1) + ", " + where(o.rect));
    return text;
}

namespace
{

const char* fillOf(const std::string& key)
{
    if (key == "front" || key == "top" || key == "left")
        return "#80ff80";
    if (key == "rear" || key == "bottom" || key == "right")
        return "#8080ff";
    if (key == "port")
        return "#ffff80";
    return "#c8c8c8";
}

} // namespace

std::string cutPlanSvg(const CutPlan& plan)
{
    constexpr double kScale = 3; // pixels per cm
    constexpr double kGap = 10;  // cm between two sheets
    auto px = [](double cm) {
        return formatDouble(roundHalfEven(cm * kScale, 2), '.');
    };
    const double sheetW = plan.sheet.width;
    const double sheetH = plan.sheet.height;
    const int count = std::max(plan.sheetCount, 1);
    const double totalH = count * sheetH + (count - 1) * kGap;
    std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + px(sheetW) + "\" height=\"" +
                      px(totalH) + "\" viewBox=\"0 0 " + px(sheetW) + " " + px(totalH) + "\">\n";
    out += "<title>Cut plan " + sheetCaption(plan.sheet, '.') + "</title>\n";
    auto top = [&](int sheet) {
        return sheet * (sheetH + kGap);
    };
    for (int s = 0; s < plan.sheetCount; ++s)
        out += "<rect class=\"sheet\" x=\"0\" y=\"" + px(top(s)) + "\" width=\"" + px(sheetW) +
               "\" height=\"" + px(sheetH) + "\" fill=\"#ffe0c0\" stroke=\"black\"/>\n";
    for (const BoardPlacement& b : plan.placements) {
        const double y = top(b.sheet) + b.rect.top;
        // The board as it is cut: its rectangle, or its true shape inside it.
        std::string points;
        for (const SheetPoint& q : b.outline)
            points += (points.empty() ? "" : " ") + px(q.x) + "," + px(top(b.sheet) + q.y);
        out += "<polygon class=\"board\" id=\"" + xmlEscaped(b.key) + "\" points=\"" + points + "\" fill=\"" +
               fillOf(b.key) + "\" stroke=\"#404040\"/>\n";
        out += "<text x=\"" + px(b.rect.left + b.rect.width / 2) + "\" y=\"" + px(y + b.rect.height / 2) +
               "\" font-size=\"12\" text-anchor=\"middle\" dominant-baseline=\"middle\">" +
               xmlEscaped(b.key) + "</text>\n";
    }
    const std::string stroke = px(std::max(plan.kerf, 2.0 / kScale));
    for (const Cut& c : plan.cuts) {
        const double dy = top(c.sheet);
        out += "<line class=\"cut\" x1=\"" + px(c.fromX) + "\" y1=\"" + px(c.fromY + dy) + "\" x2=\"" +
               px(c.toX) + "\" y2=\"" + px(c.toY + dy) + "\" stroke=\"#c80000\" stroke-width=\"" + stroke +
               "\"/>\n";
        out += "<text x=\"" + px((c.fromX + c.toX) / 2) + "\" y=\"" + px((c.fromY + c.toY) / 2 + dy) +
               "\" font-size=\"10\" fill=\"#c80000\" text-anchor=\"middle\" dominant-baseline=\"middle\">" +
               std::to_string(c.n) + "</text>\n";
    }
    out += "</svg>\n";
    return out;
}

std::string xmlEscaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace kelvra
