#include "core/editing/MapClipboard.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace xemap;

namespace {

TilePtr describe(MapDocument& document, int column, int row, const std::string& name)
{
    auto tile = std::make_shared<XETile>();
    tile->cellIndex = cellIndexOf(column, row);
    tile->shortName = name;
    tile->npcs.push_back(std::make_shared<XENPC>());
    document.descriptions.append(tile);
    return tile;
}

void paint(MapDocument& document, int column, int row, int tile)
{
    document.grid.tile(column, row, 0) = tile;
    document.grid.rotation(column, row, 0) = 2;
    document.grid.door(column, row, North) = 3;
}

bool contains(const CellList& cells, GridCell cell) { return std::ranges::find(cells, cell) != cells.end(); }

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
    EXPECT_EQ(document.grid.tile(10, 10, 0), 7);
    EXPECT_EQ(document.grid.rotation(10, 10, 0), 2);
    EXPECT_EQ(document.grid.door(10, 10, North), 3);
    EXPECT_EQ(tile->cellIndex, cellIndexOf(10, 10));

    // Pasted again, the description moves on and its former cell is redrawn.
    const CellList second = pasteRegion(document, clipboard, 20, 5);
    EXPECT_EQ(tile->cellIndex, cellIndexOf(20, 5));
    EXPECT_TRUE(contains(second, {10, 10}));

    // A cut clears what it takes and detaches the description again.
    document.grid.tile(21, 5, 1) = 14;
    document.grid.tile(21, 5, 3) = 8;
    EXPECT_EQ(takeRegion(document, {20, 22, 5, 6}, RegionTake::Cut, clipboard).size(), 2u);
    for (const int column : {20, 21}) {
        // Each layer gets its own empty value: 99 on layer 1 lets a later base tile show.
        for (int layer = 0; layer < kCellLayers; ++layer)
            EXPECT_EQ(document.grid.tile(column, 5, layer), emptyTile(layer)) << column << " layer " << layer;
    }
    EXPECT_EQ(document.grid.rotation(20, 5, 0), 0);
    EXPECT_EQ(document.grid.door(20, 5, North), 0);
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
}

TEST(DescriptionClipboard, CutPasteRoundTripSharesRecordsAndAllowsOnePaste)
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
}

TEST(DescriptionClipboard, ActsOnlyOnTheCellsOwnDescription)
{
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

TEST(RotateTile, LeavesCellsOffTheGridAlone)
{
    MapGrid grid;
    EXPECT_TRUE(rotateTile(grid, 32, 0, 0, TurnDirection::Right).empty());
    EXPECT_TRUE(rotateTile(grid, 0, -1, 0, TurnDirection::Left).empty());
    EXPECT_EQ(grid, MapGrid());
}

}  // namespace
