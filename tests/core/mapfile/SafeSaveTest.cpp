#include "core/mapfile/SafeSave.h"
#include "core/mapfile/MapWriter.h"
#include "support/MapTestSupport.h"
#include "support/OrdinaryUser.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace xemap;

using namespace xemap::testing;
namespace fs = std::filesystem;

class SafeSave : public ::testing::Test {
protected:
    void SetUp() override { writeBytes(target, "precious"); }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()));
    }
    TempFolder folder;
    const fs::path target = folder / "map.xem";
};

TEST_F(SafeSave, ReplacesTheFileAndKeepsItsPermissions)
{
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, perms);
    EXPECT_TRUE(saveFileSafely(target, "new text") && fileBytes(target) == "new text");
    EXPECT_EQ(fs::status(target).permissions(), perms);
    EXPECT_EQ(entries(), 1u);

    // Through a link, the file it names is replaced and the link stays.
    const auto link = folder / "link.xem";
    fs::create_symlink(target, link);
    EXPECT_TRUE(saveMapFile(MapDocument{}, link) && fs::is_symlink(link));
    EXPECT_EQ(fileBytes(target), writeMap(MapDocument{}));
}

TEST_F(SafeSave, AFailedSaveLeavesTheOldFileAsItWasAndSaysWhy)
{
    fs::create_directory(folder / "sub");
    const std::pair<fs::path, std::string> cases[] = {
        {folder / "sub", "not a regular file"},
        {folder / "no-such-folder" / "map.xem", "No such file or directory"},
        {target / "map.xem", "Not a directory"},
        {"", "no file name was given"}};
    for (const auto& [failing, reason] : cases) {
        const Result<void> saved = saveFileSafely(failing, "x");
        EXPECT_EQ(saved.fault().kind,
                  reason == "not a regular file" ? Fault::Kind::NotRegularFile : Fault::Kind::CannotWrite);
        EXPECT_EQ(saved.fault().file, failing.string());
        EXPECT_EQ(saved.fault().reason, reason);
    }
    EXPECT_EQ(entries(), 2u);  // no temporary file left behind
    EXPECT_EQ(fileBytes(target), "precious");
}

// A file size limit fails the write part-way, as a full disk would, and binds the superuser
// too; with SIGXFSZ ignored the write fails instead of ending the process.
TEST_F(SafeSave, AWriteThatFailsMidwayLeavesTheOldFileAsItWas)
{
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const rlimit room{4096, old.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &room), 0);
    const Result<void> saved = saveMapFile(MapDocument{}, target);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(saved.fault().reason, systemReason(EFBIG)) << "the system's reason for the failed write";
    EXPECT_EQ(fileBytes(target), "precious");
    EXPECT_EQ(entries(), 1u);  // the part-written temporary file is gone
}

// A save killed part-way through its write: the child's file size limit is crossed with
// SIGXFSZ at its default, which ends the process as a kill would.
void killedSave(const fs::path& target, TemporaryFile kind)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{4096, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        (void)saveFileSafely(target, std::string(1 << 20, 'x'), kind);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
}

TEST_F(SafeSave, AKilledSaveLeavesTheOldFileAndNoTemporaryForLong)
{
    killedSave(target, TemporaryFile::Unnamed);
    EXPECT_EQ(fileBytes(target), "precious");
    EXPECT_EQ(entries(), 1u) << "an unnamed temporary dies with its writer";

    // Where only named temporaries can be made, the next save removes what its dead
    // writer left, but not a file whose writer still runs nor files of other names.
    killedSave(target, TemporaryFile::Named);
    EXPECT_EQ(entries(), 2u);
    killedSave(target, TemporaryFile::Named);
    EXPECT_EQ(entries(), 2u) << "each save removes the one before it left";
    const auto live = folder / (".xemap-save-" + std::to_string(::getpid()) + "-1.tmp");
    writeBytes(live, "being written");
    writeBytes(folder / ".xemap-save-notes.txt", "kept");
    EXPECT_TRUE(saveFileSafely(target, "new", TemporaryFile::Named) && fileBytes(target) == "new");
    EXPECT_EQ(entries(), 3u);
    EXPECT_TRUE(fs::exists(live));

    // An hour-old temporary counts as stale whatever process number it names.
    const auto old = std::chrono::file_clock::now() - std::chrono::hours(2);
    fs::last_write_time(live, old);
    EXPECT_TRUE(saveFileSafely(target, "newer") && !fs::exists(live));
    EXPECT_EQ(entries(), 2u);
}

TEST_F(SafeSave, RefusesAReadOnlyFileAndRewritesAWritableOneInAReadOnlyFolderInPlace)
{
    EXPECT_TRUE(test::asOrdinaryUser(folder.path(), [this] {
        fs::permissions(target, fs::perms::owner_read);
        const bool fileRefused =
            saveFileSafely(target, "x").fault().reason == "Permission denied" && fileBytes(target) == "precious";
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
        fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
        // No temporary can be made beside the file, so it is written where it is.
        const bool rewritten = saveFileSafely(target, "new") && fileBytes(target) == "new" && entries() == 1;
        const bool newFileRefused =
            saveFileSafely(folder / "other.xem", "x").fault().reason == "Permission denied" && entries() == 1;
        fs::permissions(folder.path(), fs::perms::owner_all);
        return fileRefused && rewritten && newFileRefused;
    }));
}

// A bare file name is saved in the current folder; where /proc is missing the unnamed
// temporary cannot be linked in and a named one takes its place.
TEST_F(SafeSave, SavesABareNameInTheCurrentFolderAndWithoutProc)
{
    const fs::path home = fs::current_path();
    fs::current_path(folder.path());
    const Result<void> saved = saveFileSafely("map.xem", "here");
    fs::current_path(home);
    EXPECT_EQ(fileBytes(target), "here");

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Only a superuser may hide /proc, in a mount namespace of its own.
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("none", "/proc", "tmpfs", 0, nullptr) != 0)
            ::_exit(2);
        ::_exit(saveFileSafely(target, "named") && fileBytes(target) == "named" && entries() == 1 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "no mount namespace to hide /proc in";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
