#pragma once

#include "core/files/Fault.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace xemap {

// What a lock file says about its holder: "PID\nBOOT-ID\nPROGRAM\n".
struct LockHolder {
    long pid = 0;
    std::string bootId;
    std::string program;  // the file name of the holder's executable
};

// This process as a lock names it.
LockHolder currentHolder();
// The holder a lock's content names, if the content is whole.
std::optional<LockHolder> parseLockHolder(std::string_view content);
// Whether a lock naming holder still belongs to a running editor: one of this boot,
// whose process runs the same program as this one.
bool holderIsRunning(const LockHolder& holder);

// A recovery lock held by this process: an advisory lock (flock) on a 0600 file that
// names its holder. A lock that no process holds is stale, whatever its content; the
// content decides only where the file system has no advisory locks. A new lock file
// appears already locked and with its content synced, so a starting editor is never
// taken for a dead one.
class RecoveryLock {
public:
    RecoveryLock() = default;
    RecoveryLock(RecoveryLock&& other) noexcept;
    RecoveryLock& operator=(RecoveryLock&& other) noexcept;
    RecoveryLock(const RecoveryLock&) = delete;
    RecoveryLock& operator=(const RecoveryLock&) = delete;
    // Lets go of the lock; the file stays for the next holder.
    ~RecoveryLock();

    // Takes the lock at path, making the file if there is none; a fault when a running
    // editor holds it, or it is not a regular file of this user, or it cannot be made.
    static Result<RecoveryLock> acquire(const std::filesystem::path& path);

    bool held() const { return fd_ >= 0; }
    // Removes the lock file and lets go: for a lock whose recovery files are gone.
    void remove();

private:
    RecoveryLock(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
    void close();

    int fd_ = -1;
    std::filesystem::path path_;
};

}  // namespace xemap
