#include "render/TileSheet.h"

#include <QPainter>
#include <QTransform>

namespace xemap {

QRect tileArea(int tile)
{
    return {kSheetMargin + kTileSize * (tile % kSheetColumns), kSheetMargin + kTileSize * (tile / kSheetColumns),
            kTileSize, kTileSize};
}

QImage keyedCopy(const QImage& opaque)
{
    QImage keyed = opaque.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    keyed.setAlphaChannel(opaque.createMaskFromColor(kTransparentColour, Qt::MaskOutColor));
    return keyed;
}

namespace {

QImage blankSheet(QRgb colour)
{
    QImage sheet(kSheetSize, kSheetSize, QImage::Format_RGB32);
    sheet.fill(colour);
    return sheet;
}

}  // namespace

TileSheet::TileSheet(const QImage& loaded)
{
    QImage sheet = blankSheet(kTransparentColour);
    {
        QPainter painter(&sheet);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        // Only the sheet's area is ever shown: a far larger picture is not converted whole.
        const QImage shown = loaded.copy(sheet.rect().intersected(loaded.rect()));
        painter.drawImage(0, 0, shown.convertToFormat(QImage::Format_RGB32));
    }
    turned_[0].keyed = keyedCopy(sheet);
    turned_[0].opaque = std::move(sheet);
    turned_[0].ready.set();
}

const QImage& TileSheet::opaqueSheet(int tile, int rotation) const
{
    turn(tile, rotation);
    return turned_[rotation].opaque;
}

const QImage& TileSheet::keyedSheet(int tile, int rotation) const
{
    turn(tile, rotation);
    return turned_[rotation].keyed;
}

void TileSheet::turn(int tile, int rotation) const
{
    Turned& target = turned_[rotation];
    if (target.ready[tile])
        return;
    if (target.opaque.isNull()) {
        target.opaque = blankSheet(0xff000000);
        target.keyed = keyedCopy(target.opaque);
    }
    const QRect area = tileArea(tile);
    const QImage turnedTile = turned_[0].opaque.copy(area).transformed(QTransform().rotate(90.0 * rotation));
    const auto place = [&area](QImage& sheet, const QImage& picture) {
        QPainter painter(&sheet);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(area.topLeft(), picture);
    };
    place(target.opaque, turnedTile);
    place(target.keyed, keyedCopy(turnedTile));
    target.ready.set(tile);
}

}  // namespace xemap
