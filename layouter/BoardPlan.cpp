#include "layouter/BoardPlan.h"

#include "calc/Numeric.h"
#include "solid/BoardShape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvra
{

namespace
{

constexpr double kEps = 1e-6;

using Shape = std::vector<SheetPoint>;

// Up to the plan's unit (a ten-thousandth of a cm), so that the true outline always fits its rectangle.
double roundUp(double cm)
{
    return std::ceil(cm * 1e4 - 1e-4) / 1e4;
}

// Front and rear stand upright in the layouter (their length runs down the sheet), the others lie.
bool upright(const Board& b)
{
    return b.key == "front" || b.key == "rear";
}

struct Extent {
    double w = 0, h = 0;
};

Extent extentOf(const Shape& s)
{
    Extent e;
    for (const SheetPoint& p : s) {
        e.w = std::max(e.w, p.x);
        e.h = std::max(e.h, p.y);
    }
    return e;
}

// The board unturned as the layouter shows it, y down, from (0, 0).
Shape lyingShape(const Board& b)
{
    double top = 0;
    for (const Point2& p : b.outline)
        top = std::max(top, p.y);
    Shape s;
    for (const Point2& p : b.outline)
        s.push_back({p.x, top - p.y});
    if (upright(b)) {
        const double w = extentOf(s).w;
        for (SheetPoint& p : s)
            p = {p.y, w - p.x}; // a quarter turn, not a flip: the face stays up
    }
    return s;
}

// The two legs of a trapezoid whose parallel edges lie level at y = 0 and y = h: x at y = 0 and at h.
struct Legs {
    double left0 = 0, leftH = 0, right0 = 0, rightH = 0, h = 0;
};

std::optional<Legs> legsOf(const Shape& s)
{
    if (s.size() != 4)
        return std::nullopt;
    const double h = extentOf(s).h;
    std::vector<std::pair<double, double>> legs; // x at y = 0, x at y = h
    for (std::size_t i = 0; i < 4; ++i) {
        const SheetPoint a = s[i], b = s[(i + 1) % 4];
        if (std::abs(a.y - b.y) < kEps)
            continue;
        if (std::min(a.y, b.y) > kEps || std::max(a.y, b.y) < h - kEps)
            return std::nullopt;
        legs.push_back(a.y < b.y ? std::pair{a.x, b.x} : std::pair{b.x, a.x});
    }
    if (legs.size() != 2 || h <= kEps)
        return std::nullopt;
    if (legs[0].first + legs[0].second > legs[1].first + legs[1].second)
        std::swap(legs[0], legs[1]);
    const bool slanted =
        std::abs(legs[0].first - legs[0].second) > kEps || std::abs(legs[1].first - legs[1].second) > kEps;
    if (!slanted)
        return std::nullopt;
    return Legs{legs[0].first, legs[0].second, legs[1].first, legs[1].second, h};
}

// How two equal trapezoids share a strip: the first at `offsetA`, the turned copy at `offsetB`, the
// parting cut's centre line from (cutTop, 0) to (cutBottom, h).
struct Nesting {
    double width = 0;
    double offsetA = 0, offsetB = 0;
    double cutTop = 0, cutBottom = 0;
};

std::optional<Nesting> nestingOf(const Shape& s, double kerf)
{
    const std::optional<Legs> l = legsOf(s);
    if (!l)
        return std::nullopt;
    const double w = extentOf(s).w;
    // Across a slanted edge the kerf takes more of the strip's width than across a square one.
    const double gapRight = kerf * std::hypot(l->rightH - l->right0, l->h) / l->h;
    const double gapLeft = kerf * std::hypot(l->leftH - l->left0, l->h) / l->h;
    const double byRight = gapRight + l->right0 + l->rightH;
    const double byLeft = gapLeft + 2 * w - l->left0 - l->leftH;
    Nesting n;
    if (byRight <= byLeft) {
        n.width = byRight;
        n.offsetB = byRight - w;
        n.cutTop = l->right0 + gapRight / 2;
        n.cutBottom = l->rightH + gapRight / 2;
    } else {
        n.width = byLeft;
        n.offsetA = byLeft - w;
        n.cutTop = n.offsetA + l->left0 - gapLeft / 2;
        n.cutBottom = n.offsetA + l->leftH - gapLeft / 2;
    }
    return n;
}

Shape halfTurned(const Shape& s)
{
    const Extent e = extentOf(s);
    Shape out;
    for (const SheetPoint& p : s)
        out.push_back({e.w - p.x, e.h - p.y});
    return out;
}

Shape moved(Shape s, double dx, double dy)
{
    for (SheetPoint& p : s)
        p = {p.x + dx, p.y + dy};
    return s;
}

// A point of an item of width w, unturned, as it lies in the plan's rectangle.
SheetPoint onSheet(SheetPoint p, double w, const BoardPlacement& at)
{
    if (at.turned)
        p = {p.y, w - p.x};
    return {at.rect.left + p.x, at.rect.top + p.y};
}

double polygonArea(const std::vector<Point2>& outline)
{
    double twice = 0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Point2 a = outline[i], b = outline[(i + 1) % outline.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return std::abs(twice) / 2;
}

bool sameOutline(const Board& a, const Board& b)
{
    if (a.outline.size() != b.outline.size())
        return false;
    for (std::size_t i = 0; i < a.outline.size(); ++i)
        if (std::abs(a.outline[i].x - b.outline[i].x) > kEps ||
            std::abs(a.outline[i].y - b.outline[i].y) > kEps)
            return false;
    return true;
}

// One board piece to be sawn.
struct PieceOf {
    int board = 0;
    int copy = 0;
    Shape shape; // unturned, y down
};

// What Best fit places: one piece, or two equal trapezoids nested on one strip.
struct Item {
    std::vector<int> pieces;
    std::vector<Shape> shapes; // each piece's outline in the item, unturned
    double width = 0, height = 0;
    std::optional<Nesting> nesting;
};

std::vector<Item> itemsOf(const std::vector<PieceOf>& pieces, const std::vector<std::pair<int, int>>& pairs,
                          unsigned nestMask, double kerf)
{
    std::vector<Item> items;
    std::vector<bool> done(pieces.size(), false);
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        if (!(nestMask & (1u << p)))
            continue;
        const auto [a, b] = pairs[p];
        const Shape& s = pieces[static_cast<std::size_t>(a)].shape;
        Item it;
        it.nesting = nestingOf(s, kerf);
        it.pieces = {a, b};
        it.shapes = {moved(s, it.nesting->offsetA, 0), moved(halfTurned(s), it.nesting->offsetB, 0)};
        it.width = roundUp(it.nesting->width);
        it.height = roundUp(extentOf(s).h);
        items.push_back(std::move(it));
        done[static_cast<std::size_t>(a)] = done[static_cast<std::size_t>(b)] = true;
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (done[i])
            continue;
        const Extent e = extentOf(pieces[i].shape);
        items.push_back({{static_cast<int>(i)}, {pieces[i].shape}, roundUp(e.w), roundUp(e.h), std::nullopt});
    }
    // Board order, so that the plan is the same for the same boards whichever pairs are nested.
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& x, const Item& y) { return x.pieces.front() < y.pieces.front(); });
    return items;
}

