#include "core/editing/BoxFill.h"
#include "core/editing/ConnectorBrush.h"
#include "core/editing/TerrainBrush.h"

#include <gtest/gtest.h>

#include <limits>

using namespace xemap;

constexpr std::int32_t kMarker = 77;

struct Expected {
    int x, y;
    std::int32_t tile, rotation;  // a rotation of -1 is not checked
};

void expectCells(const MapGrid& grid, int layer, const std::vector<Expected>& cells)
{
    for (const Expected& e : cells) {
        EXPECT_EQ(grid.tile(e.x, e.y, layer), e.tile) << "cell " << e.x << "," << e.y;
        EXPECT_TRUE(e.rotation < 0 || grid.rotation(e.x, e.y, layer) == e.rotation) << "cell " << e.x << "," << e.y;
    }
}

// Interior, corner 31, edge 32, as a group file would give them.
BoxGroup house(std::int32_t interior = 30, std::int32_t cornerRotation = 0)
{
    return BoxGroup{{{{interior, 0}, {31, cornerRotation}, {32, 0}, {33, 0}}}};
}

constexpr int kLayer = 3;
constexpr Conversion kUnused{-1, -1, 0};
constexpr ConversionTable kNoConversions{kUnused, kUnused, kUnused, kUnused};

// Straight 40, corner 41, T 42, cross 43, all drawn at base rotation 0.
ConnectorGroup wall(std::int32_t cross = 43, std::int32_t crossRotation = 0)
{
    return {{{{40, 0}, {41, 0}, {42, 0}, {cross, crossRotation}}}, kNoConversions, kNoConversions};
}

// Presses along the stroke on a map holding the given {x, y, layer, tile, rotation}.
MapGrid painted(const ConnectorGroup& group, const std::vector<GridCell>& stroke,
                std::initializer_list<std::array<int, 5>> tiles = {})
{
    MapGrid grid;
    for (const auto& [x, y, layer, tile, rotation] : tiles) {
        grid.tile(x, y, layer) = tile;
        grid.rotation(x, y, layer) = rotation;
    }
    for (GridCell cell : stroke)
        connectorBrush(grid, kLayer, group, cell.x, cell.y);
    return grid;
}

TEST(BoxFillTest, FramesTheBorderKeepsATransparentInteriorAndEndsAtTheGrid)
{
    MapGrid grid;
    grid.fill(kMarker);
    boxFill(grid, 2, house(0), 10, 14, 20, 23);
    expectCells(grid, 2, {{10, 20, 31, 0}, {12, 20, 32, 0}, {14, 20, 31, 1}, {10, 21, 32, 3}, {14, 22, 32, 1}});
    expectCells(grid, 2, {{10, 23, 31, 3}, {11, 23, 32, 2}, {14, 23, 31, 2}, {11, 21, kMarker, 0}});
    EXPECT_EQ(grid.tile(13, 22, 2), kMarker);
    // The same box again changes nothing, yet every framed cell is given to be redrawn.
    EXPECT_EQ(boxFill(grid, 2, house(0), 10, 14, 20, 23).size(), 14u);

    boxFill(grid, 2, house(30), 10, 14, 20, 23);
    expectCells(grid, 2, {{12, 21, 30, 0}});

    // Boxes dragged past an edge end at the grid.
    EXPECT_EQ(boxFill(grid, 2, house(), 29, 40, 5, 6).size(), 6u);
    expectCells(grid, 2, {{29, 5, 31, 0}, {30, 5, 32, 0}, {31, 5, 31, 1}, {31, 6, 31, 2}});

    // Corners drawn turned are turned further to their places.
    MapGrid negative;
    boxFill(negative, 2, house(30, 2), -3, 1, -1, 1);
    expectCells(negative, 2, {{0, 0, 31, 2}, {1, 0, 31, 3}, {0, 1, 31, 1}, {1, 1, 31, 0}});

    MapGrid outside;
    EXPECT_TRUE(boxFill(outside, 2, house(), 32, 40, 0, 3).empty());
    EXPECT_TRUE(boxFill(outside, kCellLayers, house(), 0, 3, 0, 3).empty());
    EXPECT_EQ(outside, MapGrid{});
}

