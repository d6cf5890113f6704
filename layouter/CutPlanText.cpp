#include "CutPlanText.h"

#include "Numeric.h"

namespace kelvra
{

std::string cutPlanNumber(double cm, char decimalSeparator)
{
    return formatDouble(roundHalfEven(cm, 2), decimalSeparator);
}

std::string sheetCaption(const BestFitSheet& sheet, char decimalSeparator)
{
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

CutPlanText describeCutPlan(const CutPlan& plan, const std::vector<std::string>& names, char decimalSeparator)
{
    auto n = [&](double v) {
        return cutPlanNumber(v, decimalSeparator);
    };
    auto size = [&](const CutRect& r) {
        return n(r.width) + " x " + n(r.height) + " cm";
    };
    auto where = [&](const CutRect& r) {
        return n(r.left) + " cm from the left, " + n(r.top) + " cm from the top";
    };
    auto nameOf = [&](const BoardPlacement& p) {
        const std::size_t i = static_cast<std::size_t>(p.board);
        const std::string name = i < names.size() ? trimmed(names[i]) : std::string();
        return name.empty() ? p.key : name;
    };

    CutPlanText text;
    text.summary.push_back("Sheet: " + sheetCaption(plan.sheet, decimalSeparator) + ", " +
                           std::to_string(plan.sheetCount) + (plan.sheetCount == 1 ? " sheet" : " sheets"));
    text.summary.push_back("Saw kerf: " + n(plan.kerf * 10) + " mm");
    text.summary.push_back("Cuts: " + std::to_string(plan.cuts.size()) + ", total length " +
                           n(plan.cutLength) + " cm");
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
        line += c.vertical ? ": cut " + n(c.offset) + " cm from the left edge, top to bottom"
                           : ": cut " + n(c.offset) + " cm from the top edge, left to right";
        line += ", " + n(c.length) + " cm long; ";
        if (c.secondPart < 0)
            line += "gives piece " + std::to_string(c.firstPart) + ", the rest goes in the kerf";
        else
            line += "gives pieces " + std::to_string(c.firstPart) + " and " + std::to_string(c.secondPart);
        text.cuts.push_back(line);
    }
    for (const BoardPlacement& p : plan.placements)
        text.boards.push_back(nameOf(p) + " (" + size(p.rect) + "): sheet " + std::to_string(p.sheet + 1) +
                              ", " + where(p.rect) + (p.turned ? ", turned" : ""));
    for (const CutPiece& o : plan.offcuts)
        text.offcuts.push_back("Piece " + std::to_string(o.id) + " (" + size(o.rect) + "): sheet " +
                               std::to_string(o.sheet + 1) + ", " + where(o.rect));
    return text;
}

} // namespace kelvra
