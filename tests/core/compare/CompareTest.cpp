#include "RandomMaps.h"
#include "core/compare/MapDiff.h"
#include "core/compare/MapMerge.h"
#include "core/compare/ShowMap.h"
#include "core/compare/ShownText.h"
#include "core/mapfile/MapWriter.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

using namespace xemap;
using xemap::testing::deepCopy;
using xemap::testing::RandomMaps;

TilePtr described(int cellIndex, const std::string& name)
{
    return std::make_shared<XETile>(XETile{cellIndex, name, {}, {}, {}, {}, {}, {}});
}

template <class Record>
std::shared_ptr<Record> named(const std::string& name)
{
    auto record = std::make_shared<Record>();
    record->name = name;
    return record;
}

XETile& at(MapDocument& document, int position) { return *document.descriptions.at(position); }

// A map with one description on cell (2, 3) holding an NPC and an item.
MapDocument describedMap()
{
    MapDocument document;
    document.mapName = "Crossroads";
    const auto mara = std::make_shared<XENPC>(XENPC{{"Mara", "", {}}, "Neutral Good", "", ""});
    document.descriptions.append(std::make_shared<XETile>(
        XETile{cellIndexOf(1, 2), "Old Well", {"A dry well."}, {mara}, {}, {named<XEItem>("Rope")}, {}, {}}));
    return document;
}

// The texts of differences or conflicts.
template <class Found>
std::vector<std::string> texts(const std::vector<Found>& found)
{
    std::vector<std::string> lines;
    for (const auto& one : found)
        lines.push_back(one.text);
    return lines;
}

TEST(MapDiff, NamesEachChangeInWordsInCellOrder)
{
    using Case = std::tuple<const char*, std::function<void(MapDocument&)>, std::vector<std::string>>;
    const std::vector<Case> cases{
        {"layers and rotations, later cell listed later",
         [](MapDocument& d) {
             d.grid.tile(0, 1, 0) = 0, d.grid.rotation(0, 1, 0) = 3, d.grid.tile(0, 0, 1) = 12;
             d.grid.rotation(0, 0, 1) = 1, d.grid.rotation(0, 0, 5) = 7;
         },
         {"cell (1, 1) base overlay: empty → tile 12 rotated 90°", "cell (1, 1) layer 4: empty → empty rotation 7",
          "cell (1, 2) base: tile 0 → tile 0 rotated 270°"}},
        {"doors by side and kind",
         [](MapDocument& d) {
             d.grid.doors[3][0] = {2, -1, 0, 9, -3};
         },
         {"cell (4, 1) North door: No Door → Locked Door", "cell (4, 1) East door: No Door → door value -1",
          "cell (4, 1) West door: No Door → door value 9",
          "cell (4, 1) Center door: No Door → Hidden Door (Center Vert)"}},
        {"map name shown as the windows show it, escaped; tileset",
         [](MapDocument& d) { d.mapName = "Caf\xe9\r\n\x01", d.tilesetIndex = 2; },
         {"map name: \"Crossroads\" → \"Café\\r\\n\\x01\"", "tileset: 0 → 2"}},
        {"fields and records, matched by name",
         [](MapDocument& d) {
             XETile& well = at(d, 0);
             well.shortName = "Dry Well", well.areaText = {"A dry well.", "Stones."},
             well.npcs[0]->align = "Lawful Good";
             well.items[0]->moveable = true, well.creatures = {named<XECreature>("Rat")};
             well.npcs.insert(well.npcs.begin(), named<XENPC>("Guard"));
         },
         {"cell (2, 3) description: short name \"Old Well\" → \"Dry Well\"",
          "cell (2, 3) description: area text \"A dry well.\" → \"A dry well.\\nStones.\"",
          "cell (2, 3) description: NPC \"Guard\" added",
          "cell (2, 3) description: NPC \"Mara\": Align \"Neutral Good\" → \"Lawful Good\"",
          "cell (2, 3) description: creature \"Rat\" added",
          "cell (2, 3) description: item \"Rope\": can be taken no → yes"}},
        {"a description in front renumbers; removal and addition",
         [](MapDocument& d) {
             d.descriptions.insert(0, described(-1, "")), d.descriptions.append(described(cellIndexOf(1, 2), "Cellar"));
             d.descriptions.at(1)->items.clear();
         },
         {"cell (2, 3) description: location ID 1 → 2", "cell (2, 3) description: item \"Rope\" removed",
          "cell (2, 3) description 2 added as location ID 3", "cell (2, 3) description 2: short name \"\" → \"Cellar\"",
          "detached description 1 added as location ID 1"}},
        {"a description taken off",
         [](MapDocument& d) { d.descriptions.removeAt(0); },
         {"cell (2, 3) description \"Old Well\" removed (location ID 1)"}}};
    for (const auto& [what, edit, expected] : cases) {
        SCOPED_TRACE(what);
        MapDocument after = describedMap();
        edit(after);
        EXPECT_EQ(texts(mapDiff(describedMap(), after)), expected);
    }
    MapDocument guarded = describedMap();  // a record removed in front of one that stays
    at(guarded, 0).npcs.insert(at(guarded, 0).npcs.begin(), named<XENPC>("Guard"));
    EXPECT_EQ(texts(mapDiff(guarded, describedMap())),
              std::vector<std::string>{"cell (2, 3) description: NPC \"Guard\" removed"});
}

