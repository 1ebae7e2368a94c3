#pragma once

#include "core/document/MapDocument.h"
#include "core/files/Fault.h"

#include <filesystem>
#include <string>

namespace xemap {

// The map file text of the document: map name, tileset index, 1024 cell lines in
// [x][y] order, then one block per description, every line ending in CRLF.
// Content that the reader would take for structure is altered as little as it
// can be: a line break inside a line becomes a blank, and a line that would read
// as a terminator, a section header or a header-less tileset index gets one
// trailing blank.
std::string writeMap(const MapDocument& document);

// Writes the map file through a temporary file; a fault leaves the old file intact.
Result<void> saveMapFile(const MapDocument& document, const std::filesystem::path& path);

}  // namespace xemap
