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
        SCOPED_TRACE(joined(arguments, " "));
        const ToolRun run = cli(folder.path(), arguments);
        EXPECT_EQ(run.status, status);
        EXPECT_EQ(run.out, out);
        if (err.empty() || err.ends_with('\n'))
            EXPECT_EQ(run.err, err);
        else
            EXPECT_NE(run.err.find(err), std::string::npos) << run.err;
    }
}

// convert, listing, check and image: 0 done or clean, 1 failed, 2 skipped lines. diff,
// show and merge: 0 same or clean, 1 differ or conflicts, 2 any trouble, which includes a
// map that does not read cleanly. A failed command leaves its output as it was.
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
    fs::create_directory(folder / "tiles");
    writeBytes(folder / "tiles/XEMAP.INI", "Broken\r\ntilesets\\missing.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n");
    auto both = theirs;
    both[2] = ours[2];
    const std::string legacy = testData("legacy/single_layer.xem"), rich = testData("maps/rich.xem");
    const std::string noFile = ": No such file or directory\n";
    const std::string badLine = "bad.xem: line 501: expected a door digit, found 'x'\n";
    const std::string skipped = "skips.xem: line 1030: warning: skipped line 'NPCS:'\nskips.xem: line 1031: warning: "
                                "skipped line 'Mara'\nskips.xem: line 1032: warning: skipped line '...'\n";
    const std::string ourChange =
        "cell (1, 1) base: tile 0 → tile 5 rotated 90°\ncell (1, 1) North door: No Door → Locked Door\n";
    const std::string shown = "map name \"Keep\"\ntileset 0\ncell (1, 2): base tile 7\n"
                              "location ID 1: cell (1, 1) description\n  short name \"Gate\"\n  area text \"\"\n";
    const std::string conflict = "conflict: cell (1, 1) base: base tile 0 / ours tile 5 rotated 90° / theirs tile 6\n";
    const std::string imageUsage = "usage: xemap-cli image IN.xem OUT.bmp|OUT.png [--scale 1.00|0.50|0.25|0.10] "
                                   "[--tiles DIR]\n";

    expectAnswers(folder,
                  {{{"convert", legacy, "a.xem"}, 0, "", ""},
                   {{"listing", rich, "list.txt"}, 0, "", ""},
                   {{"convert", "bad.xem", "kept.xem"}, 1, "", badLine},
                   {{"listing", "bad.xem", "new.xem"}, 1, "", badLine},
                   {{"convert", rich}, 1, "", "usage: xemap-cli convert"},
                   // A file that cannot be read or written is named with the system's reason.
                   {{"convert", "missing.xem", "new.xem"}, 1, "", "missing.xem" + noFile},
                   {{"listing", rich, "kept.xem/new.txt"}, 1, "", "kept.xem/new.txt: Not a directory\n"},
                   {{"check", rich}, 0, "", ""},
                   {{"check", "skips.xem"}, 2, skipped, ""},
                   {{"check", "cut.xem"}, 1, "", "cell lines"},
                   {{"image", "base.xem", "new.png", "--tiles", "tiles"}, 1, "", "tiles/tilesets/missing.bmp" + noFile},
                   {{"image", "base.xem", "new.png", "--scale", "0.3"}, 1, "", imageUsage},
                   {{"image", "base.xem", "new.gif"}, 1, "", "new.gif: the picture must be a .bmp or .png file\n"},
                   {{"image", "base.xem", "no/new.png"}, 1, "", "Cannot write \"no/new.png\"" + noFile},
                   {{"diff", "base.xem", "base.xem"}, 0, "", ""},
                   {{"diff", "base.xem", "ours.xem"}, 1, ourChange, ""},
                   {{"diff", "base.xem", "skips.xem"}, 2, "", "skips.xem: line 1030: skipped line 'NPCS:'"},
                   {{"diff", "base.xem", "missing.xem"}, 2, "", "missing.xem"},
                   {{"diff", "base.xem", "ours.xem", "--scale", "0.50"}, 2, "", "usage: xemap-cli diff"},
                   {{"show", "theirs.xem"}, 0, shown, ""},
                   {{"show", "skips.xem"}, 2, "", "skipped line"},
                   {{"merge", "base.xem", "ours.xem", "theirs.xem", "-o", "out.xem"}, 0, "", ""},
                   {{"merge", "base.xem", "ours.xem", "clash.xem", "-o", "clash-out.xem"}, 1, "", conflict},
                   {{"merge", "base.xem", "skips.xem", "theirs.xem", "-o", "kept.xem"}, 2, "", "line 1030"},
                   {{"merge", "base.xem", "ours.xem", "missing.xem", "-o", "kept.xem"}, 2, "", "missing.xem"},
                   {{"merge", "base.xem", "ours.xem", "-o", "kept.xem"}, 2, "", "usage: xemap-cli merge"}});
    // The file size limit stops the write part-way, as a full disk would.
    const ToolRun full = cli(folder.path(), {"convert", rich, "kept.xem"}, "trap '' XFSZ; ulimit -f 8; ");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "kept.xem: File too large\n");

    ReadOptions asStarted;
    asStarted.layerCount = 3;  // the default registry's first tileset
    EXPECT_EQ(fileBytes(folder / "a.xem"), writeMap(readMap(fileBytes(legacy), asStarted)->document));
    EXPECT_EQ(fileBytes(folder / "list.txt"), listingText(readMap(fileBytes(rich))->document.descriptions));
    EXPECT_EQ(fileBytes(folder / "out.xem"), joined(both));
    EXPECT_EQ(fileBytes(folder / "clash-out.xem"), joined(ours));
    EXPECT_EQ(fileBytes(folder / "kept.xem"), "kept");
    for (const char* unwritten : {"new.xem", "new.png", "new.gif"})
        EXPECT_FALSE(fs::exists(folder / unwritten)) << unwritten;
}

