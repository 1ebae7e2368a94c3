#include "render/CellComposer.h"

#include "tileset/Tileset.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <cstdlib>

namespace xemap {

QRect tileSourceRectOf(const CellRect& source)
{
    return QRect(QPoint(source.left, source.top), QPoint(source.right - 1, source.bottom - 1)) &
           QRect(0, 0, kCellImageSize, kCellImageSize);
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

bool drawBase(QPainter& cell, const MapGrid& grid, int x, int y, const Tileset& tileset)
{
    const auto picture = tileset.opaqueTile(grid.tile(x, y, 0), grid.rotation(x, y, 0), 0);
    if (!picture)
        return false;
    cell.setCompositionMode(QPainter::CompositionMode_Source);
    cell.drawImage(QPoint(0, 0), *picture->sheet, picture->area);
    return true;
}

void drawOverlay(QPainter& cell, const MapGrid& grid, int x, int y, int layer, const Tileset& tileset)
{
    if (grid.layerEmpty(x, y, layer))
        return;
    const auto picture = tileset.keyedTile(grid.tile(x, y, layer), grid.rotation(x, y, layer), tilesetLayerOf(layer));
    if (!picture)
        return;
    cell.setCompositionMode(QPainter::CompositionMode_SourceOver);
    cell.drawImage(QPoint(0, 0), *picture->sheet, picture->area);
}

}  // namespace

void composeLayers(QPainter& cell, const MapGrid& grid, int x, int y, const Tileset& tileset, LayerChoice choice)
{
    if (!drawsLayer(choice, 0) || !drawBase(cell, grid, x, y, tileset)) {
        cell.setCompositionMode(QPainter::CompositionMode_Source);
        cell.fillRect(0, 0, kCellImageSize, kCellImageSize, QColor::fromRgb(kCellBackground));
    }
    for (int layer = 1; layer < kCellLayers; ++layer)
        if (drawsLayer(choice, layer))
            drawOverlay(cell, grid, x, y, layer, tileset);
    cell.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void writeLabel(QPainter& cell, int number, const LabelStyle& style)
{
    QFont font = cell.font();
    font.setPixelSize(style.fontHeight);
    cell.setFont(font);
    const QString text = QString::number(number);
    const QFontMetrics metrics(font);
    const QRect box(style.origin, QSize(metrics.horizontalAdvance(text), metrics.height()));
    cell.fillRect(box, Qt::white);
    cell.setPen(Qt::black);
    cell.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
}

namespace {

// A filled rectangle outlined by a pen centred on its border pixels.
void drawOutlinedRect(QPainter& canvas, const DoorEdges& edges)
{
    canvas.drawRect(QRectF(edges.left + 0.5, edges.top + 0.5, edges.right - edges.left - 1,
                           edges.bottom - edges.top - 1));
}

}  // namespace

void drawDoorGlyphs(QPainter& canvas, const std::array<std::int32_t, kDoorSlots>& doorValues,
                    const DoorGeometry& geometry, int penWidth)
{
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (int slot = 0; slot < kDoorSlots; ++slot) {
        const std::int32_t value = doorValues[slot];
        if (value == 0 || value < -kDoorTypes || value > kDoorTypes)
            continue;
        const std::int32_t type = std::abs(value);
        const int position = slot == Center && value < 0 ? DoorCenterVert : slot;
        const DoorColours colours = kDoorColours[type - 1];
        canvas.setPen(QPen(QColor::fromRgb(colours.pen), penWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        canvas.setBrush(QColor::fromRgb(colours.fill));
        drawOutlinedRect(canvas, geometry[position].bar);
        drawOutlinedRect(canvas, geometry[position].box);
    }
    canvas.restore();
}

}  // namespace xemap
