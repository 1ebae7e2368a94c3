#include "core/tileset/TerrainBrush.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace xemap;

namespace {

constexpr int kTerrain = 20;  // row 2 of the base sheet: 21 outer corner, 22 edge, 23 inner corner

struct Piece {
    int x, y;
    std::int32_t tile, rotation;  // a rotation of -1 is not checked
};

// As the mouse handler paints a terrain cell before handing it to the brush.
CellList paintTerrain(MapGrid& grid, int x, int y)
{
    grid.tile(x, y, 0) = kTerrain;
    grid.rotation(x, y, 0) = 0;
    grid.tile(x, y, 1) = emptyTile(1);
    grid.rotation(x, y, 1) = 0;
    return TerrainBrush(grid, x, y, 0, kTerrain);
}

void expectOverlays(const MapGrid& grid, const std::vector<Piece>& pieces)
{
    for (const Piece& p : pieces) {
        EXPECT_EQ(grid.tile(p.x, p.y, 1), p.tile) << "cell " << p.x << "," << p.y;
        if (p.rotation >= 0) {
            EXPECT_EQ(grid.rotation(p.x, p.y, 1), p.rotation) << "cell " << p.x << "," << p.y;
        }
    }
}

}  // namespace

TEST(TerrainBrushTest, LaysEdgesAndCornersAroundAnIsland)
{
    MapGrid grid;
    grid.fill(0);
    grid.clear(2);
    const CellList changed = paintTerrain(grid, 5, 5);
    expectOverlays(grid, {{5, 4, 22, 0}, {6, 5, 22, 1}, {5, 6, 22, 2}, {4, 5, 22, 3}});
    expectOverlays(grid, {{4, 4, 21, 0}, {6, 4, 21, 1}, {6, 6, 21, 2}, {4, 6, 21, 3}});
    EXPECT_EQ(changed.size(), 8u);
    EXPECT_EQ(grid.tile(5, 4, 0), 0) << "pieces lie over the ground, which stays";
}

TEST(TerrainBrushTest, InnerCornersAndFillsWhereTerrainMeetsOnTwoSides)
{
    // What, the terrain cells there, the one painted, and the piece expected (tile 99: a fill).
    const std::tuple<const char*, std::vector<GridCell>, GridCell, Piece> cases[] = {
        {"north and east: inner corner", {{6, 5}}, {5, 4}, {5, 5, 23, 3}},
        {"south and west", {{4, 5}}, {5, 6}, {5, 5, 23, 1}},
        {"north, east and west: fill", {{4, 5}, {6, 5}}, {5, 4}, {5, 5, 99, -1}},
        {"north and south: fill", {{5, 6}}, {5, 4}, {5, 5, 99, -1}},
    };
    for (const auto& [what, existing, painted, expected] : cases) {
        SCOPED_TRACE(what);
        MapGrid grid;
        for (GridCell cell : existing)
            paintTerrain(grid, cell.x, cell.y);
        paintTerrain(grid, painted.x, painted.y);
        expectOverlays(grid, {expected});
        EXPECT_EQ(grid.tile(expected.x, expected.y, 0) == kTerrain, expected.tile == 99);
    }
}

TEST(TerrainBrushTest, CellsBetweenDiagonalTerrainStayAndTheBrushEnds)
{
    MapGrid grid;
    grid.tile(3, 3, 0) = kTerrain;
    grid.tile(7, 7, 0) = kTerrain;
    const CellList changed = paintTerrain(grid, 5, 5);
    expectOverlays(grid, {{4, 4, 99, 0}, {6, 6, 99, 0}, {5, 4, 22, 0}, {6, 4, 21, 1}, {4, 6, 21, 3}});
    EXPECT_EQ(changed.size(), 6u);

    // Terrain on two diagonals waits: the fill between (3, 5) and (5, 5) then gives (4, 4)
    // and (4, 6) an edge.
    MapGrid waiting;
    paintTerrain(waiting, 3, 5);
    paintTerrain(waiting, 5, 5);
    EXPECT_EQ(waiting.tile(4, 5, 0), kTerrain);
    expectOverlays(waiting, {{4, 4, 22, 0}, {4, 6, 22, 2}});
}

TEST(TerrainBrushTest, StaysOnTheGridAndLeavesTerrainCellsAlone)
{
    MapGrid grid;
    EXPECT_EQ(paintTerrain(grid, 0, 0), (CellList{{0, 1}, {1, 0}, {1, 1}}));
    paintTerrain(grid, 31, 31);
    expectOverlays(grid,
                   {{1, 0, 22, 1}, {0, 1, 22, 2}, {1, 1, 21, 2}, {30, 31, 22, 3}, {31, 30, 22, 0}, {30, 30, 21, 0}});

    grid.tile(6, 5, 0) = kTerrain;
    grid.tile(6, 5, 1) = 55;
    grid.rotation(6, 5, 1) = 3;
    paintTerrain(grid, 5, 5);
    expectOverlays(grid, {{6, 5, 55, 3}});

    EXPECT_TRUE(TerrainBrush(grid, 5, 5, kCellLayers - 1, kTerrain).empty()) << "no layer above the top one";
}
