#pragma once

#include "core/document/MapDocument.h"

#include <string>

namespace xemap {

// The whole map as stable, readable text (LF lines): the map name and tileset, one line per
// cell that differs from a cleared cell, then a block per description in location ID order
// with one line per field and per record, so that a line-based diff of two maps reads as
// the changes.
std::string showMap(const MapDocument& document);

}  // namespace xemap
