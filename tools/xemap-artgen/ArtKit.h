#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <cstdint>
#include <numbers>
#include <random>

// Drawing primitives of the default tilesets. Everything is drawn aliased with
// opaque colours, so that magenta stays exactly magenta where a tile is see-through.
namespace xemap::art {

constexpr int kTile = 80;

class Rng {
public:
    explicit Rng(std::uint32_t seed) : engine_(seed) {}
    int range(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
    bool chance(double probability) { return std::uniform_real_distribution<double>(0, 1)(engine_) < probability; }

private:
    std::mt19937 engine_;
};

QColor shade(QRgb colour, int percent);  // 100 keeps the colour, less darkens, more lightens
QColor jitter(QRgb colour, Rng& rng, int spread);

constexpr double kPi = std::numbers::pi;

void dot(QPainter& p, int x, int y, int size, const QColor& colour);
void ellipse(QPainter& p, QRectF box, const QColor& fill, const QColor& outline = QColor());
void polygon(QPainter& p, const QPolygon& points, const QColor& fill, const QColor& outline = QColor());
void line(QPainter& p, QPointF a, QPointF b, const QColor& colour, int width = 1);
// Half the pixels black: a shadow that still lets magenta through between its dots.
void shadow(QPainter& p, QRectF box);
void speckle(QPainter& p, QRgb colour, int count, int maxSize, Rng& rng, int spread = 12);

// The tile with its magenta pixels made transparent, for pictures built from tiles.
QImage keyed(const QImage& tile);

}  // namespace xemap::art
