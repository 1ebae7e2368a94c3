#pragma once

#include "core/editing/BrushEdit.h"

#include <cstdint>

namespace xemap {

// Blends terrain tile T (column 0 of a base sheet row; T + 1 outer corner, T + 2 edge,
// T + 3 inner corner) into the eight cells around (column, row), which the caller has
// just painted with T on `layer` (and emptied on layer + 1). Transition pieces go on
// layer + 1 turned towards the terrain; a cell with terrain on two opposite sides
// becomes terrain. Cells that could only wait on each other stay as they are, so the
// call always ends. Returns the cells it changed.
CellList TerrainBrush(MapGrid& grid, int column, int row, int layer, std::int32_t terrain);

}  // namespace xemap
