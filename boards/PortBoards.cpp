// The port: a slot port's wall and closing strip or a round port's hole, whether it fits inside the box,
// how much room its inner end leaves, and what it takes from the air.
//
// The port length lp is the air column a builder measures: from the outer face of the panel that
// carries the port to the port's inner end. Inside the box the port runs lp less that panel's
// thickness (measured along the port). A slot port runs from its panel straight into the box against
// the left side (front, rear and top ports) or on the bottom (side ports): that wall of the box is one
// side of the slot, the port wall (thick2), parallel to it at the distance bp, the other. More slots
// stand side by side, each with its own wall. The slot's height hp runs across the box: up from the
// bottom for front and rear ports, from the rear panel for top and side ports. A slot that does not
// reach across the whole inner space is closed on its open side by a strip (thick2) over the slot and
// the edge of its wall.
#include "boards/BoxSection.h"

#include <algorithm>
#include <array>
#include <cmath>
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

// The carrying panel's thickness along the port: a level slot crosses a sloped end panel obliquely, a
// round tube stands square on its panel.
double carrierThickness(const Design& d, const Section& s)
{
    if (d.ptype != 0 && d.pwhere == 0)
        return s.t / s.sinCb;
    if (d.ptype != 0 && d.pwhere == 1)
        return s.t / s.sinCa;
    return s.t;
}

// Where the slot's wall stands: its cross-section and how much room it crosses.
struct SlotPlace {
    std::vector<Point2> section; // x-y, or x-z for a side port's lying wall
    double runRoom = 0;          // room along the port's length behind the carrying panel
    double crossRoom = 0;        // room across the slot's height hp
    double stackRoom = 0;        // room for the slots side by side
};

SlotPlace slotPlace(const Design& d, const Section& s)
{
    SlotPlace p;
    const double lo = s.innerBottom(), hi = s.innerTop();
    const double stack = d.ports * (d.bp + d.thick2 / 10.0);
    const double run = portRun(d, s);
    p.stackRoom = d.l3 - 2 * s.t;
    switch (d.pwhere) {
    case 1:
    case 0: {
        // Front and rear slots run level into the box; the wall's end follows the carrying panel.
        const double y1 = lo + std::min(d.hp, s.innerHeight());
        p.crossRoom = s.innerHeight();
        p.runRoom = std::min(s.innerWidth(lo), s.innerWidth(y1));
        if (d.pwhere == 0)
            p.section = {{s.frontInner(lo) - run, lo},
                         {s.frontInner(lo), lo},
                         {s.frontInner(y1), y1},
                         {s.frontInner(y1) - run, y1}};
        else
            p.section = {{s.rearInner(lo), lo},
                         {s.rearInner(lo) + run, lo},
                         {s.rearInner(y1) + run, y1},
                         {s.rearInner(y1), y1}};
        break;
    }
    case 2: {
        const double y0 = std::max(lo, hi - run);
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
        const double z0 = d.pwhere == 4 ? d.l3 - s.t - run : s.t;
        p.section = {{x0, z0}, {x0 + d.hp, z0}, {x0 + d.hp, z0 + run}, {x0, z0 + run}};
        break;
    }
    }
    return p;
}

// Room behind the carrying panel along a round port's tube, and across and beside it.
struct TubePlace {
    double runRoom = 0, crossRoom = 0, rowRoom = 0;
};

TubePlace tubePlace(const Design& d, const Section& s)
{
    // A round port's tube stands square on the middle of its panel.
    const double across = std::min(s.innerWidth(s.innerBottom()), s.innerWidth(s.innerTop()));
    TubePlace p{s.innerWidth(d.h2 / 2), s.innerHeight(), d.l3 - 2 * s.t};
    if (d.pwhere == 2) {
        p.runRoom = s.innerHeight();
        p.crossRoom = s.innerWidth(s.innerTop());
    } else if (d.pwhere == 3 || d.pwhere == 4) {
        p.runRoom = d.l3 - 2 * s.t;
        p.rowRoom = across;
    }
    return p;
}