// True when plan a needs less sheet than b: fewer sheets, then a smaller sheet, then a bigger off-cut.
bool lessSheet(const CutPlan& a, const CutPlan& b)
{
    if (a.sheetCount != b.sheetCount)
        return a.sheetCount < b.sheetCount;
    const double areaA = a.sheet.width * a.sheet.height, areaB = b.sheet.width * b.sheet.height;
    if (std::abs(areaA - areaB) > kEps)
        return areaA < areaB;
    return a.largestOffcut() > b.largestOffcut() + kEps;
}

// The straight line through p and q, clipped to the rectangle; false when it misses it.
bool clipped(SheetPoint p, SheetPoint q, const CutRect& r, SheetPoint& from, SheetPoint& to)
{
    const double dx = q.x - p.x, dy = q.y - p.y;
    double lo = -1e9, hi = 1e9;
    auto edge = [&](double d, double start, double min, double max) {
        if (std::abs(d) < 1e-12)
            return start >= min - kEps && start <= max + kEps;
        double t0 = (min - start) / d, t1 = (max - start) / d;
        if (t0 > t1)
            std::swap(t0, t1);
        lo = std::max(lo, t0);
        hi = std::min(hi, t1);
        return true;
    };
    if (!edge(dx, p.x, r.left, r.right()) || !edge(dy, p.y, r.top, r.bottom()) || hi - lo < kEps)
        return false;
    from = {p.x + lo * dx, p.y + lo * dy};
    to = {p.x + hi * dx, p.y + hi * dy};
    return true;
}

