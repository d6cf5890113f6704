// The port: a slot port's wall or a round port's hole, whether it fits inside the box, and its volume.
//
// A slot port runs from the panel that carries it straight into the box against the left side (front,
// rear and top ports) or on the bottom (side ports): that wall of the box is one side of the slot, the
// port wall (thick2), parallel to it at the distance bp, the other. More slots stand side by side, each
// with its own wall. The slot's height hp runs across the box: up from the bottom for front and rear
// ports, from the rear panel for top and side ports.
#include "boards/BoxSection.h"

#include <algorithm>
#include <array>
#include <numbers>

namespace kelvra::boards_detail
{

namespace
{

constexpr std::array<const char*, 5> kCarrier = {"front", "rear", "top", "left", "right"};

const char* carrier(const Design& d)
{
    return (d.pwhere >= 0 && d.pwhere < 5) ? kCarrier[static_cast<std::size_t>(d.pwhere)] : "front";
}

BoardsError refusal(BoardsFault fault, const char* measure, double value, const char* limitMeasure,
                    double limit)
{
    return {fault, "port", measure, value, limit, limitMeasure};
}

// Where the slot's wall stands: its cross-section and how much room it crosses.
struct SlotPlace {
    std::vector<Point2> section; // x-y, or x-z for a side port's lying wall
    double runRoom = 0;          // room along the port's length
    double crossRoom = 0;        // room across the slot's height hp
    double stackRoom = 0;        // room for the slots side by side
};

SlotPlace slotPlace(const Design& d, const Section& s)
{
    SlotPlace p;
    const double lo = s.innerBottom(), hi = s.innerTop();
    const double stack = d.ports * (d.bp + d.thick2 / 10.0);
    p.stackRoom = d.l3 - 2 * s.t;
    switch (d.pwhere) {
    case 1:
    case 0: {
        // Front and rear slots run level into the box; the wall's end follows the carrying panel.
        const double y1 = lo + std::min(d.hp, s.innerHeight());
        p.crossRoom = s.innerHeight();
        p.runRoom = std::min(s.innerWidth(lo), s.innerWidth(y1));
        if (d.pwhere == 0)
            p.section = {{s.frontInner(lo) - d.lp, lo},
                         {s.frontInner(lo), lo},
                         {s.frontInner(y1), y1},
                         {s.frontInner(y1) - d.lp, y1}};
        else
            p.section = {{s.rearInner(lo), lo},
                         {s.rearInner(lo) + d.lp, lo},
                         {s.rearInner(y1) + d.lp, y1},
                         {s.rearInner(y1), y1}};
        break;
    }
    case 2: {
        const double y0 = std::max(lo, hi - d.lp);
        const double x0 = std::max(s.rearInner(hi), s.rearInner(y0));
        p.runRoom = s.innerHeight();
        p.crossRoom = std::min(s.frontInner(hi), s.frontInner(y0)) - x0;
        p.section = {{x0, y0}, {x0 + d.hp, y0}, {x0 + d.hp, hi}, {x0, hi}};
        break;
    }
    default: {
        const double y1 = std::min(hi, lo + stack);
        const double x0 = std::max(s.rearInner(lo), s.rearInner(y1));
        p.runRoom = d.l3 - 2 * s.t;
        p.crossRoom = std::min(s.frontInner(lo), s.frontInner(y1)) - x0;
        p.stackRoom = s.innerHeight();
        const double z0 = d.pwhere == 4 ? d.l3 - s.t - d.lp : s.t;
        p.section = {{x0, z0}, {x0 + d.hp, z0}, {x0 + d.hp, z0 + d.lp}, {x0, z0 + d.lp}};
        break;
    }
    }
    return p;
}

} // namespace

std::optional<BoardsError> portFits(const Design& d, const Section& s)
{
    if (d.ptype == 0) {
        // A round port's tube stands square on the middle of its panel.
        const double mid = d.h2 / 2;
        const double across = std::min(s.innerWidth(s.innerBottom()), s.innerWidth(s.innerTop()));
        double run = s.innerWidth(mid), room = s.innerHeight(), row = d.l3 - 2 * s.t;
        if (d.pwhere == 2) {
            run = s.innerHeight();
            room = s.innerWidth(s.innerTop());
        } else if (d.pwhere == 3 || d.pwhere == 4) {
            run = d.l3 - 2 * s.t;
            row = across;
        }
        if (d.lp > run)
            return refusal(BoardsFault::PortTooLong, "the port length lp", d.lp,
                           "the inner space it runs along", run);
        if (d.dp > room)
            return refusal(BoardsFault::PortTooHigh, "the port diameter dp", d.dp, "the inside of its panel",
                           room);
        if (d.ports * d.dp > row)
            return refusal(BoardsFault::PortTooWide, "the port diameters side by side", d.ports * d.dp,
                           "the inside of its panel", row);
        return std::nullopt;
    }
    const SlotPlace p = slotPlace(d, s);
    if (d.lp > p.runRoom)
        return refusal(BoardsFault::PortTooLong, "the port length lp", d.lp, "the inner space it runs along",
                       p.runRoom);
    if (d.hp > p.crossRoom)
        return refusal(BoardsFault::PortTooHigh, "the port height hp", d.hp, "the inner space it crosses",
                       p.crossRoom);
    const double stack = d.ports * (d.bp + d.thick2 / 10.0);
    if (stack > p.stackRoom)
        return refusal(BoardsFault::PortTooWide, "the port widths bp with their walls", stack,
                       "the inside of the panel that carries them", p.stackRoom);
    return std::nullopt;
}

void addPort(const Design& d, const Section& s, const std::string& name, BoxBoards& out)
{
    if (d.ptype == 0) {
        out.portHole = PortHole{carrier(d), d.dp, d.ports};
        return;
    }
    out.portSlot = PortSlot{carrier(d), d.bp, d.hp, d.ports};
    const SlotPlace p = slotPlace(d, s);
    Board b;
    b.key = "port";
    b.name = name;
    b.count = d.ports;
    b.thicknessMm = d.thick2;
    b.outline = p.section;
    const Point2 size = normalise(b.outline);
    b.length = mmPrecision(size.x);
    b.breadth = mmPrecision(size.y);
    b.bevels.assign(b.outline.size(), Bevel{});
    const double wall = d.thick2 / 10.0;
    if (d.pwhere == 3 || d.pwhere == 4) {
        // The wall lies over the first slot, parallel to the bottom.
        const double y0 = s.innerBottom() + d.bp;
        for (double y : {y0, y0 + wall})
            for (const Point2& q : p.section)
                b.solid.push_back({q.x, y, q.y});
    } else {
        const double z0 = s.t + d.bp;
        b.solid = prism(p.section, z0, z0 + wall);
    }
    if (d.hp < p.crossRoom - 1e-9)
        out.warnings.push_back(
            "The slot port is " + formatDouble(roundHalfEven(d.hp, 2), d.decimalSeparator) +
            " cm high where the box is " + formatDouble(roundHalfEven(p.crossRoom, 2), d.decimalSeparator) +
            " cm inside: close the slot's open side with a strip of board.");
    out.boards.push_back(std::move(b));
}

double portVolume(const Design& d)
{
    if (d.ports <= 0)
        return 0;
    if (d.ptype == 0)
        return d.ports * std::numbers::pi / 4 * d.dp * d.dp * d.lp;
    return d.ports * d.lp * d.hp * (d.bp + d.thick2 / 10.0);
}

} // namespace kelvra::boards_detail
