#include "core/compare/MapDiff.h"
#include "RandomMaps.h"
#include "core/compare/ShowMap.h"
#include "core/compare/ShownText.h"
#include "core/mapfile/MapWriter.h"

#include <gtest/gtest.h>

#include <functional>

using namespace xemap;

using xemap::testing::deepCopy;
using xemap::testing::RandomMaps;

// A map with one description on cell (2, 3) holding an NPC and an item.
MapDocument describedMap()
{
    MapDocument document;
    document.mapName = "Crossroads";
    auto tile = std::make_shared<XETile>();
    tile->cellIndex = cellIndexOf(1, 2);
    tile->shortName = "Old Well";
    tile->areaText = {"A dry well."};
    tile->npcs = {std::make_shared<XENPC>()};
    tile->npcs[0]->name = "Mara", tile->npcs[0]->align = "Neutral Good";
    tile->items = {std::make_shared<XEItem>()};
    tile->items[0]->name = "Rope";
    document.descriptions.append(tile);
    return document;
}

XETile& first(MapDocument& document) { return *document.descriptions.at(0); }

std::vector<std::string> texts(const std::vector<MapDifference>& differences)
{
    std::vector<std::string> lines;
    for (const auto& difference : differences)
        lines.push_back(difference.text);
    return lines;
}

TEST(MapDiff, NamesEachChangeInWordsInCellOrder)
{
    struct Case {
        const char* what;
        std::function<void(MapDocument&)> edit;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {"layers and rotations, later cell listed later",
         [](MapDocument& d) {
             d.grid.tile(0, 1, 0) = 0, d.grid.rotation(0, 1, 0) = 3;
             d.grid.tile(0, 0, 1) = 12, d.grid.rotation(0, 0, 1) = 1;
             d.grid.rotation(0, 0, 5) = 7;
         },
         {"cell (1, 1) base overlay: empty → tile 12 rotated 90°", "cell (1, 1) layer 4: empty → empty rotation 7",
          "cell (1, 2) base: tile 0 → tile 0 rotated 270°"}},
        {"doors by side and kind",
         [](MapDocument& d) {
             d.grid.door(3, 0, North) = 2, d.grid.door(3, 0, Center) = -3, d.grid.door(3, 0, West) = 9;
             d.grid.door(3, 0, East) = -1;
         },
         {"cell (4, 1) North door: No Door → Locked Door", "cell (4, 1) East door: No Door → door value -1",
          "cell (4, 1) West door: No Door → door value 9",
          "cell (4, 1) Center door: No Door → Hidden Door (Center Vert)"}},
        {"map name shown as the windows show it, escaped; tileset",
         [](MapDocument& d) { d.mapName = "Caf\xe9\r\n\x01", d.tilesetIndex = 2; },
         {"map name: \"Crossroads\" → \"Café\\r\\n\\x01\"", "tileset: 0 → 2"}},
        {"fields and records, matched by name",
         [](MapDocument& d) {
             first(d).shortName = "Dry Well";
             first(d).areaText = {"A dry well.", "Stones."};
             first(d).npcs[0]->align = "Lawful Good";
             first(d).items[0]->moveable = true;
             auto rat = std::make_shared<XECreature>();
             rat->name = "Rat";
             first(d).creatures = {rat};
             auto guard = std::make_shared<XENPC>();
             guard->name = "Guard";
             first(d).npcs.insert(first(d).npcs.begin(), guard);
         },
         {"cell (2, 3) description: short name \"Old Well\" → \"Dry Well\"",
          "cell (2, 3) description: area text \"A dry well.\" → \"A dry well.\\nStones.\"",
          "cell (2, 3) description: NPC \"Guard\" added",
          "cell (2, 3) description: NPC \"Mara\": Align \"Neutral Good\" → \"Lawful Good\"",
          "cell (2, 3) description: creature \"Rat\" added",
          "cell (2, 3) description: item \"Rope\": can be taken no → yes"}},
        {"a description in front renumbers; removal and addition",
         [](MapDocument& d) {
             auto inn = std::make_shared<XETile>();
             inn->cellIndex = -1;
             auto cellar = std::make_shared<XETile>();
             cellar->cellIndex = cellIndexOf(1, 2);
             cellar->shortName = "Cellar";
             d.descriptions.insert(0, inn);
             d.descriptions.append(cellar);
             d.descriptions.at(1)->items.clear();
         },
         {"cell (2, 3) description: location ID 1 → 2", "cell (2, 3) description: item \"Rope\" removed",
          "cell (2, 3) description 2 added as location ID 3", "cell (2, 3) description 2: short name \"\" → \"Cellar\"",
          "detached description 1 added as location ID 1"}},
        {"a description taken off",
         [](MapDocument& d) { d.descriptions.removeAt(0); },
         {"cell (2, 3) description \"Old Well\" removed (location ID 1)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MapDocument before = describedMap();
        MapDocument after = deepCopy(before);
        c.edit(after);
        EXPECT_EQ(texts(mapDiff(before, after)), c.expected);
    }
}

// Over random maps and edits: the diff is empty exactly when the two files are the same.
TEST(MapDiff, IsEmptyExactlyWhenTheMapFilesAreEqual)
{
    RandomMaps random(28);
    for (int round = 0; round < 300; ++round) {
        const MapDocument a = random.map();
        const MapDocument b = round % 3 == 0 ? deepCopy(a) : random.edited(a);
        EXPECT_EQ(mapDiff(a, b).empty(), writeMap(a) == writeMap(b)) << writeMap(a) << "\n---\n" << writeMap(b);
    }
}

TEST(ShownText, ShowsBytesAsTheWindowsDoOnOneLine)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"Caf\xc3\xa9", "Café"},  // valid UTF-8 stays UTF-8
        {"Caf\xe9", "Café"},      // anything else is Latin-1
        {"a\r\nb\tc\x7f", "a\\r\\nb\\tc\\x7f"},
        {"\xc2\x85", "\\x85"},               // a C1 control in UTF-8
        {"\x85\xe9", "\\x85é"},              // and in Latin-1
        {"\xed\xa0\x80", "í\xc2\xa0\\x80"},  // an encoded surrogate is no UTF-8
        {"\xe2\x86\x92\xf0\x9f\x97\xba", "→🗺"},
        {"\x80", "\\x80"},
    };
    for (const auto& [bytes, shown] : cases)
        EXPECT_EQ(shownText(bytes), shown) << bytes;
}

