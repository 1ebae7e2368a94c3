#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
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

// One recovery map in the folder, named for the editor that wrote it.
struct RecoveryEntry {
    std::string owner;
    std::filesystem::path mapPath;
    RecoveryRecord record;
};

// The folder of recovery maps: one map file and one record per running editor, each
// named for its owner ("OWNER.xem", "OWNER.info"), written through the safe save so
// that a crash while writing leaves the previous recovery map whole.
class RecoveryStore {
public:
    explicit RecoveryStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path mapPath(std::string_view owner) const;
    std::filesystem::path recordPath(std::string_view owner) const;
    // Where the owner's lock lives; the store itself does not lock.
    std::filesystem::path lockPath(std::string_view owner) const;

    // Creates the folder if needed; false when the map or its record could not be written.
    bool write(std::string_view owner, std::string_view mapText, const RecoveryRecord& record) const;
    // The recovery maps whose owner `isGone` says no longer runs, newest first.
    std::vector<RecoveryEntry> staleEntries(const std::function<bool(std::string_view owner)>& isGone) const;
    // Hands a stale entry's files to `owner`, replacing any it had; false when they could not be moved.
    bool takeOver(const RecoveryEntry& entry, std::string_view owner) const;
    void remove(std::string_view owner) const;

private:
    std::filesystem::path folder_;
};

// A name no other editor on this machine uses at the same time.
std::string newRecoveryOwner();

}  // namespace xemap
