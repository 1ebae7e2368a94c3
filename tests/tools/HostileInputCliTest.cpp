// The command-line tool given what a hostile user would give it: devices, huge or
// odd registries, control bytes, too little memory. Each ends with one line and exit 1.
#include "support/ToolRun.h"

#include <gmock/gmock.h>

#include <sstream>

namespace xemap {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// The tool copied into a folder of its own, so that each test gives it its own registry;
// it runs there, on in.xem.
struct HostileCli : ::testing::Test {
    HostileCli()
    {
        fs::copy_file(programFolder() / "xemap-cli", folder / "xemap-cli");
        writeBytes(folder / "in.xem", joined(emptyMapLines()));
    }

    // The arguments as the shell reads them.
    ToolRun cli(const std::string& arguments) { return runTool("./xemap-cli " + arguments, folder.path()); }
    // The command, given the output file when one is named, failed with the one line and wrote nothing.
    void expectRefused(const std::string& arguments, const std::string& err, const std::string& output = "")
    {
        SCOPED_TRACE(arguments);
        const ToolRun run = cli(arguments + " " + output);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, err);
        EXPECT_TRUE(output.empty() || !fs::exists(folder / output));
    }

    TempFolder folder;
    const std::string registry = (folder / "XEMAP.INI").string();
};

TEST_F(HostileCli, DevicesAreRefusedUnread)
{
    expectRefused("check /dev/zero", "/dev/zero: not a regular file\n");
    writeBytes(registry, "Zero\r\n/dev/zero\r\nnull\r\nnull\r\nnull\r\nnull\r\n");
    expectRefused("image in.xem", "/dev/zero: not a regular file\n", "out.png");
    expectRefused("tmx in.xem", "/dev/zero: not a regular file\n", "out.tmx");

    fs::remove(registry);
    ASSERT_EQ(::mkfifo(registry.c_str(), 0600), 0);
    expectRefused("check in.xem", registry + ": not a regular file\n");
}

TEST_F(HostileCli, ARegistryIsReadOnlyAsFarAsTheCommandNeedsUpToItsLimit)
{
    // One real entry, then megabytes of blank lines: the commands need only the first.
    writeBytes(registry, "Caves\r\nbase.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n" + std::string(3 << 20, '\n'));
    EXPECT_EQ(cli("check in.xem").status, 0);

    fs::resize_file(registry, (4 << 20) + 1);
    expectRefused("convert in.xem", registry + ": the file is larger than 4 MB\n", "out.xem");
}

TEST_F(HostileCli, ControlBytesFromFilesAreShownEscaped)
{
    auto lines = emptyMapLines();
    lines.insert(lines.end(), {"5", "x", "...", "\x1b]0;owned\x07", ">>>"});
    writeBytes(folder / "in.xem", joined(lines));
    expectAnswers(folder,
                  {{{"check", "in.xem"}, 2, "in.xem: line 1030: warning: skipped line '\\x1b]0;owned\\x07'\n", ""}},
                  "./xemap-cli");

    lines = emptyMapLines();
    lines[3] = kEmptyCell + ": \x1b 0 0 0 0 ";
    writeBytes(folder / "odd.xem", joined(lines));
    expectRefused("check odd.xem", "odd.xem: line 4: expected a door digit, found '\\x1b'\n");

    // Typed arguments and the names a registry gives are escaped too.
    writeBytes(registry, "Odd\r\nodd\x1b.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n");
    const std::pair<std::string, std::string> cases[] = {
        {"\"$(printf 'frob\\033]0;x\\007')\"", "xemap-cli: unknown command 'frob\\x1b]0;x\\x07'"},
        {"check \"$(printf '%s\\033b' --a)\" odd.xem", "xemap-cli: check: Unknown option 'a\\x1bb'."},
        {"tmx in.xem out.tmx", (folder / "odd\\x1b.bmp").string() + ": the tile sheet is missing"}};
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
    const std::string area = joined(std::vector<std::string>(500000, std::string(60, 'a')), "\n");
    writeBytes(folder / "in.xem", joined(emptyMapLines()) + "5\r\nname\r\n" + area + "...\r\n>>>\r\n");
    const ToolRun run = runTool("ulimit -v 120000; ./xemap-cli convert in.xem out.xem", folder.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, ::testing::AnyOf(::testing::EndsWith(": there is not enough memory to read the file\n"),
                                          ::testing::EndsWith(": Not enough memory to read the file.\n"),
                                          ::testing::Eq("xemap-cli: Not enough memory to run the command.\n")));
    EXPECT_FALSE(fs::exists(folder / "out.xem"));
}

TEST_F(HostileCli, AWrittenFileAndItsFolderAreSyncedAroundTheRename)
{
    // The system calls of a convert, in order: the new file's data reaches the disk
    // before any name points at it, and the folder is synced after the rename.
    const ToolRun run = runTool("strace -qq -e trace=fsync,fdatasync,linkat,rename,renameat,renameat2 -o trace "
                                "./xemap-cli convert in.xem out.xem",
                                folder.path());
    if (run.status != 0 && !fs::exists(folder / "trace"))
        GTEST_SKIP() << "strace cannot trace here: " << run.err;
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> calls;
    std::istringstream lines(fileBytes(folder / "trace"));
    for (std::string line; std::getline(lines, line);)
        calls.push_back(line.substr(0, line.find('(')));
    EXPECT_EQ(calls, (std::vector<std::string>{"fsync", "linkat", "fsync", "rename", "fsync"}));
}

}  // namespace
}  // namespace xemap
