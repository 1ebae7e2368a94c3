#include "core/recovery/RecoveryStore.h"

#include "core/mapfile/SafeSave.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>

#include <unistd.h>

namespace xemap {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMapSuffix = ".xem";
constexpr std::string_view kRecordSuffix = ".info";
constexpr std::string_view kLockSuffix = ".lock";

// The time on the first line, the file name as every byte after it, so that any name reads back.
std::string recordText(const RecoveryRecord& record)
{
    return std::to_string(record.writtenAt) + "\n" + record.mapFileName;
}

std::int64_t secondsOf(fs::file_time_type time)
{
    const auto system = fs::file_time_type::clock::to_sys(time);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

// A missing or damaged record still leaves the map worth offering: unnamed, timed by the map file.
RecoveryRecord readRecord(const fs::path& recordPath, const fs::path& mapPath)
{
    RecoveryRecord record;
    std::error_code ec;
    record.writtenAt = secondsOf(fs::last_write_time(mapPath, ec));
    std::ifstream in(recordPath, std::ios::binary);
    std::string time;
    if (!in || !std::getline(in, time))
        return record;
    try {
        record.writtenAt = std::stoll(time);
    } catch (const std::exception&) {
        return record;
    }
    std::ostringstream name;
    name << in.rdbuf();
    record.mapFileName = name.str();
    return record;
}

}  // namespace

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

bool RecoveryStore::write(std::string_view owner, std::string_view mapText, const RecoveryRecord& record) const
{
    std::error_code ec;
    fs::create_directories(folder_, ec);
    return !ec && saveFileSafely(mapPath(owner), mapText) && saveFileSafely(recordPath(owner), recordText(record));
}

std::vector<RecoveryEntry> RecoveryStore::staleEntries(const std::function<bool(std::string_view owner)>& isGone) const
{
    std::vector<RecoveryEntry> entries;
    std::error_code ec;
    for (const auto& file : fs::directory_iterator(folder_, ec)) {
        const fs::path& path = file.path();
        const std::string owner = path.stem().string();
        if (path.extension() != kMapSuffix || owner.empty() || owner.front() == '.' || !file.is_regular_file(ec))
            continue;
        if (isGone(owner))
            entries.push_back({owner, path, readRecord(recordPath(owner), path)});
    }
    std::ranges::sort(entries, [](const RecoveryEntry& a, const RecoveryEntry& b) {
        return a.record.writtenAt != b.record.writtenAt ? a.record.writtenAt > b.record.writtenAt : a.owner < b.owner;
    });
    return entries;
}

bool RecoveryStore::takeOver(const RecoveryEntry& entry, std::string_view owner) const
{
    if (entry.owner == owner)
        return true;
    std::error_code ec;
    fs::remove(recordPath(owner), ec);
    fs::rename(entry.mapPath, mapPath(owner), ec);
    if (ec)
        return false;
    // Without its record the map is still offered, unnamed; rewrite it from what was read.
    fs::remove(recordPath(entry.owner), ec);
    return saveFileSafely(recordPath(owner), recordText(entry.record));
}

void RecoveryStore::remove(std::string_view owner) const
{
    std::error_code ec;
    fs::remove(mapPath(owner), ec);
    fs::remove(recordPath(owner), ec);
}

std::string newRecoveryOwner()
{
    static std::mt19937 random(std::random_device{}());
    return "editor-" + std::to_string(::getpid()) + "-" + std::to_string(random() % 1000000);
}

}  // namespace xemap
