#include "core/mapfile/MapReader.h"
#include "core/mapfile/MapWriter.h"
#include "core/mapfile/TmxWriter.h"
#include "render/TmxReader.h"
#include "support/ToolRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <tuple>

namespace xemap {
namespace {

using namespace testing;

// Every tile at every rotation on the base, the base overlay and the overlay of the
// Dungeon tileset, with each layer's empty value here and there.
MapDocument everyTurnedTile()
{
    MapDocument document;
    document.tilesetIndex = 1;
    for (int x = 0; x < kMapSize; ++x)
        for (int y = 0; y < kMapSize; ++y)
            for (int layer = 0; layer < 3; ++layer) {
                const int turn = x * kMapSize + y + 33 * layer;
                document.grid.tile(x, y, layer) = turn % 100;
                document.grid.rotation(x, y, layer) = turn / 100 % 4;
            }
    return document;
}

// Tiled leaves keyed-out pixels transparent where XEMap keeps the base tile's magenta.
QImage opaqueOnMagenta(const QImage& picture)
{
    QImage flat(picture.size(), QImage::Format_RGB32);
    flat.fill(0xffff00ff);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(picture.pixel(x, y)) == 255)
                flat.setPixel(x, y, picture.pixel(x, y));
    return flat;
}

// Which of each pair of rows and columns of the full picture a half-size picture
// shows: the same choice all over, or nothing when no choice gives the picture.
std::optional<QPoint> halfSizeChoice(const QImage& half, const QImage& full)
{
    for (const QPoint choice : {QPoint(0, 0), QPoint(1, 1), QPoint(0, 1), QPoint(1, 0)}) {
        bool same = half.size() * 2 == full.size();
        for (int y = 0; same && y < half.height(); ++y)
            for (int x = 0; same && x < half.width(); ++x)
                same = half.pixel(x, y) == full.pixel(2 * x + choice.x(), 2 * y + choice.y());
        if (same)
            return choice;
    }
    return std::nullopt;
}

// Pixels of a half-size picture that show none of the pixels around the two rows and
// two columns they stand for. A scaler that turns a tile before it drops rows may keep
// the row next to the pair, and it chooses for each layer on its own: where an overlay's
// edge lies, the half-size cell can pair a base pixel and an overlay pixel that no
// full-size pixel pairs.
int pixelsFromElsewhere(const QImage& half, const QImage& full)
{
    const auto near = [&full](int x, int y, QRgb shown) {
        for (int row = std::max(2 * y - 1, 0); row <= std::min(2 * y + 2, full.height() - 1); ++row)
            for (int column = std::max(2 * x - 1, 0); column <= std::min(2 * x + 2, full.width() - 1); ++column)
                if (full.pixel(column, row) == shown)
                    return true;
        return false;
    };
    int strays = 0;
    for (int y = 0; y < half.height(); ++y)
        for (int x = 0; x < half.width(); ++x)
            strays += !near(x, y, half.pixel(x, y));
    return strays;
}

TEST(TmxCommand, TiledDrawsTheWrittenMapAsTheImageCommandDoes)
{
    QTemporaryDir folder;
    const QString map = folder.filePath("every.xem"), tmx = folder.filePath("maps/every.tmx");
    ASSERT_TRUE(saveMapFile(everyTurnedTile(), map.toStdString()));
    ASSERT_TRUE(QDir(folder.path()).mkpath("maps"));
    const auto [written, why] = runProgram(programFile("xemap-cli"), {"tmx", map, tmx});
    ASSERT_EQ(written, 0) << why.toStdString();
    ASSERT_EQ(
        runProgram(programFile("xemap-cli"), {"image", map, folder.filePath("ours.png"), "--scale", "1.00"}).first, 0);

    // Tiled at full size shows every source pixel; at half size, as the image command,
    // it drops one of each pair of rows and columns as the image command does, or the other.
    for (const QString scale : {"1", "0.5"}) {
        const auto [status, error] = runProgram(
            "tmxrasterizer", {"--scale", scale, "--no-smoothing", tmx, folder.filePath("tiled" + scale + ".png")});
        ASSERT_EQ(status, 0) << "tmxrasterizer (Debian package tiled): " << error.toStdString();
    }
    // Qt's image size limit is process-wide, and reading tile sheets narrows it below this picture.
    QImageReader::setAllocationLimit(0);
    const QImage full = opaqueOnMagenta(QImage(folder.filePath("tiled1.png")));
    const QImage half = opaqueOnMagenta(QImage(folder.filePath("tiled0.5.png")));
    const QImage ours = QImage(folder.filePath("ours.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(full.size(), QSize(2560, 2560));
    EXPECT_TRUE(halfSizeChoice(ours, full).has_value());
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
    const auto describe = [&](int cell, std::string shortName, StringList area) {
        auto description = std::make_shared<XETile>();
        description->cellIndex = cell;
        description->shortName = std::move(shortName);
        description->areaText = std::move(area);
        document.descriptions.append(description);
        return description;
    };
    const auto inn = describe(70, "Inn", {"", " ", "\t"});
    inn->npcs.push_back(std::make_shared<XENPC>(XENPC{{"Jos\xe9", "", {"line\r", ""}}, "Chaotic Good", "", "Bard"}));
    inn->creatures.push_back(std::make_shared<XECreature>());
    inn->items.push_back(std::make_shared<XEItem>(XEItem{{"Key", "k", {}}, "5 gp", true}));
    inn->items.push_back(std::make_shared<XEItem>());
    inn->events.push_back(std::make_shared<XEEvent>(XEEvent{{"Song", "", {"a", "b"}}, "Door", "On Talk To"}));
    inn->portals.push_back(
        std::make_shared<XEPortal>(XEPortal{{"Cellar", "", {}}, "Stairs down", "keep.xem", "12", "\x7f\x85"}));
    describe(-1, "", {});
    describe(70, "\xef\xbf\xbe", {""});
    describe(-1, "cut", {" ", ""});
    describe(1023, "C:\\maps\\x41", {"..."});
    return document;
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
    auto description = std::make_shared<XETile>();
    description->cellIndex = 2;
    description->npcs.push_back(std::make_shared<XENPC>());
    description->items.push_back(std::make_shared<XEItem>());
    document.descriptions.append(description);
    const std::string tmx = writeTmx(document, 3, kDungeonSheets);
    const auto edited = [&](const std::string& from, const std::string& to) {
        std::string text = tmx;
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
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
    // The base layer as Tiled stores it in base64, zlib-compressed (qCompress puts the length first).
    QByteArray gids(kCellCount * 4, '\0');
    for (int cell = 0; cell < kCellCount; ++cell)
        gids[cell * 4] = cell == 0 ? 6 : 1;
    const std::string packed = qCompress(gids).mid(4).toBase64().toStdString();
    const std::size_t data = tmx.find("<data encoding=\"csv\">"), end = tmx.find("</data>", data);
    const auto zlib = importTmxText(
        tmx.substr(0, data) + "<data encoding=\"base64\" compression=\"zlib\">" + packed + tmx.substr(end), "z.tmx");
    ASSERT_TRUE(zlib.ok()) << zlib.fault().describe();
    EXPECT_EQ(writeMap(*zlib), writeMap(document));

    const std::tuple<std::string, std::string, std::string> refused[] = {
        {"<data encoding=\"csv\">\n6,", "<data encoding=\"csv\">\n2147483654,",
         "in.tmx: cell (1, 1) of cell layer 0: the tile is mirrored, which no rotation gives"},
        {"<data encoding=\"csv\">\n6,", "<data encoding=\"csv\">\n268435462,",
         "cell (1, 1) of cell layer 0: the tile is mirrored"},
        {"<property name=\"tileset layer\" type=\"int\" value=\"0\"/>", "",
         "cell (1, 1) of cell layer 0: the tile is from the tileset 'base', not from the map's tileset"},
        {"value=\"0\"/>\n  </properties>\n  <image source=\"base.bmp\"",
         "value=\"1\"/>\n  </properties>\n  <image source=\"base.bmp\"",
         "the tile is from the sheet of tileset layer 1, but the cell layer draws from tileset layer 0"},
        {"<data encoding=\"csv\">\n6,", "<data encoding=\"csv\">\n201,",
         "cell (1, 1) of cell layer 0: the tile is beyond"},
        {"renderorder=\"right-down\" width=\"32\"", "renderorder=\"right-down\" width=\"40\"",
         "the map is 40 x 32, not 32 x 32 cells"},
        {"infinite=\"0\"", "infinite=\"1\"", "the map is infinite"},
        {"name=\"cell layer 1\"", "name=\"Tile Layer 2\"", "the tile layer 'Tile Layer 2' is none of the cell layers"},
        {"type=\"doors\"", "type=\"npc\"", "object 1 at cell (3, 1): its type 'npc' is neither description nor doors"},
        {"x=\"160\" y=\"0\" width=\"80\" height=\"80\">\n   <properties>\n    <property name=\"east\"",
         "x=\"-160\" y=\"0\" width=\"80\" height=\"80\">\n   <properties>\n    <property name=\"east\"",
         "object 1: doors outside the map"},
        {"value=\"3\"", "value=\"3x\"", "object 1 at cell (3, 1): the property 'east' is '3x', not a whole number"},
        {"name=\"item 1 value\"", "name=\"item 1 worth\"",
         "object 2 at cell (3, 1): the property 'item 1 worth' has no place in a description"},
        {"\"npc 1 ", "\"npc 2 ", "the property 'npc 2 align' has no place in a description"},
        {"value=\"false\"", "value=\"maybe\"", "the property 'item 1 can be taken' is 'maybe', not true or false"},
        {"name=\"map name\" value=\"\"", "name=\"map name encoding\" value=\"utf-16\"",
         "in.tmx: the property 'map name encoding' is 'utf-16', not latin-1, escaped"},
        {"name=\"tileset\"", "name=\"tileset index\"", "in.tmx: the map property 'tileset' is missing"},
        {"<property name=\"tileset\"", "<property name=\"author\" value=\"me\"/><property name=\"tileset\"",
         "in.tmx: the property 'author' has no place in a map"},
        {"value=\"1,0:99,3\"", "value=\"1,0:99\"", "the map property 'cell layer 1 values' has '1,0:99', not"},
        {"value=\"1,0:99,3\"", "value=\"32,0:99,3\"", "has '32,0:99,3', not column,row:tile,rotation of a cell"},
        {"</map>", "", "in.tmx: line "},
        {"<data encoding=\"csv\">", "<data encoding=\"base64\" compression=\"zstd\">", "stored as base64 with zstd"},
    };
    for (const auto& [from, to, reason] : refused) {
        SCOPED_TRACE(to);
        const auto result = edited(from, to);
        ASSERT_FALSE(result.ok());
        EXPECT_NE(result.fault().describe().find(reason), std::string::npos) << result.fault().describe();
    }
}

// The fixtures' tilesets: the third has a gap among its sheets.
void writeTestRegistry(const QString& folder)
{
    const std::string sheets = programFile("tilesets/").toStdString();
    std::string registry;
    for (const std::vector<std::string>& entry :
         {std::vector<std::string>{"City", "outdoor_bases", "city_layer", "", "", ""},
          {"Dungeon", "indoor_bases", "indoor_layer", "", "", ""},
          {"Keep", "indoor_bases", "indoor_layer", "", "city_layer", ""}}) {
        registry += entry[0] + "\r\n";
        for (std::size_t layer = 1; layer < entry.size(); ++layer)
            registry += (entry[layer].empty() ? "null" : sheets + entry[layer] + ".bmp") + "\r\n";
    }
    writeBytes((folder + "/XEMAP.INI").toStdString(), registry);
}

TEST(TmxCommand, RoundTripThroughTiledGivesWhatConvertWrites)
{
    QTemporaryDir folder;
    const QString cli = programFile("xemap-cli"), tiles = folder.filePath("tiles");
    const auto bytes = [&](const char* name) { return fileBytes(folder.filePath(name).toStdString()); };
    ASSERT_TRUE(QDir(folder.path()).mkpath("tiles") && QDir(folder.path()).mkpath("tiled"));
    writeTestRegistry(tiles);
    ASSERT_TRUE(saveMapFile(awkwardMap(), folder.filePath("awkward.xem").toStdString()));
    QStringList maps;
    for (const QString& fixture : QDir(XEMAP_TEST_DATA "/maps").entryList({"*.xem"}))
        maps << XEMAP_TEST_DATA "/maps/" + fixture;
    maps << folder.filePath("awkward.xem");  // last, for the mirrored tile below
    ASSERT_GE(maps.size(), 4);
    for (const QString& map : maps) {
        SCOPED_TRACE(map.toStdString());
        const QString tmx = folder.filePath("map.tmx"), saved = folder.filePath("tiled/map.tmx");
        ASSERT_EQ(runProgram(cli, {"convert", map, folder.filePath("want.xem")}).first, 0);
        const auto [written, why] = runProgram(cli, {"tmx", map, tmx, "--tiles", tiles});
        ASSERT_EQ(written, 0) << why.toStdString();
        ASSERT_EQ(runProgram("tiled", {"--export-map", "tmx", tmx, saved}).first, 0);
        ASSERT_NE(bytes("tiled/map.tmx"), bytes("map.tmx")) << "Tiled wrote the map its own way";
        const auto [imported, error] = runProgram(cli, {"import", saved, folder.filePath("got.xem")});
        ASSERT_EQ(imported, 0) << error.toStdString();
        EXPECT_EQ(bytes("got.xem"), bytes("want.xem"));
    }

    // The awkward map as Tiled saved it, with its first base tile mirrored.
    std::string mirrored = bytes("tiled/map.tmx");
    const std::string firstTile = "<data encoding=\"csv\">\n43,";
    ASSERT_NE(mirrored.find(firstTile), std::string::npos);
    mirrored.replace(mirrored.find(firstTile), firstTile.size(), "<data encoding=\"csv\">\n2147483691,");
    writeBytes(folder.filePath("mirrored.tmx").toStdString(), mirrored);
    writeBytes(folder.filePath("kept.xem").toStdString(), "kept");
    const auto [status, error] =
        runProgram(cli, {"import", folder.filePath("mirrored.tmx"), folder.filePath("kept.xem")});
    EXPECT_EQ(status, 2);
    EXPECT_EQ(error, folder.filePath("mirrored.tmx")
                         + ": cell (1, 1) of cell layer 0: the tile is mirrored, which no rotation gives\n");
    EXPECT_EQ(bytes("kept.xem"), "kept");
}

}  // namespace
}  // namespace xemap
