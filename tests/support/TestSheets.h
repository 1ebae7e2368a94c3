#pragma once

#include "render/TileSheet.h"

#include <QtGui>

namespace xemap::test {

// Each tile of each layer of the renderer's in-memory sheets has its own colour, so a pixel
// tells which tile drew it (the main window tests write sheets to disk with their own colours).
inline QRgb renderSheetColour(int layer, int tile) { return qRgb(tile + 1, 40 * layer + 20, 200); }
constexpr QRgb kMarker = 0xffffffff;

// Every tile a solid colour with a white marker at its top-left pixel; on an overlay sheet
// every tile is magenta on its right half and its own colour, unmarked, on the left half.
inline QImage solidSheet(int layer, QSize size = QSize(kSheetSize, kSheetSize), bool overlay = false)
{
    QImage sheet(size, QImage::Format_RGB32);
    sheet.fill(overlay ? kTransparentColour : QColor(Qt::black).rgb());
    QPainter painter(&sheet);
    for (int tile = 0; tile < kTileCount; ++tile) {
        const QRect area = tileArea(tile);
        painter.fillRect(overlay ? area.adjusted(0, 0, -kTileSize / 2, 0) : area,
                         QColor::fromRgb(renderSheetColour(layer, tile)));
        if (!overlay)
            painter.fillRect(QRect(area.topLeft(), QSize(1, 1)), QColor::fromRgb(kMarker));
    }
    return sheet;
}
inline QImage overlaySheet(int layer) { return solidSheet(layer, QSize(kSheetSize, kSheetSize), true); }

}  // namespace xemap::test