TEST(ShownText, ShowsBytesAsTheWindowsDoOnOneLine)
{
    // Valid UTF-8 stays UTF-8, anything else is Latin-1 (an encoded surrogate too); C1 controls
    // are escaped in both.
    const std::string cases[][2] = {{"Caf\xc3\xa9", "Café"},
                                    {"Caf\xe9", "Café"},
                                    {"a\r\nb\tc\x7f", "a\\r\\nb\\tc\\x7f"},
                                    {"\xc2\x85", "\\x85"},
                                    {"\x85\xe9", "\\x85é"},
                                    {"\xed\xa0\x80", "í\xc2\xa0\\x80"},
                                    {"\xe2\x86\x92\xf0\x9f\x97\xba", "→🗺"},
                                    {"\x80", "\\x80"}};
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
    document.descriptions.append(described(-1, ""));
    EXPECT_EQ(showMap(document),
              "map name \"Crossroads\"\ntileset 0\n"
              "cell (2, 3): base tile 12 rotated 90°; layer 1 tile 7; Center door Door (Center Horiz)\n"
              "cell (32, 32): base overlay empty rotated 180°\nlocation ID 1: cell (2, 3) description\n"
              "  short name \"Old Well\"\n  area text \"A dry well.\"\n"
              "  NPC \"Mara\", Align \"Neutral Good\", Race \"\", Class \"\", Script \"\", Description \"\"\n"
              "  item \"Rope\", Value \"\", Script \"\", Notes \"\", can be taken no\n"
              "location ID 2: detached description 1\n  short name \"\"\n  area text \"\"\n");
}

// One description on cell (2, 3) with the NPCs Mara and Olf, then one on cell (5, 1).
MapDocument baseMap()
{
    MapDocument document;
    document.mapName = "Keep";
    document.descriptions.append(described(cellIndexOf(1, 2), "Old Well"));
    document.descriptions.at(0)->npcs = {named<XENPC>("Mara"), named<XENPC>("Olf")};
    document.descriptions.append(described(cellIndexOf(4, 0), "Gate"));
    return document;
}

