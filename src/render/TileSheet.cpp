#include "render/TileSheet.h"

#include <QPainter>

namespace xemap {

QRect tileArea(int tile)
{
    return {kSheetMargin + kTileSize * (tile % kSheetColumns), kSheetMargin + kTileSize * (tile / kSheetColumns),
            kTileSize, kTileSize};
}

namespace {

// The loaded picture on a sheet of the fixed size, opaque; magenta where it falls short.
QImage fixedSizeSheet(const QImage& loaded)
{
    const QRect sheetRect(0, 0, kSheetSize, kSheetSize);
    if (loaded.rect() == sheetRect)
        return loaded.convertToFormat(QImage::Format_RGB32);
    QImage sheet(sheetRect.size(), QImage::Format_RGB32);
    sheet.fill(kTransparentColour);
    QPainter painter(&sheet);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    // Only the sheet's area is ever shown: a far larger picture is not converted whole.
    painter.drawImage(0, 0, loaded.copy(sheetRect.intersected(loaded.rect())).convertToFormat(QImage::Format_RGB32));
    return sheet;
}

constexpr QRect kWholeTile(0, 0, kTileSize, kTileSize);

// Where the tile's pixel for (x, y) of its picture turned clockwise by the rotation lies:
// the sheet position is origin + x * alongRow + y * alongColumn.
struct TurnSteps {
    QPoint origin, alongRow, alongColumn;
};

TurnSteps turnSteps(int rotation)
{
    constexpr int last = kTileSize - 1;
    switch (rotation) {
    case 1: return {{0, last}, {0, -1}, {1, 0}};
    case 2: return {{last, last}, {-1, 0}, {0, -1}};
    case 3: return {{last, 0}, {0, 1}, {-1, 0}};
    default: return {{0, 0}, {1, 0}, {0, 1}};
    }
}

// The tile turned into target in one pass; keyed, magenta becomes transparent.
void turnTile(QImage& target, const QImage& sheet, int tile, int rotation, bool keyed)
{
    const QImage::Format format = keyed ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (target.size() != kWholeTile.size() || target.format() != format)
        target = QImage(kWholeTile.size(), format);
    // Out of memory the tile stays null, and drawing it draws nothing.
    if (target.isNull())
        return;
    const TurnSteps steps = turnSteps(rotation);
    const QPoint origin = tileArea(tile).topLeft() + steps.origin;
    const auto* sheetPixels = reinterpret_cast<const QRgb*>(sheet.constBits());
    const qsizetype sheetRow = sheet.bytesPerLine() / qsizetype(sizeof(QRgb));
    const qsizetype rowStep = steps.alongRow.x() + steps.alongRow.y() * sheetRow;
    for (int y = 0; y < kTileSize; ++y) {
        const QPoint start = origin + y * steps.alongColumn;
        const QRgb* from = sheetPixels + start.x() + start.y() * sheetRow;
        auto* to = reinterpret_cast<QRgb*>(target.scanLine(y));
        for (int x = 0; x < kTileSize; ++x, from += rowStep)
            to[x] = keyed && *from == kTransparentColour ? QRgb(0) : *from;
    }
}

}  // namespace

TileSheet::TileSheet(const QImage& loaded) : original_(fixedSizeSheet(loaded)) {}

void TileSheet::turn(int tile, int rotation) const
{
    QImage& target = opaque_[rotation][tile];
    if (rotation == 0 || !target.isNull())
        return;
    turnTile(target, original_, tile, rotation, false);
}

const QImage& TileSheet::turned(int tile, int rotation) const
{
    turn(tile, rotation);
    return opaque_[rotation][tile];
}

TilePicture TileSheet::opaqueTile(int tile, int rotation) const
{
    if (rotation == 0)
        return {&original_, tileArea(tile)};
    if (!keepsTurnedTiles_) {
        turnTile(passingOpaque_, original_, tile, rotation, false);
        return {&passingOpaque_, kWholeTile};
    }
    return {&turned(tile, rotation), kWholeTile};
}

TilePicture TileSheet::keyedTile(int tile, int rotation) const
{
    if (!keepsTurnedTiles_) {
        turnTile(passingKeyed_, original_, tile, rotation, true);
        return {&passingKeyed_, kWholeTile};
    }
    QImage& keyed = keyed_[rotation][tile];
    if (keyed.isNull())
        turnTile(keyed, original_, tile, rotation, true);
    return {&keyed, kWholeTile};
}

}  // namespace xemap
