#pragma once

#include "core/document/MapDocument.h"

#include <string>
#include <vector>

namespace xemap {

// What a difference is about, for a reviewer's eye: each kind has its own outline colour.
enum class ChangeKind { Map, Tiles, Doors, Descriptions };

// The map name and tileset belong to no cell.
inline constexpr int kWholeMap = -2;

// One difference in words. cellIndex is the cell it belongs to, -1 for a detached
// description, kWholeMap for the map name and tileset.
struct MapDifference {
    int cellIndex = kWholeMap;
    ChangeKind kind = ChangeKind::Map;
    std::string text;

    bool operator==(const MapDifference&) const = default;
};

// Orders differences as a reader looks for them: the whole map first, then the cells by
// cell index, detached descriptions last; the order within a cell is kept.
void sortByCell(std::vector<MapDifference>& differences);

// Every difference from a to b, one line each: cell layers (tile and rotation), door
// slots, the map name and tileset, and for descriptions (matched as the merge matches
// them) their location IDs, fields and records added, removed or changed.
std::vector<MapDifference> mapDiff(const MapDocument& a, const MapDocument& b);

}  // namespace xemap
