#include "layouter/BestFit.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <unordered_map>

// Why the search is exact.
//
// 1. Arrangements. Take a guillotine plan and any set S of its boards that one piece holds. The
//    first cut of that piece that has boards on both sides splits S into S1 and S2 and the piece
//    into two parts, one kerf apart; each part holds a guillotine plan of its boards. By induction
//    a piece of size w x h holds S exactly when some box of Closure(S) fits in it, where
//    Closure({b}) = {b, b turned} and Closure(S) holds, for every split S1 + S2 and boxes a, b of
//    their closures, the join beside (a.w + k + b.w, max(a.h, b.h)) and the join below
//    (max(a.w, b.w), a.h + k + b.h). Cuts that only trim waste change nothing. Both joins grow
//    with their parts, so a box that another box of the same set fits inside can never be needed:
//    keeping only the non-dominated boxes (the Pareto set) of each of the 2^n sets loses nothing.
//    The sheet's edges need no kerf, because a box only has to fit inside the sheet.
//
// 2. The largest off-cut. A plan whose largest left-over piece is P is a plan of S plus one more
//    "board" P. Follow the cuts from the sheet down to P: each cut leaves P on one side and some
//    boards B on the other (a cut with no board on the far side only shrinks P, so it is never
//    needed). With the part for B at least as wide (or high) as a Pareto box of B, the piece left
//    for P is at most the piece minus that box and one kerf. So the biggest P is the best chain
//    that takes, again and again, a Pareto box of some of the remaining boards off the left side
//    (a full-height strip) or the top (a full-width strip) of what remains, until no board is
//    left; the last piece is P. Two strips in a row on the same side are one strip of the join
//    beside (or below) of their boxes, which is in or dominated by the Pareto set of their union,
//    so chains that alternate the sides are enough. The search runs through every such chain,
//    memoised on (boards left, piece size, last side), with a bound that only skips chains that
//    cannot beat one already found; it is therefore exact. Sizes are whole ten-thousandths of a
//    cm (the model's fixed-point unit), so no rounding can decide between two plans.

namespace kelvra
{

const CutPiece* CutPlan::piece(int id) const
{
    for (const CutPiece& p : pieces)
        if (p.id == id)
            return &p;
    return nullptr;
}

std::string BestFitError::text() const
{
    switch (fault) {
    case BestFitFault::NoBoards:
        return "There are no boards to cut.";
    case BestFitFault::BadSize:
        return "The board \"" + key + "\" has no size; check the enclosure's measures.";
    case BestFitFault::TooLarge:
        return "The board \"" + key + "\" is larger than the largest sheet.";
    case BestFitFault::BadKerf:
        return "The saw thickness is not a usable number.";
    case BestFitFault::TooMany:
        return "Best fit plans at most " + std::to_string(kMaxBestFitBoards) + " boards.";
    }
    return {};
}

namespace
{

using Len = std::int64_t; // ten-thousandths of a cm
using Mask = std::uint16_t;
constexpr double kUnit = 10000.0;

Len toLen(double cm)
{
    return static_cast<Len>(std::llround(cm * kUnit));
}
double toCm(Len v)
{
    return static_cast<double>(v) / kUnit;
}

enum class Join : std::uint8_t { Board, Beside, Below };

// A non-dominated bounding box of some arrangement of a set of boards, and how it was formed.
struct Box {
    Len w = 0, h = 0;
    Join join = Join::Board;
    bool turned = false;
    int board = -1;
    Mask maskA = 0, maskB = 0;
    std::uint16_t idxA = 0, idxB = 0;
};

struct Size {
    Len w = 0, h = 0;
};

// The strip side of a chain step: a full-height strip off the left, or a full-width one off the top.
enum class Side : std::uint8_t { None, Left, Top };

struct ChainKey {
    Len w, h;
    Mask mask;
    Side last;
    bool operator==(const ChainKey&) const = default;
};

struct ChainKeyHash {
    std::size_t operator()(const ChainKey& k) const
    {
        std::uint64_t x = static_cast<std::uint64_t>(k.w) * 0x9E3779B97F4A7C15ull;
        x ^= static_cast<std::uint64_t>(k.h) + 0x632BE59BD9B4E019ull + (x << 6) + (x >> 2);
        x ^= (static_cast<std::uint64_t>(k.mask) << 2 | static_cast<std::uint64_t>(k.last)) *
             0xC2B2AE3D27D4EB4Full;
        return static_cast<std::size_t>(x ^ (x >> 29));
    }
};

struct ChainStep {
    Len value = -1; // area of the last piece of the best chain; -1: the boards do not fit
    Mask block = 0;
    std::uint16_t box = 0;
    Side side = Side::None;
};

class Search
{
public:
    Search(std::vector<Size> boards, Len kerf, Size largest) : m_boards(std::move(boards)), m_kerf(kerf)
    {
        const std::size_t n = m_boards.size();
        m_pareto.resize(std::size_t{1} << n);
        m_area.resize(m_pareto.size(), 0);
        for (std::size_t mask = 1; mask < m_pareto.size(); ++mask)
            build(static_cast<Mask>(mask), largest);
    }