TEST(ConnectorBrushTest, JoinsEachCellToItsNeighboursAsTheStrokeGrows)
{
    const std::tuple<const char*, std::vector<GridCell>, std::vector<Expected>> cases[] = {
        {"lone cell", {{5, 5}}, {{5, 5, 40, 0}}},
        {"corner east-south", {{6, 5}, {5, 5}, {5, 6}}, {{5, 5, 41, 0}, {6, 5, 40, 0}, {5, 6, 40, 1}}},
        {"corner north-east", {{5, 4}, {5, 5}, {6, 5}}, {{5, 5, 41, 3}}},
        {"T north-east-south", {{5, 4}, {5, 5}, {5, 6}, {6, 5}}, {{5, 5, 42, 3}}},
        {"T north-east-west", {{4, 5}, {5, 5}, {6, 5}, {5, 4}}, {{5, 5, 42, 2}}},
        {"T north-south-west", {{5, 4}, {5, 5}, {5, 6}, {4, 5}}, {{5, 5, 42, 1}}},
        {"T east-south-west", {{4, 5}, {5, 5}, {6, 5}, {5, 6}}, {{5, 5, 42, 0}}},
        {"corner south-west", {{4, 5}, {5, 5}, {5, 6}}, {{5, 5, 41, 1}}},
        {"plus built from its centre",
         {{5, 5}, {5, 4}, {6, 5}, {5, 6}, {4, 5}},
         {{5, 5, 43, 0}, {5, 4, 40, 1}, {6, 5, 40, 0}, {5, 6, 40, 1}, {4, 5, 40, 0}}},
        {"map corner", {{0, 0}, {1, 0}, {0, 1}}, {{0, 0, 41, 0}, {1, 0, 40, 0}, {0, 1, 40, 1}}},
        {"far corner", {{31, 31}, {30, 31}, {31, 30}}, {{31, 31, 41, 2}}}};
    for (const auto& [name, stroke, expected] : cases) {
        SCOPED_TRACE(name);
        expectCells(painted(wall(), stroke), kLayer, expected);
    }
}

TEST(ConnectorBrushTest, TurnsComeBackIntoZeroToThreeAndConversionsGiveReplacements)
{
    ConnectorGroup turned = wall();
    turned.pieces[0].rotation = 3;
    turned.pieces[1].rotation = 2;
    expectCells(painted(turned, {{5, 4}, {5, 5}, {6, 5}}), kLayer, {{5, 4, 40, 0}, {5, 5, 41, 1}, {6, 5, 40, 3}});
    // Without a cross piece a crossing takes the cross's rotation on a T.
    expectCells(painted(wall(kNoCrossPiece, 2), {{5, 4}, {6, 5}, {5, 6}, {4, 5}, {5, 5}}), kLayer, {{5, 5, 42, 2}});

    // Values from a damaged group file or map neither overflow nor take long to bring round.
    const std::int32_t most = std::numeric_limits<std::int32_t>::max();
    ConnectorGroup huge = wall();
    huge.pieces[0].rotation = most;
    huge.first[0] = {44, 51, most};
    expectCells(painted(huge, {{5, 5}, {7, 7}}, {{5, 5, kLayer, 44, most}}), kLayer, {{5, 5, 51, 2}, {7, 7, 40, 3}});

    // Conversion tables turn matched tiles into replacements.
    ConnectorGroup group = wall();
    group.first[1] = {205, 50, 1};   // tile 5 on cell layer 2
    group.first[2] = {44, 51, -1};   // tile 44 on the brush layer
    group.second[0] = {150, 60, 2};  // tile 50 on cell layer 1

    const MapGrid other = painted(group, {{5, 5}}, {{5, 5, 2, 5, 0}, {5, 5, kLayer, 0, 3}, {6, 5, kLayer, 40, 0}});
    EXPECT_EQ(other.tile(5, 5, 2), 0) << "the matched layer is emptied";
    expectCells(other, kLayer, {{5, 5, 50, 0}, {6, 5, 40, 0}});
    expectCells(painted(group, {{5, 5}}, {{5, 5, kLayer, 44, 0}}), kLayer, {{5, 5, 51, 3}});

    const MapGrid second = painted(group, {{5, 5}}, {{5, 5, 1, 50, 3}, {5, 6, kLayer, 40, 0}});
    EXPECT_EQ(second.tile(5, 5, 1), 99);
    expectCells(second, kLayer, {{5, 5, 60, 1}, {5, 6, 40, 1}});  // the neighbour joins the gate
    // A replacement already there is not joined over.
    expectCells(painted(group, {{5, 5}}, {{5, 5, kLayer, 60, 2}}), kLayer, {{5, 5, 60, 2}});

    // A neighbour matching two of the group's tiles counts once: north only makes a
    // north-south straight, not a west-east one.
    group.second[1] = {150, 40, 0};
    expectCells(painted(group, {{5, 5}}, {{5, 4, kLayer, 40, 0}}), kLayer, {{5, 5, 40, 1}});

    group.first[3] = {950, 70, 0};  // a cell layer the map does not have
    expectCells(painted(group, {{5, 5}}), kLayer, {{5, 5, 40, 0}});
    MapGrid none;
    EXPECT_TRUE(connectorBrush(none, kLayer, group, 32, 0).empty());
    EXPECT_TRUE(connectorBrush(none, kCellLayers, group, 1, 1).empty());
}

