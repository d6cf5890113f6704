#include "solid/BoardShape.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kelvra
{

Vec3 operator+(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator*(Vec3 a, double k)
{
    return {a.x * k, a.y * k, a.z * k};
}
double dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 unit(Vec3 a)
{
    const double n = std::sqrt(dot(a, a));
    return n > 0 ? a * (1 / n) : a;
}

namespace
{

Vec3 meanOf(const std::vector<Vec3>& points)
{
    Vec3 sum;
    for (const Vec3& p : points)
        sum = sum + p;
    return points.empty() ? sum : sum * (1.0 / static_cast<double>(points.size()));
}

double distanceToLine(Point2 p, Point2 a, Point2 b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::hypot(dx, dy);
    return len > 0 ? std::abs((p.x - a.x) * dy - (p.y - a.y) * dx) / len : std::hypot(p.x - a.x, p.y - a.y);
}

} // namespace

Vec3 areaNormal(const std::vector<Vec3>& corners)
{
    Vec3 n;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Vec3 a = corners[i];
        const Vec3 b = corners[(i + 1) % corners.size()];
        n = n + Vec3{(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
    }
    return n;
}

Vec3 onBoard(const BoardShape& shape, double u, double v, double depth)
{
    return shape.origin + shape.axisU * u + shape.axisV * v + shape.axisN * depth;
}

Vec3 boxMiddle(const std::vector<Board>& boards)
{
    Vec3 lo{1e300, 1e300, 1e300}, hi{-1e300, -1e300, -1e300};
    for (const Board& b : boards)
        for (const Point3& p : b.solid) {
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
    return lo.x > hi.x ? Vec3{} : (lo + hi) * 0.5;
}

BoardShape boardShape(const Board& board, Vec3 middle)
{
    BoardShape s;
    std::vector<Vec3> points;
    for (const Point3& p : board.solid)
        points.push_back({p.x, p.y, p.z});
    const std::size_t n = points.size() / 2;
    if (n < 3)
        return s;
    // A prism: the cross-section at one end, the same corners at the other, one face per edge between.
    s.faces.emplace_back(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(n));
    s.faces.emplace_back(points.begin() + static_cast<std::ptrdiff_t>(n), points.end());
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        s.faces.push_back({points[i], points[j], points[n + j], points[n + i]});
    }
    const Vec3 centre = meanOf(points);
    std::vector<double> areas;
    for (std::vector<Vec3>& f : s.faces) {
        Vec3 normal = areaNormal(f);
        if (dot(normal, meanOf(f) - centre) < 0) {
            std::reverse(f.begin(), f.end());
            normal = normal * -1;
        }
        areas.push_back(std::sqrt(dot(normal, normal)) / 2);
        s.normals.push_back(unit(normal));
    }
    // The broad faces: the largest, and the largest that looks the opposite way.
    for (std::size_t i = 0; i < s.faces.size(); ++i)
        if (s.broadA < 0 || areas[i] > areas[static_cast<std::size_t>(s.broadA)] + 1e-9)
            s.broadA = static_cast<int>(i);
    const Vec3 nA = s.normals[static_cast<std::size_t>(s.broadA)];
    for (std::size_t i = 0; i < s.faces.size(); ++i)
        if (dot(s.normals[i], nA) < -0.999 &&
            (s.broadB < 0 || areas[i] > areas[static_cast<std::size_t>(s.broadB)] + 1e-9))
            s.broadB = static_cast<int>(i);
    if (s.broadB < 0) {
        s.broadA = -1;
        return s;
    }

    // The outline's axes as the boards core draws it: v up the board (or from rear to front for a
    // lying board), u along the box's length, else across its width.
    const Vec3 X{1, 0, 0}, Y{0, 1, 0}, Z{0, 0, 1};
    const Vec3 V = std::abs(dot(nA, Y)) < 0.9 ? unit(Y - nA * dot(Y, nA)) : unit(X - nA * dot(X, nA));
    Vec3 U = cross(V, nA);
    if (std::abs(dot(U, Z)) > 0.1 ? dot(U, Z) < 0 : dot(U, X) < 0)
        U = U * -1;
    s.axisU = U;
    s.axisV = V;
    auto extent = [&](Vec3 axis, double& lo, double& hi) {
        lo = std::numeric_limits<double>::max();
        hi = -lo;
        for (const Vec3& p : points) {
            lo = std::min(lo, dot(p, axis));
            hi = std::max(hi, dot(p, axis));
        }
    };
    double uLo = 0, uHi = 0, vLo = 0, vHi = 0;
    extent(s.axisU, uLo, uHi);
    extent(s.axisV, vLo, vHi);
    // A board whose length runs the other way (a port wall lying flat) swaps the axes.
    if (std::abs((vHi - vLo) - board.length) + 1e-6 < std::abs((uHi - uLo) - board.length)) {
        std::swap(s.axisU, s.axisV);
        std::swap(uLo, vLo);
        std::swap(uHi, vHi);
    }
    // The outline may be the mirror image of what these axes give: take the reading that fits it best.
    std::vector<Point2> projected;
    for (const Vec3& p : points)
        projected.push_back({dot(p, s.axisU) - uLo, dot(p, s.axisV) - vLo});
    const double lenU = uHi - uLo, lenV = vHi - vLo;
    double best = std::numeric_limits<double>::max();
    int bestFlip = 0;
    for (int flip = 0; flip < 4; ++flip) {
        double miss = 0;
        for (const Point2& o : board.outline) {
            double nearest = std::numeric_limits<double>::max();
            for (const Point2& q : projected) {
                const double x = flip & 1 ? lenU - q.x : q.x, y = flip & 2 ? lenV - q.y : q.y;
                nearest = std::min(nearest, std::hypot(x - o.x, y - o.y));
            }
            miss += nearest;
        }
        if (miss < best - 1e-9) {
            best = miss;
            bestFlip = flip;
        }
    }
    if (bestFlip & 1) {
        s.axisU = s.axisU * -1;
        uLo = -uHi;
    }
    if (bestFlip & 2) {
        s.axisV = s.axisV * -1;
        vLo = -vHi;
    }
    s.axisN = cross(s.axisU, s.axisV);
    const Vec3 onA = s.faces[static_cast<std::size_t>(s.broadA)].front();
    s.origin = s.axisU * uLo + s.axisV * vLo + s.axisN * dot(onA, s.axisN);
    s.outerIsA = dot(nA, centre - middle) >= 0;

    // At each outline edge, the broad face that reaches it is the long one.
    auto reaches = [&](int face, Point2 a, Point2 b) {
        int near = 0;
        for (const Vec3& p : s.faces[static_cast<std::size_t>(face)]) {
            const Point2 q{dot(p - s.origin, s.axisU), dot(p - s.origin, s.axisV)};
            if (distanceToLine(q, a, b) < 1e-4)
                ++near;
        }
        return near >= 2;
    };
    for (std::size_t i = 0; i < board.outline.size(); ++i) {
        const Point2 a = board.outline[i], b = board.outline[(i + 1) % board.outline.size()];
        const bool inA = reaches(s.broadA, a, b), inB = reaches(s.broadB, a, b);
        if (inA == inB)
            s.longFaces.push_back(LongFace::Both);
        else
            s.longFaces.push_back(inA == s.outerIsA ? LongFace::Outer : LongFace::Inner);
    }
    return s;
}

} // namespace kelvra
