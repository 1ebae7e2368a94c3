#pragma once

#include "TerrainArt.h"

namespace xemap::art {

enum class BoxKind { Roof, Bed, Pond, Field, Awning, Rug, Table, Pit, Dais };
struct BoxStyle {
    BoxKind kind;
    QRgb fill;
    QRgb detail;
    QRgb rim;
};
enum class BoxPiece { Interior, Corner, Edge };
void paintBoxPiece(QPainter& p, const BoxStyle& style, BoxPiece piece, Rng& rng);

}  // namespace xemap::art
