#pragma once

#include <filesystem>
#include <string_view>

namespace xemap {

// Replaces the file at target with bytes without ever leaving it half written:
// the bytes go to a new file in the target's folder, which is flushed, closed and
// renamed over the target. On any failure the old file stays as it was, the
// temporary file is removed and the result is false. An existing target that
// cannot be opened for writing (read-only) is a failure too.
bool saveFileSafely(const std::filesystem::path& target, std::string_view bytes);

}  // namespace xemap
