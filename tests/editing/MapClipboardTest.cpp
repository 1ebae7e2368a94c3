#include "document/UndoHistory.h"
#include "editing/MapClipboard.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace xemap;

namespace {

TilePtr describe(MapDocument& document, int column, int row, const std::string& name) {
    auto tile = std::make_shared<XETile>();
    tile->cellIndex = cellIndexOf(column, row);
    tile->shortName = name;
    tile->npcs.push_back(std::make_shared<XENPC>());
    document.descriptions.append(tile);
    return tile;
}

void paint(MapDocument& document, int column, int row, int tile) {
    document.grid.tile(column, row, 0) = tile;
    document.grid.rotation(column, row, 0) = 2;
    document.grid.door(column, row, North) = 3;
}

bool contains(const ChangedCells& cells, int cellIndex) { return std::ranges::find(cells, cellIndex) != cells.end(); }

TEST(RegionClipboard, CopyThenPasteMovesTheDescriptionAndCopiesTheTiles) {
    MapDocument document;
    paint(document, 2, 3, 7);
    const TilePtr tile = describe(document, 2, 3, "Inn");
    RegionClipboard clipboard;
    takeRegion(document, {2, 4, 3, 5}, RegionTake::Copy, clipboard);
    ASSERT_EQ(clipboard.size(), 4u);
    EXPECT_EQ(clipboard[1].rowOffset, 1);  // column by column
    EXPECT_EQ(tile->cellIndex, -1);
    EXPECT_EQ(document.grid.tile(2, 3, 0), 7);

    const ChangedCells first = pasteRegion(document, clipboard, 10, 10);
    EXPECT_EQ(document.grid.tile(10, 10, 0), 7);
    EXPECT_EQ(document.grid.rotation(10, 10, 0), 2);
    EXPECT_EQ(document.grid.door(10, 10, North), 3);
    EXPECT_EQ(tile->cellIndex, cellIndexOf(10, 10));
    EXPECT_TRUE(contains(first, cellIndexOf(11, 11)));

    // Pasted again, the description moves on and its former cell is redrawn.
    const ChangedCells second = pasteRegion(document, clipboard, 20, 5);
    EXPECT_EQ(tile->cellIndex, cellIndexOf(20, 5));
    EXPECT_EQ(document.grid.tile(10, 10, 0), 7);
    EXPECT_TRUE(contains(second, cellIndexOf(10, 10)));
}

TEST(RegionClipboard, CutClearsCellsAndUndoReattaches) {
    MapDocument document;
    paint(document, 0, 0, 5);
    const TilePtr tile = describe(document, 0, 0, "Gate");
    UndoHistory history;
    history.record(document);
    RegionClipboard clipboard;
    const ChangedCells changed = takeRegion(document, {0, 2, 0, 1}, RegionTake::Cut, clipboard);
    EXPECT_EQ(changed.size(), 2u);
    EXPECT_EQ(document.grid.tile(0, 0, 0), 0);
    EXPECT_EQ(document.grid.door(0, 0, North), 0);
    EXPECT_EQ(tile->cellIndex, -1);

    ASSERT_TRUE(history.undo(document));
    EXPECT_EQ(document.grid.tile(0, 0, 0), 5);
    EXPECT_EQ(document.descriptions.at(0)->cellIndex, 0);
}

TEST(RegionClipboard, PasteAttachesOnlyDescriptionsFromTheRegionThatAreStillListed) {
    MapDocument document;
    const TilePtr first = describe(document, 1, 1, "A");
    const TilePtr second = describe(document, 2, 1, "B");
    RegionClipboard clipboard;
    takeRegion(document, {1, 3, 1, 2}, RegionTake::Copy, clipboard);
    // The list changes: "A" is deleted, a new description takes its position.
    document.descriptions.removeAt(0);
    const TilePtr newcomer = describe(document, 9, 9, "New");
    document.descriptions.placeBefore(newcomer, 1, 1);

    pasteRegion(document, clipboard, 5, 5);
    EXPECT_EQ(second->cellIndex, cellIndexOf(6, 5));
    EXPECT_EQ(newcomer->cellIndex, cellIndexOf(9, 9));
    EXPECT_EQ(document.descriptions.size(), 2);
    EXPECT_FALSE(document.descriptions.find(cellIndexOf(5, 5)));
    EXPECT_EQ(first->cellIndex, -1);
}

TEST(RegionClipboard, PasteAtTheBottomRightCornerIsClippedToTheGrid) {
    MapDocument document;
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row) paint(document, column, row, 4);
    const TilePtr tile = describe(document, 2, 2, "Far");
    RegionClipboard clipboard;
    takeRegion(document, {-2, 3, -1, 3}, RegionTake::Copy, clipboard);
    EXPECT_EQ(clipboard.size(), 9u);  // the region itself is clipped too

