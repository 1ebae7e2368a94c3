#include "core/recovery/RecoveryLock.h"
#include "core/recovery/RecoveryStore.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace xemap;
using namespace xemap::testing;
namespace fs = std::filesystem;

// Owners of the entries, sorted when asked.
std::vector<std::string> ownersOf(const std::vector<RecoveryEntry>& entries, bool sorted = false)
{
    std::vector<std::string> owners;
    for (const auto& entry : entries)
        owners.push_back(entry.owner);
    if (sorted)
        std::ranges::sort(owners);
    return owners;
}

class RecoveryStoreTest : public ::testing::Test {
protected:
    std::vector<RecoveryEntry> allStale() const
    {
        return store.staleEntries([](std::string_view) { return true; });
    }
    TempFolder home;
    RecoveryStore store{home / "data/recovery"};
};

TEST_F(RecoveryStoreTest, WritesTakesOverAndRemovesOnlyTheOwnersFiles)
{
    const std::string name = "/maps/odd\nname.xem";
    ASSERT_TRUE(store.write("gone", "crashed", {name, 1700000000})
                && store.write("gone", "crashed map", {name, 1700000005})
                && store.write("me", "older map of mine", {"", 3}) && store.write("b", "map b", {"", 2}));
    const auto gone = store.staleEntries([](std::string_view owner) { return owner == "gone"; }).at(0);
    EXPECT_EQ(gone.mapPath, store.mapPath("gone"));
    ASSERT_TRUE(store.takeOver(gone, "me"));
    EXPECT_EQ(fileBytes(store.mapPath("me")), "crashed map");
    const auto entries = allStale();
    ASSERT_EQ(ownersOf(entries), (std::vector<std::string>{"me", "b"}));
    EXPECT_EQ(entries[0].record.mapFileName, name);
    EXPECT_EQ(entries[0].record.writtenAt, 1700000005);

    EXPECT_TRUE(store.remove("me") && store.remove("never written"));
    std::set<std::string> left;
    for (const auto& file : fs::directory_iterator(store.folder()))
        left.insert(file.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"b.xem", "b.info"}));
    // A record that cannot be removed is named; a file where the folder belongs fails the write.
    fs::remove(store.recordPath("b"));
    fs::create_directories(store.recordPath("b") / "inside");
    EXPECT_EQ(store.remove("b").fault().file, store.recordPath("b").string());
    std::ofstream(home / "blocked") << "a file where a folder belongs";
    EXPECT_EQ(RecoveryStore(home / "blocked/recovery").write("a", "map", {"", 1}).fault().describe(),
              (home / "blocked/recovery").string() + ": Not a directory");
}

// A map without a usable record is still offered, at its own file's time.
TEST_F(RecoveryStoreTest, ListsOnlyStaleMapsNewestFirstWithOrWithoutTheirRecords)
{
    for (const auto& [owner, time] : {std::pair{"old", 100}, {"running", 900}, {"new", 500}, {"middle", 300}})
        ASSERT_TRUE(store.write(owner, "map", {"/maps/a.xem", time}));
    // A safe save's temporary and a lock are not recovery maps.
    std::ofstream(store.folder() / ".xemap-save-1-2.tmp") << "half";
    std::ofstream(store.lockPath("gone")) << "1";
    const auto entries = store.staleEntries([](std::string_view owner) { return owner != "running"; });
    EXPECT_EQ(ownersOf(entries), (std::vector<std::string>{"new", "middle", "old"}));

    fs::remove(store.recordPath("old"));
    std::ofstream(store.recordPath("new")) << "not a time\n/maps/b.xem";
    for (const auto& entry : allStale()) {
        const bool unrecorded = entry.owner == "old" || entry.owner == "new";
        EXPECT_EQ(entry.record.mapFileName, unrecorded ? "" : "/maps/a.xem") << entry.owner;
        EXPECT_EQ(entry.record.writtenAt > 1600000000, unrecorded) << entry.owner;  // the map file's own time
    }
}

