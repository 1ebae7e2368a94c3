#pragma once

#include "core/files/Fault.h"

#include <filesystem>
#include <string_view>

namespace xemap {

// How the new bytes are held until they replace the target. Unnamed (Linux O_TMPFILE)
// leaves nothing behind if the program dies while writing; where the file system has
// no such files, or when Named is asked for, a hidden named file is used, and the next
// save to the same folder removes such files that this user's dead saves left.
enum class TemporaryFile { Unnamed, Named };

// Replaces the file at target with bytes without ever leaving it half written:
// the bytes go to a new file in the target's folder, which is synced to the disk and
// renamed over the target, and the folder is synced around the rename, so that after
// a crash or power cut the target is the old file or the new one, whole. On any
// failure the old file stays as it was, the temporary file is removed and the fault
// names the target with the system's reason ("Permission denied", "No space left on
// device"). An existing target that is not a regular file or cannot be opened for
// writing (read-only) is a failure too. A writable target in a folder that takes no
// new files is rewritten in place, which is not proof against a crash but the only
// save possible there.
Result<void> saveFileSafely(const std::filesystem::path& target, std::string_view bytes,
                            TemporaryFile kind = TemporaryFile::Unnamed);

}  // namespace xemap
