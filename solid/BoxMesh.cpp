#include "solid/BoxMesh.h"

#include "solid/Triangulate.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>

namespace kelvra
{

namespace
{

// Corners closer than this (cm) are one corner: the same point reached from two faces differs in the
// last digits.
constexpr double kSame = 1e-6;
// How far a hole's edge that lies on the board's own edge is pushed out, so that it crosses the edge
// instead of running along it.
constexpr double kPushOut = 1;

double area2(const std::vector<Point2>& ring)
{
    double sum = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point2 a = ring[i], b = ring[(i + 1) % ring.size()];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum;
}

bool near2(Point2 a, Point2 b)
{
    return std::hypot(a.x - b.x, a.y - b.y) < 1e-9;
}

bool insidePolygon(const std::vector<Point2>& ring, Point2 p)
{
    bool in = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
        if ((ring[i].y > p.y) != (ring[j].y > p.y) &&
            p.x < (ring[j].x - ring[i].x) * (p.y - ring[i].y) / (ring[j].y - ring[i].y) + ring[i].x)
            in = !in;
    return in;
}

// A face's own plane, turned so that counter-clockwise in it looks out of the board.
struct Frame {
    Vec3 origin, e1, e2;
    Point2 flat(Vec3 p) const { return {dot(p - origin, e1), dot(p - origin, e2)}; }
    Vec3 solid(Point2 p) const { return origin + e1 * p.x + e2 * p.y; }
};

Frame frameOf(const std::vector<Vec3>& face, Vec3 normal)
{
    Vec3 e1;
    for (std::size_t i = 0; i < face.size() && dot(e1, e1) < 0.5; ++i)
        e1 = unit(face[(i + 1) % face.size()] - face[i]);
    return {face.front(), e1, cross(unit(normal), e1)};
}

// One side of a hole cut straight through the board: the hole is where `at` is below zero.
struct Side {
    Vec3 point, normal;
    double at(Vec3 p) const { return dot(p - point, normal); }
};

std::vector<Side> sidesOf(const BoardShape& shape, const std::vector<Point2>& ring)
{
    std::vector<Side> sides;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point2 p = ring[i], q = ring[(i + 1) % ring.size()];
        const Point2 out = {q.y - p.y, p.x - q.x};
        sides.push_back({onBoard(shape, p.x, p.y), unit(shape.axisU * out.x + shape.axisV * out.y)});
    }
    return sides;
}

// The part of a convex polygon where a x + b y + c <= 0.
std::vector<Point2> clipFlat(const std::vector<Point2>& poly, double a, double b, double c)
{
    std::vector<Point2> out;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const Point2 p = poly[i], q = poly[(i + 1) % poly.size()];
        const double fp = a * p.x + b * p.y + c, fq = a * q.x + b * q.y + c;
        if (fp <= 0)
            out.push_back(p);
        if ((fp < 0 && fq > 0) || (fp > 0 && fq < 0)) {
            const double t = fp / (fp - fq);
            out.push_back({p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)});
        }
    }
    return out;
}

// The part of a convex polygon in space below a plane.
std::vector<Vec3> clipSolid(const std::vector<Vec3>& poly, const Side& plane)
{
    std::vector<Vec3> out;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const Vec3 p = poly[i], q = poly[(i + 1) % poly.size()];
        const double fp = plane.at(p), fq = plane.at(q);
        if (fp <= 0)
            out.push_back(p);
        if ((fp < 0 && fq > 0) || (fp > 0 && fq < 0))
            out.push_back(p + (q - p) * (fp / (fp - fq)));
    }
    return out;
}

// Where a hole passes through the plane of a face, in the face's frame, counter-clockwise.
std::vector<Point2> holeInFace(const Frame& frame, const std::vector<Side>& sides)
{
    constexpr double big = 1e4;
    std::vector<Point2> q = {{-big, -big}, {big, -big}, {big, big}, {-big, big}};
    for (const Side& s : sides)
        q = clipFlat(q, dot(frame.e1, s.normal), dot(frame.e2, s.normal),
                     dot(frame.origin - s.point, s.normal));
    return q;
}

