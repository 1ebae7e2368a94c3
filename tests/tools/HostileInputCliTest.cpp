// The command-line tool given what a hostile user would give it: devices, huge or
// odd registries, control bytes, too little memory. Each ends with one line and exit 1.
#include "support/MapTestSupport.h"
#include "support/ToolRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace xemap {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// The tool copied into its own program folder, so that each test gives it its own registry.
class HostileCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::copy_file(programFolder() / "xemap-cli", program / "xemap-cli");
        writeBytes(map, joined(emptyMapLines()));
    }

    // Runs the tool under the shell, with prefix before it (a ulimit, say).
    ToolRun cli(const std::string& arguments, const std::string& prefix = "")
    {
        return runTool(prefix + quoted((program / "xemap-cli").string()) + " " + arguments, logs.path());
    }
    // The command on the map, writing to output in the logs folder when one is named.
    std::string onMap(const std::string& command, const std::string& output = "") const
    {
        return command + " " + quoted(map.string()) + (output.empty() ? "" : " " + quoted((logs / output).string()));
    }
    // The command failed with the one line and wrote nothing.
    void expectRefused(const std::string& arguments, const std::string& err, const std::string& output = "")
    {
        SCOPED_TRACE(arguments);
        const ToolRun run = cli(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, err);
        EXPECT_TRUE(output.empty() || !fs::exists(logs / output));
    }

    TempFolder program, logs;
    const fs::path map = program / "in.xem";
};

TEST_F(HostileCli, DevicesAreRefusedUnread)
{
    expectRefused("check /dev/zero", "/dev/zero: not a regular file\n");
    writeBytes(program / "XEMAP.INI", "Zero\r\n/dev/zero\r\nnull\r\nnull\r\nnull\r\nnull\r\n");
    for (const auto& [command, output] : {std::pair{"image", "out.png"}, {"tmx", "out.tmx"}})
        expectRefused(onMap(command, output), "/dev/zero: not a regular file\n", output);

    fs::remove(program / "XEMAP.INI");
    ASSERT_EQ(::mkfifo((program / "XEMAP.INI").c_str(), 0600), 0);
    expectRefused(onMap("check"), (program / "XEMAP.INI").string() + ": not a regular file\n");
}

TEST_F(HostileCli, ARegistryIsReadOnlyAsFarAsTheCommandNeedsUpToItsLimit)
{
    // One real entry, then megabytes of blank lines: the commands need only the first.
    std::string registry = "Caves\r\nbase.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n";
    registry += std::string(3 * 1024 * 1024, '\n');
    writeBytes(program / "XEMAP.INI", registry);
    EXPECT_EQ(cli(onMap("check")).status, 0);

    fs::resize_file(program / "XEMAP.INI", 4 * 1024 * 1024 + 1);
    expectRefused(onMap("convert", "out.xem"), (program / "XEMAP.INI").string() + ": the file is larger than 4 MB\n",
                  "out.xem");
}

TEST_F(HostileCli, ControlBytesFromFilesAreShownEscaped)
{
    auto lines = emptyMapLines();
    lines.insert(lines.end(), {"5", "x", "...", "\x1b]0;owned\x07", ">>>"});
    writeBytes(map, joined(lines));
    const ToolRun run = cli(onMap("check"));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, map.string() + ": line 1030: warning: skipped line '\\x1b]0;owned\\x07'\n");

    lines = emptyMapLines();
    lines[3] = kEmptyCell + ": \x1b 0 0 0 0 ";
    writeBytes(map, joined(lines));
    expectRefused(onMap("check"), map.string() + ": line 4: expected a door digit, found '\\x1b'\n");

    // Typed arguments and the names a registry gives are escaped too.
    writeBytes(map, joined(emptyMapLines()));
    writeBytes(program / "XEMAP.INI", "Odd\r\nodd\x1b.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n");
    const struct {
        std::string arguments;
        std::string firstLine;
    } cases[] = {
        {"\"$(printf 'frob\\033]0;x\\007')\"", "xemap-cli: unknown command 'frob\\x1b]0;x\\x07'"},
        {"check \"$(printf '%s\\033b' --a)\" in.xem", "xemap-cli: check: Unknown option 'a\\x1bb'."},
        {onMap("tmx") + " out.tmx", (program / "odd\\x1b.bmp").string() + ": the tile sheet is missing"},
    };
    for (const auto& [arguments, firstLine] : cases) {
        SCOPED_TRACE(arguments);
        const ToolRun odd = cli(arguments);
        EXPECT_EQ(odd.status, 1);
        EXPECT_EQ(odd.err.substr(0, odd.err.find('\n')), firstLine);
    }
}

TEST_F(HostileCli, RunningOutOfMemoryIsOneLineAndExitOne)
{
    // A 30 MB map that its budget allows, given less address space than reading it
    // takes (the tool itself starts in about 80 MB).
    std::string area;
    for (int line = 0; line < 500000; ++line)
        area += std::string(60, 'a') + "\n";
    writeBytes(map, joined(emptyMapLines()) + "5\r\nname\r\n" + area + "...\r\n>>>\r\n");
    const ToolRun run = cli(onMap("convert", "out.xem"), "ulimit -v 120000; ");
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, ::testing::AnyOf(::testing::EndsWith(": there is not enough memory to read the file\n"),
                                          ::testing::EndsWith(": Not enough memory to read the file.\n"),
                                          ::testing::Eq("xemap-cli: Not enough memory to run the command.\n")));
    EXPECT_FALSE(fs::exists(logs / "out.xem"));
}

TEST_F(HostileCli, AWrittenFileAndItsFolderAreSyncedAroundTheRename)
{
    // The system calls of a convert, in order: the new file's data reaches the disk
    // before any name points at it, and the folder is synced after the rename.
    const fs::path trace = logs / "trace";
    const ToolRun run =
        cli(onMap("convert", "out.xem"),
            "strace -qq -e trace=fsync,fdatasync,linkat,rename,renameat,renameat2 -o '" + trace.string() + "' ");
    if (run.status != 0 && !fs::exists(trace))
        GTEST_SKIP() << "strace cannot trace here: " << run.err;
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> calls;
    std::istringstream lines(fileBytes(trace));
    for (std::string line; std::getline(lines, line);)
        calls.push_back(line.substr(0, line.find('(')));
    EXPECT_EQ(calls, (std::vector<std::string>{"fsync", "linkat", "fsync", "rename", "fsync"}));
}

}  // namespace
}  // namespace xemap
