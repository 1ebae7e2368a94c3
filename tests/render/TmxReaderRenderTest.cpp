#include "render/TmxReader.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace xemap {
namespace {

// A map as Tiled saves it, with elements the reader does not know before its tileset and its property.
std::string tmxMap(const std::string& data)
{
    return "<?xml version=\"1.0\"?>\n<map width=\"32\" height=\"32\" tilewidth=\"80\" tileheight=\"80\" infinite=\"0\">"
           "<editorsettings><export target=\"a.json\"/></editorsettings><tileset firstgid=\"1\" name=\"base\">"
           "<properties><note/><property name=\"tileset layer\" value=\"0\"/></properties></tileset>"
           "<layer id=\"1\" name=\"cell layer 0\" width=\"32\" height=\"32\">"
           + data + "</layer></map>";
}

TEST(TmxReader, ReadsTilesetPropertiesAndLittleEndianBase64LayersAndRefusesShortLayers)
{
    QByteArray gids(kCellCount * 4, '\0');
    gids[4] = 1, gids[5] = 2, gids[7] = 0x40;
    const auto map =
        parseTmx(tmxMap("<data encoding=\"base64\">" + gids.toBase64().toStdString() + "</data>"), "a.tmx");
    ASSERT_TRUE(map) << map.fault().describe();
    ASSERT_EQ(map->tilesets.size(), 1u);
    EXPECT_EQ(map->tilesets[0].name, "base");
    EXPECT_EQ(map->tilesets[0].properties, (tmx::Properties{{"tileset layer", "0"}}));
    ASSERT_EQ(map->tileLayers.size(), 1u);
    EXPECT_EQ(map->tileLayers[0].gids[1], 0x40000201u);

    const auto shortLayer = parseTmx(tmxMap("<data encoding=\"csv\">1,2</data>"), "b.tmx");
    ASSERT_FALSE(shortLayer);
    EXPECT_EQ(shortLayer.fault().reason,
              "the tile layer 'cell layer 0' does not have a tile number for each of its cells");
}

}  // namespace
}  // namespace xemap
