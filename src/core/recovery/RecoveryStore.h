#pragma once

#include "core/files/Fault.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xemap {

// What is kept beside a recovery map: the map's own file name (empty for a map never
// saved) and when the recovery map was written.
struct RecoveryRecord {
    std::string mapFileName;
    std::int64_t writtenAt = 0;  // seconds since the epoch
};

// A record's text: the time on the first line, then the file name as every byte after it.
std::optional<RecoveryRecord> parseRecoveryRecord(std::string_view text);

// One recovery map in the folder, named for the editor that wrote it.
struct RecoveryEntry {
    std::string owner;
    std::filesystem::path mapPath;
    RecoveryRecord record;
};

// The folder of recovery maps: one map file and one record per running editor, each
// named for its owner ("OWNER.xem", "OWNER.info"), written through the safe save so
// that a crash while writing leaves the previous recovery map whole. The folder is the
// editor's own (0700, of this user, files 0600): a link or anything but a regular file
// in it is never read, offered or written through.
class RecoveryStore {
public:
    explicit RecoveryStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path mapPath(std::string_view owner) const;
    std::filesystem::path recordPath(std::string_view owner) const;
    // Where the owner's lock lives; the store itself does not lock.
    std::filesystem::path lockPath(std::string_view owner) const;

    // Makes the folder, or makes an existing one of this user 0700; a fault when there
    // is none and none can be made, or it is a link or another user's.
    Result<void> prepare() const;
    // Prepares the folder and replaces the owner's map and record.
    Result<void> write(std::string_view owner, std::string_view mapText, const RecoveryRecord& record) const;
    // The recovery maps whose owner `isGone` says no longer runs, newest first; none
    // when the folder is not this user's.
    std::vector<RecoveryEntry> staleEntries(const std::function<bool(std::string_view owner)>& isGone) const;
    // The entry's map text, read within the map size limit and never through a link.
    Result<std::string> readMapText(const RecoveryEntry& entry) const;
    // Hands a stale entry's files to `owner`, replacing any it had.
    Result<void> takeOver(const RecoveryEntry& entry, std::string_view owner) const;
    // Removes the owner's files; a fault names one that is there and could not be removed.
    Result<void> remove(std::string_view owner) const;

private:
    Result<void> writeFile(const std::filesystem::path& path, std::string_view bytes) const;

    std::filesystem::path folder_;
};

// A name no other editor on this machine uses at the same time.
std::string newRecoveryOwner();

}  // namespace xemap
