#include "app/MainWindowTestSupport.h"

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

TEST_F(PopupWindowTest, CopyRegionPastesTilesTwiceAndTheDescriptionFollowsTheLatestPaste)
{
    form().document().grid.tile(1, 1, 1) = 12;
    form().document().grid.door(2, 2, East) = 4;
    const TilePtr inn = describe(1, 1, "Inn");
    selectRegion(1, 1, 2, 2);
    ASSERT_TRUE(form().CopyRegion->isEnabled());
    EXPECT_FALSE(form().PasteRegion->isEnabled());
    form().CopyRegion->trigger();
    EXPECT_EQ(inn->cellIndex, -1) << "copying detaches the description until a paste";
    EXPECT_TRUE(form().PasteRegion->isEnabled());
    EXPECT_TRUE(form().state().modified);

    hover(10, 10);
    form().PasteRegion->trigger();
    hover(20, 5);
    form().PasteRegion->trigger();
    EXPECT_EQ(grid().tile(1, 1, 1), 12);
    EXPECT_EQ(grid().tile(10, 10, 1), 12);
    EXPECT_EQ(grid().door(21, 6, East), 4);
    EXPECT_EQ(inn->cellIndex, cellIndexOf(20, 5));
    EXPECT_EQ(descriptions().size(), 1);

    undo();
    EXPECT_EQ(grid().tile(20, 5, 1), emptyTile(1));
    EXPECT_EQ(descriptions().at(0)->cellIndex, cellIndexOf(10, 10));
}

TEST_F(PopupWindowTest, CutRegionPastedAtTheCornerIsClippedAndAttachesOnlyListedDescriptions)
{
    for (int x = 4; x < 7; ++x)
        form().document().grid.tile(x, 4, 0) = 30 + x;
    describe(4, 4, "Well");
    const TilePtr gate = describe(6, 4, "Gate");
    selectRegion(4, 4, 6, 4);
    form().CutRegion->trigger();
    EXPECT_EQ(grid().tile(5, 4, 0), 0);

    // The description deleted since the cut stays deleted; the other one follows its cell.
    form().document().descriptions.removeAt(0);
    const TilePtr newcomer = describe(0, 0, "Newcomer");
    hover(30, 31);
    form().PasteRegion->trigger();
    EXPECT_EQ(grid().tile(30, 31, 0), 34);
    EXPECT_EQ(grid().tile(31, 31, 0), 35);
    EXPECT_EQ(gate->cellIndex, -1) << "its cell fell beyond the grid";
    EXPECT_EQ(newcomer->cellIndex, 0);
    hover(0, 20);
    form().PasteRegion->trigger();
    EXPECT_EQ(gate->cellIndex, cellIndexOf(2, 20));
    EXPECT_EQ(newcomer->cellIndex, 0);
    EXPECT_EQ(descriptions().size(), 2);
}

TEST_F(PopupWindowTest, CutDescriptionRenumbersAndEachCutOrCopyAllowsOnePaste)
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
    EXPECT_EQ(descriptions().find(cellIndexOf(3, 0)), 2) << "former ID 4 is now 3";
    EXPECT_TRUE(form().state().modified);

    // A second cut by key finds no description of the pressed cell and must not take another.
    form().FormKeyUp({Key::X, false, true, true});
    EXPECT_EQ(descriptions().size(), 4);

    hover(0, 0);
    form().PasteDesc->trigger();
    EXPECT_FALSE(form().PasteDesc->isEnabled());
    ASSERT_EQ(descriptions().size(), 5);
    EXPECT_EQ(descriptions().at(4)->cellIndex, 0) << "the described cell gets a second description";
    EXPECT_NE(descriptions().at(4), third) << "a paste appends a copy";
    EXPECT_EQ(descriptions().find(0), 0);

    undo();
    undo();
    EXPECT_EQ(descriptions().at(2), third);
}

TEST_F(PopupWindowTest, RotateTurnsTheCursorCellOnTheCurrentLayerAndWraps)
{
    palette().TileBoxMouseUp(Qt::LeftButton, 45, 45);
    ASSERT_EQ(form().state().currentLayer, 1);
    rightPress(3, 3);
    form().LRotate->trigger();
    EXPECT_EQ(grid().rotation(3, 3, 1), 3);
    form().RRotate->trigger();
    EXPECT_EQ(grid().rotation(3, 3, 1), 0);
    EXPECT_TRUE(form().state().modified);
    undo();
    EXPECT_EQ(grid().rotation(3, 3, 1), 3);
}

TEST_F(PopupWindowTest, DoorsDialogChangesAreUndoneAtOnceAndMarkTheMapOnlyWhenChanged)
{
    rightPress(5, 5);
    prompter.expectDialog([](QDialog&) { return int(QDialog::Rejected); });
    form().DoorItem->trigger();
    EXPECT_FALSE(form().state().modified);
    EXPECT_EQ(prompter.dialogsShown, QStringList{"DoorForm"});

    prompter.expectDialog([](QDialog& dialog) {
        auto* positions = dialog.findChild<QListWidget*>("DoorList");
        auto* types = dialog.findChild<QComboBox*>("DoorType");
        positions->setCurrentRow(0);
        types->setCurrentIndex(2);
        positions->setCurrentRow(5);
        types->setCurrentIndex(3);
        return int(QDialog::Accepted);
    });
    form().DoorItem->trigger();
    EXPECT_EQ(grid().door(5, 5, North), 2);
    EXPECT_EQ(grid().door(5, 5, Center), -3);
    EXPECT_TRUE(form().state().modified);
    undo();
    EXPECT_EQ(grid().door(5, 5, North), 0);
    EXPECT_EQ(grid().door(5, 5, Center), 0);
}

} // namespace
