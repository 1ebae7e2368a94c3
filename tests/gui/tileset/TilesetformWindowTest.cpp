#include "core/files/AllocationLimit.h"
#include "support/MainWindowTestSupport.h"
#include "support/WindowTest.h"

using namespace xemap;
using namespace xemap::testing;

namespace {

class TilesetformWindowTest : public ColourMapFixture {
protected:
    QTabWidget* tabs() { return palette().findChild<QTabWidget*>("PageControl1"); }
    QString title() { return palette().findChild<QLineEdit*>("TileTitle")->text(); }
    QRgb palettePixel(int layer, int x, int y) { return palette().paletteImage(layer).pixel(x, y); }
};

TEST_F(TilesetformWindowTest, ShowsTheLoadedLayersAndAReleasePicksTheTileUnderItAtEitherSize)
{
    EXPECT_EQ(title(), "Colours");
    EXPECT_EQ(std::pair(tabs()->isTabVisible(1), tabs()->isTabVisible(2)), std::pair(true, false));
    // Base tiles show over black, overlay tiles over base tile 0; tile 12 sits in cell (2, 1).
    EXPECT_EQ(palettePixel(0, 2 * 40 + 20, 40 + 20), tileColour(0, 12));
    EXPECT_EQ(palettePixel(1, 2 * 40 + 20, 40 + 20), tileColour(1, 12));

    palette().TileBoxMouseUp(Qt::LeftButton, 79, 41);
    EXPECT_EQ(std::pair(palette().selectedTile(), form().state().currentLayer), std::pair(11, 1));
    // The frame sits two pixels inside the cell, in dark red.
    EXPECT_EQ(palettePixel(0, 40 + 2, 40 + 10), qRgb(128, 0, 0));

    action("ViewLargeTileset")->trigger();
    EXPECT_EQ(palette().paletteImage(0).size(), QSize(200, 200));
    palette().TileBoxMouseUp(Qt::LeftButton, 79, 41);
    EXPECT_EQ(palette().selectedTile(), 23);

    palette().TileBoxMouseUp(Qt::LeftButton, 10, 230);
    EXPECT_EQ(palette().selectedTile(), 23) << "a release below the grid changes nothing";
    palette().GroupButtonClick(0);
    EXPECT_EQ(palette().selectedTile(), 23) << "a group slot this tileset leaves empty changes nothing";
}

TEST_F(TilesetformWindowTest, TerrainBoxesDecideBetweenTerrainAndPlainBaseTiles)
{
    auto* box4 = palette().findChild<QCheckBox*>("CheckBox4");
    palette().TileBoxMouseUp(Qt::LeftButton, 5, 3 * 40 + 5);
    EXPECT_EQ(label("Label1"), "Draw Terrain");

    box4->click();
    EXPECT_EQ(label("Label1"), "Normal Mode");
    palette().TileBoxMouseUp(Qt::LeftButton, 5, 3 * 40 + 5);
    drag({cellCentre(4, 4)});
    EXPECT_EQ(grid().tile(4, 4, 0), 30) << "a plain base tile, not terrain";

    box4->click();
    EXPECT_EQ(form().state().editMode, TerrainDrawing);
    EXPECT_EQ(palette().selectedTile(), 30);
}

TEST_F(TilesetformWindowTest, TabsSetTheCurrentLayerAndKeepTheirOwnSelectionWhichTheRotationButtonsTurn)
{
    palette().TileBoxMouseUp(Qt::LeftButton, 3 * 40 + 5, 5);
    tabs()->setCurrentIndex(1);
    EXPECT_EQ(std::pair(form().state().currentLayer, palette().selectedTile()), std::pair(2, 0));
    tabs()->setCurrentIndex(0);
    EXPECT_EQ(std::pair(form().state().currentLayer, palette().selectedTile()), std::pair(0, 3)) << "Base is layer 0";
    button("RotLeftButton")->click();
    EXPECT_EQ(std::pair(palette().selectedRotation(), prompter.messages), std::pair(3, QStringList()));
    button("RotRightButton")->click();
    EXPECT_EQ(palette().selectedRotation(), 0);
}

TEST_F(TilesetformWindowTest, ATilesetThatMemoryCannotHoldLeavesTheMapAndPaletteAsTheyWere)
{
    palette().TileBoxMouseUp(Qt::LeftButton, 5 * 40 + 5, 5);
    drag({cellCentre(3, 4)});
    const MapGrid painted = grid();
    const QRgb shown = mapPixel(cellCentre(3, 4));
    {
        const ScopedAllocationLimit limit(1'000'000);
        answerYesNo(false);
        form().NewClick("Tileset0");
    }
    EXPECT_EQ(prompter.messages, QStringList("Not enough memory to load the tileset."));
    EXPECT_EQ(std::tuple(title(), palettePixel(0, 2 * 40 + 20, 40 + 20), grid() == painted, mapPixel(cellCentre(3, 4)),
                         form().session().modified()),
              std::tuple("Colours", tileColour(0, 12), true, shown, true));

    // With memory to spare the same command loads it.
    answerYesNo(false);
    form().NewClick("Tileset0");
    EXPECT_EQ(title(), "City");
}

}  // namespace
