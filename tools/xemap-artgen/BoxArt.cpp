#include "BoxArt.h"

namespace xemap::art {

namespace {

void paintBoxSurface(QPainter& p, const BoxStyle& s, Rng& rng)
{
    switch (s.kind) {
    case BoxKind::Roof:
        p.fillRect(0, 0, kTile, kTile, QColor(s.fill));
        for (int y = 0; y < kTile; y += 8) {
            line(p, QPointF(0, y + 7), QPointF(kTile, y + 7), shade(s.fill, 60));
            for (int x = (y / 8) % 2 ? 0 : 5; x < kTile; x += 10) {
                line(p, QPointF(x, y), QPointF(x, y + 7), shade(s.fill, 75));
                p.fillRect(x + 1, y, 8, 2, jitter(s.detail, rng, 10));
            }
        }
        break;
    case BoxKind::Bed:
        p.fillRect(0, 0, kTile, kTile, QColor(s.fill));
        speckle(p, s.fill, 150, 2, rng, 15);
        for (int i = 0; i < 9; ++i) {
            const int x = 8 + (i % 3) * 24 + rng.range(-2, 2), y = 8 + (i / 3) * 24 + rng.range(-2, 2);
            ellipse(p, QRectF(x - 1, y + 2, 6, 6), QColor(0xff2e6a28));
            ellipse(p, QRectF(x, y, 5, 5), jitter(s.detail, rng, 12), shade(s.detail, 60));
        }
        break;
    case BoxKind::Pond: paintTerrain(p, Terrain{s.fill, s.detail, s.fill, Pattern::Water}, rng); break;
    case BoxKind::Field:
        p.fillRect(0, 0, kTile, kTile, QColor(s.fill));
        for (int x = 2; x < kTile; x += 8) {
            line(p, QPointF(x, 0), QPointF(x, kTile), shade(s.fill, 70), 2);
            for (int y = rng.range(0, 5); y < kTile; y += 6)
                dot(p, x + 2, y, 2, jitter(s.detail, rng, 12));
        }
        break;
    case BoxKind::Awning:
        for (int x = 0; x < kTile; x += 10)
            p.fillRect(x, 0, 10, kTile, (x / 10) % 2 ? QColor(s.detail) : QColor(s.fill));
        for (int y = 0; y < kTile; y += 20)
            line(p, QPointF(0, y), QPointF(kTile, y), shade(s.fill, 80));
        break;
    case BoxKind::Rug:
        p.fillRect(0, 0, kTile, kTile, QColor(s.fill));
        for (int y = 10; y < kTile; y += 20)
            for (int x = 10; x < kTile; x += 20) {
                polygon(p, QPolygon({QPoint(x, y - 7), QPoint(x + 7, y), QPoint(x, y + 7), QPoint(x - 7, y)}),
                        QColor(s.detail));
                dot(p, x - 1, y - 1, 3, QColor(s.fill));
            }
        break;
    case BoxKind::Table: paintTerrain(p, Terrain{s.fill, s.detail, s.fill, Pattern::Planks}, rng); break;
    case BoxKind::Pit:
        p.fillRect(0, 0, kTile, kTile, QColor(s.fill));
        speckle(p, s.detail, 40, 2, rng, 10);
        break;
    case BoxKind::Dais: paintTerrain(p, Terrain{s.fill, s.detail, s.fill, Pattern::Flagstones}, rng); break;
    }
}

// The border band of a box, along the top of an unturned edge piece.
void paintRim(QPainter& p, const BoxStyle& s, QRect band, Rng& rng)
{
    const bool horizontal = band.width() > band.height();
    switch (s.kind) {
    case BoxKind::Roof:
    case BoxKind::Table:
    case BoxKind::Dais:
        p.fillRect(band, QColor(s.rim));
        if (horizontal) {
            line(p, band.bottomLeft(), band.bottomRight() + QPoint(1, 0), shade(s.rim, 55), 2);
            line(p, band.topLeft(), band.topRight() + QPoint(1, 0), shade(s.rim, 130));
        } else {
            line(p, band.topRight(), band.bottomRight() + QPoint(0, 1), shade(s.rim, 55), 2);
            line(p, band.topLeft(), band.bottomLeft() + QPoint(0, 1), shade(s.rim, 130));
        }
        break;
    case BoxKind::Bed:
    case BoxKind::Pond:
    case BoxKind::Pit:
        p.fillRect(band, shade(s.rim, 60));
        for (int i = 0; i < 10; ++i) {
            const int x = band.left() + (horizontal ? i * 8 : 1), y = band.top() + (horizontal ? 1 : i * 8);
            p.setPen(Qt::NoPen);
            p.setBrush(jitter(s.rim, rng, 14));
            p.drawRoundedRect(QRect(x, y, horizontal ? 7 : band.width() - 2, horizontal ? band.height() - 2 : 7), 2, 2);
        }
        break;
    case BoxKind::Field:
        p.fillRect(band, QColor(s.rim));
        speckle(p, s.rim, 0, 1, rng);
        break;
    case BoxKind::Awning:
    case BoxKind::Rug:
        p.fillRect(band, QColor(s.rim));
        for (int k = 0; k < kTile; k += 4)
            horizontal ? dot(p, k, band.top() + 2, 2, shade(s.rim, 140))
                       : dot(p, band.left() + 2, k, 2, shade(s.rim, 140));
        break;
    }
}

}  // namespace

void paintBoxPiece(QPainter& p, const BoxStyle& style, BoxPiece piece, Rng& rng)
{
    paintBoxSurface(p, style, rng);
    constexpr int band = 14;
    if (piece == BoxPiece::Interior)
        return;
    paintRim(p, style, QRect(0, 0, kTile, band), rng);
    if (piece == BoxPiece::Corner) {
        paintRim(p, style, QRect(0, 0, band, kTile), rng);
        p.fillRect(0, 0, band, band, shade(style.rim, 80));
    }
}

}  // namespace xemap::art
