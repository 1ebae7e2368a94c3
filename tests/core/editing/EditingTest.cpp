#include "core/editing/EditSession.h"
#include "core/editing/KeyCommands.h"
#include "core/editing/MapClipboard.h"
#include "core/mapfile/MapWriter.h"
#include "support/MapTestSupport.h"
#include "support/SessionSetUp.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace xemap;
using C = KeyCommand;
using xemap::testing::describedTile;

constexpr GridCell kCell{4, 5};
const int kCellIndex = cellIndexOf(kCell.x, kCell.y);

// A session whose map has a description on kCell and on (9, 9), with nothing recorded yet.
EditSession sessionWithDescriptions()
{
    EditSession session;
    for (int cellIndex : {kCellIndex, cellIndexOf(9, 9)})
        mapToSetUp(session).descriptions.append(describedTile(cellIndex, "Room"));
    return session;
}

TilePtr describe(MapDocument& document, int column, int row, const std::string& name)
{
    const auto tile = std::make_shared<XETile>(
        XETile{cellIndexOf(column, row), name, {}, {std::make_shared<XENPC>()}, {}, {}, {}, {}});
    document.descriptions.append(tile);
    return tile;
}

void paint(MapDocument& document, int column, int row, int tile)
{
    document.grid.tile(column, row, 0) = tile, document.grid.rotation(column, row, 0) = 2;
    document.grid.door(column, row, North) = 3;
}

// Which commands record undo steps (each undone back to the map before it), set the
// modified flag and give kCell to be drawn.
TEST(EditSession, EachCommandRecordsModifiesAndRedrawsAsItsRulesSay)
{
    const Region region{4, 7, 5, 8}, corner{0, 9, 0, 9};
    const BoxGroup box{{{{30, 0}, {30, 0}, {30, 0}, {30, 0}}}};
    const GridCell outside{32, 0};
    const CellDoors southDoor{0, 0, 2, 0, 0};
    struct Rule {
        const char* command;
        std::function<Changes(EditSession&)> run;
        unsigned steps;       // undo steps recorded
        std::string effects;  // m: modified, c: kCell redrawn, l: labels from position 0
    };
    const Rule rules[] = {
        {"paint stroke", [](auto& s) { return EditSession::Stroke(s), s.paint(kCell, 0, 7, 1); }, 1, "mc"},
        {"release", [](auto& s) { return s.mapReleased(), Changes{}; }, 0, "m"},
        {"terrain step", [](auto& s) { return s.paintTerrain(kCell, 0, 10); }, 0, "c"},
        {"box fill", [&](auto& s) { return s.fillBox(region, 2, box); }, 0, "c"},
        {"double-click clear", [](auto& s) { return s.clearOverlay(kCell); }, 0, "c"},
        {"door toggle", [](auto& s) { return s.toggleDoor(kCell, North); }, 1, "mc"},
        {"rotate", [](auto& s) { return s.rotate(kCell, 0, TurnDirection::Right); }, 1, "mc"},
        {"doors dialog that changed a door", [&](auto& s) { return s.setDoors(kCell, southDoor); }, 1, "mc"},
        {"doors dialog unchanged", [](auto& s) { return s.setDoors(kCell, s.document().grid.doors[kCell.x][kCell.y]); },
         0, ""},
        {"describe at ID 1", [](auto& s) { return s.describe(cellIndexOf(9, 9), describedTile(-1, "Hall"), 1); }, 1,
         "ml"},
        {"describe cancelled after record edits", [](auto& s) { return s.editSharedRecord([] {}), Changes{}; }, 0, "m"},
        {"remove all", [](auto& s) { return s.removeDescription(kCellIndex).value(); }, 1, "mcl"},
        {"copy description", [](auto& s) { return s.copyDescription(kCellIndex), Changes{}; }, 0, ""},
        {"cut description", [](auto& s) { return s.cutDescription(kCellIndex); }, 1, "mc"},
        {"paste description",
         [](auto& s) { return s.copyDescription(cellIndexOf(9, 9)), s.pasteDescription(kCellIndex); }, 1, "mc"},
        {"copy region", [&](auto& s) { return s.takeRegion(region, RegionTake::Copy); }, 1, "mc"},
        {"cut region", [&](auto& s) { return s.takeRegion(region, RegionTake::Cut); }, 1, "mc"},
        {"paste region", [&](auto& s) { return s.takeRegion(corner, RegionTake::Cut), s.pasteRegion(kCell); }, 2, "mc"},
        {"paste region outside the grid", [&](auto& s) { return s.pasteRegion(outside); }, 0, ""},
    };
    for (const Rule& rule : rules) {
        SCOPED_TRACE(rule.command);
        EditSession session = sessionWithDescriptions();
        const std::string before = writeMap(session.document());
        const Changes changes = rule.run(session);
        const auto has = [&](char effect) { return rule.effects.find(effect) != std::string::npos; };
        EXPECT_EQ(session.history().undoDepth(), rule.steps);
        EXPECT_EQ(session.modified(), has('m'));
        EXPECT_EQ(std::ranges::find(changes.cells, kCell) != changes.cells.end(), has('c'));
        EXPECT_EQ(changes.labelsFrom, has('l') ? std::optional(0) : std::nullopt);
        EXPECT_FALSE(changes.all);
        for (unsigned step = 0; step < rule.steps; ++step)
            EXPECT_TRUE(session.undo().all);
        if (rule.steps > 0) {
            EXPECT_EQ(writeMap(session.document()), before);
        }
    }
}

