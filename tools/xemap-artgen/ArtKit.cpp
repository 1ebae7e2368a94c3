#include "ArtKit.h"

#include <algorithm>

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

void dot(QPainter& p, int x, int y, int size, const QColor& colour) { p.fillRect(x, y, size, size, colour); }

void ellipse(QPainter& p, QRectF box, const QColor& fill, const QColor& outline)
{
    p.setPen(outline.isValid() ? QPen(outline, 1) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawEllipse(box);
}

void polygon(QPainter& p, const QPolygon& points, const QColor& fill, const QColor& outline)
{
    p.setPen(outline.isValid() ? QPen(outline, 1) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawPolygon(points);
}

void line(QPainter& p, QPointF a, QPointF b, const QColor& colour, int width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
}

void shadow(QPainter& p, QRectF box)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QBrush(Qt::black, Qt::Dense4Pattern));
    p.drawEllipse(box);
}

void speckle(QPainter& p, QRgb colour, int count, int maxSize, Rng& rng, int spread)
{
    for (int i = 0; i < count; ++i)
        dot(p, rng.range(0, kTile - 1), rng.range(0, kTile - 1), rng.range(1, maxSize), jitter(colour, rng, spread));
}

QImage keyed(const QImage& tile)
{
    QImage result = tile.convertToFormat(QImage::Format_ARGB32);
    result.setAlphaChannel(tile.createMaskFromColor(0xffff00ff, Qt::MaskOutColor));
    return result;
}

}  // namespace xemap::art
