#include "render/CellComposer.h"

#include "render/Tileset.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>

namespace xemap {

QRect tileSourceRectOf(const CellRect& source)
{
    return QRect(QPoint(source.left, source.top), QPoint(source.right - 1, source.bottom - 1))
           & QRect(0, 0, kCellImageSize, kCellImageSize);
}

LabelStyle viewLabelStyle(float zoomFactor)
{
    if (zoomFactor == 1.0f)
        return {80, QPoint(20, 2)};
    if (zoomFactor == 2.0f)
        return {40, QPoint(26, 20)};
    return {20, QPoint(40, 20)};
}

namespace {

bool drawsLayer(LayerChoice choice, int layer)
{
    return layer < choice.layerLimit && (choice.onlyLayer == LayerChoice::kAllLayers || choice.onlyLayer == layer);
}

// Where the composition's part `source` of a tile lies in its sheet.
QRect pictureRect(const TilePicture& picture, QRect source)
{
    return QRect(picture.area.topLeft() + source.topLeft(), source.size());
}

bool drawBase(QPainter& canvas, QRect target, QRect source, const MapGrid& grid, int x, int y, const Tileset& tileset)
{
    const auto picture = tileset.opaqueTile(grid.tile(x, y, 0), grid.rotation(x, y, 0), 0);
    if (!picture)
        return false;
    canvas.setCompositionMode(QPainter::CompositionMode_Source);
    canvas.drawImage(target, *picture->sheet, pictureRect(*picture, source));
    return true;
}

void drawOverlay(QPainter& canvas, QRect target, QRect source, const MapGrid& grid, int x, int y, int layer,
                 const Tileset& tileset)
{
    if (grid.layerEmpty(x, y, layer))
        return;
    const auto picture = tileset.keyedTile(grid.tile(x, y, layer), grid.rotation(x, y, layer), tilesetLayerOf(layer));
    if (!picture)
        return;
    canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
    canvas.drawImage(target, *picture->sheet, pictureRect(*picture, source));
}

}  // namespace

void composeLayers(QPainter& canvas, QRect target, QRect source, const MapGrid& grid, int x, int y,
                   const Tileset& tileset, LayerChoice choice)
{
    if (!drawsLayer(choice, 0) || !drawBase(canvas, target, source, grid, x, y, tileset)) {
        canvas.setCompositionMode(QPainter::CompositionMode_Source);
        canvas.fillRect(target, QColor::fromRgb(kCellBackground));
    }
    for (int layer = 1; layer < kCellLayers; ++layer)
        if (drawsLayer(choice, layer))
            drawOverlay(canvas, target, source, grid, x, y, layer, tileset);
    canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

namespace {

// The largest font whose text cell (ascent plus descent) fits `textHeight`: sized by its em
// alone, the text cell, and so the white box, comes out a fifth taller.
QFont labelFont(int textHeight)
{
    QFont font;
    for (int size = textHeight; size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= textHeight)
            break;
    }
    return font;
}

QImage labelStamp(int number, int fontHeight)
{
    const QFont font = labelFont(fontHeight);
    const QString text = QString::number(number);
    const QFontMetrics metrics(font);
    QImage stamp(std::max(metrics.horizontalAdvance(text), 1), std::max(fontHeight, 1), QImage::Format_RGB32);
    stamp.fill(Qt::white);
    QPainter painter(&stamp);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(stamp.rect(), Qt::AlignLeft | Qt::AlignTop, text);
    return stamp;
}

}  // namespace

void writeLabel(QPainter& cell, int number, const LabelStyle& style)
{
    // Large glyphs are not cached by the text engine, so each label picture is kept.
    static std::map<std::pair<int, int>, QImage> stamps;
    auto [entry, added] = stamps.try_emplace({style.fontHeight, number});
    if (added)
        entry->second = labelStamp(number, style.fontHeight);
    cell.setCompositionMode(QPainter::CompositionMode_Source);
    cell.drawImage(style.origin, entry->second);
    cell.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

namespace {

// A rectangle in the fill colour with an outline in the pen colour, all within its
// edges: the outline takes the inner half of the pen's width.
void drawOutlinedRect(QPainter& canvas, const DoorEdges& edges, const DoorColours& colours, int penWidth)
{
    const QRect rect = edges.rect();
    const int band = std::max(penWidth / 2, 1);
    canvas.fillRect(rect, QColor::fromRgb(colours.pen));
    const QRect inside = rect.adjusted(band, band, -band, -band);
    if (inside.isValid())
        canvas.fillRect(inside, QColor::fromRgb(colours.fill));
}

}  // namespace

void drawDoorGlyphs(QPainter& canvas, const std::array<std::int32_t, kDoorSlots>& doorValues,
                    const DoorGeometry& geometry, int penWidth)
{
    canvas.save();
    canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (int slot = 0; slot < kDoorSlots; ++slot) {
        const std::int32_t value = doorValues[slot];
        if (value == 0 || value < -kDoorTypes || value > kDoorTypes)
            continue;
        const int position = slot == Center && value < 0 ? DoorCenterVert : slot;
        const DoorColours& colours = kDoorColours[std::abs(value) - 1];
        drawOutlinedRect(canvas, geometry[position].bar, colours, penWidth);
        drawOutlinedRect(canvas, geometry[position].box, colours, penWidth);
    }
    canvas.restore();
}

}  // namespace xemap
