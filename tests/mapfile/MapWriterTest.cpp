#include "mapfile/MapReader.h"
#include "mapfile/MapWriter.h"
#include "mapfile/MapTestSupport.h"

#include <gtest/gtest.h>

namespace xemap {
namespace {

using namespace testing;

MapDocument crossroads()
{
    MapDocument document;
    document.mapName = "Crossroads";
    auto& grid = document.grid;
    grid.tile(1, 2, 0) = 12, grid.rotation(1, 2, 0) = 1;
    grid.tile(1, 2, 2) = 7, grid.rotation(1, 2, 2) = 2;
    grid.door(1, 2, North) = 1, grid.door(1, 2, South) = 2, grid.door(1, 2, Center) = -3;
    auto well = std::make_shared<XETile>();
    well->cellIndex = cellIndexOf(1, 2);
    well->shortName = "Old Well";
    well->areaText = {"A dry well stands in the square."};
    auto mara = std::make_shared<XENPC>();
    mara->name = "Mara", mara->align = "Neutral Good", mara->race = "Human", mara->npcClass = "Cleric";
    mara->script = "mara_talk", mara->text = {"Keeps the well clean."};
    well->npcs.push_back(mara);
    auto rope = std::make_shared<XEItem>();
    rope->name = "Rope", rope->value = "5", rope->moveable = true;
    well->items.push_back(rope);
    document.descriptions.append(well);
    return document;
}

TEST(MapWriter, WritesTheCrossroadsExampleByteForByte)
{
    EXPECT_EQ(writeMap(crossroads()), fileBytes(testData("maps/crossroads.xem")));
}

TEST(MapWriter, WritesCellLinesAndDescriptionsInTheirLayout)
{
    MapDocument document;
    document.tilesetIndex = 3;
    document.grid.door(0, 1, Center) = -4;  // a vertical centre door alone still gets a door part
    auto bare = std::make_shared<XETile>();
    bare->cellIndex = -1;
    document.descriptions.append(bare);
    const std::string text = writeMap(document);
    const std::string expected = "\r\n3\r\n" + kEmptyCell + "\r\n" + kEmptyCell + " : 0 0 0 0 -4 \r\n";
    EXPECT_EQ(text.substr(0, expected.size()), expected);
    const std::string block = " \r\n-1\r\n\r\n...\r\n>>>\r\n";  // after the last cell line
    EXPECT_EQ(text.substr(text.size() - block.size()), block);
}

// Text that would read as structure: each case edits a rich description, and the
// file must read back with the same descriptions and records, the text changed
// only as the expected field shows.
TEST(MapWriter, KeepsTextFromReadingAsStructure)
{
    struct Case {
        const char* what;
        void (*edit)(MapDocument&);
        void (*check)(const MapDocument&);
    };
    const Case cases[] = {
        {"area line ...", [](MapDocument& d) { d.descriptions.at(0)->areaText = {"...", "after"}; },
         [](const MapDocument& d) { EXPECT_EQ(d.descriptions.at(0)->areaText, (StringList{"... ", "after"})); }},
        {"area line >>>", [](MapDocument& d) { d.descriptions.at(0)->areaText = {">>>"}; },
         [](const MapDocument& d) { EXPECT_EQ(d.descriptions.at(0)->areaText, StringList{">>> "}); }},
        {"record text ...", [](MapDocument& d) { d.descriptions.at(0)->npcs[0]->text = {"..."}; },
         [](const MapDocument& d) { EXPECT_EQ(d.descriptions.at(0)->npcs[0]->text, StringList{"... "}); }},
        {"record text >>> is safe", [](MapDocument& d) { d.descriptions.at(0)->items[0]->text = {">>>"}; },
         [](const MapDocument& d) { EXPECT_EQ(d.descriptions.at(0)->items[0]->text, StringList{">>>"}); }},
        {"npc named after a later section", [](MapDocument& d) { d.descriptions.at(0)->npcs[0]->name = "Items:"; },
         [](const MapDocument& d) { EXPECT_EQ(d.descriptions.at(0)->npcs[0]->name, "Items: "); }},
        {"record named >>>", [](MapDocument& d) { d.descriptions.at(0)->items[0]->name = ">>>"; },
         [](const MapDocument& d) { EXPECT_EQ(d.descriptions.at(0)->items[0]->name, ">>> "); }},
        {"item named after an earlier section", [](MapDocument& d) { d.descriptions.at(0)->items[0]->name = "NPCs:"; },
         [](const MapDocument& d) { EXPECT_EQ(d.descriptions.at(0)->items[0]->name, "NPCs:"); }},
        {"single-digit map name", [](MapDocument& d) { d.mapName.assign(1, '7'); },
         [](const MapDocument& d) { EXPECT_EQ(d.mapName, "7 "); EXPECT_EQ(d.tilesetIndex, 0); }},
        {"line breaks in one-line fields",
         [](MapDocument& d) {
             d.mapName = "Two\r\nlines";
             d.descriptions.at(0)->shortName = "Old\nWell";
             d.descriptions.at(0)->npcs[0]->race = "Half\rElf";  // reads back as it stands
         },
         [](const MapDocument& d) {
             EXPECT_EQ(d.mapName, "Two lines");
             EXPECT_EQ(d.descriptions.at(0)->shortName, "Old Well");
             EXPECT_EQ(d.descriptions.at(0)->npcs[0]->race, "Half\rElf");
         }},
        {"line break making a terminator", [](MapDocument& d) { d.descriptions.at(0)->areaText = {"x\n..."}; },
         [](const MapDocument& d) { EXPECT_EQ(d.descriptions.at(0)->areaText, StringList{"x ..."}); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MapDocument document = crossroads();
        document.descriptions.append(crossroads().descriptions.at(0));
        c.edit(document);
        const auto result = readMap(writeMap(document));
        ASSERT_TRUE(result.ok()) << result.error.message;
        const auto& read = result.map->document;
        ASSERT_EQ(read.descriptions.size(), 2);
        for (const auto& tile : read.descriptions.tiles()) {
            EXPECT_EQ(tile->npcs.size(), 1u);
            EXPECT_EQ(tile->items.size(), 1u);
        }
        EXPECT_EQ(read.descriptions.at(1)->shortName, "Old Well");
        EXPECT_TRUE(result.map->skipped.empty());
        c.check(read);
    }
}

}  // namespace
}  // namespace xemap
