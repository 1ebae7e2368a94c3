#include "core/mapfile/MapWriter.h"
#include "core/mapfile/TmxWriter.h"
#include "render/TmxReader.h"
#include "support/ToolRun.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace xemap {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// Every tile at every rotation on the base, the base overlay and the overlay of the
// Dungeon tileset, with each layer's empty value here and there.
MapDocument everyTurnedTile()
{
    MapDocument document;
    document.tilesetIndex = 1;
    for (int cell = 0; cell < kCellCount; ++cell)
        for (int layer = 0, turn = cell; layer < 3; ++layer, turn += 33) {
            document.grid.tile(cell / kMapSize, cell % kMapSize, layer) = turn % 100;
            document.grid.rotation(cell / kMapSize, cell % kMapSize, layer) = turn / 100 % 4;
        }
    return document;
}

// Whether a half-size picture shows one of each pair of rows and columns of the full
// picture, the same choice all over.
bool halvesTheRows(const QImage& half, const QImage& full)
{
    for (const QPoint choice : {QPoint(0, 0), QPoint(1, 1), QPoint(0, 1), QPoint(1, 0)}) {
        bool same = half.size() * 2 == full.size();
        for (int y = 0; same && y < half.height(); ++y)
            for (int x = 0; same && x < half.width(); ++x)
                same = half.pixel(x, y) == full.pixel(2 * x + choice.x(), 2 * y + choice.y());
        if (same)
            return true;
    }
    return false;
}

// Pixels of a half-size picture that show none of the pixels around the two rows and
// two columns they stand for. A scaler that turns a tile before it drops rows may keep
// the row next to the pair, and it chooses for each layer on its own: where an overlay's
// edge lies, the half-size cell can pair a base pixel and an overlay pixel that no
// full-size pixel pairs.
int pixelsFromElsewhere(const QImage& half, const QImage& full)
{
    int strays = 0;
    for (int y = 0; y < half.height(); ++y)
        for (int x = 0; x < half.width(); ++x) {
            bool near = false;
            for (int row = std::max(2 * y - 1, 0); row <= std::min(2 * y + 2, full.height() - 1); ++row)
                for (int column = std::max(2 * x - 1, 0); column <= std::min(2 * x + 2, full.width() - 1); ++column)
                    near = near || full.pixel(column, row) == half.pixel(x, y);
            strays += !near;
        }
    return strays;
}

TEST(TmxCommand, TiledDrawsTheWrittenMapAsTheImageCommandDoes)
{
    TempFolder folder;
    ASSERT_TRUE(saveMapFile(everyTurnedTile(), folder / "every.xem"));
    fs::create_directory(folder / "maps");
    expectAnswers(folder, {{{"tmx", "every.xem", "maps/every.tmx"}, 0, "", ""},
                           {{"image", "every.xem", "ours.png", "--scale", "1.00"}, 0, "", ""}});

    // Tiled at full size shows every source pixel; at half size, as the image command,
    // it drops one of each pair of rows and columns as the image command does, or the other.
    for (const std::string scale : {"1", "0.5"}) {
        const ToolRun tiled = runIn(
            folder.path(), {"tmxrasterizer", "--scale", scale, "--no-smoothing", "maps/every.tmx", scale + ".png"});
        ASSERT_EQ(tiled.status, 0) << "tmxrasterizer (Debian package tiled): " << tiled.err;
    }
    // Tiled leaves keyed-out pixels transparent where XEMap keeps the base tile's magenta.
    const auto image = [&](const char* name) {
        const QImage picture(QString::fromStdString((folder / name).string()));
        QImage flat(picture.size(), QImage::Format_RGB32);
        flat.fill(0xffff00ff);
        QPainter(&flat).drawImage(0, 0, picture);
        return flat;
    };
    const QImage full = image("1.png"), half = image("0.5.png"), ours = image("ours.png");
    ASSERT_EQ(full.size(), QSize(2560, 2560));
    EXPECT_TRUE(halvesTheRows(ours, full));
    ASSERT_EQ(half.size(), ours.size());
    EXPECT_LT(pixelsFromElsewhere(half, full), half.width() * half.height() / 1000);
}

