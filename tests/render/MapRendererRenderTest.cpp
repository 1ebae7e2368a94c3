#include "render/CellComposer.h"
#include "render/MaskedBlit.h"
#include "render/Tileset.h"
#include "render/Xedrawfuncs.h"
#include "support/TestSheets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <ranges>

namespace xemap {
namespace {

using namespace test;

constexpr QRgb kGrey = 0xff808080;

// A base sheet whose tile 99, the empty overlay of cell layer 1, is all transparent.
QImage baseSheet()
{
    QImage sheet = solidSheet(0);
    QPainter(&sheet).fillRect(tileArea(99), QColor::fromRgb(kTransparentColour));
    return sheet;
}

void setZoom(EditorState& state, float zoom)
{
    state.zoomFactor = zoom;
    state.cellSize = static_cast<int>(20 * zoom);
    state.quarterCellSize = state.cellSize / 4;
}

class MapRendererTest : public testing::Test {
protected:
    MapRendererTest()
        : tileset(LayerSheets{baseSheet(), overlaySheet(1), overlaySheet(2), overlaySheet(3), overlaySheet(4)})
    {
        state.layerCount = 6;
        setZoom(state, 4);
    }

    // Pixel of cell (x, y) at cell-image coordinates, read from the map image at zoom 4.
    QRgb cellPixel(int x, int y, int px, int py) const
    {
        return renderer.mapImage().pixel(renderer.cellRect(x, y).topLeft() + QPoint(px, py));
    }
    void describe(int x, int y)
    {
        auto tile = std::make_shared<XETile>();
        tile->cellIndex = cellIndexOf(x, y);
        document.descriptions.append(tile);
    }

