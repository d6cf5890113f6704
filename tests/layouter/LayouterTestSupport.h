// Designs for the layouter tests: the model recalculated from the main window's texts; the checker
// of a cutting plan's geometry.
#pragma once

#include "calc/Recalculate.h"
#include "layouter/BestFit.h"
#include "layouter/PanelSet.h"
#include "tests/support/SeparatorText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace kelvra::test
{

using Changes = std::map<std::string, std::string>;

// The window's design texts: 39 high, 45 long, 60,2 wide, both angles 90, 18 mm boards, no port.
inline Changes defaultDesign()
{
    return {{"h2", "39"}, {"l3", "45"}, {"b2", "60,2"}, {"ca", "90"}, {"cb", "90"}, {"thick0", "18"}};
}

inline Changes with(Changes base, const Changes& more)
{
    for (const auto& [k, v] : more)
        base[k] = v;
    return base;
}

inline ModelInputs inputsOf(const Changes& changes, char sep)
{
    ModelInputs in = firstRunInputs();
    for (const auto& [name, value] : changes) {
        const ModelKey* key = findModelKey(name);
        EXPECT_NE(key, nullptr) << name;
        if (!key)
            continue;
        if (key->kind == KeyKind::List)
            listPosition(in, *key) = std::stoi(value);
        else
            textOf(in, *key) = under(value, sep);
    }
    return in;
}

// The panel model after a complete recalculation of the design.
inline PanelModel modelOf(const Changes& changes, char sep)
{
    const ModelInputs in = inputsOf(changes, sep);
    const RecalcResult r = Recalculate(makeRecalcInputs(in, true, sep), CalcState{});
    EXPECT_TRUE(r.outcome.ranToEnd);
    return panelModelOf(r.state.derived, in, sep);
}

inline bool near(double a, double b, double tol = 1e-6)
{
    return std::fabs(a - b) < tol;
}

inline bool sameRect(const CutRect& a, const CutRect& b)
{
    return near(a.left, b.left) && near(a.top, b.top) && near(a.width, b.width) && near(a.height, b.height);
}

inline double distanceToSegment(SheetPoint p, SheetPoint a, SheetPoint b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// The smallest distance between two convex outlines that do not overlap.
inline double gapBetween(const std::vector<SheetPoint>& a, const std::vector<SheetPoint>& b)
{
    double gap = 1e300;
    for (int pass = 0; pass < 2; ++pass)
        for (const SheetPoint& v : pass ? b : a)
            for (std::size_t i = 0, n = (pass ? a : b).size(); i < n; ++i)
                gap = std::min(gap, distanceToSegment(v, (pass ? a : b)[i], (pass ? a : b)[(i + 1) % n]));
    return gap;
}

// What is wrong with a cutting plan, empty when it is sound. `sizes` holds each placement's board
// (key, width, height), either way round. Boards lie on their sheet a kerf apart (a nested pair: their
// outlines); each straight cut splits a whole open piece from edge to edge into the parts it names; a
// slanted one crosses only its piece, half a kerf from its boards; the cuts add up; after them each
// board is its own piece and the off-cuts, largest first, are pieces left.
inline std::vector<std::string> problemsOf(const CutPlan& plan, const std::vector<BestFitBoard>& sizes)
{
    std::vector<std::string> bad;
    const auto check = [&](bool ok, const std::string& what) {
        if (!ok)
            bad.push_back(what);
    };
    constexpr double e = 1e-6;
    const double kerf = plan.kerf;
    const CutRect sheet{0, 0, plan.sheet.width, plan.sheet.height};
    check(plan.sheetCount >= 1 && plan.placements.size() == sizes.size(), "sheets or placements");
    for (std::size_t i = 0; i < plan.placements.size() && i < sizes.size(); ++i) {
        const BoardPlacement& p = plan.placements[i];
        const BestFitBoard& b = sizes[i];
        const CutRect& r = p.rect;
        check(p.key == b.key, b.key + " out of order");
        check(near(std::max(r.width, r.height), std::max(b.width, b.height), 0.006) &&
                  near(std::min(r.width, r.height), std::min(b.width, b.height), 0.006),
              b.key + " has the wrong size");
        check(r.left > -e && r.top > -e && r.right() < sheet.width + e && r.bottom() < sheet.height + e &&
                  p.sheet >= 0 && p.sheet < plan.sheetCount,
              b.key + " is off the sheet");
        for (const SheetPoint& q : p.outline)
            check(q.x > r.left - e && q.x < r.right() + e && q.y > r.top - e && q.y < r.bottom() + e,
                  b.key + " lies outside its rectangle");
        for (std::size_t j = 0; j < i; ++j) {
            const BoardPlacement& o = plan.placements[j];
            const CutRect& a = o.rect;
            const bool apart = o.nestedWith == static_cast<int>(i)
                                   ? gapBetween(p.outline, o.outline) > kerf - 1e-4
                                   : a.right() + kerf <= r.left + e || r.right() + kerf <= a.left + e ||
                                         a.bottom() + kerf <= r.top + e || r.bottom() + kerf <= a.top + e;
            check(o.sheet != p.sheet || apart, o.key + " and " + b.key + " lie closer than a kerf");
        }
    }
    std::map<int, std::pair<CutRect, int>> open; // piece, sheet
    for (int s = 0; s < plan.sheetCount; ++s)
        open[s + 1] = {sheet, s};
    double total = 0;
    bool slanted = false;
    for (std::size_t i = 0; i < plan.cuts.size(); ++i) {
        const Cut& c = plan.cuts[i];
        const std::string cut = "cut " + std::to_string(c.n);
        check(c.n == static_cast<int>(i) + 1, cut + " out of order");
        total += c.length;
        const auto it = open.find(c.piece);
        if (it == open.end()) {
            bad.push_back(cut + " splits no open piece");
            continue;
        }
        const auto [r, s] = it->second;
        check(c.sheet == s, cut + " on the wrong sheet");
        if (c.slanted) {
            slanted = true;
            for (const SheetPoint q : {SheetPoint{c.fromX, c.fromY}, SheetPoint{c.toX, c.toY}})
                check(near(q.x, r.left, 1e-4) || near(q.x, r.right(), 1e-4) || near(q.y, r.top, 1e-4) ||
                          near(q.y, r.bottom(), 1e-4),
                      cut + " stops inside its piece");
            for (const BoardPlacement& p : plan.placements)
                for (const SheetPoint& q : p.outline)
                    check(p.piece != c.piece ||
                              distanceToSegment(q, {c.fromX, c.fromY}, {c.toX, c.toY}) > kerf / 2 - 1e-4,
                          cut + " runs into " + p.key);
            continue;
        }
        open.erase(it);
        // Along the cut and across it, whichever way it runs.
        const bool v = c.vertical;
        const double from = v ? r.left : r.top, across = v ? r.width : r.height,
                     along = v ? r.height : r.width;
        const double at = v ? c.fromX : c.fromY;
        check(c.offset > e && c.offset < across - e, cut + " is not inside its piece");
        check(near(v ? c.fromY : c.fromX, v ? r.top : r.left) &&
                  near(v ? c.toY : c.toX, v ? r.bottom() : r.right()) && near(at, v ? c.toX : c.toY) &&
                  at > from + c.offset - e && at < std::min(from + across, from + c.offset + kerf) + e &&
                  near(c.length, along),
              cut + " does not run through its piece");
        CutRect first = r, second = r;
        (v ? first.width : first.height) = c.offset;
        (v ? second.left : second.top) = from + c.offset + kerf;
        (v ? second.width : second.height) = across - c.offset - kerf;
        for (const auto& [id, rect] : {std::pair{c.firstPart, first}, std::pair{c.secondPart, second}}) {
            if (id < 0)
                continue;
            const CutPiece* p = plan.piece(id);
            check(p && sameRect(p->rect, rect) && !open.count(id), cut + " makes a wrong part");
            open[id] = {rect, s};
        }
        check(c.secondPart >= 0 || (v ? second.width : second.height) < e, cut + " loses a part");
    }
    check(near(total, plan.cutLength), "total cut length");
    std::size_t boardPieces = 0;
    for (const BoardPlacement& p : plan.placements) {
        const auto o = open.find(p.piece);
        const bool free = o != open.end() && o->second.second == p.sheet &&
                          (p.nestedWith >= 0 || slanted || sameRect(o->second.first, p.rect));
        check(free, p.key + " is not cut free");
        boardPieces += free && p.nestedWith < 0;
    }
    for (std::size_t i = 0; i < plan.offcuts.size(); ++i) {
        check(i == 0 || plan.offcuts[i].rect.area() <= plan.offcuts[i - 1].rect.area() + e, "off-cut order");
        const auto o = open.find(plan.offcuts[i].id);
        check(o != open.end() && sameRect(o->second.first, plan.offcuts[i].rect), "off-cut is no piece left");
    }
    check(slanted || plan.offcuts.size() + boardPieces == open.size(),
          "off-cuts do not match the pieces left");
    return bad;
}

} // namespace kelvra::test