    const ChangedCells changed = pasteRegion(document, clipboard, 31, 31);
    EXPECT_EQ(changed, ChangedCells{cellIndexOf(31, 31)});
    EXPECT_EQ(document.grid.tile(31, 31, 0), 4);
    EXPECT_EQ(tile->cellIndex, -1);  // its cell fell beyond the grid

    EXPECT_TRUE(pasteRegion(document, clipboard, 32, 0).empty());
    EXPECT_TRUE(pasteRegion(document, clipboard, -1, 5).empty());
}

TEST(DescriptionClipboard, CutPasteRoundTripSharesRecordsAndAllowsOnePaste) {
    MapDocument document;
    describe(document, 0, 0, "One");
    const TilePtr two = describe(document, 1, 0, "Two");
    describe(document, 2, 0, "Three");
    describe(document, 3, 0, "Four");
    DescriptionClipboard clipboard;
    EXPECT_FALSE(clipboard.canPaste());
    EXPECT_TRUE(clipboard.cutFrom(document, cellIndexOf(5, 5)).empty());

    const ChangedCells cut = clipboard.cutFrom(document, cellIndexOf(1, 0));
    EXPECT_EQ(cut, (ChangedCells{1, 2, 3}));  // the cut cell and the renumbered labels
    EXPECT_EQ(document.descriptions.size(), 3);
    EXPECT_EQ(clipboard.held(), two);
    ASSERT_TRUE(clipboard.canPaste());

    EXPECT_EQ(clipboard.pasteTo(document, cellIndexOf(2, 0)), ChangedCells{2});
    const TilePtr pasted = document.descriptions.at(3);
    EXPECT_NE(pasted, two);
    EXPECT_EQ(pasted->cellIndex, 2);
    EXPECT_EQ(pasted->npcs.front(), two->npcs.front());
    // The cell keeps its own description first.
    EXPECT_EQ(document.descriptions.descriptionOf(2)->shortName, "Three");
    EXPECT_FALSE(clipboard.canPaste());
    EXPECT_TRUE(clipboard.pasteTo(document, 9).empty());
}

TEST(DescriptionClipboard, ActsOnlyOnTheCellsOwnDescription) {
    MapDocument document;
    const TilePtr detached = describe(document, 0, 0, "Detached");
    detached->cellIndex = -1;
    describe(document, 4, 0, "Own");
    DescriptionClipboard clipboard;
    // A cursor off the grid must not reach the detached description.
    EXPECT_FALSE(clipboard.copyFrom(document, -1));
    EXPECT_TRUE(clipboard.cutFrom(document, -1).empty());
    EXPECT_TRUE(clipboard.pasteTo(document, kCellCount).empty());
    // A second cut on the same cell finds nothing rather than a neighbour.
    EXPECT_FALSE(clipboard.cutFrom(document, 4).empty());
    EXPECT_TRUE(clipboard.cutFrom(document, 4).empty());
    EXPECT_EQ(document.descriptions.size(), 1);
}

TEST(RotateTile, WrapsAndStaysOnTheGrid) {
    MapGrid grid;
    EXPECT_EQ(rotateTile(grid, 3, 4, 2, TurnDirection::Left), ChangedCells{cellIndexOf(3, 4)});
    EXPECT_EQ(grid.rotation(3, 4, 2), 3);
    rotateTile(grid, 3, 4, 2, TurnDirection::Right);
    EXPECT_EQ(grid.rotation(3, 4, 2), 0);
    const MapGrid before = grid;
    EXPECT_TRUE(rotateTile(grid, 32, 0, 0, TurnDirection::Right).empty());
    EXPECT_TRUE(rotateTile(grid, 0, -1, 0, TurnDirection::Right).empty());
    EXPECT_EQ(grid, before);
}

}  // namespace
