#include "core/mapfile/TmxWriter.h"
#include "core/mapfile/TmxFormat.h"
#include "core/mapfile/TmxImport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace xemap;

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

TEST(TmxWriter, TilesCarryTheirSheetAndTurnAsFlipFlagsAndTheRestGoesToProperties)
{
    MapDocument document;
    // Cell (x, 0): tile, rotation, cell layer, and the tile number Tiled reads.
    const std::tuple<int, int, int, const char*> cases[] = {
        {5, 0, 0, "6"},   {5, 1, 0, "2684354566"},  {5, 2, 0, "3221225478"}, {5, 3, 0, "1610612742"},
        {99, 0, 1, "0"},  {42, 2, 1, "3221225515"}, {0, 0, 2, "0"},          {7, 1, 2, "2684354668"},
        {100, 0, 2, "0"}, {7, 4, 2, "0"},           {-1, 0, 0, "0"},         {99, 3, 1, "0"}};
    for (int x = 0; x < int(std::size(cases)); ++x) {
        const auto& [tile, rotation, layer, gid] = cases[x];
        document.grid.tile(x, 0, layer) = tile, document.grid.rotation(x, 0, layer) = rotation;
    }
    document.grid.tile(3, 4, 3) = 12;  // no sheet for tileset layer 2
    document.grid.rotation(5, 6, 5) = 1;
    const std::string tmx = writeTmx(document, 4, kDungeonSheets);
    for (int x = 0; x < int(std::size(cases)); ++x)
        EXPECT_EQ(gidAt(tmx, std::get<2>(cases[x]), x, 0), std::get<3>(cases[x])) << x;
    EXPECT_EQ(gidAt(tmx, 1, 31, 31), "0") << "an empty base overlay is no tile";
    EXPECT_EQ(tmx.find("<layer id=\"4\""), std::string::npos) << "only cell layers drawn from a sheet";
    for (const char* hidden :
         {"<image source=\"tilesets/indoor_layer.bmp\" trans=\"ff00ff\"", "firstgid=\"101\" name=\"indoor_layer\"",
          "name=\"cell layer 0 values\" value=\"10,0:-1,0\"", "name=\"cell layer 1 values\" value=\"11,0:99,3\"",
          "name=\"cell layer 2 values\" value=\"8,0:100,0 9,0:7,4\"", "name=\"cell layer 3 values\" value=\"3,4:12,0\"",
          "name=\"cell layer 5 values\" value=\"5,6:0,1\""})
        EXPECT_NE(tmx.find(hidden), std::string::npos) << hidden;
    EXPECT_EQ(tmx.find("cell layer 4 values"), std::string::npos);
}

TEST(TmxWriter, DescriptionsAreObjectsInListOrderAndDoorsObjectsOfTheirCells)
{
    MapDocument document;
    document.mapName = "Keep \xe9";
    for (const int cell : {70, 3, 70, -1}) {
        const auto item = std::make_shared<XEItem>(XEItem{{}, "", cell == 3});
        const std::string name = cell == 3 ? "Inn & \"Caf\xc3\xa9\"" : "Well";
        document.descriptions.append(
            std::make_shared<XETile>(XETile{cell, name, {"A <dark> room.", ""}, {}, {}, {item}, {}, {}}));
    }
    document.grid.doors[6][2] = {0, 3, 0, 0, -2};
    const std::string tmx = writeTmx(document, 3, kDungeonSheets);
    const char* expected[] = {
        "<property name=\"map name\" value=\"Keep \xc3\xa9\"/>\n  <property name=\"map name encoding\" "
        "value=\"latin-1\"/>",
        "<object id=\"1\" type=\"doors\" x=\"480\" y=\"160\" width=\"80\" height=\"80\">\n   <properties>\n"
        "    <property name=\"east\" type=\"int\" value=\"3\"/>\n    <property name=\"center\" type=\"int\" "
        "value=\"-2\"/>",
        "<object id=\"2\" name=\"Well\" type=\"description\" x=\"480\" y=\"160\" width=\"80\" height=\"80\">",
        "<object id=\"3\" name=\"Inn &amp; &quot;Caf\xc3\xa9&quot;\" type=\"description\" x=\"240\" y=\"0\"",
        "<property name=\"location ID\" type=\"int\" value=\"2\"/>",
        "<property name=\"area text\">A &lt;dark&gt; room.\n\n</property>",
        "<property name=\"item 1 can be taken\" type=\"bool\" value=\"true\"/>",
        "<object id=\"4\" name=\"Well\" type=\"description\" x=\"488\" y=\"168\" width=\"64\" height=\"64\">",
        "<object id=\"5\" name=\"Well\" type=\"description\" x=\"-80\" y=\"0\"",
        "nextobjectid=\"6\"",
    };
    for (const char* part : expected)
        EXPECT_NE(tmx.find(part), std::string::npos) << part << "\n" << tmx.substr(tmx.find("<objectgroup"));
}

