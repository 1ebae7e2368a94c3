// Mouse editing of the map view: painting, brushes and region selection.
#include "gui/app/Xemapmain.h"

#include "core/editing/BoxFill.h"
#include "core/editing/ConnectorBrush.h"
#include "core/tileset/TerrainBrush.h"
#include "gui/app/MapView.h"
#include "gui/tileset/Tilesetformmain.h"

#include <QAction>
#include <QLabel>

#include <algorithm>
#include <utility>

namespace xemap {

namespace {

// A region corner from the pointer, kept on the grid even when a drag left the view.
int clampToGrid(int value) { return std::clamp(value, 0, kMapSize - 1); }

}  // namespace

// Divides toward zero: a pointer up to one cell left of or above the view, as a drag
// can report, still counts as the view's first column or row.
void TForm1::setCursorCell(int x, int y)
{
    state_.cursorColumn = x / state_.cellSize + state_.viewColumn;
    state_.cursorRow = y / state_.cellSize + state_.viewRow;
    state_.cursorCellIndex = cellIndexOf(state_.cursorColumn, state_.cursorRow);
}

void TForm1::paintCursorCell()
{
    if (!palette_ || !state_.cursorInsideGrid())
        return;
    const int x = state_.cursorColumn;
    const int y = state_.cursorRow;
    const int layer = state_.currentLayer;
    MapGrid& grid = document_.grid;
    if (state_.connector) {
        if (const ConnectorGroup* group =
                palette_->groups(palette_->activeLayer()).connectorGroupForMode(state_.editMode))
            drawCells(connectorBrush(grid, layer, *group, x, y));
        return;
    }
    if (state_.editMode == TerrainDrawing) {
        const int terrain = palette_->selectedTile();
        grid.tile(x, y, layer) = terrain;
        grid.rotation(x, y, layer) = 0;
        // The layer above takes its own empty value: 99 is empty only on cell layer 1,
        // and would show a tile on the others.
        if (layer + 1 < kCellLayers) {
            grid.tile(x, y, layer + 1) = emptyTile(layer + 1);
            grid.rotation(x, y, layer + 1) = 0;
        }
        drawOneCell(x, y);
        if (layer + 1 < kCellLayers)
            drawCells(TerrainBrush(grid, x, y, layer, terrain));
        return;
    }
    grid.tile(x, y, layer) = palette_->selectedTile();
    grid.rotation(x, y, layer) = palette_->selectedRotation();
    drawOneCell(x, y);
}

void TForm1::startDrag()
{
    state_.region.firstColumn = clampToGrid(state_.cursorColumn);
    state_.region.firstRow = clampToGrid(state_.cursorRow);
    state_.dragRange = {kMapSize, kMapSize, state_.viewColumn, state_.viewRow};
}

void TForm1::MapBoxMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)
{
    setCursorCell(x, y);
    if (modifiers & Qt::ShiftModifier)
        return;
    if (button == Qt::LeftButton) {
        state_.mouseDown = true;
        if (state_.editMode == RegionSelection && !state_.connector) {
            startDrag();
        } else if (state_.editMode >= FirstGroupBrush && !state_.connector) {
            recordUndo();
            startDrag();
        } else {
            recordUndo();
            paintCursorCell();
            // The preview also keeps the painted cell as the one to restore when the cursor leaves.
            cursorPreview(state_.cursorColumn, state_.cursorRow);
            present();
        }
    } else if (button == Qt::RightButton) {
        openMapMenu(MapBox->mapToGlobal(QPoint(x, y)));
    }
}

void TForm1::MapBoxMouseMove(Qt::KeyboardModifiers, int x, int y)
{
    setCursorCell(x, y);
    if (!state_.cursorInsideGrid())
        return;
    const int column = state_.cursorColumn;
    const int row = state_.cursorRow;
    if (column == state_.lastHoveredColumn && row == state_.lastHoveredRow)
        return;
    if (state_.lastHoveredColumn >= 0)
        restoreLastHovered();
    if (state_.mouseDown && (state_.connector || state_.editMode <= NormalDraw))
        paintCursorCell();
    state_.lastHoveredColumn = column;
    state_.lastHoveredRow = row;
    if (state_.mouseDown && state_.editMode >= RegionSelection && !state_.connector)
        drawRubberBand();
    cursorPreview(column, row);
    present();
    XTile->setText(QString::number(column + 1));
    YTile->setText(QString::number(row + 1));
}

