// A flat face with holes in triangles: the holes are bridged into the outer ring, then ears are cut.
#pragma once

#include "boards/Boards.h"

#include <array>
#include <vector>

namespace kelvra
{

// `points` holds every corner; `outer` the outer ring and each of `holes` a hole's ring, as indices into
// `points`, in either turning sense. The triangles turn counter-clockwise and index `points`.
std::vector<std::array<int, 3>> triangulate(const std::vector<Point2>& points, std::vector<int> outer,
                                            std::vector<std::vector<int>> holes);

// Twice the signed area of a ring: positive when it turns counter-clockwise.
double ringArea2(const std::vector<Point2>& points, const std::vector<int>& ring);

} // namespace kelvra
