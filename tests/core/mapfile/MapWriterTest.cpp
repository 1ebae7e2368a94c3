#include "core/mapfile/MapWriter.h"
#include "core/mapfile/MapReader.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

using namespace xemap;

using namespace xemap::testing;

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
    // A number, not a one-letter literal: GCC 12 warns falsely on that assignment at -O3.
    rope->name = "Rope", rope->value = std::to_string(5), rope->moveable = true;
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

// Text that would read as structure is written so that the same descriptions and records
// read back, the text changed only by a marking blank or a blank for each line break.
TEST(MapWriter, KeepsTextFromReadingAsStructure)
{
    // The crossroads well described twice, its fields holding what is written or what reads back.
    const auto document = [](bool written) {
        const auto pick = [written](const char* text, const char* back) { return written ? text : back; };
        MapDocument d = crossroads();
        d.descriptions.append(crossroads().descriptions.at(0));
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
        ASSERT_TRUE(result.ok()) << result.fault().reason;
        EXPECT_EQ(result->document.mapName, readBack);
        EXPECT_TRUE(result->skipped.empty());
        const auto& read = result->document.descriptions;
        ASSERT_EQ(read.size(), expected.descriptions.size());
        for (int i = 0; i < read.size(); ++i)
            EXPECT_TRUE(sameContents(*read.at(i), *expected.descriptions.at(i))) << "description " << i + 1;
    }
}
