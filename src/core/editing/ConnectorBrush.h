#pragma once

#include "core/editing/BrushEdit.h"
#include "core/tileset/GroupFile.h"

namespace xemap {

// Paints the connector group at (column, row) on `layer`: a tile that one of the
// group's conversion tables matches is turned into its replacement piece; otherwise
// the cell gets the piece that joins the group's members among its four neighbours.
// Then every neighbour holding one of the group's pieces is joined again. Returns
// the cells it changed.
CellList connectorBrush(MapGrid& grid, int layer, const ConnectorGroup& group, int column, int row);

}  // namespace xemap
