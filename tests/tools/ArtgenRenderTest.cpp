#include "core/tileset/GroupFile.h"
#include "core/tileset/TipFile.h"
#include "render/TileSheet.h"

#include <QCoreApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <functional>

// Whether the pieces fit together once painted is checked with the brushes that lay them.
namespace xemap {
namespace {

// The generated art sits in the program folder, beside the test programs.
QString programFile(const QString& name) { return QCoreApplication::applicationDirPath() + '/' + name; }

// How many pixels of the image pass the test.
int pixelsWhere(const QImage& image, const std::function<bool(QRgb)>& test)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += test(image.pixel(x, y));
    return count;
}

int magentaInTile(const QImage& sheet, int tile)
{
    return pixelsWhere(sheet.copy(tileArea(tile)), [](QRgb p) { return p == kTransparentColour; });
}

constexpr int kTilePixels = kTileSize * kTileSize;

TEST(ArtgenTest, SheetsKeepTheirEmptyTilesAndOpaqueTerrainsNameEveryDrawnTileAndGroupTheirPieces)
{
    // Pixels near magenta without being it would show as pink.
    const auto pink = [](QRgb p) {
        return p != kTransparentColour && qRed(p) > 200 && qBlue(p) > 200 && qGreen(p) < 80;
    };
    for (const QString name : {"outdoor_bases", "indoor_bases", "city_layer", "indoor_layer"}) {
        SCOPED_TRACE(name.toStdString());
        const QImage art = QImage(programFile("tilesets/" + name + ".bmp")).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(art.size(), QSize(kSheetSize, kSheetSize));
        EXPECT_EQ(pixelsWhere(art, pink), 0);
        const bool bases = name.endsWith("bases");
        EXPECT_EQ(magentaInTile(art, bases ? 99 : 0), kTilePixels);
        for (int row = 0; bases && row < 10; ++row)
            EXPECT_EQ(magentaInTile(art, 10 * row), 0) << row;
        const TileTips tips = readTipFile(programFile("tilesets/" + name + ".tip").toStdString()).value();
        for (int tile = 0; tile < kTileCount; ++tile)
            EXPECT_TRUE(magentaInTile(art, tile) == kTilePixels || (tile < int(tips.size()) && !tips[tile].empty()))
                << tile;

        // An overlay's group file lists eight boxes, then connectors, each with an icon and drawn pieces.
        LayerGroups groups;
        if (bases)
            continue;
        ASSERT_TRUE(readGroupFile(programFile("tilesets/" + name + ".grp").toStdString(), groups));
        EXPECT_EQ(groups.boxCount, 8);
        EXPECT_GE(groups.connectorCount, 2);
        for (int slot = 0; slot < groups.slotCount; ++slot) {
            EXPECT_EQ(groups.slots[slot].kind, slot < 8 ? slot + 1 : -(slot - 8 + 1));
            EXPECT_FALSE(QImage(programFile(QString::fromStdString(groups.slots[slot].iconFile))).isNull()) << slot;
        }
        for (int b = 0; b < groups.boxCount; ++b)
            for (const GroupPiece& piece : groups.boxes[b].pieces)
                EXPECT_LT(magentaInTile(art, piece.tile), kTilePixels) << "box " << b;
    }
    EXPECT_EQ(QImage(programFile("XEMAP.BMP")).size(), QSize(512, 208));
}

}  // namespace
}  // namespace xemap