// All that a tile layer cannot show and text that XML or Tiled would change, on the
// Dungeon tileset (two sheets, layer count 3).
MapDocument awkwardMap()
{
    MapDocument document;
    document.mapName = "Caf\xe9 \\ \x01";
    document.tilesetIndex = 1;
    MapGrid& grid = document.grid;
    grid.tile(0, 0, 0) = 42;
    grid.tile(1, 0, 0) = 150;
    grid.rotation(2, 0, 1) = 3;  // an empty base overlay, turned
    grid.tile(3, 0, 2) = 5;
    grid.rotation(3, 0, 2) = 7;
    grid.tile(4, 0, 5) = 33;  // above the layer count
    grid.rotation(4, 0, 5) = 1;
    grid.tile(5, 0, 3) = -4;
    grid.door(6, 0, North) = 9;
    grid.door(6, 0, Center) = -7;
    grid.door(31, 31, West) = 1;
    const auto inn = std::make_shared<XETile>(XETile{70, "Inn", {"", " ", "\t"}, {}, {}, {}, {}, {}});
    inn->npcs.push_back(std::make_shared<XENPC>(XENPC{{"Jos\xe9", "", {"line\r", ""}}, "Chaotic Good", "", "Bard"}));
    inn->creatures.push_back(std::make_shared<XECreature>());
    inn->items.push_back(std::make_shared<XEItem>(XEItem{{"Key", "k", {}}, "5 gp", true}));
    inn->items.push_back(std::make_shared<XEItem>());
    inn->events.push_back(std::make_shared<XEEvent>(XEEvent{{"Song", "", {"a", "b"}}, "Door", "On Talk To"}));
    inn->portals.push_back(
        std::make_shared<XEPortal>(XEPortal{{"Cellar", "", {}}, "Stairs down", "keep.xem", "12", "\x7f\x85"}));
    document.descriptions.append(inn);
    const std::tuple<int, std::string, StringList> others[] = {
        {-1, "", {}}, {70, "\xef\xbf\xbe", {""}}, {-1, "cut", {" ", ""}}, {1023, "C:\\maps\\x41", {"..."}}};
    for (const auto& [cell, name, area] : others)
        document.descriptions.append(std::make_shared<XETile>(XETile{cell, name, area, {}, {}, {}, {}, {}}));
    return document;
}

// The text with every from replaced by to.
std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

const std::vector<TmxTileSheet> kDungeonSheets{{0, "base.bmp"}, {1, "layer.bmp"}};

TEST(TmxImport, TakesBackEverythingTheWriterWrites)
{
    const MapDocument document = awkwardMap();
    for (const int layerCount : {1, 3, 6}) {
        SCOPED_TRACE(layerCount);
        const auto back = importTmxText(writeTmx(document, layerCount, kDungeonSheets), "a.tmx");
        ASSERT_TRUE(back.ok()) << back.fault().describe();
        EXPECT_EQ(writeMap(*back), writeMap(document));
    }
}

