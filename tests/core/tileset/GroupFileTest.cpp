#include "core/tileset/GroupFile.h"
#include "core/tileset/TipFile.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

using namespace xemap;
using namespace xemap::testing;

namespace {

LayerGroups groupsOf(const std::string& text, LayerGroups groups = {})
{
    readGroups(text, groups);
    return groups;
}

}  // namespace

TEST(TipFileTest, NamesTheCompanionFilesAndReadsOneTipPerLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"tilesets\\indoor_layer.bmp", "tilesets\\indoor_layer.tip"},
        {"a.bmp.bmp", "a.tip"},
        {"tilesets\\CITY.BMP", "tip"},
    };
    for (const auto& [layerFile, tip] : cases)
        EXPECT_EQ(tipFileName(layerFile), tip) << layerFile;
    EXPECT_EQ(groupFileName("tilesets\\city_layer.bmp"), "tilesets\\city_layer.grp");

    // One entry per line of any length, without its break.
    const std::string longLine(300, 'x');
    EXPECT_EQ(readTips("Grass\r\nWater\n\n" + longLine + "\r\nLast without break"),
              (TileTips{"Grass", "Water", "", longLine, "Last without break"}));
    EXPECT_EQ(readTipFile("/nonexistent/folder/none.tip").fault().kind, Fault::Kind::NotFound);

    // Only a sheet's hundred tiles are described; devices and files over the limit are no tip files.
    std::string manyLines;
    for (int line = 0; line < 150; ++line)
        manyLines += std::to_string(line) + "\n";
    const TileTips tips = readTips(manyLines);
    ASSERT_EQ(tips.size(), kSheetTiles);
    EXPECT_EQ(tips.back(), "99");
    TempFolder folder;
    writeBytes(folder / "a.tip", manyLines);
    writeBytes(folder / "a.grp", "B: 1 0 2 0 3 0 4 0 : Wall : wall.bmp\n");
    EXPECT_EQ(readTipFile(folder / "a.tip", manyLines.size() - 1).fault().kind, Fault::Kind::TooLarge);
    EXPECT_EQ(*readTipFile(folder / "a.tip", manyLines.size()), tips);
    EXPECT_EQ(readTipFile("/dev/zero").fault().kind, Fault::Kind::NotRegularFile);
    LayerGroups groups;
    EXPECT_EQ(readGroupFile(folder / "a.grp", groups, 10).fault().kind, Fault::Kind::TooLarge);
    EXPECT_EQ(readGroupFile("/dev/zero", groups).fault().kind, Fault::Kind::NotRegularFile);
    EXPECT_EQ(groups.slotCount, 0);
    EXPECT_TRUE(readGroupFile(folder / "a.grp", groups));
}

TEST(GroupFileTest, ReadsBoxAndConnectorLinesIntoSlotsInFileOrder)
{
    const LayerGroups groups =
        groupsOf("B: 5 0 6 1 7 2 8 3 : Stone Wall : icons\\wall.bmp\r\n"
                 "# a comment\n"
                 "S: 10 0 11 1 12 2 -1 3 : 205 20 1 -1 -1 0 -1 -1 0 -1 -1 0 : 301 21 2 -1 -1 0 -1 -1 0 -1 -1 0 : "
                 "Road : C:\\art\\road.bmp\n"
                 "Box of hedges: 1 0 2 0 3 0 4 0 : Hedge : hedge.bmp");
    ASSERT_EQ(groups.slotCount, 3);
    EXPECT_EQ(groups.boxes[0].pieces, (GroupPieces{{{5, 0}, {6, 1}, {7, 2}, {8, 3}}}));
    EXPECT_EQ(groups.boxes[1].pieces[3], (GroupPiece{4, 0})) << "text between the kind letter and the colon is allowed";
    EXPECT_EQ(groups.slots[1].iconFile, "C:\\art\\road.bmp") << "the last field keeps its colons";
    const ConnectorGroup& road = groups.connectors[0];
    EXPECT_EQ(road.first, (ConversionTable{{{205, 20, 1}, {-1, -1, 0}, {-1, -1, 0}, {-1, -1, 0}}}));
    EXPECT_EQ(road.second[0], (Conversion{301, 21, 2}));

    const auto names = groups.groupNames();
    EXPECT_EQ(std::vector(names.begin(), names.begin() + 4),
              (std::vector<std::string>{"Stone Wall", "Road", "Hedge", "junk"}));
}

