#pragma once

class QImage;

namespace xemap {

// Lays the tile over the destination: every pixel of the tile that is not magenta
// replaces the destination's, magenta pixels leave it unchanged. As the mask operations
// do, the tile's magenta pixels turn black. Both images are 32-bit RGB.
void maskedBlit(QImage& destination, QImage& tile);

}  // namespace xemap
