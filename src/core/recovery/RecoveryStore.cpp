#include "core/recovery/RecoveryStore.h"

#include "core/files/ReadFile.h"
#include "core/mapfile/MapReader.h"
#include "core/mapfile/SafeSave.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xemap {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMapSuffix = ".xem";
constexpr std::string_view kRecordSuffix = ".info";
constexpr std::string_view kLockSuffix = ".lock";
// A time and a file name: far below this.
constexpr std::uintmax_t kRecordLimit = 64 * 1024;
constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;

Fault storeFault(Fault::Kind kind, const fs::path& path, std::string reason)
{
    return {kind, path.string(), 0, std::move(reason)};
}

// The time on the first line, the file name as every byte after it, so that any name reads back.
std::string recordText(const RecoveryRecord& record)
{
    return std::to_string(record.writtenAt) + "\n" + record.mapFileName;
}

bool isOwnFolder(const struct stat& status) { return S_ISDIR(status.st_mode) && status.st_uid == ::geteuid(); }

// Checks the opened folder is this user's and closes its descriptor; the mode becomes 0700.
Result<void> makeOwnFolder(int fd, const fs::path& folder)
{
    struct stat status {};
    Result<void> result;
    if (::fstat(fd, &status) != 0)
        result = systemFault(Fault::Kind::CannotOpen, folder.string(), errno);
    else if (!isOwnFolder(status))
        result = storeFault(Fault::Kind::CannotOpen, folder, "the folder belongs to another user");
    else if ((status.st_mode & 07777) != kFolderMode && ::fchmod(fd, kFolderMode) != 0)
        result = systemFault(Fault::Kind::CannotWrite, folder.string(), errno);
    ::close(fd);
    return result;
}

// A missing or damaged record still leaves the map worth offering: unnamed, timed by the map file.
RecoveryRecord readRecord(const fs::path& recordPath, const fs::path& mapPath)
{
    if (const auto text = readFile(recordPath, kRecordLimit, Links::Refuse))
        if (auto record = parseRecoveryRecord(*text))
            return *record;
    struct stat status {};
    return {"", ::lstat(mapPath.c_str(), &status) == 0 ? static_cast<std::int64_t>(status.st_mtime) : 0};
}

bool removeIfThere(const fs::path& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

}  // namespace

std::optional<RecoveryRecord> parseRecoveryRecord(std::string_view text)
{
    const auto lineEnd = std::min(text.find('\n'), text.size());
    RecoveryRecord record;
    const auto [end, error] = std::from_chars(text.data(), text.data() + lineEnd, record.writtenAt);
    if (error != std::errc() || end != text.data() + lineEnd)
        return std::nullopt;
    if (lineEnd < text.size())
        record.mapFileName = std::string(text.substr(lineEnd + 1));
    return record;
}

fs::path RecoveryStore::mapPath(std::string_view owner) const
{
    return folder_ / (std::string(owner) + std::string(kMapSuffix));
}

fs::path RecoveryStore::recordPath(std::string_view owner) const
{
    return folder_ / (std::string(owner) + std::string(kRecordSuffix));
}

fs::path RecoveryStore::lockPath(std::string_view owner) const
{
    return folder_ / (std::string(owner) + std::string(kLockSuffix));
}

Result<void> RecoveryStore::prepare() const
{
    std::error_code ec;
    fs::create_directories(folder_.parent_path(), ec);
    if (::mkdir(folder_.c_str(), kFolderMode) != 0 && errno != EEXIST)
        return systemFault(Fault::Kind::CannotWrite, folder_.string(), errno);
    const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        std::error_code ec;
        if (fs::is_symlink(folder_, ec))
            return storeFault(Fault::Kind::NotRegularFile, folder_, "a symbolic link");
        return systemFault(Fault::Kind::CannotOpen, folder_.string(), error);
    }
    return makeOwnFolder(fd, folder_);
}

// A link or anything but a regular file at path is taken away, never written through; a
// new file is made 0600 before the safe save, which keeps the mode of the file it replaces.
Result<void> RecoveryStore::writeFile(const fs::path& path, std::string_view bytes) const
{
    struct stat status {};
    const bool existed = ::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
    if (!existed && !removeIfThere(path))
        return systemFault(Fault::Kind::CannotWrite, path.string(), errno);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, kFileMode);
    if (fd < 0)
        return systemFault(Fault::Kind::CannotWrite, path.string(), errno);
    const bool owned = ::fchmod(fd, kFileMode) == 0;
    const int error = errno;
    ::close(fd);
    if (!owned)
        return systemFault(Fault::Kind::CannotWrite, path.string(), error);
    Result<void> saved = saveFileSafely(path, bytes);
    if (!saved && !existed)
        ::unlink(path.c_str());
    return saved;
}

Result<void> RecoveryStore::write(std::string_view owner, std::string_view mapText, const RecoveryRecord& record) const
{
    if (auto ready = prepare(); !ready)
        return ready;
    if (auto map = writeFile(mapPath(owner), mapText); !map)
        return map;
    return writeFile(recordPath(owner), recordText(record));
}

std::vector<RecoveryEntry> RecoveryStore::staleEntries(const std::function<bool(std::string_view owner)>& isGone) const
{
    std::vector<RecoveryEntry> entries;
    struct stat folder {};
    if (::lstat(folder_.c_str(), &folder) != 0 || !isOwnFolder(folder))
        return entries;
    std::error_code ec;
    for (const auto& file : fs::directory_iterator(folder_, ec)) {
        const fs::path& path = file.path();
        const std::string owner = path.stem().string();
        // symlink_status: a link to a map is never taken for one.
        if (path.extension() != kMapSuffix || owner.empty() || owner.front() == '.'
            || !fs::is_regular_file(file.symlink_status(ec)))
            continue;
        if (isGone(owner))
            entries.push_back({owner, path, readRecord(recordPath(owner), path)});
    }
    std::ranges::sort(entries, [](const RecoveryEntry& a, const RecoveryEntry& b) {
        return a.record.writtenAt != b.record.writtenAt ? a.record.writtenAt > b.record.writtenAt : a.owner < b.owner;
    });
    return entries;
}

Result<std::string> RecoveryStore::readMapText(const RecoveryEntry& entry) const
{
    return readFile(entry.mapPath, kMapFileLimit, Links::Refuse);
}

Result<void> RecoveryStore::takeOver(const RecoveryEntry& entry, std::string_view owner) const
{
    if (entry.owner == owner)
        return {};
    removeIfThere(recordPath(owner));
    if (::rename(entry.mapPath.c_str(), mapPath(owner).c_str()) != 0)
        return systemFault(Fault::Kind::CannotWrite, entry.mapPath.string(), errno);
    // Without its record the map is still offered, unnamed; rewrite it from what was read.
    removeIfThere(recordPath(entry.owner));
    return writeFile(recordPath(owner), recordText(entry.record));
}

Result<void> RecoveryStore::remove(std::string_view owner) const
{
    for (const fs::path& path : {mapPath(owner), recordPath(owner)})
        if (!removeIfThere(path))
            return systemFault(Fault::Kind::CannotWrite, path.string(), errno);
    return {};
}

std::string newRecoveryOwner()
{
    static std::mt19937 random(std::random_device{}());
    return "editor-" + std::to_string(::getpid()) + "-" + std::to_string(random() % 1000000);
}

}  // namespace xemap
