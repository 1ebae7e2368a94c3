#include "ArtKit.h"

#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace xemap::art {

QColor shade(QRgb colour, int percent)
{
    const auto channel = [percent](int value) {
        return percent <= 100 ? value * percent / 100 : value + (255 - value) * (percent - 100) / 100;
    };
    return QColor(std::clamp(channel(qRed(colour)), 0, 255), std::clamp(channel(qGreen(colour)), 0, 255),
                  std::clamp(channel(qBlue(colour)), 0, 255));
}

QColor jitter(QRgb colour, Rng& rng, int spread) { return shade(colour, 100 + rng.range(-spread, spread)); }

namespace {

constexpr double kPi = std::numbers::pi;

void dot(QPainter& p, int x, int y, int size, const QColor& colour) { p.fillRect(x, y, size, size, colour); }

void ellipse(QPainter& p, QRectF box, const QColor& fill, const QColor& outline = QColor())
{
    p.setPen(outline.isValid() ? QPen(outline, 1) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawEllipse(box);
}

void polygon(QPainter& p, const QPolygon& points, const QColor& fill, const QColor& outline = QColor())
{
    p.setPen(outline.isValid() ? QPen(outline, 1) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawPolygon(points);
}

void line(QPainter& p, QPointF a, QPointF b, const QColor& colour, int width = 1)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
}

// Half the pixels black: a shadow that still lets magenta through between its dots.
void shadow(QPainter& p, QRectF box)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QBrush(Qt::black, Qt::Dense4Pattern));
    p.drawEllipse(box);
}

void speckle(QPainter& p, QRgb colour, int count, int maxSize, Rng& rng, int spread = 12)
{
    for (int i = 0; i < count; ++i)
        dot(p, rng.range(0, kTile - 1), rng.range(0, kTile - 1), rng.range(1, maxSize), jitter(colour, rng, spread));
}

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

namespace {

struct ConnectorLook {
    int width;
    QRgb fill;
    QRgb detail;
    QRgb outline;
};

constexpr ConnectorLook lookOf(ConnectorStyle style)
{
    switch (style) {
    case ConnectorStyle::StoneWall: return {22, 0xff9a968c, 0xff5e5a52, 0xff3a3630};
    case ConnectorStyle::WoodFence: return {12, 0xff8a5a2e, 0xff5a3a1a, 0xff3a2410};
    case ConnectorStyle::Road: return {44, 0xffa88a5e, 0xff7a6040, 0xff6a5236};
    case ConnectorStyle::Hedge: return {28, 0xff2e6a28, 0xff4a8a38, 0xff173a14};
    case ConnectorStyle::DungeonWall: return {26, 0xff6e6a66, 0xff46423e, 0xff201e1c};
    case ConnectorStyle::IronBars: return {10, 0xff3a3a40, 0xff70707a, 0xff18181c};
    case ConnectorStyle::Carpet: return {36, 0xff9a1e24, 0xffd8b040, 0xff4a0c10};
    }
    return {};
}

// The arms reach past the tile so that no outline is drawn where a piece meets the next.
QPainterPath armsPath(int arms, int width)
{
    const double half = width / 2.0;
    const double c = kTile / 2.0;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addRect(QRectF(c - half, c - half, width, width));
    if (arms & ArmNorth)
        path.addRect(QRectF(c - half, -4, width, c + 4));
    if (arms & ArmSouth)
        path.addRect(QRectF(c - half, c, width, c + 4));
    if (arms & ArmWest)
        path.addRect(QRectF(-4, c - half, c + 4, width));
    if (arms & ArmEast)
        path.addRect(QRectF(c, c - half, c + 4, width));
    return path.simplified();
}

void paintBricks(QPainter& p, const ConnectorLook& look, Rng& rng, int course, int brick)
{
    p.fillRect(0, 0, kTile, kTile, QColor(look.detail));
    for (int row = 0; row * course < kTile; ++row)
        for (int x = row % 2 ? -brick / 2 : 0; x < kTile; x += brick) {
            p.fillRect(x + 1, row * course + 1, brick - 1, course - 1, jitter(look.fill, rng, 10));
            line(p, QPointF(x + 1, row * course + 1), QPointF(x + brick - 1, row * course + 1), shade(look.fill, 125));
        }
}

}  // namespace