// A face after the holes so far: its outer ring and the holes that lie wholly inside it.
struct Piece {
    std::vector<Point2> outer;
    std::vector<std::vector<Point2>> rings;
};

struct Crossing {
    Point2 p;
    double alongFace = 0, alongHole = 0; // edge index plus the part of that edge
    bool entering = false;
    bool used = false;
};

// `piece` less the convex hole `q` (counter-clockwise). The face's edge enters and leaves the hole;
// between, the remaining face follows the hole's edge backwards. Nothing when they touch in a way that
// cannot be followed (a corner exactly on the hole's edge).
std::optional<std::vector<Piece>> subtract(const Piece& piece, const std::vector<Point2>& q)
{
    const std::vector<Point2>& f = piece.outer;
    const std::size_t n = f.size(), m = q.size();
    if (m < 3)
        return std::vector<Piece>{piece};
    std::vector<Point2> outward(m);
    for (std::size_t j = 0; j < m; ++j) {
        const Point2 a = q[j], b = q[(j + 1) % m];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        outward[j] = len > 0 ? Point2{(b.y - a.y) / len, (a.x - b.x) / len} : Point2{};
    }
    auto side = [&](std::size_t j, Point2 p) {
        return (p.x - q[j].x) * outward[j].x + (p.y - q[j].y) * outward[j].y;
    };
    auto alongHole = [&](std::size_t j, Point2 p) {
        const Point2 a = q[j], b = q[(j + 1) % m];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        return static_cast<double>(j) + std::clamp(std::hypot(p.x - a.x, p.y - a.y) / len, 0.0, 0.999999999);
    };
    std::vector<Crossing> xs;
    for (std::size_t k = 0; k < n; ++k) {
        const Point2 a = f[k], b = f[(k + 1) % n];
        double t0 = 0, t1 = 1;
        std::size_t j0 = m, j1 = m;
        bool outside = false;
        for (std::size_t j = 0; j < m && !outside; ++j) {
            const double fa = side(j, a), fb = side(j, b);
            if (fa > 0 && fb > 0)
                outside = true;
            else if (fa > 0 || fb > 0) {
                const double t = fa / (fa - fb);
                if (fa > 0 && t > t0) {
                    t0 = t;
                    j0 = j;
                } else if (fa <= 0 && t < t1) {
                    t1 = t;
                    j1 = j;
                }
            }
        }
        if (outside || t0 >= t1)
            continue;
        auto at = [&](double t) {
            return Point2{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
        };
        if (j0 < m)
            xs.push_back({at(t0), static_cast<double>(k) + t0, alongHole(j0, at(t0)), true});
        if (j1 < m)
            xs.push_back({at(t1), static_cast<double>(k) + t1, alongHole(j1, at(t1)), false});
    }

    auto keepRings = [&](std::vector<Piece>& pieces) {
        for (const std::vector<Point2>& r : piece.rings) {
            auto home = std::find_if(pieces.begin(), pieces.end(),
                                     [&](const Piece& p) { return insidePolygon(p.outer, r.front()); });
            if (home == pieces.end())
                return false; // the new hole ran into an older one
            home->rings.push_back(r);
        }
        return true;
    };
    if (xs.empty()) {
        bool faceInHole = true;
        for (const Point2& p : f)
            for (std::size_t j = 0; j < m; ++j)
                faceInHole = faceInHole && side(j, p) <= 1e-9;
        if (faceInHole)
            return piece.rings.empty() ? std::optional<std::vector<Piece>>(std::vector<Piece>{})
                                       : std::nullopt;
        bool inside = true;
        for (const Point2& p : q)
            inside = inside && insidePolygon(f, p);
        Piece kept = piece;
        if (inside)
            kept.rings.push_back(q);
        return std::vector<Piece>{kept};
    }
    // The face's edge must go in and out by turns.
    if (xs.size() % 2 != 0)
        return std::nullopt;
    for (std::size_t i = 0; i < xs.size(); ++i)
        if (xs[i].entering == xs[(i + 1) % xs.size()].entering)
            return std::nullopt;

    std::vector<Piece> pieces;
    const double holeLength = static_cast<double>(m), faceLength = static_cast<double>(n);
    for (std::size_t start = 0; start < xs.size(); ++start) {
        if (xs[start].entering || xs[start].used)
            continue;
        Piece out;
        std::size_t cur = start;
        do {
            Crossing& leave = xs[cur];
            leave.used = true;
            const std::size_t nextIn = (cur + 1) % xs.size();
            Crossing& enter = xs[nextIn];
            enter.used = true;
            out.outer.push_back(leave.p);
            // The face's corners from where it leaves the hole to where it enters it again.
            double run = enter.alongFace - leave.alongFace;
            if (run <= 0)
                run += faceLength;
            for (std::size_t k = 1; k <= n; ++k) {
                const double corner = std::floor(leave.alongFace) + static_cast<double>(k);
                if (corner - leave.alongFace > run)
                    break;
                out.outer.push_back(f[static_cast<std::size_t>(corner) % n]);
            }
            out.outer.push_back(enter.p);
            // Back along the hole's edge to the nearest crossing behind.
            std::size_t back = xs.size();
            double nearest = holeLength + 1;
            for (std::size_t i = 0; i < xs.size(); ++i) {
                if (i == nextIn)
                    continue;
                double d = enter.alongHole - xs[i].alongHole;
                if (d <= 0)
                    d += holeLength;
                if (d < nearest) {
                    nearest = d;
                    back = i;
                }
            }
            if (back == xs.size() || xs[back].entering || (xs[back].used && back != start))
                return std::nullopt;
            for (std::size_t k = 0; k <= m; ++k) {
                const double corner = std::floor(enter.alongHole) - static_cast<double>(k);
                if (enter.alongHole - corner >= nearest)
                    break;
                out.outer.push_back(q[static_cast<std::size_t>(corner + holeLength) % m]);
            }
            cur = back;
        } while (cur != start);
        std::vector<Point2> clean;
        for (const Point2& p : out.outer)
            if (clean.empty() || !near2(clean.back(), p))
                clean.push_back(p);
        while (clean.size() > 1 && near2(clean.front(), clean.back()))
            clean.pop_back();
        if (clean.size() >= 3 && area2(clean) > 1e-12)
            pieces.push_back({std::move(clean), {}});
    }
    if (!keepRings(pieces))
        return std::nullopt;
    return pieces;
}

// A hole's edges that lie on the board's own edge are moved out past it.
std::vector<Point2> pushedOut(const std::vector<Point2>& ring, const std::vector<Point2>& outline)
{
    std::vector<Point2> out = ring;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point2 p = ring[i], q = ring[(i + 1) % ring.size()];
        const double len = std::hypot(q.x - p.x, q.y - p.y);
        if (len <= 0)
            continue;
        for (std::size_t k = 0; k < outline.size(); ++k) {
            const Point2 a = outline[k], b = outline[(k + 1) % outline.size()];
            const double l = std::hypot(b.x - a.x, b.y - a.y);
            auto off = [&](Point2 x) {
                return std::abs((x.x - a.x) * (b.y - a.y) - (x.y - a.y) * (b.x - a.x)) / l;
            };
            if (l > 0 && off(p) < 1e-6 && off(q) < 1e-6) {
                const Point2 push = {(q.y - p.y) / len * kPushOut, (p.x - q.x) / len * kPushOut};
                for (std::size_t c : {i, (i + 1) % ring.size()})
                    out[c] = {out[c].x + push.x, out[c].y + push.y};
                break;
            }
        }
    }
    return out;
}