    Mask all() const { return static_cast<Mask>((1u << m_boards.size()) - 1); }
    const Box& box(Mask mask, std::uint16_t i) const { return m_pareto[mask][i]; }
    Len kerf() const { return m_kerf; }

    bool fits(Mask mask, Size sheet) const
    {
        return std::any_of(m_pareto[mask].begin(), m_pareto[mask].end(),
                           [&](const Box& b) { return b.w <= sheet.w && b.h <= sheet.h; });
    }

    // The best chain for `mask` in a piece of w x h whose last strip came off `last`.
    ChainStep chain(Mask mask, Len w, Len h, Side last)
    {
        if (mask == 0)
            return {w * h, 0, 0, Side::None};
        const ChainKey key{w, h, mask, last};
        if (auto it = m_memo.find(key); it != m_memo.end())
            return it->second;
        ChainStep best;
        const Len bound = w * h - m_area[mask];
        for (Mask block = mask; block != 0 && best.value < bound;
             block = static_cast<Mask>((block - 1) & mask)) {
            const Mask rest = static_cast<Mask>(mask ^ block);
            const auto& boxes = m_pareto[block];
            for (std::uint16_t i = 0; i < boxes.size(); ++i) {
                const Box& b = boxes[i];
                if (b.w > w || b.h > h)
                    continue;
                if (last != Side::Left) {
                    const Len nw = std::max<Len>(0, w - b.w - m_kerf);
                    if (nw * h - m_area[rest] > best.value) {
                        const Len v = chain(rest, nw, h, Side::Left).value;
                        if (v > best.value)
                            best = {v, block, i, Side::Left};
                    }
                }
                if (last != Side::Top) {
                    const Len nh = std::max<Len>(0, h - b.h - m_kerf);
                    if (w * nh - m_area[rest] > best.value) {
                        const Len v = chain(rest, w, nh, Side::Top).value;
                        if (v > best.value)
                            best = {v, block, i, Side::Top};
                    }
                }
            }
        }
        m_memo.emplace(key, best);
        return best;
    }

private:
    void build(Mask mask, Size largest)
    {
        std::vector<Box> candidates;
        const Mask low = static_cast<Mask>(mask & -mask);
        for (std::size_t i = 0; i < m_boards.size(); ++i)
            if (mask & (1u << i))
                m_area[mask] += m_boards[i].w * m_boards[i].h;
        if (mask == low) {
            const int i = std::countr_zero(static_cast<unsigned>(mask));
            const Size s = m_boards[static_cast<std::size_t>(i)];
            candidates.push_back({s.w, s.h, Join::Board, false, i, 0, 0, 0, 0});
            candidates.push_back({s.h, s.w, Join::Board, true, i, 0, 0, 0, 0});
        } else {
            // Each split once: the part with the lowest board comes first.
            for (Mask a = static_cast<Mask>((mask - 1) & mask); a != 0;
                 a = static_cast<Mask>((a - 1) & mask)) {
                if (!(a & low))
                    continue;
                const Mask b = static_cast<Mask>(mask ^ a);
                const auto& pa = m_pareto[a];
                const auto& pb = m_pareto[b];
                for (std::uint16_t i = 0; i < pa.size(); ++i) {
                    for (std::uint16_t j = 0; j < pb.size(); ++j) {
                        const Box& x = pa[i];
                        const Box& y = pb[j];
                        candidates.push_back(
                            {x.w + m_kerf + y.w, std::max(x.h, y.h), Join::Beside, false, -1, a, b, i, j});
                        candidates.push_back(
                            {std::max(x.w, y.w), x.h + m_kerf + y.h, Join::Below, false, -1, a, b, i, j});
                    }
                }
            }
        }
        std::erase_if(candidates, [&](const Box& c) { return c.w > largest.w || c.h > largest.h; });
        // Keep the non-dominated boxes; stable, so the first of two equal boxes stays.
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const Box& x, const Box& y) { return x.w != y.w ? x.w < y.w : x.h < y.h; });
        auto& out = m_pareto[mask];
        for (const Box& c : candidates)
            if (out.empty() || c.h < out.back().h)
                out.push_back(c);
    }

