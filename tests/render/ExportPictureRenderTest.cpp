#include "render/ExportPicture.h"
#include "render/PngWriter.h"
#include "render/Tileset.h"
#include "support/OrdinaryUser.h"
#include "support/TestSheets.h"

#include <QtCore>

#include <gtest/gtest.h>

namespace xemap {
namespace {

using namespace test;

class ExportPictureTest : public testing::Test {
protected:
    ExportPictureTest()
    {
        for (int x = 0; x < kMapSize; ++x)
            for (int y = 0; y < kMapSize; ++y)
                document.grid.tile(x, y, 0) = (x + 3 * y) % 99;
    }
    QImage picture(float choice) const
    {
        return exportPicture(document, state, tileset, kStartupDoorGeometry, exportScale(choice));
    }

    MapDocument document;
    EditorState state;
    const Tileset tileset{LayerSheets{solidSheet(0), overlaySheet(1)}};
};

TEST_F(ExportPictureTest, EveryScaleGivesItsSizeWithEachCellInPlace)
{
    // The scale chosen and the side of a cell in the picture.
    for (const auto& [choice, cell] : {std::pair{1.00f, 40}, {0.50f, 20}, {0.25f, 10}, {0.10f, 4}}) {
        SCOPED_TRACE(cell);
        const QImage image = picture(choice);
        ASSERT_EQ(image.size(), QSize(kMapSize * cell, kMapSize * cell));
        for (int x = 0; x < kMapSize; ++x)
            for (int y = 0; y < kMapSize; ++y)
                ASSERT_EQ(image.pixel(x * cell + cell / 2, y * cell + cell - 1), renderSheetColour(0, (x + 3 * y) % 99))
                    << x << "," << y;
    }
}

// As diff --image shows changes: a ring per kind of change, each just inside the last.
TEST_F(ExportPictureTest, ChangedCellsGetARingPerKindInsideTheirSquare)
{
    QImage image = picture(1.00f);  // 40-pixel cells, rings 2 pixels wide
    outlineChangedCells(
        image, exportScale(1.00f),
        {{0, ChangeKind::Tiles, ""}, {0, ChangeKind::Descriptions, ""}, {kWholeMap, ChangeKind::Map, ""}});
    const std::pair<QRgb, std::array<QPoint, 4>> rings[] = {
        {qRgb(230, 0, 0), {QPoint(20, 0), QPoint(20, 39), QPoint(0, 20), QPoint(39, 20)}},
        {qRgb(255, 210, 0), {QPoint(20, 2), QPoint(20, 37), QPoint(2, 20), QPoint(37, 20)}}};
    for (const auto& [colour, sides] : rings)
        for (const QPoint side : sides)
            EXPECT_EQ(image.pixel(side), colour) << side.x() << "," << side.y();
    EXPECT_EQ(image.pixel(20, 20), renderSheetColour(0, 0));
    EXPECT_EQ(image.pixel(60, 0), renderSheetColour(0, 1));
}

TEST_F(ExportPictureTest, AllLayersAndLabelsShowWhateverTheView)
{
    // Toolbar New fills every layer; the layers this tileset has no sheet for draw nothing.
    document.grid.fill(7);
    state.oneLayer = true;
    state.currentLayer = 3;
    state.layerCount = 2;
    state.showLabels = false;
    const QImage plain = picture(1.0f);
    EXPECT_EQ(plain.pixel(5, 20), renderSheetColour(1, 7));

    auto tile = std::make_shared<XETile>();
    tile->cellIndex = cellIndexOf(2, 1);
    document.descriptions.append(tile);
    const QImage labelled = picture(1.0f);
    EXPECT_NE(labelled.copy(80, 40, 40, 40), plain.copy(80, 40, 40, 40));
    // Doors hidden in the view stay out of the picture.
    state.showDoors = false;
    document.grid.door(2, 1, North) = document.grid.door(0, 0, North) = 3;
    EXPECT_EQ(picture(1.0f), labelled);
}

TEST_F(ExportPictureTest, AWritablePictureInAReadOnlyFolderIsRewrittenInPlace)
{
    QTemporaryDir folder;
    const QString file = folder.filePath("map.bmp");
    QImage(8, 8, QImage::Format_RGB32).save(file, "BMP");
    const QImage small = picture(0.10f);
    EXPECT_TRUE(test::asOrdinaryUser(folder.path().toStdString(), [&] {
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
        const bool written = writePicture(small, file).isEmpty() && QImage(file).size() == small.size();
        const bool newRefused = !writePicture(small, folder.filePath("new.bmp")).isEmpty();
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return written && newRefused;
    }));
}

}  // namespace
}  // namespace xemap

// Every pixel comes back from the PNG as written; a device that takes no bytes is a failure.
TEST(PngWriterTest, WritesEveryPixelAndReportsARefusingDevice)
{
    QImage picture(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(7 * x, 11 * y, (x * y) % 256));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(xemap::writePng(picture, buffer));
    EXPECT_EQ(QImage::fromData(buffer.data(), "PNG").convertToFormat(QImage::Format_RGB32), picture);

    QBuffer closed;
    EXPECT_FALSE(xemap::writePng(picture, closed));
}