class MeshBuilder
{
public:
    int vertex(Vec3 p)
    {
        const auto cell = [](double v) {
            return static_cast<long long>(std::floor(v / (4 * kSame)));
        };
        const long long cx = cell(p.x), cy = cell(p.y), cz = cell(p.z);
        for (long long dx = -1; dx <= 1; ++dx)
            for (long long dy = -1; dy <= 1; ++dy)
                for (long long dz = -1; dz <= 1; ++dz) {
                    const auto it = m_cells.find({cx + dx, cy + dy, cz + dz});
                    if (it == m_cells.end())
                        continue;
                    for (int id : it->second) {
                        const Vec3 d = mesh.vertices[static_cast<std::size_t>(id)] - p;
                        if (dot(d, d) < kSame * kSame)
                            return id;
                    }
                }
        const int id = static_cast<int>(mesh.vertices.size());
        mesh.vertices.push_back(p);
        m_cells[{cx, cy, cz}].push_back(id);
        return id;
    }
    void face(const Frame& frame, const Piece& piece)
    {
        std::vector<Point2> points = piece.outer;
        std::vector<int> outer(points.size());
        for (std::size_t i = 0; i < outer.size(); ++i)
            outer[i] = static_cast<int>(i);
        std::vector<std::vector<int>> rings;
        for (const std::vector<Point2>& r : piece.rings) {
            std::vector<int> ring;
            for (const Point2& p : r) {
                ring.push_back(static_cast<int>(points.size()));
                points.push_back(p);
            }
            rings.push_back(std::move(ring));
        }
        std::vector<int> ids;
        for (const Point2& p : points)
            ids.push_back(vertex(frame.solid(p)));
        for (const auto& t : triangulate(points, outer, rings)) {
            const std::array<int, 3> tri = {ids[static_cast<std::size_t>(t[0])],
                                            ids[static_cast<std::size_t>(t[1])],
                                            ids[static_cast<std::size_t>(t[2])]};
            if (tri[0] != tri[1] && tri[1] != tri[2] && tri[0] != tri[2])
                mesh.triangles.push_back(tri);
        }
    }
    void convex(const std::vector<Vec3>& corners)
    {
        std::vector<int> ids;
        for (const Vec3& p : corners) {
            const int id = vertex(p);
            if (ids.empty() || (ids.back() != id && ids.front() != id))
                ids.push_back(id);
        }
        for (std::size_t i = 1; i + 1 < ids.size(); ++i)
            mesh.triangles.push_back({ids[0], ids[i], ids[i + 1]});
    }
    Mesh mesh;

private:
    std::map<std::array<long long, 3>, std::vector<int>> m_cells;
};

