#include "support/MainWindowTestSupport.h"

#include <QComboBox>
#include <QListWidget>
#include <QMenu>

using namespace xemap;
using namespace xemap::testing;

namespace {

class PopupWindowTest : public ColourMapFixture {
protected:
    // A right press on the cell: the cursor moves there and the menu opens.
    void rightPress(int column, int row)
    {
        const QPoint p = cellCentre(column, row);
        form().MapBoxMouseDown(Qt::RightButton, {}, p.x(), p.y());
        form().MapMenu->hide();
    }
    void selectRegion(int firstColumn, int firstRow, int lastColumn, int lastRow)
    {
        form().SelectButtonClick();
        drag({cellCentre(firstColumn, firstRow), cellCentre(lastColumn, lastRow)});
    }
    const DescriptionList& descriptions() { return form().document().descriptions; }
    void undo() { button("UndoButton")->click(); }
};

TEST_F(PopupWindowTest, RegionsPasteAtTheCursorAndACutClearsThem)
{
    form().document().grid.tile(1, 1, 1) = 12;
    describe(1, 1, "Inn");
    selectRegion(1, 1, 2, 2);
    EXPECT_FALSE(form().PasteRegion->isEnabled());
    form().CopyRegion->trigger();
    EXPECT_TRUE(form().session().modified()) << "copying detaches the description, which changes the map";

    hover(10, 10);
    form().PasteRegion->trigger();
    EXPECT_EQ(grid().tile(10, 10, 1), 12);
    undo();
    EXPECT_EQ(grid().tile(10, 10, 1), emptyTile(1));

    selectRegion(1, 1, 2, 2);
    form().CutRegion->trigger();
    EXPECT_EQ(grid().tile(1, 1, 1), 99) << "layer 1 is emptied with its own empty value";
    // A base tile laid on the cut cell later shows, with no overlay hiding it.
    form().document().grid.tile(1, 1, 0) = 30;
    form().redrawAll();
    hover(10, 10);
    EXPECT_EQ(mapPixel(cellCentre(1, 1)), tileColour(0, 30));
}

TEST_F(PopupWindowTest, CutDescriptionAllowsOnePasteAndUndoRestoresIt)
{
    for (int i = 0; i < 5; ++i)
        describe(i, 0, "");
    rightPress(9, 9);
    EXPECT_FALSE(form().CutDesc->isEnabled());
    rightPress(2, 0);
    ASSERT_TRUE(form().CutDesc->isEnabled());
    const TilePtr third = descriptions().at(2);
    form().CutDesc->trigger();
    EXPECT_EQ(descriptions().size(), 4);

    // A second cut by key finds no description of the pressed cell and must not take another.
    form().FormKeyUp({Key::X, false, true, true});
    EXPECT_EQ(descriptions().size(), 4);

    hover(0, 0);
    form().PasteDesc->trigger();
    EXPECT_FALSE(form().PasteDesc->isEnabled());
    EXPECT_EQ(descriptions().size(), 5);

    undo();
    undo();
    EXPECT_EQ(descriptions().at(2), third);
}

TEST_F(PopupWindowTest, RotateTurnsTheCursorCellOnTheCurrentLayerAndWraps)
{
    palette().TileBoxMouseUp(Qt::LeftButton, 45, 45);  // a tile of layer 1
    rightPress(3, 3);
    form().LRotate->trigger();
    EXPECT_EQ(grid().rotation(3, 3, 1), 3);
    form().RRotate->trigger();
    EXPECT_EQ(grid().rotation(3, 3, 1), 0);
    undo();
    EXPECT_EQ(grid().rotation(3, 3, 1), 3);
}

TEST_F(PopupWindowTest, DoorsDialogChangesAreUndoneAtOnceAndMarkTheMapOnlyWhenChanged)
{
    rightPress(5, 5);
    prompter.expectDialog([](QDialog&) { return int(QDialog::Rejected); });
    form().DoorItem->trigger();
    EXPECT_FALSE(form().session().modified());
    // A dialog that changes nothing leaves the history as it was, redo included.
    form().RRotate->trigger();
    undo();
    prompter.expectDialog([](QDialog&) { return int(QDialog::Rejected); });
    form().DoorItem->trigger();
    EXPECT_FALSE(button("UndoButton")->isEnabled());
    EXPECT_TRUE(button("RedoButton")->isEnabled());

    prompter.expectDialog([](QDialog& dialog) {
        for (auto [row, type] : {std::pair{0, 2}, {5, 3}}) {
            dialog.findChild<QListWidget*>("DoorList")->setCurrentRow(row);
            dialog.findChild<QComboBox*>("DoorType")->setCurrentIndex(type);
        }
        return int(QDialog::Accepted);
    });
    form().DoorItem->trigger();
    EXPECT_EQ(grid().door(5, 5, Center), -3);
    EXPECT_TRUE(form().session().modified());
    undo();
    EXPECT_EQ(grid(), MapGrid());
}

}  // namespace
