#include "core/mapfile/MapReader.h"
#include "core/mapfile/MapWriter.h"
#include "core/output/Listing.h"
#include "support/MapTestSupport.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

namespace xemap {
namespace {

using namespace testing;
namespace fs = std::filesystem;

using CliRun = ToolRun;

// The tool is built into the program folder, beside this test; each argument is quoted.
CliRun cliWith(const TempFolder& folder, const std::vector<std::string>& arguments, const std::string& prefix = "")
{
    const fs::path tool = fs::read_symlink("/proc/self/exe").parent_path() / "xemap-cli";
    std::string command = prefix + "'" + tool.string() + "'";
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    return runTool(command, folder.path());
}

CliRun cli(const TempFolder& folder, std::initializer_list<std::string> arguments)
{
    return cliWith(folder, arguments);
}

TEST(Cli, ConvertAndListingWriteWhatTheEditorWrites)
{
    TempFolder folder;
    const auto legacy = testData("legacy/single_layer.xem");
    ReadOptions asStarted;
    asStarted.layerCount = 3;  // the default registry's first tileset
    const auto expected = writeMap(readMap(fileBytes(legacy), asStarted)->document);

    ASSERT_EQ(cli(folder, {"convert", legacy, folder / "a.xem"}).status, 0);
    EXPECT_EQ(fileBytes(folder / "a.xem"), expected);

    const auto rich = testData("maps/rich.xem");
    ASSERT_EQ(cli(folder, {"listing", rich, folder / "list.txt"}).status, 0);
    auto document = readMap(fileBytes(rich))->document;
    EXPECT_EQ(fileBytes(folder / "list.txt"), listingText(document.descriptions));
}

TEST(Cli, BadInputLeavesTheOutputUntouched)
{
    TempFolder folder;
    auto lines = emptyMapLines();
    lines[500] = "1 2 3 : 1 x 0 0 0";
    writeBytes(folder / "bad.xem", joined(lines));
    writeBytes(folder / "keep.xem", "kept");
    for (const std::string command : {"convert", "listing"}) {
        SCOPED_TRACE(command);
        for (const char* out : {"keep.xem", "new.xem"}) {
            const CliRun run = cli(folder, {command, folder / "bad.xem", folder / out});
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.err, (folder / "bad.xem").string() + ": line 501: expected a door digit, found 'x'\n");
        }
        EXPECT_EQ(fileBytes(folder / "keep.xem"), "kept");
        EXPECT_FALSE(fs::exists(folder / "new.xem"));
    }
    EXPECT_EQ(cli(folder, {"convert", testData("maps/rich.xem")}).status, 1);
    EXPECT_FALSE(fs::exists(folder / "new.xem"));

    // A file that cannot be read or written is named with the system's reason.
    const std::string rich = testData("maps/rich.xem").string();
    const struct {
        std::string prefix;  // shell commands before the tool's
        std::vector<std::string> arguments;
        std::string err;
    } failures[] = {
        {"",
         {"convert", folder / "missing.xem", folder / "new.xem"},
         (folder / "missing.xem").string() + ": No such file or directory\n"},
        {"",
         {"listing", rich, folder / "keep.xem" / "new.txt"},
         (folder / "keep.xem" / "new.txt").string() + ": Not a directory\n"},
        // The file size limit stops the write part-way, as a full disk would.
        {"trap '' XFSZ; ulimit -f 8; ",
         {"convert", rich, folder / "keep.xem"},
         (folder / "keep.xem").string() + ": File too large\n"},
    };
    for (const auto& [prefix, arguments, err] : failures) {
        const CliRun run = cliWith(folder, arguments, prefix);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, err);
    }
    EXPECT_EQ(fileBytes(folder / "keep.xem"), "kept");
    EXPECT_FALSE(fs::exists(folder / "new.xem"));
}