mode_t modeOf(const fs::path& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

TEST_F(RecoveryStoreTest, TheFolderAndItsFilesAreTheUsersAlone)
{
    fs::create_directories(store.folder());
    fs::permissions(store.folder(), fs::perms::all);
    ::umask(022);
    ASSERT_TRUE(store.write("a", "map", {"/maps/a.xem", 1}));
    EXPECT_EQ((std::array{modeOf(store.folder()), modeOf(store.mapPath("a")), modeOf(store.recordPath("a"))}),
              (std::array<mode_t, 3>{0700, 0600, 0600}));

    // A folder that is a link is not used.
    fs::rename(store.folder(), home / "elsewhere");
    fs::create_directory_symlink(home / "elsewhere", store.folder());
    EXPECT_EQ(store.prepare().fault().reason, "a symbolic link");
    EXPECT_TRUE(allStale().empty());
}

// Entries planted in the folder: links and special files are never read, offered or
// written through, and the records are read at once within their limit.
TEST_F(RecoveryStoreTest, HostileEntriesAreNeitherFollowedNorWaitedOn)
{
    const fs::path userMap = home / "user.xem";
    std::ofstream(userMap) << "the user's map";
    ASSERT_TRUE(store.write("linked", "recovery map", {"", 5}));
    fs::remove(store.mapPath("linked"));
    fs::remove(store.recordPath("linked"));
    fs::create_symlink(userMap, store.mapPath("linked"));
    fs::create_symlink(userMap, store.recordPath("linked"));
    ASSERT_EQ(::mkfifo(store.mapPath("fifo").c_str(), 0600), 0);

    const std::vector<std::pair<const char*, std::function<void(const fs::path&)>>> records{
        {"pipe", [](const fs::path& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
        {"zero", [](const fs::path& path) { fs::create_symlink("/dev/zero", path); }},
        {"folder", [](const fs::path& path) { fs::create_directory(path); }}};
    for (const auto& [owner, plant] : records) {
        std::ofstream(store.mapPath(owner)) << "map";
        plant(store.recordPath(owner));
    }

    const auto start = std::chrono::steady_clock::now();
    const auto entries = allStale();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(ownersOf(entries, true), (std::vector<std::string>{"folder", "pipe", "zero"}));
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.record.mapFileName, "") << entry.owner;
        EXPECT_EQ(store.readMapText(entry).value(), "map") << entry.owner;
    }
    const RecoveryEntry linked{"linked", store.mapPath("linked"), {}};
    EXPECT_EQ(store.readMapText(linked).fault().kind, Fault::Kind::NotRegularFile);

    // Writing replaces the links, never the map they name.
    ASSERT_TRUE(store.write("linked", "new recovery map", {"/maps/a.xem", 6})
                && store.write("pipe", "new recovery map", {"/maps/a.xem", 6}));
    EXPECT_EQ(fileBytes(userMap), "the user's map");
    for (const auto& owner : {"linked", "pipe"}) {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(store.mapPath(owner)))) << owner;
        EXPECT_EQ(fileBytes(store.recordPath(owner)), "6\n/maps/a.xem") << owner;
        EXPECT_EQ(modeOf(store.recordPath(owner)), 0600u) << owner;
    }
}

TEST(RecoveryRecordText, ReadsTheTimeAndTheWholeName)
{
    using Record = std::optional<std::pair<std::string, std::int64_t>>;
    const std::pair<std::string, Record> cases[] = {
        {"1700000000\n/maps/a b\n.xem", std::pair{"/maps/a b\n.xem", 1700000000}},
        {"42", std::pair{"", 42}},
        {"12x\n/maps/a.xem", std::nullopt}};
    for (const auto& [text, expected] : cases) {
        const auto record = parseRecoveryRecord(text);
        EXPECT_EQ(record ? Record(std::pair(record->mapFileName, record->writtenAt)) : std::nullopt, expected) << text;
    }
}

std::string holderText(const LockHolder& holder)
{
    return std::to_string(holder.pid) + "\n" + holder.bootId + "\n" + holder.program + "\n";
}

