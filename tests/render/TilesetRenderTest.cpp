#include "render/Tileset.h"
#include "support/TestSheets.h"

#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace xemap {
namespace {

using test::kMarker;
using test::solidSheet;
using test::tileColour;

QImage fetched(const Tileset& tileset, int tile, int rotation, int layer)
{
    QImage picture(kTileSize, kTileSize, QImage::Format_RGB32);
    picture.fill(Qt::cyan);
    tileset.FetchTile(picture, tile, rotation, layer);
    return picture;
}

TEST(TilesetTest, FetchReadsTheTileAreaAndTurnsItClockwise)
{
    QImage sheet = solidSheet(0);
    sheet.setPixel(640, 320, qRgb(1, 2, 3));  // bottom-right pixel of tile 37
    sheet.setPixel(641, 241, qRgb(9, 9, 9));  // first pixel of tile 38
    const Tileset tileset(LayerSheets{sheet});
    const QImage plain = fetched(tileset, 37, 0, 0);
    EXPECT_EQ(plain.pixel(0, 0), kMarker);
    EXPECT_EQ(plain.pixel(79, 79), qRgb(1, 2, 3));

    // Where the unturned top-left and bottom-right pixels land at each rotation.
    const std::tuple<int, QPoint, QPoint> cases[] = {
        {1, {79, 0}, {0, 79}}, {2, {79, 79}, {0, 0}}, {3, {0, 79}, {79, 0}}};
    for (const auto& [rotation, topLeft, bottomRight] : cases) {
        SCOPED_TRACE(rotation);
        const QImage turned = fetched(tileset, 37, rotation, 0);
        EXPECT_EQ(turned.pixel(topLeft), kMarker);
        EXPECT_EQ(turned.pixel(bottomRight), qRgb(1, 2, 3));
        EXPECT_EQ(turned, fetched(tileset, 37, rotation, 0)) << "the second time from the cache";
    }
}

TEST(TilesetTest, KeyedTileIsTheTurnedTileWithOnlyItsMagentaTransparent)
{
    QImage sheet = test::overlaySheet(0);
    sheet.setPixel(tileArea(37).topLeft(), kMarker);
    const Tileset tileset(LayerSheets{sheet});
    for (int rotation = 0; rotation < kRotationCount; ++rotation) {
        SCOPED_TRACE(rotation);
        const QImage opaque = fetched(tileset, 37, rotation, 0);
        const auto keyed = tileset.keyedTile(37, rotation, 0);
        ASSERT_TRUE(keyed.has_value());
        const QImage picture = keyed->sheet->copy(keyed->area);
        ASSERT_EQ(picture.size(), opaque.size());
        int transparent = 0;
        for (int y = 0; y < kTileSize; ++y)
            for (int x = 0; x < kTileSize; ++x) {
                const QRgb shown = opaque.pixel(x, y);
                const QRgb expected = shown == kTransparentColour ? 0 : shown;
                transparent += shown == kTransparentColour;
                ASSERT_EQ(picture.pixel(x, y), expected) << x << "," << y;
            }
        EXPECT_EQ(transparent, kTileSize * kTileSize / 2);
    }
}

// A sheet that keeps nothing turns and masks each tile exactly as the rotation cache does.
TEST(TilesetTest, TilesTurnedAsTheyAreLaidEqualTheCachedOnes)
{
    QImage sheet = test::overlaySheet(0);
    for (int tile = 0; tile < kTileCount; ++tile)  // a pixel that tells the corners apart
        sheet.setPixel(tileArea(tile).topLeft() + QPoint(3, 1), qRgb(tile, 1, 2));
    const Tileset cached(LayerSheets{sheet});
    Tileset passing(LayerSheets{sheet});
    passing.setKeepsTurnedTiles(false);
    const auto picture = [](const std::optional<TilePicture>& tile) { return tile->sheet->copy(tile->area); };
    for (int tile = 0; tile < kTileCount; ++tile)
        for (int rotation = 0; rotation < kRotationCount; ++rotation) {
            SCOPED_TRACE(::testing::Message() << "tile " << tile << " rotation " << rotation);
            ASSERT_EQ(picture(passing.opaqueTile(tile, rotation, 0)), picture(cached.opaqueTile(tile, rotation, 0)));
            ASSERT_EQ(picture(passing.keyedTile(tile, rotation, 0)), picture(cached.keyedTile(tile, rotation, 0)));
        }
}

TEST(TilesetTest, FetchNeverReadsOutsideTheSheetsPictures)
{
    const Tileset tileset(LayerSheets{solidSheet(0), QImage(), solidSheet(2)});
    // Tile, rotation and layer: out of range, or a layer without a picture.
    const std::array<int, 3> cases[] = {{-1, 0, 0}, {100, 0, 0}, {5, 4, 0}, {5, -1, 0},
                                        {5, 0, 5},  {5, 0, -1},  {5, 0, 1}, {5, 0, 3}};
    for (const auto& [tile, rotation, layer] : cases) {
        SCOPED_TRACE(testing::Message() << tile << " " << rotation << " " << layer);
        QImage picture(kTileSize, kTileSize, QImage::Format_RGB32);
        picture.fill(Qt::cyan);
        EXPECT_FALSE(tileset.FetchTile(picture, tile, rotation, layer));
        EXPECT_EQ(picture.pixel(40, 40), QColor(Qt::cyan).rgb());
        tileset.RotateTile(tile, rotation, layer);
    }
    EXPECT_EQ(fetched(tileset, 5, 2, 2).pixel(40, 40), tileColour(2, 5));

    // A sheet of another size is transparent beyond its picture.
    for (const QSize size : {QSize(100, 100), QSize(1000, 700), QSize(1, 1)}) {
        SCOPED_TRACE(size.width());
        const Tileset other(LayerSheets{solidSheet(0, size)});
        EXPECT_EQ(fetched(other, 0, 1, 0).pixel(79, 0), size.width() > 1 ? kMarker : kTransparentColour);
        EXPECT_EQ(fetched(other, 99, 3, 0).pixel(40, 40), size.height() > 801 ? tileColour(0, 99) : kTransparentColour);
    }
}

class TilesetFilesTest : public testing::Test {
protected:
    QString save(const QImage& image, const QString& name)
    {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }
    QTemporaryDir folder;
};

TEST_F(TilesetFilesTest, LoadReplacesEveryLayerAndLeavesAnUnreadableOneEmpty)
{
    Tileset tileset;
    const QString base = save(solidSheet(0), "base.bmp");
    const QString layer = save(solidSheet(1), "layer.bmp");
    ASSERT_TRUE(tileset.LoadTileset({base, layer, "null", "null", "null"}).isEmpty());
    EXPECT_EQ(fetched(tileset, 12, 1, 0).pixel(40, 40), tileColour(0, 12));

    // One message naming the unreadable layer; the count still reaches the last named one.
    const QString missing = folder.filePath("missing.bmp");
    const QString top = save(solidSheet(2), "top.bmp");
    const QStringList messages = tileset.LoadTileset({base, missing, top, "null", "null"});
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(missing));
    EXPECT_FALSE(tileset.hasSheet(1));  // the previous tileset's layer 1 is gone
    EXPECT_EQ(tileset.layerCount(), 3);
    EXPECT_EQ(fetched(tileset, 4, 0, 2).pixel(40, 40), tileColour(2, 4));

