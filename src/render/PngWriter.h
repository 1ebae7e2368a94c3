#pragma once

class QImage;
class QIODevice;

namespace xemap {

// Writes a 32-bit RGB picture as an 8-bit RGB PNG. Map pictures repeat whole tiles, so
// rows are stored unfiltered at zlib level 4: smaller and about twice as fast to write
// as the filter search Qt's writer does. False when the device refused the bytes.
bool writePng(const QImage& picture, QIODevice& out);

}  // namespace xemap