    std::vector<Size> m_boards;
    Len m_kerf;
    std::vector<std::vector<Box>> m_pareto;
    std::vector<Len> m_area;
    std::unordered_map<ChainKey, ChainStep, ChainKeyHash> m_memo;
};

struct Piece {
    int sheet = 0;
    Len x = 0, y = 0, w = 0, h = 0;
    bool split = false;
    bool holdsBoard = false;
};

struct RawCut {
    int piece = 0;
    bool vertical = false;
    Len offset = 0;
    int first = -1, second = -1;
};

struct RawPlacement {
    int sheet = 0;
    Len x = 0, y = 0, w = 0, h = 0;
    bool turned = false;
    int piece = -1;
};

// Turns the chosen chains into pieces, cuts and placements, in the order of sawing.
class Saw
{
public:
    Saw(Search& search, Size sheet, std::size_t boards) : m_search(search), m_sheet(sheet)
    {
        m_placed.resize(boards);
    }

    // The whole sheets come first, so that they are pieces 1..count.
    void addSheets(int count)
    {
        for (int s = 0; s < count; ++s)
            addPiece({s, 0, 0, m_sheet.w, m_sheet.h});
    }

    void sawSheet(int sheet, Mask mask)
    {
        int rest = sheet;
        Side last = Side::None;
        while (mask != 0 && rest >= 0) {
            const Piece p = m_pieces[static_cast<std::size_t>(rest)];
            const ChainStep step = m_search.chain(mask, p.w, p.h, last);
            if (step.value < 0)
                return; // cannot happen for a group that fits; leaves the boards unplaced
            const Box& b = m_search.box(step.block, step.box);
            const bool vertical = step.side == Side::Left;
            const Len along = vertical ? b.w : b.h;
            const Len across = vertical ? p.w : p.h;
            int block = rest;
            rest = -1;
            if (along < across) {
                const auto parts = cut(block, vertical, along);
                block = parts.first;
                rest = parts.second;
            }
            place(block, step.block, step.box);
            mask = static_cast<Mask>(mask ^ step.block);
            last = step.side;
        }
    }

    std::vector<Piece> m_pieces;
    std::vector<RawCut> m_cuts;
    std::vector<RawPlacement> m_placed;

private:
    int addPiece(Piece p)
    {
        m_pieces.push_back(p);
        return static_cast<int>(m_pieces.size() - 1);
    }

    std::pair<int, int> cut(int id, bool vertical, Len offset)
    {
        const Piece p = m_pieces[static_cast<std::size_t>(id)];
        m_pieces[static_cast<std::size_t>(id)].split = true;
        const Len k = m_search.kerf();
        const Len rest = (vertical ? p.w : p.h) - offset - k;
        int first = 0;
        int second = -1;
        if (vertical) {
            first = addPiece({p.sheet, p.x, p.y, offset, p.h});
            if (rest > 0)
                second = addPiece({p.sheet, p.x + offset + k, p.y, rest, p.h});
        } else {
            first = addPiece({p.sheet, p.x, p.y, p.w, offset});
            if (rest > 0)
                second = addPiece({p.sheet, p.x, p.y + offset + k, p.w, rest});
        }
        m_cuts.push_back({id, vertical, offset, first, second});
        return {first, second};
    }

