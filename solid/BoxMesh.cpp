#include "solid/BoxMesh.h"

#include "solid/Triangulate.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

namespace kelvra
{

namespace
{

bool insideConvex(const std::vector<Point2>& ring, Point2 p)
{
    // Either turning sense: p lies on one side of every edge.
    bool left = false, right = false;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point2 a = ring[i], b = ring[(i + 1) % ring.size()];
        const double c = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
        left = left || c > 1e-9;
        right = right || c < -1e-9;
    }
    return !(left && right);
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
    (void)board;
    Mesh mesh;
    if (!shape.valid())
        return mesh;
    std::map<std::array<double, 3>, int> index;
    auto vertex = [&](Vec3 p) {
        const std::array<double, 3> key{p.x, p.y, p.z};
        auto [it, added] = index.emplace(key, static_cast<int>(mesh.vertices.size()));
        if (added)
            mesh.vertices.push_back(p);
        return it->second;
    };
    auto plane = [&](Vec3 p) {
        return Point2{dot(p - shape.origin, shape.axisU), dot(p - shape.origin, shape.axisV)};
    };
    const auto a = static_cast<std::size_t>(shape.broadA), b = static_cast<std::size_t>(shape.broadB);
    // Only holes that leave wood all round on both faces are cut, so the mesh stays closed.
    std::vector<std::vector<Point2>> cut;
    for (const std::vector<Point2>& h : holes) {
        bool inside = h.size() >= 3;
        for (std::size_t f : {a, b}) {
            std::vector<Point2> face;
            for (const Vec3& p : shape.faces[f])
                face.push_back(plane(p));
            for (const Point2& p : h)
                inside = inside && insideConvex(face, p);
        }
        if (inside)
            cut.push_back(h);
    }
    const double depthB = dot(shape.faces[b].front() - shape.origin, shape.axisN);

    for (std::size_t f = 0; f < shape.faces.size(); ++f) {
        const std::vector<Vec3>& face = shape.faces[f];
        if ((f != a && f != b) || cut.empty()) {
            std::vector<int> ids;
            for (const Vec3& p : face)
                ids.push_back(vertex(p));
            for (std::size_t i = 1; i + 1 < ids.size(); ++i)
                mesh.triangles.push_back({ids[0], ids[i], ids[i + 1]});
            continue;
        }
        const double depth = f == a ? 0 : depthB;
        std::vector<Point2> points;
        std::vector<int> ids;
        std::vector<int> outer;
        for (const Vec3& p : face) {
            outer.push_back(static_cast<int>(points.size()));
            points.push_back(plane(p));
            ids.push_back(vertex(p));
        }
        std::vector<std::vector<int>> rings;
        for (const std::vector<Point2>& h : cut) {
            std::vector<int> ring;
            for (const Point2& p : h) {
                ring.push_back(static_cast<int>(points.size()));
                points.push_back(p);
                ids.push_back(vertex(onBoard(shape, p.x, p.y, depth)));
            }
            rings.push_back(std::move(ring));
        }
        // The triangles turn counter-clockwise in the outline's plane; that is outwards where the face
        // looks along axisN.
        const bool flip = dot(shape.normals[f], shape.axisN) < 0;
        for (const auto& t : triangulate(points, outer, rings)) {
            const int i0 = ids[static_cast<std::size_t>(t[0])], i1 = ids[static_cast<std::size_t>(t[1])],
                      i2 = ids[static_cast<std::size_t>(t[2])];
            mesh.triangles.push_back(flip ? std::array<int, 3>{i0, i2, i1} : std::array<int, 3>{i0, i1, i2});
        }
    }
    // The wall of each hole, its faces looking into the hole.
    for (const std::vector<Point2>& h : cut) {
        Point2 c{};
        for (const Point2& p : h)
            c = {c.x + p.x / static_cast<double>(h.size()), c.y + p.y / static_cast<double>(h.size())};
        for (std::size_t i = 0; i < h.size(); ++i) {
            const Point2 p = h[i], q = h[(i + 1) % h.size()];
            const int pa = vertex(onBoard(shape, p.x, p.y, 0)), qa = vertex(onBoard(shape, q.x, q.y, 0));
            const int pb = vertex(onBoard(shape, p.x, p.y, depthB)),
                      qb = vertex(onBoard(shape, q.x, q.y, depthB));
            const Vec3 n = cross(
                mesh.vertices[static_cast<std::size_t>(qa)] - mesh.vertices[static_cast<std::size_t>(pa)],
                mesh.vertices[static_cast<std::size_t>(pb)] - mesh.vertices[static_cast<std::size_t>(pa)]);
            const Vec3 toAxis =
                onBoard(shape, c.x, c.y, 0) - onBoard(shape, (p.x + q.x) / 2, (p.y + q.y) / 2, 0);
            if (dot(n, toAxis) > 0) {
                mesh.triangles.push_back({pa, qa, qb});
                mesh.triangles.push_back({pa, qb, pb});
            } else {
                mesh.triangles.push_back({pa, qb, qa});
                mesh.triangles.push_back({pa, pb, qb});
            }
        }
    }
    return mesh;
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
