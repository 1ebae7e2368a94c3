#include "tileset/TerrainBrush.h"

#include <gtest/gtest.h>

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
    expectOverlays(grid, {{5, 4, 22, 0}, {6, 5, 22, 1}, {5, 6, 22, 2}, {4, 5, 22, 3},
                          {4, 4, 21, 0}, {6, 4, 21, 1}, {6, 6, 21, 2}, {4, 6, 21, 3}});
    EXPECT_EQ(changed.size(), 8u);
    EXPECT_EQ(grid.tile(5, 4, 0), 0) << "pieces lie over the ground, which stays";
}

TEST(TerrainBrushTest, FramesALakeAndLeavesItsCellsBare)
{
    MapGrid grid;
    for (int y = 5; y <= 7; ++y)
        for (int x = 5; x <= 7; ++x)
            paintTerrain(grid, x, y);
    expectOverlays(grid, {{4, 4, 21, 0}, {8, 4, 21, 1}, {8, 8, 21, 2}, {4, 8, 21, 3},
                          {6, 4, 22, 0}, {8, 6, 22, 1}, {6, 8, 22, 2}, {4, 6, 22, 3}});
    for (int y = 5; y <= 7; ++y)
        for (int x = 5; x <= 7; ++x)
            EXPECT_EQ(grid.tile(x, y, 1), 99) << "lake cells carry no pieces";
}

TEST(TerrainBrushTest, InnerCornersAndFillsWhereTerrainMeetsOnTwoSides)
{
    struct Case {
        const char* name;
        std::vector<GridCell> existing;
        GridCell painted;
        Piece expected;
        bool filled;
    };
    const Case cases[] = {
        {"north and east: inner corner", {{6, 5}}, {5, 4}, {5, 5, 23, 3}, false},
        {"east and south", {{6, 5}}, {5, 6}, {5, 5, 23, 0}, false},
        {"south and west", {{4, 5}}, {5, 6}, {5, 5, 23, 1}, false},
        {"north and west", {{4, 5}}, {5, 4}, {5, 5, 23, 2}, false},
        {"north, east and west: fill", {{4, 5}, {6, 5}}, {5, 4}, {5, 5, 99, -1}, true},
        {"north and south: fill", {{5, 6}}, {5, 4}, {5, 5, 99, -1}, true},
        {"peninsula tip", {{5, 6}, {5, 7}}, {5, 5}, {5, 4, 22, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapGrid grid;
        for (GridCell cell : c.existing)
            paintTerrain(grid, cell.x, cell.y);
        paintTerrain(grid, c.painted.x, c.painted.y);
        expectOverlays(grid, {c.expected});
        EXPECT_EQ(grid.tile(c.expected.x, c.expected.y, 0) == kTerrain, c.filled);
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
}

TEST(TerrainBrushTest, StaysOnTheGridAndLeavesTerrainCellsAlone)
{
    MapGrid grid;
    EXPECT_EQ(paintTerrain(grid, 0, 0), (CellList{{0, 1}, {1, 0}, {1, 1}}));
    paintTerrain(grid, 31, 31);
    expectOverlays(grid, {{1, 0, 22, 1}, {0, 1, 22, 2}, {1, 1, 21, 2},
                          {30, 31, 22, 3}, {31, 30, 22, 0}, {30, 30, 21, 0}});

    grid.tile(6, 5, 0) = kTerrain;
    grid.tile(6, 5, 1) = 55;
    grid.rotation(6, 5, 1) = 3;
    paintTerrain(grid, 5, 5);
    expectOverlays(grid, {{6, 5, 55, 3}});

    EXPECT_TRUE(TerrainBrush(grid, 5, 5, kCellLayers - 1, kTerrain).empty()) << "no layer above the top one";
}
