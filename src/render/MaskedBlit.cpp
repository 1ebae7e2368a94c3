#include "render/MaskedBlit.h"

#include "render/TileSheet.h"

#include <QImage>
#include <QPainter>

namespace xemap {

namespace {

void combine(QImage& target, const QImage& source, QPainter::CompositionMode operation)
{
    QPainter painter(&target);
    painter.setCompositionMode(operation);
    painter.drawImage(0, 0, source);
}

}  // namespace

void maskedBlit(QImage& destination, QImage& tile)
{
    // White where the tile is transparent, black where it is opaque.
    const QImage mask =
        tile.createMaskFromColor(kTransparentColour, Qt::MaskInColor).convertToFormat(QImage::Format_RGB32);
    QImage inverted = mask;
    inverted.invertPixels();
    combine(tile, inverted, QPainter::RasterOp_SourceAndDestination);
    combine(destination, mask, QPainter::RasterOp_SourceAndDestination);
    combine(destination, tile, QPainter::RasterOp_SourceOrDestination);
}

}  // namespace xemap
