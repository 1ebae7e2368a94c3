#include "render/Xedrawfuncs.h"

#include "render/MaskedBlit.h"
#include "render/Tileset.h"

#include <QBrush>
#include <QPainter>
#include <QPen>
#include <QPolygon>

#include <algorithm>

namespace xemap {

namespace {

QImage blankImage(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// One-pixel checkerboards; the first is black at (0, 0), the second its complement.
QImage checkerboard(bool blackAtOrigin)
{
    QImage pattern(2, 2, QImage::Format_RGB32);
    const QRgb first = blackAtOrigin ? 0xff000000 : 0xffffffff;
    const QRgb second = blackAtOrigin ? 0xffffffff : 0xff000000;
    pattern.setPixel(0, 0, first);
    pattern.setPixel(1, 1, first);
    pattern.setPixel(1, 0, second);
    pattern.setPixel(0, 1, second);
    QImage board(kCellImageSize, kCellImageSize, QImage::Format_RGB32);
    QPainter painter(&board);
    painter.fillRect(kCellImageRect, QBrush(pattern));
    return board;
}

// A raster operation (AND, OR) of two same-sized 32-bit RGB pictures, pixel by pixel:
// the preview draws many small ones, where a painter would cost more than the work.
template <class Operation>
void combine(QImage& target, const QImage& source, Operation operation)
{
    const int width = std::min(target.width(), source.width());
    const int height = std::min(target.height(), source.height());
    uchar* targetRows = target.bits();
    const uchar* sourceRows = source.constBits();
    for (int y = 0; y < height; ++y) {
        auto* to = reinterpret_cast<QRgb*>(targetRows + y * target.bytesPerLine());
        const auto* from = reinterpret_cast<const QRgb*>(sourceRows + y * source.bytesPerLine());
        for (int x = 0; x < width; ++x)
            to[x] = operation(to[x], from[x]);
    }
}

// A tile laid on a cell picture of its size: opaque on the base layer, masked above it.
void layTile(QImage& destination, QImage tile, int cellLayer)
{
    if (cellLayer == 0)
        destination = std::move(tile);
    else
        maskedBlit(destination, tile);
}

// The tile at its rotation as a picture of its own; the blank colour where there is none.
QImage fetchOrBlank(const Tileset& tileset, int tile, int rotation, int tilesetLayer, QRgb blank)
{
    const auto picture = tileset.opaqueTile(tile, rotation, tilesetLayer);
    return picture ? picture->sheet->copy(picture->area) : blankImage(kCellImageRect.size(), blank);
}

}  // namespace

MapRenderer::MapRenderer(const MapDocument& document, const EditorState& state, const Tileset& tileset, QSize viewSize)
    : document_(document), state_(state), tileset_(tileset), map_(blankImage(viewSize, 0xffffffff)),
      cell_(blankImage(kCellImageRect.size(), kCellBackground)), underCursor_(cell_),
      preview_(blankImage(kPreviewSize, kCellBackground)), mask1_(checkerboard(true)), mask2_(checkerboard(false))
{
}

void MapRenderer::present() const
{
    if (presenter_)
        presenter_();
}

QRect MapRenderer::cellRect(int x, int y) const
{
    const int size = state_.cellSize;
    return {(x - state_.viewColumn) * size, (y - state_.viewRow) * size, size, size};
}

QRect MapRenderer::tileSourceRect() const { return tileSourceRectOf(state_.tileSource); }

bool MapRenderer::visible(int x, int y) const
{
    return insideGrid(x, y) && state_.cellSize > 0 && cellRect(x, y).intersects(map_.rect());
}

LayerChoice MapRenderer::layerChoice() const
{
    return {state_.layerCount, state_.oneLayer ? state_.currentLayer : LayerChoice::kAllLayers};
}

std::optional<int> MapRenderer::labelOf(int x, int y) const
{
    if (!state_.showLabels)
        return std::nullopt;
    return document_.descriptions.find(cellIndexOf(x, y));
}

bool MapRenderer::writtenOver(int x, int y) const
{
    return labelOf(x, y) || (state_.showDoors && document_.grid.hasDoor(x, y));
}

void MapRenderer::composeCell(QPainter& cell, int x, int y)
{
    composeLayers(cell, kCellImageRect, kCellImageRect, document_.grid, x, y, tileset_, layerChoice());
    if (const auto position = labelOf(x, y))
        writeViewLabel(cell, locationIdOf(*position));
    drawDoorGlyphs(x, y, cell, doorPenWidth(state_.zoomFactor));
}

void MapRenderer::placeCell(QPainter& map, int x, int y) const
{
    map.drawImage(cellRect(x, y), cell_, tileSourceRect());
}

const QImage& MapRenderer::composeCellImage(int x, int y)
{
    if (insideGrid(x, y)) {
        QPainter cell(&cell_);
        composeCell(cell, x, y);
    }
    return cell_;
}

void MapRenderer::drawOneCell(int x, int y)
{
    if (!visible(x, y))
        return;
    composeCellImage(x, y);
    QPainter map(&map_);
    placeCell(map, x, y);
}

void MapRenderer::redrawAll()
{
    map_.fill(0xffffffff);
    if (state_.cellSize > 0) {
        const int firstColumn = std::max(state_.viewColumn, 0);
        const int firstRow = std::max(state_.viewRow, 0);
        const int endColumn = std::min(map_.width() / state_.cellSize + state_.viewColumn, kMapSize);
        const int endRow = std::min(map_.height() / state_.cellSize + state_.viewRow, kMapSize);
        // One painter per image for the whole pass; a cell with a label or doors is
        // finished on the cell image before it is copied out, and so is every cell at
        // zoom 8, where blending enlarged overlays costs more than one enlarged copy.
        const bool enlarged = state_.cellSize > kCellImageSize;
        QPainter cell(&cell_);
        QPainter map(&map_);
        for (int x = firstColumn; x < endColumn; ++x) {
            for (int y = firstRow; y < endRow; ++y) {
                if (enlarged || writtenOver(x, y)) {
                    composeCell(cell, x, y);
                    placeCell(map, x, y);
                } else {
                    // Scaling drops the same pixels whether it comes before or after the
                    // layers are laid, so a plain cell is laid straight into place.
                    composeLayers(map, cellRect(x, y), tileSourceRect(), document_.grid, x, y, tileset_, layerChoice());
                }
            }
        }
    }
    present();
}

void MapRenderer::redrawLabelledCells(int first, int end)
{
    if (state_.showLabels) {
        const DescriptionList& descriptions = document_.descriptions;
        for (int position = std::max(first, 0); position < std::min(end, descriptions.size()); ++position) {
            const int cellIndex = descriptions.at(position)->cellIndex;
            if (cellIndex >= 0 && cellIndex < kCellCount)
                drawOneCell(cellIndex % kMapSize, cellIndex / kMapSize);
        }
    }
    present();
}

void MapRenderer::saveUnderCursor(int x, int y)
{
    QPainter saved(&underCursor_);
    saved.setCompositionMode(QPainter::CompositionMode_Source);
    saved.drawImage(tileSourceRect(), map_, cellRect(x, y));
}

void MapRenderer::restoreUnderCursor(int x, int y)
{
    QPainter map(&map_);
    map.setCompositionMode(QPainter::CompositionMode_Source);
    map.drawImage(cellRect(x, y), underCursor_, tileSourceRect());
}

void MapRenderer::cursorPreview(int x, int y, const PaletteTile& selected)
{
    if (!visible(x, y))
        return;
    drawOneCell(x, y);
    saveUnderCursor(x, y);

    QImage preview = blankImage(kCellImageRect.size(), kCellBackground);
    composePreview(x, y, selected, preview);
    preview_ = preview.scaled(kPreviewSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    {
        QPainter cell(&cell_);
        drawDoorGlyphs(x, y, cell, doorPenWidth(state_.zoomFactor));
        QPainter map(&map_);
        placeCell(map, x, y);
    }
    const int column = x - state_.viewColumn;
    const int row = y - state_.viewRow;
    outline(column, row, column + 1, row + 1);
}

// Scaling part of the masks keeps the checkerboard near one screen pixel at every zoom;
// the scaled masks are kept until the zoom or the tile source rectangle changes.
void MapRenderer::scaleMasks()
{
    const QRect maskSource = state_.zoomFactor == 1.0f   ? QRect(0, 0, 16, 16)
                             : state_.zoomFactor == 2.0f ? QRect(0, 0, 40, 40)
                                                         : tileSourceRect();
    if (maskSource == scaledMaskSource_)
        return;
    scaledMaskSource_ = maskSource;
    const auto scaled = [&maskSource](const QImage& mask) {
        return mask.copy(maskSource).scaled(kCellImageRect.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    };
    scaledMask1_ = scaled(mask1_);
    scaledMask2_ = scaled(mask2_);
}

void MapRenderer::composePreview(int x, int y, const PaletteTile& selected, QImage& preview)
{
    scaleMasks();
    const MapGrid& grid = document_.grid;
    const int layerLimit = std::min(state_.layerCount, kCellLayers);
    for (int layer = 0; layer < layerLimit; ++layer) {
        // Nothing to fetch reads as the grey of an undrawn base, or as transparent above it.
        const auto fetch = [this, layer](int tile, int rotation, int tilesetLayer) {
            return fetchOrBlank(tileset_, tile, rotation, tilesetLayer,
                                layer == 0 ? kCellBackground : kTransparentColour);
        };
        if (layer == state_.currentLayer) {
            // Each picture is handed on by move where it is last used, so that the masked
            // blit, which blackens the tile it lays, need not copy it first.
            QImage blended = fetch(selected.tile, selected.rotation, selected.tilesetLayer);
            QImage chosen = blended;
            QImage own = fetch(grid.tile(x, y, layer), grid.rotation(x, y, layer), selected.tilesetLayer);
            const auto bitAnd = [](QRgb a, QRgb b) { return a & b; };
            combine(blended, scaledMask1_, bitAnd);
            combine(own, scaledMask2_, bitAnd);
            combine(blended, own, [](QRgb a, QRgb b) { return a | b; });
            layTile(cell_, std::move(blended), layer);
            layTile(preview, std::move(chosen), layer);
        } else if (!state_.oneLayer) {
            QImage own = fetch(grid.tile(x, y, layer), grid.rotation(x, y, layer), tilesetLayerOf(layer));
            layTile(cell_, own, layer);
            layTile(preview, std::move(own), layer);
        }
    }
}

void MapRenderer::outline(int c1, int r1, int c2, int r2)
{
    const int s = state_.cellSize;
    const QPolygon corners({QPoint(c1 * s + 2, r1 * s + 2), QPoint(c2 * s - 2, r1 * s + 2),
                            QPoint(c2 * s - 2, r2 * s - 2), QPoint(c1 * s + 2, r2 * s - 2)});
    QPainter map(&map_);
    map.setPen(QPen(QColor::fromRgb(0xff000000 | state_.cursorColour), 1));
    map.setBrush(Qt::NoBrush);
    map.drawPolygon(corners);
}

void MapRenderer::drawDoorGlyphs(int x, int y, QPainter& canvas, int penWidth) const
{
    if (insideGrid(x, y))
        drawDoorGlyphs(document_.grid.doors[x][y], canvas, penWidth);
}

void MapRenderer::drawDoorGlyphs(const CellDoors& doors, QPainter& canvas, int penWidth) const
{
    if (state_.showDoors)
        xemap::drawDoorGlyphs(canvas, doors, doorGeometry_, penWidth);
}

void MapRenderer::writeViewLabel(QPainter& canvas, int number) const
{
    writeLabel(canvas, number, viewLabelStyle(state_.zoomFactor));
}

}  // namespace xemap
