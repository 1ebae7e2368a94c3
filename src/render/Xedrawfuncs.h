#pragma once

#include "core/document/EditorState.h"
#include "core/document/MapDocument.h"
#include "render/CellComposer.h"
#include "render/DoorGeometry.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <functional>
#include <optional>

namespace xemap {

class Tileset;

// The tile the palette would paint: its number, palette rotation and tileset layer.
struct PaletteTile {
    int tile = 0;
    int rotation = 0;
    int tilesetLayer = 0;
};

// The map view renderer. It draws the document as the editor state shows it, with
// the tiles of the tileset, into a map image it owns; the window only paints that
// image. The document, state and tileset must outlive the renderer.
class MapRenderer {
public:
    static constexpr QSize kMapViewSize{640, 640};
    static constexpr QSize kPreviewSize{40, 38};

    MapRenderer(const MapDocument& document, const EditorState& state, const Tileset& tileset,
                QSize viewSize = kMapViewSize);

    const QImage& mapImage() const { return map_; }
    // The last cell composed, at 80 x 80 (the Doors dialog shows it).
    const QImage& cellImage() const { return cell_; }
    // The clean look of the cell under the cursor outline; commands that change what
    // the cursor cell shows write into it directly.
    QImage& underCursorImage() { return underCursor_; }
    const QImage& underCursorImage() const { return underCursor_; }
    // The cursor cell as painting would leave it, 40 x 38.
    const QImage& previewImage() const { return preview_; }
    const DoorGeometry& doorGeometry() const { return doorGeometry_; }

    // Called by present, and so by redraw all and redraw labelled cells; the window
    // repaints the map view from the map image.
    void setPresenter(std::function<void()> presenter) { presenter_ = std::move(presenter); }
    void present() const;

    void redrawAll();
    void drawOneCell(int x, int y);
    // Composes cell (x, y) into the cell image only, leaving the map image alone.
    const QImage& composeCellImage(int x, int y);
    // Redraws the cells of the descriptions at list positions first up to end (exclusive).
    void redrawLabelledCells(int first, int end);
    void cursorPreview(int x, int y, const PaletteTile& selected);
    // Outline from view cell (c1, r1) up to view cell (c2, r2), 2 pixels inside them.
    void outline(int c1, int r1, int c2, int r2);
    void applyDoorGeometry(int tilesetIndex) { doorGeometry_ = doorGeometryFor(tilesetIndex); }

    // Copies between the map image and the under-cursor image for the cell's rectangle.
    void saveUnderCursor(int x, int y);
    void restoreUnderCursor(int x, int y);

    // Door glyphs of cell (x, y), or of the doors given, on any canvas, when View > Doors is on.
    void drawDoorGlyphs(int x, int y, QPainter& canvas, int penWidth) const;
    void drawDoorGlyphs(const CellDoors& doors, QPainter& canvas, int penWidth) const;
    // The location label as the view writes it at the current zoom.
    void writeViewLabel(QPainter& canvas, int number) const;

    // The cell's rectangle in the map image.
    QRect cellRect(int x, int y) const;

private:
    QRect tileSourceRect() const;
    LayerChoice layerChoice() const;
    std::optional<int> labelOf(int x, int y) const;
    // A label or door glyphs are written over the cell's layers.
    bool writtenOver(int x, int y) const;
    void composeCell(QPainter& cell, int x, int y);
    void placeCell(QPainter& map, int x, int y) const;
    bool visible(int x, int y) const;
    void scaleMasks();
    void composePreview(int x, int y, const PaletteTile& selected, QImage& preview);

    const MapDocument& document_;
    const EditorState& state_;
    const Tileset& tileset_;
    DoorGeometry doorGeometry_ = kStartupDoorGeometry;
    QImage map_;
    QImage cell_;
    QImage underCursor_;
    QImage preview_;
    QImage mask1_;
    QImage mask2_;
    QRect scaledMaskSource_;
    QImage scaledMask1_;
    QImage scaledMask2_;
    std::function<void()> presenter_;
};

}  // namespace xemap