bool onRectEdge(SheetPoint a, SheetPoint b, const CutRect& r)
{
    auto near = [](double u, double v) {
        return std::abs(u - v) < 2e-4;
    };
    return (near(a.x, r.left) && near(b.x, r.left)) || (near(a.x, r.right()) && near(b.x, r.right())) ||
           (near(a.y, r.top) && near(b.y, r.top)) || (near(a.y, r.bottom()) && near(b.y, r.bottom()));
}

Cut slantedCut(int sheet, int piece, SheetPoint from, SheetPoint to, std::vector<int> boards)
{
    Cut c;
    c.sheet = sheet;
    c.piece = piece;
    c.slanted = true;
    c.fromX = from.x;
    c.fromY = from.y;
    c.toX = to.x;
    c.toY = to.y;
    c.length = std::hypot(to.x - from.x, to.y - from.y);
    const double dx = std::abs(to.x - from.x), dy = std::abs(to.y - from.y);
    c.vertical = dy >= dx;
    // The angle to the edges it runs between: the top and bottom for a cut that runs down the piece.
    c.angle = std::atan2(c.vertical ? dy : dx, c.vertical ? dx : dy) * 180 / std::numbers::pi;
    c.boards = std::move(boards);
    return c;
}

double distanceToLine(SheetPoint p, const Cut& c)
{
    const double dx = c.toX - c.fromX, dy = c.toY - c.fromY;
    return std::abs((p.x - c.fromX) * dy - (p.y - c.fromY) * dx) / std::hypot(dx, dy);
}

// The trims that take a trapezoid from its rectangle: one along each edge that is not the rectangle's
// own, the kerf on the waste side.
void addTrims(const BoardPlacement& b, int index, const CutRect& piece, double kerf, const Cut* parting,
              std::vector<Cut>& out)
{
    const Shape& s = b.outline;
    double cx = 0, cy = 0;
    for (const SheetPoint& p : s) {
        cx += p.x / static_cast<double>(s.size());
        cy += p.y / static_cast<double>(s.size());
    }
    for (std::size_t i = 0; i < s.size(); ++i) {
        const SheetPoint a = s[i], c = s[(i + 1) % s.size()];
        if (onRectEdge(a, c, piece))
            continue;
        if (parting && distanceToLine(a, *parting) < kerf / 2 + 1e-3 &&
            distanceToLine(c, *parting) < kerf / 2 + 1e-3)
            continue; // the parting cut makes this edge
        const double len = std::hypot(c.x - a.x, c.y - a.y);
        double nx = (c.y - a.y) / len, ny = -(c.x - a.x) / len;
        if (nx * ((a.x + c.x) / 2 - cx) + ny * ((a.y + c.y) / 2 - cy) < 0) {
            nx = -nx;
            ny = -ny;
        }
        const double d = kerf / 2;
        SheetPoint from, to;
        if (clipped({a.x + nx * d, a.y + ny * d}, {c.x + nx * d, c.y + ny * d}, piece, from, to) ||
            clipped(a, c, piece, from, to))
            out.push_back(slantedCut(b.sheet, b.piece, from, to, {index}));
    }
}

} // namespace

std::string BoardPlanResult::text() const
{
    if (boardsError)
        return boardsError->text();
    return planError.text();
}

std::optional<double> nestedStripWidth(const std::vector<Point2>& outline, double kerf)
{
    Board b;
    b.outline = outline;
    const std::optional<Nesting> n = nestingOf(lyingShape(b), kerf);
    if (!n)
        return std::nullopt;
    return n->width;
}