// Two editors at once must never write each other's recovery files.
TEST(RecoveryOwner, NamesDifferBetweenCallsAndAreFileNames)
{
    EXPECT_NE(newRecoveryOwner(), newRecoveryOwner());
    EXPECT_EQ(newRecoveryOwner().find('/'), std::string::npos);
}

// A lock left by a power cut or a crash, whatever its content, is taken once no process holds it.
TEST(RecoveryLock, ALockNoProcessHoldsIsTakenWhateverItSays)
{
    TempFolder folder;
    const LockHolder self = currentHolder();
    const std::vector<std::pair<const char*, std::string>> contents{
        {"empty", ""},
        {"garbage", std::string("\x01\xff garbage", 10)},
        {"another boot", holderText({self.pid, "00000000-0000-0000-0000-000000000000", self.program})},
        {"this very process", holderText(self)}};
    for (const auto& [name, content] : contents) {
        const fs::path path = folder / (std::string(name) + ".lock");
        std::ofstream(path) << content;
        auto lock = RecoveryLock::acquire(path);
        ASSERT_TRUE(lock) << name << ": " << lock.fault().describe();
        // The lock now names its holder, 0600, so that no other user reads it.
        EXPECT_EQ(parseLockHolder(fileBytes(path)).value().pid, self.pid) << name;
        EXPECT_EQ(modeOf(path), 0600u) << name;
    }
}

TEST(RecoveryLock, AHeldLockIsNotTakenEvenBeforeItNamesItsHolderNorIsALink)
{
    TempFolder folder;
    const fs::path path = folder / "a.lock";
    auto first = RecoveryLock::acquire(path);
    EXPECT_EQ(RecoveryLock::acquire(path).fault().reason, "in use by a running editor");

    // An editor that holds its lock with nothing yet written in it is running all the same.
    const fs::path starting = folder / "starting.lock";
    const int fd = ::open(starting.c_str(), O_CREAT | O_RDWR, 0600);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_FALSE(RecoveryLock::acquire(starting));
    ::close(fd);
    EXPECT_TRUE(RecoveryLock::acquire(starting));

    // Once removed by its holder, the next editor makes a new one.
    first->remove();
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(RecoveryLock::acquire(path));

    // A link or a pipe is never a lock.
    const fs::path target = folder / "user.xem";
    std::ofstream(target) << "the user's map";
    fs::create_symlink(target, folder / "link.lock");
    EXPECT_EQ(RecoveryLock::acquire(folder / "link.lock").fault().kind, Fault::Kind::NotRegularFile);
    EXPECT_EQ(fileBytes(target), "the user's map");
    ASSERT_EQ(::mkfifo((folder / "b.lock").c_str(), 0600), 0);
    EXPECT_EQ(RecoveryLock::acquire(folder / "b.lock").fault().kind, Fault::Kind::NotRegularFile);
}

// Where the file system has no advisory locks, the content alone tells a running editor.
TEST(RecoveryLock, TheContentNamesARunningEditorOnlyForThisBootAndProgram)
{
    const LockHolder self = currentHolder();
    ASSERT_FALSE(self.bootId.empty() || self.program.empty());
    const std::string rest = "\n" + self.bootId + "\n" + self.program;
    // The content, and whether it is read (0: no), names a holder that runs (2) or not (1).
    const std::pair<std::string, int> cases[] = {{holderText(self), 2},
                                                 {holderText({self.pid, "another", self.program}), 1},
                                                 {holderText({1, self.bootId, self.program}), 1},
                                                 {holderText({999999999, self.bootId, self.program}), 1},
                                                 {"", 0},
                                                 {std::to_string(self.pid) + rest, 0},
                                                 {"x" + rest + "\n", 0},
                                                 {"-1" + rest + "\n", 0}};
    for (const auto& [content, expected] : cases) {
        const auto holder = parseLockHolder(content);
        EXPECT_EQ(holder ? 1 + holderIsRunning(*holder) : 0, expected) << content;
    }
}
