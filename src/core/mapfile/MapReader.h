#pragma once

#include "core/document/MapDocument.h"

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

struct ReadError {
    // Malformed covers every file that was opened but cannot be taken as a map: bad
    // content, too large, or more than the memory there is; the message says which.
    enum class Kind { CannotOpen, Malformed, UpgradeDeclined };
    Kind kind = Kind::Malformed;
    int line = 0;  // 1-based; 0 when the fault is not on a line
    std::string message;
};

struct LoadedMap {
    MapDocument document;
    bool hasMapNameLine = true;  // false: the file starts with the tileset index
    bool singleLayer = false;    // the file was upgraded from the single-layer format
    std::vector<SkippedLine> skipped;
};

// Either the whole map, or why there is none: a read never hands out half a map.
struct ReadResult {
    std::optional<LoadedMap> map;
    ReadError error;

    bool ok() const { return map.has_value(); }
};

// Reads map file text (CRLF or LF lines, lines of any length) into a fresh document.
ReadResult readMap(std::string_view text, const ReadOptions& options = {});

// Reads a map file; the document's file name and map directory are taken from path.
ReadResult readMapFile(const std::filesystem::path& path, const ReadOptions& options = {});

// One line for the user: "FILE: line N: what is wrong", control bytes escaped.
std::string describeReadError(const std::string& fileName, const ReadError& error);

}  // namespace xemap
