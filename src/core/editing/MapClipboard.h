#pragma once

#include "core/document/EditorState.h"
#include "core/document/MapDocument.h"

#include <array>
#include <cstdint>
#include <vector>

namespace xemap {

// Cell indexes a command changed, for the window to redraw.

// One copied cell. The description is held by reference, not by list position,
// so a paste after the list changed attaches only what came from the region.
struct RegionCellRecord {
    std::int32_t columnOffset = 0;
    std::int32_t rowOffset = 0;
    std::array<std::int32_t, kCellLayers> tiles{};
    std::array<std::int32_t, kCellLayers> rotations{};
    std::array<std::int32_t, kDoorSlots> doors{};
    TilePtr description;
};

using RegionClipboard = std::vector<RegionCellRecord>;

enum class RegionTake { Cut, Copy };

// Fills the clipboard from the region (clipped to the grid), column by column.
// Both forms detach the cells' first descriptions (cellIndex -1); Cut also clears
// the cells' tiles, rotations and doors.
CellList takeRegion(MapDocument& document, const Region& region, RegionTake take, RegionClipboard& clipboard);

// Writes the clipboard with its first cell at (column, row); cells beyond the grid
// are skipped. Descriptions still in the list move to their target cells.
CellList pasteRegion(MapDocument& document, const RegionClipboard& clipboard, int column, int row);

// The one-description clipboard: a Cut or Copy allows one Paste.
class DescriptionClipboard {
public:
    // Both act on the first description of the cell itself; nothing when it has none.
    bool copyFrom(const MapDocument& document, int cellIndex);
    CellList cutFrom(MapDocument& document, int cellIndex);
    // Appends a copy (records shared) to the list for the cell.
    CellList pasteTo(MapDocument& document, int cellIndex);

    bool canPaste() const { return canPaste_; }
    const TilePtr& held() const { return held_; }

private:
    TilePtr held_ = std::make_shared<XETile>();
    bool canPaste_ = false;
};

enum class TurnDirection { Left, Right };

// Rotation of one cell layer turned a quarter, wrapping at 0 and 3.
CellList rotateTile(MapGrid& grid, int column, int row, int layer, TurnDirection direction);

}  // namespace xemap
