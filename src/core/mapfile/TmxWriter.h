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

// The whole map as a TMX document that Tiled opens and keeps (the layout is in
// TmxFormat.h): one tileset per sheet (in the order given), one tile layer per cell layer
// below cellLayerCount that has a sheet, an object per cell with doors and per
// description, and properties for everything else, so that importing it gives the map back.
std::string writeTmx(const MapDocument& document, int cellLayerCount, const std::vector<TmxTileSheet>& sheets);

}  // namespace xemap