TEST(ShowMap, ListsTheMapNameCellsThatAreNotClearAndEveryDescription)
{
    MapDocument document = describedMap();
    document.grid.tile(1, 2, 0) = 12, document.grid.rotation(1, 2, 0) = 1;
    document.grid.tile(1, 2, 2) = 7;
    document.grid.door(1, 2, Center) = 1;
    document.grid.rotation(31, 31, 1) = 2;
    auto detached = std::make_shared<XETile>();
    detached->cellIndex = -1;
    document.descriptions.append(detached);
    EXPECT_EQ(showMap(document),
              "map name \"Crossroads\"\n"
              "tileset 0\n"
              "cell (2, 3): base tile 12 rotated 90°; layer 1 tile 7; Center door Door (Center Horiz)\n"
              "cell (32, 32): base overlay empty rotated 180°\n"
              "location ID 1: cell (2, 3) description\n"
              "  short name \"Old Well\"\n"
              "  area text \"A dry well.\"\n"
              "  NPC \"Mara\", Align \"Neutral Good\", Race \"\", Class \"\", Script \"\", Description \"\"\n"
              "  item \"Rope\", Value \"\", Script \"\", Notes \"\", can be taken no\n"
              "location ID 2: detached description 1\n"
              "  short name \"\"\n"
              "  area text \"\"\n");
}