Mesh meshWith(const BoardShape& shape, const std::vector<std::vector<Point2>>& holes)
{
    MeshBuilder out;
    std::vector<Frame> frames;
    std::vector<std::vector<Piece>> faces;
    for (std::size_t f = 0; f < shape.faces.size(); ++f) {
        frames.push_back(frameOf(shape.faces[f], shape.normals[f]));
        Piece whole;
        for (const Vec3& p : shape.faces[f])
            whole.outer.push_back(frames.back().flat(p));
        faces.push_back({whole});
    }
    for (const std::vector<Point2>& hole : holes) {
        const std::vector<Side> sides = sidesOf(shape, hole);
        for (std::size_t f = 0; f < faces.size(); ++f) {
            const std::vector<Point2> q = holeInFace(frames[f], sides);
            std::vector<Piece> next;
            for (const Piece& piece : faces[f]) {
                const auto cut = subtract(piece, q);
                if (!cut)
                    return {};
                next.insert(next.end(), cut->begin(), cut->end());
            }
            faces[f] = std::move(next);
        }
    }
    for (std::size_t f = 0; f < faces.size(); ++f)
        for (const Piece& piece : faces[f])
            out.face(frames[f], piece);

    // The wall of each hole: each side's band through the board, clipped to the board, looking into
    // the hole.
    double reach = 1;
    for (const std::vector<Vec3>& face : shape.faces)
        for (const Vec3& p : face)
            reach = std::max(reach, std::sqrt(dot(p - shape.origin, p - shape.origin)));
    for (const std::vector<Point2>& hole : holes) {
        const std::vector<Side> sides = sidesOf(shape, hole);
        for (std::size_t i = 0; i < hole.size(); ++i) {
            const Point2 p = hole[i], q = hole[(i + 1) % hole.size()];
            std::vector<Vec3> band = {
                onBoard(shape, p.x, p.y, -2 * reach), onBoard(shape, q.x, q.y, -2 * reach),
                onBoard(shape, q.x, q.y, 2 * reach), onBoard(shape, p.x, p.y, 2 * reach)};
            for (std::size_t f = 0; f < shape.faces.size() && band.size() >= 3; ++f)
                band = clipSolid(band, {shape.faces[f].front(), shape.normals[f]});
            const Vec3 n = areaNormal(band);
            if (band.size() < 3 || dot(n, n) < 1e-12)
                continue;
            if (dot(n, sides[i].normal) > 0)
                std::reverse(band.begin(), band.end());
            out.convex(band);
        }
    }
    return out.mesh;
}

} // namespace

