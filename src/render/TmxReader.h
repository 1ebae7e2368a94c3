#pragma once

#include "core/document/MapDocument.h"
#include "core/files/Fault.h"
#include "core/mapfile/TmxFormat.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace xemap {

// Far above any TMX map the tmx command writes; a larger file is refused unread.
inline constexpr std::uintmax_t kTmxFileLimit = 16 * 1024 * 1024;

// The parts of a TMX map import needs, as Tiled 1.8 and later write them: tile layers
// (CSV, XML or base64, uncompressed, zlib or gzip, also inside group layers), embedded
// tilesets, objects with their type under "type" or "class", and properties. A fault
// names file; it is Malformed for anything that is no such map.
Result<tmx::Map> parseTmx(std::string_view bytes, const std::string& file);

// The map of a TMX file's bytes: parsed, then imported (importTmx).
Result<MapDocument> importTmxText(std::string_view bytes, const std::string& file);

}  // namespace xemap