    // A turned tile of an earlier load is not reused.
    const QString other = save(solidSheet(3), "other.bmp");
    EXPECT_TRUE(tileset.LoadTileset({other, "null", "null", "null", "null"}).isEmpty());
    EXPECT_EQ(fetched(tileset, 12, 1, 0).pixel(40, 40), tileColour(3, 12));
}

// A run-length BMP header with an empty body: a few bytes that claim a big picture.
QByteArray emptyRunLengthBmp(qint32 width, qint32 height)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 bodyAt = 14 + 40 + 256 * 4;
    out.writeRawData("BM", 2);
    out << quint32(bodyAt + 2) << quint32(0) << bodyAt;
    out << quint32(40) << width << height << quint16(1) << quint16(8) << quint32(1) << quint32(2) << qint32(2835)
        << qint32(2835) << quint32(256) << quint32(0);
    for (int colour = 0; colour < 256; ++colour)
        out << quint32(0x00ff00ff);
    out << quint8(0) << quint8(1);  // end of picture
    return bytes;
}

TEST_F(TilesetFilesTest, PictureFarLargerThanASheetIsRefusedWithAMessage)
{
    // The message's reason, or nothing for a picture that is taken; past 16384 x 16384 the
    // picture is not even taken for a BMP.
    const std::pair<QSize, const char*> cases[] = {
        {{802, 802}, nullptr},
        {{2000, 900}, nullptr},
        {{40000, 40000}, ""},
        {{6000, 6000}, "the picture of 6000 x 6000 pixels is too large for a tile sheet of 802 x 802."},
    };
    for (const auto& [size, why] : cases) {
        SCOPED_TRACE(size.width());
        const QString path = folder.filePath("claimed.bmp");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(emptyRunLengthBmp(size.width(), size.height()));
        file.close();
        Tileset tileset;
        const QStringList messages = tileset.LoadTileset({path, "null", "null", "null", "null"});
        EXPECT_EQ(tileset.hasSheet(0), why == nullptr);
        ASSERT_EQ(messages.size(), why ? 1 : 0);
        if (why) {
            EXPECT_TRUE(messages[0].contains(path));
            EXPECT_TRUE(messages[0].endsWith(why)) << messages[0].toStdString();
        }
    }
}

}  // namespace
}  // namespace xemap
