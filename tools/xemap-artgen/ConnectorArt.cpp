#include "ConnectorArt.h"

#include <QPainterPath>

#include <cmath>

namespace xemap::art {

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

}  // namespace xemap::art
