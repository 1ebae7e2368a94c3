#pragma once

#include "core/descriptions/DescriptionList.h"
#include "core/document/MapGrid.h"

#include <cstdint>
#include <string>

namespace xemap {

// What a map file holds, plus the file identity the save and open commands keep.
struct MapDocument {
    MapGrid grid;
    DescriptionList descriptions;
    std::int32_t tilesetIndex = 0;
    std::string mapName;
    std::string mapFileName;
    std::string mapDirectory;
};

}  // namespace xemap
