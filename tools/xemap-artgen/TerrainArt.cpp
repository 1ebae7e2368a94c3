#include "TerrainArt.h"

#include <cmath>

namespace xemap::art {

namespace {

void paintCobbles(QPainter& p, const Terrain& t, Rng& rng, int size)
{
    p.fillRect(0, 0, kTile, kTile, shade(t.base, 55));
    for (int row = 0; row * size < kTile; ++row) {
        const int offset = row % 2 ? size / 2 : 0;
        for (int x = -size + offset; x < kTile; x += size) {
            const QRect stone(x + 1, row * size + 1, size - 2, size - 2);
            p.setPen(Qt::NoPen);
            p.setBrush(jitter(t.base, rng, 14));
            p.drawRoundedRect(stone, 3, 3);
            line(p, stone.topLeft() + QPoint(2, 0), stone.topRight() - QPoint(2, 0), shade(t.base, 125));
            line(p, stone.bottomLeft() + QPoint(2, 0), stone.bottomRight() - QPoint(2, 0), shade(t.base, 75));
        }
    }
}

void paintFlagstones(QPainter& p, const Terrain& t, Rng& rng)
{
    p.fillRect(0, 0, kTile, kTile, shade(t.base, 50));
    for (int y = 0; y < kTile; y += 40) {
        for (int x = 0; x < kTile; x += 40) {
            p.fillRect(x + 1, y + 1, 38, 38, jitter(t.base, rng, 8));
            line(p, QPointF(x + 1, y + 1), QPointF(x + 38, y + 1), shade(t.base, 118));
            line(p, QPointF(x + 1, y + 1), QPointF(x + 1, y + 38), shade(t.base, 112));
        }
    }
    speckle(p, t.speckle, 120, 2, rng);
}

void paintPlanks(QPainter& p, const Terrain& t, Rng& rng)
{
    for (int row = 0; row < 5; ++row) {
        const int y = row * 16;
        p.fillRect(0, y, kTile, 16, jitter(t.base, rng, 8));
        for (int i = 0; i < 4; ++i) {
            const int gy = y + rng.range(3, 13);
            line(p, QPointF(rng.range(0, 40), gy), QPointF(rng.range(45, 79), gy), shade(t.base, 85));
        }
        line(p, QPointF(0, y + 15), QPointF(kTile, y + 15), shade(t.base, 55));
        const int joint = (row * 37 + 11) % kTile;
        line(p, QPointF(joint, y), QPointF(joint, y + 15), shade(t.base, 55));
        dot(p, joint + 3, y + 7, 2, shade(t.base, 45));
        dot(p, joint - 4, y + 7, 2, shade(t.base, 45));
    }
}

void paintRock(QPainter& p, const Terrain& t, Rng& rng)
{
    p.fillRect(0, 0, kTile, kTile, t.base);
    for (int i = 0; i < 14; ++i) {
        const int x = rng.range(-10, 75), y = rng.range(-10, 75), r = rng.range(8, 18);
        polygon(p,
                QPolygon({QPoint(x, y + r), QPoint(x + r, y), QPoint(x + 2 * r, y + r / 2), QPoint(x + r, y + 2 * r)}),
                jitter(t.base, rng, 18));
        line(p, QPointF(x, y + r), QPointF(x + r, y), shade(t.base, 135));
    }
    speckle(p, t.speckle, 90, 2, rng);
}

void paintWater(QPainter& p, const Terrain& t, Rng& rng)
{
    p.fillRect(0, 0, kTile, kTile, t.base);
    speckle(p, t.base, 160, 3, rng, 8);
    for (int i = 0; i < 14; ++i) {
        const int x = rng.range(0, 70), y = rng.range(2, 76), w = rng.range(6, 12);
        line(p, QPointF(x, y), QPointF(x + w / 2, y - 2), shade(t.speckle, 100));
        line(p, QPointF(x + w / 2, y - 2), QPointF(x + w, y), shade(t.speckle, 100));
    }
}

void paintMarble(QPainter& p, const Terrain& t, Rng& rng)
{
    for (int y = 0; y < kTile; y += 20)
        for (int x = 0; x < kTile; x += 20)
            p.fillRect(x, y, 20, 20, ((x + y) / 20) % 2 ? shade(t.base, 60) : QColor(t.base));
    for (int i = 0; i < 6; ++i) {
        QPointF a(rng.range(0, 79), rng.range(0, 79));
        for (int s = 0; s < 4; ++s) {
            const QPointF b = a + QPointF(rng.range(-8, 8), rng.range(2, 8));
            line(p, a, b, shade(t.speckle, 100));
            a = b;
        }
    }
    for (int k = 0; k <= kTile; k += 20) {
        line(p, QPointF(k, 0), QPointF(k, kTile), shade(t.base, 40));
        line(p, QPointF(0, k), QPointF(kTile, k), shade(t.base, 40));
    }
}

void paintLava(QPainter& p, const Terrain& t, Rng& rng)
{
    p.fillRect(0, 0, kTile, kTile, t.base);
    for (int i = 0; i < 9; ++i) {
        const int x = rng.range(-8, 72), y = rng.range(-8, 72);
        ellipse(p, QRectF(x, y, rng.range(10, 22), rng.range(8, 16)), jitter(t.edge, rng, 15));
    }
    speckle(p, t.speckle, 70, 2, rng);
}

}  // namespace

void paintTerrain(QPainter& p, const Terrain& terrain, Rng& rng)
{
    switch (terrain.pattern) {
    case Pattern::Noise:
        p.fillRect(0, 0, kTile, kTile, terrain.base);
        speckle(p, terrain.base, 260, 3, rng, 14);
        speckle(p, terrain.speckle, 90, 2, rng);
        break;
    case Pattern::Water: paintWater(p, terrain, rng); break;
    case Pattern::Cobbles: paintCobbles(p, terrain, rng, 16); break;
    case Pattern::Flagstones: paintFlagstones(p, terrain, rng); break;
    case Pattern::Planks: paintPlanks(p, terrain, rng); break;
    case Pattern::Rock: paintRock(p, terrain, rng); break;
    case Pattern::Marble: paintMarble(p, terrain, rng); break;
    case Pattern::Lava: paintLava(p, terrain, rng); break;
    }
}

void paintDecoration(QPainter& p, Decoration decoration, const Terrain& terrain, Rng& rng)
{
    switch (decoration) {
    case Decoration::Plain: break;
    case Decoration::Pebbles:
        for (int i = 0; i < 9; ++i) {
            const int x = rng.range(6, 70), y = rng.range(6, 70);
            ellipse(p, QRectF(x, y, rng.range(3, 6), rng.range(3, 5)), jitter(0xff9a948a, rng, 15),
                    shade(0xff5a554e, 100));
        }
        break;
    case Decoration::Cracks:
        for (int i = 0; i < 3; ++i) {
            QPointF a(rng.range(10, 70), rng.range(10, 70));
            for (int s = 0; s < 5; ++s) {
                const QPointF b = a + QPointF(rng.range(-7, 7), rng.range(-7, 7));
                line(p, a, b, shade(terrain.base, 45));
                a = b;
            }
        }
        break;
    case Decoration::Tufts:
        for (int i = 0; i < 10; ++i) {
            const int x = rng.range(5, 72), y = rng.range(8, 74);
            for (int b = -2; b <= 2; ++b)
                line(p, QPointF(x, y), QPointF(x + b * 2, y - rng.range(4, 7)), jitter(0xff2f6b22, rng, 20));
        }
        break;
    case Decoration::Flowers:
        for (int i = 0; i < 12; ++i) {
            const int x = rng.range(4, 72), y = rng.range(4, 72);
            static constexpr QRgb petals[] = {0xffe8e040, 0xffffffff, 0xffd04a6a, 0xff8a6ad8};
            const QColor petal(petals[rng.range(0, 3)]);
            dot(p, x - 2, y, 2, petal);
            dot(p, x + 2, y, 2, petal);
            dot(p, x, y - 2, 2, petal);
            dot(p, x, y + 2, 2, petal);
            dot(p, x, y, 2, QColor(0xffb07020));
        }
        break;
    case Decoration::Moss:
        for (int i = 0; i < 7; ++i)
            ellipse(p, QRectF(rng.range(0, 66), rng.range(0, 66), rng.range(8, 16), rng.range(6, 12)),
                    jitter(0xff4a6a30, rng, 15));
        break;
    case Decoration::Puddle:
        ellipse(p, QRectF(rng.range(14, 30), rng.range(18, 34), 34, 22), QColor(0xff3c5a7a), shade(0xff2a3440, 100));
        line(p, QPointF(30, 38), QPointF(40, 38), QColor(0xff7a9ac0));
        break;
    case Decoration::Bones:
        for (int i = 0; i < 3; ++i) {
            const QPointF a(rng.range(12, 60), rng.range(12, 60));
            const QPointF b = a + QPointF(rng.range(-12, 12), rng.range(6, 12));
            line(p, a, b, QColor(0xffe8e0c8), 2);
            dot(p, a.x() - 2, a.y() - 2, 3, QColor(0xffe8e0c8));
            dot(p, b.x() - 1, b.y() - 1, 3, QColor(0xffe8e0c8));
        }
        break;
    case Decoration::Leaves:
        for (int i = 0; i < 14; ++i) {
            static constexpr QRgb leaves[] = {0xffb0602a, 0xffc89030, 0xff8a4a20};
            ellipse(p, QRectF(rng.range(2, 74), rng.range(2, 74), 4, 3), QColor(leaves[rng.range(0, 2)]));
        }
        break;
    case Decoration::Ripples:
        for (int i = 0; i < 3; ++i) {
            const int r = 8 + 7 * i;
            p.setPen(QPen(shade(terrain.speckle, 100), 1));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(40, 40), r, r * 0.6);
        }
        break;
    }
}

