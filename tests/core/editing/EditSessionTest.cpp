#include "core/editing/EditSession.h"
#include "core/mapfile/MapWriter.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace xemap;

namespace {

constexpr GridCell kCell{4, 5};
const int kCellIndex = cellIndexOf(kCell.x, kCell.y);

TilePtr describedTile(const std::string& name, int cellIndex = -1)
{
    auto tile = std::make_shared<XETile>();
    tile->shortName = name, tile->cellIndex = cellIndex;
    return tile;
}

// A session whose map has a description on kCell and on (9, 9), with nothing recorded yet.
EditSession sessionWithDescriptions()
{
    EditSession session;
    for (int cellIndex : {kCellIndex, cellIndexOf(9, 9)})
        session.document().descriptions.append(describedTile("Room", cellIndex));
    return session;
}

BoxGroup boxOf(int tile)
{
    BoxGroup group;
    for (GroupPiece& piece : group.pieces)
        piece = {tile, 0};
    return group;
}

Changes doorsDialogThatChangedADoor(EditSession& s)
{
    UndoSnapshot before = UndoSnapshot::take(s.document());
    s.document().grid.door(kCell.x, kCell.y, East) = 2;
    return s.doorsDialogClosed(kCell, std::move(before));
}

}  // namespace

// Which commands record undo steps (each undone back to the map before it), set the
// modified flag and give kCell to be drawn.
TEST(EditSession, EachCommandRecordsModifiesAndRedrawsAsItsRulesSay)
{
    const Region region{4, 7, 5, 8};
    struct Rule {
        const char* command;
        std::function<Changes(EditSession&)> run;
        unsigned steps;       // undo steps recorded
        std::string effects;  // m: modified, c: kCell redrawn, l: labels from position 0
    };
    const Rule rules[] = {
        {"paint press", [](auto& s) { return s.beginStroke(), s.paint(kCell, 0, 7, 1); }, 1, "c"},
        {"paint release", [](auto& s) { return s.endStroke(), Changes{}; }, 0, "m"},
        {"terrain step", [](auto& s) { return s.paintTerrain(kCell, 0, 10); }, 0, "c"},
        {"box fill", [&](auto& s) { return s.fillBox(region, 2, boxOf(30)); }, 0, "c"},
        {"double-click clear", [](auto& s) { return s.clearOverlay(kCell); }, 0, "c"},
        {"door toggle", [](auto& s) { return s.toggleDoor(kCell, North); }, 1, "mc"},
        {"rotate", [](auto& s) { return s.rotate(kCell, 0, TurnDirection::Right); }, 1, "mc"},
        {"doors dialog that changed a door", doorsDialogThatChangedADoor, 1, "mc"},
        {"doors dialog unchanged", [](auto& s) { return s.doorsDialogClosed(kCell, UndoSnapshot::take(s.document())); },
         0, ""},
        {"describe at ID 1", [](auto& s) { return s.describe(cellIndexOf(9, 9), describedTile("Hall"), 1); }, 1, "ml"},
        {"describe cancelled after record edits", [](auto& s) { return s.recordsEditedInPlace(), Changes{}; }, 0, "m"},
        {"remove all", [](auto& s) { return s.removeDescription(kCellIndex).value(); }, 1, "mcl"},
        {"copy description", [](auto& s) { return s.copyDescription(kCellIndex), Changes{}; }, 0, ""},
        {"cut description", [](auto& s) { return s.cutDescription(kCellIndex); }, 1, "mc"},
        {"paste description",
         [](auto& s) { return s.copyDescription(cellIndexOf(9, 9)), s.pasteDescription(kCellIndex); }, 1, "mc"},
        {"copy region", [&](auto& s) { return s.takeRegion(region, RegionTake::Copy); }, 1, "mc"},
        {"cut region", [&](auto& s) { return s.takeRegion(region, RegionTake::Cut); }, 1, "mc"},
        {"paste region",
         [](auto& s) {
             return s.takeRegion({0, 9, 0, 9}, RegionTake::Cut), s.pasteRegion(kCell);
         },
         2, "mc"},
        {"paste region outside the grid",
         [](auto& s) {
             return s.pasteRegion({32, 0});
         },
         0, ""},
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