// A bad command line is named on the first line of the errors, then the usage follows.
TEST(Cli, HelpAndVersionAnswerAndUnknownArgumentsAreNamedWithTheUsage)
{
    TempFolder folder;
    const std::string usage = cli(folder.path(), {"--help"}).out;
    // The summaries start in one column, or two blanks after a long call.
    for (const char* line : {"usage: xemap-cli convert IN.xem OUT.xem        read as the editor opens",
                             "[--scale 1.00|0.50|0.25|0.10] [--tiles DIR]  write the map picture",
                             "\n       xemap-cli --help | -h | --version\n"})
        EXPECT_NE(usage.find(line), std::string::npos) << line << " lacks in\n" << usage;
    const auto named = [&](const std::string& fault) { return "xemap-cli: " + fault + "\n" + usage; };
    // The team commands answer as diff does: trouble is 2.
    expectAnswers(folder,
                  {{{"--help"}, 0, usage, ""},
                   {{"-h"}, 0, usage, ""},
                   {{}, 1, "", named("a command is needed")},
                   {{"--frob"}, 1, "", named("Unknown option 'frob'.")},
                   {{"image", "in.xem", "out.png", "--scal", "0.50"}, 1, "", named("image: Unknown option 'scal'.")},
                   {{"convert", "-x", "in.xem", "out.xem"}, 1, "", named("convert: Unknown option 'x'.")},
                   {{"image", "in.xem", "out.png", "--scale"}, 1, "", named("image: Missing value after '--scale'.")},
                   {{"diff", "a.xem", "b.xem", "--frob"}, 2, "", named("diff: Unknown option 'frob'.")},
                   {{"merge", "a.xem", "b.xem", "c.xem", "-o"}, 2, "", named("merge: Missing value after '-o'.")},
                   {{"show", "-q", "a.xem"}, 2, "", named("show: Unknown option 'q'.")}});
    const ToolRun version = cli(folder.path(), {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("xemap-cli 1.")) << version.out;
}

TEST(Cli, TheEditorWithoutADisplayAnswersHelpOrEndsWithOneLine)
{
    TempFolder folder;
    const std::tuple<std::string, int, std::string> cases[] = {
        {"--help", 0, "[map]"}, {"--version", 0, "XEMap 1."}, {"", 1, ""},
        {"map.xem", 1, ""},     {"a.xem b.xem", 1, ""},       {"--frob", 1, ""}};
    for (const auto& [arguments, status, out] : cases) {
        SCOPED_TRACE("xemap " + arguments);
        // DISPLAY names a display that is not there when a map is given.
        const std::string display = arguments == "map.xem" ? "DISPLAY=:987 " : "";
        const ToolRun run = runTool("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + display
                                        + quoted((programFolder() / "xemap").string()) + " " + arguments,
                                    folder.path());
        EXPECT_EQ(run.status, status);
        EXPECT_NE(run.out.find(out), std::string::npos) << run.out;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), status == 0 ? 0 : 1) << run.err;
    }
}

}  // namespace
}  // namespace xemap