constexpr int kTerrain = 20;  // row 2 of the base sheet: 21 outer corner, 22 edge, 23 inner corner

// As the mouse handler paints a terrain cell before handing it to the brush.
CellList paintTerrain(MapGrid& grid, int x, int y)
{
    grid.tile(x, y, 0) = kTerrain, grid.rotation(x, y, 0) = 0;
    grid.tile(x, y, 1) = emptyTile(1), grid.rotation(x, y, 1) = 0;
    return TerrainBrush(grid, x, y, 0, kTerrain);
}

TEST(TerrainBrushTest, InnerCornersAndFillsWhereTerrainMeetsOnTwoSides)
{
    // What, the terrain cells there, the one painted, and the piece expected (tile 99: a fill).
    const std::tuple<const char*, std::vector<GridCell>, GridCell, Expected> cases[] = {
        {"north and east: inner corner", {{6, 5}}, {5, 4}, {5, 5, 23, 3}},
        {"south and west", {{4, 5}}, {5, 6}, {5, 5, 23, 1}},
        {"north, east and west: fill", {{4, 5}, {6, 5}}, {5, 4}, {5, 5, 99, -1}},
        {"north and south: fill", {{5, 6}}, {5, 4}, {5, 5, 99, -1}}};
    for (const auto& [what, existing, painted, expected] : cases) {
        SCOPED_TRACE(what);
        MapGrid grid;
        for (GridCell cell : existing)
            paintTerrain(grid, cell.x, cell.y);
        paintTerrain(grid, painted.x, painted.y);
        expectCells(grid, 1, {expected});
        EXPECT_EQ(grid.tile(expected.x, expected.y, 0) == kTerrain, expected.tile == 99);
    }
}

TEST(TerrainBrushTest, CellsBetweenDiagonalTerrainStayAndTheBrushEnds)
{
    MapGrid grid;
    grid.tile(3, 3, 0) = kTerrain;
    grid.tile(7, 7, 0) = kTerrain;
    const CellList changed = paintTerrain(grid, 5, 5);
    expectCells(grid, 1, {{4, 4, 99, 0}, {6, 6, 99, 0}, {5, 4, 22, 0}, {6, 4, 21, 1}, {4, 6, 21, 3}});
    EXPECT_EQ(changed.size(), 6u);

    // Terrain on two diagonals waits: the fill between (3, 5) and (5, 5) then gives (4, 4)
    // and (4, 6) an edge.
    MapGrid waiting;
    paintTerrain(waiting, 3, 5);
    paintTerrain(waiting, 5, 5);
    EXPECT_EQ(waiting.tile(4, 5, 0), kTerrain);
    expectCells(waiting, 1, {{4, 4, 22, 0}, {4, 6, 22, 2}});
}

TEST(TerrainBrushTest, LaysEdgesAndCornersAroundAnIslandStaysOnTheGridAndLeavesTerrainAlone)
{
    MapGrid island;
    island.fill(0);
    island.clear(2);
    EXPECT_EQ(paintTerrain(island, 5, 5).size(), 8u);
    expectCells(island, 1, {{5, 4, 22, 0}, {6, 5, 22, 1}, {5, 6, 22, 2}, {4, 5, 22, 3}});
    expectCells(island, 1, {{4, 4, 21, 0}, {6, 4, 21, 1}, {6, 6, 21, 2}, {4, 6, 21, 3}});
    EXPECT_EQ(island.tile(5, 4, 0), 0) << "pieces lie over the ground, which stays";

    MapGrid grid;
    EXPECT_EQ(paintTerrain(grid, 0, 0), (CellList{{0, 1}, {1, 0}, {1, 1}}));
    paintTerrain(grid, 31, 31);
    expectCells(grid, 1,
                {{1, 0, 22, 1}, {0, 1, 22, 2}, {1, 1, 21, 2}, {30, 31, 22, 3}, {31, 30, 22, 0}, {30, 30, 21, 0}});

    grid.tile(6, 5, 0) = kTerrain;
    grid.tile(6, 5, 1) = 55;
    grid.rotation(6, 5, 1) = 3;
    paintTerrain(grid, 5, 5);
    expectCells(grid, 1, {{6, 5, 55, 3}});

    EXPECT_TRUE(TerrainBrush(grid, 5, 5, kCellLayers - 1, kTerrain).empty()) << "no layer above the top one";
}