TEST(EditSession, NewOpenAndSaveStartFreshWithoutLosingTheClipboards)
{
    EditSession session = sessionWithDescriptions();
    session.copyDescription(kCellIndex);
    session.takeRegion({0, 2, 0, 2}, RegionTake::Copy);
    EXPECT_FALSE(session.save("")) << "a map without a file name is not written";
    EXPECT_TRUE(session.newMapCleared(3).all);
    EXPECT_FALSE(session.modified() || session.history().canUndo());
    EXPECT_TRUE(session.document().descriptions.empty());
    EXPECT_TRUE(session.canPasteDescription() && session.canPasteRegion());

    MapDocument upgraded;
    upgraded.grid.fill(5);
    session.open(upgraded, true);
    EXPECT_TRUE(session.modified()) << "an upgraded map is offered for saving";
    // A write that fails keeps the file name; one that succeeds takes the new one.
    const xemap::testing::TempFolder folder;
    ASSERT_TRUE(session.save((folder / "kept.xem").string()));
    EXPECT_FALSE(session.modified());
    EXPECT_FALSE(session.save((folder / "kept.xem" / "under-a-file.xem").string()));
    EXPECT_EQ(session.document().mapFileName, (folder / "kept.xem").string());
}

TEST(RegionClipboard, PastesCopyTheTilesAndMoveTheDescriptionAndACutClearsThem)
{
    MapDocument document;
    paint(document, 2, 3, 7);
    const TilePtr tile = describe(document, 2, 3, "Inn");
    RegionClipboard clipboard;
    takeRegion(document, {2, 4, 3, 5}, RegionTake::Copy, clipboard);
    ASSERT_EQ(clipboard.size(), 4u);
    EXPECT_EQ(tile->cellIndex, -1);
    EXPECT_EQ(document.grid.tile(2, 3, 0), 7);

    pasteRegion(document, clipboard, 10, 10);
    const MapGrid& grid = document.grid;
    EXPECT_EQ((std::array{grid.tile(10, 10, 0), grid.rotation(10, 10, 0), grid.door(10, 10, North)}),
              (std::array{7, 2, 3}));
    EXPECT_EQ(tile->cellIndex, cellIndexOf(10, 10));

    // Pasted again, the description moves on and its former cell is redrawn.
    const CellList second = pasteRegion(document, clipboard, 20, 5);
    EXPECT_EQ(tile->cellIndex, cellIndexOf(20, 5));
    EXPECT_NE(std::ranges::find(second, GridCell{10, 10}), second.end());

    // A cut clears what it takes and detaches the description again.
    document.grid.tile(21, 5, 1) = 14;
    document.grid.tile(21, 5, 3) = 8;
    EXPECT_EQ(takeRegion(document, {20, 22, 5, 6}, RegionTake::Cut, clipboard).size(), 2u);
    for (const int column : {20, 21}) {
        // Each layer gets its own empty value: 99 on layer 1 lets a later base tile show.
        for (int layer = 0; layer < kCellLayers; ++layer)
            EXPECT_EQ(document.grid.tile(column, 5, layer), emptyTile(layer)) << column << " layer " << layer;
    }
    EXPECT_EQ(grid.rotation(20, 5, 0) + grid.door(20, 5, North), 0);
    EXPECT_EQ(tile->cellIndex, -1);
}

TEST(RegionClipboard, PasteIsClippedToTheGridAndAttachesOnlyDescriptionsStillListed)
{
    MapDocument document;
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            paint(document, column, row, 4);
    const TilePtr gone = describe(document, 1, 1, "Gone");
    const TilePtr kept = describe(document, 2, 1, "Kept");
    const TilePtr far = describe(document, 2, 2, "Far");
    RegionClipboard clipboard;
    takeRegion(document, {-2, 3, -1, 3}, RegionTake::Copy, clipboard);
    EXPECT_EQ(clipboard.size(), 9u);  // the region itself is clipped too
    // The list changes: "Gone" is deleted, a new description takes its position.
    document.descriptions.removeAt(0);
    const TilePtr newcomer = describe(document, 9, 9, "New");
    document.descriptions.placeBefore(newcomer, 2, 1);

    EXPECT_EQ(pasteRegion(document, clipboard, 31, 31), (CellList{{31, 31}}));
    EXPECT_EQ(document.grid.tile(31, 31, 0), 4);
    EXPECT_EQ(far->cellIndex, -1);  // its cell fell beyond the grid
    EXPECT_TRUE(pasteRegion(document, clipboard, 32, 0).empty());
    EXPECT_TRUE(pasteRegion(document, clipboard, -1, 5).empty());

    pasteRegion(document, clipboard, 5, 5);
    EXPECT_EQ(kept->cellIndex, cellIndexOf(7, 6));
    EXPECT_EQ(newcomer->cellIndex, cellIndexOf(9, 9));
    EXPECT_EQ(gone->cellIndex, -1);
    EXPECT_TRUE(rotateTile(document.grid, 32, 0, 0, TurnDirection::Right).empty());
    EXPECT_TRUE(rotateTile(document.grid, 0, -1, 0, TurnDirection::Left).empty());
}

