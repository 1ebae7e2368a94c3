#pragma once

#include "core/document/MapDocument.h"

#include <string>
#include <vector>

namespace xemap {

// A tile sheet of the map's tileset as a TMX map names it.
struct TmxTileSheet {
    int tilesetLayer;       // 0 to 4
    std::string imagePath;  // as the TMX file refers to it, '/' between folders
};

// The map as a TMX document that Tiled opens: one tileset per sheet (in the order
// given), one tile layer per cell layer below cellLayerCount with its empty value,
// tiles out of range and tiles of a layer without a sheet as no tile, and the
// descriptions and doors as one object per cell in an object layer. Text is taken
// as Latin-1 and written as UTF-8.
std::string writeTmx(const MapDocument& document, int cellLayerCount, const std::vector<TmxTileSheet>& sheets);

}  // namespace xemap
