#include "mapfile/MapReader.h"
#include "mapfile/MapTestSupport.h"
#include "mapfile/MapWriter.h"

#include <gtest/gtest.h>

namespace xemap {
namespace {

using namespace testing;

// Everything the format can carry, including values outside their ranges.
MapDocument richDocument()
{
    MapDocument document;
    document.mapName = "Rich";
    document.tilesetIndex = 4;
    for (int x = 0; x < kMapSize; ++x)
        for (int y = 0; y < kMapSize; ++y)
            for (int layer = 0; layer < kCellLayers; ++layer) {
                document.grid.tile(x, y, layer) = (x * 31 + y * 7 + layer) % 100;
                document.grid.rotation(x, y, layer) = (x + y + layer) % 4;
            }
    for (int type = 0; type < 8; ++type) {
        for (int slot = 0; slot < kDoorSlots; ++slot)
            document.grid.door(type, slot, slot) = type;
        document.grid.door(type, 9, Center) = -type;
    }
    document.grid.tile(3, 3, 0) = 1234, document.grid.rotation(3, 3, 5) = -9;
    document.grid.door(4, 4, North) = 9, document.grid.door(4, 4, Center) = 99;

    auto full = std::make_shared<XETile>();
    full->cellIndex = 1023, full->shortName = "All", full->areaText = {"one", "", "three"};
    auto npc = std::make_shared<XENPC>();
    npc->name = "N", npc->align = "a", npc->race = "r", npc->npcClass = "c", npc->script = "s", npc->text = {"t", ""};
    auto creature = std::make_shared<XECreature>();
    creature->name = "C", creature->type = "t", creature->weapon = "w", creature->armor = "a", creature->script = "s";
    auto item = std::make_shared<XEItem>();
    item->name = "I", item->value = "v", item->script = "s", item->moveable = true;
    auto event = std::make_shared<XEEvent>();
    event->name = "E", event->location = "l", event->trigger = "t", event->script = "s", event->text = {"x"};
    auto portal = std::make_shared<XEPortal>();
    portal->name = "P", portal->location = "l", portal->targetMap = "m", portal->targetTile = "7";
    portal->restrictions = "r";
    full->npcs = {npc, npc}, full->creatures = {creature}, full->items = {item, std::make_shared<XEItem>()};
    full->events = {event}, full->portals = {portal};
    document.descriptions.append(full);
    auto detached = std::make_shared<XETile>();
    detached->cellIndex = -1;
    document.descriptions.append(detached);
    auto portalsOnly = std::make_shared<XETile>();
    portalsOnly->cellIndex = 0, portalsOnly->portals = {portal};
    document.descriptions.append(portalsOnly);
    return document;
}

void expectSameMap(const MapDocument& a, const MapDocument& b)
{
    EXPECT_EQ(a.mapName, b.mapName);
    EXPECT_EQ(a.tilesetIndex, b.tilesetIndex);
    EXPECT_TRUE(a.grid == b.grid);
    ASSERT_EQ(a.descriptions.size(), b.descriptions.size());
    for (int i = 0; i < a.descriptions.size(); ++i)
        EXPECT_TRUE(sameContents(*a.descriptions.at(i), *b.descriptions.at(i))) << "description " << i + 1;
}

TEST(MapReader, ReadsBackWhatTheWriterWrote)
{
    for (const MapDocument& document : {richDocument(), MapDocument{}}) {
        const auto result = readMap(writeMap(document));
        ASSERT_TRUE(result.ok()) << result.error.message;
        expectSameMap(result.map->document, document);
        EXPECT_TRUE(result.map->hasMapNameLine);
        EXPECT_FALSE(result.map->singleLayer);
        EXPECT_TRUE(result.map->skipped.empty());
    }
}

class FixtureResave : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureResave, IsByteIdentical)
{
    const auto bytes = fileBytes(testData("maps/" + GetParam()));
    const auto result = readMap(bytes);
    ASSERT_TRUE(result.ok()) << result.error.line << ": " << result.error.message;
    EXPECT_EQ(writeMap(result.map->document), bytes);
}

std::vector<std::string> fixtureNames()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(testData("maps")))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Maps, FixtureResave, ::testing::ValuesIn(fixtureNames()),
                         [](const auto& info) {
                             std::string name = info.param.substr(0, info.param.find('.'));
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// Layouts the reader accepts besides the writer's own: each edits the crossroads file.
TEST(MapReader, AcceptsEveryLayoutItIsDefinedToAccept)
{
    const auto crossroads = fileBytes(testData("maps/crossroads.xem"));
    auto lines = [] {
        auto l = emptyMapLines("Crossroads");
        l[2 + 1 * 32 + 2] = "12 1 99 0 7 2 0 0 0 0 0 0  : 1 0 2 0 -3 ";
        l.insert(l.end(), {"65", "Old Well", "A dry well stands in the square.", "...", "NPCs:", "Mara",
                           "Neutral Good", "Human", "Cleric", "mara_talk", "Keeps the well clean.", "...", "Items:",
                           "Rope", "5", "", "1", "...", ">>>"});
        return l;
    };
    auto edited = [&](auto edit) {
        auto l = lines();
        edit(l);
        return joined(l);
    };
    const std::string longText(500, 'x');
    struct Case {
        const char* what;
        std::string text;
        std::string expectedResave;  // empty: the crossroads file itself
    };
    const Case cases[] = {
        {"LF line ends", joined(lines(), "\n"), ""},
        {"no line end on the last line", crossroads.substr(0, crossroads.size() - 2), ""},
        {"blank lines between blocks",
         edited([](auto& l) { l.insert(l.begin() + 1026, {"", "   "}), l.push_back(""), l.push_back(""); }), ""},
        {"blank lines and blanks before the tileset index",
         edited([](auto& l) { l[1] = "  0  ", l.insert(l.begin() + 1, {"", ""}); }), ""},
        {"trailing blanks after the cell index", edited([](auto& l) { l[1026] = "65   "; }), ""},
        {"trimmed cell lines", edited([](auto& l) { l[2] = "\t 0 0 99 0 0 0 0 0 0 0 0 0"; }), ""},
        {"unknown lines before a section", edited([](auto& l) { l.insert(l.begin() + 1030, "Notes"); }), ""},
        {"missing layer pairs", edited([](auto& l) { l[3] = "0 0 99 0 0 0 0 0"; }), ""},
        {"no map name line",
         edited([](auto& l) { l.erase(l.begin()); }),
         edited([](auto& l) { l[0] = ""; })},
        {"lines of any length",
         edited([&](auto& l) { l[0] = longText, l[1028] = longText; }),
         edited([&](auto& l) { l[0] = longText, l[1028] = longText; })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = readMap(c.text);
        ASSERT_TRUE(result.ok()) << result.error.line << ": " << result.error.message;
        EXPECT_EQ(writeMap(result.map->document), c.expectedResave.empty() ? crossroads : c.expectedResave);
    }
}

TEST(MapReader, RejectsMalformedFilesNamingTheLine)
{
    auto withBlock = [](std::vector<std::string> block) {
        auto l = emptyMapLines();
        l.insert(l.end(), block.begin(), block.end());
        return joined(l);
    };
    auto withCell = [](std::string cell) {
        auto l = emptyMapLines();
        l[2 + 40] = std::move(cell);
        return joined(l);
    };
    auto cut = [](int keptLines) {
        auto l = emptyMapLines();
        l.resize(keptLines);
        return joined(l);
    };
    struct Case {
        const char* what;
        std::string text;
        int line;
        std::string message;
    };
    const Case cases[] = {
        {"empty file", "", 1, "empty"},
        {"no tileset index", "Name\r\n", 2, "tileset index"},
        {"text for the tileset index", "Name\r\nfirst\r\n", 2, "tileset index"},
        {"cell line without numbers", withCell("   "), 43, "no numbers"},
        {"cell line with a word", withCell("0 0 99 x 0 0 0 0 0 0 0 0"), 43, "'x'"},
        {"non-digit door", withCell(kEmptyCell + " : 1 x 0 0 0 "), 43, "door digit"},
        {"bad centre door", withCell(kEmptyCell + " : 1 0 0 0 -x "), 43, "centre door"},
        {"ends before the last cell line", cut(2 + 1023), 1026, "1023 of the 1024"},
        {"cell index out of range", withBlock({"1024", "x", "...", ">>>"}), 1027, "outside"},
        {"cell index below -1", withBlock({"-2", "x", "...", ">>>"}), 1027, "outside"},
        {"block without a cell index", withBlock({"Old Well", "...", ">>>"}), 1027, "cell index"},
        {"text after the cell index", withBlock({"65 Old Well", "...", ">>>"}), 1027, "cell index"},
        {"ends in the area text", withBlock({"5", "x", "text"}), 1030, "begins on line 1027"},
        {"ends in a record", withBlock({"5", "x", "...", "Items:", "Rope", "5"}), 1033, "inside"},
        {"ends before the block end", withBlock({"5", "x", "...", "Events:"}), 1031, "inside"},
        {"non-numeric item flag", withBlock({"5", "x", "...", "Items:", "Rope", "5", "", "yes", "...", ">>>"}), 1034,
         "item's flag"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = readMap(c.text);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error.kind, ReadError::Kind::Malformed);
        EXPECT_EQ(result.error.line, c.line) << result.error.message;
        EXPECT_NE(result.error.message.find(c.message), std::string::npos) << result.error.message;
    }
}

TEST(MapReader, ListsTheLinesItSkipped)
{
    auto l = emptyMapLines();
    l.insert(l.end(), {"5", "x", "...", "NPCS:", "Mara", "", "Items:", "Rope", "", "", "0", "...", ">>>"});
    const auto result = readMap(joined(l));
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(result.map->skipped.size(), 2u);  // the blank line is not content
    EXPECT_EQ(result.map->skipped[0].line, 1030);
    EXPECT_EQ(result.map->skipped[0].text, "NPCS:");
    EXPECT_EQ(result.map->skipped[1].line, 1031);
    const auto& tile = *result.map->document.descriptions.at(0);
    EXPECT_TRUE(tile.npcs.empty());
    ASSERT_EQ(tile.items.size(), 1u);
    EXPECT_EQ(tile.items[0]->name, "Rope");
}

TEST(MapReader, EndsADescriptionAtAnyBlockEnd)
{
    auto l = emptyMapLines();
    l.insert(l.end(), {"1", "a", "text", ">>>", "2", "b", "...", "NPCs:", "N", "", "", "", "", "...", "Creatures:",
                       ">>>", "3", "c", "...", "Portals:", "NPCs:", "", "", "", "", "...", ">>>"});
    const auto result = readMap(joined(l));
    ASSERT_TRUE(result.ok()) << result.error.message;
    const auto& list = result.map->document.descriptions;
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.at(0)->areaText, StringList{"text"});
    EXPECT_EQ(list.at(1)->npcs.size(), 1u);
    EXPECT_TRUE(list.at(1)->creatures.empty());
    ASSERT_EQ(list.at(2)->portals.size(), 1u);
    EXPECT_EQ(list.at(2)->portals[0]->name, "NPCs:");  // no section follows portals
}

TEST(MapReaderFile, ReportsAFileItCannotOpen)
{
    TempFolder folder;
    for (const auto& path : {folder / "missing.xem", folder.path()}) {
        const auto result = readMapFile(path);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error.kind, ReadError::Kind::CannotOpen);
    }
    const auto read = readMapFile(testData("maps/crossroads.xem"));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.map->document.mapFileName, testData("maps/crossroads.xem").string());
    EXPECT_EQ(describeReadError("a.xem", {ReadError::Kind::Malformed, 7, "bad"}), "a.xem: line 7: bad");
}

}  // namespace
}  // namespace xemap
