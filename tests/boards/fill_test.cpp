// The shell boards of a design fill the walls exactly: no overlap, no gap, nothing in the air inside;
// partitions and the port wall stand in the air without touching each other or the shell.
#include "boards/Boards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

using namespace kelvra;

namespace
{

struct FillCase {
    const char* name;
    double h2, l3, b2, ca, cb;
    int thick0;
    int partitions = 0;
    int portWhere = -1; // a slot port at this panel, -1 none
};

// A board standing in the box: a polygon in x-y extruded over z.
struct Prism {
    std::vector<Point2> section;
    double from = 0, to = 0;
};

Prism prismOf(const std::vector<Point3>& solid)
{
    const std::size_t n = solid.size() / 2;
    Prism p;
    for (std::size_t i = 0; i < n; ++i) {
        const Point3 a = solid[i], b = solid[i + n];
        // The upper corners are the lower ones moved along z only.
        EXPECT_NEAR(a.x, b.x, 1e-12);
        EXPECT_NEAR(a.y, b.y, 1e-12);
        p.section.push_back({a.x, a.y});
    }
    p.from = solid[0].z;
    p.to = solid[n].z;
    return p;
}

double area(const std::vector<Point2>& poly)
{
    double twice = 0;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const Point2 a = poly[i], b = poly[(i + 1) % poly.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2;
}

// Separating axes of two convex polygons: true when their interiors share area.
bool overlap2(const std::vector<Point2>& a, const std::vector<Point2>& b)
{
    for (const auto* poly : {&a, &b}) {
        for (std::size_t i = 0; i < poly->size(); ++i) {
            const Point2 p = (*poly)[i], q = (*poly)[(i + 1) % poly->size()];
            const double nx = q.y - p.y, ny = p.x - q.x, len = std::hypot(nx, ny);
            auto range = [&](const std::vector<Point2>& s) {
                double lo = INFINITY, hi = -INFINITY;
                for (const Point2& v : s) {
                    lo = std::min(lo, (v.x * nx + v.y * ny) / len);
                    hi = std::max(hi, (v.x * nx + v.y * ny) / len);
                }
                return std::pair{lo, hi};
            };
            const auto [alo, ahi] = range(a);
            const auto [blo, bhi] = range(b);
            if (std::min(ahi, bhi) - std::max(alo, blo) <= 1e-9)
                return false;
        }
    }
    return true;
}

bool overlap(const Prism& a, const Prism& b)
{
    return std::min(a.to, b.to) - std::max(a.from, b.from) > 1e-9 && overlap2(a.section, b.section);
}

// Points inside a convex counter-clockwise polygon, its edges included.
bool inside(const std::vector<Point2>& poly, const Point2& p)
{
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const Point2 a = poly[i], b = poly[(i + 1) % poly.size()];
        if ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x) < -1e-9)
            return false;
    }
    return true;
}

class ShellFill : public ::testing::TestWithParam<FillCase>
{
};

TEST_P(ShellFill, BoardsFillTheWallsExactly)
{
    const FillCase c = GetParam();
    // Written with a point, the boards' own tests read both separators.
    using std::to_string;
    ModelInputs in;
    std::tie(in.h2, in.l3, in.b2, in.ca, in.cb, in.thick0) =
        std::tuple(to_string(c.h2), to_string(c.l3), to_string(c.b2), to_string(c.ca), to_string(c.cb),
                   to_string(c.thick0));
    std::tie(in.lp, in.bp, in.hp, in.thick1, in.thick2, in.pieces1) =
        std::tuple("12", "4", "10", "19", "15", c.partitions);
    if (c.portWhere >= 0)
        std::tie(in.pieces2, in.ptype, in.pwhere) = std::tuple(2, 1, c.portWhere);
    const BoardsResult r = buildBoards(in, '.');
    ASSERT_TRUE(r.ok()) << r.error.text();
    const std::vector<Board>& boards = r.boards->boards;
    ASSERT_GE(boards.size(), 6u);

    // The outer wedge and, from the bisectors of its corners, the air inside the boards.
    const double t = c.thick0 / 10.0, h = c.h2, pi = std::numbers::pi;
    const double a = c.ca * pi / 180, b = c.cb * pi / 180;
    const std::vector<Point2> outer = {{0, 0}, {c.b2, 0}, {c.b2 - h / std::tan(b), h}, {h / std::tan(a), h}};
    const std::vector<Point2> air = {{t / std::tan(a / 2), t},
                                     {c.b2 - t / std::tan(b / 2), t},
                                     {c.b2 - h / std::tan(b) - t * std::tan(b / 2), h - t},
                                     {h / std::tan(a) + t * std::tan(a / 2), h - t}};
    const Prism airPrism{air, t, c.l3 - t};

    double shell = 0;
    std::vector<Prism> all;
    for (std::size_t i = 0; i < boards.size(); ++i) {
        if (boards[i].key == "port" && c.portWhere >= 3) {
            // A side port's wall lies flat: every corner in the air.
            for (const Point3& q : boards[i].solid)
                EXPECT_TRUE(inside(air, {q.x, q.y}) && q.z >= t - 1e-12 && q.z <= c.l3 - t + 1e-12);
            continue;
        }
        const Prism p = prismOf(boards[i].solid);
        EXPECT_GT(area(p.section), 0) << boards[i].key << ": corners counter-clockwise";
        if (i < 6) {
            shell += area(p.section) * (p.to - p.from);
            EXPECT_FALSE(overlap(p, airPrism)) << boards[i].key << " reaches into the air";
            for (const Point2& q : p.section)
                EXPECT_TRUE(inside(outer, q)) << boards[i].key << " sticks out of the box";
            EXPECT_TRUE(p.from >= -1e-12 && p.to <= c.l3 + 1e-12) << boards[i].key;
        } else {
            for (const Point2& q : p.section)
                EXPECT_TRUE(inside(air, q)) << boards[i].key << " stands outside the air";
        }
        for (std::size_t j = 0; j < all.size(); ++j)
            EXPECT_FALSE(overlap(p, all[j])) << boards[i].key << " overlaps " << boards[j].key;
        all.push_back(p);
    }
    const double expected = area(outer) * c.l3 - area(air) * (c.l3 - 2 * t);
    EXPECT_NEAR(shell, expected, 1e-6 * expected);
    EXPECT_NEAR(r.boards->innerVolumeExact, area(air) * (c.l3 - 2 * t) / 1000, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Designs, ShellFill,
    ::testing::Values(FillCase{"Rectangular12mm", 40, 40, 40, 90, 90, 12},
                      FillCase{"OneSlope18mm", 39, 45, 60.2, 70, 90, 18},
                      FillCase{"TwoSlopes22mm", 38, 80, 55, 65, 80, 22},
                      FillCase{"Near45Degrees15mm", 35, 60, 80, 45.5, 89, 15},
                      FillCase{"OverhangingFront25mm", 35, 50, 40, 80, 105, 25},
                      FillCase{"PartitionsAndFrontSlots", 39, 90, 60.2, 70, 85, 18, 2, 0},
                      FillCase{"RearSlots30mm", 40, 60, 50, 60, 90, 30, 0, 1},
                      FillCase{"TopSlotsAndPartition", 40, 60, 50, 75, 80, 18, 1, 2},
                      FillCase{"LeftSideSlots", 40, 60, 50, 75, 90, 12, 0, 3}),
    [](const ::testing::TestParamInfo<FillCase>& info) { return std::string(info.param.name); });

} // namespace
