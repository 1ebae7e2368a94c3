#include "render/TileSheet.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>

namespace xemap {

QRect tileArea(int tile)
{
    return {kSheetMargin + kTileSize * (tile % kSheetColumns), kSheetMargin + kTileSize * (tile / kSheetColumns),
            kTileSize, kTileSize};
}

QImage keyedCopy(const QImage& opaque)
{
    QImage keyed = opaque.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        std::replace(line, line + keyed.width(), kTransparentColour, QRgb(0));
    }
    return keyed;
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

}  // namespace

TileSheet::TileSheet(const QImage& loaded) : original_(fixedSizeSheet(loaded)) {}

void TileSheet::turn(int tile, int rotation) const
{
    QImage& target = opaque_[rotation][tile];
    if (rotation == 0 || !target.isNull())
        return;
    target = original_.copy(tileArea(tile)).transformed(QTransform().rotate(90.0 * rotation));
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
    return {&turned(tile, rotation), kWholeTile};
}

TilePicture TileSheet::keyedTile(int tile, int rotation) const
{
    QImage& keyed = keyed_[rotation][tile];
    if (keyed.isNull()) {
        QImage& turnedOpaque = opaque_[rotation][tile];
        const bool opaqueWasKept = rotation == 0 || !turnedOpaque.isNull();
        const TilePicture opaque = opaqueTile(tile, rotation);
        keyed = keyedCopy(opaque.sheet->copy(opaque.area));
        // Overlays are drawn keyed: an opaque turn made only for this is not kept twice.
        if (!opaqueWasKept)
            turnedOpaque = QImage();
    }
    return {&keyed, kWholeTile};
}

}  // namespace xemap
