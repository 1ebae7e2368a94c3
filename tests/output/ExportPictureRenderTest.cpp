#include "output/ExportPicture.h"
#include "render/TestSheets.h"
#include "tileset/Tileset.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace xemap {
namespace {

using test::tileColour;

class ExportPictureTest : public testing::Test {
protected:
    ExportPictureTest()
    {
        for (int x = 0; x < kMapSize; ++x)
            for (int y = 0; y < kMapSize; ++y)
                document.grid.tile(x, y, 0) = (x + 3 * y) % 99;
    }
    MapDocument document;
    EditorState state;
    const Tileset tileset{LayerSheets{test::solidSheet(0), test::overlaySheet(1)}};
};

TEST_F(ExportPictureTest, EveryScaleGivesItsSizeWithEachCellInPlace)
{
    const struct {
        float choice;
        int size, cell;
    } scales[] = {{1.00f, 1280, 40}, {0.50f, 640, 20}, {0.25f, 320, 10}, {0.10f, 128, 4}};
    for (const auto& scale : scales) {
        SCOPED_TRACE(scale.size);
        const QImage picture = ExportPicture(document, state, tileset, kStartupDoorGeometry, exportScale(scale.choice));
        ASSERT_EQ(picture.size(), QSize(scale.size, scale.size));
        for (int x = 0; x < kMapSize; ++x)
            for (int y = 0; y < kMapSize; ++y)
                ASSERT_EQ(picture.pixel(x * scale.cell + scale.cell / 2, y * scale.cell + scale.cell - 1),
                          tileColour(0, (x + 3 * y) % 99))
                    << x << "," << y;
    }
}

TEST_F(ExportPictureTest, AllSixLayersWithSheetsShowWhateverTheView)
{
    // Toolbar New fills every layer; the layers this tileset has no sheet for draw nothing.
    document.grid.fill(7);
    state.oneLayer = true;
    state.currentLayer = 3;
    state.layerCount = 2;
    const QImage picture = ExportPicture(document, state, tileset, kStartupDoorGeometry, exportScale(1.0f));
    EXPECT_EQ(picture.pixel(5, 20), tileColour(1, 7));
    EXPECT_EQ(picture.pixel(35, 20), tileColour(0, 7));
}

TEST_F(ExportPictureTest, LabelsShowEvenWithViewLabelsOff)
{
    state.showLabels = false;
    const QImage plain = ExportPicture(document, state, tileset, kStartupDoorGeometry, exportScale(1.0f));
    auto tile = std::make_shared<XETile>();
    tile->cellIndex = cellIndexOf(2, 1);
    document.descriptions.append(tile);
    const QImage labelled = ExportPicture(document, state, tileset, kStartupDoorGeometry, exportScale(1.0f));
    EXPECT_NE(labelled.copy(80, 40, 40, 40), plain.copy(80, 40, 40, 40));
    EXPECT_EQ(labelled.copy(0, 0, 80, 40), plain.copy(0, 0, 80, 40));
}

TEST_F(ExportPictureTest, WritesBmpOrPngByExtension)
{
    QTemporaryDir folder;
    const QImage picture = ExportPicture(document, state, tileset, kStartupDoorGeometry, exportScale(0.1f));
    for (const char* name : {"map.bmp", "map.png", "map.BMP"}) {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(WritePicture(picture, path).isEmpty());
        EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), picture) << name;
    }
    EXPECT_FALSE(WritePicture(picture, folder.filePath("missing/map.bmp")).isEmpty());
}

}  // namespace
}  // namespace xemap
