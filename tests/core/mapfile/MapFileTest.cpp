#include "core/mapfile/MapReader.h"
#include "core/mapfile/MapWriter.h"
#include "core/mapfile/SingleLayerUpgrade.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

#include <array>

using namespace xemap;
using namespace xemap::testing;

// Each example map is read cleanly, named by its file, and written back byte for byte; a
// malformed file's fault names the file and the line.
TEST(MapReader, ReadsEveryExampleMapCleanlyAndWritesItBackByteForByte)
{
    for (const auto& entry : std::filesystem::directory_iterator(testData("maps"))) {
        SCOPED_TRACE(entry.path().string());
        const auto result = readMapFile(entry.path());
        EXPECT_EQ(writeMap(result->document), fileBytes(entry.path()));
        EXPECT_EQ(result->document.mapFileName, entry.path().string());
        EXPECT_TRUE(result->hasMapNameLine && !result->singleLayer && result->skipped.empty());
    }
    TempFolder folder;
    writeBytes(folder / "broken.xem", "Broken\r\n0\r\nno cell\r\n");
    EXPECT_EQ(readMapFile(folder / "broken.xem").fault().describe(),
              (folder / "broken.xem").string() + ": line 3: expected a number in the cell line, found 'no'");
}

// Layouts the reader accepts besides the writer's own: each edits the crossroads file.
TEST(MapReader, AcceptsEveryLayoutItIsDefinedToAccept)
{
    const auto crossroads = fileBytes(testData("maps/crossroads.xem"));
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < crossroads.size(); at = crossroads.find('\n', at) + 1)
        lines.push_back(crossroads.substr(at, crossroads.find('\r', at) - at));
    auto edited = [&](auto edit) {
        auto l = lines;
        edit(l);
        return joined(l);
    };
    const auto longLines = edited([](auto& l) { l[0] = l[1028] = std::string(500, 'x'); });
    // What, the text, and how it is written back (empty: as the crossroads file itself).
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"LF line ends", joined(lines, "\n"), ""},
        {"no line end on the last line", crossroads.substr(0, crossroads.size() - 2), ""},
        {"blank lines, stray blanks and missing layer pairs", edited([](auto& l) {
             l[1] = "  0  ", l[2] = "\t 0 0 99 0 0 0 0 0 0 0 0 0", l[3] = "0 0 99 0 0 0 0 0";
             l[1026] = "65   ", l.insert(l.begin() + 1026, {"", "   "}), l.push_back("");
             l.insert(l.begin() + 1, {"", ""});
         }),
         ""},
        {"no map name line", edited([](auto& l) { l.erase(l.begin()); }), edited([](auto& l) { l[0] = ""; })},
        {"lines of any length", longLines, longLines}};
    for (const auto& [what, text, resave] : cases) {
        SCOPED_TRACE(what);
        const auto result = readMap(text);
        EXPECT_EQ(writeMap(result->document), resave.empty() ? crossroads : resave);
    }
}