std::vector<Point2> circleRing(Point2 centre, double diameter, int segments)
{
    std::vector<Point2> ring;
    for (int i = 0; i < segments; ++i) {
        const double a = 2 * std::numbers::pi * i / segments;
        ring.push_back({centre.x + diameter / 2 * std::cos(a), centre.y + diameter / 2 * std::sin(a)});
    }
    return ring;
}

std::vector<std::vector<std::vector<Point2>>> holeRings(const std::vector<Board>& boards)
{
    std::vector<std::vector<std::vector<Point2>>> rings(boards.size());
    for (std::size_t i = 0; i < boards.size(); ++i)
        for (const BoardHole& h : boards[i].holes)
            rings[i].push_back(h.outline.empty() ? circleRing(h.center, h.diameter) : h.outline);
    return rings;
}

Mesh boardMesh(const Board& board, const BoardShape& shape, const std::vector<std::vector<Point2>>& holes)
{
    if (!shape.valid())
        return {};
    std::vector<std::vector<Point2>> rings;
    for (std::vector<Point2> ring : holes) {
        if (ring.size() < 3)
            continue;
        if (area2(ring) < 0)
            std::reverse(ring.begin(), ring.end());
        rings.push_back(pushedOut(ring, board.outline));
    }
    Mesh mesh = meshWith(shape, rings);
    if (isClosed(mesh) || rings.empty())
        return mesh;
    // A hole that meets the board in a way the cut cannot follow is left out rather than tear the
    // board open.
    std::vector<std::vector<Point2>> kept;
    for (const std::vector<Point2>& ring : rings) {
        kept.push_back(ring);
        if (!isClosed(meshWith(shape, kept)))
            kept.pop_back();
    }
    return meshWith(shape, kept);
}

std::vector<BoardMesh> boxMeshes(const std::vector<Board>& boards,
                                 const std::vector<std::vector<std::vector<Point2>>>& holes)
{
    const Vec3 middle = boxMiddle(boards);
    std::vector<BoardMesh> out;
    for (std::size_t i = 0; i < boards.size(); ++i) {
        const BoardShape shape = boardShape(boards[i], middle);
        out.push_back(
            {boards[i].key, boards[i].name,
             boardMesh(boards[i], shape, i < holes.size() ? holes[i] : std::vector<std::vector<Point2>>{})});
    }
    return out;
}

bool isClosed(const Mesh& mesh)
{
    std::map<std::pair<int, int>, int> directed;
    for (const auto& t : mesh.triangles)
        for (int k = 0; k < 3; ++k)
            ++directed[{t[static_cast<std::size_t>(k)], t[static_cast<std::size_t>((k + 1) % 3)]}];
    if (directed.empty())
        return false;
    for (const auto& [edge, uses] : directed) {
        const auto back = directed.find({edge.second, edge.first});
        if (uses != 1 || back == directed.end() || back->second != 1)
            return false;
    }
    return true;
}

double meshVolume(const Mesh& mesh)
{
    double sum = 0;
    for (const auto& t : mesh.triangles) {
        const Vec3 p = mesh.vertices[static_cast<std::size_t>(t[0])];
        const Vec3 q = mesh.vertices[static_cast<std::size_t>(t[1])];
        const Vec3 r = mesh.vertices[static_cast<std::size_t>(t[2])];
        sum += dot(p, cross(q, r));
    }
    return sum / 6;
}

} // namespace kelvra
