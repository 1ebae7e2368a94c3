#include "core/mapfile/MapReader.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace xemap;

using namespace xemap::testing;
namespace fs = std::filesystem;

std::string mapWithDescription(const std::string& block)
{
    auto lines = emptyMapLines();
    lines.insert(lines.end(), {"5", "name"});
    return joined(lines) + block;
}

std::string repeated(const std::string& text, std::size_t times)
{
    std::string all;
    for (std::size_t i = 0; i < times; ++i)
        all += text;
    return all;
}

// The budget alone, without the floor that lets small maps through.
ReadOptions budgetOnly()
{
    ReadOptions options;
    options.minimumMemory = 0;
    return options;
}

TEST(HostileMap, TextBuiltToCostFarMoreThanItsBytesIsRefusedAndRealMapsAreNot)
{
    const std::pair<const char*, std::string> hostile[] = {
        {"empty area lines", mapWithDescription(repeated("\n", 200000) + "...\n>>>\n")},
        {"empty record text lines",
         mapWithDescription("...\nNPCs:\nn\na\nr\nc\ns\n" + repeated("\n", 200000) + "...\n>>>\n")},
        {"minimal records", mapWithDescription("...\nNPCs:\n" + repeated("n\na\nr\nc\ns\n...\n", 20000) + ">>>\n")},
        {"skipped lines", mapWithDescription("...\n" + repeated("x\n", 100000) + ">>>\n")},
    };
    for (const auto& [what, text] : hostile) {
        SCOPED_TRACE(what);
        const Result<LoadedMap> read = readMap(text, budgetOnly());
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.fault().kind, Fault::Kind::Malformed);
        EXPECT_NE(read.fault().reason.find("more memory than 8 times the file's size"), std::string::npos);
        EXPECT_TRUE(readMap(text).ok()) << "the floor takes small files whatever their layout";
    }
    for (const char* fixture : {"maps/rich.xem", "maps/crossroads.xem"})
        EXPECT_TRUE(readMap(fileBytes(testData(fixture)), budgetOnly()).ok()) << fixture;
}

TEST(HostileMap, AFileOverTheLimitIsRefusedUnreadNamingTheLimit)
{
    TempFolder folder;
    const fs::path file = folder / "huge.xem";
    writeBytes(file, joined(emptyMapLines()));
    fs::resize_file(file, kMapFileLimit + 1);  // sparse: nothing of it is written or read
    Result<LoadedMap> read = readMapFile(file);
    EXPECT_EQ(read.fault().kind, Fault::Kind::TooLarge);
    EXPECT_EQ(read.fault().describe(), file.string() + ": the file is larger than 64 MB");

    read = readMapFile("/dev/zero");
    EXPECT_EQ(read.fault().kind, Fault::Kind::NotRegularFile);
    EXPECT_EQ(read.fault().describe(), "/dev/zero: not a regular file");
}

// Virtual memory in use by this process, in bytes.
rlim_t addressSpaceInUse()
{
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    return pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
}

TEST(HostileMap, RunningOutOfMemoryIsAReadErrorNotAnAbort)
{
    // Two million area lines need 64 MB of strings; the child gets less room than that.
    const std::string text = mapWithDescription(repeated("\n", 2000000) + "...\n>>>\n");
    ReadOptions unbounded;
    unbounded.memoryPerByte = 1000;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{addressSpaceInUse() + 32 * 1024 * 1024, RLIM_INFINITY};
        bool reported = false;
        if (::setrlimit(RLIMIT_AS, &limit) == 0) {
            const Result<LoadedMap> read = readMap(text, unbounded);
            reported = !read.ok() && read.fault().kind == Fault::Kind::OutOfMemory;
        }
        ::_exit(reported ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the reader aborted";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