TEST(MapReader, RejectsMalformedFilesNamingTheLine)
{
    // An empty map with a block after its cells, or with its cell 40 (line 43) replaced.
    auto withBlock = [](std::vector<std::string> block, std::string cell = kEmptyCell) {
        auto l = emptyMapLines();
        l[2 + 40] = std::move(cell);
        l.insert(l.end(), block.begin(), block.end());
        return joined(l);
    };
    auto withCell = [&](std::string cell) { return withBlock({}, std::move(cell)); };
    auto cut = emptyMapLines();
    cut.resize(2 + 1023);
    // What, the text, the line named and a part of the message.
    const std::tuple<const char*, std::string, int, std::string> cases[] = {
        {"empty file", "", 1, "empty"},
        {"text for the tileset index", "Name\r\nfirst\r\n", 2, "tileset index"},
        {"cell line without numbers", withCell("   "), 43, "no numbers"},
        {"non-digit door", withCell(kEmptyCell + " : 1 x 0 0 0 "), 43, "door digit"},
        {"ends before the last cell line", joined(cut), 1026, "1023 of the 1024"},
        {"cell index below -1", withBlock({"-2", "x", "...", ">>>"}), 1027, "outside"},
        {"text after the cell index", withBlock({"65 Old Well", "...", ">>>"}), 1027, "cell index"},
        {"ends in the area text", withBlock({"5", "x", "text"}), 1030, "begins on line 1027"},
        {"ends in a record", withBlock({"5", "x", "...", "Items:", "Rope", "5"}), 1033, "inside"},
        {"non-numeric item flag", withBlock({"5", "x", "...", "Items:", "Rope", "5", "", "yes", "...", ">>>"}), 1034,
         "item's flag"}};
    for (const auto& [what, text, line, message] : cases) {
        SCOPED_TRACE(what);
        const auto result = readMap(text);
        EXPECT_EQ(result.fault().kind, Fault::Kind::Malformed);
        EXPECT_EQ(result.fault().line, line) << result.fault().reason;
        EXPECT_NE(result.fault().reason.find(message), std::string::npos) << result.fault().reason;
    }
}

TEST(MapReader, SkipsUnknownSectionLinesAndEndsADescriptionAtAnyBlockEnd)
{
    auto l = emptyMapLines();
    l.insert(l.end(), {"1", "a", "text", ">>>", "2", "b", "...", "NPCS:", "", ">>>"});
    const auto result = readMap(joined(l));
    ASSERT_EQ(result->skipped.size(), 1u);  // the blank line is not content
    EXPECT_EQ(result->skipped[0].line, 1034);
    ASSERT_EQ(result->document.descriptions.size(), 2);
    EXPECT_EQ(result->document.descriptions.at(0)->areaText, StringList{"text"});
}

// The crossroads example: a well described on cell (2, 3), with an NPC and an item.
MapDocument crossroads() { return readMap(fileBytes(testData("maps/crossroads.xem")))->document; }

// Text that would read as structure is written so that the same descriptions and records
// read back, the text changed only by a marking blank or a blank for each line break.
TEST(MapWriter, KeepsTextFromReadingAsStructure)
{
    // The crossroads well described twice, its fields holding what is written or what reads back.
    const auto document = [](bool written) {
        const auto pick = [written](const char* text, const char* back) { return written ? text : back; };
        MapDocument d = crossroads(), second = crossroads();
        d.descriptions.append(second.descriptions.at(0));
        XETile& well = *d.descriptions.at(0);
        well.shortName = pick("Old\nWell", "Old Well");
        well.areaText = {pick("...", "... "), "after", pick(">>>", ">>> "), pick("x\n...", "x ...")};
        well.npcs[0]->name = pick("Items:", "Items: ");  // a later section's header
        well.npcs[0]->race = "Half\rElf";                // a lone carriage return reads back as it stands
        well.npcs[0]->text = {pick("...", "... ")};
        well.items[0]->name = pick(">>>", ">>> ");
        well.items[0]->text = {">>>"};                   // only "..." ends a record's text
        d.descriptions.at(1)->items[0]->name = "NPCs:";  // an earlier section's header
        return d;
    };
    const MapDocument expected = document(false);
    for (const auto& [name, readBack] : {std::pair{"Two\r\nlines", "Two lines"}, {"7", "7 "}}) {
        SCOPED_TRACE(readBack);
        MapDocument written = document(true);
        written.mapName = name;
        const auto result = readMap(writeMap(written));
        EXPECT_EQ(result->document.mapName, readBack);
        EXPECT_TRUE(result->skipped.empty());
        const auto& read = result->document.descriptions;
        ASSERT_EQ(read.size(), expected.descriptions.size());
        for (int i = 0; i < read.size(); ++i)
            EXPECT_TRUE(sameContents(*read.at(i), *expected.descriptions.at(i))) << "description " << i + 1;
    }
}

using Layers = std::array<int, 6>;  // tile and rotation of cell layers 0, 1 and 2