// Each case's merge is the map its expected edit makes of the base (none: ours, then
// theirs); the conflicts come first in its messages, then the location ID changes.
TEST(MapMerge, TakesEachChangeFromItsSideAndKeepsOursOnConflicts)
{
    using Edit = std::function<void(MapDocument&)>;
    const Edit bothSides = nullptr;
    struct Case {
        const char* what;
        Edit ours, theirs, expected;
        std::vector<std::string> messages;
    };
    const Edit wellAndWall = [](MapDocument& d) {
        at(d, 0).npcs[0]->race = "Elf", at(d, 0).npcs.pop_back(), at(d, 1).shortName = "Wall";
    };
    const Edit inn = [](MapDocument& d) { d.descriptions.append(described(7, "Inn")); };
    const Edit mill = [](MapDocument& d) { d.descriptions.append(described(8, "Mill")), d.descriptions.removeAt(0); };
    const std::vector<Case> cases{
        {"different cells and doors, the same change on both sides",
         [](MapDocument& d) { d.grid.tile(0, 0, 0) = 5, d.grid.door(9, 9, North) = 1, d.mapName = "Fort"; },
         [](MapDocument& d) { d.grid.tile(1, 0, 2) = 6, d.grid.rotation(1, 0, 2) = 2, d.mapName = "Fort"; },
         bothSides,
         {}},
        {"one layer changed differently, the rotation alone on one side",
         [](MapDocument& d) { d.grid.tile(2, 1, 2) = 7, d.grid.door(2, 1, Center) = 2; },
         [](MapDocument& d) { d.grid.rotation(2, 1, 2) = 1, d.grid.door(2, 1, Center) = -2, d.tilesetIndex = 1; },
         [](MapDocument& d) { d.grid.tile(2, 1, 2) = 7, d.grid.door(2, 1, Center) = 2, d.tilesetIndex = 1; },
         {"cell (3, 2) layer 1: base empty / ours tile 7 / theirs empty rotated 90°",
          "cell (3, 2) Center door: base No Door / ours Locked Door (Center Horiz) / theirs Locked Door (Center "
          "Vert)"}},
        {"fields and records of one description from both sides",
         [](MapDocument& d) {
             at(d, 0).shortName = "Dry Well", at(d, 0).npcs[0]->race = "Elf",
                   at(d, 0).npcs.push_back(named<XENPC>("Ivo"));
         },
         [](MapDocument& d) {
             XETile& well = at(d, 0);
             well.areaText = {"Stones."}, well.npcs[0]->align = "Good", well.npcs.erase(well.npcs.begin() + 1);
             well.npcs.push_back(named<XENPC>("Zed"));
         },
         bothSides,
         {}},
        {"the same record changed differently, removed and changed",
         wellAndWall,
         [](MapDocument& d) {
             at(d, 0).npcs[0]->race = "Dwarf", at(d, 0).npcs[1]->race = "Gnome", d.descriptions.removeAt(1);
         },
         wellAndWall,
         {"cell (5, 1) description: base \"Gate\" / ours changed / theirs removed",
          "cell (2, 3) description: NPC \"Mara\": Race: base \"\" / ours \"Elf\" / theirs \"Dwarf\"",
          "cell (2, 3) description: NPC \"Olf\": base as it was / ours removed / theirs changed"}},
        {"descriptions added on both sides come ours first; IDs listed",
         [](MapDocument& d) { d.descriptions.insert(0, described(7, "Inn")); },
         mill,
         [&](MapDocument& d) { mill(d), d.descriptions.insert(0, described(7, "Inn")); },
         {"ID: cell (5, 1) description \"Gate\": location ID 3 in ours, 1 in theirs → 2",
          "ID: cell (9, 1) description \"Mill\": location ID 2 in theirs → 3"}},
        {"a reorder on one side, an addition at the end on the other",
         inn,
         [](MapDocument& d) { d.descriptions.insert(0, d.descriptions.at(1)), d.descriptions.removeAt(2); },
         bothSides,
         {"ID: cell (5, 1) description \"Gate\": location ID 2 in ours → 1",
          "ID: cell (2, 3) description \"Old Well\": location ID 1 in ours → 2"}},
        {"the same cell described differently by both",
         inn,
         [](MapDocument& d) { d.descriptions.append(described(7, "Tavern")); },
         inn,
         {"cell (8, 1) description: base none / ours added \"Inn\" / theirs added \"Tavern\""}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MapDocument base = baseMap();
        MapDocument ours = deepCopy(base), theirs = deepCopy(base), expected = deepCopy(base);
        c.ours(ours);
        c.theirs(theirs);
        if (c.expected)
            c.expected(expected);
        else
            c.ours(expected), c.theirs(expected);
        const MergeResult result = mergeMaps(base, ours, theirs);
        EXPECT_EQ(writeMap(result.document), writeMap(expected));
        std::vector<std::string> messages = texts(result.conflicts);
        for (const auto& change : result.locationIdChanges)
            messages.push_back("ID: " + change);
        EXPECT_EQ(messages, c.messages);
    }
}

// Descriptions compared whatever their order, and their records whatever the order of
// records that both sides added at one place: each description is shown alone, its
// lines (one for each record) sorted.
std::vector<std::string> canonical(const MapDocument& document)
{
    std::vector<std::string> all;
    for (const TilePtr& tile : document.descriptions.tiles()) {
        MapDocument alone;
        alone.descriptions.append(tile);
        std::istringstream shown(showMap(alone));
        std::vector<std::string> lines;
        for (std::string line; std::getline(shown, line);)
            lines.push_back(line);
        std::ranges::sort(lines);
        all.push_back(xemap::testing::joined(lines, "\n"));
    }
    std::ranges::sort(all);
    return all;
}

TEST(MapMerge, HoldsItsPropertiesOverRandomMapsAndEdits)
{
    RandomMaps random(2028);
    int clean = 0;
    for (int round = 0; round < 400; ++round) {
        const MapDocument base = random.map();
        const MapDocument ours = random.edited(base), theirs = random.edited(base);
        SCOPED_TRACE(writeMap(base) + "\n--- ours\n" + writeMap(ours) + "\n--- theirs\n" + writeMap(theirs));
        // A side merged with an unchanged base is that side, whichever it is.
        EXPECT_EQ(writeMap(mergeMaps(base, base, theirs).document), writeMap(theirs));
        EXPECT_EQ(writeMap(mergeMaps(base, ours, base).document), writeMap(ours));
        for (const std::string& change : mergeMaps(base, ours, base).locationIdChanges)
            EXPECT_EQ(change.find(" in ours"), std::string::npos) << change;

        const MergeResult forth = mergeMaps(base, ours, theirs), back = mergeMaps(base, theirs, ours);
        EXPECT_EQ(forth.conflicts.empty(), back.conflicts.empty());
        if (!forth.conflicts.empty())
            continue;
        ++clean;
        EXPECT_EQ(forth.document.grid, back.document.grid);
        EXPECT_EQ(forth.document.mapName, back.document.mapName);
        EXPECT_EQ(canonical(forth.document), canonical(back.document));
    }
    EXPECT_GT(clean, 100);
}
