#include "core/editing/MapClipboard.h"

#include <algorithm>

namespace xemap {

namespace {

// A cursor off the grid gives no cell index, and -1 must not find the detached descriptions.
bool onGrid(int cellIndex) { return cellIndex >= 0 && cellIndex < kCellCount; }

bool stillListed(const DescriptionList& list, const TilePtr& tile)
{
    return std::ranges::find(list.tiles(), tile) != list.tiles().end();
}

RegionCellRecord recordOf(const MapGrid& grid, int column, int row, const Region& region)
{
    RegionCellRecord record;
    record.columnOffset = column - region.firstColumn;
    record.rowOffset = row - region.firstRow;
    for (int layer = 0; layer < kCellLayers; ++layer) {
        record.tiles[layer] = grid.tile(column, row, layer);
        record.rotations[layer] = grid.rotation(column, row, layer);
    }
    for (int slot = 0; slot < kDoorSlots; ++slot)
        record.doors[slot] = grid.door(column, row, slot);
    return record;
}

// Each layer takes its own empty value: a 0 on layer 1 would be an opaque base tile over the cell.
void clearCell(MapGrid& grid, int column, int row)
{
    for (int layer = 0; layer < kCellLayers; ++layer)
        grid.tile(column, row, layer) = emptyTile(layer);
    grid.rotations[column][row].fill(0);
    grid.doors[column][row].fill(0);
}

void writeCell(MapGrid& grid, int column, int row, const RegionCellRecord& record)
{
    grid.tiles[column][row] = record.tiles;
    grid.rotations[column][row] = record.rotations;
    grid.doors[column][row] = record.doors;
}

}  // namespace

CellList takeRegion(MapDocument& document, const Region& region, RegionTake take, RegionClipboard& clipboard)
{
    clipboard.clear();
    CellList changed;
    const Region clipped{std::max(region.firstColumn, 0), std::min(region.endColumn, kMapSize),
                         std::max(region.firstRow, 0), std::min(region.endRow, kMapSize)};
    for (int column = clipped.firstColumn; column < clipped.endColumn; ++column) {
        for (int row = clipped.firstRow; row < clipped.endRow; ++row) {
            RegionCellRecord record = recordOf(document.grid, column, row, clipped);
            const int cellIndex = cellIndexOf(column, row);
            if (take == RegionTake::Cut)
                clearCell(document.grid, column, row);
            if (TilePtr description = document.descriptions.descriptionOf(cellIndex)) {
                description->cellIndex = -1;
                record.description = std::move(description);
            }
            if (take == RegionTake::Cut || record.description)
                changed.push_back({column, row});
            clipboard.push_back(std::move(record));
        }
    }
    return changed;
}

CellList pasteRegion(MapDocument& document, const RegionClipboard& clipboard, int column, int row)
{
    CellList changed;
    if (!insideGrid(column, row))
        return changed;
    for (const RegionCellRecord& record : clipboard) {
        const int x = column + record.columnOffset, y = row + record.rowOffset;
        if (!insideGrid(x, y))
            continue;
        writeCell(document.grid, x, y, record);
        changed.push_back({x, y});
        if (!record.description || !stillListed(document.descriptions, record.description))
            continue;
        // A second paste moves the description on: its former cell loses the label.
        if (record.description->cellIndex >= 0)
            changed.push_back(gridCellOf(record.description->cellIndex));
        record.description->cellIndex = cellIndexOf(x, y);
    }
    return changed;
}

bool DescriptionClipboard::copyFrom(const MapDocument& document, int cellIndex)
{
    TilePtr found = onGrid(cellIndex) ? document.descriptions.descriptionOf(cellIndex) : nullptr;
    if (!found)
        return false;
    held_ = std::move(found);
    canPaste_ = true;
    return true;
}

CellList DescriptionClipboard::cutFrom(MapDocument& document, int cellIndex)
{
    const auto position = onGrid(cellIndex) ? document.descriptions.find(cellIndex) : std::nullopt;
    if (!position)
        return {};
    copyFrom(document, cellIndex);
    document.descriptions.removeAt(*position);
    // Every description behind it now shows a location ID one lower.
    CellList changed{gridCellOf(cellIndex)};
    for (int later = *position; later < document.descriptions.size(); ++later) {
        const int laterCell = document.descriptions.at(later)->cellIndex;
        if (laterCell >= 0)
            changed.push_back(gridCellOf(laterCell));
    }
    return changed;
}

CellList DescriptionClipboard::pasteTo(MapDocument& document, int cellIndex)
{
    if (!canPaste_ || !onGrid(cellIndex))
        return {};
    TilePtr pasted = held_->copy();
    pasted->cellIndex = cellIndex;
    document.descriptions.append(std::move(pasted));
    canPaste_ = false;
    return {gridCellOf(cellIndex)};
}

CellList rotateTile(MapGrid& grid, int column, int row, int layer, TurnDirection direction)
{
    if (!insideGrid(column, row) || layer < 0 || layer >= kCellLayers)
        return {};
    std::int32_t& rotation = grid.rotation(column, row, layer);
    rotation += direction == TurnDirection::Left ? -1 : 1;
    if (rotation < 0)
        rotation = 3;
    if (rotation > 3)
        rotation = 0;
    return {{column, row}};
}

}  // namespace xemap
