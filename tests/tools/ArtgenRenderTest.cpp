#include "core/tileset/GroupFile.h"
#include "core/tileset/TipFile.h"
#include "render/TileSheet.h"

#include <QCoreApplication>
#include <QImage>
#include <gtest/gtest.h>

// Whether the pieces fit together once painted, and whether the group icons read, is
// checked with the brushes that lay them.
namespace xemap {
namespace {

// How many pixels of the image pass the test.
int pixelsWhere(const QImage& image, const auto& test)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += test(image.pixel(x, y));
    return count;
}

constexpr int kTilePixels = kTileSize * kTileSize;

TEST(ArtgenTest, SheetsKeepTheirEmptyTilesAndOpaqueTerrainsNameEveryDrawnTileAndGroupTheirPieces)
{
    const auto magenta = [](QRgb p) { return p == kTransparentColour; };
    // Pixels near magenta without being it would show as pink.
    const auto pink = [&](QRgb p) { return !magenta(p) && qRed(p) > 200 && qBlue(p) > 200 && qGreen(p) < 80; };
    for (const QString name : {"outdoor_bases", "indoor_bases", "city_layer", "indoor_layer"}) {
        SCOPED_TRACE(name.toStdString());
        // The generated art sits in the program folder, beside the test programs.
        const std::string file = (QCoreApplication::applicationDirPath() + "/tilesets/" + name).toStdString();
        const QImage art = QImage(QString::fromStdString(file + ".bmp")).convertToFormat(QImage::Format_RGB32);
        const auto blank = [&](int tile) { return pixelsWhere(art.copy(tileArea(tile)), magenta) == kTilePixels; };
        ASSERT_EQ(art.size(), QSize(kSheetSize, kSheetSize));
        EXPECT_EQ(pixelsWhere(art, pink), 0);
        const bool bases = name.endsWith("bases");
        EXPECT_TRUE(blank(bases ? 99 : 0));
        for (int row = 0; bases && row < 10; ++row)
            EXPECT_EQ(pixelsWhere(art.copy(tileArea(10 * row)), magenta), 0) << row;
        const TileTips tips = readTipFile(file + ".tip").value();
        for (int tile = 0; tile < kTileCount; ++tile)
            EXPECT_TRUE(blank(tile) || (tile < int(tips.size()) && !tips[tile].empty())) << tile;

        // An overlay's group file lists eight boxes and some connectors; each box piece is drawn.
        LayerGroups groups;
        if (bases)
            continue;
        ASSERT_TRUE(readGroupFile(file + ".grp", groups));
        EXPECT_EQ(groups.boxCount, 8);
        EXPECT_GE(groups.connectorCount, 2);
        for (int b = 0; b < groups.boxCount; ++b)
            for (const GroupPiece& piece : groups.boxes[b].pieces)
                EXPECT_FALSE(blank(piece.tile)) << "box " << b;
    }
}

}  // namespace
}  // namespace xemap
