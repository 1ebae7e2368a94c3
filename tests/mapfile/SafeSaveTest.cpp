#include "mapfile/MapTestSupport.h"
#include "mapfile/MapWriter.h"
#include "mapfile/SafeSave.h"

#include <gtest/gtest.h>

namespace xemap {
namespace {

using namespace testing;
namespace fs = std::filesystem;

std::size_t entriesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

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

TEST(SafeSave, RefusesAReadOnlyFileOrFolder)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
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
