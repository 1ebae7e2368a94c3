#include "core/editing/ConnectorBrush.h"
#include "core/tileset/TerrainBrush.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

using namespace xemap;

namespace {

constexpr std::int32_t kTerrain = 40;
constexpr int kConnectorLayer = 2;

// Every change lies where `allowed(cell, layer)` lets it; the brush's list names each
// changed cell once, and no other.
void expectChanges(const MapGrid& before, const MapGrid& after, CellList reported, const auto& allowed)
{
    CellList changed;
    for (int index = 0; index < kCellCount; ++index) {
        const GridCell cell{index % kMapSize, index / kMapSize};
        bool differs = false;
        for (int layer = 0; layer < kCellLayers; ++layer) {
            if (before.tile(cell.x, cell.y, layer) != after.tile(cell.x, cell.y, layer)
                || before.rotation(cell.x, cell.y, layer) != after.rotation(cell.x, cell.y, layer)) {
                EXPECT_TRUE(allowed(cell, layer)) << "cell " << cell.x << "," << cell.y << " layer " << layer;
                differs = true;
            }
        }
        if (differs)
            changed.push_back(cell);
    }
    std::ranges::sort(reported, {}, [](GridCell c) { return cellIndexOf(c.x, c.y); });
    EXPECT_EQ(reported, changed);
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

int distance(GridCell a, GridCell b, bool diagonalsToo)
{
    const int dx = std::abs(a.x - b.x), dy = std::abs(a.y - b.y);
    return diagonalsToo ? std::max(dx, dy) : dx + dy;
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
    const std::int32_t mapTiles[] = {kTerrain, kTerrain, 0, 5, 4, 99, 60, 61, 62, 70, 73};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(mapTiles) - 1);
    std::uniform_int_distribution<int> turn(0, 3);

    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        MapGrid grid;
        for (int x = 0; x < kMapSize; ++x)
            for (int y = 0; y < kMapSize; ++y)
                for (int layer = 0; layer < 3; ++layer) {
                    grid.tile(x, y, layer) = mapTiles[pick(random)];
                    grid.rotation(x, y, layer) = turn(random);
                }
        for (GridCell cell : randomStroke(random)) {
            grid.tile(cell.x, cell.y, 0) = kTerrain;
            grid.rotation(cell.x, cell.y, 0) = 0;
            grid.tile(cell.x, cell.y, 1) = emptyTile(1);
            grid.rotation(cell.x, cell.y, 1) = 0;
            const MapGrid before = grid;
            const CellList reported = TerrainBrush(grid, cell.x, cell.y, 0, kTerrain);
            expectChanges(before, grid, reported,
                          [&](GridCell c, int layer) { return distance(c, cell, true) <= 1 && layer <= 1; });
        }
        for (GridCell cell : randomStroke(random)) {
            const MapGrid before = grid;
            const CellList reported = connectorBrush(grid, kConnectorLayer, fence, cell.x, cell.y);
            expectChanges(before, grid, reported, [&](GridCell c, int layer) {
                return distance(c, cell, false) <= 1 && (layer == kConnectorLayer || c == cell);
            });
        }
    }
}