TEST(TmxImport, TakesTiledsEditsAndRefusesWhatAMapCannotHold)
{
    MapDocument document;
    document.grid.tile(0, 0, 0) = 5;
    document.grid.rotation(1, 0, 1) = 3;
    document.grid.door(2, 0, East) = 3;
    document.descriptions.append(std::make_shared<XETile>(
        XETile{2, "", {}, {std::make_shared<XENPC>()}, {}, {std::make_shared<XEItem>()}, {}, {}}));
    const std::string tmx = writeTmx(document, 3, kDungeonSheets);
    const auto edited = [&](const std::string& from, const std::string& to) {
        const std::string text = replaced(tmx, from, to);
        EXPECT_NE(text, tmx) << from;
        return importTmxText(text, "in.tmx");
    };

    // Tiled 1.9 names the type "class"; a tile shown wins over a hidden value; a moved object moves.
    const auto renamed = edited("type=\"description\"", "class=\"description\"");
    ASSERT_TRUE(renamed.ok()) << renamed.fault().describe();
    EXPECT_EQ(writeMap(*renamed), writeMap(document));
    const auto shown = edited("value=\"1,0:99,3\"", "value=\"0,0:77,1\"");
    ASSERT_TRUE(shown.ok()) << shown.fault().describe();
    EXPECT_EQ(shown->grid.tile(0, 0, 0), 5);
    EXPECT_EQ(shown->grid.rotation(0, 0, 0), 0);
    EXPECT_EQ(shown->grid.rotation(1, 0, 1), 0);
    const auto moved = edited("type=\"description\" x=\"160\" y=\"0\"", "type=\"description\" x=\"50\" y=\"90\"");
    ASSERT_TRUE(moved.ok()) << moved.fault().describe();
    EXPECT_EQ(moved->descriptions.at(0)->cellIndex, 33);
    const std::string csv = "<data encoding=\"csv\">";
    // The base layer as Tiled stores it in base64, zlib-compressed (qCompress puts the length first).
    QByteArray gids(kCellCount * 4, '\0');
    for (int cell = 0; cell < kCellCount; ++cell)
        gids[cell * 4] = cell == 0 ? 6 : 1;
    const std::string packed = qCompress(gids).mid(4).toBase64().toStdString();
    const std::size_t data = tmx.find(csv), end = tmx.find("</data>", data);
    const auto zlib = importTmxText(
        tmx.substr(0, data) + "<data encoding=\"base64\" compression=\"zlib\">" + packed + tmx.substr(end), "z.tmx");
    ASSERT_TRUE(zlib.ok()) << zlib.fault().describe();
    EXPECT_EQ(writeMap(*zlib), writeMap(document));

    const std::string sheet = "  </properties>\n  <image source=\"base.bmp\"";
    const std::tuple<std::string, std::string, std::string> refused[] = {
        {csv + "\n6,", csv + "\n2147483654,", "in.tmx: cell (1, 1) of cell layer 0: the tile is mirrored, which no"},
        {csv + "\n6,", csv + "\n268435462,", "the tile is mirrored"},
        {"<property name=\"tileset layer\" type=\"int\" value=\"0\"/>", "",
         "from the tileset 'base', not from the map's"},
        {"value=\"0\"/>\n" + sheet, "value=\"1\"/>\n" + sheet,
         "of tileset layer 1, but the cell layer draws from tileset layer 0"},
        {csv + "\n6,", csv + "\n201,", "the tile is beyond"},
        {"right-down\" width=\"32\"", "right-down\" width=\"40\"", "the map is 40 x 32, not 32 x 32 cells"},
        {"infinite=\"0\"", "infinite=\"1\"", "the map is infinite"},
        {"name=\"cell layer 1\"", "name=\"Tile Layer 2\"", "the tile layer 'Tile Layer 2' is none of the cell layers"},
        {"type=\"doors\"", "type=\"npc\"", "object 1 at cell (3, 1): its type 'npc' is neither description nor doors"},
        {"doors\" x=\"160\"", "doors\" x=\"-160\"", "object 1: doors outside the map"},
        {"value=\"3\"", "value=\"3x\"", "object 1 at cell (3, 1): the property 'east' is '3x', not a whole number"},
        {"name=\"item 1 value\"", "name=\"item 1 worth\"",
         "object 2 at cell (3, 1): the property 'item 1 worth' has no"},
        {"\"npc 1 ", "\"npc 2 ", "the property 'npc 2 align' has no place in a description"},
        {"value=\"false\"", "value=\"maybe\"", "the property 'item 1 can be taken' is 'maybe', not true or false"},
        {"\"map name\" value=\"\"", "\"map name encoding\" value=\"utf-16\"", "'utf-16', not latin-1, escaped"},
        {"name=\"tileset\"", "name=\"tileset index\"", "in.tmx: the map property 'tileset' is missing"},
        {"<property name=\"tileset\"", "<property name=\"a\" value=\"b\"/><property name=\"tileset\"",
         "'a' has no place in a map"},
        {"value=\"1,0:99,3\"", "value=\"1,0:99\"", "the map property 'cell layer 1 values' has '1,0:99', not"},
        {"value=\"1,0:99,3\"", "value=\"32,0:99,3\"", "has '32,0:99,3', not column,row:tile,rotation of a cell"},
        {"</map>", "", "in.tmx: line "},
        {csv, "<data encoding=\"base64\" compression=\"zstd\">", "stored as base64 with zstd"}};
    for (const auto& [from, to, reason] : refused) {
        SCOPED_TRACE(to);
        const auto result = edited(from, to);
        ASSERT_FALSE(result.ok());
        EXPECT_NE(result.fault().describe().find(reason), std::string::npos) << result.fault().describe();
    }
}

