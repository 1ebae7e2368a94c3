#pragma once

#include "core/document/MapGrid.h"

#include <bitset>
#include <cstdint>
#include <vector>

namespace xemap {

// Any number of quarter turns as 0 to 3; wide, so that stored rotations and group
// addends of any size add up without overflow.
constexpr std::int32_t quarterTurns(std::int64_t rotation) { return static_cast<std::int32_t>((rotation % 4 + 4) % 4); }

// One brush call's writes to the grid. It remembers each cell whose tile or rotation
// actually changed, once, in the order of the first change, for the window to redraw.
class BrushEdit {
public:
    explicit BrushEdit(MapGrid& grid) : grid_(grid) {}

    const MapGrid& grid() const { return grid_; }
    void setTile(GridCell cell, int layer, std::int32_t tile);
    void setRotation(GridCell cell, int layer, std::int32_t rotation);

    CellList changedCells() && { return std::move(changed_); }

private:
    void write(std::int32_t& target, std::int32_t value, GridCell cell);

    MapGrid& grid_;
    std::bitset<kCellCount> marked_;
    CellList changed_;
};

}  // namespace xemap
