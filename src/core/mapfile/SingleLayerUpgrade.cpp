#include "core/mapfile/SingleLayerUpgrade.h"

#include "core/mapfile/UpgradeTables.h"

#include <algorithm>
#include <span>

namespace xemap {

namespace {

constexpr bool ascending(std::span<const upgrade::Entry> table)
{
    return std::is_sorted(table.begin(), table.end(),
                          [](const upgrade::Entry& a, const upgrade::Entry& b) { return a.oldTile < b.oldTile; });
}
static_assert(ascending(upgrade::kGroupIndexes0And4) && ascending(upgrade::kGroupIndexes1And3)
              && ascending(upgrade::kGroupIndex2));

std::span<const upgrade::Entry> tableFor(std::int32_t tilesetIndex)
{
    switch (tilesetIndex) {
    case 0:
    case 4: return upgrade::kGroupIndexes0And4;
    case 1:
    case 3: return upgrade::kGroupIndexes1And3;
    case 2: return upgrade::kGroupIndex2;
    default: return {};
    }
}

const upgrade::Entry* findEntry(std::int32_t tilesetIndex, std::int32_t oldTile)
{
    const auto table = tableFor(tilesetIndex);
    const auto it = std::lower_bound(table.begin(), table.end(), oldTile,
                                     [](const upgrade::Entry& e, std::int32_t tile) { return e.oldTile < tile; });
    return it != table.end() && it->oldTile == oldTile ? &*it : nullptr;
}

// Wide arithmetic: an old rotation is kept as read, however large.
std::int32_t turned(std::int32_t oldRotation, int turn)
{
    return static_cast<std::int32_t>((static_cast<std::int64_t>(oldRotation) + turn) % 4);
}

void place(MapGrid& grid, int x, int y, int layer, const upgrade::Placement& placement, std::int32_t oldRotation)
{
    if (!placement.placed())
        return;
    grid.tile(x, y, layer) = placement.tile;
    if (placement.turn != 0)
        grid.rotation(x, y, layer) = turned(oldRotation, placement.turn);
}

}  // namespace

void convertSingleLayerCell(MapGrid& grid, std::int32_t tilesetIndex, int x, int y, std::int32_t oldTile,
                            std::int32_t oldRotation, int layerCount)
{
    const int layers = std::clamp(layerCount, 0, kCellLayers);
    for (int layer = 0; layer < layers; ++layer)
        grid.rotation(x, y, layer) = oldRotation;
    const upgrade::Entry* entry = findEntry(tilesetIndex, oldTile);
    if (!entry)
        return;
    place(grid, x, y, 0, entry->layer0, oldRotation);
    place(grid, x, y, 1, entry->layer1, oldRotation);
    place(grid, x, y, 2, entry->layer2, oldRotation);
}

}  // namespace xemap
