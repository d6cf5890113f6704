#include "solid/Triangulate.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kelvra
{

namespace
{

double cross2(Point2 o, Point2 a, Point2 b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool same(Point2 a, Point2 b)
{
    return std::abs(a.x - b.x) < 1e-12 && std::abs(a.y - b.y) < 1e-12;
}

// Segments ab and cd cross at a point inside both (touching ends do not count).
bool crossProperly(Point2 a, Point2 b, Point2 c, Point2 d)
{
    if (same(a, c) || same(a, d) || same(b, c) || same(b, d))
        return false;
    const double d1 = cross2(a, b, c), d2 = cross2(a, b, d), d3 = cross2(c, d, a), d4 = cross2(c, d, b);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

bool insideTriangle(Point2 p, Point2 a, Point2 b, Point2 c)
{
    return cross2(a, b, p) >= 0 && cross2(b, c, p) >= 0 && cross2(c, a, p) >= 0;
}

// The direction d leaves vertex p into the ring's inside, between the edges to `next` and from `prev`.
bool intoWedge(Point2 prev, Point2 p, Point2 next, Point2 d)
{
    const double a = std::atan2(next.y - p.y, next.x - p.x);
    const double b = std::atan2(prev.y - p.y, prev.x - p.x);
    const double t = std::atan2(d.y - p.y, d.x - p.x);
    const double twoPi = 2 * std::acos(-1.0);
    auto sweep = [&](double from, double to) {
        double s = to - from;
        while (s < 0)
            s += twoPi;
        while (s >= twoPi)
            s -= twoPi;
        return s;
    };
    return sweep(a, t) < sweep(a, b);
}

} // namespace

double ringArea2(const std::vector<Point2>& points, const std::vector<int>& ring)
{
    double sum = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point2 a = points[static_cast<std::size_t>(ring[i])];
        const Point2 b = points[static_cast<std::size_t>(ring[(i + 1) % ring.size()])];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum;
}

std::vector<std::array<int, 3>> triangulate(const std::vector<Point2>& points, std::vector<int> outer,
                                            std::vector<std::vector<int>> holes)
{
    auto at = [&](int i) {
        return points[static_cast<std::size_t>(i)];
    };
    if (ringArea2(points, outer) < 0)
        std::reverse(outer.begin(), outer.end());
    for (std::vector<int>& h : holes)
        if (ringArea2(points, h) > 0)
            std::reverse(h.begin(), h.end());
    // The hole reaching furthest right is bridged first, to the nearest corner it can see.
    auto rightmost = [&](const std::vector<int>& h) {
        return static_cast<std::size_t>(
            std::max_element(h.begin(), h.end(), [&](int a, int b) { return at(a).x < at(b).x; }) -
            h.begin());
    };
    std::sort(holes.begin(), holes.end(), [&](const std::vector<int>& a, const std::vector<int>& b) {
        return at(a[rightmost(a)]).x > at(b[rightmost(b)]).x;
    });
    std::vector<int> ring = std::move(outer);
    for (std::size_t k = 0; k < holes.size(); ++k) {
        const std::vector<int>& hole = holes[k];
        if (hole.size() < 3)
            continue;
        const std::size_t m = rightmost(hole);
        const Point2 M = at(hole[m]);
        auto blocked = [&](Point2 p) {
            auto crossesRing = [&](const std::vector<int>& r) {
                for (std::size_t i = 0; i < r.size(); ++i)
                    if (crossProperly(M, p, at(r[i]), at(r[(i + 1) % r.size()])))
                        return true;
                return false;
            };
            if (crossesRing(ring))
                return true;
            for (std::size_t j = k; j < holes.size(); ++j)
                if (crossesRing(holes[j]))
                    return true;
            return false;
        };
        std::size_t best = ring.size();
        double bestDistance = std::numeric_limits<double>::max();
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const Point2 p = at(ring[i]);
            const double d = std::hypot(p.x - M.x, p.y - M.y);
            if (d >= bestDistance || same(p, M))
                continue;
            const Point2 prev = at(ring[(i + ring.size() - 1) % ring.size()]);
            const Point2 next = at(ring[(i + 1) % ring.size()]);
            if (!intoWedge(prev, p, next, M) || blocked(p))
                continue;
            best = i;
            bestDistance = d;
        }
        if (best == ring.size())
            continue; // cannot be seen from anywhere: left closed rather than torn
        std::vector<int> spliced(ring.begin(), ring.begin() + static_cast<std::ptrdiff_t>(best) + 1);
        for (std::size_t j = 0; j <= hole.size(); ++j)
            spliced.push_back(hole[(m + j) % hole.size()]);
        spliced.insert(spliced.end(), ring.begin() + static_cast<std::ptrdiff_t>(best), ring.end());
        ring = std::move(spliced);
    }

    std::vector<std::array<int, 3>> triangles;
    while (ring.size() > 3) {
        const std::size_t n = ring.size();
        std::size_t ear = n;
        double fallbackTurn = -std::numeric_limits<double>::max();
        std::size_t fallback = 0;
        for (std::size_t i = 0; i < n && ear == n; ++i) {
            const Point2 a = at(ring[(i + n - 1) % n]), b = at(ring[i]), c = at(ring[(i + 1) % n]);
            const double turn = cross2(a, b, c);
            if (turn > fallbackTurn) {
                fallbackTurn = turn;
                fallback = i;
            }
            if (turn <= 1e-14)
                continue;
            bool empty = true;
            for (std::size_t j = 0; j < n && empty; ++j) {
                const Point2 p = at(ring[j]);
                if (same(p, a) || same(p, b) || same(p, c))
                    continue;
                empty = !insideTriangle(p, a, b, c);
            }
            if (empty)
                ear = i;
        }
        if (ear == n)
            ear = fallback; // rounding left no clean ear: cut the most convex corner
        const std::size_t i = ear;
        const int a = ring[(i + n - 1) % n], b = ring[i], c = ring[(i + 1) % n];
        if (cross2(at(a), at(b), at(c)) > 0)
            triangles.push_back({a, b, c});
        ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (ring.size() == 3 && cross2(at(ring[0]), at(ring[1]), at(ring[2])) > 0)
        triangles.push_back({ring[0], ring[1], ring[2]});
    return triangles;
}

} // namespace kelvra
