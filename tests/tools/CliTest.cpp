#include "core/mapfile/MapReader.h"
#include "core/mapfile/MapWriter.h"
#include "core/output/Listing.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

#include <map>

namespace xemap {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// The tool runs in the folder, so files there may be named as given.
ToolRun cli(const TempFolder& folder, const std::vector<std::string>& arguments, const std::string& prefix = "")
{
    return runTool(prefix + "cd " + quoted(folder.path().string()) + " && " + toolCommand("xemap-cli", arguments),
                   folder.path());
}

// A run's expected status and whole output; its errors in whole when the expectation
// ends a line, else a part of them.
struct Answer {
    std::vector<std::string> arguments;
    int status;
    std::string out, err;
};

void expectAnswers(const TempFolder& folder, const std::vector<Answer>& answers)
{
    for (const auto& [arguments, status, out, err] : answers) {
        SCOPED_TRACE(toolCommand("xemap-cli", arguments));
        const ToolRun run = cli(folder, arguments);
        EXPECT_EQ(run.status, status);
        EXPECT_EQ(run.out, out);
        if (err.empty() || err.ends_with('\n'))
            EXPECT_EQ(run.err, err);
        else
            EXPECT_NE(run.err.find(err), std::string::npos) << run.err;
    }
}

// convert, listing and check: 0 done or clean, 1 failed, 2 skipped lines. diff, show and
// merge: 0 same or clean, 1 differ or conflicts, 2 any trouble, which includes a map that
// does not read cleanly. A failed command leaves its output as it was.
TEST(Cli, CommandsAnswerWithTheirExitStatusAndWriteOnlyWhatTheEditorWrites)
{
    TempFolder folder;
    auto base = emptyMapLines("Keep");
    auto ours = base, theirs = base, clash = base, skips = base, bad = base;
    ours[2] = "5 1 99 0 0 0 0 0 0 0 0 0  : 2 0 0 0 0 ";  // cell (1, 1)
    theirs[3] = "7 0 99 0 0 0 0 0 0 0 0 0 ";             // cell (1, 2)
    theirs.insert(theirs.end(), {"0", "Gate", "...", ">>>"});
    clash[2] = "6 0 99 0 0 0 0 0 0 0 0 0 ";
    skips.insert(skips.end(), {"5", "x", "...", "NPCS:", "Mara", "...", ">>>"});
    bad[500] = "1 2 3 : 1 x 0 0 0";
    const std::map<std::string, std::vector<std::string>> maps{{"base", base},   {"ours", ours},   {"theirs", theirs},
                                                               {"clash", clash}, {"skips", skips}, {"bad", bad}};
    for (const auto& [name, lines] : maps)
        writeBytes(folder / (name + ".xem"), joined(lines));
    writeBytes(folder / "cut.xem", joined(base).substr(0, 400));
    writeBytes(folder / "kept.xem", "kept");
    auto both = ours;
    both[3] = theirs[3];
    both.insert(both.end(), {"0", "Gate", "...", ">>>"});
    const std::string legacy = testData("legacy/single_layer.xem"), rich = testData("maps/rich.xem");
    const std::string badLine = "bad.xem: line 501: expected a door digit, found 'x'\n";
    std::string skipped;
    for (const auto& [line, text] : {std::pair{1030, "NPCS:"}, {1031, "Mara"}, {1032, "..."}})
        skipped += "skips.xem: line " + std::to_string(line) + ": warning: skipped line '" + text + "'\n";
    const std::string ourChange =
        "cell (1, 1) base: tile 0 → tile 5 rotated 90°\ncell (1, 1) North door: No Door → Locked Door\n";
    const std::string shown = "map name \"Keep\"\ntileset 0\ncell (1, 2): base tile 7\n"
                              "location ID 1: cell (1, 1) description\n  short name \"Gate\"\n  area text \"\"\n";
    const std::string conflict = "conflict: cell (1, 1) base: base tile 0 / ours tile 5 rotated 90° / theirs tile 6\n";

    expectAnswers(
        folder, {
                    {{"convert", legacy, "a.xem"}, 0, "", ""},
                    {{"listing", rich, "list.txt"}, 0, "", ""},
                    {{"convert", "bad.xem", "kept.xem"}, 1, "", badLine},
                    {{"convert", "bad.xem", "new.xem"}, 1, "", badLine},
                    {{"listing", "bad.xem", "kept.xem"}, 1, "", badLine},
                    {{"listing", "bad.xem", "new.xem"}, 1, "", badLine},
                    {{"convert", rich}, 1, "", "usage: xemap-cli convert"},
                    // A file that cannot be read or written is named with the system's reason.
                    {{"convert", "missing.xem", "new.xem"}, 1, "", "missing.xem: No such file or directory\n"},
                    {{"listing", rich, "kept.xem/new.txt"}, 1, "", "kept.xem/new.txt: Not a directory\n"},
                    {{"check", rich}, 0, "", ""},
                    {{"check", "skips.xem"}, 2, skipped, ""},
                    {{"check", "cut.xem"}, 1, "", "cell lines"},
                    {{"diff", "base.xem", "base.xem"}, 0, "", ""},
                    {{"diff", "base.xem", "ours.xem"}, 1, ourChange, ""},
                    {{"diff", "base.xem", "skips.xem"}, 2, "", "skips.xem: line 1030: skipped line 'NPCS:'"},
                    {{"diff", "base.xem", "missing.xem"}, 2, "", "missing.xem"},
                    {{"diff", "base.xem", "ours.xem", "--scale", "0.50"}, 2, "", "usage: xemap-cli diff"},
                    {{"show", "theirs.xem"}, 0, shown, ""},
                    {{"show", "skips.xem"}, 2, "", "skipped line"},
                    {{"merge", "base.xem", "ours.xem", "theirs.xem", "-o", "out.xem"}, 0, "", ""},
                    {{"merge", "base.xem", "ours.xem", "clash.xem", "-o", "clash-out.xem"}, 1, "", conflict},
                    {{"merge", "base.xem", "skips.xem", "theirs.xem", "-o", "kept.xem"}, 2, "", "skipped line 'NPCS:'"},
                    {{"merge", "base.xem", "ours.xem", "missing.xem", "-o", "kept.xem"}, 2, "", "missing.xem"},
                    {{"merge", "base.xem", "ours.xem", "-o", "kept.xem"}, 2, "", "usage: xemap-cli merge"},
                });
    // The file size limit stops the write part-way, as a full disk would.
    const ToolRun full = cli(folder, {"convert", rich, "kept.xem"}, "trap '' XFSZ; ulimit -f 8; ");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "kept.xem: File too large\n");

