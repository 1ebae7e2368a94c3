#pragma once

#include "core/compare/MapDiff.h"
#include "core/document/EditorState.h"
#include "core/document/MapDocument.h"
#include "render/DoorGeometry.h"

#include <QImage>
#include <QString>

#include <vector>

namespace xemap {

class Tileset;

// The picture scale of a scale choice ("1.00", "0.50", "0.25", "0.10" as numbers).
constexpr float exportScale(float scaleChoice) { return scaleChoice * 0.5f; }
constexpr int exportPictureSize(float scale) { return static_cast<int>(2560 * scale); }

// The whole map composed cell by cell at scale s (a cell takes 80 s pixels): the cell
// layers below layerLimit whatever the view shows (the export takes all six, the
// printed picture those of the tileset), every location label, the door glyphs when
// View > Doors is on, each cell's tile source rectangle scaled into place. A null
// picture when there is not enough memory for it.
QImage exportPicture(const MapDocument& document, const EditorState& state, const Tileset& tileset,
                     const DoorGeometry& doorGeometry, float scale, int layerLimit = kCellLayers);

// Outlines every changed cell of a picture drawn at scale: one ring per kind of change
// the cell has (tiles, doors, descriptions, in that order from the border inwards), each
// kind in its own colour, so a reviewer sees at a glance what changed where.
void outlineChangedCells(QImage& picture, float scale, const std::vector<MapDifference>& differences);

// Saves the picture as PNG for a ".png" name and BMP otherwise, through a temporary
// file renamed over the target. Returns an empty string or the message of the failure.
QString writePicture(const QImage& picture, const QString& fileName);

}  // namespace xemap
