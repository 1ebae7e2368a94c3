#pragma once

#include "core/compare/MapDiff.h"
#include "core/document/MapDocument.h"

#include <string>
#include <vector>

namespace xemap {

struct MergeResult {
    MapDocument document;
    // "WHERE WHAT: base X / ours Y / theirs Z", OURS's value taken; in cell order.
    std::vector<MapDifference> conflicts;
    // "WHERE "NAME": location ID 5 in ours, 4 in theirs → 6" for each description whose
    // ID differs from the one it had on a side, since portals on other maps name IDs.
    std::vector<std::string> locationIdChanges;
};

// Three-way merge: each cell layer (tile with rotation), door slot, the map name and
// tileset, each description field and record is taken from the side that changed it.
// Descriptions are matched by cell and order within it, records by a longest common
// subsequence of names. What both sides changed differently keeps OURS's value and is
// a conflict. Additions of both sides at the same place come OURS's first.
MergeResult mergeMaps(const MapDocument& base, const MapDocument& ours, const MapDocument& theirs);

}  // namespace xemap
