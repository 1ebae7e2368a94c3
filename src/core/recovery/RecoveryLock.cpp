#include "core/recovery/RecoveryLock.h"

#include "core/files/ReadFile.h"

#include <cerrno>
#include <charconv>
#include <random>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xemap {

namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t kLockLimit = 4096;
// A lock file removed or replaced between its opening and its locking is opened again,
// a few times at most.
constexpr int kAttempts = 8;

Fault lockFault(Fault::Kind kind, const fs::path& path, std::string reason)
{
    return {kind, path.string(), 0, std::move(reason)};
}

std::string firstLine(std::string_view text) { return std::string(text.substr(0, text.find('\n'))); }

std::string bootId()
{
    const auto id = readFile("/proc/sys/kernel/random/boot_id", kLockLimit);
    return id ? firstLine(*id) : std::string();
}

// The file name of the program a process runs; empty when it cannot be seen.
std::string programOf(const std::string& process)
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/" + process + "/exe", ec);
    return ec ? std::string() : exe.filename().string();
}

std::string holderText(const LockHolder& holder)
{
    return std::to_string(holder.pid) + "\n" + holder.bootId + "\n" + holder.program + "\n";
}

bool writeHolder(int fd)
{
    const std::string text = holderText(currentHolder());
    return ::fchmod(fd, 0600) == 0 && ::ftruncate(fd, 0) == 0
           && ::pwrite(fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size()) && ::fsync(fd) == 0;
}

// Whether this descriptor now holds the lock. Without advisory locks on the file system,
// a lock whose content names no running editor is taken.
bool lockDescriptor(int fd, const fs::path& path)
{
    int result = 0;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result == 0)
        return true;
    if (errno == EWOULDBLOCK)
        return false;
    const auto content = readFile(path, kLockLimit, Links::Refuse);
    const auto holder = content ? parseLockHolder(*content) : std::nullopt;
    return !holder || !holderIsRunning(*holder);
}

// The file the descriptor holds is still the one at path, not one removed since.
bool stillAt(int fd, const fs::path& path)
{
    struct stat held {
    }, named{};
    return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev
           && held.st_ino == named.st_ino;
}

// A file made without a name where the system allows it, else under a hidden temporary
// one; temporary is set when it has a name to remove.
int newUnlinkedFile(const fs::path& folder, fs::path& temporary)
{
#ifdef O_TMPFILE
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
#endif
    static std::mt19937 random(std::random_device{}());
    temporary = folder / (".xemap-lock-" + std::to_string(::getpid()) + "-" + std::to_string(random()) + ".tmp");
    return ::open(temporary.c_str(), O_CREAT | O_EXCL | O_RDWR | O_NOFOLLOW | O_CLOEXEC, 0600);
}

// Puts the file under path only once it is locked and names this process: false with
// EEXIST when another file took the name first.
bool linkInto(int fd, const fs::path& temporary, const fs::path& path)
{
    if (!temporary.empty())
        return ::link(temporary.c_str(), path.c_str()) == 0;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// A new lock file at path, locked before it appears. Empty when the name was taken meanwhile.
Result<int> createLocked(const fs::path& path)
{
    fs::path temporary;
    const int fd = newUnlinkedFile(path.parent_path(), temporary);
    if (fd < 0)
        return systemFault(Fault::Kind::CannotWrite, path.string(), errno);
    const bool made = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && writeHolder(fd) && linkInto(fd, temporary, path);
    const int error = errno;
    if (!temporary.empty())
        ::unlink(temporary.c_str());
    if (made)
        return fd;
    ::close(fd);
    if (error == EEXIST)
        return -1;
    return systemFault(Fault::Kind::CannotWrite, path.string(), error);
}

// Locks the lock file that is at path: the descriptor, -1 to try again, or why not.
Result<int> lockExisting(int fd, const fs::path& path)
{
    struct stat status {};
    Fault fault;
    if (::fstat(fd, &status) != 0)
        fault = systemFault(Fault::Kind::CannotRead, path.string(), errno);
    else if (!S_ISREG(status.st_mode))
        fault = lockFault(Fault::Kind::NotRegularFile, path, "not a regular file");
    else if (status.st_uid != ::geteuid())
        fault = lockFault(Fault::Kind::CannotOpen, path, "owned by another user");
    else if (!lockDescriptor(fd, path))
        fault = lockFault(Fault::Kind::CannotOpen, path, "in use by a running editor");
    else if (!stillAt(fd, path)) {
        ::close(fd);
        return -1;
    } else {
        // Best effort: in a folder that cannot be written the advisory lock alone guards it.
        writeHolder(fd);
        return fd;
    }
    ::close(fd);
    return fault;
}

}  // namespace

LockHolder currentHolder()
{
    static const LockHolder self{static_cast<long>(::getpid()), bootId(), programOf("self")};
    return self;
}

std::optional<LockHolder> parseLockHolder(std::string_view content)
{
    LockHolder holder;
    const auto [end, error] = std::from_chars(content.data(), content.data() + content.size(), holder.pid);
    if (error != std::errc() || holder.pid <= 0 || end == content.data() + content.size() || *end != '\n')
        return std::nullopt;
    content.remove_prefix(static_cast<std::size_t>(end - content.data()) + 1);
    const auto bootEnd = content.find('\n');
    if (bootEnd == std::string_view::npos)
        return std::nullopt;
    holder.bootId = std::string(content.substr(0, bootEnd));
    content.remove_prefix(bootEnd + 1);
    if (content.empty() || content.back() != '\n')
        return std::nullopt;
    holder.program = firstLine(content);
    if (holder.bootId.empty() || holder.program.empty())
        return std::nullopt;
    return holder;
}

bool holderIsRunning(const LockHolder& holder)
{
    const LockHolder self = currentHolder();
    return holder.bootId == self.bootId && holder.program == self.program
           && programOf(std::to_string(holder.pid)) == holder.program;
}

Result<RecoveryLock> RecoveryLock::acquire(const fs::path& path)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        int fd = ::open(path.c_str(), O_RDWR | kFlags);
        if (fd < 0 && (errno == EACCES || errno == EROFS))
            fd = ::open(path.c_str(), O_RDONLY | kFlags);
        Result<int> locked = -1;
        if (fd >= 0)
            locked = lockExisting(fd, path);
        else if (errno == ENOENT)
            locked = createLocked(path);
        else if (errno == ELOOP)
            return lockFault(Fault::Kind::NotRegularFile, path, "a symbolic link");
        else
            return systemFault(Fault::Kind::CannotOpen, path.string(), errno);
        if (!locked)
            return locked.fault();
        if (*locked >= 0)
            return RecoveryLock(*locked, path);
    }
    return lockFault(Fault::Kind::CannotOpen, path, "the lock file keeps changing");
}

RecoveryLock::RecoveryLock(RecoveryLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_))
{
}

RecoveryLock& RecoveryLock::operator=(RecoveryLock&& other) noexcept
{
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

RecoveryLock::~RecoveryLock() { close(); }

void RecoveryLock::remove()
{
    if (held())
        ::unlink(path_.c_str());
    close();
}

void RecoveryLock::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

}  // namespace xemap
