// Reads arbitrary bytes as a tip file and as a group file, then paints with every
// group read, so that odd tables (huge rotations, far layers) reach the brushes too.
#include "core/editing/BoxFill.h"
#include "core/editing/ConnectorBrush.h"
#include "core/tileset/GroupFile.h"
#include "core/tileset/TipFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    xemap::readTips(bytes);
    xemap::companionFileName(bytes, "grp");

    xemap::LayerGroups groups;
    xemap::readGroups(bytes, groups);
    xemap::MapGrid grid;
    for (int mode = 2; mode < 2 + groups.slotCount; ++mode) {
        if (const auto* box = groups.boxGroupForMode(mode))
            xemap::boxFill(grid, 2, *box, -1, 40, 30, 31);
        if (const auto* connector = groups.connectorGroupForMode(mode)) {
            for (int x : {0, 1, 2, 1, 31})
                xemap::connectorBrush(grid, 2, *connector, x, x == 2 ? 1 : 0);
        }
        groups.groupOfTile(mode);
    }
    return 0;
}