TEST(Cli, HelpAndVersionAnswerAndUnknownArgumentsAreNamedWithTheUsage)
{
    TempFolder folder;
    for (const char* help : {"--help", "-h"}) {
        const CliRun run = cli(folder, {help});
        EXPECT_EQ(run.status, 0) << help;
        for (const char* line : {"xemap-cli convert IN.xem OUT.xem ", "xemap-cli listing IN.xem OUT.txt ",
                                 "xemap-cli check IN.xem ", "xemap-cli image IN.xem OUT.bmp|OUT.png [--scale",
                                 "xemap-cli import IN.tmx OUT.xem ", "xemap-cli diff A.xem B.xem [--image OUT.png",
                                 "xemap-cli show MAP.xem ", "xemap-cli merge BASE.xem OURS.xem THEIRS.xem -o OUT.xem "})
            EXPECT_NE(run.out.find(line), std::string::npos) << help << " lacks " << line << " in\n" << run.out;
    }
    const CliRun version = cli(folder, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("xemap-cli 1.")) << version.out;

    // The team commands answer as diff does: trouble is 2.
    const struct {
        std::vector<std::string> arguments;
        std::string named;
        int status = 1;
    } wrong[] = {
        {{}, "a command is needed"},
        {{"frobnicate"}, "frobnicate"},
        {{"--frob"}, "frob"},
        {{"image", "in.xem", "out.png", "--scal", "0.50"}, "scal"},
        {{"convert", "-x", "in.xem", "out.xem"}, "'x'"},
        {{"image", "in.xem", "out.png", "--scale"}, "scale"},
        {{"diff", "a.xem", "b.xem", "--frob"}, "frob", 2},
        {{"merge", "a.xem", "b.xem", "c.xem", "-o"}, "'-o'", 2},
        {{"show", "-q", "a.xem"}, "'q'", 2},
    };
    for (const auto& [arguments, named, status] : wrong) {
        std::string command = "xemap-cli";
        for (const auto& argument : arguments)
            command += " " + argument;
        SCOPED_TRACE(command);
        const CliRun run = cliWith(folder, arguments);
        EXPECT_EQ(run.status, status);
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("usage: xemap-cli convert"), std::string::npos) << run.err;
    }
}

TEST(Cli, TheEditorWithoutADisplayAnswersHelpOrEndsWithOneLine)
{
    TempFolder folder;
    const fs::path editor = fs::read_symlink("/proc/self/exe").parent_path() / "xemap";
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    const struct {
        std::string environment, arguments;
        int status;
        std::string out;
    } cases[] = {
        {noDisplay, "--help", 0, "[map]"},
        {noDisplay, "--version", 0, "XEMap 1."},
        {noDisplay, "", 1, ""},
        {noDisplay + "DISPLAY=:987 ", "map.xem", 1, ""},
        {noDisplay, "a.xem b.xem", 1, ""},
        {noDisplay, "--frob", 1, ""},
    };
    for (const auto& [environment, arguments, status, out] : cases) {
        SCOPED_TRACE(environment + "xemap " + arguments);
        const ToolRun run = runTool(environment + "'" + editor.string() + "' " + arguments, folder.path());
        EXPECT_EQ(run.status, status);
        EXPECT_NE(run.out.find(out), std::string::npos) << run.out;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), status == 0 ? 0 : 1) << run.err;
    }
}

TEST(Cli, CheckTellsCleanFromSkippedFromMalformed)
{
    TempFolder folder;
    auto lines = emptyMapLines();
    lines.insert(lines.end(), {"5", "x", "...", "NPCS:", "Mara", "...", ">>>"});
    writeBytes(folder / "skips.xem", joined(lines));
    writeBytes(folder / "cut.xem", joined(emptyMapLines()).substr(0, 400));

    EXPECT_EQ(cli(folder, {"check", testData("maps/rich.xem")}).status, 0);
    const CliRun skips = cli(folder, {"check", folder / "skips.xem"});
    EXPECT_EQ(skips.status, 2);
    const std::string name = (folder / "skips.xem").string();
    EXPECT_EQ(skips.out, name + ": line 1030: warning: skipped line 'NPCS:'\n" + name
                             + ": line 1031: warning: skipped line 'Mara'\n" + name
                             + ": line 1032: warning: skipped line '...'\n");
    const CliRun cut = cli(folder, {"check", folder / "cut.xem"});
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.err.find("cell lines"), std::string::npos);
}