void paintConnector(QPainter& p, ConnectorStyle style, int arms, Rng& rng)
{
    const ConnectorLook look = lookOf(style);
    const QPainterPath shape = armsPath(arms, look.width);
    const double c = kTile / 2.0;
    p.save();
    switch (style) {
    case ConnectorStyle::StoneWall:
    case ConnectorStyle::DungeonWall:
        p.setClipPath(shape, Qt::IntersectClip);
        paintBricks(p, look, rng, style == ConnectorStyle::StoneWall ? 7 : 10,
                    style == ConnectorStyle::StoneWall ? 14 : 20);
        break;
    case ConnectorStyle::Road:
        p.setClipPath(shape, Qt::IntersectClip);
        p.fillRect(0, 0, kTile, kTile, QColor(look.fill));
        speckle(p, look.fill, 220, 3, rng, 14);
        speckle(p, look.detail, 60, 2, rng);
        for (int i = 0; i < 6; ++i)
            ellipse(p, QRectF(rng.range(4, 72), rng.range(4, 72), 4, 3), QColor(0xff8a847a));
        break;
    case ConnectorStyle::Hedge:
        p.setClipPath(shape, Qt::IntersectClip);
        p.fillRect(0, 0, kTile, kTile, QColor(look.fill));
        for (int i = 0; i < 70; ++i)
            ellipse(p, QRectF(rng.range(-4, 78), rng.range(-4, 78), rng.range(5, 9), rng.range(5, 9)),
                    jitter(rng.chance(0.5) ? look.detail : look.fill, rng, 18));
        break;
    case ConnectorStyle::Carpet:
        p.setClipPath(shape, Qt::IntersectClip);
        p.fillRect(0, 0, kTile, kTile, QColor(look.fill));
        for (int y = 4; y < kTile; y += 12)
            for (int x = 4; x < kTile; x += 12)
                polygon(p, QPolygon({QPoint(x, y - 3), QPoint(x + 3, y), QPoint(x, y + 3), QPoint(x - 3, y)}),
                        shade(look.fill, 70));
        p.setPen(QPen(QColor(look.detail), 8));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape);
        break;
    case ConnectorStyle::WoodFence:
    case ConnectorStyle::IronBars: {
        const bool wooden = style == ConnectorStyle::WoodFence;
        for (const int offset : {-4, 3}) {
            const QColor rail = wooden ? jitter(look.fill, rng, 8) : QColor(look.fill);
            if (arms & ArmWest)
                line(p, QPointF(0, c + offset), QPointF(c, c + offset), rail, wooden ? 3 : 2);
            if (arms & ArmEast)
                line(p, QPointF(c, c + offset), QPointF(kTile, c + offset), rail, wooden ? 3 : 2);
            if (arms & ArmNorth)
                line(p, QPointF(c + offset, 0), QPointF(c + offset, c), rail, wooden ? 3 : 2);
            if (arms & ArmSouth)
                line(p, QPointF(c + offset, c), QPointF(c + offset, kTile), rail, wooden ? 3 : 2);
        }
        const auto post = [&](double x, double y) {
            const int size = wooden ? 9 : 5;
            p.fillRect(QRectF(x - size / 2.0, y - size / 2.0, size, size), QColor(look.detail));
            p.fillRect(QRectF(x - size / 2.0, y - size / 2.0, size, 2), shade(look.detail, 140));
        };
        post(c, c);
        for (const int bit : {ArmNorth, ArmEast, ArmSouth, ArmWest}) {
            if (!(arms & bit))
                continue;
            const double along = wooden ? 20 : 10;
            for (double d = along; d < c; d += along)
                post(bit == ArmEast   ? c + d
                     : bit == ArmWest ? c - d
                                      : c,
                     bit == ArmSouth   ? c + d
                     : bit == ArmNorth ? c - d
                                       : c);
        }
        p.restore();
        return;
    }
    }
    p.setClipping(false);
    QPainterPathStroker stroker;
    stroker.setWidth(4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(look.outline));
    QPainterPath inside;
    inside.addRect(QRectF(0, 0, kTile, kTile));
    p.drawPath(stroker.createStroke(shape) & shape & inside);
    p.restore();
}

