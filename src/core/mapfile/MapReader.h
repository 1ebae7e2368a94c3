#pragma once

#include "core/document/MapDocument.h"
#include "core/files/Fault.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xemap {

// Far above any map the editor writes; a larger file is refused before it is read.
inline constexpr std::uintmax_t kMapFileLimit = 64 * 1024 * 1024;

struct ReadOptions {
    // Layer count of the tileset loaded before the file is read: the single-layer
    // upgrade turns every cell layer below it.
    int layerCount = 3;
    // Asked once when the file is in the single-layer format: true upgrades it,
    // false cancels the whole read. Without a question the file is upgraded.
    std::function<bool()> confirmUpgrade;
    // The memory the read document may take: this many times the text's size, and at
    // least minimumMemory. Text built to cost far more than its bytes (millions of empty
    // lines or records) is refused rather than read.
    std::size_t memoryPerByte = 8;
    std::size_t minimumMemory = 16 * 1024 * 1024;
    std::uintmax_t sizeLimit = kMapFileLimit;
};

// A line the reader passed over without taking anything from it.
struct SkippedLine {
    int line = 0;
    std::string text;
};

struct LoadedMap {
    MapDocument document;
    bool hasMapNameLine = true;  // false: the file starts with the tileset index
    bool singleLayer = false;    // the file was upgraded from the single-layer format
    std::vector<SkippedLine> skipped;
};

// Reads map file text (CRLF or LF lines, lines of any length) into a fresh document:
// the whole map, or the fault that stopped it (a read never hands out half a map).
// Malformed text is a Malformed fault on its line; "Leave it Alone!" to the upgrade
// question is a Declined one.
Result<LoadedMap> readMap(std::string_view text, const ReadOptions& options = {});

// Reads a map file; the document's file name and map directory are taken from path,
// and a fault names the file.
Result<LoadedMap> readMapFile(const std::filesystem::path& path, const ReadOptions& options = {});

}  // namespace xemap
