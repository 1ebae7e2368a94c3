#pragma once

#include "core/document/MapGrid.h"

#include <cstdint>

namespace xemap {

// Fills cell (x, y) from a single-layer map's (tile, rotation) pair. The cell must
// already be cleared. layerCount is that of the tileset loaded before the file was
// opened: every cell layer below it takes the old rotation. Tiles the tileset's
// table does not list, and tileset indexes without a table, set rotations only.
void convertSingleLayerCell(MapGrid& grid, std::int32_t tilesetIndex, int x, int y, std::int32_t oldTile,
                            std::int32_t oldRotation, int layerCount);

}  // namespace xemap
