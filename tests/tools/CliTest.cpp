#include "core/compare/MapDiff.h"
#include "core/mapfile/MapReader.h"
#include "core/mapfile/MapWriter.h"
#include "core/output/Listing.h"
#include "render/ExportPicture.h"
#include "render/TilesetLoader.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

#include <map>

namespace xemap {
namespace {

using namespace testing;

// convert, listing and image: 0 done, 1 failed. diff, show and merge: 0 same or clean,
// 1 differ or conflicts, 2 any trouble, which includes a map that does not read cleanly.
// A failed command leaves its output as it was.
TEST(Cli, CommandsAnswerWithTheirExitStatusAndWriteOnlyWhatTheEditorWrites)
{
    TempFolder folder;
    auto base = emptyMapLines("Keep");
    auto ours = base, clash = base, skips = base, bad = base;
    ours[2] = "5 0 99 0 0 0 0 0 0 0 0 0 ";  // cell (1, 1)
    clash[2] = "6 0 99 0 0 0 0 0 0 0 0 0 ";
    skips.insert(skips.end(), {"5", "x", "...", "NPCS:", ">>>"});
    bad[500] = "1 2 3 : 1 x 0 0 0";
    const std::map<std::string, std::vector<std::string>> maps{
        {"base", base}, {"ours", ours}, {"clash", clash}, {"skips", skips}, {"bad", bad}};
    for (const auto& [name, lines] : maps)
        writeBytes(folder / (name + ".xem"), joined(lines));
    writeBytes(folder / "kept.xem", "kept");
    const std::string legacy = testData("legacy/single_layer.xem"), rich = testData("maps/rich.xem");
    const std::string conflict = "conflict: cell (1, 1) base: base tile 0 / ours tile 5 / theirs tile 6\n";

    expectAnswers(folder,
                  {{{"convert", legacy, "a.xem"}, 0, "", ""},
                   {{"listing", rich, "list.txt"}, 0, "", ""},
                   {{"convert", "bad.xem", "kept.xem"}, 1, "", "bad.xem: line 501: expected a door digit, found 'x'\n"},
                   // A file that cannot be written is named with the system's reason.
                   {{"listing", rich, "kept.xem/new.txt"}, 1, "", "kept.xem/new.txt: Not a directory\n"},
                   {{"image", "base.xem", "new.png", "--scale", "0.3"}, 1, "", "usage: xemap-cli image"},
                   {{"image", "base.xem", "new.gif"}, 1, "", "new.gif: the picture must be a .bmp or .png file\n"},
                   {{"image", "base.xem", "no/a.png"}, 1, "", "Cannot write \"no/a.png\": No such file or directory\n"},
                   {{"diff", "base.xem", "base.xem"}, 0, "", ""},
                   {{"diff", "base.xem", "ours.xem"}, 1, "cell (1, 1) base: tile 0 → tile 5\n", ""},
                   {{"diff", "base.xem", "skips.xem"}, 2, "", "skips.xem: line 1030: skipped line 'NPCS:'\n"},
                   {{"diff", "base.xem", "ours.xem", "--scale", "0.50"}, 2, "", "usage: xemap-cli diff"},
                   {{"show", "skips.xem"}, 2, "", "skipped line"},
                   {{"merge", "base.xem", "ours.xem", "clash.xem", "-o", "merged.xem"}, 1, "", conflict},
                   {{"merge", "base.xem", "skips.xem", "ours.xem", "-o", "kept.xem"}, 2, "", "line 1030"},
                   {{"merge", "base.xem", "ours.xem", "-o", "kept.xem"}, 2, "", "usage: xemap-cli merge"}});

    // Upgraded to the 3 layers of the default registry's first tileset, as a read does unless told.
    EXPECT_EQ(fileBytes(folder / "a.xem"), writeMap(readMap(fileBytes(legacy))->document));
    EXPECT_EQ(fileBytes(folder / "list.txt"), listingText(readMap(fileBytes(rich))->document.descriptions));
    EXPECT_EQ(fileBytes(folder / "merged.xem"), joined(ours));
    EXPECT_EQ(fileBytes(folder / "kept.xem"), "kept");
    for (const char* unwritten : {"new.png", "new.gif"})
        EXPECT_FALSE(std::filesystem::exists(folder / unwritten)) << unwritten;
}

// The tool names a bad command line on the first line of its errors, then the usage
// follows; the editor, which needs a display, ends with one line without one.
TEST(Cli, HelpAndVersionAnswerAndBadCommandLinesAreNamedWithTheUsageOrInTheEditorsOneLine)
{
    TempFolder folder;
    const std::string usage = runIn(folder.path(), {(programFolder() / "xemap-cli").string(), "--help"}).out;
    const auto named = [&](const std::string& fault) { return "xemap-cli: " + fault + "\n" + usage; };
    // The summaries start in one column, or two blanks after a long call. The team commands
    // answer as diff does: trouble is 2.
    expectAnswers(folder,
                  {{{"-h"}, 0, "usage: xemap-cli convert IN.xem OUT.xem        read as the editor opens", ""},
                   {{"-h"}, 0, "[--scale 1.00|0.50|0.25|0.10] [--tiles DIR]  write the map picture", ""},
                   {{"-h"}, 0, "\n       xemap-cli --help | -h | --version", ""},
                   {{"--version"}, 0, "xemap-cli 1.", ""},
                   {{}, 1, "", named("a command is needed")},
                   {{"--frob"}, 1, "", named("Unknown option 'frob'.")},
                   {{"image", "in.xem", "out.png", "--scal", "0.50"}, 1, "", named("image: Unknown option 'scal'.")},
                   {{"diff", "a.xem", "b.xem", "--frob"}, 2, "", named("diff: Unknown option 'frob'.")},
                   {{"merge", "a.xem", "b.xem", "c.xem", "-o"}, 2, "", named("merge: Missing value after '-o'.")}});
    expectAnswers(folder,
                  {{{"map.xem"}, 1, "", "xemap: cannot open the display :987: the editor needs a graphical session\n"},
                   {{"a.xem", "b.xem"}, 1, "", "xemap: one map file at most, 2 given\n"}},
                  "env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:987 " + quoted(programFolder() / "xemap"));
}

// The picture at the scale chosen (0.50 unless told), as the export draws it. A diff
// picture is B's, its changed cells outlined as the export outlines them.
TEST(ImageCommandTest, WritesTheExportPictureAtTheChosenScaleAndOutlinesChangedCellsInTheDiff)
{
    TempFolder folder;
    // A City map: grass, a wall piece with a door, a described cell.
    MapDocument town;
    town.grid.fill(10);
    town.grid.tile(11, 9, 2) = 15;
    town.grid.door(11, 9, Center) = 1;
    town.descriptions.append(std::make_shared<XETile>(XETile{cellIndexOf(3, 3), "", {}, {}, {}, {}, {}, {}}));
    MapDocument changed = town;
    changed.grid.tile(7, 7, 1) = 12;
    changed.grid.door(7, 7, West) = 2;
    changed.descriptions.append(std::make_shared<XETile>(XETile{cellIndexOf(3, 4), "Well", {}, {}, {}, {}, {}, {}}));
    ASSERT_TRUE(saveMapFile(town, folder / "town.xem") && saveMapFile(changed, folder / "changed.xem"));
    expectAnswers(folder,
                  {{{"image", "town.xem", "c.PNG"}, 0, "", ""},
                   {{"image", "town.xem", "d.bmp", "--scale", "0.10"}, 0, "", ""},
                   {{"diff", "town.xem", "changed.xem", "--image", "d.png", "--scale", "1.00"}, 1, "cell", ""}});
    TilesetProblems problems;
    const auto city = TilesetLoader(programFolder()).loadSheets(defaultRegistry().front(), problems);
    ASSERT_TRUE(city && problems.empty());
    const auto picture = [&](const MapDocument& document, float scale) {
        return exportPicture(document, {}, *city, kOtherTilesetDoorGeometry, exportScale(scale));
    };
    const auto written = [&](const char* name) {
        return QImage(QString::fromStdString((folder / name).string())).convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_EQ(written("c.PNG"), picture(town, 0.5f));
    EXPECT_EQ(written("d.bmp"), picture(town, 0.1f));
    QImage outlined = picture(changed, 1.0f);
    outlineChangedCells(outlined, exportScale(1.0f), mapDiff(town, changed));
    EXPECT_EQ(written("d.png"), outlined);
    // Cells are 40 pixels; a door's blue ring lies inside the tiles' red one.
    EXPECT_EQ(outlined.pixel(282, 282), qRgb(0, 90, 255));
}

}  // namespace
}  // namespace xemap