double runRoom(const Design& d, const Section& s)
{
    return d.ptype == 0 ? tubePlace(d, s).runRoom : slotPlace(d, s).runRoom;
}

} // namespace

double portRun(const Design& d, const Section& s)
{
    return d.lp - carrierThickness(d, s);
}

bool portNeedsStrip(const Design& d, const Section& s)
{
    return d.ptype != 0 && d.ports > 0 && d.hp < slotPlace(d, s).crossRoom - 1e-9;
}

std::optional<BoardsError> portFits(const Design& d, const Section& s)
{
    const double wall = carrierThickness(d, s);
    if (!(portRun(d, s) > 0))
        return refusal(BoardsFault::TooThick, "the carrying panel's thickness", wall, "the port length lp",
                       d.lp);
    if (d.ptype == 0) {
        const TubePlace p = tubePlace(d, s);
        if (portRun(d, s) > p.runRoom)
            return refusal(BoardsFault::PortTooLong, "the port length lp", d.lp,
                           "its panel and the inner space behind it", p.runRoom + wall);
        if (d.dp > p.crossRoom)
            return refusal(BoardsFault::PortTooHigh, "the port diameter dp", d.dp, "the inside of its panel",
                           p.crossRoom);
        if (d.ports * d.dp > p.rowRoom)
            return refusal(BoardsFault::PortTooWide, "the port diameters side by side", d.ports * d.dp,
                           "the inside of its panel", p.rowRoom);
        return std::nullopt;
    }
    const SlotPlace p = slotPlace(d, s);
    if (portRun(d, s) > p.runRoom)
        return refusal(BoardsFault::PortTooLong, "the port length lp", d.lp,
                       "its panel and the inner space behind it", p.runRoom + wall);
    if (d.hp > p.crossRoom)
        return refusal(BoardsFault::PortTooHigh, "the port height hp", d.hp, "the inner space it crosses",
                       p.crossRoom);
    const double strip = d.thick2 / 10.0;
    if (portNeedsStrip(d, s) && d.hp + strip > p.crossRoom)
        return refusal(BoardsFault::PortTooHigh, "the port height hp with its closing strip", d.hp + strip,
                       "the inner space it crosses", p.crossRoom);
    const double stack = d.ports * (d.bp + strip);
    if (stack > p.stackRoom)
        return refusal(BoardsFault::PortTooWide, "the port widths bp with their walls", stack,
                       "the inside of the panel that carries them", p.stackRoom);
    // The slots start at a side of the box; the first partition wall must leave them their room.
    if (d.partitions > 0) {
        const double chamber = (d.l3 - 2 * s.t - d.partitions * d.thick1 / 10.0) / (d.partitions + 1);
        if ((d.pwhere == 3 || d.pwhere == 4) && portRun(d, s) > chamber)
            return refusal(BoardsFault::PortTooLong, "the port length lp", d.lp,
                           "its panel and the room up to the nearest partition wall", chamber + wall);
        if (d.pwhere >= 0 && d.pwhere <= 2 && stack > chamber)
            return refusal(BoardsFault::PortTooWide, "the port widths bp with their walls", stack,
                           "the room up to partition wall 1", chamber);
    }
    return std::nullopt;
}

double portClearance(const Design& d, const Section& s)
{
    return runRoom(d, s) - portRun(d, s);
}

double portClearanceNeeded(const Design& d)
{
    return d.ptype == 0 ? d.dp : std::min(d.bp, d.hp);
}

