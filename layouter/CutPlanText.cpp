#include "layouter/CutPlanText.h"

#include "boards/Boards.h"
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
                            Measure measure, const CutPlanWords& words)
{
    const bool inches = measure == Measure::Imperial;
    auto n = [&](double v) {
        return cutPlanNumber(v, decimalSeparator);
    };
    auto tenth = [&](double v) {
        return formatDouble(roundHalfEven(v, 1), decimalSeparator);
    };
    // A length with its unit: "36,4 cm" or 14 5/16".
    auto len = [&](double v) {
        return inches ? inchText(inchesOfCm(v)) : withFigures(words.cm, {n(v)});
    };
    // In cm the unit follows the pair once: "61 x 122 cm".
    auto size = [&](const CutRect& r) {
        return inches ? withFigures(words.size, {len(r.width), len(r.height)})
                      : withFigures(words.cm, {withFigures(words.size, {n(r.width), n(r.height)})});
    };
    auto where = [&](const CutRect& r) {
        return withFigures(words.where, {len(r.left), len(r.top)});
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
    const std::string count = std::to_string(plan.sheetCount);
    text.summary.push_back(withFigures(
        words.sheet, {sheetCaption(plan.sheet, decimalSeparator, measure),
                      withFigures(plan.sheetCount == 1 ? words.oneSheet : words.sheets, {count})}));
    text.summary.push_back(withFigures(
        words.kerf, {inches ? inchText(inchesOfCm(plan.kerf)) : withFigures(words.mm, {n(plan.kerf * 10)})}));
    text.summary.push_back(
        withFigures(words.cutCount, {std::to_string(plan.cuts.size()), len(plan.cutLength)}));
    text.summary.push_back(withFigures(words.waste, {tenth(plan.wastePercent)}));
    if (plan.offcuts.empty())
        text.summary.push_back(words.noLeftover);
    else
        text.summary.push_back(withFigures(words.largest, {size(plan.offcuts.front().rect)}));

    for (const Cut& c : plan.cuts) {
        const CutPiece* p = plan.piece(c.piece);
        std::string line = withFigures(
            words.cutHead, {std::to_string(c.n), std::to_string(c.sheet + 1), std::to_string(c.piece)});
        if (p)
            line += " (" + size(p->rect) + ")";
        if (c.slanted) {
            const double left = p ? p->rect.left : 0, top = p ? p->rect.top : 0;
            line += ": " +
                    withFigures(words.slanted,
                                {tenth(c.angle), c.vertical ? words.topAndBottom : words.leftAndRight,
                                 tenth(90 - c.angle), len(c.fromX - left), len(c.fromY - top),
                                 len(c.toX - left), len(c.toY - top), len(c.length)}) +
                    "; ";
            if (c.boards.size() == 2)
                line += withFigures(words.parts, {placementName(c.boards[0]), placementName(c.boards[1])});
            else if (c.boards.size() == 1)
                line += withFigures(words.trims, {placementName(c.boards[0])});
            text.cuts.push_back(line);
            continue;
        }
        line += ": " +
                withFigures(c.vertical ? words.straightDown : words.straightAcross,
                            {len(c.offset), len(c.length)}) +
                "; ";
        if (c.secondPart < 0)
            line += withFigures(words.givesPiece, {std::to_string(c.firstPart)});
        else
            line +=
                withFigures(words.givesPieces, {std::to_string(c.firstPart), std::to_string(c.secondPart)});
        text.cuts.push_back(line);
    }
    for (const BoardPlacement& p : plan.placements) {
        std::string line = withFigures(words.boardPlace,
                                       {nameOf(p), size(p.rect), std::to_string(p.sheet + 1), where(p.rect)});
        if (p.turned)
            line += ", " + words.turned;
        if (p.nestedWith >= 0)
            line += ", " + withFigures(words.nested, {placementName(p.nestedWith)});
        text.boards.push_back(line);
    }
    // A sliver narrower than the kerf is sawdust, not a piece to keep.
    for (const CutPiece& o : plan.offcuts)
        if (std::min(o.rect.width, o.rect.height) >= plan.kerf)
            text.offcuts.push_back(
                withFigures(words.offcutPlace, {std::to_string(o.id), size(o.rect),
                                                std::to_string(o.sheet + 1), where(o.rect)}));
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
