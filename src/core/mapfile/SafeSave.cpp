#include "core/mapfile/SafeSave.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <random>
#include <string>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xemap {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryPrefix = ".xemap-save-";
constexpr std::string_view kTemporarySuffix = ".tmp";
// A named temporary whose writer may still be running is left alone this long.
constexpr auto kStaleAge = std::chrono::hours(1);

// Closes the descriptor when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, so that a failing close counts as a failed save: 0 or its errno.
    int close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// A link is followed, so that the file it names is replaced rather than the link.
fs::path realTarget(const fs::path& target)
{
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        auto resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            return resolved;
    }
    return target;
}

// An existing target must be a regular file this user may write: saving never turns a
// read-only file writable by replacing it.
Result<void> checkTarget(const fs::path& destination, const fs::path& target)
{
    struct stat info {};
    if (::stat(destination.c_str(), &info) != 0)
        return errno == ENOENT ? Result<void>() : systemFault(Fault::Kind::CannotWrite, target.string(), errno);
    if (!S_ISREG(info.st_mode))
        return Fault{Fault::Kind::NotRegularFile, target.string(), 0, "not a regular file"};
    if (::access(destination.c_str(), W_OK) != 0)
        return systemFault(Fault::Kind::CannotWrite, target.string(), errno);
    return {};
}

fs::path folderOf(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

// ".xemap-save-PID-RANDOM.tmp": short and hidden, so that a long target name still
// leaves room for it, and naming the process that writes it.
fs::path temporaryName(const fs::path& folder)
{
    static std::mt19937 random(std::random_device{}());
    return folder
           / (std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-" + std::to_string(random() % 1000000)
              + std::string(kTemporarySuffix));
}

// A named temporary left by a save that never finished: ours, and its writer gone
// (or so old that the number now names another process).
bool isStaleTemporary(const fs::directory_entry& entry)
{
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix))
        return false;
    struct stat info {};
    if (::lstat(entry.path().c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    const auto age = std::chrono::system_clock::now() - std::chrono::system_clock::from_time_t(info.st_mtime);
    if (age > kStaleAge)
        return true;
    pid_t writer = 0;
    const char* digits = name.data() + kTemporaryPrefix.size();
    const auto [end, error] = std::from_chars(digits, name.data() + name.size(), writer);
    return error == std::errc() && *end == '-' && writer > 0 && ::kill(writer, 0) != 0 && errno == ESRCH;
}

void removeStaleTemporaries(const fs::path& folder)
{
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (isStaleTemporary(entry))
            fs::remove(entry.path(), ec);
}

// The steps below return 0 or the errno of the call that failed, so that the system's
// reason reaches the caller without a later call overwriting it.
int errorOf(bool succeeded) { return succeeded ? 0 : errno; }

int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        // A regular file takes no bytes at all only when there is no room for them.
        if (written == 0)
            return ENOSPC;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// The bytes on the disk, with the replaced file's permissions, before any name points at them.
int writeAndSync(FileHandle& file, std::string_view bytes, const fs::path& destination)
{
    if (const int error = writeAll(file.get(), bytes))
        return error;
    struct stat old {};
    if (::stat(destination.c_str(), &old) == 0 && ::fchmod(file.get(), old.st_mode & 07777) != 0)
        return errno;
    return errorOf(::fsync(file.get()) == 0);
}

// Writes a file without a name (Linux O_TMPFILE) and links it into the folder under a
// temporary name just before the rename: a crash while writing leaves nothing behind.
// `unsupported` is set when the file system cannot make such a file.
int writeUnnamed(const fs::path& folder, const fs::path& destination, std::string_view bytes, fs::path& temporary,
                 bool& unsupported)
{
#ifdef O_TMPFILE
    FileHandle file(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (!file.valid()) {
        unsupported = errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL;
        return errno;
    }
    if (const int error = writeAndSync(file, bytes, destination))
        return error;
    temporary = temporaryName(folder);
    const std::string self = "/proc/self/fd/" + std::to_string(file.get());
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        const int error = errno;
        // Without /proc the file cannot be named: the named way still can.
        unsupported = error == ENOENT;
        temporary.clear();
        return error;
    }
    return file.close();
#else
    (void)folder, (void)destination, (void)bytes, (void)temporary;
    unsupported = true;
    return EOPNOTSUPP;
#endif
}

// Where there is no unnamed file: a named temporary, which the next save to this
// folder removes if a crash leaves it.
int writeNamed(const fs::path& folder, const fs::path& destination, std::string_view bytes, fs::path& temporary)
{
    int error = EEXIST;
    for (int attempt = 0; attempt < 16 && error == EEXIST; ++attempt) {
        temporary = temporaryName(folder);
        FileHandle file(::open(temporary.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666));
        if (file.valid()) {
            error = writeAndSync(file, bytes, destination);
            return error != 0 ? error : file.close();
        }
        error = errno;
    }
    temporary.clear();
    return error;
}

// A folder the user may not add files to, where no temporary can be made beside the target.
bool refusesNewFiles(const fs::path& folder) { return ::access(folder.c_str(), W_OK) != 0 && errno == EACCES; }

// The way left in such a folder, as QSaveFile's direct-write fallback takes it: the file
// is rewritten in place and cut to its new length.
int writeInPlace(const fs::path& destination, std::string_view bytes)
{
    FileHandle file(::open(destination.c_str(), O_WRONLY | O_CLOEXEC));
    if (!file.valid())
        return errno;
    if (const int error = writeAll(file.get(), bytes))
        return error;
    if (::ftruncate(file.get(), static_cast<off_t>(bytes.size())) != 0 || ::fsync(file.get()) != 0)
        return errno;
    return file.close();
}

int syncFolder(const fs::path& folder)
{
    FileHandle handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return handle.valid() ? errorOf(::fsync(handle.get()) == 0) : errno;
}

// The folder is synced once the temporary's name is in it and again after the rename,
// so that after a power cut the target is either the old file or the new one.
int renameOver(const fs::path& temporary, const fs::path& destination, const fs::path& folder)
{
    if (const int error = syncFolder(folder))
        return error;
    if (::rename(temporary.c_str(), destination.c_str()) != 0)
        return errno;
    return syncFolder(folder);
}

}  // namespace

Result<void> saveFileSafely(const fs::path& target, std::string_view bytes, TemporaryFile kind)
{
    if (target.empty())
        return Fault{Fault::Kind::CannotWrite, {}, 0, "no file name was given"};
    const fs::path destination = realTarget(target);
    if (Result<void> checked = checkTarget(destination, target); !checked)
        return checked;
    const fs::path folder = folderOf(destination);
    removeStaleTemporaries(folder);

    fs::path temporary;
    bool unsupported = kind == TemporaryFile::Named;
    int error = unsupported ? 0 : writeUnnamed(folder, destination, bytes, temporary, unsupported);
    if (unsupported)
        error = writeNamed(folder, destination, bytes, temporary);
    if (error != 0 && temporary.empty() && refusesNewFiles(folder) && fs::exists(destination))
        error = writeInPlace(destination, bytes);
    else if (error == 0)
        error = renameOver(temporary, destination, folder);
    std::error_code ec;
    if (error != 0 && !temporary.empty())
        fs::remove(temporary, ec);
    if (error != 0)
        return systemFault(Fault::Kind::CannotWrite, target.string(), error);
    return {};
}

}  // namespace xemap
