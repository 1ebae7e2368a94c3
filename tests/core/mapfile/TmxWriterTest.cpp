#include "core/mapfile/TmxWriter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace xemap {
namespace {

const std::vector<TmxTileSheet> kDungeonSheets{{0, "tilesets/indoor_bases.bmp"}, {1, "tilesets/indoor_layer.bmp"}};

// The tile number at (x, y) of the CSV data of the nth tile layer.
std::string gidAt(const std::string& tmx, int layer, int x, int y)
{
    std::size_t at = 0;
    for (int i = 0; i <= layer; ++i)
        at = tmx.find("<data encoding=\"csv\">\n", at) + 22;
    std::istringstream csv(tmx.substr(at));
    std::string value;
    for (int i = 0; i <= y * kMapSize + x; ++i)
        std::getline(csv >> std::ws, value, ',');
    return value.substr(0, value.find_first_of("\n<"));
}

TEST(TmxWriter, TilesCarryTheirSheetAndTurnAsFlipFlags)
{
    MapDocument document;
    // Cell (x, 0): tile, rotation, cell layer, and the tile number Tiled reads.
    const std::tuple<int, int, int, const char*> cases[] = {
        {5, 0, 0, "6"},   {5, 1, 0, "2684354566"},  {5, 2, 0, "3221225478"}, {5, 3, 0, "1610612742"},
        {99, 0, 1, "0"},  {42, 2, 1, "3221225515"}, {0, 0, 2, "0"},          {7, 1, 2, "2684354668"},
        {100, 0, 2, "0"}, {7, 4, 2, "0"},           {-1, 0, 0, "0"},         {3, 0, 3, "0"},
    };
    int x = 0;
    for (const auto& [tile, rotation, layer, gid] : cases) {
        document.grid.tile(x, 0, layer) = tile;
        document.grid.rotation(x, 0, layer) = rotation;
        ++x;
    }
    const std::string tmx = writeTmx(document, 4, kDungeonSheets);
    EXPECT_NE(tmx.find("<image source=\"tilesets/indoor_layer.bmp\" trans=\"ff00ff\""), std::string::npos);
    EXPECT_NE(tmx.find("firstgid=\"101\" name=\"indoor_layer\""), std::string::npos);
    x = 0;
    for (const auto& [tile, rotation, layer, gid] : cases) {
        SCOPED_TRACE(x);
        EXPECT_EQ(gidAt(tmx, layer, x++, 0), gid);
    }
    EXPECT_EQ(gidAt(tmx, 1, 31, 31), "0") << "an empty base overlay is no tile";
    EXPECT_EQ(tmx.find("<layer id=\"5\""), std::string::npos) << "only the drawn cell layers";
}

TEST(TmxWriter, DescriptionsAndDoorsAreObjectsOfTheirCells)
{
    MapDocument document;
    for (const int cell : {70, 3, 70}) {
        auto description = std::make_shared<XETile>();
        description->cellIndex = cell;
        description->shortName = cell == 3 ? "Inn & \"Caf\xe9\"" : "Well";
        description->areaText = {"A <dark> room.", "Two lines.\r"};
        document.descriptions.append(description);
    }
    document.grid.door(6, 2, East) = 3;
    document.grid.door(6, 2, Center) = -2;
    document.grid.door(1, 1, North) = 1;
    const std::string tmx = writeTmx(document, 3, kDungeonSheets);
    const char* expected[] = {
        "<object id=\"1\" name=\"Inn &amp; &quot;Caf\xc3\xa9&quot;\" x=\"240\" y=\"0\" width=\"80\" height=\"80\">",
        "<property name=\"location ID\" type=\"int\" value=\"2\"/>",
        "<property name=\"area text\">A &lt;dark&gt; room.\nTwo lines.</property>",
        "<object id=\"2\" x=\"80\" y=\"80\" width=\"80\" height=\"80\">\n   <properties>\n    <property name=\"door "
        "north\" type=\"int\" value=\"1\"/>",
        "<object id=\"3\" name=\"Well\" x=\"480\" y=\"160\"",
        "<property name=\"location ID\" type=\"int\" value=\"1\"/>\n    <property name=\"short name\" value=\"Well\"/>",
        "<property name=\"door east\" type=\"int\" value=\"3\"/>\n    <property name=\"door center\" type=\"int\" "
        "value=\"-2\"/>",
        "nextobjectid=\"4\"",
    };
    for (const char* part : expected)
        EXPECT_NE(tmx.find(part), std::string::npos) << part << "\n" << tmx.substr(tmx.find("<objectgroup"));
    EXPECT_EQ(tmx.find("<object id=\"4\""), std::string::npos) << "the second description of a cell is no object";
}

}  // namespace
}  // namespace xemap