// diff, show and merge: 0 same or clean, 1 differ or conflicts, 2 any trouble, which
// includes a map that does not read cleanly; merge then leaves OUT as it was.
TEST(Cli, DiffShowAndMergeAnswerWithTheirExitStatus)
{
    TempFolder folder;
    auto base = emptyMapLines("Keep");
    writeBytes(folder / "base.xem", joined(base));
    auto ours = base, theirs = base, clash = base;
    ours[2] = "5 1 99 0 0 0 0 0 0 0 0 0  : 2 0 0 0 0 ";  // cell (1, 1)
    theirs[3] = "7 0 99 0 0 0 0 0 0 0 0 0 ";             // cell (1, 2)
    theirs.insert(theirs.end(), {"0", "Gate", "...", ">>>"});
    clash[2] = "6 0 99 0 0 0 0 0 0 0 0 0 ";
    writeBytes(folder / "ours.xem", joined(ours));
    writeBytes(folder / "theirs.xem", joined(theirs));
    writeBytes(folder / "clash.xem", joined(clash));
    auto skips = base;
    skips.insert(skips.end(), {"5", "x", "...", "NPCS:", ">>>"});
    writeBytes(folder / "skips.xem", joined(skips));
    auto both = ours;
    both[3] = theirs[3];
    both.insert(both.end(), {"0", "Gate", "...", ">>>"});

    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string out, err;
    } cases[] = {
        {{"diff", "base.xem", "base.xem"}, 0, "", ""},
        {{"diff", "base.xem", "ours.xem"},
         1,
         "cell (1, 1) base: tile 0 → tile 5 rotated 90°\ncell (1, 1) North door: No Door → Locked Door\n",
         ""},
        {{"diff", "base.xem", "skips.xem"}, 2, "", "skips.xem: line 1030: skipped line 'NPCS:'\n"},
        {{"diff", "base.xem", "missing.xem"}, 2, "", "missing.xem"},
        {{"diff", "base.xem", "ours.xem", "--scale", "0.50"}, 2, "", "usage: xemap-cli diff"},
        {{"show", "theirs.xem"},
         0,
         "map name \"Keep\"\ntileset 0\ncell (1, 2): base tile 7\nlocation ID 1: cell (1, 1) description\n"
         "  short name \"Gate\"\n  area text \"\"\n",
         ""},
        {{"show", "skips.xem"}, 2, "", "skipped line"},
        {{"merge", "base.xem", "ours.xem", "theirs.xem", "-o", "out.xem"}, 0, "", ""},
        {{"merge", "base.xem", "ours.xem", "clash.xem", "-o", "clash-out.xem"},
         1,
         "",
         "conflict: cell (1, 1) base: base tile 0 / ours tile 5 rotated 90° / theirs tile 6\n"},
        {{"merge", "base.xem", "skips.xem", "theirs.xem", "-o", "kept.xem"}, 2, "", "skipped line 'NPCS:'"},
        {{"merge", "base.xem", "ours.xem", "missing.xem", "-o", "kept.xem"}, 2, "", "missing.xem"},
        {{"merge", "base.xem", "ours.xem", "-o", "kept.xem"}, 2, "", "usage: xemap-cli merge"},
    };
    writeBytes(folder / "kept.xem", "kept");
    for (const auto& c : cases) {
        std::string command = "xemap-cli";
        for (const auto& argument : c.arguments)
            command += " " + argument;
        SCOPED_TRACE(command);
        // The tool runs in the folder, so files are named as given.
        const CliRun run = cliWith(folder, [&] {
            auto arguments = c.arguments;
            for (auto& argument : arguments)
                if (argument.ends_with(".xem"))
                    argument = (folder / argument).string();
            return arguments;
        }());
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        if (c.err.empty())
            EXPECT_EQ(run.err, "");
        else
            EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
    EXPECT_EQ(fileBytes(folder / "out.xem"), joined(both));
    EXPECT_EQ(fileBytes(folder / "clash-out.xem"), joined(ours));
    EXPECT_EQ(fileBytes(folder / "kept.xem"), "kept");
}

}  // namespace
}  // namespace xemap