    ReadOptions asStarted;
    asStarted.layerCount = 3;  // the default registry's first tileset
    EXPECT_EQ(fileBytes(folder / "a.xem"), writeMap(readMap(fileBytes(legacy), asStarted)->document));
    EXPECT_EQ(fileBytes(folder / "list.txt"), listingText(readMap(fileBytes(rich))->document.descriptions));
    EXPECT_EQ(fileBytes(folder / "out.xem"), joined(both));
    EXPECT_EQ(fileBytes(folder / "clash-out.xem"), joined(ours));
    EXPECT_EQ(fileBytes(folder / "kept.xem"), "kept");
    EXPECT_FALSE(fs::exists(folder / "new.xem"));
}

TEST(Cli, HelpAndVersionAnswerAndUnknownArgumentsAreNamedWithTheUsage)
{
    TempFolder folder;
    for (const char* help : {"--help", "-h"}) {
        const ToolRun run = cli(folder, {help});
        EXPECT_EQ(run.status, 0) << help;
        for (const char* line : {"xemap-cli convert IN.xem OUT.xem ", "xemap-cli listing IN.xem OUT.txt ",
                                 "xemap-cli check IN.xem ", "xemap-cli image IN.xem OUT.bmp|OUT.png [--scale",
                                 "xemap-cli import IN.tmx OUT.xem ", "xemap-cli diff A.xem B.xem [--image OUT.png",
                                 "xemap-cli show MAP.xem ", "xemap-cli merge BASE.xem OURS.xem THEIRS.xem -o OUT.xem "})
            EXPECT_NE(run.out.find(line), std::string::npos) << help << " lacks " << line << " in\n" << run.out;
    }
    const ToolRun version = cli(folder, {"--version"});
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
        SCOPED_TRACE(toolCommand("xemap-cli", arguments));
        const ToolRun run = cli(folder, arguments);
        EXPECT_EQ(run.status, status);
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("usage: xemap-cli convert"), std::string::npos) << run.err;
    }
}

TEST(Cli, TheEditorWithoutADisplayAnswersHelpOrEndsWithOneLine)
{
    TempFolder folder;
    const struct {
        std::string arguments;
        int status;
        std::string out;
    } cases[] = {
        {"--help", 0, "[map]"}, {"--version", 0, "XEMap 1."}, {"", 1, ""},
        {"map.xem", 1, ""},     {"a.xem b.xem", 1, ""},       {"--frob", 1, ""},
    };
    for (const auto& [arguments, status, out] : cases) {
        SCOPED_TRACE("xemap " + arguments);
        // DISPLAY names a display that is not there when a map is given.
        const ToolRun run = runTool("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
                                        + std::string(arguments == "map.xem" ? "DISPLAY=:987 " : "")
                                        + quoted((programFolder() / "xemap").string()) + " " + arguments,
                                    folder.path());
        EXPECT_EQ(run.status, status);
        EXPECT_NE(run.out.find(out), std::string::npos) << run.out;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), status == 0 ? 0 : 1) << run.err;
    }
}

}  // namespace
}  // namespace xemap