void paintDoorway(QPainter& p, ConnectorStyle style, Rng& rng)
{
    paintConnector(p, style, ArmWest | ArmEast, rng);
    const int half = lookOf(style).width / 2 + 2;
    const QRect door(24, 40 - half, 32, 2 * half);
    p.fillRect(door, QColor(0xff7a4a22));
    for (int x = door.left() + 6; x < door.right(); x += 6)
        line(p, QPointF(x, door.top()), QPointF(x, door.bottom()), QColor(0xff4a2a10));
    p.setPen(QPen(QColor(0xff2a1808), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(door);
    dot(p, 50, 38, 3, QColor(0xffd8c040));
}

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
    case BoxKind::Pond: paintWater(p, Terrain{s.fill, s.detail, s.fill, Pattern::Water}, rng); break;
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
    case BoxKind::Table: paintPlanks(p, Terrain{s.fill, s.detail, s.fill, Pattern::Planks}, rng); break;
    case BoxKind::Pit:
        p.fillRect(0, 0, kTile, kTile, QColor(s.fill));
        speckle(p, s.detail, 40, 2, rng, 10);
        break;
    case BoxKind::Dais: paintFlagstones(p, Terrain{s.fill, s.detail, s.fill, Pattern::Flagstones}, rng); break;
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

void paintThing(QPainter& p, Thing thing, Rng& rng)
{
    const auto canopy = [&](QPointF centre, double radius, QRgb leaf) {
        shadow(p, QRectF(centre.x() - radius + 6, centre.y() - radius + 10, 2 * radius, 2 * radius));
        for (int i = 0; i < 7; ++i) {
            const double a = i * 2 * kPi / 7;
            const double r = radius * 0.55;
            ellipse(p, QRectF(centre.x() + r * std::cos(a) - r, centre.y() + r * std::sin(a) - r, 2 * r, 2 * r),
                    jitter(leaf, rng, 10), shade(leaf, 45));
        }
        ellipse(p, QRectF(centre.x() - radius * 0.6, centre.y() - radius * 0.6, radius * 1.2, radius * 1.2),
                QColor(leaf));
        for (int i = 0; i < 18; ++i)
            dot(p, centre.x() + rng.range(-radius * 0.7, radius * 0.5),
                centre.y() + rng.range(-radius * 0.7, radius * 0.3), 2, shade(leaf, 135));
    };
    const auto box = [&](QRect r, QRgb fill) {
        p.fillRect(r, QColor(fill));
        p.setPen(QPen(shade(fill, 50), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
    };
    switch (thing) {
    case Thing::Oak:
        p.fillRect(36, 40, 8, 22, QColor(0xff5a3a1a));
        canopy({40, 36}, 30, 0xff2a6420);
        break;
    case Thing::Pine:
        shadow(p, QRectF(22, 30, 44, 44));
        for (int i = 0; i < 4; ++i) {
            const int r = 30 - i * 7;
            polygon(p, QPolygon({QPoint(40, 8 + i * 6), QPoint(40 + r, 40 + r / 2), QPoint(40 - r, 40 + r / 2)}),
                    shade(0xff1e5a30, 90 + i * 10), shade(0xff0e3018, 100));
        }
        break;
    case Thing::Bush: canopy({40, 42}, 18, 0xff3a7a2a); break;
    case Thing::Rock:
        shadow(p, QRectF(26, 40, 34, 20));
        polygon(
            p,
            QPolygon({QPoint(24, 50), QPoint(30, 32), QPoint(46, 28), QPoint(56, 40), QPoint(52, 54), QPoint(32, 56)}),
            QColor(0xff8a8680), QColor(0xff4a4640));
        line(p, QPointF(30, 34), QPointF(45, 30), QColor(0xffc0bcb4), 2);
        break;
    case Thing::Boulder:
        shadow(p, QRectF(14, 34, 58, 36));
        polygon(p,
                QPolygon({QPoint(10, 50), QPoint(18, 22), QPoint(40, 12), QPoint(64, 22), QPoint(70, 48),
                          QPoint(52, 64), QPoint(24, 64)}),
                QColor(0xff7a766e), QColor(0xff3a3630));
        line(p, QPointF(20, 24), QPointF(40, 14), QColor(0xffb8b2a8), 2);
        line(p, QPointF(40, 30), QPointF(48, 48), QColor(0xff4a4640));
        break;
    case Thing::Flowers: paintDecoration(p, Decoration::Flowers, Terrain{}, rng); break;
    case Thing::Well:
        shadow(p, QRectF(16, 20, 54, 54));
        ellipse(p, QRectF(14, 14, 52, 52), QColor(0xff8a8680), QColor(0xff3a3630));
        ellipse(p, QRectF(24, 24, 32, 32), QColor(0xff1a2a40));
        line(p, QPointF(14, 40), QPointF(66, 40), QColor(0xff6a4020), 4);
        break;
    case Thing::Barrel:
        shadow(p, QRectF(24, 28, 36, 36));
        ellipse(p, QRectF(22, 22, 36, 36), QColor(0xff8a5a2e), QColor(0xff3a2410));
        for (const int r : {14, 8})
            ellipse(p, QRectF(40 - r, 40 - r, 2 * r, 2 * r), QColor(0xff9a6a3a), QColor(0xff4a4a4a));
        break;
    case Thing::Crate:
        box(QRect(20, 20, 40, 40), 0xffa87a40);
        line(p, QPointF(21, 21), QPointF(59, 59), QColor(0xff6a4a20), 3);
        line(p, QPointF(59, 21), QPointF(21, 59), QColor(0xff6a4a20), 3);
        break;
    case Thing::LampPost:
        ellipse(p, QRectF(34, 34, 12, 12), QColor(0xff2a2a2a));
        ellipse(p, QRectF(30, 18, 20, 20), QColor(0xfff0d060), QColor(0xff2a2a2a));
        break;
    case Thing::Bench:
        box(QRect(14, 32, 52, 16), 0xff8a5a2e);
        line(p, QPointF(16, 38), QPointF(64, 38), QColor(0xff5a3a1a));
        break;
    case Thing::Signpost:
        box(QRect(36, 36, 8, 8), 0xff5a3a1a);
        box(QRect(18, 24, 44, 12), 0xffb08a50);
        break;
    case Thing::Cart:
        box(QRect(18, 24, 44, 30), 0xff9a6a3a);
        for (const int x : {14, 62})
            p.fillRect(x, 22, 4, 34, QColor(0xff3a2a1a));
        line(p, QPointF(40, 54), QPointF(40, 76), QColor(0xff5a3a1a), 3);
        break;
    case Thing::Haystack:
        shadow(p, QRectF(18, 26, 50, 44));
        ellipse(p, QRectF(14, 18, 52, 44), QColor(0xffd8b850), QColor(0xff8a7020));
        for (int i = 0; i < 25; ++i) {
            const int x = rng.range(20, 58), y = rng.range(24, 56);
            line(p, QPointF(x, y), QPointF(x + rng.range(-3, 3), y + 4), QColor(0xffa88a30));
        }
        break;
    case Thing::Stump:
        ellipse(p, QRectF(26, 26, 28, 28), QColor(0xff6a4a28), QColor(0xff3a2410));
        ellipse(p, QRectF(31, 31, 18, 18), QColor(0xffc8a070));
        ellipse(p, QRectF(36, 36, 8, 8), QColor(0xffa88050));
        break;
    case Thing::LogPile:
        for (int i = 0; i < 3; ++i) {
            p.fillRect(12, 22 + i * 12, 56, 10, QColor(0xff7a5030));
            ellipse(p, QRectF(62, 22 + i * 12, 10, 10), QColor(0xffc8a070), QColor(0xff3a2410));
        }
        break;
    case Thing::Statue:
        p.fillRect(22, 22, 36, 36, QColor(0xff8a8680));
        ellipse(p, QRectF(30, 26, 20, 20), QColor(0xffc8c4bc), QColor(0xff5a5650));
        break;
    case Thing::Fountain:
        ellipse(p, QRectF(6, 6, 68, 68), QColor(0xff9a968c), QColor(0xff4a4640));
        ellipse(p, QRectF(12, 12, 56, 56), QColor(0xff3a6aa0));
        ellipse(p, QRectF(32, 32, 16, 16), QColor(0xffc8c4bc));
        paintDecoration(p, Decoration::Ripples, Terrain{0, 0xff8ab0e0, 0, Pattern::Water}, rng);
        break;
    case Thing::Bridge:
        p.fillRect(14, 0, 52, kTile, QColor(0xff8a5a2e));
        for (int y = 0; y < kTile; y += 8)
            line(p, QPointF(14, y), QPointF(66, y), QColor(0xff4a2a10));
        for (const int x : {12, 64})
            p.fillRect(x, 0, 4, kTile, QColor(0xff5a3a1a));
        break;
    case Thing::Stairs:
    case Thing::StairsDown:
        for (int i = 0; i < 6; ++i) {
            const int shadeStep = thing == Thing::Stairs ? 60 + i * 10 : 120 - i * 12;
            p.fillRect(14, 10 + i * 10, 52, 10, shade(0xff9a968c, shadeStep));
            line(p, QPointF(14, 10 + i * 10), QPointF(66, 10 + i * 10), QColor(0xff3a3630));
        }
        break;
    case Thing::Stall:
        box(QRect(10, 30, 60, 24), 0xff8a5a2e);
        for (int x = 10; x < 70; x += 12)
            p.fillRect(x, 14, 6, 16, QColor(x % 24 ? 0xffd04040 : 0xffffffff));
        for (int i = 0; i < 5; ++i)
            ellipse(p, QRectF(16 + i * 10, 36, 8, 8), QColor(i % 2 ? 0xffd8a020 : 0xff60a030));
        break;
    case Thing::Tent:
        polygon(p, QPolygon({QPoint(40, 10), QPoint(72, 66), QPoint(8, 66)}), QColor(0xffc8b890), QColor(0xff6a5a3a));
        polygon(p, QPolygon({QPoint(40, 30), QPoint(50, 66), QPoint(30, 66)}), QColor(0xff3a3020));
        break;
    case Thing::Campfire:
        for (int i = 0; i < 8; ++i) {
            const double a = i * kPi / 4;
            ellipse(p, QRectF(36 + 18 * std::cos(a), 36 + 18 * std::sin(a), 8, 8), QColor(0xff8a8680),
                    QColor(0xff4a4640));
        }
        ellipse(p, QRectF(28, 28, 24, 24), QColor(0xffe06010));
        ellipse(p, QRectF(33, 31, 14, 16), QColor(0xfff0c030));
        break;
    case Thing::WoodDoor:
    case Thing::IronGate: {
        const QRgb colour = thing == Thing::WoodDoor ? 0xff7a4a22 : 0xff4a4a52;
        box(QRect(20, 30, 40, 20), colour);
        for (int x = 26; x < 60; x += 7)
            line(p, QPointF(x, 31), QPointF(x, 49), shade(colour, 60));
        break;
    }
    case Thing::Arch:
        p.fillRect(8, 28, 14, 24, QColor(0xff9a968c));
        p.fillRect(58, 28, 14, 24, QColor(0xff9a968c));
        p.setPen(QPen(QColor(0xff6a665e), 6));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRect(12, 14, 56, 40), 0, 180 * 16);
        break;
    case Thing::Anvil:
        polygon(p,
                QPolygon({QPoint(16, 30), QPoint(64, 30), QPoint(56, 42), QPoint(48, 42), QPoint(50, 54),
                          QPoint(30, 54), QPoint(32, 42), QPoint(24, 42)}),
                QColor(0xff4a4a52), QColor(0xff1a1a1e));
        break;
    case Thing::Table:
        shadow(p, QRectF(16, 18, 54, 54));
        box(QRect(16, 16, 48, 48), 0xff9a6a3a);
        line(p, QPointF(17, 40), QPointF(63, 40), QColor(0xff6a4a20));
        break;
    case Thing::Chair:
        box(QRect(28, 30, 24, 24), 0xff9a6a3a);
        p.fillRect(28, 24, 24, 6, QColor(0xff6a4020));
        break;
    case Thing::Grave:
        p.fillRect(30, 44, 20, 24, QColor(0xff6a5a40));
        p.setPen(QPen(QColor(0xff4a4640), 2));
        p.setBrush(QColor(0xffa8a49c));
        p.drawRoundedRect(QRect(28, 14, 24, 30), 10, 10);
        line(p, QPointF(40, 20), QPointF(40, 36), QColor(0xff4a4640), 2);
        line(p, QPointF(34, 26), QPointF(46, 26), QColor(0xff4a4640), 2);
        break;
    case Thing::Chest:
        box(QRect(18, 26, 44, 30), 0xff8a5a2e);
        p.fillRect(18, 36, 44, 4, QColor(0xffc8a030));
        p.fillRect(37, 34, 6, 8, QColor(0xffe8d060));
        break;
    case Thing::Bed:
        box(QRect(20, 8, 40, 64), 0xff6a4020);
        p.fillRect(23, 11, 34, 14, QColor(0xffe8e4dc));
        p.fillRect(23, 28, 34, 41, QColor(0xff3a5aa0));
        line(p, QPointF(23, 28), QPointF(57, 28), QColor(0xffe8e4dc), 2);
        break;
    case Thing::Bookshelf:
        box(QRect(4, 24, 72, 24), 0xff5a3a1a);
        for (int x = 8; x < 72; x += 5)
            p.fillRect(
                x, 27, 4, 18,
                jitter(std::array<QRgb, 4>{0xff9a2a2a, 0xff2a5a9a, 0xff2a7a3a, 0xffa88a30}[rng.range(0, 3)], rng, 10));
        break;
    case Thing::Throne:
        box(QRect(24, 14, 32, 12), 0xffc8a030);
        box(QRect(24, 26, 32, 34), 0xff9a1e24);
        p.fillRect(20, 30, 6, 30, QColor(0xffc8a030));
        p.fillRect(54, 30, 6, 30, QColor(0xffc8a030));
        break;
    case Thing::Torch:
        p.fillRect(37, 36, 6, 22, QColor(0xff5a3a1a));
        ellipse(p, QRectF(32, 20, 16, 20), QColor(0xffe06010));
        ellipse(p, QRectF(36, 26, 8, 12), QColor(0xfff8e060));
        break;
    case Thing::Skeleton:
        ellipse(p, QRectF(33, 14, 14, 14), QColor(0xffe8e0c8), QColor(0xff8a846a));
        dot(p, 36, 19, 3, QColor(0xff2a2a2a));
        dot(p, 41, 19, 3, QColor(0xff2a2a2a));
        line(p, QPointF(40, 28), QPointF(40, 52), QColor(0xffe8e0c8), 3);
        for (int y = 32; y < 46; y += 4)
            line(p, QPointF(32, y), QPointF(48, y), QColor(0xffe8e0c8), 2);
        line(p, QPointF(40, 52), QPointF(30, 68), QColor(0xffe8e0c8), 2);
        line(p, QPointF(40, 52), QPointF(50, 68), QColor(0xffe8e0c8), 2);
        break;
    case Thing::Altar:
        box(QRect(12, 24, 56, 32), 0xffb8b4ac);
        p.fillRect(16, 28, 48, 4, QColor(0xff9a1e24));
        ellipse(p, QRectF(24, 36, 8, 12), QColor(0xfff8e060));
        ellipse(p, QRectF(48, 36, 8, 12), QColor(0xfff8e060));
        break;
    case Thing::Coffin:
        polygon(
            p, QPolygon({QPoint(32, 6), QPoint(48, 6), QPoint(56, 22), QPoint(50, 74), QPoint(30, 74), QPoint(24, 22)}),
            QColor(0xff5a3a1a), QColor(0xff2a1808));
        line(p, QPointF(40, 18), QPointF(40, 44), QColor(0xffc8a030), 2);
        line(p, QPointF(33, 26), QPointF(47, 26), QColor(0xffc8a030), 2);
        break;
    case Thing::Pillar:
        shadow(p, QRectF(22, 24, 44, 44));
        ellipse(p, QRectF(18, 18, 44, 44), QColor(0xff8a8680), QColor(0xff3a3630));
        ellipse(p, QRectF(24, 24, 32, 32), QColor(0xffb8b4ac));
        break;
    case Thing::Rubble:
        for (int i = 0; i < 12; ++i) {
            const int x = rng.range(10, 60), y = rng.range(10, 60), r = rng.range(4, 10);
            polygon(
                p,
                QPolygon({QPoint(x, y + r), QPoint(x + r, y), QPoint(x + 2 * r, y + r), QPoint(x + r / 2, y + 2 * r)}),
                jitter(0xff7a766e, rng, 18), QColor(0xff3a3630));
        }
        break;
    case Thing::Web:
        p.setPen(QPen(QColor(0xffe8e8e8), 1));
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 8; ++i)
            p.drawLine(QPointF(0, 0), QPointF(78 * std::cos(i * kPi / 16), 78 * std::sin(i * kPi / 16)));
        for (const int r : {16, 30, 44, 58})
            p.drawArc(QRect(-r, -r, 2 * r, 2 * r), -90 * 16, 90 * 16);
        break;
    case Thing::Cauldron:
        ellipse(p, QRectF(20, 20, 40, 40), QColor(0xff2a2a2e), QColor(0xff101012));
        ellipse(p, QRectF(26, 26, 28, 28), QColor(0xff4aa040));
        for (int i = 0; i < 5; ++i)
            ellipse(p, QRectF(rng.range(28, 46), rng.range(28, 46), 5, 5), QColor(0xff8ad070));
        break;
    case Thing::Candles:
        for (int i = 0; i < 3; ++i) {
            const int x = 26 + i * 12, y = 34 + (i % 2) * 8;
            p.fillRect(x, y, 6, 14, QColor(0xfff0ecd8));
            ellipse(p, QRectF(x, y - 8, 6, 8), QColor(0xfff8c030));
        }
        break;
    case Thing::Trapdoor:
        box(QRect(18, 18, 44, 44), 0xff6a4020);
        for (int x = 26; x < 62; x += 9)
            line(p, QPointF(x, 19), QPointF(x, 61), QColor(0xff3a2410));
        ellipse(p, QRectF(50, 36, 8, 8), QColor(0xff2a2a2a));
        break;
    case Thing::Lever:
        box(QRect(30, 44, 20, 14), 0xff5a5660);
        line(p, QPointF(40, 50), QPointF(54, 24), QColor(0xff8a8690), 3);
        ellipse(p, QRectF(50, 18, 10, 10), QColor(0xffb02020));
        break;
    case Thing::Banner:
        p.fillRect(16, 10, 48, 4, QColor(0xff5a3a1a));
        polygon(p, QPolygon({QPoint(22, 14), QPoint(58, 14), QPoint(58, 60), QPoint(40, 50), QPoint(22, 60)}),
                QColor(0xff2a4a9a), QColor(0xff101a3a));
        ellipse(p, QRectF(34, 24, 12, 12), QColor(0xffd8b040));
        break;
    case Thing::Mushrooms:
        for (int i = 0; i < 5; ++i) {
            const int x = rng.range(14, 60), y = rng.range(20, 60);
            p.fillRect(x + 3, y + 4, 3, 6, QColor(0xffe8e0c8));
            ellipse(p, QRectF(x, y, 10, 7), QColor(0xffb03020));
            dot(p, x + 3, y + 2, 2, QColor(0xffffffff));
        }
        break;
    case Thing::Crystal:
        for (int i = 0; i < 4; ++i) {
            const int x = 22 + i * 10, h = 22 + (i % 2) * 14;
            polygon(p, QPolygon({QPoint(x, 62), QPoint(x + 5, 62 - h), QPoint(x + 10, 62)}), QColor(0xff70c8e8),
                    QColor(0xff2a6a8a));
            line(p, QPointF(x + 5, 62 - h), QPointF(x + 5, 62), QColor(0xffd8f4ff));
        }
        break;
    }
}

}  // namespace xemap::art

namespace xemap::art {

QImage keyed(const QImage& tile)
{
    QImage result = tile.convertToFormat(QImage::Format_ARGB32);
    result.setAlphaChannel(tile.createMaskFromColor(0xffff00ff, Qt::MaskOutColor));
    return result;
}

}  // namespace xemap::art
