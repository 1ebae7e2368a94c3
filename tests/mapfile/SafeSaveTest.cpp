#include "mapfile/MapTestSupport.h"
#include "mapfile/MapWriter.h"
#include "mapfile/SafeSave.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace xemap {
namespace {

using namespace testing;
namespace fs = std::filesystem;

std::size_t entriesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// While it lives, no file of this process may grow past the given size: a write that
// crosses it fails part-way, as on a full disk. It binds the superuser too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // fail the write instead of ending the process
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        active_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    bool active() const { return active_; }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
    bool active_ = false;
};

TEST(SafeSave, ReplacesTheFileAndKeepsItsPermissions)
{
    TempFolder folder;
    const auto target = folder / "map.xem";
    writeBytes(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(saveFileSafely(target, "new text"));
    EXPECT_EQ(fileBytes(target), "new text");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(entriesIn(folder.path()), 1u);

    // Through a link, the file it names is replaced and the link stays.
    const auto link = folder / "link.xem";
    fs::create_symlink(target, link);
    ASSERT_TRUE(saveMapFile(MapDocument{}, link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fileBytes(target), writeMap(MapDocument{}));
}

TEST(SafeSave, AFailedSaveLeavesTheOldFileAsItWas)
{
    TempFolder folder;
    const auto target = folder / "map.xem";
    writeBytes(target, "precious");

    // The target is a folder: the temporary file is written, but cannot replace it.
    const auto folderTarget = folder / "sub";
    fs::create_directory(folderTarget);
    EXPECT_FALSE(saveFileSafely(folderTarget, "x"));
    EXPECT_TRUE(fs::is_directory(folderTarget));

    EXPECT_FALSE(saveFileSafely(folder / "no-such-folder" / "map.xem", "x"));
    EXPECT_FALSE(saveFileSafely("", "x"));
    EXPECT_EQ(entriesIn(folder.path()), 2u);  // no temporary file left behind
    EXPECT_EQ(fileBytes(target), "precious");
}

TEST(SafeSave, AWriteThatFailsMidwayLeavesTheOldFileAsItWas)
{
    TempFolder folder;
    const auto target = folder / "map.xem";
    const std::string old = fileBytes(testData("maps/rich.xem"));
    writeBytes(target, old);
    MapDocument changed;
    changed.mapName = "Changed";
    const std::string bytes = writeMap(changed);
    constexpr rlim_t kRoom = 4096;
    ASSERT_GT(bytes.size(), 2 * kRoom);

    bool saved = true;
    {
        FileSizeLimit full(kRoom);
        ASSERT_TRUE(full.active());
        saved = saveMapFile(changed, target);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(fileBytes(target), old);
    EXPECT_EQ(entriesIn(folder.path()), 1u);  // the part-written temporary file is gone
    EXPECT_TRUE(saveMapFile(changed, target)) << "room again: the same save succeeds";
    EXPECT_EQ(fileBytes(target), bytes);
}

TEST(SafeSave, RefusesAReadOnlyFileOrFolder)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, where file permissions do not bind: nothing to test";
    TempFolder folder;
    const auto target = folder / "map.xem";
    writeBytes(target, "precious");
    fs::permissions(target, fs::perms::owner_read);
    EXPECT_FALSE(saveFileSafely(target, "x"));
    fs::permissions(target, fs::perms::owner_all);
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(saveFileSafely(target, "x"));
    fs::permissions(folder.path(), fs::perms::owner_all);
    EXPECT_EQ(fileBytes(target), "precious");
}

}  // namespace
}  // namespace xemap