CutPlanText describeBoardPlan(const CutPlan& plan, const BoxBoards& boards, char sep, Measure measure,
                              const CutPlanWords& words)
{
    const std::vector<std::string> names = boardNames(boards);
    CutPlanText text = describeCutPlan(plan, names, sep, measure, words);
    const Vec3 middle = boxMiddle(boards.boards);
    int n = static_cast<int>(plan.cuts.size());
    auto degrees = [&](double v) {
        return formatDouble(roundHalfEven(v, 1), sep) + "\u00b0";
    };
    for (const BoardPlacement& p : plan.placements) {
        const std::size_t i = static_cast<std::size_t>(p.board);
        if (i >= boards.boards.size())
            continue;
        const Board& b = boards.boards[i];
        const BoardShape shape = boardShape(b, middle);
        std::string name = i < names.size() ? names[i] : std::string();
        name = name.substr(0, name.find_first_of("\r\n"));
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        name = (name.empty() ? b.key : name) + (p.copy > 0 ? " #" + std::to_string(p.copy + 1) : "");
        for (std::size_t e = 0; e < b.bevels.size() && e < b.outline.size(); ++e) {
            const Bevel& bevel = b.bevels[e];
            if (roundHalfEven(bevel.degrees, 1) == 0)
                continue;
            const Point2 a = b.outline[e], c = b.outline[(e + 1) % b.outline.size()];
            const double edge = std::hypot(c.x - a.x, c.y - a.y);
            const std::string length = measure == Measure::Imperial
                                           ? lengthWithUnit(edge, measure, sep, 2)
                                           : withFigures(words.cm, {lengthText(edge, measure, sep, 2)});
            const std::string blade =
                bevel.beyondSaw ? withFigures(words.bladeTiltOnEdge,
                                              {degrees(bevel.complementary), degrees(bevel.degrees)})
                                : withFigures(words.bladeTilt, {degrees(bevel.degrees)});
            std::string line =
                withFigures(words.bevel, {std::to_string(++n), name, std::to_string(e + 1), length, blade});
            const LongFace face = e < shape.longFaces.size() ? shape.longFaces[e] : LongFace::Both;
            if (face != LongFace::Both)
                line += ", " + (face == LongFace::Outer ? words.outerLong : words.innerLong);
            text.cuts.push_back(line);
        }
    }
    return text;
}

std::vector<std::string> boardNames(const BoxBoards& boards)
{
    std::vector<std::string> names;
    for (const Board& b : boards.boards)
        names.push_back(b.name);
    return names;
}

