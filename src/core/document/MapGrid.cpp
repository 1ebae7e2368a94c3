#include "core/document/MapGrid.h"

#include <algorithm>

namespace xemap {

bool MapGrid::hasDoor(int x, int y) const
{
    const auto& slots = doors[x][y];
    return std::any_of(slots.begin(), slots.end(), [](std::int32_t v) { return v != 0; });
}

void MapGrid::clear(int layerCount)
{
    const int layers = std::clamp(layerCount, 0, kCellLayers);
    for (int x = 0; x < kMapSize; ++x) {
        for (int y = 0; y < kMapSize; ++y) {
            for (int layer = 0; layer < layers; ++layer) {
                tiles[x][y][layer] = emptyTile(layer);
                rotations[x][y][layer] = 0;
            }
            doors[x][y].fill(0);
        }
    }
}

void MapGrid::fill(std::int32_t tileNumber)
{
    for (auto& column : tiles)
        for (auto& cell : column)
            cell.fill(tileNumber);
    for (auto& column : rotations)
        for (auto& cell : column)
            cell.fill(0);
}

}  // namespace xemap
