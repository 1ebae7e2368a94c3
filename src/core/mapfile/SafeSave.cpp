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
    // Closes now, so that a failing close counts as a failed save.
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
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

bool writableIfPresent(const fs::path& target)
{
    std::error_code ec;
    if (!fs::exists(target, ec))
        return !ec;
    if (!fs::is_regular_file(target, ec))
        return false;
    return ::access(target.c_str(), W_OK) == 0;
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

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The bytes on the disk, with the replaced file's permissions, before any name points at them.
bool writeAndSync(FileHandle& file, std::string_view bytes, const fs::path& destination)
{
    if (!writeAll(file.get(), bytes))
        return false;
    struct stat old {};
    if (::stat(destination.c_str(), &old) == 0 && ::fchmod(file.get(), old.st_mode & 07777) != 0)
        return false;
    return ::fsync(file.get()) == 0;
}

// Writes a file without a name (Linux O_TMPFILE) and links it into the folder under a
// temporary name just before the rename: a crash while writing leaves nothing behind.
// False with `unsupported` set when the file system cannot make such a file.
bool writeUnnamed(const fs::path& folder, const fs::path& destination, std::string_view bytes, fs::path& temporary,
                  bool& unsupported)
{
#ifdef O_TMPFILE
    FileHandle file(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    unsupported = !file.valid() && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL);
    if (!file.valid() || !writeAndSync(file, bytes, destination))
        return false;
    temporary = temporaryName(folder);
    const std::string self = "/proc/self/fd/" + std::to_string(file.get());
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        // Without /proc the file cannot be named: the named way still can.
        unsupported = errno == ENOENT;
        temporary.clear();
        return false;
    }
    return file.close();
#else
    (void)folder, (void)destination, (void)bytes, (void)temporary;
    unsupported = true;
    return false;
#endif
}

// Where there is no unnamed file: a named temporary, which the next save to this
// folder removes if a crash leaves it.
bool writeNamed(const fs::path& folder, const fs::path& destination, std::string_view bytes, fs::path& temporary)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = temporaryName(folder);
        FileHandle file(::open(temporary.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666));
        if (file.valid())
            return writeAndSync(file, bytes, destination) && file.close();
        if (errno != EEXIST)
            break;
    }
    temporary.clear();
    return false;
}

// A folder the user may not add files to, where no temporary can be made beside the target.
bool refusesNewFiles(const fs::path& folder) { return ::access(folder.c_str(), W_OK) != 0 && errno == EACCES; }

// The way left in such a folder, as QSaveFile's direct-write fallback takes it: the file
// is rewritten in place and cut to its new length.
bool writeInPlace(const fs::path& destination, std::string_view bytes)
{
    FileHandle file(::open(destination.c_str(), O_WRONLY | O_CLOEXEC));
    return file.valid() && writeAll(file.get(), bytes) && ::ftruncate(file.get(), static_cast<off_t>(bytes.size())) == 0
           && ::fsync(file.get()) == 0 && file.close();
}

bool syncFolder(const fs::path& folder)
{
    FileHandle handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return handle.valid() && ::fsync(handle.get()) == 0;
}

}  // namespace

bool saveFileSafely(const fs::path& target, std::string_view bytes, TemporaryFile kind)
{
    const fs::path destination = realTarget(target);
    if (destination.empty() || !writableIfPresent(destination))
        return false;
    const fs::path folder = folderOf(destination);
    removeStaleTemporaries(folder);

    fs::path temporary;
    bool unsupported = kind == TemporaryFile::Named;
    bool ok = !unsupported && writeUnnamed(folder, destination, bytes, temporary, unsupported);
    if (!ok && unsupported)
        ok = writeNamed(folder, destination, bytes, temporary);
    if (!ok && temporary.empty() && refusesNewFiles(folder) && fs::exists(destination))
        return writeInPlace(destination, bytes);
    // The folder is synced once the temporary's name is in it and again after the
    // rename, so that after a power cut the map is either the old file or the new one.
    ok = ok && syncFolder(folder) && ::rename(temporary.c_str(), destination.c_str()) == 0 && syncFolder(folder);
    std::error_code ec;
    if (!ok && !temporary.empty())
        fs::remove(temporary, ec);
    return ok;
}

}  // namespace xemap
