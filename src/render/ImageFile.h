#pragma once

#include "core/files/Fault.h"

#include <QImage>

#include <cstdint>
#include <filesystem>

namespace xemap {

// Size limits of the pictures the program reads: a 32-bit picture of the size each
// kind has, plus room for headers and a colour table.
inline constexpr std::uintmax_t kPictureHeaderRoom = 64 * 1024;
inline constexpr std::uintmax_t kSheetFileLimit = 802 * 802 * 4 + kPictureHeaderRoom;
inline constexpr std::uintmax_t kIconFileLimit = 64 * 64 * 4 + kPictureHeaderRoom;
inline constexpr std::uintmax_t kAboutPictureLimit = 512 * 208 * 4 + kPictureHeaderRoom;
// A sheet is 802 x 802; a picture that needs far more memory is not one.
inline constexpr qint64 kLargestSheetPixels = 4 * 1024 * 1024;

// A picture file, read as every file is (without blocking, regular files only, within
// the limit) and decoded in memory. The decoded picture may take no more than
// largestPixels pixels, so that a tiny compressed file cannot claim a huge one.
Result<QImage> readImageFile(const std::filesystem::path& file, std::uintmax_t limit, qint64 largestPixels);

}  // namespace xemap
