#pragma once

#include "core/editing/BrushEdit.h"
#include "core/tileset/GroupFile.h"

namespace xemap {

// Frames columns firstColumn to lastColumn and rows firstRow to lastRow (inclusive,
// clipped to the grid) on `layer` with the group's corners (piece 1) and edges
// (piece 2), each turned to its side, and fills the inside with piece 0 unless its
// tile is 0. Returns every cell it wrote, changed or not: each must be drawn again,
// since the drag's rubber band lies over them.
CellList boxFill(MapGrid& grid, int layer, const BoxGroup& group, int firstColumn, int lastColumn, int firstRow,
                 int lastRow);

}  // namespace xemap