TEST(TmxCommand, RoundTripThroughTiledGivesWhatConvertWrites)
{
    TempFolder folder;
    fs::create_directories(folder / "tiles");
    // The fixtures' tilesets: the third has a gap among its sheets.
    writeBytes(
        folder / "tiles/XEMAP.INI",
        replaced("City\r\n@outdoor_bases.bmp\r\n@city_layer.bmp\r\nnull\r\nnull\r\nnull\r\nDungeon\r\n"
                 "@indoor_bases.bmp\r\n@indoor_layer.bmp\r\nnull\r\nnull\r\nnull\r\nKeep\r\n@indoor_bases.bmp\r\n"
                 "@indoor_layer.bmp\r\nnull\r\n@city_layer.bmp\r\nnull\r\n",
                 "@", (programFolder() / "tilesets/").string()));
    ASSERT_TRUE(saveMapFile(awkwardMap(), folder / "awkward.xem"));
    std::vector<std::string> maps;
    for (const auto& fixture : fs::directory_iterator(testData("maps")))
        if (fixture.path().extension() == ".xem")
            maps.push_back(fixture.path());
    maps.push_back("awkward.xem");  // last, for the mirrored tile below
    for (const std::string& map : maps) {
        SCOPED_TRACE(map);
        expectAnswers(folder, {{{"convert", map, "want.xem"}, 0, "", ""},
                               {{"tmx", map, "tiles/map.tmx", "--tiles", "tiles"}, 0, "", ""}});
        ASSERT_EQ(runIn(folder.path(), {"tiled", "--export-map", "tmx", "tiles/map.tmx", "map.tmx"}).status, 0);
        ASSERT_NE(fileBytes(folder / "map.tmx"), fileBytes(folder / "tiles/map.tmx")) << "Tiled wrote it its own way";
        expectAnswers(folder, {{{"import", "map.tmx", "got.xem"}, 0, "", ""}});
        EXPECT_EQ(fileBytes(folder / "got.xem"), fileBytes(folder / "want.xem"));
    }

    // The awkward map as Tiled saved it, with its first base tile mirrored.
    const std::string csv = "<data encoding=\"csv\">\n";
    writeBytes(folder / "mirrored.tmx", replaced(fileBytes(folder / "map.tmx"), csv + "43,", csv + "2147483691,"));
    writeBytes(folder / "kept.xem", "kept");
    const std::string why =
        "mirrored.tmx: cell (1, 1) of cell layer 0: the tile is mirrored, which no rotation gives\n";
    expectAnswers(folder, {{{"import", "mirrored.tmx", "kept.xem"}, 2, "", why}});
    EXPECT_EQ(fileBytes(folder / "kept.xem"), "kept");
}

}  // namespace
}  // namespace xemap
