// The boards as solids: every board's mesh is closed and holds the board's wood, holes cut through;
// the STL file carries every triangle; a bevel's long face is the one the saw leaves long.
#include "solid/BoxMesh.h"
#include "solid/MeshFiles.h"

#include "boards/Boards.h"
#include "calc/Model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

using namespace kelvra;

namespace
{

struct SolidCase {
    const char* name;
    const char* h2;
    const char* ca;
    int partitions;
    int ptype;  // 0 round, 1 slot
    int pwhere; // -1 no port
};

ModelInputs design(const SolidCase& c)
{
    ModelInputs in = firstRunInputs();
    in.h2 = c.h2;
    in.ca = c.ca;
    in.pieces1 = c.partitions;
    if (c.pwhere >= 0) {
        in.pieces2 = 1;
        in.ptype = c.ptype;
        in.pwhere = c.pwhere;
        in.lp = "20";
        in.dp = "8";
        in.bp = "5";
        in.hp = "20";
    }
    return in;
}

// A prism's volume from its corners alone: the end section's area vector along the run.
double woodOf(const Board& b)
{
    const std::size_t n = b.solid.size() / 2;
    double ax = 0, ay = 0, az = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Point3 p = b.solid[i], q = b.solid[(i + 1) % n];
        ax += (p.y - q.y) * (p.z + q.z);
        ay += (p.z - q.z) * (p.x + q.x);
        az += (p.x - q.x) * (p.y + q.y);
    }
    const Point3 d{b.solid[n].x - b.solid[0].x, b.solid[n].y - b.solid[0].y, b.solid[n].z - b.solid[0].z};
    return std::abs(ax * d.x + ay * d.y + az * d.z) / 2;
}

class SolidTest : public ::testing::TestWithParam<SolidCase>
{
};

TEST_P(SolidTest, EveryBoardIsClosedAndHoldsItsWood)
{
    const BoardsResult r = buildBoards(design(GetParam()), '.');
    ASSERT_TRUE(r.ok()) << r.error.text();
    const std::vector<Board>& boards = r.boards->boards;
    // The boards' own holes: the woofers' cut-outs, round ports and slot openings, some reaching the edge.
    const std::vector<BoardMesh> meshes = boxMeshes(boards, holeRings(boards));
    ASSERT_EQ(meshes.size(), boards.size());
    for (std::size_t i = 0; i < boards.size(); ++i) {
        const Board& b = boards[i];
        double open = 0;
        for (const BoardHole& h : b.holes) {
            double area = std::numbers::pi * h.diameter * h.diameter / 4;
            if (!h.outline.empty()) {
                area = 0;
                for (std::size_t k = 0; k < h.outline.size(); ++k) {
                    const Point2 p = h.outline[k], q = h.outline[(k + 1) % h.outline.size()];
                    area += (p.x * q.y - q.x * p.y) / 2;
                }
            }
            open += std::abs(area) * b.thicknessMm / 10.0;
        }
        const double wood = woodOf(b) - open;
        EXPECT_TRUE(isClosed(meshes[i].mesh)) << b.key;
        EXPECT_NEAR(meshVolume(meshes[i].mesh), wood, wood * 0.005) << b.key;
    }

    const std::string stl = meshesStl(meshes);
    std::size_t triangles = 0;
    for (const BoardMesh& m : meshes)
        triangles += m.mesh.triangles.size();
    ASSERT_EQ(stl.size(), 84 + 50 * triangles);
    std::uint32_t count = 0;
    std::memcpy(&count, stl.data() + 80, 4);
    EXPECT_EQ(count, triangles);
}

INSTANTIATE_TEST_SUITE_P(Designs, SolidTest,
                         ::testing::Values(SolidCase{"DefaultBlock", "40", "90", 0, 0, -1},
                                           SolidCase{"SlopedRoundPort", "40", "70", 0, 0, 0},
                                           SolidCase{"SlopedFrontSlot", "40", "70", 0, 1, 0},
                                           SolidCase{"SlopedSlotAndPartition", "45", "65", 1, 1, 1},
                                           SolidCase{"LyingSlot", "40", "75", 0, 1, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SolidShape, TheSawLeavesTheOuterFaceLongAtTheRearFootAndTheInnerAtItsHead)
{
    ModelInputs in = firstRunInputs();
    in.ca = "70";
    const BoardsResult r = buildBoards(in, '.');
    ASSERT_TRUE(r.ok());
    const Vec3 middle = boxMiddle(r.boards->boards);
    const BoardShape rear = boardShape(r.boards->boards[1], middle);
    ASSERT_EQ(rear.longFaces.size(), 4u);
    EXPECT_EQ(rear.longFaces[0], LongFace::Outer);
    EXPECT_EQ(rear.longFaces[1], LongFace::Both);
    EXPECT_EQ(rear.longFaces[2], LongFace::Inner);
    // The outline's corners lie on the board: its lower left corner on the solid's bounding face.
    const BoardShape side = boardShape(r.boards->boards[4], middle);
    for (const Point2& p : r.boards->boards[4].outline) {
        const Vec3 q = onBoard(side, p.x, p.y);
        bool corner = false;
        for (const Point3& s : r.boards->boards[4].solid)
            corner = corner || std::hypot(std::hypot(q.x - s.x, q.y - s.y), q.z - s.z) < 1e-6;
        EXPECT_TRUE(corner) << p.x << " " << p.y;
    }
}

} // namespace
