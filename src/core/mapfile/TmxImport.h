#pragma once

#include "core/document/MapDocument.h"
#include "core/files/Fault.h"
#include "core/mapfile/TmxFormat.h"

#include <string>

namespace xemap {

// The map a TMX map written by writeTmx stands for, also after Tiled edited and saved
// it: a tile a tile layer shows wins over the values a property keeps for that cell.
// Anything a map cannot hold (another size, a tile of another tileset, a mirrored tile,
// an object or property it has no place for) is a Malformed fault naming the cell or
// object and why; file names the TMX file in it.
Result<MapDocument> importTmx(const tmx::Map& map, const std::string& file);

}  // namespace xemap
