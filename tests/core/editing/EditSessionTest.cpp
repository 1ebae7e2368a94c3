#include "core/editing/EditSession.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

using namespace xemap;

namespace {

constexpr GridCell kCell{4, 5};
const int kCellIndex = cellIndexOf(kCell.x, kCell.y);

TilePtr describedTile(const std::string& name)
{
    auto tile = std::make_shared<XETile>();
    tile->shortName = name;
    return tile;
}

// A session whose map has a description on kCell and on (9, 9), with nothing recorded yet.
EditSession sessionWithDescriptions()
{
    EditSession session;
    for (int cellIndex : {kCellIndex, cellIndexOf(9, 9)}) {
        TilePtr tile = describedTile("Room");
        tile->cellIndex = cellIndex;
        session.document().descriptions.append(tile);
    }
    return session;
}

BoxGroup boxOf(int tile)
{
    BoxGroup group;
    for (GroupPiece& piece : group.pieces)
        piece = {tile, 0};
    return group;
}

struct Rule {
    const char* command;
    std::function<Changes(EditSession&)> run;
    bool records;   // pushes one undo step
    bool modifies;  // sets the modified flag
    bool redrawsCell;
    std::optional<int> labelsFrom;
};

bool hasCell(const Changes& changes, GridCell cell)
{
    return std::ranges::find(changes.cells, cell) != changes.cells.end();
}

}  // namespace

// Which commands record an undo step, set the modified flag and give kCell to be drawn.
TEST(EditSession, EachCommandRecordsModifiesAndRedrawsAsItsRulesSay)
{
    const Region region{4, 7, 5, 8};
    const Rule rules[] = {
        {"paint press",
         [](EditSession& s) {
             s.beginStroke();
             return s.paint(kCell, 0, 7, 1);
         },
         true,
         false,
         true,
         {}},
        {"paint release",
         [](EditSession& s) {
             s.endStroke();
             return Changes{};
         },
         false,
         true,
         false,
         {}},
        {"terrain step", [](EditSession& s) { return s.paintTerrain(kCell, 0, 10); }, false, false, true, {}},
        {"box fill", [&](EditSession& s) { return s.fillBox(region, 2, boxOf(30)); }, false, false, true, {}},
        {"double-click clear", [](EditSession& s) { return s.clearOverlay(kCell); }, false, false, true, {}},
        {"door toggle", [](EditSession& s) { return s.toggleDoor(kCell, North); }, true, true, true, {}},
        {"rotate", [](EditSession& s) { return s.rotate(kCell, 0, TurnDirection::Right); }, true, true, true, {}},
        {"doors dialog that changed a door",
         [](EditSession& s) {
             UndoSnapshot before = UndoSnapshot::take(s.document());
             s.document().grid.door(kCell.x, kCell.y, East) = 2;
             return s.doorsDialogClosed(kCell, std::move(before));
         },
         true,
         true,
         true,
         {}},
        {"doors dialog that changed nothing",
         [](EditSession& s) { return s.doorsDialogClosed(kCell, UndoSnapshot::take(s.document())); },
         false,
         false,
         false,
         {}},
        {"describe, moved to location ID 1",
         [](EditSession& s) { return s.describe(cellIndexOf(9, 9), describedTile("Hall"), 1); }, true, true, false, 0},
        {"describe cancelled after record edits",
         [](EditSession& s) {
             s.recordsEditedInPlace();
             return Changes{};
         },
         false,
         true,
         false,
         {}},
        {"remove all", [](EditSession& s) { return s.removeDescription(kCellIndex).value(); }, true, true, true, 0},
        {"copy description",
         [](EditSession& s) {
             s.copyDescription(kCellIndex);
             return Changes{};
         },
         false,
         false,
         false,
         {}},
        {"cut description", [](EditSession& s) { return s.cutDescription(kCellIndex); }, true, true, true, {}},
        {"copy region", [&](EditSession& s) { return s.takeRegion(region, RegionTake::Copy); }, true, true, true, {}},
        {"cut region", [&](EditSession& s) { return s.takeRegion(region, RegionTake::Cut); }, true, true, true, {}},
        {"paste region outside the grid",
         [](EditSession& s) {
             return s.pasteRegion({32, 0});
         },
         false,
         false,
         false,
         {}},
    };
    for (const Rule& rule : rules) {
        EditSession session = sessionWithDescriptions();
        const Changes changes = rule.run(session);
        EXPECT_EQ(session.history().undoDepth(), rule.records ? 1u : 0u) << rule.command;
        EXPECT_EQ(session.modified(), rule.modifies) << rule.command;
        EXPECT_EQ(hasCell(changes, kCell), rule.redrawsCell) << rule.command;
        EXPECT_EQ(changes.labelsFrom, rule.labelsFrom) << rule.command;
        EXPECT_FALSE(changes.all) << rule.command;
    }
}

