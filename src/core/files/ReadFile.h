#pragma once

#include "core/files/Fault.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace xemap {

// Whether a symbolic link is followed to the file it names. Folders that belong to the
// program alone (crash recovery) refuse links, so that nothing is read through them.
enum class Links { Follow, Refuse };

// The one way a file is read: opened without blocking (a pipe or device is refused at
// once, never waited on), accepted only as a regular file (checked on the opened file,
// so a swap after a check cannot slip a device in), and at most limit bytes long.
Result<std::string> readFile(const std::filesystem::path& file, std::uintmax_t limit, Links links = Links::Follow);

// "the file is larger than 4 MB", for a limit's fault and for messages that name it.
std::string sizeLimitText(std::uintmax_t limit);

}  // namespace xemap
