#include "editing/BoxFill.h"
#include "editing/ConnectorBrush.h"
#include "tileset/TerrainBrush.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

using namespace xemap;

namespace {

constexpr bool validRotation(std::int32_t rotation) { return rotation >= 0 && rotation <= 3; }
constexpr std::int32_t kTerrain = 40;
constexpr int kConnectorLayer = 2;

struct Difference {
    GridCell cell;
    int layer;
};

std::vector<Difference> differences(const MapGrid& before, const MapGrid& after)
{
    std::vector<Difference> found;
    for (int x = 0; x < kMapSize; ++x)
        for (int y = 0; y < kMapSize; ++y)
            for (int layer = 0; layer < kCellLayers; ++layer)
                if (before.tile(x, y, layer) != after.tile(x, y, layer) ||
                    before.rotation(x, y, layer) != after.rotation(x, y, layer))
                    found.push_back({{x, y}, layer});
    return found;
}

// The brush's list names each changed cell once, and no other.
void expectReported(CellList reported, const std::vector<Difference>& found)
{
    CellList changed;
    for (const Difference& d : found)
        if (std::find(changed.begin(), changed.end(), d.cell) == changed.end())
            changed.push_back(d.cell);
    auto order = [](GridCell a, GridCell b) { return cellIndexOf(a.x, a.y) < cellIndexOf(b.x, b.y); };
    std::sort(reported.begin(), reported.end(), order);
    std::sort(changed.begin(), changed.end(), order);
    EXPECT_EQ(reported, changed);
}

MapGrid randomMap(std::mt19937& random, const std::vector<std::int32_t>& layerTiles)
{
    std::uniform_int_distribution<std::size_t> pick(0, layerTiles.size() - 1);
    std::uniform_int_distribution<int> turn(0, 3);
    MapGrid grid;
    for (int x = 0; x < kMapSize; ++x)
        for (int y = 0; y < kMapSize; ++y)
            for (int layer = 0; layer < 3; ++layer) {
                grid.tile(x, y, layer) = layerTiles[pick(random)];
                grid.rotation(x, y, layer) = turn(random);
            }
    return grid;
}

// A wandering drag of up to 32 cells, which may start at the border and run along it.
std::vector<GridCell> randomStroke(std::mt19937& random)
{
    std::uniform_int_distribution<int> coordinate(0, kMapSize - 1);
    std::uniform_int_distribution<int> step(-1, 1);
    std::vector<GridCell> stroke{{coordinate(random), coordinate(random)}};
    while (stroke.size() < 32) {
        GridCell next = stroke.back();
        next.x = std::clamp(next.x + step(random), 0, kMapSize - 1);
        next.y = std::clamp(next.y + step(random), 0, kMapSize - 1);
        stroke.push_back(next);
    }
    return stroke;
}

bool within(GridCell cell, GridCell centre, bool diagonalsToo)
{
    const int dx = std::abs(cell.x - centre.x);
    const int dy = std::abs(cell.y - centre.y);
    return diagonalsToo ? dx <= 1 && dy <= 1 : dx + dy <= 1;
}

}  // namespace

// A brush call that never returned would hang this test; every call must end and
// stay within the cells its brush may touch.
TEST(BrushPropertyTest, RandomStrokesEndAndChangeOnlyTheStrokesNeighbourhood)
{
    std::mt19937 random(20261207);
    const ConnectorGroup fence{{{{60, 1}, {61, 0}, {62, 3}, {kNoCrossPiece, 2}}},
                               {{{205, 70, 1}, {60, 71, -1}, {-1, -1, 0}, {9999, 72, 0}}},
                               {{{104, 73, 2}, {62, 60, 0}, {-1, -1, 0}, {-1, -1, 0}}}};
    const BoxGroup box{{{{0, 0}, {64, 3}, {65, 1}, {66, 0}}}};

    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        MapGrid grid = randomMap(random, {kTerrain, kTerrain, 0, 5, 4, 99, 60, 61, 62, 70, 73});
        for (GridCell cell : randomStroke(random)) {
            grid.tile(cell.x, cell.y, 0) = kTerrain;
            grid.rotation(cell.x, cell.y, 0) = 0;
            grid.tile(cell.x, cell.y, 1) = emptyTile(1);
            grid.rotation(cell.x, cell.y, 1) = 0;
            const MapGrid before = grid;
            const CellList reported = TerrainBrush(grid, cell.x, cell.y, 0, kTerrain);
            const auto found = differences(before, grid);
            for (const Difference& d : found) {
                EXPECT_TRUE(within(d.cell, cell, true));
                EXPECT_LE(d.layer, 1);
            }
            expectReported(reported, found);
        }
        for (GridCell cell : randomStroke(random)) {
            const MapGrid before = grid;
            const CellList reported = connectorBrush(grid, kConnectorLayer, fence, cell.x, cell.y);
            const auto found = differences(before, grid);
            for (const Difference& d : found) {
                EXPECT_TRUE(within(d.cell, cell, false));
                EXPECT_TRUE(d.layer == kConnectorLayer || d.cell == cell);
            }
            for (const GridCell& c : reported)
                EXPECT_TRUE(validRotation(grid.rotation(c.x, c.y, kConnectorLayer)));
            expectReported(reported, found);
        }
        std::uniform_int_distribution<int> coordinate(-5, kMapSize + 5);
        const int c1 = coordinate(random), c2 = coordinate(random), r1 = coordinate(random), r2 = coordinate(random);
        const MapGrid before = grid;
        const CellList reported = boxFill(grid, kConnectorLayer, box, c1, c2, r1, r2);
        const auto found = differences(before, grid);
        for (const Difference& d : found) {
            EXPECT_EQ(d.layer, kConnectorLayer);
            EXPECT_GE(d.cell.x, std::min(c1, c2));
            EXPECT_LE(d.cell.x, std::max(c1, c2));
            EXPECT_GE(d.cell.y, std::min(r1, r2));
            EXPECT_LE(d.cell.y, std::max(r1, r2));
        }
        expectReported(reported, found);
    }
}
