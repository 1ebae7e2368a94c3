#include "support/MainWindowTestSupport.h"

#include <QTabWidget>

using namespace xemap;
using namespace xemap::testing;

namespace {

class BrushWindowTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        writeBytes(folder.filePath("layer.grp").toStdString(),
                   "B: 50 0 51 0 52 0 53 0 : House : house.bmp\r\nS: 10 0 11 0 12 0 13 0 : "
                   "-1 -1 0 -1 -1 0 -1 -1 0 -1 -1 0 : -1 -1 0 -1 -1 0 -1 -1 0 -1 -1 0 : Wall : wall.bmp\r\n");
        QImage(16, 16, QImage::Format_RGB32).save(folder.filePath("house.bmp"), "BMP");
        loadColourTileset();
    }
    QString status() { return label("Label1"); }
    void showLayerTab() { palette().findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1); }
    void click(int column, int row) { drag({cellCentre(column, row)}); }
    std::pair<int, int> cell(int x, int y, int layer)
    {
        return {grid().tile(x, y, layer), grid().rotation(x, y, layer)};
    }
};

TEST_F(BrushWindowTest, AMissingGroupIconIsNamedOnceAndTheRestOfTheTilesetLoads)
{
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.front().contains("wall.bmp")) << prompter.messages.front().toStdString();
    showLayerTab();
    palette().GroupButtonClick(1);
    EXPECT_EQ(status(), "Wall") << "the group whose icon is missing still works";
}

TEST_F(BrushWindowTest, ARightClickOnABoxPieceFramesABuildingWithOneUndoStep)
{
    showLayerTab();
    palette().TileBoxMouseUp(Qt::RightButton, 0 * 40 + 5, 5 * 40 + 5);
    EXPECT_EQ(status(), "House");
    EXPECT_EQ(palette().paletteImage(1).pixel(2, 5 * 40 + 10), qRgb(0, 128, 0)) << "green frame";

    click(3, 3);
    EXPECT_EQ(cell(4, 4, 2), std::pair(51, 2));
    EXPECT_EQ(mapPixel(cellCentre(4, 4)), tileColour(1, 51));
    button("UndoButton")->click();
    EXPECT_EQ(grid(), MapGrid());
}

TEST_F(BrushWindowTest, ConnectorStrokesJoinTheirPieces)
{
    showLayerTab();
    palette().GroupButtonClick(1);
    EXPECT_EQ(status(), "Wall");
    drag({cellCentre(5, 8), cellCentre(6, 8), cellCentre(7, 8)});
    click(6, 9);
    EXPECT_EQ(cell(6, 8, 2), std::pair(12, 0)) << "the middle becomes a T";
    EXPECT_EQ(mapPixel(cellCentre(6, 8)), tileColour(1, 12));
}

TEST_F(BrushWindowTest, TerrainBlendsIntoTheNeighbours)
{
    palette().TileBoxMouseUp(Qt::LeftButton, 5, 2 * 40 + 5);
    click(10, 10);
    EXPECT_EQ(cell(11, 11, 1), std::pair(21, 2));
    EXPECT_EQ(mapPixel(cellCentre(10, 9)), tileColour(0, 22));

    // The pointer arrives before it presses and drags on: the pressed cell keeps its terrain.
    hover(20, 20);
    drag({cellCentre(20, 20), cellCentre(25, 20)});
    EXPECT_EQ(mapPixel(cellCentre(20, 20)), tileColour(0, 20));
}

}  // namespace
