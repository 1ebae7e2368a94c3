#include "core/files/AllocationLimit.h"
#include "render/TilesetLoader.h"
#include "support/MapTestSupport.h"
#include "support/TestSheets.h"

#include <QImageReader>
#include <QtCore>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace xemap {
namespace {

using namespace test;

// The tile as FetchTile draws it over cyan; `drawn` is what FetchTile should answer.
QImage fetched(const Tileset& tileset, int tile, int rotation, int layer, bool drawn = true)
{
    QImage picture(kTileSize, kTileSize, QImage::Format_RGB32);
    picture.fill(Qt::cyan);
    EXPECT_EQ(tileset.FetchTile(picture, tile, rotation, layer), drawn);
    return picture;
}

TEST(TilesetTest, FetchReadsTheTileAreaAndTurnsItClockwise)
{
    QImage sheet = solidSheet(0);
    sheet.setPixel(640, 320, qRgb(1, 2, 3));  // bottom-right pixel of tile 37
    sheet.setPixel(641, 241, qRgb(9, 9, 9));  // first pixel of tile 38
    const Tileset tileset(LayerSheets{sheet});
    // Where the unturned top-left and bottom-right pixels land at each rotation.
    const std::tuple<int, QPoint, QPoint> cases[] = {
        {0, {0, 0}, {79, 79}}, {1, {79, 0}, {0, 79}}, {2, {79, 79}, {0, 0}}, {3, {0, 79}, {79, 0}}};
    for (const auto& [rotation, topLeft, bottomRight] : cases) {
        SCOPED_TRACE(rotation);
        const QImage turned = fetched(tileset, 37, rotation, 0);
        EXPECT_EQ(std::pair(turned.pixel(topLeft), turned.pixel(bottomRight)), std::pair(kMarker, qRgb(1, 2, 3)));
    }
}

// A sheet that keeps nothing turns and masks each tile exactly as the rotation cache does,
// and a keyed tile is the opaque one with only its magenta transparent.
TEST(TilesetTest, TilesTurnedAsTheyAreLaidEqualTheCachedOnes)
{
    QImage sheet = overlaySheet(0);
    for (int tile = 0; tile < kTileCount; ++tile)  // a pixel that tells the corners apart
        sheet.setPixel(tileArea(tile).topLeft() + QPoint(3, 1), qRgb(tile, 1, 2));
    const Tileset cached(LayerSheets{sheet});
    Tileset passing(LayerSheets{sheet});
    passing.setKeepsTurnedTiles(false);
    const auto picture = [](const std::optional<TilePicture>& tile) { return tile->sheet->copy(tile->area); };
    for (int tile = 0; tile < kTileCount; ++tile)
        for (int rotation = 0; rotation < kRotationCount; ++rotation) {
            SCOPED_TRACE(::testing::Message() << "tile " << tile << " rotation " << rotation);
            const QImage opaque = picture(cached.opaqueTile(tile, rotation, 0)),
                         keyed = picture(cached.keyedTile(tile, rotation, 0));
            ASSERT_EQ(picture(passing.opaqueTile(tile, rotation, 0)), opaque);
            ASSERT_EQ(picture(passing.keyedTile(tile, rotation, 0)), keyed);
            ASSERT_EQ(opaque, fetched(cached, tile, rotation, 0));
            int transparent = 0, wrong = 0;
            for (int y = 0; y < kTileSize; ++y)
                for (int x = 0; x < kTileSize; ++x) {
                    const QRgb shown = opaque.pixel(x, y);
                    transparent += shown == kTransparentColour;
                    wrong += keyed.pixel(x, y) != (shown == kTransparentColour ? 0 : shown);
                }
            ASSERT_EQ(transparent, kTileSize * kTileSize / 2);
            ASSERT_EQ(wrong, 0);
        }
}

TEST(TilesetTest, FetchNeverReadsOutsideTheSheetsPictures)
{
    const Tileset tileset(LayerSheets{solidSheet(0), QImage(), solidSheet(2)});
    // Tile, rotation and layer: out of range, or a layer without a picture.
    const std::array<int, 3> cases[] = {{-1, 0, 0}, {100, 0, 0}, {5, 4, 0}, {5, -1, 0},
                                        {5, 0, 5},  {5, 0, -1},  {5, 0, 1}, {5, 0, 3}};
    for (const auto& [tile, rotation, layer] : cases) {
        SCOPED_TRACE(::testing::Message() << tile << " " << rotation << " " << layer);
        EXPECT_EQ(fetched(tileset, tile, rotation, layer, false).pixel(40, 40), QColor(Qt::cyan).rgb());
        tileset.RotateTile(tile, rotation, layer);
    }
    EXPECT_EQ(fetched(tileset, 5, 2, 2).pixel(40, 40), renderSheetColour(2, 5));

    // A sheet of another size is transparent beyond its picture.
    for (const QSize size : {QSize(100, 100), QSize(1000, 700), QSize(1, 1)}) {
        SCOPED_TRACE(size.width());
        const Tileset other(LayerSheets{solidSheet(0, size)});
        EXPECT_EQ(fetched(other, 0, 1, 0).pixel(79, 0), size.width() > 1 ? kMarker : kTransparentColour);
        EXPECT_EQ(fetched(other, 99, 3, 0).pixel(40, 40),
                  size.height() > 801 ? renderSheetColour(0, 99) : kTransparentColour);
    }
}

class TilesetFilesTest : public ::testing::Test {
protected:
    // Every test may read a base and an overlay sheet and a pipe named as a picture.
    void SetUp() override
    {
        save(solidSheet(0), "base.bmp");
        save(solidSheet(1), "layer.bmp");
        ASSERT_EQ(::mkfifo(folder.filePath("pipe.bmp").toLocal8Bit().constData(), 0600), 0);
    }
    void save(const QImage& image, const QString& name) { ASSERT_TRUE(image.save(folder.filePath(name), "BMP")); }
    void write(const QString& name, const QByteArray& bytes) { testing::writeBytes(path(name), bytes.toStdString()); }
    std::string path(const QString& name) const { return folder.filePath(name).toStdString(); }
    TilesetLoader loader() const { return TilesetLoader(folder.path().toStdString()); }
    static TilesetEntry entry(std::array<std::string, kTilesetLayers> files) { return {"Test", files}; }
    // The problems' texts and reasons, one line each, with the folder's path left out.
    QStringList said(const TilesetProblems& problems) const
    {
        QStringList lines;
        for (const TilesetProblem& problem : problems)
            lines << QString(problem.text + " / " + QString::fromStdString(problem.fault.reason))
                         .remove(folder.path() + "/");
        return lines;
    }
    QTemporaryDir folder;
};

TEST_F(TilesetFilesTest, LoadReplacesEveryLayerAndLeavesAnUnreadableOneEmpty)
{
    // One problem per unusable layer, a pipe refused at once; the count still reaches the
    // last named layer, and the others load.
    save(solidSheet(2), "top.bmp");
    TilesetProblems problems;
    const auto tileset =
        loader().loadSheets(entry({"base.bmp", "missing.bmp", "pipe.bmp", "top.bmp", "null"}), problems);
    ASSERT_TRUE(tileset);
    EXPECT_EQ(said(problems), (QStringList{"Cannot read the tile sheet \"missing.bmp\". / No such file or directory",
                                           "Cannot read the tile sheet \"pipe.bmp\". / not a regular file"}));
    EXPECT_EQ(std::tuple(tileset->hasSheet(1), tileset->layerCount(), fetched(*tileset, 4, 0, 3).pixel(40, 40)),
              std::tuple(false, 4, renderSheetColour(2, 4)));
}

TEST_F(TilesetFilesTest, CompanionFilesThatCannotBeReadAreNamedAndTheRestLoads)
{
    save(solidSheet(2), "large.bmp");
    save(solidSheet(2, QSize(16, 16)), "icon.bmp");
    write("base.tip", "Grass\r\nWater\r\n");
    write("layer.grp", "B: 1 0 2 0 3 0 4 0 : Wall : pipe.bmp\r\nB: 5 0 6 0 7 0 8 0 : Fence : missing.bmp\r\n"
                       "B: 9 0 1 0 2 0 3 0 : Hedge : large.bmp\r\nB: 9 0 1 0 2 0 3 0 : Gate : icon.bmp\r\n");
    TilesetData loaded;
    TilesetProblems problems;
    ASSERT_TRUE(loader().load(entry({"base.bmp", "layer.bmp", "null", "null", "null"}), loaded, problems));
    // The icon of a pipe, of a missing file and a picture over an icon's size: each named.
    EXPECT_EQ(said(problems),
              (QStringList{"Cannot read the group icon pipe.bmp. / not a regular file",
                           "Cannot read the group icon missing.bmp. / No such file or directory",
                           "Cannot read the group icon large.bmp. / the file is larger than 81920 bytes"}));
    EXPECT_EQ(std::tuple(loaded.tips[0], loaded.groups[1].slotCount, loaded.groupIcons[1][0].isNull(),
                         loaded.groupIcons[1][3].size()),
              std::tuple(TileTips{"Grass", "Water"}, 4, true, QSize(16, 16)));

    // A tip or group file over the limit is one problem naming the file and the limit; a
    // missing one is none.
    std::filesystem::resize_file(path("base.tip"), kTilesetTextLimit + 1);
    write("layer.grp", "B: 1 0 2 0 3 0 4 0 : Wall : icon.bmp\r\n");
    std::filesystem::resize_file(path("layer.grp"), kTilesetTextLimit + 1);
    problems.clear();
    ASSERT_TRUE(loader().load(entry({"base.bmp", "layer.bmp", "null", "null", "null"}), loaded, problems));
    EXPECT_EQ(said(problems),
              (QStringList{"Cannot read the tip file \"base.tip\". / the file is larger than 4 MB",
                           "Cannot read the group file \"layer.grp\". / the file is larger than 4 MB"}));
    EXPECT_EQ(std::tuple(loaded.tips[0].empty(), loaded.groups[1].slotCount, loaded.tileset.hasSheet(1)),
              std::tuple(true, 0, true));
}

TEST_F(TilesetFilesTest, OutOfMemoryLoadsNothingAndKeepsWhatWasThere)
{
    TilesetData loaded;
    TilesetProblems problems;
    ASSERT_TRUE(loader().load(entry({"base.bmp", "null", "null", "null", "null"}), loaded, problems));
    // Budgets that stop the file read, the decoded picture and the sheet made from it.
    for (const std::uintmax_t budget :
         {std::uintmax_t(100'000), std::uintmax_t(2'000'000), std::uintmax_t(3'000'000)}) {
        SCOPED_TRACE(budget);
        const ScopedAllocationLimit limit(budget);
        const auto load = loader().load(entry({"layer.bmp", "layer.bmp", "null", "null", "null"}), loaded, problems);
        ASSERT_FALSE(load);
        EXPECT_EQ(load.fault().describe(), "Not enough memory to load the tileset.");
        // Nothing reported twice, and the tileset as it was.
        EXPECT_EQ(
            std::tuple(problems.empty(), loaded.tileset.layerCount(), fetched(loaded.tileset, 7, 0, 0).pixel(40, 40)),
            std::tuple(true, 1, renderSheetColour(0, 7)));
    }
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
    const std::pair<QSize, const char*> cases[] = {{{802, 802}, nullptr},
                                                   {{2000, 900}, nullptr},
                                                   {{40000, 40000}, ""},
                                                   {{6000, 6000}, "the picture of 6000 x 6000 pixels is too large"}};
    const QString named = "Cannot read the tile sheet \"claimed.bmp\". / ";
    const int programsLimit = QImageReader::allocationLimit();
    for (const auto& [size, why] : cases) {
        SCOPED_TRACE(size.width());
        write("claimed.bmp", emptyRunLengthBmp(size.width(), size.height()));
        TilesetProblems problems;
        const auto tileset = loader().loadSheets(entry({"claimed.bmp", "null", "null", "null", "null"}), problems);
        ASSERT_TRUE(tileset);
        EXPECT_EQ(tileset->hasSheet(0), why == nullptr);
        const QStringList lines = said(problems);
        EXPECT_TRUE(why ? lines.size() == 1 && lines[0].startsWith(named + why) : lines.isEmpty())
            << lines.join('\n').toStdString();
        EXPECT_EQ(QImageReader::allocationLimit(), programsLimit) << "a sheet's limit binds no other picture";
    }
}

}  // namespace
}  // namespace xemap