void paintGridRing(QPainter& p)
{
    p.setPen(QPen(QColor(0, 0, 0, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, kTile - 1, kTile - 1);
}

namespace {

// A gentle wave that is level with its ends, so that neighbouring pieces meet.
double wave(double along) { return 3.0 * std::sin(along * 2 * kPi / 40.0); }

constexpr double kDepth = 24;  // how far terrain reaches into a neighbouring cell
constexpr double kReach = 6;   // regions close this far outside the tile

QPainterPath edgeBoundary()
{
    QPainterPath path(QPointF(-kReach, kTile - kDepth));
    for (int x = 0; x <= kTile; x += 2)
        path.lineTo(x, kTile - kDepth + wave(x));
    path.lineTo(kTile + kReach, kTile - kDepth);
    return path;
}

QPainterPath cornerBoundary()
{
    QPainterPath path(QPointF(kTile - kDepth, kTile + kReach));
    for (int step = 0; step <= 30; ++step) {
        const double angle = kPi + step * (kPi / 2) / 30;  // from west round to north
        const double radius = kDepth + 2.0 * std::sin(step * kPi / 15);
        path.lineTo(kTile + radius * std::cos(angle), kTile + radius * std::sin(angle));
    }
    path.lineTo(kTile + kReach, kTile - kDepth);
    return path;
}

QPainterPath innerBoundary()
{
    const double inner = kTile - kDepth;
    const double fillet = 16;
    QPainterPath path(QPointF(-kReach, inner));
    for (int x = 0; x <= inner - fillet; x += 2)
        path.lineTo(x, inner + wave(x));
    for (int step = 0; step <= 12; ++step) {
        const double angle = kPi / 2 - step * (kPi / 2) / 12;
        path.lineTo(inner - fillet + fillet * std::cos(angle), inner - fillet + fillet * std::sin(angle));
    }
    for (int y = static_cast<int>(inner - fillet); y >= 0; y -= 2)
        path.lineTo(inner + wave(y), y);
    path.lineTo(inner, -kReach);
    return path;
}

// The region on the terrain side of a boundary: closed round the tile's bottom-right.
QPainterPath closeTowardsBottomRight(QPainterPath boundary)
{
    const QPointF end = boundary.currentPosition();
    boundary.lineTo(kTile + kReach, end.y() < 0 ? -kReach : end.y());
    boundary.lineTo(kTile + kReach, kTile + kReach);
    boundary.lineTo(-kReach, kTile + kReach);
    boundary.closeSubpath();
    return boundary;
}

}  // namespace

QPainterPath outerCornerRegion() { return closeTowardsBottomRight(cornerBoundary()); }
QPainterPath edgeRegion() { return closeTowardsBottomRight(edgeBoundary()); }
QPainterPath innerCornerRegion() { return closeTowardsBottomRight(innerBoundary()); }

void paintTerrainPiece(QPainter& p, const Terrain& terrain, const QPainterPath& region, Rng& rng)
{
    p.save();
    p.setClipPath(region, Qt::IntersectClip);
    paintTerrain(p, terrain, rng);
    // A border line where the terrain ends; the region reaches past the tile, so the
    // line never runs along the tile's sides where the next piece continues it.
    QPainterPathStroker stroker;
    stroker.setWidth(4);
    QPainterPath inside;
    inside.addRect(QRectF(0, 0, kTile, kTile));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(terrain.edge));
    p.drawPath(stroker.createStroke(region) & region & inside);
    p.restore();
}

}  // namespace xemap::art