BoardPlanResult planBoards(const BoxBoards& boards, double kerf, std::span<const BestFitSheet> sheets)
{
    BoardPlanResult result;
    result.boards = boards;
    std::vector<PieceOf> pieces;
    for (std::size_t i = 0; i < boards.boards.size(); ++i)
        for (int c = 0; c < boards.boards[i].count; ++c)
            pieces.push_back({static_cast<int>(i), c, lyingShape(boards.boards[i])});

    // Equal trapezoids in twos: the copies of one board, or two boards of the same outline.
    std::vector<std::pair<int, int>> pairs;
    std::vector<bool> paired(pieces.size(), false);
    for (std::size_t a = 0; a < pieces.size(); ++a) {
        if (paired[a] || !nestingOf(pieces[a].shape, kerf))
            continue;
        for (std::size_t b = a + 1; b < pieces.size(); ++b) {
            const Board& x = boards.boards[static_cast<std::size_t>(pieces[a].board)];
            const Board& y = boards.boards[static_cast<std::size_t>(pieces[b].board)];
            if (!paired[b] && x.thicknessMm == y.thicknessMm && sameOutline(x, y)) {
                pairs.emplace_back(static_cast<int>(a), static_cast<int>(b));
                paired[a] = paired[b] = true;
                break;
            }
        }
    }
    if (pairs.size() > 4)
        pairs.resize(4); // beyond that the choice of which to nest costs more than it can save

    // Every choice of nested pairs; the plan that needs least sheet, the un-nested one on a tie.
    std::optional<CutPlan> best;
    std::vector<Item> bestItems;
    for (unsigned mask = 0; mask < (1u << pairs.size()); ++mask) {
        std::vector<Item> items = itemsOf(pieces, pairs, mask, kerf);
        std::vector<BestFitBoard> rects;
        for (const Item& it : items)
            rects.push_back({boards
                                 .boards[static_cast<std::size_t>(
                                     pieces[static_cast<std::size_t>(it.pieces.front())].board)]
                                 .key,
                             it.width, it.height});
        BestFitResult r = BestFit(rects, kerf, sheets);
        if (!r.ok()) {
            if (!best && mask == 0)
                result.planError = r.error;
            continue;
        }
        if (!best || lessSheet(*r.plan, *best)) {
            best = std::move(r.plan);
            bestItems = std::move(items);
        }
    }
    if (!best) {
        if (pieces.empty())
            result.planError = {BestFitFault::NoBoards, {}};
        return result;
    }

    CutPlan plan = *best;
    std::vector<BoardPlacement> placed(pieces.size());
    std::vector<Cut> slanted;
    double boardArea = 0;
    for (std::size_t i = 0; i < bestItems.size(); ++i) {
        const Item& it = bestItems[i];
        const BoardPlacement& at = best->placements[i];
        for (std::size_t k = 0; k < it.pieces.size(); ++k) {
            const PieceOf& pc = pieces[static_cast<std::size_t>(it.pieces[k])];
            const Board& board = boards.boards[static_cast<std::size_t>(pc.board)];
            BoardPlacement b;
            b.key = board.key;
            b.board = pc.board;
            b.copy = pc.copy;
            b.sheet = at.sheet;
            b.turned = at.turned;
            b.piece = at.piece;
            for (const SheetPoint& p : it.shapes[k])
                b.outline.push_back(onSheet(p, it.width, at));
            if (it.pieces.size() == 1) {
                b.rect = at.rect;
            } else {
                double l = 1e300, t = 1e300, r = -1e300, bo = -1e300;
                for (const SheetPoint& p : b.outline) {
                    l = std::min(l, p.x);
                    t = std::min(t, p.y);
                    r = std::max(r, p.x);
                    bo = std::max(bo, p.y);
                }
                b.rect = {l, t, r - l, bo - t};
                b.nestedWith = it.pieces[1 - k];
            }
            boardArea += polygonArea(board.outline);
            placed[static_cast<std::size_t>(it.pieces[k])] = std::move(b);
        }
        std::optional<Cut> parting;
        if (it.nesting) {
            const SheetPoint from = onSheet({it.nesting->cutTop, 0}, it.width, at);
            const SheetPoint to = onSheet({it.nesting->cutBottom, it.height}, it.width, at);
            parting = slantedCut(at.sheet, at.piece, from, to, it.pieces);
            slanted.push_back(*parting);
        }
        for (int p : it.pieces)
            addTrims(placed[static_cast<std::size_t>(p)], p, at.rect, kerf, parting ? &*parting : nullptr,
                     slanted);
    }
    plan.placements = std::move(placed);

    // Each sheet's slanted cuts follow its straight ones; then all are numbered again in that order.
    std::vector<Cut> cuts;
    for (int s = 0; s < plan.sheetCount; ++s) {
        for (const Cut& c : best->cuts)
            if (c.sheet == s)
                cuts.push_back(c);
        for (const Cut& c : slanted)
            if (c.sheet == s)
                cuts.push_back(c);
    }
    plan.cutLength = 0;
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        cuts[i].n = static_cast<int>(i) + 1;
        plan.cutLength += cuts[i].length;
    }
    plan.cuts = std::move(cuts);
    const double sheetArea = plan.sheet.width * plan.sheet.height * plan.sheetCount;
    plan.wastePercent = (sheetArea - boardArea) / sheetArea * 100.0;
    result.plan = std::move(plan);
    return result;
}

BoardPlanResult planDesign(const ModelInputs& inputs, char decimalSeparator, double kerf,
                           std::span<const std::string> names, std::span<const BestFitSheet> sheets)
{
    BoardsResult built = buildBoards(inputs, decimalSeparator, names);
    if (!built.ok()) {
        BoardPlanResult r;
        r.boardsError = built.error;
        return r;
    }
    return planBoards(*built.boards, kerf, sheets);
}

} // namespace kelvra
