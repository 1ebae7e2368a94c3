#include "core/tileset/GroupFile.h"
#include "core/tileset/TipFile.h"
#include "render/TileSheet.h"

#include <QCoreApplication>
#include <QImage>
#include <gtest/gtest.h>

// Whether the pieces fit together once painted is checked with the brushes that lay them.
namespace xemap {
namespace {

// The generated art sits in the program folder, beside the test programs.
QString programFile(const QString& name) { return QCoreApplication::applicationDirPath() + '/' + name; }

QImage sheet(const QString& name)
{
    return QImage(programFile("tilesets/" + name + ".bmp")).convertToFormat(QImage::Format_RGB32);
}

// How many pixels are magenta, and how many come close without being it, which would show as pink.
struct Magenta {
    int exact = 0, near = 0;
};

Magenta magentaIn(const QImage& image)
{
    Magenta count;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count.exact += p == kTransparentColour;
            count.near += p != kTransparentColour && qRed(p) > 200 && qBlue(p) > 200 && qGreen(p) < 80;
        }
    return count;
}

int magentaInTile(const QImage& sheet, int tile) { return magentaIn(sheet.copy(tileArea(tile))).exact; }

constexpr int kTilePixels = kTileSize * kTileSize;

TEST(ArtgenTest, SheetsKeepTheirEmptyTilesAndOpaqueTerrainsAndNameEveryDrawnTile)
{
    for (const char* name : {"outdoor_bases", "indoor_bases", "city_layer", "indoor_layer"}) {
        SCOPED_TRACE(name);
        const QImage art = sheet(name);
        ASSERT_EQ(art.size(), QSize(kSheetSize, kSheetSize));
        EXPECT_EQ(magentaIn(art).near, 0);
        const bool bases = QString(name).endsWith("bases");
        EXPECT_EQ(magentaInTile(art, bases ? 99 : 0), kTilePixels);
        for (int row = 0; bases && row < 10; ++row)
            EXPECT_EQ(magentaInTile(art, 10 * row), 0) << row;
        const TileTips tips = readTipFile(programFile(QString("tilesets/%1.tip").arg(name)).toStdString()).value();
        const auto named = [&](int tile) { return tile < int(tips.size()) && !tips[tile].empty(); };
        for (int tile = 0; tile < kTileCount; ++tile)
            EXPECT_TRUE(magentaInTile(art, tile) == kTilePixels || named(tile)) << tile;
    }
    EXPECT_EQ(QImage(programFile("XEMAP.BMP")).size(), QSize(512, 208));
}

TEST(ArtgenTest, GroupFilesListEightBoxesThenConnectorsWithIconsAndArt)
{
    for (const char* name : {"city_layer", "indoor_layer"}) {
        SCOPED_TRACE(name);
        LayerGroups groups;
        ASSERT_TRUE(readGroupFile(programFile(QString("tilesets/%1.grp").arg(name)).toStdString(), groups));
        EXPECT_EQ(groups.boxCount, 8);
        EXPECT_GE(groups.connectorCount, 2);
        for (int slot = 0; slot < groups.slotCount; ++slot) {
            EXPECT_EQ(groups.slots[slot].kind, slot < 8 ? slot + 1 : -(slot - 8 + 1));
            const QString icon = QString::fromStdString(groups.slots[slot].iconFile);
            EXPECT_FALSE(QImage(programFile(icon)).isNull()) << slot;
        }
        const QImage overlay = sheet(name);
        for (int b = 0; b < groups.boxCount; ++b)
            for (const GroupPiece& piece : groups.boxes[b].pieces)
                EXPECT_LT(magentaInTile(overlay, piece.tile), kTilePixels) << "box " << b;
    }
}

}  // namespace
}  // namespace xemap
