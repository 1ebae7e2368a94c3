#pragma once

#include "core/document/EditorState.h"
#include "core/document/MapGrid.h"
#include "render/DoorGeometry.h"

#include <QPoint>
#include <QRect>

#include <array>
#include <cstdint>

class QImage;
class QPainter;

namespace xemap {

class Tileset;

// Cells are composed at the size of one tile before they are scaled into place.
constexpr int kCellImageSize = 80;

constexpr QRgb kCellBackground = 0xff808080;
constexpr QRect kCellImageRect(0, 0, kCellImageSize, kCellImageSize);

// The part of a cell composition that is shown: all of it with View > Grid on, the
// inside without the outermost pixel ring with Grid off.
QRect tileSourceRectOf(const CellRect& source);

// The tileset layer a cell layer draws from: the base sheet feeds cell layers 0 and 1.
constexpr int tilesetLayerOf(int cellLayer) { return cellLayer <= 1 ? 0 : cellLayer - 1; }

// Which cell layers a composition shows: those below layerLimit, or only onlyLayer.
struct LayerChoice {
    int layerLimit = kCellLayers;
    int onlyLayer = kAllLayers;
    static constexpr int kAllLayers = -1;
};

// Font height and text origin of a location label, in cell-image pixels.
struct LabelStyle {
    int fontHeight;
    QPoint origin;
};

// The view keeps labels 20 screen pixels high at zoom factors 1, 2 and 4.
LabelStyle viewLabelStyle(float zoomFactor);
constexpr LabelStyle kExportLabelStyle{40, QPoint(2, 2)};

constexpr int doorPenWidth(float zoomFactor) { return zoomFactor == 1.0f ? 4 : 2; }

// Lays the chosen cell layers of cell (x, y) on the canvas: the base tile opaque,
// overlays with magenta transparent, grey where no base tile is drawn. The part
// `source` of the 80 x 80 composition lands scaled on `target`, so that a cell is
// composed straight into its place when nothing is written over it. Empty layers,
// layers without a sheet and out-of-range tiles or rotations draw nothing.
void composeLayers(QPainter& canvas, QRect target, QRect source, const MapGrid& grid, int x, int y,
                   const Tileset& tileset, LayerChoice choice);

// The location number in black on white.
void writeLabel(QPainter& cell, int number, const LabelStyle& style);

// Bar and box of every door slot of one cell; types outside 1 to 7 draw nothing.
void drawDoorGlyphs(QPainter& canvas, const std::array<std::int32_t, kDoorSlots>& doorValues,
                    const DoorGeometry& geometry, int penWidth);

}  // namespace xemap
