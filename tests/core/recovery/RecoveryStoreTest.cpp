#include "core/recovery/RecoveryStore.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace xemap {
namespace {

using namespace testing;
namespace fs = std::filesystem;

class RecoveryStoreTest : public ::testing::Test {
protected:
    std::vector<std::string> ownersOf(const std::vector<RecoveryEntry>& entries)
    {
        std::vector<std::string> owners;
        for (const auto& entry : entries)
            owners.push_back(entry.owner);
        return owners;
    }
    std::vector<RecoveryEntry> allStale() const
    {
        return store.staleEntries([](std::string_view) { return true; });
    }

    TempFolder home;
    RecoveryStore store{home / "data/recovery"};
};

TEST_F(RecoveryStoreTest, WritesTheMapAndItsRecordIntoAFolderItCreates)
{
    const std::string name = "/maps/odd\nname.xem";
    ASSERT_TRUE(store.write("a", joined(emptyMapLines("Keep")), {name, 1700000000}));
    ASSERT_TRUE(store.write("a", joined(emptyMapLines("Keep me")), {name, 1700000005}));

    EXPECT_EQ(fileBytes(store.mapPath("a")), joined(emptyMapLines("Keep me")));
    const auto entries = allStale();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].owner, "a");
    EXPECT_EQ(entries[0].mapPath, store.mapPath("a"));
    EXPECT_EQ(entries[0].record.mapFileName, name);
    EXPECT_EQ(entries[0].record.writtenAt, 1700000005);
}

TEST_F(RecoveryStoreTest, ListsOnlyStaleMapsNewestFirst)
{
    for (const auto& [owner, time] : {std::pair{"old", 100}, {"running", 900}, {"new", 500}, {"middle", 300}})
        ASSERT_TRUE(store.write(owner, "map", {"", time}));
    // A safe save's temporary and a lock are not recovery maps.
    std::ofstream(store.folder() / ".xemap-save-1-2.tmp") << "half";
    std::ofstream(store.lockPath("gone")) << "1";

    const auto entries = store.staleEntries([](std::string_view owner) { return owner != "running"; });
    EXPECT_EQ(ownersOf(entries), (std::vector<std::string>{"new", "middle", "old"}));
}

TEST_F(RecoveryStoreTest, AMapWithoutItsRecordIsStillOffered)
{
    ASSERT_TRUE(store.write("a", "map", {"/maps/a.xem", 42}));
    fs::remove(store.recordPath("a"));
    std::ofstream(store.folder() / "b.xem") << "map";
    std::ofstream(store.recordPath("b")) << "not a time\n/maps/b.xem";

    const auto entries = allStale();
    ASSERT_EQ(entries.size(), 2u);
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.record.mapFileName, "") << entry.owner;
        EXPECT_GT(entry.record.writtenAt, 1600000000) << entry.owner;  // the map file's own time
    }
}

TEST_F(RecoveryStoreTest, TakeOverMovesTheFilesToTheNewOwner)
{
    ASSERT_TRUE(store.write("gone", "crashed map", {"/maps/a.xem", 7}));
    ASSERT_TRUE(store.write("me", "older map of mine", {"", 3}));

    ASSERT_TRUE(store.takeOver(allStale().front(), "me"));

    EXPECT_FALSE(fs::exists(store.mapPath("gone")));
    EXPECT_FALSE(fs::exists(store.recordPath("gone")));
    EXPECT_EQ(fileBytes(store.mapPath("me")), "crashed map");
    const auto entries = allStale();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].record.mapFileName, "/maps/a.xem");
    EXPECT_EQ(entries[0].record.writtenAt, 7);
}

TEST_F(RecoveryStoreTest, RemoveTakesOnlyTheOwnersFiles)
{
    ASSERT_TRUE(store.write("a", "map a", {"", 1}));
    ASSERT_TRUE(store.write("b", "map b", {"", 2}));
    store.remove("a");
    store.remove("never written");

    std::set<std::string> left;
    for (const auto& file : fs::directory_iterator(store.folder()))
        left.insert(file.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"b.xem", "b.info"}));
}

TEST_F(RecoveryStoreTest, AFolderThatCannotBeMadeFailsTheWrite)
{
    std::ofstream(home / "data") << "a file where the folder belongs";
    EXPECT_FALSE(store.write("a", "map", {"", 1}));
    EXPECT_TRUE(allStale().empty());
}

TEST(RecoveryOwner, NamesDifferBetweenCalls)
{
    EXPECT_NE(newRecoveryOwner(), newRecoveryOwner());
    EXPECT_EQ(newRecoveryOwner().find('/'), std::string::npos);
}

}  // namespace
}  // namespace xemap