TEST(EditSession, UndoAndRedoCrossCommandsAndKeepTheMapModified)
{
    EditSession session = sessionWithDescriptions();
    session.beginStroke();
    session.paint(kCell, 0, 7, 1);
    session.paint({5, 5}, 0, 7, 1);  // the same stroke: one undo step
    session.endStroke();
    session.toggleDoor(kCell, South);
    ASSERT_FALSE(session.cutDescription(kCellIndex).cells.empty());
    EXPECT_EQ(session.history().undoDepth(), 3u);

    EXPECT_FALSE(session.save("")) << "a map without a file name is not written";
    EXPECT_TRUE(session.modified());

    EXPECT_TRUE(session.undo().all);
    EXPECT_EQ(session.document().descriptions.size(), 2);
    EXPECT_TRUE(session.undo().all);
    EXPECT_EQ(session.document().grid.door(kCell.x, kCell.y, South), 0);
    EXPECT_TRUE(session.undo().all);
    EXPECT_EQ(session.document().grid.tile(5, 5, 0), 0);
    EXPECT_FALSE(session.undo().all) << "nothing left to undo";

    EXPECT_TRUE(session.redo().all);
    EXPECT_EQ(session.document().grid.tile(kCell.x, kCell.y, 0), 7);
    EXPECT_EQ(session.document().grid.tile(5, 5, 0), 7);
    EXPECT_TRUE(session.modified());
    // A new command forgets what could be redone.
    session.rotate(kCell, 0, TurnDirection::Left);
    EXPECT_FALSE(session.history().canRedo());
}

TEST(EditSession, NewOpenAndSaveStartFreshWithoutLosingTheClipboards)
{
    EditSession session = sessionWithDescriptions();
    session.copyDescription(kCellIndex);
    session.takeRegion({0, 2, 0, 2}, RegionTake::Copy);

    EXPECT_TRUE(session.newMapCleared(3).all);
    EXPECT_FALSE(session.modified());
    EXPECT_FALSE(session.history().canUndo());
    EXPECT_TRUE(session.document().descriptions.empty());
    EXPECT_TRUE(session.canPasteDescription());
    EXPECT_TRUE(session.canPasteRegion());

    MapDocument upgraded;
    upgraded.grid.fill(5);
    session.open(upgraded, true);
    EXPECT_TRUE(session.modified()) << "an upgraded map is offered for saving";
    EXPECT_EQ(session.document().grid.tile(0, 0, 0), 5);

    // A write that fails keeps the file name; one that succeeds takes the new one.
    const xemap::testing::TempFolder folder;
    const auto kept = (folder / "kept.xem").string();
    ASSERT_TRUE(session.save(kept));
    EXPECT_FALSE(session.modified());
    session.toggleDoor(kCell, North);
    EXPECT_EQ(session.save((folder / "kept.xem" / "under-a-file.xem").string()).fault().reason, "Not a directory");
    EXPECT_EQ(session.document().mapFileName, kept);
    EXPECT_TRUE(session.modified());
}
