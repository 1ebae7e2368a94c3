#include "render/MaskedBlit.h"

#include "render/TileSheet.h"

#include <QImage>

#include <algorithm>

namespace xemap {

// The mask operations pixel by pixel: where the tile is magenta the destination stays
// and the tile turns black (tile AND NOT mask); elsewhere the tile replaces it.
void maskedBlit(QImage& destination, QImage& tile)
{
    constexpr QRgb kBlack = 0xff000000;
    const int width = std::min(destination.width(), tile.width());
    const int height = std::min(destination.height(), tile.height());
    // Rows are reached from one pointer each, as scanLine would check for sharing every time.
    uchar* targetRows = destination.bits();
    uchar* sourceRows = tile.bits();
    for (int y = 0; y < height; ++y) {
        auto* target = reinterpret_cast<QRgb*>(targetRows + y * destination.bytesPerLine());
        auto* source = reinterpret_cast<QRgb*>(sourceRows + y * tile.bytesPerLine());
        for (int x = 0; x < width; ++x) {
            if (source[x] == kTransparentColour)
                source[x] = kBlack;
            else
                target[x] = source[x];
        }
    }
}

}  // namespace xemap
