// The boards' meshes as files for a 3D printer or a CAD program, in mm with z up: binary STL (one
// closed shell per board) and Wavefront OBJ (one object per board, named by its key).
#pragma once

#include "solid/BoxMesh.h"

#include <string>
#include <vector>

namespace kelvra
{

// The box's cm with y up to the files' mm with z up: x along the length, y towards the front.
Vec3 toFileAxes(Vec3 cm);

std::string meshesStl(const std::vector<BoardMesh>& meshes);
std::string meshesObj(const std::vector<BoardMesh>& meshes);

} // namespace kelvra
