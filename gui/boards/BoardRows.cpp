#include "gui/boards/BoardRows.h"

#include "calc/Numeric.h"

#include <cmath>

namespace kelvra
{

namespace
{

std::string degrees(double value, char sep)
{
    return formatDouble(roundHalfEven(value, 1), sep) + "\u00b0";
}

std::string litres(double value, char sep)
{
    return formatDouble(roundHalfEven(value, 2), sep);
}

} // namespace

std::string trimmedName(const std::string& caption)
{
    const std::string line = caption.substr(0, caption.find_first_of("\r\n"));
    const auto first = line.find_first_not_of(' ');
    const auto last = line.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : line.substr(first, last - first + 1);
}

std::string boardLengthText(double cm, Measure measure, char sep)
{
    return measure == Measure::Imperial ? inchText(inchesOfCm(cm)) : boardSizeText(cm, sep);
}

BoardRow boardRow(const Board& board, char sep, Measure measure, const BoardWords& words)
{
    BoardRow row;
    row.name = trimmedName(board.name);
    if (row.name.empty())
        row.name = board.key;
    row.count = std::to_string(board.count);
    if (measure == Measure::Imperial) {
        row.size = boardLengthText(board.length, measure, sep) + " x " +
                   boardLengthText(board.breadth, measure, sep);
        row.thickness = thicknessText(board.thicknessMm, measure);
    } else {
        row.size = boardSizeText(board.length, sep) + " x " + boardSizeText(board.breadth, sep);
        row.thickness = std::to_string(board.thicknessMm) + " mm";
    }
    // Edges are numbered as the outline runs, as in the drawings and the exports; a tilt the saw
    // cannot make is marked and followed by the complementary one that cuts the same joint.
    for (std::size_t i = 0; i < board.bevels.size(); ++i) {
        const Bevel& b = board.bevels[i];
        if (roundHalfEven(b.degrees, 1) == 0)
            continue;
        if (!row.bevels.empty())
            row.bevels += "; ";
        row.bevels += withFigures(words.edge, {std::to_string(i + 1), degrees(b.degrees, sep)});
        if (b.beyondSaw) {
            row.bevels += " * " + degrees(b.complementary, sep);
            row.beyondSaw = true;
        }
    }
    if (row.bevels.empty())
        row.bevels = words.square;
    // A trapezoid is told by its four edges, in the order of its outline, not by its blank.
    if (board.isTrapezoid()) {
        std::string edges;
        for (std::size_t i = 0; i < board.outline.size(); ++i) {
            const Point2 a = board.outline[i], b = board.outline[(i + 1) % board.outline.size()];
            edges += (edges.empty() ? "" : " / ") +
                     boardLengthText(std::hypot(b.x - a.x, b.y - a.y), measure, sep);
        }
        row.bevels = withFigures(words.trapezoid, {edges}) + "; " + row.bevels;
    }
    return row;
}

std::vector<std::string> portLines(const BoxBoards& boards, char sep, const BoardWords& words)
{
    auto panelName = [&](const std::string& key) {
        for (const Board& b : boards.boards)
            if (b.key == key)
                return boardRow(b, sep).name;
        return key;
    };
    std::vector<std::string> lines;
    if (boards.portHole && boards.portHole->count > 0)
        lines.push_back(withFigures(boards.portHole->count > 1 ? words.portHoles : words.portHole,
                                    {std::to_string(boards.portHole->count),
                                     boardSizeText(boards.portHole->diameter, sep),
                                     panelName(boards.portHole->panelKey)}));
    if (boards.portSlot && boards.portSlot->count > 0)
        lines.push_back(
            withFigures(boards.portSlot->count > 1 ? words.portSlots : words.portSlot,
                        {std::to_string(boards.portSlot->count), boardSizeText(boards.portSlot->width, sep),
                         boardSizeText(boards.portSlot->height, sep), panelName(boards.portSlot->panelKey)}));
    return lines;
}

std::vector<std::string> volumeLines(const BoxBoards& boards, char sep, const BoardWords& words)
{
    std::vector<std::string> lines{withFigures(
        words.volumes, {litres(boards.innerVolumeExact, sep), litres(boards.netVolumeExact, sep)})};
    for (const BoardsNotice& n : boards.notices)
        lines.push_back(noticeText(n, sep, words.core));
    return lines;
}

} // namespace kelvra
