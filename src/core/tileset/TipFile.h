#pragma once

#include "core/files/Fault.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace xemap {

// The name of a layer bitmap's companion file: the layer's file name cut after the
// "." of its first ".bmp" (case-sensitive), with the extension appended. A name
// without ".bmp" (capitals included) gives the bare extension.
std::string companionFileName(std::string_view layerFile, std::string_view extension);

inline std::string tipFileName(std::string_view layerFile) { return companionFileName(layerFile, "tip"); }

// One description per tile in tile order, line k for tile k; a line of any length is
// one entry, kept as the bytes read without its line break (CRLF or LF). Lines past
// the sheet's last tile describe nothing and are not kept.
using TileTips = std::vector<std::string>;

inline constexpr std::size_t kSheetTiles = 100;
// Far above any real tip or group file; a larger one is refused unread.
inline constexpr std::uintmax_t kTilesetTextLimit = 4 * 1024 * 1024;

TileTips readTips(std::string_view text);
// The fault says why a file could not be read (missing, not a regular file, over the limit).
Result<TileTips> readTipFile(const std::filesystem::path& file, std::uintmax_t limit = kTilesetTextLimit);

}  // namespace xemap
