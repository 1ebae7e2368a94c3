#include "core/recovery/RecoveryLock.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace xemap;

using namespace xemap::testing;
namespace fs = std::filesystem;

std::string holderText(const LockHolder& holder)
{
    return std::to_string(holder.pid) + "\n" + holder.bootId + "\n" + holder.program + "\n";
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
        {"this very process", holderText(self)},
    };
    for (const auto& [name, content] : contents) {
        const fs::path path = folder / (std::string(name) + ".lock");
        std::ofstream(path) << content;
        auto lock = RecoveryLock::acquire(path);
        ASSERT_TRUE(lock) << name << ": " << lock.fault().describe();
        // The lock now names its holder, 0600, so that no other user reads it.
        EXPECT_EQ(parseLockHolder(fileBytes(path)).value().pid, self.pid) << name;
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0600u) << name;
    }
}

TEST(RecoveryLock, AHeldLockIsNotTakenEvenBeforeItNamesItsHolder)
{
    TempFolder folder;
    const fs::path path = folder / "a.lock";
    auto first = RecoveryLock::acquire(path);
    ASSERT_TRUE(first);
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
}

TEST(RecoveryLock, ALinkIsNeverALock)
{
    TempFolder folder;
    const fs::path target = folder / "user.xem";
    std::ofstream(target) << "the user's map";
    fs::create_symlink(target, folder / "a.lock");
    const auto lock = RecoveryLock::acquire(folder / "a.lock");
    ASSERT_FALSE(lock);
    EXPECT_EQ(lock.fault().kind, Fault::Kind::NotRegularFile);
    EXPECT_EQ(fileBytes(target), "the user's map");
    ASSERT_EQ(::mkfifo((folder / "b.lock").c_str(), 0600), 0);
    EXPECT_EQ(RecoveryLock::acquire(folder / "b.lock").fault().kind, Fault::Kind::NotRegularFile);
}

// Where the file system has no advisory locks, the content alone tells a running editor.
TEST(RecoveryLock, TheContentNamesARunningEditorOnlyForThisBootAndProgram)
{
    const LockHolder self = currentHolder();
    ASSERT_FALSE(self.bootId.empty());
    ASSERT_FALSE(self.program.empty());
    struct Case {
        const char* name;
        std::string content;
        bool parsed, running;
    };
    const std::vector<Case> cases{
        {"this process", holderText(self), true, true},
        {"another boot", holderText({self.pid, "another", self.program}), true, false},
        {"another program", holderText({1, self.bootId, self.program}), true, false},
        {"no such process", holderText({999999999, self.bootId, self.program}), true, false},
        {"empty", "", false, false},
        {"cut short", std::to_string(self.pid) + "\n" + self.bootId + "\n" + self.program, false, false},
        {"no number", "x\n" + self.bootId + "\n" + self.program + "\n", false, false},
        {"negative", "-1\n" + self.bootId + "\n" + self.program + "\n", false, false},
    };
    for (const auto& [name, content, parsed, running] : cases) {
        const auto holder = parseLockHolder(content);
        ASSERT_EQ(holder.has_value(), parsed) << name;
        if (holder) {
            EXPECT_EQ(holderIsRunning(*holder), running) << name;
        }
    }
}