TEST(GroupFileTest, IgnoresLinesThatAreNotGroupsAndGroupsAfterTheSixteenth)
{
    std::string text = " B: 1 0 2 0 3 0 4 0 : Indented : x.bmp\n\nb: 1 0 2 0 3 0 4 0 : lower : x.bmp\n";
    for (int i = 0; i < 8; ++i)
        text += "B: 1 0 2 0 3 0 4 0 : Box" + std::to_string(i) + " : b.bmp\n";
    for (int i = 0; i < 9; ++i)
        text += "S: 1 0 2 0 3 0 4 0 : : : Wall" + std::to_string(i) + " : s.bmp\n";
    const LayerGroups groups = groupsOf(text);
    EXPECT_EQ(groups.slotCount, 16);
    EXPECT_EQ(groups.slots[0].name, "Box0");
    EXPECT_EQ(groups.slots[15].name, "Wall7");
}

TEST(GroupFileTest, MissingOrMalformedNumbersKeepTheEntriesTheyHad)
{
    LayerGroups before = groupsOf("B: 1 1 2 2 3 3 4 0 : First : a.bmp\nS: 9 1 9 2 9 3 9 0 : : : C : c.bmp\n");
    const LayerGroups after = groupsOf("B: 50 0 51 x 60 : Partial : a.bmp\n"
                                       "B: 70 0 71 0 72 0 73 0\n"
                                       "S: 80 : 1 2 99999999999 : : Half : c.bmp\n",
                                       before);
    EXPECT_EQ(after.boxes[0].pieces, (GroupPieces{{{50, 0}, {51, 2}, {3, 3}, {4, 0}}}));
    EXPECT_EQ(after.boxes[1].pieces, (GroupPieces{})) << "no colon after the numbers: an empty numbers field";
    EXPECT_EQ(after.slots[1].iconFile, "70 0 71 0 72 0 73 0");

    EXPECT_EQ(after.connectors[0].pieces[0], (GroupPiece{80, 1}));
    EXPECT_EQ(after.connectors[0].pieces[1], (GroupPiece{9, 2})) << "kept from the earlier read";
    EXPECT_EQ(after.connectors[0].first[0], (Conversion{1, 2, 0})) << "an overflowing number ends the field";

    // A missing file leaves the layer with no groups at all.
    EXPECT_FALSE(readGroupFile("/nonexistent/folder/none.grp", before).ok());
    EXPECT_EQ(before.slotCount, 0);
}

TEST(GroupFileTest, ModesFindTheirSlotsGroupAndTilesFindTheirGroup)
{
    const LayerGroups groups =
        groupsOf("B: 0 0 11 0 12 0 13 0 : Box : b.bmp\n"
                 "S: 21 0 22 0 23 0 -1 0 : -1 -1 0 -1 -1 0 -1 -1 0 -1 -1 0 : -1 -1 0 -1 -1 0 -1 -1 0 -1 -1 0 : "
                 "Fence : f.bmp\n"
                 "S: 31 0 12 0 33 0 34 0 : : : Wall : w.bmp\n");
    EXPECT_EQ(groups.boxGroupForMode(2), &groups.boxes[0]);
    EXPECT_EQ(groups.connectorGroupForMode(3), &groups.connectors[0]);
    EXPECT_EQ(groups.connectorGroupForMode(4), &groups.connectors[1]);
    for (int mode : {-1, 0, 1, 5, 17, 18})
        EXPECT_TRUE(groups.boxGroupForMode(mode) == nullptr && groups.connectorGroupForMode(mode) == nullptr) << mode;

    const std::pair<int, std::optional<GroupChoice>> picks[] = {
        {12, GroupChoice{2, false}}, {23, GroupChoice{3, true}}, {33, GroupChoice{4, true}}, {55, {}}};
    for (const auto& [tile, choice] : picks)
        EXPECT_EQ(groups.groupOfTile(tile), choice) << tile;
}