    MapDocument document;
    EditorState state;
    Tileset tileset;
    MapRenderer renderer{document, state, tileset};
};

TEST_F(MapRendererTest, OverlaysShowThroughTheirMagentaOnEveryLayerOrAloneInTheOneLayerView)
{
    for (int layer = 2; layer < kCellLayers; ++layer) {
        SCOPED_TRACE(layer);
        document.grid = MapGrid();
        document.grid.tile(1, 1, 0) = 7;
        document.grid.tile(1, 1, layer) = 12;
        renderer.drawOneCell(1, 1);
        EXPECT_EQ(std::pair(cellPixel(1, 1, 20, 40), cellPixel(1, 1, 60, 40)),
                  std::pair(renderSheetColour(layer - 1, 12), renderSheetColour(0, 7)));
        // Above the layer count the layer is not drawn, nor are the empty layers below it.
        state.layerCount = layer;
        renderer.drawOneCell(1, 1);
        EXPECT_EQ(cellPixel(1, 1, 20, 40), renderSheetColour(0, 7));
        state.layerCount = 6;
    }

    // The one-layer view shows only the current layer, on grey.
    document.grid.tile(1, 1, 2) = 3;
    state.oneLayer = true;
    state.currentLayer = 2;
    renderer.redrawAll();
    EXPECT_EQ(std::pair(cellPixel(1, 1, 20, 40), cellPixel(1, 1, 60, 40)), std::pair(renderSheetColour(1, 3), kGrey));
    state.currentLayer = 0;
    renderer.redrawAll();
    EXPECT_EQ(cellPixel(1, 1, 20, 40), renderSheetColour(0, 7));
}

TEST_F(MapRendererTest, BaseTilesWithBadValuesDrawTheGreyBackground)
{
    std::tie(document.grid.tile(2, 0, 0), document.grid.rotation(3, 0, 0), document.grid.tile(4, 0, 0)) =
        std::tuple(100, 9, INT_MIN);
    renderer.redrawAll();
    for (int x = 2; x <= 4; ++x)
        EXPECT_EQ(cellPixel(x, 0, 40, 40), kGrey) << x;

    // The cursor preview over such a cell shows the same grey, on any layer.
    // (Overlay tiles are transparent on their right half.)
    for (int layer : {0, 2}) {
        state.currentLayer = layer;
        renderer.cursorPreview(2, 0, PaletteTile{8, 0, layer});
        EXPECT_EQ(cellPixel(2, 0, 60, 40), kGrey) << layer;
        EXPECT_EQ(renderer.previewImage().pixel(30, 20), layer == 0 ? renderSheetColour(0, 8) : kGrey) << layer;
    }
}

TEST_F(MapRendererTest, LabelsFollowListPositionsAfterRenumbering)
{
    for (int x = 0; x < 3; ++x)
        describe(x, 0);
    int shown = 0;  // each redraw is handed on to the screen once
    renderer.setPresenter([&shown] { ++shown; });
    renderer.redrawAll();
    const auto cell = [this](int x) { return renderer.mapImage().copy(renderer.cellRect(x, 0)); };
    const QImage two = cell(1);
    ASSERT_NE(cell(2), two);
    document.descriptions.removeAt(0);
    renderer.redrawLabelledCells(0, 99);
    EXPECT_EQ(std::pair(cell(2), shown), std::pair(two, 2));

    // Labels off: the cell looks like one never described.
    state.showLabels = false;
    renderer.drawOneCell(2, 0);
    EXPECT_EQ(cell(2), cell(3));
}

// Rows of the image holding a white pixel: the height of a label's box. The first column
// holds the tiles' white markers.
int whiteRows(const QImage& image)
{
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        rows += std::ranges::any_of(std::views::iota(1, image.width()),
                                    [&](int x) { return image.pixel(x, y) == 0xffffffff; });
    return rows;
}

TEST_F(MapRendererTest, LabelBoxesAreTheirFontHeightHighAndTwentyScreenPixelsInTheView)
{
    QImage exported(80, 80, QImage::Format_RGB32);
    exported.fill(kGrey);
    QPainter painter(&exported);
    writeLabel(painter, 28, kExportLabelStyle);
    painter.end();
    EXPECT_EQ(whiteRows(exported), kExportLabelStyle.fontHeight);
    describe(0, 0);
    // At zoom 1 the box's last 2 of 80 rows fall past the cell, leaving 78 rows, which the
    // scaling to 20 screen rows samples 19 times.
    for (const auto& [zoom, rows] : {std::pair{1.0f, 19}, {2.0f, 20}, {4.0f, 20}}) {
        setZoom(state, zoom);
        renderer.redrawAll();
        EXPECT_EQ(whiteRows(renderer.mapImage().copy(renderer.cellRect(0, 0))), rows) << "zoom " << zoom;
    }
}

TEST_F(MapRendererTest, DoorGlyphsFollowTheThreeGeometryFormsAndBadValuesDrawNothing)
{
    renderer.drawOneCell(0, 0);
    const QImage plain = renderer.cellImage();
    const std::tuple<int, int, DoorPosition> doors[] = {{North, 3, DoorNorth},        {East, 3, DoorEast},
                                                        {South, 3, DoorSouth},        {West, 3, DoorWest},
                                                        {Center, 3, DoorCenterHoriz}, {Center, -3, DoorCenterVert}};
    // The tileset whose geometry is applied (-1: the start-up form) and the geometry it gives.
    const std::pair<int, const DoorGeometry*> forms[] = {
        {-1, &kStartupDoorGeometry}, {1, &kSecondTilesetDoorGeometry}, {0, &kOtherTilesetDoorGeometry}};
    for (const auto& [tilesetIndex, geometry] : forms) {
        if (tilesetIndex >= 0)
            renderer.applyDoorGeometry(tilesetIndex);
        for (const auto& [slot, value, position] : doors) {
            SCOPED_TRACE(testing::Message() << tilesetIndex << " " << position);
            document.grid = MapGrid();
            document.grid.door(0, 0, slot) = value;
            renderer.drawOneCell(0, 0);
            const QImage& cell = renderer.cellImage();
            // The glyph covers exactly its bar and box, the box filled in the door's colour.
            QRect drawn;
            for (int y = 0; y < kCellImageSize; ++y)
                for (int x = 0; x < kCellImageSize; ++x)
                    if (cell.pixel(x, y) != plain.pixel(x, y))
                        drawn |= QRect(x, y, 1, 1);
            const DoorGlyph glyph = (*geometry)[position];
            EXPECT_EQ(drawn, glyph.bar.rect() | glyph.box.rect());
            EXPECT_EQ(cell.pixel(glyph.box.rect().center()), qRgb(192, 192, 192));
        }
    }

    for (const int value : {8, -8, 100, INT_MIN, INT_MAX}) {
        document.grid.door(0, 0, Center) = document.grid.door(0, 0, North) = value;
        renderer.drawOneCell(0, 0);
        EXPECT_EQ(renderer.cellImage(), plain) << value;
    }
    document.grid.door(0, 0, North) = 2;
    state.showDoors = false;
    renderer.drawOneCell(0, 0);
    EXPECT_EQ(renderer.cellImage(), plain);
}

TEST_F(MapRendererTest, CursorPreviewShowsThePaintedCellOnACheckerboard)
{
    document.grid.tile(0, 0, 0) = 4;
    document.grid.door(0, 0, North) = 3;
    state.currentLayer = 0;
    renderer.redrawAll();
    // The marker pixel at a tile's top-left corner shows with the whole tile drawn, not
    // with the outer ring hidden.
    EXPECT_EQ(cellPixel(1, 1, 0, 0), kMarker);
    renderer.cursorPreview(0, 0, PaletteTile{8, 0, 0});
    const QPoint door = kStartupDoorGeometry[DoorNorth].box.rect().center();
    EXPECT_EQ(cellPixel(0, 0, door.x(), door.y()), qRgb(192, 192, 192)) << "doors stay over the preview";
    // At zoom 4 the checkerboard has one-pixel squares: MASK1 keeps the chosen tile at odd sums.
    EXPECT_EQ(cellPixel(0, 0, 41, 40), renderSheetColour(0, 8));
    EXPECT_EQ(cellPixel(0, 0, 40, 40), renderSheetColour(0, 4));
    EXPECT_EQ(cellPixel(0, 0, 2, 40), 0xff800000);  // the outline, 2 pixels inside

    // The preview shows the cell as painting would leave it.
    document.grid.tile(3, 3, 2) = 6;
    state.currentLayer = 2;
    setZoom(state, 8);
    state.tileSource = {1, 1, 79, 79};
    renderer.redrawAll();
    EXPECT_EQ(cellPixel(1, 1, 0, 0), renderSheetColour(0, 0));
    renderer.cursorPreview(3, 3, PaletteTile{9, 1, 1});
    EXPECT_EQ(renderer.previewImage().pixel(35, 5), renderSheetColour(1, 9));  // turned: left half now on top
    EXPECT_EQ(renderer.previewImage().pixel(35, 33), renderSheetColour(0, 0));
}

TEST_F(MapRendererTest, CellsOutsideTheViewAreNotDrawn)
{
    state.viewColumn = state.viewRow = 10;
    renderer.redrawAll();
    const QImage before = renderer.mapImage();
    document.grid.fill(3);
    for (const QPoint cell :
         {QPoint(0, 0), QPoint(9, 12), QPoint(31, 31), QPoint(18, 10), QPoint(40, 3), QPoint(-1, 12)}) {
        renderer.drawOneCell(cell.x(), cell.y());
        renderer.cursorPreview(cell.x(), cell.y(), PaletteTile{});
    }
    EXPECT_EQ(renderer.mapImage(), before);

    // A view scrolled beyond the map's end leaves white instead of reading past the grid.
    setZoom(state, 1);
    state.viewColumn = 20;
    renderer.redrawAll();
    EXPECT_EQ(renderer.mapImage().pixel(639, 10), 0xffffffff);
    EXPECT_EQ(renderer.mapImage().pixel(10, 10), renderSheetColour(0, 3));
}

TEST_F(MapRendererTest, RedrawAllShowsWhatDrawingEachCellShowsAndPreviewsLeaveNoTrace)
{
    std::mt19937 random(5);
    for (int x = 0; x < kMapSize; ++x)
        for (int y = 0; y < kMapSize; ++y) {
            for (int layer = 0; layer < 3; ++layer) {
                document.grid.tile(x, y, layer) = static_cast<int>(random() % 100);
                document.grid.rotation(x, y, layer) = static_cast<int>(random() % 4);
            }
            if (random() % 5 == 0)
                document.grid.door(x, y, static_cast<int>(random() % 5)) = static_cast<int>(random() % 8);
            if (random() % 9 == 0 || (x == 6 && y == 3))
                describe(x, y);
        }
    document.grid.door(6, 3, East) = 1;
    state.currentLayer = 2;
    for (const float zoom : {1.0f, 2.0f, 4.0f, 8.0f}) {
        for (const CellRect source : {CellRect{0, 0, 80, 80}, CellRect{1, 1, 79, 79}}) {
            SCOPED_TRACE(testing::Message() << zoom << " " << source.left);
            setZoom(state, zoom);
            state.tileSource = source;
            state.viewColumn = zoom > 2 ? 5 : 0;
            renderer.redrawAll();
            MapRenderer cellByCell(document, state, tileset);
            for (int x = 0; x < kMapSize; ++x)
                for (int y = 0; y < kMapSize; ++y)
                    cellByCell.drawOneCell(x, y);
            EXPECT_EQ(renderer.mapImage(), cellByCell.mapImage());
            const QImage before = renderer.mapImage();
            renderer.cursorPreview(6, 3, PaletteTile{9, 1, 1});
            renderer.restoreUnderCursor(6, 3);
            EXPECT_EQ(renderer.mapImage(), before);
        }
    }
}

TEST(MaskedBlitTest, OpaquePixelsReplaceAndMagentaBlackensInTheTile)
{
    QImage destination(80, 80, QImage::Format_RGB32), tile(80, 80, QImage::Format_RGB32);
    destination.fill(qRgb(10, 20, 30));
    tile.fill(kTransparentColour);
    tile.setPixel(5, 0, qRgb(200, 100, 50));
    maskedBlit(destination, tile);
    EXPECT_EQ(destination.pixel(5, 0), qRgb(200, 100, 50));
    EXPECT_EQ(destination.pixel(6, 0), qRgb(10, 20, 30));
    EXPECT_EQ(tile.pixel(6, 0), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace xemap