void addPort(const Design& d, const Section& s, std::span<const std::string> names, BoxBoards& out)
{
    const double clearance = portClearance(d, s);
    out.portClearance = clearance;
    if (clearance < portClearanceNeeded(d) - 1e-9) {
        out.clearanceWarning = addNotice(
            out, {BoardsNotice::Kind::PortClearance, clearance, portClearanceNeeded(d), d.ptype == 0},
            d.decimalSeparator);
    }
    if (d.ptype == 0) {
        out.portHole = PortHole{carrier(d), d.dp, d.ports};
        return;
    }
    out.portSlot = PortSlot{carrier(d), d.bp, d.hp, d.ports};
    const SlotPlace p = slotPlace(d, s);
    Board b;
    b.key = "port";
    b.name = names[0];
    b.count = d.ports;
    b.thicknessMm = d.thick2;
    b.outline = p.section;
    const Point2 size = normalise(b.outline);
    b.length = mmPrecision(size.x);
    b.breadth = mmPrecision(size.y);
    b.bevels.assign(b.outline.size(), Bevel{});
    const double wall = d.thick2 / 10.0;
    const bool lying = d.pwhere == 3 || d.pwhere == 4;
    if (lying) {
        // The wall lies over the first slot, parallel to the bottom.
        const double y0 = s.innerBottom() + d.bp;
        for (double y : {y0, y0 + wall})
            for (const Point2& q : p.section)
                b.solid.push_back({q.x, y, q.y});
    } else {
        const double z0 = s.t + d.bp;
        b.solid = prism(p.section, z0, z0 + wall);
    }
    out.boards.push_back(std::move(b));
    if (!portNeedsStrip(d, s))
        return;

    // The strip closes the first slot's open side and covers its wall's edge.
    Board strip;
    strip.key = "portstrip";
    strip.name = names[1];
    strip.count = d.ports;
    strip.thicknessMm = d.thick2;
    const double across = d.bp + wall, run = portRun(d, s);
    strip.outline = {{0, 0}, {run, 0}, {run, across}, {0, across}};
    strip.length = mmPrecision(run);
    strip.breadth = mmPrecision(across);
    strip.bevels.assign(4, Bevel{});
    if (d.pwhere == 0 || d.pwhere == 1) // its ends follow the sloped panel and the wall's end
        strip.bevels[1] = strip.bevels[3] = bevelOf(std::abs(90 - (d.pwhere == 0 ? d.cb : d.ca)));
    const std::vector<Point2>& q = p.section;
    const double zs = s.t, ze = s.t + across;
    if (d.pwhere == 0 || d.pwhere == 1) {
        // Lying on the wall's top edge, its ends cut level with the wall's.
        const double y0 = q[2].y, y1 = y0 + wall;
        const double dx0 = (q[2].x - q[1].x) / (q[2].y - q[1].y), dx3 = (q[3].x - q[0].x) / (q[3].y - q[0].y);
        strip.solid =
            prism({{q[3].x, y0}, {q[2].x, y0}, {q[2].x + dx0 * wall, y1}, {q[3].x + dx3 * wall, y1}}, zs, ze);
    } else if (d.pwhere == 2) {
        const double x0 = q[1].x;
        strip.solid = prism({{x0, q[0].y}, {x0 + wall, q[0].y}, {x0 + wall, q[2].y}, {x0, q[2].y}}, zs, ze);
    } else {
        // Standing on the bottom at the slot's front edge, up over the lying wall.
        const double x0 = q[1].x, y0 = s.innerBottom();
        strip.solid =
            prism({{x0, y0}, {x0 + wall, y0}, {x0 + wall, y0 + across}, {x0, y0 + across}}, q[0].y, q[2].y);
    }
    out.boards.push_back(std::move(strip));
}

double portVolume(const Design& d, const Section& s)
{
    if (d.ports <= 0)
        return 0;
    const double run = portRun(d, s);
    if (d.ptype == 0)
        return d.ports * std::numbers::pi / 4 * d.dp * d.dp * run;
    const double wall = d.thick2 / 10.0;
    const double high = d.hp + (portNeedsStrip(d, s) ? wall : 0);
    return d.ports * run * high * (d.bp + wall);
}

} // namespace kelvra::boards_detail