TEST(TmxWriter, TextFieldsComeBackByteForByteWithTheirEncoding)
{
    const std::tuple<std::string, std::string, const char*> cases[] = {
        {"Caf\xc3\xa9", "Caf\xc3\xa9", ""},
        {"Caf\xe9", "Caf\xc3\xa9", "latin-1"},
        {"tab\there", "tab\there", ""},
        {"a\\b\x01\r", "a\\\\b\\x01\\x0d", "escaped"},
        {std::string("\0\x85\\", 3), "\\x00\xc2\x85\\\\", "latin-1, escaped"},
        {"\xef\xbf\xbe", "\\ufffe", "escaped"},
        {"\n", "\\x0a", "escaped"},  // Tiled drops a value of blanks and line breaks
        {" \n\t", " \\x0a\t", "escaped"},
        {" \nx", " \nx", ""}};
    for (const auto& [bytes, value, encoding] : cases) {
        SCOPED_TRACE(value);
        const tmx::TextProperty property = tmx::textProperty(bytes);
        EXPECT_EQ(property.value, value);
        EXPECT_EQ(property.encoding, encoding);
        EXPECT_EQ(tmx::fieldBytes(value, encoding), bytes);
    }
    // Text edited in Tiled: stray backslashes stay, Latin-1 stays while it fits.
    EXPECT_EQ(tmx::fieldBytes("C:\\maps \\x4 \\q", "escaped"), "C:\\maps \\x4 \\q");
    EXPECT_EQ(tmx::fieldBytes("\xc3\xa9\xe2\x82\xac", "latin-1"), "\xc3\xa9\xe2\x82\xac");
    EXPECT_EQ(tmx::fieldBytes("x", "utf-16"), std::nullopt);

    for (const StringList& lines : {StringList{}, StringList{""}, StringList{"", ""}, StringList{"a", ""},
                                    StringList{"", "b"}, StringList{"a", "b"}})
        EXPECT_EQ(tmx::splitLines(tmx::joinedLines(lines)), lines) << tmx::joinedLines(lines);
    EXPECT_EQ(tmx::splitLines("typed\n"), StringList{"typed"});
}

TEST(TmxImport, TakesEachTileFromItsOwnTilesetAndRefusesOthers)
{
    tmx::Map map;
    map.tileWidth = map.tileHeight = tmx::kTileSize;
    map.properties = {{"tileset", "4"}};
    map.tilesets = {{"indoor_layer", 101, {{"tileset layer", "1"}}}, {"indoor_bases", 1, {{"tileset layer", "0"}}}};
    map.tileLayers = {{"cell layer 0", std::vector<std::uint32_t>(kCellCount)},
                      {"cell layer 2", std::vector<std::uint32_t>(kCellCount)}};
    // Cell layer 0 at (2, 1), cell layer 2 at (3, 1): tile numbers and what import makes of them.
    const std::tuple<std::uint32_t, std::uint32_t, const char*> cases[] = {
        {6, 108, ""},
        {101, 0, "cell (3, 2) of cell layer 0: the tile is from the sheet of tileset layer 1"},
        {0, 201, "cell (4, 2) of cell layer 2: the tile is beyond the 100 tiles of its sheet"}};
    for (const auto& [base, upper, refusal] : cases) {
        map.tileLayers[0].gids[kMapSize + 2] = base;
        map.tileLayers[1].gids[kMapSize + 3] = upper;
        const auto document = importTmx(map, "in.tmx");
        SCOPED_TRACE(refusal);
        if (*refusal) {
            EXPECT_EQ(document.fault().reason.find(refusal), 0u) << document.fault().reason;
        } else {
            EXPECT_EQ(std::pair(document->grid.tile(2, 1, 0), document->grid.tile(3, 1, 2)), std::pair(5, 7));
        }
    }
}