    // Saws the boards of box `i` of `mask` out of piece `id`, which is at least as large as the box.
    void place(int id, Mask mask, std::uint16_t i)
    {
        const Box& b = m_search.box(mask, i);
        if (m_pieces[static_cast<std::size_t>(id)].w > b.w)
            id = cut(id, true, b.w).first;
        if (m_pieces[static_cast<std::size_t>(id)].h > b.h)
            id = cut(id, false, b.h).first;
        const Piece p = m_pieces[static_cast<std::size_t>(id)];
        switch (b.join) {
        case Join::Board:
            m_pieces[static_cast<std::size_t>(id)].holdsBoard = true;
            m_placed[static_cast<std::size_t>(b.board)] = {p.sheet, p.x, p.y, p.w, p.h, b.turned, id};
            return;
        case Join::Beside: {
            const auto parts = cut(id, true, m_search.box(b.maskA, b.idxA).w);
            place(parts.first, b.maskA, b.idxA);
            place(parts.second, b.maskB, b.idxB);
            return;
        }
        case Join::Below: {
            const auto parts = cut(id, false, m_search.box(b.maskA, b.idxA).h);
            place(parts.first, b.maskA, b.idxA);
            place(parts.second, b.maskB, b.idxB);
            return;
        }
        }
    }

    Search& m_search;
    Size m_sheet;
};

CutRect rectOf(const Piece& p)
{
    return {toCm(p.x), toCm(p.y), toCm(p.w), toCm(p.h)};
}

// Smallest number of sheets of one size that hold the boards of every mask; 0 for none, a large
// number where a board does not fit at all.
std::vector<int> sheetsNeeded(const Search& search, Size sheet)
{
    const Mask all = search.all();
    constexpr int kNever = 1000;
    std::vector<int> need(std::size_t{all} + 1, kNever);
    need[0] = 0;
    for (std::size_t m = 1; m <= all; ++m) {
        const Mask mask = static_cast<Mask>(m);
        const Mask low = static_cast<Mask>(mask & -mask);
        for (Mask g = mask; g != 0; g = static_cast<Mask>((g - 1) & mask))
            if ((g & low) && search.fits(g, sheet))
                need[m] = std::min(need[m], 1 + need[mask ^ g]);
    }
    return need;
}

} // namespace

