// The holes sawn through the boards: the woofers' cut-outs in a row across the front with equal gaps,
// the round ports' holes in the middle of their panel (on the front in the same row, after the woofers),
// and the slot ports' openings where the slots meet their panel. Positions are in each board's outline
// coordinates, from its lower left corner.
#include "boards/BoxSection.h"

#include "calc/Numeric.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kelvra
{

double defaultCutout(int sizePosition)
{
    // A woofer's cut-out is about 92 % of its nominal size (a 12" woofer: 28 cm).
    static constexpr std::array<double, 6> kInches = {6.5, 8, 10, 12, 15, 18};
    if (sizePosition < 0 || sizePosition >= static_cast<int>(kInches.size()))
        return 0;
    return std::round(kInches[static_cast<std::size_t>(sizePosition)] * 2.54 * 0.92 * 10) / 10;
}

std::string withFigures(std::string_view pattern, std::initializer_list<std::string> figures)
{
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] == '%' && c >= '1' && c <= '9' && static_cast<std::size_t>(c - '1') < figures.size()) {
            out += *(figures.begin() + (c - '1'));
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string noticeText(const BoardsNotice& n, char sep, const BoardsWords& words)
{
    switch (n.kind) {
    case BoardsNotice::Kind::TakesTooMuch:
        return words.takesTooMuch;
    case BoardsNotice::Kind::CutoutGuess:
        return withFigures(words.cutoutGuess, {formatDouble(n.value, sep)});
    case BoardsNotice::Kind::PortClearance:
        return withFigures(
            n.roundPort ? words.clearanceRound : words.clearanceSlot,
            {formatDouble(roundHalfEven(n.value, 2), sep), formatDouble(roundHalfEven(n.limit, 2), sep)});
    }
    return {};
}

std::vector<std::string> holeLines(const BoxBoards& boards, char sep, const BoardsWords& words)
{
    auto cm = [&](double v) {
        return boardSizeText(v, sep);
    };
    std::vector<std::string> lines;
    for (const Board& b : boards.boards) {
        std::string name = b.name.substr(0, b.name.find_first_of("\r\n"));
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        if (name.empty())
            name = b.key;
        for (const BoardHole& h : b.holes) {
            if (h.outline.empty()) {
                lines.push_back(withFigures(h.kind == "woofer" ? words.wooferHole : words.portHole,
                                            {name, cm(h.diameter), cm(h.center.x), cm(h.center.y)}));
                continue;
            }
            double l = 1e300, bo = 1e300, r = -1e300, t = -1e300;
            for (const Point2& p : h.outline) {
                l = std::min(l, p.x);
                bo = std::min(bo, p.y);
                r = std::max(r, p.x);
                t = std::max(t, p.y);
            }
            lines.push_back(withFigures(words.slotHole, {name, cm(r - l), cm(t - bo), cm(l), cm(bo)}));
        }
    }
    return lines;
}

namespace boards_detail
{

namespace
{

Board* boardOf(BoxBoards& out, const char* key)
{
    for (Board& b : out.boards)
        if (b.key == key)
            return &b;
    return nullptr;
}

Point2 extent(const Board& b)
{
    Point2 e;
    for (const Point2& p : b.outline)
        e = {std::max(e.x, p.x), std::max(e.y, p.y)};
    return e;
}

// Circles in a row along u at height v, with equal gaps before, between and after them; the gap.
double row(Board& b, const std::vector<std::pair<std::string, double>>& circles, double from, double to,
           double v)
{
    double total = 0;
    for (const auto& c : circles)
        total += c.second;
    const double gap = (to - from - total) / static_cast<double>(circles.size() + 1);
    double u = from + gap;
    for (const auto& [kind, diameter] : circles) {
        b.holes.push_back({kind, {u + diameter / 2, v}, diameter, {}});
        u += diameter + gap;
    }
    return gap;
}

BoardsError holeError(BoardsFault fault, const char* board, const char* measure, double value,
                      const char* limitMeasure, double limit)
{
    return {fault, board, measure, value, limit, limitMeasure};
}

} // namespace

std::optional<BoardsError> addHoles(const Design& d, const Section& s, const HoleSpec& wanted, BoxBoards& out)
{
    const char sep = d.decimalSeparator;
    double cutout = defaultCutout(d.sub);
    if (!wanted.cutout.empty()) {
        const Result<double> v = toDouble(wanted.cutout, sep);
        if (!v)
            return BoardsError{
                BoardsFault::BadNumber, "front", "the woofer's cut-out diameter cutout", 0, 0, {}};
        if (!(*v > 0))
            return BoardsError{
                BoardsFault::NotPositive, "front", "the woofer's cut-out diameter cutout", *v, 0, {}};
        cutout = *v;
    }
    std::optional<double> depth;
    if (!wanted.mountdepth.empty()) {
        const Result<double> v = toDouble(wanted.mountdepth, sep);
        if (!v)
            return BoardsError{
                BoardsFault::BadNumber, "front", "the woofer's mounting depth mountdepth", 0, 0, {}};
        if (!(*v > 0))
            return BoardsError{
                BoardsFault::NotPositive, "front", "the woofer's mounting depth mountdepth", *v, 0, {}};
        depth = *v;
    }
    const double wall = d.thick2 / 10.0;
    const bool roundPorts = d.ports > 0 && d.ptype == 0 && d.dp > 0;
    const bool slots = d.ports > 0 && d.ptype != 0;

    // The front: the woofers, and round ports carried by it, in one row.
    if (Board* front = boardOf(out, "front")) {
        const Point2 e = extent(*front);
        const double margin = s.t * std::abs(std::tan((90 - d.cb) * std::numbers::pi / 180));
        std::vector<std::pair<std::string, double>> circles(static_cast<std::size_t>(d.woofers),
                                                            {"woofer", cutout});
        std::vector<std::pair<std::string, double>> ports;
        if (roundPorts && d.pwhere == 0)
            ports.assign(static_cast<std::size_t>(d.ports), {"port", d.dp});
        circles.insert(circles.end(), ports.begin(), ports.end());
        double sum = 0, largest = 0;
        for (const auto& c : circles) {
            sum += c.second;
            largest = std::max(largest, c.second);
        }
        double from = 0;
        double gap = (e.x - sum) / static_cast<double>(circles.size() + 1);
        const double slotsEnd = d.ports * (d.bp + wall);
        if (slots && d.pwhere == 0 && gap < slotsEnd + kHoleMargin) {
            // The slot openings and their walls take the front's left end: a row centred on the whole
            // front would cut into them, so it is centred on the part they leave free.
            from = slotsEnd;
            gap = (e.x - from - sum) / static_cast<double>(circles.size() + 1);
        }
        const double edge = (e.y - 2 * margin - largest) / 2;
        if (wanted.cutout.empty() && (gap < kHoleMargin || edge < kHoleMargin)) {
            // The usual cut-out is only a guess: a design that has no room for it keeps its boards, and
            // the builder is told to type the real one.
            addNotice(out, {BoardsNotice::Kind::CutoutGuess, cutout}, sep);
            if (!ports.empty())
                row(*front, ports, 0, e.x, e.y / 2);
        } else {
            row(*front, circles, from, e.x, e.y / 2);
            if (gap < kHoleMargin)
                return holeError(BoardsFault::HoleTooClose, "front", "the cut-outs side by side", gap,
                                 from > 0 ? "the port's openings, the panel's end and each other"
                                          : "the panel's ends and each other",
                                 kHoleMargin);
            if (edge < kHoleMargin)
                return holeError(BoardsFault::HoleTooClose, "front", "the cut-outs", edge,
                                 "the panel's foot and head", kHoleMargin);
        }
        if (depth) {
            // The woofer's back reaches into the box from the front's outer face; where the rear
            // slopes in, the box is shallowest at the top of the cut-out.
            const double half = cutout / 2 * s.sinCb;
            const double room =
                std::min(s.innerWidth(d.h2 / 2 - half), s.innerWidth(d.h2 / 2 + half)) * s.sinCb;
            if (*depth - s.t >= room)
                return holeError(BoardsFault::WooferTooDeep, "front", "the woofer's mounting depth", *depth,
                                 "the room behind the front at the woofer", room + s.t);
        }
    }
    if (roundPorts && d.pwhere >= 1 && d.pwhere <= 4) {
        static constexpr std::array<const char*, 5> kCarrier = {"front", "rear", "top", "left", "right"};
        Board* b = boardOf(out, kCarrier[static_cast<std::size_t>(d.pwhere)]);
        if (b) {
            const Point2 e = extent(*b);
            const std::vector<std::pair<std::string, double>> circles(static_cast<std::size_t>(d.ports),
                                                                      {"port", d.dp});
            if (d.pwhere == 1) {
                row(*b, circles, 0, e.x, e.y / 2);
            } else if (d.pwhere == 2) {
                const double minX = std::min(s.rearOuter(s.innerTop()), s.rearOuter(d.h2));
                row(*b, circles, 0, e.x, (s.rearInner(s.innerTop()) + s.frontInner(s.innerTop())) / 2 - minX);
            } else {
                // On a side the tubes stand in a row across the box at half its height.
                const double minX = std::min(0.0, s.rearOuter(d.h2));
                const double y = d.h2 / 2;
                row(*b, circles, s.rearInner(y) - minX, s.frontInner(y) - minX, y);
            }
        }
    }
    if (slots) {
        static constexpr std::array<const char*, 5> kCarrier = {"front", "rear", "top", "left", "right"};
        Board* b = d.pwhere >= 0 && d.pwhere < 5 ? boardOf(out, kCarrier[static_cast<std::size_t>(d.pwhere)])
                                                 : nullptr;
        for (int k = 0; b && k < d.ports; ++k) {
            const double a = k * (d.bp + wall), w = d.bp;
            std::vector<Point2> r;
            if (d.pwhere <= 1) {
                // Against the left side, up from the bottom, through the sloped panel.
                const double sine = d.pwhere == 0 ? s.sinCb : s.sinCa;
                r = {{a, 0}, {a + w, 0}, {a + w, d.hp / sine}, {a, d.hp / sine}};
            } else if (d.pwhere == 2) {
                const double minX = std::min(s.rearOuter(s.innerTop()), s.rearOuter(d.h2));
                const double x0 = s.rearInner(s.innerTop()) - minX;
                r = {{a, x0}, {a + w, x0}, {a + w, x0 + d.hp}, {a, x0 + d.hp}};
            } else {
                const double minX = std::min(0.0, s.rearOuter(d.h2));
                const double y0 = s.innerBottom() + a;
                const double x0 = std::max(s.rearInner(y0), s.rearInner(y0 + w)) - minX;
                r = {{x0, y0}, {x0 + d.hp, y0}, {x0 + d.hp, y0 + w}, {x0, y0 + w}};
            }
            Point2 c;
            for (const Point2& p : r)
                c = {c.x + p.x / 4, c.y + p.y / 4};
            b->holes.push_back({"slot", c, 0, r});
        }
    }
    return std::nullopt;
}

} // namespace boards_detail

} // namespace kelvra
