#include "core/document/UndoHistory.h"

#include <gtest/gtest.h>

using namespace xemap;

void paint(MapDocument& document, int tile) { document.grid.tile(3, 4, 0) = tile; }

TEST(MapGridTest, StartsEmptyAndClearsOnlyLayersBelowTheCount)
{
    MapGrid grid;
    EXPECT_EQ(grid.tile(0, 0, 1), 99);

    grid.fill(7);
    grid.door(2, 2, Center) = -3;
    EXPECT_EQ(grid.tile(10, 10, 1), 7);
    EXPECT_EQ(grid.door(2, 2, Center), -3) << "fill keeps doors";

    grid.clear(3);  // layers at or above the count stay
    EXPECT_EQ((std::array{grid.tile(10, 10, 0), grid.tile(10, 10, 1), grid.tile(10, 10, 2), grid.tile(10, 10, 3)}),
              (std::array{0, 99, 0, 7}));
    EXPECT_FALSE(grid.hasDoor(2, 2));
}

TEST(UndoHistoryTest, StacksHoldFiftyOneAndANewEditForgetsRedo)
{
    MapDocument document;
    UndoHistory history;
    for (int edit = 1; edit <= 60; ++edit) {
        history.record(document);
        paint(document, edit);
    }
    int undos = 0;
    while (history.undo(document))
        ++undos;
    EXPECT_EQ(undos, 51);
    EXPECT_EQ(document.grid.tile(3, 4, 0), 9) << "the state before edit 10 is the oldest kept";
    EXPECT_EQ(history.redoDepth(), 51u);

    history.redo(document);
    EXPECT_EQ(document.grid.tile(3, 4, 0), 10);
    history.record(document);
    paint(document, 100);
    EXPECT_FALSE(history.canRedo());
    ASSERT_TRUE(history.undo(document));  // something on both stacks for forget to drop
    history.forget();
    EXPECT_FALSE(history.canUndo() || history.canRedo());
}