// A cursor off the grid or on a cell without a description of its own reaches none.
TEST(DescriptionClipboard, CutPasteRoundTripSharesRecordsAndActsOnlyOnTheCellsOwnDescription)
{
    MapDocument document;
    describe(document, 0, 0, "One");
    const TilePtr two = describe(document, 1, 0, "Two");
    describe(document, 2, 0, "Three");
    describe(document, 3, 0, "Four");
    DescriptionClipboard clipboard;
    // The cut cell and the renumbered labels.
    EXPECT_EQ(clipboard.cutFrom(document, cellIndexOf(1, 0)), (CellList{{1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(clipboard.pasteTo(document, cellIndexOf(2, 0)), (CellList{{2, 0}}));
    const TilePtr pasted = document.descriptions.at(3);
    EXPECT_NE(pasted, two);
    EXPECT_EQ(pasted->cellIndex, 2);
    EXPECT_EQ(pasted->npcs.front(), two->npcs.front());
    // The cell keeps its own description first.
    EXPECT_EQ(document.descriptions.descriptionOf(2)->shortName, "Three");
    EXPECT_TRUE(clipboard.pasteTo(document, 9).empty());
    document.descriptions.at(0)->cellIndex = -1;
    EXPECT_FALSE(clipboard.copyFrom(document, -1));
    EXPECT_TRUE(clipboard.cutFrom(document, -1).empty());
    EXPECT_TRUE(clipboard.pasteTo(document, kCellCount).empty());
    EXPECT_TRUE(clipboard.cutFrom(document, cellIndexOf(1, 0)).empty()) << "a second cut finds no neighbour";
    EXPECT_EQ(document.descriptions.size(), 4);
}

// The bindings the window tests do not type, characters that must do nothing, and chords
// whose modifiers count at the press or at the release.
TEST(KeyCommands, CharactersKeysAndChordsReachTheirCommands)
{
    const std::pair<char, KeyCommand> characters[] = {
        {'_', C::ZoomOut}, {'.', C::RotateRight}, {'D', C::Doors}, {'\x18', C::None}, {char(0xE9), C::None}};
    for (const auto& [character, expected] : characters)
        EXPECT_EQ(commandForCharacter(character), expected) << "character " << int(character);
    const std::pair<ReleasedKey, KeyCommand> keys[] = {{{Key::ArrowLeft}, C::ScrollLeft},
                                                       {{Key::Digit2, true, true}, C::ToggleSouthDoor},
                                                       {{Key::Digit5, false}, C::None},
                                                       {{Key::Z, false, true, true}, C::Undo},
                                                       {{Key::Z}, C::None},
                                                       {{Key::X, false, true}, C::CutRegion},
                                                       {{Key::X, false, true, true}, C::CutDescription},
                                                       {{Key::V, false, false, true}, C::None},
                                                       {{Key::Other, false, true}, C::None}};
    for (const auto& [key, expected] : keys)
        EXPECT_EQ(commandForRelease(key), expected) << "key " << int(key.key) << key.keypad << key.ctrl << key.alt;

    // The key, Ctrl and Alt at the press, then at the release.
    const std::tuple<Key, bool, bool, bool, bool, KeyCommand> chords[] = {
        {Key::Z, true, false, false, false, C::Undo},        {Key::Z, false, false, true, false, C::Undo},
        {Key::Z, false, false, false, false, C::None},       {Key::C, true, true, true, false, C::CopyDescription},
        {Key::V, true, false, false, false, C::PasteRegion}, {Key::R, false, true, true, false, C::Redo}};
    for (const auto& [key, ctrlAtPress, altAtPress, ctrl, alt, expected] : chords) {
        ChordMemory memory;
        memory.pressed({key, false, ctrlAtPress, altAtPress});
        EXPECT_EQ(commandForRelease(memory.released({key, false, ctrl, alt})), expected)
            << int(key) << ctrlAtPress << altAtPress << ctrl << alt;
    }
    // The press is forgotten at its release, and one key's press does not count for another.
    ChordMemory memory;
    memory.pressed({Key::Z, false, true});
    memory.released({Key::Z});
    EXPECT_EQ(commandForRelease(memory.released({Key::Z})), C::None);
    memory.pressed({Key::X, false, true});
    EXPECT_EQ(commandForRelease(memory.released({Key::Z})), C::None);
    // Door values read from a damaged map toggle back to no door.
    EXPECT_EQ(toggledDoor(West, -2), 0);
    EXPECT_EQ(toggledDoor(Center, 4), 0);
}