BestFitResult BestFit(std::span<const BestFitBoard> boards, double kerf, std::span<const BestFitSheet> sheets)
{
    BestFitResult result;
    auto fail = [&](BestFitFault fault, std::string key = {}) {
        result.error = {fault, std::move(key)};
        return result;
    };
    if (boards.empty())
        return fail(BestFitFault::NoBoards);
    if (boards.size() > static_cast<std::size_t>(kMaxBestFitBoards))
        return fail(BestFitFault::TooMany);
    if (!std::isfinite(kerf) || kerf < 0 || kerf > 100)
        return fail(BestFitFault::BadKerf);
    std::vector<Size> sizes;
    for (const BestFitBoard& b : boards) {
        if (!std::isfinite(b.width) || !std::isfinite(b.height) || b.width > 1e6 || b.height > 1e6)
            return fail(BestFitFault::BadSize, b.key);
        const Size s{toLen(b.width), toLen(b.height)};
        if (s.w <= 0 || s.h <= 0)
            return fail(BestFitFault::BadSize, b.key);
        sizes.push_back(s);
    }
    // Sheets from the smallest to the largest; unusable entries are never chosen.
    std::vector<std::size_t> order;
    Size largest;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const Size s{toLen(sheets[i].width), toLen(sheets[i].height)};
        if (std::isfinite(sheets[i].width) && std::isfinite(sheets[i].height) && s.w > 0 && s.h > 0 &&
            s.w < toLen(1e6) && s.h < toLen(1e6)) {
            order.push_back(i);
            largest = {std::max(largest.w, s.w), std::max(largest.h, s.h)};
        }
    }
    auto sizeOf = [&](std::size_t i) {
        return Size{toLen(sheets[i].width), toLen(sheets[i].height)};
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return sheets[a].width * sheets[a].height < sheets[b].width * sheets[b].height;
    });

    Search search(sizes, toLen(kerf), largest);
    for (std::size_t i = 0; i < sizes.size(); ++i)
        if (!search.fits(static_cast<Mask>(1u << i), largest))
            return fail(BestFitFault::TooLarge, boards[i].key);
    const Mask all = search.all();

    // The sheet: the smallest that holds all; else the fewest sheets, then the smallest.
    std::size_t chosen = 0;
    int count = 0;
    std::vector<int> need;
    for (std::size_t i : order) {
        std::vector<int> n = sheetsNeeded(search, sizeOf(i));
        if (count == 0 || n[all] < count) {
            chosen = i;
            count = n[all];
            need = std::move(n);
        }
        if (count == 1)
            break;
    }
    if (count == 0 || count > kMaxBestFitBoards)
        return fail(BestFitFault::TooLarge, boards.front().key);
    const Size sheet = sizeOf(chosen);

    // The boards of each sheet: first the group with the biggest off-cut whose remainder still
    // fits on the sheets left, and so on.
    std::vector<Mask> groups;
    Mask left = all;
    for (int s = 0; s < count; ++s) {
        Mask bestGroup = 0;
        Len bestValue = -1;
        for (Mask g = left; g != 0; g = static_cast<Mask>((g - 1) & left)) {
            if (need[left ^ g] > count - s - 1 || !search.fits(g, sheet))
                continue;
            const Len v = search.chain(g, sheet.w, sheet.h, Side::None).value;
            if (v > bestValue) {
                bestValue = v;
                bestGroup = g;
            }
        }
        groups.push_back(bestGroup);
        left = static_cast<Mask>(left ^ bestGroup);
    }

    Saw saw(search, sheet, sizes.size());
    saw.addSheets(count);
    for (int s = 0; s < count; ++s)
        saw.sawSheet(s, groups[static_cast<std::size_t>(s)]);

    CutPlan plan;
    plan.sheetIndex = static_cast<int>(chosen);
    plan.sheetCount = count;
    plan.sheet = sheets[chosen];
    plan.kerf = toCm(search.kerf());
    double boardArea = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const RawPlacement& p = saw.m_placed[i];
        BoardPlacement placed;
        placed.key = boards[i].key;
        placed.board = static_cast<int>(i);
        placed.sheet = p.sheet;
        placed.rect = {toCm(p.x), toCm(p.y), toCm(p.w), toCm(p.h)};
        placed.turned = p.turned;
        placed.piece = p.piece + 1;
        const CutRect& r = placed.rect;
        placed.outline = {{r.left, r.top}, {r.right(), r.top}, {r.right(), r.bottom()}, {r.left, r.bottom()}};
        plan.placements.push_back(std::move(placed));
        boardArea += toCm(sizes[i].w) * toCm(sizes[i].h);
    }
    for (std::size_t i = 0; i < saw.m_pieces.size(); ++i) {
        const Piece& p = saw.m_pieces[i];
        const CutPiece piece{static_cast<int>(i) + 1, p.sheet, rectOf(p)};
        plan.pieces.push_back(piece);
        if (!p.split && !p.holdsBoard)
            plan.offcuts.push_back(piece);
    }
    const Len k = search.kerf();
    double total = 0;
    for (std::size_t i = 0; i < saw.m_cuts.size(); ++i) {
        const RawCut& c = saw.m_cuts[i];
        const Piece& p = saw.m_pieces[static_cast<std::size_t>(c.piece)];
        // The line runs in the middle of what the blade takes out of this piece.
        const Len taken = std::min(k, (c.vertical ? p.w : p.h) - c.offset);
        Cut cut;
        cut.n = static_cast<int>(i) + 1;
        cut.sheet = p.sheet;
        cut.piece = c.piece + 1;
        cut.vertical = c.vertical;
        cut.offset = toCm(c.offset);
        if (c.vertical) {
            cut.fromX = cut.toX = toCm(p.x + c.offset) + toCm(taken) / 2;
            cut.fromY = toCm(p.y);
            cut.toY = toCm(p.y + p.h);
            cut.length = toCm(p.h);
        } else {
            cut.fromY = cut.toY = toCm(p.y + c.offset) + toCm(taken) / 2;
            cut.fromX = toCm(p.x);
            cut.toX = toCm(p.x + p.w);
            cut.length = toCm(p.w);
        }
        cut.firstPart = c.first + 1;
        cut.secondPart = c.second < 0 ? -1 : c.second + 1;
        total += cut.length;
        plan.cuts.push_back(cut);
    }
    plan.cutLength = total;
    const double sheetArea = toCm(sheet.w) * toCm(sheet.h) * count;
    plan.wastePercent = (sheetArea - boardArea) / sheetArea * 100.0;
    std::stable_sort(plan.offcuts.begin(), plan.offcuts.end(),
                     [](const CutPiece& a, const CutPiece& b) { return a.rect.area() > b.rect.area(); });
    result.plan = std::move(plan);
    return result;
}

} // namespace kelvra