// Puts back the cell the cursor leaves, with the region outline where it crossed it.
void TForm1::restoreLastHovered()
{
    const int x = state_.lastHoveredColumn;
    const int y = state_.lastHoveredRow;
    restoreUnderCursor(x, y);
    const Region& r = state_.region;
    const bool onBorder = x == r.firstColumn || x == r.endColumn - 1 || y == r.firstRow || y == r.endRow - 1;
    if (!state_.mouseDown && state_.regionSelected && onBorder)
        outline(r.firstColumn - state_.viewColumn, r.firstRow - state_.viewRow, r.endColumn - state_.viewColumn,
                r.endRow - state_.viewRow);
}

void TForm1::drawRubberBand()
{
    CellRect& range = state_.dragRange;
    range.left = std::min(range.left, state_.cursorColumn);
    range.right = std::max(range.right, state_.cursorColumn);
    range.top = std::min(range.top, state_.cursorRow);
    range.bottom = std::max(range.bottom, state_.cursorRow);
    for (int x = range.left - 1; x <= range.right; ++x)
        for (int y = range.top - 1; y <= range.bottom; ++y)
            if (insideGrid(x, y))
                drawOneCell(x, y);

    // The band is never narrower than two cells, as the release widens a click to two.
    auto span = [](int a, int b) {
        const auto [first, last] = std::minmax(a, b);
        return std::pair{first, first == last ? first + 2 : last + 1};
    };
    const auto [c1, c2] = span(state_.cursorColumn - state_.viewColumn, state_.region.firstColumn - state_.viewColumn);
    const auto [r1, r2] = span(state_.cursorRow - state_.viewRow, state_.region.firstRow - state_.viewRow);
    outline(c1, r1, c2, r2);
}

void TForm1::MapBoxMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)
{
    setCursorCell(x, y);
    if (modifiers & Qt::ShiftModifier) {
        if (button == Qt::LeftButton)
            FormKeyPress('<');
        else if (button == Qt::RightButton)
            FormKeyPress('>');
    }
    const bool wasDragging = std::exchange(state_.mouseDown, false);
    if (state_.connector || state_.editMode == TerrainDrawing) {
        if (state_.cursorInsideGrid())
            cursorPreview(state_.cursorColumn, state_.cursorRow);
        present();
        markModified();
    } else if (state_.editMode >= RegionSelection) {
        if (wasDragging)
            finishDrag();
    } else {
        markModified();
    }
}

void TForm1::finishDrag()
{
    Region& region = state_.region;
    region.endColumn = clampToGrid(state_.cursorColumn);
    region.endRow = clampToGrid(state_.cursorRow);
    if (region.firstColumn > region.endColumn)
        std::swap(region.firstColumn, region.endColumn);
    if (region.firstRow > region.endRow)
        std::swap(region.firstRow, region.endRow);
    if (region.endColumn == region.firstColumn)
        ++region.endColumn;
    if (region.endRow == region.firstRow)
        ++region.endRow;

    if (state_.editMode >= FirstGroupBrush) {
        const int layer = state_.currentLayer;
        if (const BoxGroup* group =
                palette_ ? palette_->groups(palette_->activeLayer()).boxGroupForMode(state_.editMode) : nullptr)
            drawCells(xemap::boxFill(document_.grid, layer, *group, region.firstColumn, region.endColumn,
                                     region.firstRow, region.endRow));
        present();
        markModified();
    } else {
        // A click on the last column or row widens the region inward, keeping it on the grid.
        region.firstColumn = std::min(region.firstColumn, kMapSize - 2);
        region.firstRow = std::min(region.firstRow, kMapSize - 2);
        region.endColumn = std::min(region.endColumn + 1, kMapSize);
        region.endRow = std::min(region.endRow + 1, kMapSize);
        outline(region.firstColumn - state_.viewColumn, region.firstRow - state_.viewRow,
                region.endColumn - state_.viewColumn, region.endRow - state_.viewRow);
        present();
        state_.regionSelected = true;
        CutRegion->setEnabled(true);
        CopyRegion->setEnabled(true);
    }
    if (state_.cursorInsideGrid())
        saveUnderCursor(state_.cursorColumn, state_.cursorRow);
}

void TForm1::MapBoxDblClick()
{
    if (state_.editMode == NormalDraw && state_.cursorInsideGrid())
        document_.grid.tile(state_.cursorColumn, state_.cursorRow, 1) = emptyTile(1);
}

}  // namespace xemap
