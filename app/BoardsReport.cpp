#include "app/BoardsReport.h"

#include <cmath>

namespace kelvra
{

namespace
{

// JSON numbers always use "."; lengths to four decimals as the model keeps them.
std::string number(double value, int decimals)
{
    return formatDouble(roundHalfEven(value, decimals), '.');
}

std::string boardJson(const Board& b)
{
    json::Array outline;
    for (const Point2& p : b.outline)
        outline.raw(json::Array().raw(number(p.x, 6)).raw(number(p.y, 6)).dump());
    json::Array bevels;
    for (const Bevel& v : b.bevels)
        bevels.raw(number(v.degrees, 1));
    json::Array solid;
    for (const Point3& p : b.solid)
        solid.raw(json::Array().raw(number(p.x, 6)).raw(number(p.y, 6)).raw(number(p.z, 6)).dump());
    // Each hole in the board's plane, cm from its lower left corner: a circle's centre and diameter, or
    // a slot's corners.
    json::Array holes;
    for (const BoardHole& h : b.holes) {
        json::Object o;
        o.str("kind", h.kind);
        if (h.outline.empty()) {
            o.raw("center", json::Array().raw(number(h.center.x, 6)).raw(number(h.center.y, 6)).dump());
            o.raw("diameter", number(h.diameter, 4));
        } else {
            json::Array corners;
            for (const Point2& p : h.outline)
                corners.raw(json::Array().raw(number(p.x, 6)).raw(number(p.y, 6)).dump());
            o.raw("outline", corners.dump());
        }
        holes.raw(o.dump());
    }
    return json::Object()
        .str("key", b.key)
        .str("name", b.name)
        .integer("count", b.count)
        .integer("thickness", b.thicknessMm)
        .raw("length", number(b.length, 2))
        .raw("breadth", number(b.breadth, 2))
        .raw("outline", outline.dump())
        .raw("bevels", bevels.dump())
        .raw("solid", solid.dump())
        .raw("holes", holes.dump())
        .dump();
}

std::string bevelText(const Bevel& b, char sep)
{
    std::string text = formatDouble(b.degrees, sep) + "\u00b0";
    if (b.beyondSaw)
        text += " (beyond the saw: " + formatDouble(b.complementary, sep) + "\u00b0 on edge)";
    return text;
}

// The shell boards' bevelled edges by where they sit; the outline starts at the foot or the rear edge.
std::string edgeName(const Board& b, std::size_t edge)
{
    static const char* const kStanding[] = {"foot", "right end", "head", "left end"};
    static const char* const kLying[] = {"rear edge", "right end", "front edge", "left end"};
    if (edge < 4 && (b.key == "front" || b.key == "rear"))
        return kStanding[edge];
    if (edge < 4 && (b.key == "top" || b.key == "bottom"))
        return kLying[edge];
    return "edge " + std::to_string(edge + 1);
}

} // namespace

void addBoardsJson(json::Object& report, const BoardsResult& result)
{
    if (!result.ok()) {
        report.str("boardsError", result.error.text());
        return;
    }
    const BoxBoards& b = *result.boards;
    json::Array boards;
    for (const Board& board : b.boards)
        boards.raw(boardJson(board));
    report.raw("boards", boards.dump())
        .str("innerVolumeExact", number(b.innerVolumeExact, 2))
        .str("netVolumeExact", number(b.netVolumeExact, 2));
    if (!b.warnings.empty()) {
        json::Array warnings;
        for (const std::string& w : b.warnings)
            warnings.raw(json::quote(w));
        report.raw("boardsWarnings", warnings.dump());
    }
}

std::string humanBoards(const BoxBoards& boards, char sep, Measure measure)
{
    const bool inches = measure == Measure::Imperial;
    // A length without its unit in metric, with the inch mark in imperial; `cm` follows metric only.
    auto len = [&](double cm) {
        return inches ? inchText(inchesOfCm(cm)) : boardSizeText(cm, sep);
    };
    const std::string cm = inches ? "" : " cm";
    std::string out = "\nBoards:\n";
    for (const Board& b : boards.boards) {
        out += "  " + b.name + " (" + b.key + "): " + std::to_string(b.count) + " x " + len(b.length) +
               " x " + len(b.breadth) + cm + ", " + thicknessText(b.thicknessMm, measure);
        if (b.isTrapezoid()) {
            out += ", sides";
            for (std::size_t i = 0; i < b.outline.size(); ++i) {
                const Point2 p = b.outline[i], q = b.outline[(i + 1) % b.outline.size()];
                out += (i ? " / " : " ") + len(std::hypot(q.x - p.x, q.y - p.y));
            }
            out += cm;
        }
        std::string bevels;
        for (std::size_t i = 0; i < b.bevels.size(); ++i)
            if (b.bevels[i].degrees != 0)
                bevels += (bevels.empty() ? "" : ", ") + edgeName(b, i) + " " + bevelText(b.bevels[i], sep);
        out += bevels.empty() ? ", square edges\n" : ", bevels: " + bevels + "\n";
    }
    if (boards.portHole)
        out += "  Port hole: " + std::to_string(boards.portHole->count) + " x " +
               len(boards.portHole->diameter) + cm + " in the " + boards.portHole->panelKey + "\n";
    if (boards.portSlot)
        out += "  Port opening: " + std::to_string(boards.portSlot->count) + " x " +
               len(boards.portSlot->width) + " x " + len(boards.portSlot->height) + cm + " in the " +
               boards.portSlot->panelKey + "\n";
    out += measureText("Exact inner volume: " + formatDouble(roundHalfEven(boards.innerVolumeExact, 2), sep) +
                           " Liter\n",
                       measure, sep);
    out += measureText("Exact net volume: " + formatDouble(roundHalfEven(boards.netVolumeExact, 2), sep) +
                           " Liter\n",
                       measure, sep);
    for (const std::string& w : boards.warnings)
        out += "Warning: " + w + "\n";
    return out;
}

} // namespace kelvra