Layers converted(int tilesetIndex, int oldTile, int oldRotation, int layerCount = 6)
{
    MapGrid grid;
    convertSingleLayerCell(grid, tilesetIndex, 3, 4, oldTile, oldRotation, layerCount);
    return {grid.tile(3, 4, 0),     grid.rotation(3, 4, 0), grid.tile(3, 4, 1),
            grid.rotation(3, 4, 1), grid.tile(3, 4, 2),     grid.rotation(3, 4, 2)};
}

// Samples of each table, with the old rotation 1: "+k" gives (1 + k) mod 4.
TEST(SingleLayerUpgrade, ConvertsTilesAsEachTableSaysAndLeavesUnlistedOnesEmpty)
{
    // Tileset index, old tile, and the layers it gives.
    const std::tuple<int, int, Layers> cases[] = {{0, 7, {10, 1, 99, 1, 7, 1}}, {4, 18, {0, 1, 99, 1, 50, 2}},
                                                  {0, 29, {0, 1, 41, 3, 0, 1}}, {0, 92, {10, 1, 99, 1, 0, 1}},
                                                  {1, 5, {50, 1, 99, 0, 0, 1}}, {3, 58, {0, 1, 61, 3, 0, 1}},
                                                  {2, 1, {0, 1, 31, 0, 0, 1}},  {2, 31, {0, 1, 99, 1, 41, 3}}};
    for (const auto& [tileset, oldTile, expected] : cases)
        EXPECT_EQ(converted(tileset, oldTile, 1), expected) << "tileset " << tileset << " tile " << oldTile;

    // Tileset 1, old tile 14 at rotation 2 with four layers: only layers 0 to 3 turn.
    MapGrid grid;
    convertSingleLayerCell(grid, 1, 0, 0, 14, 2, 4);
    EXPECT_EQ(converted(1, 14, 2, 4), (Layers{0, 2, 52, 1, 55, 3}));
    EXPECT_EQ((std::array{grid.rotation(0, 0, 3), grid.rotation(0, 0, 4), grid.rotation(0, 0, 5)}),
              (std::array{2, 0, 0}));
    // Unlisted tiles leave the cell empty with its rotation.
    const std::pair<int, int> unlisted[] = {{0, 8}, {0, 100}, {0, -5}, {1, 59}, {2, 5}, {5, 1}, {-1, 1}};
    for (auto [tileset, oldTile] : unlisted)
        EXPECT_EQ(converted(tileset, oldTile, 3, 3), (Layers{0, 3, 99, 3, 0, 3}))
            << "tileset " << tileset << " tile " << oldTile;
    // An old rotation kept as read, however large, never overflows the turn.
    EXPECT_EQ(converted(0, 18, 2147483647)[5], 0);
}

TEST(SingleLayerUpgrade, UpgradesASingleLayerFileOnlyWhenConfirmed)
{
    const auto bytes = fileBytes(testData("legacy/single_layer.xem"));
    int asked = 0;
    ReadOptions options{.layerCount = 3, .confirmUpgrade = [&] { return ++asked, true; }};
    const auto result = readMap(bytes, options);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(result->singleLayer && !result->hasMapNameLine);
    const auto& grid = result->document.grid;  // converted by the table of the file's tileset index 1
    EXPECT_EQ((std::array{grid.tile(0, 0, 1), grid.door(0, 1, Center), grid.tile(31, 31, 0)}),
              (std::array{52, -2, 10}));
    EXPECT_EQ(result->document.descriptions.at(0)->shortName, "Old Ford");

    options.confirmUpgrade = [] { return false; };
    EXPECT_EQ(readMap(bytes, options).fault().kind, Fault::Kind::Declined);
    options.confirmUpgrade = [&] { return ++asked, false; };
    EXPECT_TRUE(readMap(fileBytes(testData("maps/crossroads.xem")), options).ok());
    EXPECT_EQ(asked, 1) << "a layered file is never asked about";
}
