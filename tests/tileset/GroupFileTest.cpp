#include "tileset/GroupFile.h"
#include "tileset/TipFile.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace xemap;

namespace {

LayerGroups groupsOf(const std::string& text, LayerGroups groups = {})
{
    std::istringstream in(text);
    readGroups(in, groups);
    return groups;
}

TileTips tipsOf(const std::string& text)
{
    std::istringstream in(text);
    return readTips(in);
}

}  // namespace

TEST(TipFileTest, CompanionNameCutsAfterTheFirstLowerCaseBmp)
{
    const struct {
        const char* layerFile;
        const char* tip;
    } cases[] = {
        {"tilesets\\indoor_layer.bmp", "tilesets\\indoor_layer.tip"},
        {"a.bmp.bmp", "a.tip"},
        {"odd.bmpfile", "odd.tip"},
        {"tilesets\\CITY.BMP", "tip"},
        {"no_extension", "tip"},
        {"", "tip"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tipFileName(c.layerFile), c.tip) << c.layerFile;
    EXPECT_EQ(groupFileName("tilesets\\city_layer.bmp"), "tilesets\\city_layer.grp");
}

TEST(TipFileTest, OneEntryPerLineOfAnyLengthWithoutItsBreak)
{
    const std::string longLine(300, 'x');
    const TileTips tips = tipsOf("Grass\r\nWater\n\n" + longLine + "\r\nLast without break");
    ASSERT_EQ(tips.size(), 5u);
    EXPECT_EQ(tips[0], "Grass");
    EXPECT_EQ(tips[1], "Water");
    EXPECT_EQ(tips[2], "");
    EXPECT_EQ(tips[3], longLine);
    EXPECT_EQ(tips[4], "Last without break");
    EXPECT_TRUE(tipsOf("").empty());
    EXPECT_TRUE(readTipFile("/nonexistent/folder/none.tip").empty());
}

TEST(GroupFileTest, ReadsBoxAndConnectorLinesIntoSlotsInFileOrder)
{
    const LayerGroups groups = groupsOf(
        "B: 5 0 6 1 7 2 8 3 : Stone Wall : icons\\wall.bmp\r\n"
        "# a comment\n"
        "S: 10 0 11 1 12 2 -1 3 : 205 20 1 -1 -1 0 -1 -1 0 -1 -1 0 : 301 21 2 -1 -1 0 -1 -1 0 -1 -1 0 : "
        "Road : C:\\art\\road.bmp\n"
        "Box of hedges: 1 0 2 0 3 0 4 0 : Hedge : hedge.bmp");
    ASSERT_EQ(groups.slotCount, 3);
    EXPECT_EQ(groups.boxCount, 2);
    EXPECT_EQ(groups.connectorCount, 1);

    EXPECT_EQ(groups.slots[0].kind, 1);
    EXPECT_EQ(groups.slots[0].name, "Stone Wall");
    EXPECT_EQ(groups.slots[0].iconFile, "icons\\wall.bmp");
    EXPECT_EQ(groups.boxes[0].pieces, (GroupPieces{{{5, 0}, {6, 1}, {7, 2}, {8, 3}}}));

    EXPECT_EQ(groups.slots[1].kind, -1);
    EXPECT_EQ(groups.slots[1].name, "Road");
    EXPECT_EQ(groups.slots[1].iconFile, "C:\\art\\road.bmp") << "the last field keeps its colons";
    const ConnectorGroup& road = groups.connectors[0];
    EXPECT_EQ(road.pieces[3].tile, kNoCrossPiece);
    EXPECT_EQ(road.first[0], (Conversion{205, 20, 1}));
    EXPECT_EQ(road.first[3], (Conversion{-1, -1, 0}));
    EXPECT_EQ(road.second[0], (Conversion{301, 21, 2}));

    EXPECT_EQ(groups.slots[2].kind, 2) << "text between the kind letter and the colon is allowed";
    EXPECT_EQ(groups.boxes[1].pieces[3], (GroupPiece{4, 0}));

    const auto names = groups.groupNames();
    EXPECT_EQ(names[0], "Stone Wall");
    EXPECT_EQ(names[2], "Hedge");
    EXPECT_EQ(names[3], "junk");
    EXPECT_EQ(names[15], "junk");
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
    EXPECT_EQ(groups.boxCount, 8);
    EXPECT_EQ(groups.connectorCount, 8);
    EXPECT_EQ(groups.slots[0].name, "Box0");
    EXPECT_EQ(groups.slots[8].kind, -1);
    EXPECT_EQ(groups.slots[15].name, "Wall7");
}

TEST(GroupFileTest, MissingOrMalformedNumbersKeepTheEntriesTheyHad)
{
    LayerGroups before = groupsOf("B: 1 1 2 2 3 3 4 0 : First : a.bmp\nS: 9 1 9 2 9 3 9 0 : : : C : c.bmp\n");
    const LayerGroups after = groupsOf(
        "B: 50 0 51 x 60 : Partial : a.bmp\n"
        "B: 70 0 71 0 72 0 73 0\n"
        "S: 80 : 1 2 99999999999 : : Half : c.bmp\n",
        before);
    EXPECT_EQ(after.boxes[0].pieces, (GroupPieces{{{50, 0}, {51, 2}, {3, 3}, {4, 0}}}));
    EXPECT_EQ(after.slots[0].name, "Partial");

    EXPECT_EQ(after.boxes[1].pieces, (GroupPieces{})) << "no colon after the numbers: an empty numbers field";
    EXPECT_EQ(after.slots[1].name, "");
    EXPECT_EQ(after.slots[1].iconFile, "70 0 71 0 72 0 73 0");

    EXPECT_EQ(after.connectors[0].pieces[0], (GroupPiece{80, 1}));
    EXPECT_EQ(after.connectors[0].pieces[1], (GroupPiece{9, 2}));
    EXPECT_EQ(after.connectors[0].first[0], (Conversion{1, 2, 0})) << "an overflowing number ends the field";
    EXPECT_EQ(after.slots[2].name, "Half");
}

TEST(GroupFileTest, ModesFindTheirSlotsGroupAndTilesFindTheirGroup)
{
    const LayerGroups groups = groupsOf(
        "B: 0 0 11 0 12 0 13 0 : Box : b.bmp\n"
        "S: 21 0 22 0 23 0 -1 0 : -1 -1 0 -1 -1 0 -1 -1 0 -1 -1 0 : -1 -1 0 -1 -1 0 -1 -1 0 -1 -1 0 : "
        "Fence : f.bmp\n"
        "S: 31 0 12 0 33 0 34 0 : : : Wall : w.bmp\n");
    EXPECT_EQ(groups.boxGroupForMode(2), &groups.boxes[0]);
    EXPECT_EQ(groups.connectorGroupForMode(2), nullptr);
    EXPECT_EQ(groups.connectorGroupForMode(3), &groups.connectors[0]);
    EXPECT_EQ(groups.connectorGroupForMode(4), &groups.connectors[1]);
    for (int mode : {-1, 0, 1, 5, 17, 18})
        EXPECT_EQ(groups.boxGroupForMode(mode) == nullptr && groups.connectorGroupForMode(mode) == nullptr, true)
            << mode;

    const struct {
        int tile;
        std::optional<GroupChoice> choice;
    } picks[] = {
        {11, GroupChoice{2, false}},
        {12, GroupChoice{2, false}},
        {23, GroupChoice{3, true}},
        {33, GroupChoice{4, true}},
        {55, std::nullopt},
    };
    for (const auto& pick : picks)
        EXPECT_EQ(groups.groupOfTile(pick.tile), pick.choice) << pick.tile;
}

TEST(GroupFileTest, MissingFileLeavesNoGroups)
{
    LayerGroups groups = groupsOf("B: 1 0 2 0 3 0 4 0 : Box : b.bmp\n");
    EXPECT_FALSE(readGroupFile("/nonexistent/folder/none.grp", groups));
    EXPECT_EQ(groups.slotCount, 0);
    EXPECT_EQ(groups.groupNames()[0], "junk");
    EXPECT_EQ(groups.boxGroupForMode(2), nullptr);
}
