// The boards of the box as closed triangle meshes, holes cut through, for the 3D view and the STL and
// OBJ files. Lengths in cm, in the box's coordinates (x towards the front, y up, z along the length).
#pragma once

#include "boards/Boards.h"
#include "solid/BoardShape.h"

#include <array>
#include <string>
#include <vector>

namespace kelvra
{

struct Mesh {
    std::vector<Vec3> vertices;
    std::vector<std::array<int, 3>> triangles; // counter-clockwise seen from outside
};

struct BoardMesh {
    std::string key;
    std::string name;
    Mesh mesh;
};

// One closed mesh per board; `holes` per board (in board order) are rings in the board's outline
// coordinates, cut straight through it; a hole that reaches the board's edge cuts a notch.
std::vector<BoardMesh> boxMeshes(const std::vector<Board>& boards,
                                 const std::vector<std::vector<std::vector<Point2>>>& holes = {});

Mesh boardMesh(const Board& board, const BoardShape& shape, const std::vector<std::vector<Point2>>& holes);

// Every edge is shared by exactly two triangles that run it in opposite directions.
bool isClosed(const Mesh& mesh);
// The volume the mesh encloses, cm³.
double meshVolume(const Mesh& mesh);

// The holes of every board as rings (round holes as circles), in board order, for boxMeshes.
std::vector<std::vector<std::vector<Point2>>> holeRings(const std::vector<Board>& boards);

// A circle as a ring of `segments` corners, for round holes.
std::vector<Point2> circleRing(Point2 centre, double diameter, int segments = 72);

} // namespace kelvra
