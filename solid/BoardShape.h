// A board of the boards core as a solid: its faces, the two broad faces, and the frame in which its
// outline (and every hole on it) lies in the box.
#pragma once

#include "boards/Boards.h"

#include <vector>

namespace kelvra
{

struct Vec3 {
    double x = 0, y = 0, z = 0;
};
Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 a, double k);
double dot(Vec3 a, Vec3 b);
Vec3 cross(Vec3 a, Vec3 b);
Vec3 unit(Vec3 a);

// Which face of a board reaches an edge of its outline; the other stops short by the bevel.
enum class LongFace { Both, Outer, Inner };

struct BoardShape {
    // Every face of the solid, corners in order so that they turn counter-clockwise seen from outside.
    std::vector<std::vector<Vec3>> faces;
    std::vector<Vec3> normals;    // outwards, one per face
    int broadA = -1, broadB = -1; // the two broad faces, parallel, a board's thickness apart
    // The outline's plane: outline point (u, v) lies at origin + u * axisU + v * axisV, on the plane of
    // face A; axisN = axisU x axisV.
    Vec3 origin, axisU, axisV, axisN;
    bool outerIsA = true;            // face A looks away from the middle of the box
    std::vector<LongFace> longFaces; // per outline edge
    bool valid() const { return broadA >= 0 && broadB >= 0; }
};

// Newell's normal of a flat polygon: its length is twice the polygon's area.
Vec3 areaNormal(const std::vector<Vec3>& corners);

// `boxMiddle` decides which face is the outer one.
BoardShape boardShape(const Board& board, Vec3 boxMiddle);
// The middle of the bounding box of all boards.
Vec3 boxMiddle(const std::vector<Board>& boards);

// A point of the board's plane (outline coordinates) on face A, or moved by `depth` cm along axisN.
Vec3 onBoard(const BoardShape& shape, double u, double v, double depth = 0);

} // namespace kelvra
