#include "core/editing/BrushEdit.h"

namespace xemap {

void BrushEdit::setTile(GridCell cell, int layer, std::int32_t tile)
{
    write(grid_.tile(cell.x, cell.y, layer), tile, cell);
}

void BrushEdit::setRotation(GridCell cell, int layer, std::int32_t rotation)
{
    write(grid_.rotation(cell.x, cell.y, layer), rotation, cell);
}

void BrushEdit::write(std::int32_t& target, std::int32_t value, GridCell cell)
{
    if (target == value)
        return;
    target = value;
    const int index = cellIndexOf(cell.x, cell.y);
    if (!marked_[index]) {
        marked_[index] = true;
        changed_.push_back(cell);
    }
}

}  // namespace xemap
