#include "support/MainWindowTestSupport.h"

#include <QLabel>

#include <array>
#include <tuple>

using namespace xemap;
using namespace xemap::testing;

namespace {

class MouseWindowTest : public MainWindowFixture {
protected:
    // Picks palette tile `tile` of the base tab with the large palette.
    void pickBaseTile(int tile)
    {
        palette().TileBoxMouseUp(Qt::LeftButton, (tile % 10) * 40 + 5, (tile / 10) * 40 + 5);
    }
};

TEST_F(MouseWindowTest, ADragPaintsAndShowsEveryCellAndUndoesInOneStep)
{
    loadColourTileset();
    pickBaseTile(23);
    drag({cellCentre(2, 5), cellCentre(3, 5), cellCentre(4, 5), cellCentre(4, 6)});
    for (auto [x, y] : {std::pair{2, 5}, {3, 5}, {4, 5}, {4, 6}})
        EXPECT_EQ(grid().tile(x, y, 1), 23) << x << "," << y;
    EXPECT_EQ(grid().tile(5, 5, 1), 99);
    EXPECT_EQ(form().findChild<QLabel*>("XTile")->text(), "5");
    EXPECT_EQ(form().findChild<QLabel*>("YTile")->text(), "7");
    form().MapBoxMouseMove({}, 300, 300);
    EXPECT_EQ(mapPixel(cellCentre(3, 5)), tileColour(0, 23));

    saveTo("saved.xem");
    button("UndoButton")->click();
    EXPECT_EQ(grid(), MapGrid());
    EXPECT_EQ(mapPixel(cellCentre(3, 5)), tileColour(0, 0));
    EXPECT_TRUE(form().session().modified()) << "an undo after a save leaves the map modified";
}

TEST_F(MouseWindowTest, ShiftClickRotatesThePaletteTileWithoutPainting)
{
    pickBaseTile(23);
    drag({cellCentre(6, 6)}, Qt::ShiftModifier);
    EXPECT_EQ(palette().selectedRotation(), 3);
    EXPECT_EQ(grid().tile(6, 6, 1), 99);
    EXPECT_FALSE(form().history().canUndo());
    EXPECT_TRUE(form().session().modified()) << "a release in normal draw marks the map modified";
    form().MapBoxMouseUp(Qt::RightButton, Qt::ShiftModifier, 10, 10);
    EXPECT_EQ(palette().selectedRotation(), 0);
}

TEST_F(MouseWindowTest, RegionSelectionCoversTheDraggedCellsAndStaysOnTheGrid)
{
    // Dragged from, to, and the selected columns and rows as first and end.
    const std::tuple<QPoint, QPoint, std::array<int, 4>> cases[] = {
        {cellCentre(5, 5), cellCentre(3, 7), {3, 6, 5, 8}},
        {cellCentre(31, 31), cellCentre(31, 31), {30, 32, 30, 32}},
        {cellCentre(30, 2), QPoint(900, -300), {30, 32, 0, 3}},
    };
    for (const auto& [from, to, expected] : cases) {
        button("SelectButton")->click();
        EXPECT_EQ(form().findChild<QLabel*>("Label1")->text(), "Select Region");
        drag({from, to});
        const Region& r = form().state().region;
        EXPECT_EQ((std::array{r.firstColumn, r.endColumn, r.firstRow, r.endRow}), expected);
        EXPECT_TRUE(form().CutRegion->isEnabled());
    }
    EXPECT_EQ(grid(), MapGrid()) << "selecting changes nothing";
    EXPECT_FALSE(form().session().modified());

    palette().TileBoxMouseUp(Qt::LeftButton, 45, 5);
    EXPECT_FALSE(form().state().regionSelected);
    EXPECT_FALSE(form().CopyRegion->isEnabled());
}

TEST_F(MouseWindowTest, PointerPositionsOffTheGridNeverPaint)
{
    pickBaseTile(7);
    button("ZoomInButton")->click();
    form().MapBoxMouseDown(Qt::LeftButton, {}, 100, 100);
    // Pixels divide toward zero: less than a cell left of the view is still column 0.
    for (QPoint p : {QPoint(-30, 100), QPoint(-50, 140), QPoint(100, 2000), QPoint(5000, 5000)})
        form().MapBoxMouseMove({}, p.x(), p.y());
    form().MapBoxMouseUp(Qt::LeftButton, {}, 5000, 5000);
    MapGrid expected;
    expected.tile(2, 2, 1) = 7;
    expected.tile(0, 2, 1) = 7;
    EXPECT_EQ(grid(), expected);
}

}  // namespace
