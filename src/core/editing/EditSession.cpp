#include "core/editing/EditSession.h"

#include "core/editing/BoxFill.h"
#include "core/editing/ConnectorBrush.h"
#include "core/editing/KeyCommands.h"
#include "core/editing/TerrainBrush.h"
#include "core/mapfile/MapWriter.h"
#include "core/output/Listing.h"

#include <algorithm>

namespace xemap {

Changes EditSession::paint(GridCell cell, int layer, int tile, int rotation)
{
    if (!insideGrid(cell.x, cell.y))
        return {};
    document_.grid.tile(cell.x, cell.y, layer) = tile;
    document_.grid.rotation(cell.x, cell.y, layer) = rotation;
    return Changes::cell(cell);
}

Changes EditSession::paintTerrain(GridCell cell, int layer, int terrain)
{
    if (!insideGrid(cell.x, cell.y))
        return {};
    MapGrid& grid = document_.grid;
    grid.tile(cell.x, cell.y, layer) = terrain;
    grid.rotation(cell.x, cell.y, layer) = 0;
    Changes changes = Changes::cell(cell);
    // The layer above takes its own empty value: 99 is empty only on cell layer 1,
    // and would show a tile on the others.
    if (layer + 1 < kCellLayers) {
        grid.tile(cell.x, cell.y, layer + 1) = emptyTile(layer + 1);
        grid.rotation(cell.x, cell.y, layer + 1) = 0;
        const CellList joined = TerrainBrush(grid, cell.x, cell.y, layer, terrain);
        changes.cells.insert(changes.cells.end(), joined.begin(), joined.end());
    }
    return changes;
}

Changes EditSession::connectorStep(GridCell cell, int layer, const ConnectorGroup& group)
{
    return {connectorBrush(document_.grid, layer, group, cell.x, cell.y), false, {}};
}

Changes EditSession::fillBox(const Region& region, int layer, const BoxGroup& group)
{
    return {boxFill(document_.grid, layer, group, region.firstColumn, region.endColumn, region.firstRow, region.endRow),
            false,
            {}};
}

Changes EditSession::clearOverlay(GridCell cell)
{
    if (!insideGrid(cell.x, cell.y))
        return {};
    document_.grid.tile(cell.x, cell.y, 1) = emptyTile(1);
    return Changes::cell(cell);
}

Changes EditSession::toggleDoor(GridCell cell, int slot)
{
    if (!insideGrid(cell.x, cell.y))
        return {};
    recordUndo();
    std::int32_t& door = document_.grid.door(cell.x, cell.y, slot);
    door = toggledDoor(slot, door);
    modified_ = true;
    return Changes::cell(cell);
}

Changes EditSession::setDoors(GridCell cell, const CellDoors& doors)
{
    if (!insideGrid(cell.x, cell.y) || document_.grid.doors[cell.x][cell.y] == doors)
        return {};
    recordUndo();
    document_.grid.doors[cell.x][cell.y] = doors;
    modified_ = true;
    return Changes::cell(cell);
}

Changes EditSession::rotate(GridCell cell, int layer, TurnDirection direction)
{
    if (!insideGrid(cell.x, cell.y))
        return {};
    recordUndo();
    modified_ = true;
    return {rotateTile(document_.grid, cell.x, cell.y, layer, direction), false, {}};
}

Changes EditSession::describe(int cellIndex, const TilePtr& working, int locationId)
{
    recordUndo();
    DescriptionList& list = document_.descriptions;
    const std::optional<int> oldPosition = list.find(cellIndex);
    TilePtr placed = working->copy();
    placed->cellIndex = cellIndex;
    const int position = list.placeBefore(std::move(placed), oldPosition, locationId);
    modified_ = true;
    return {{gridCellOf(cellIndex)}, false, oldPosition ? std::min(*oldPosition, position) : position};
}

void EditSession::editSharedRecord(const std::function<void()>& edit)
{
    edit();
    modified_ = true;
}

std::optional<Changes> EditSession::removeDescription(int cellIndex)
{
    DescriptionList& list = document_.descriptions;
    const std::optional<int> position = list.find(cellIndex);
    if (!position)
        return std::nullopt;
    // Unlike a bare removal, Remove All can be undone like every other change.
    recordUndo();
    list.removeAt(*position);
    modified_ = true;
    return Changes{{gridCellOf(cellIndex)}, false, *position};
}

bool EditSession::copyDescription(int cellIndex) { return descriptionClipboard_.copyFrom(document_, cellIndex); }

Changes EditSession::cutDescription(int cellIndex)
{
    if (!document_.descriptions.find(cellIndex))
        return {};
    recordUndo();
    modified_ = true;
    return {descriptionClipboard_.cutFrom(document_, cellIndex), false, {}};
}

Changes EditSession::pasteDescription(int cellIndex)
{
    if (!descriptionClipboard_.canPaste() || cellIndex < 0 || cellIndex >= kCellCount)
        return {};
    recordUndo();
    modified_ = true;
    return {descriptionClipboard_.pasteTo(document_, cellIndex), false, {}};
}

Changes EditSession::takeRegion(const Region& region, RegionTake take)
{
    recordUndo();
    regionTaken_ = true;
    modified_ = true;
    return {xemap::takeRegion(document_, region, take, regionClipboard_), false, {}};
}

Changes EditSession::pasteRegion(GridCell cell)
{
    if (!insideGrid(cell.x, cell.y))
        return {};
    recordUndo();
    modified_ = true;
    return {xemap::pasteRegion(document_, regionClipboard_, cell.x, cell.y), false, {}};
}

Changes EditSession::undo()
{
    if (!history_.undo(document_))
        return {};
    modified_ = true;
    return Changes::everything();
}

Changes EditSession::redo()
{
    if (!history_.redo(document_))
        return {};
    modified_ = true;
    return Changes::everything();
}

Changes EditSession::startFresh()
{
    modified_ = false;
    history_.forget();
    return Changes::everything();
}

Changes EditSession::newMapFilled(int baseTile)
{
    document_.descriptions.clear();
    document_.grid.fill(baseTile);
    return startFresh();
}

Changes EditSession::newMapCleared(int layerCount)
{
    document_.descriptions.clear();
    document_.grid.clear(layerCount);
    return startFresh();
}

Changes EditSession::open(MapDocument document, bool upgraded)
{
    document_ = std::move(document);
    Changes changes = startFresh();
    // An upgraded map is offered for saving.
    modified_ = upgraded;
    return changes;
}

Result<void> EditSession::save(std::string path)
{
    Result<void> saved = saveMapFile(document_, path);
    if (saved) {
        document_.mapFileName = std::move(path);
        modified_ = false;
    }
    return saved;
}

std::string EditSession::exportListing()
{
    giveItemsTheListedValue(document_.descriptions);
    return listingText(document_.descriptions);
}

}  // namespace xemap
