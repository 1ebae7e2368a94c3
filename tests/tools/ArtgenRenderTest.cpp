#include "tileset/GroupFile.h"
#include "tileset/TileSheet.h"
#include "tileset/TipFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

// Qt's keyword macro would swallow the group table's member of that name.
#undef slots

namespace xemap {
namespace {

// The generated art sits in the program folder, beside the test programs.
QString programFile(const QString& name) { return QDir(QCoreApplication::applicationDirPath()).filePath(name); }

QImage sheet(const QString& name)
{
    return QImage(programFile("tilesets/" + name + ".bmp")).convertToFormat(QImage::Format_RGB32);
}

QImage tileOf(const QImage& sheet, int tile) { return sheet.copy(tileArea(tile)); }

bool allTransparent(const QImage& tile)
{
    QImage magenta(tile.size(), QImage::Format_RGB32);
    magenta.fill(kTransparentColour);
    return tile == magenta;
}

bool noneTransparent(const QImage& tile)
{
    QImage black(tile.size(), QImage::Format_RGB32);
    black.fill(Qt::black);
    return tile.createMaskFromColor(kTransparentColour, Qt::MaskInColor).convertToFormat(QImage::Format_RGB32) == black;
}

// Nothing may come close to magenta without being it, or it would show as pink.
int nearlyTransparentPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += p != kTransparentColour && qRed(p) > 200 && qBlue(p) > 200 && qGreen(p) < 80;
        }
    return count;
}

// Which pixels along one side of a tile are opaque: the profile a neighbour must meet.
std::vector<bool> sideProfile(const QImage& tile, int side)
{
    std::vector<bool> opaque;
    for (int k = 0; k < kTileSize; ++k) {
        const QPoint at = side == 0 ? QPoint(k, 0) : side == 1 ? QPoint(kTileSize - 1, k) : side == 2 ? QPoint(k, kTileSize - 1) : QPoint(0, k);
        opaque.push_back(tile.pixel(at) != kTransparentColour);
    }
    return opaque;
}

TEST(ArtgenTest, SheetsKeepTheirEmptyTilesAndTerrainLayout)
{
    for (const char* name : {"outdoor_bases", "indoor_bases"}) {
        SCOPED_TRACE(name);
        const QImage base = sheet(name);
        ASSERT_EQ(base.size(), QSize(kSheetSize, kSheetSize));
        EXPECT_TRUE(allTransparent(tileOf(base, 99)));
        EXPECT_EQ(nearlyTransparentPixels(base), 0);
        for (int row = 0; row < 10; ++row) {
            const QImage terrain = tileOf(base, 10 * row);
            EXPECT_TRUE(noneTransparent(terrain)) << row;
            // Outer corner, edge, inner corner: terrain at the bottom-right, none at the top-left.
            for (int piece = 1; piece <= 3; ++piece) {
                const QImage transition = tileOf(base, 10 * row + piece);
                EXPECT_EQ(transition.pixel(2, 2), kTransparentColour) << row << " " << piece;
                EXPECT_NE(transition.pixel(77, 77), kTransparentColour) << row << " " << piece;
            }
            // The edge meets the terrain cell below along its whole width.
            EXPECT_EQ(sideProfile(tileOf(base, 10 * row + 2), 2), std::vector<bool>(kTileSize, true));
        }
    }
    for (const char* name : {"city_layer", "indoor_layer"}) {
        SCOPED_TRACE(name);
        const QImage overlay = sheet(name);
        ASSERT_EQ(overlay.size(), QSize(kSheetSize, kSheetSize));
        EXPECT_TRUE(allTransparent(tileOf(overlay, 0)));
        EXPECT_EQ(nearlyTransparentPixels(overlay), 0);
    }
}

TEST(ArtgenTest, GroupFilesListEightBoxesThenConnectorsWhosePiecesJoin)
{
    for (const char* name : {"city_layer", "indoor_layer"}) {
        SCOPED_TRACE(name);
        LayerGroups groups;
        ASSERT_TRUE(readGroupFile(programFile(QString("tilesets/%1.grp").arg(name)).toStdString(), groups));
        EXPECT_EQ(groups.boxCount, 8);
        EXPECT_GE(groups.connectorCount, 2);
        EXPECT_EQ(groups.slotCount, groups.boxCount + groups.connectorCount);
        for (int slot = 0; slot < groups.slotCount; ++slot) {
            EXPECT_EQ(groups.slots[slot].kind, slot < 8 ? slot + 1 : -(slot - 8 + 1));
            EXPECT_FALSE(QImage(programFile(QString::fromStdString(groups.slots[slot].iconFile))).isNull()) << slot;
        }
        const QImage overlay = sheet(name);
        for (int b = 0; b < groups.boxCount; ++b)
            for (const GroupPiece& piece : groups.boxes[b].pieces)
                EXPECT_FALSE(allTransparent(tileOf(overlay, piece.tile))) << "box " << b;
        for (int s = 0; s < groups.connectorCount; ++s) {
            SCOPED_TRACE(s);
            const auto& pieces = groups.connectors[s].pieces;
            const QImage straight = tileOf(overlay, pieces[0].tile);
            const QImage corner = tileOf(overlay, pieces[1].tile);
            const QImage tee = tileOf(overlay, pieces[2].tile);
            const QImage cross = tileOf(overlay, pieces[3].tile);
            const auto eastWest = sideProfile(straight, 1);
            EXPECT_NE(eastWest, std::vector<bool>(kTileSize, false));
            EXPECT_EQ(sideProfile(straight, 3), eastWest);
            EXPECT_EQ(sideProfile(corner, 1), eastWest);
            EXPECT_EQ(sideProfile(corner, 2), eastWest);  // the arm turned south meets a straight turned north-south
            EXPECT_EQ(sideProfile(tee, 3), eastWest);
            EXPECT_EQ(sideProfile(cross, 0), eastWest);
            EXPECT_EQ(sideProfile(corner, 0), std::vector<bool>(kTileSize, false));
        }
    }
}

TEST(ArtgenTest, TipFilesNameEveryDrawnTile)
{
    for (const char* name : {"outdoor_bases", "city_layer", "indoor_bases", "indoor_layer"}) {
        SCOPED_TRACE(name);
        const TileTips tips = readTipFile(programFile(QString("tilesets/%1.tip").arg(name)).toStdString());
        const QImage art = sheet(name);
        for (int tile = 0; tile < kTileCount; ++tile) {
            const bool drawn = !allTransparent(tileOf(art, tile));
            if (drawn) {
                ASSERT_LT(tile, static_cast<int>(tips.size()));
                EXPECT_FALSE(tips[tile].empty()) << tile;
            }
        }
    }
    EXPECT_EQ(QImage(programFile("XEMAP.BMP")).size(), QSize(512, 208));
}

}  // namespace
}  // namespace xemap
