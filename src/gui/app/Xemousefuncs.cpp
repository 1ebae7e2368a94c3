// Mouse editing of the map view: painting, brushes and region selection.
#include "gui/app/Xemapmain.h"

#include "gui/app/MapView.h"
#include "gui/tileset/Tilesetformmain.h"

#include <QLabel>

#include <algorithm>
#include <cstdlib>
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

// The palette's tile, terrain or connector piece laid on the cursor cell.
Changes TForm1::paintCursorCell()
{
    if (!palette_ || !state_.cursorInsideGrid())
        return {};
    const int layer = state_.currentLayer;
    switch (state_.tool()) {
    case MapTool::Connector: {
        const ConnectorGroup* group = palette_->groups(palette_->activeLayer()).connectorGroupForMode(state_.editMode);
        return group ? session_.connectorStep(cursorCell(), layer, *group) : Changes{};
    }
    case MapTool::Terrain: return session_.paintTerrain(cursorCell(), layer, palette_->selectedTile());
    default: return session_.paint(cursorCell(), layer, palette_->selectedTile(), palette_->selectedRotation());
    }
}

// The selection's outline gives way to the rubber band of the new drag.
void TForm1::startDrag()
{
    const CellList outlined = state_.regionSelected ? regionBorderCells() : CellList{};
    state_.region.firstColumn = clampToGrid(state_.cursorColumn);
    state_.region.firstRow = clampToGrid(state_.cursorRow);
    state_.dragRange = {kMapSize, kMapSize, state_.viewColumn, state_.viewRow};
    showChanges({outlined, false, {}});
}

void TForm1::MapBoxMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)
{
    setCursorCell(x, y);
    if (modifiers & Qt::ShiftModifier)
        return;
    if (button == Qt::LeftButton) {
        state_.mouseDown = true;
        if (state_.tool() == MapTool::SelectRegion) {
            startDrag();
        } else if (state_.tool() == MapTool::BoxFill) {
            stroke_.emplace(session_);
            startDrag();
        } else {
            stroke_.emplace(session_);
            // The preview moves onto the painted cell, which it restores when the cursor leaves.
            followCursor();
            showChanges(paintCursorCell());
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
    state_.lastHoveredColumn = column;
    state_.lastHoveredRow = row;
    if (state_.mouseDown && !dragsRectangle(state_.tool())) {
        showChanges(paintCursorCell());
    } else {
        if (state_.mouseDown)
            drawRubberBand();
        cursorPreview(column, row);
        present();
    }
    XTile->setText(QString::number(column + 1));
    YTile->setText(QString::number(row + 1));
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
    if (dragsRectangle(state_.tool())) {
        // A Shift+click selects from the region's corner; a box fill needs a press of its own,
        // or it would fill from a stale corner.
        const bool shiftSelects = state_.tool() == MapTool::SelectRegion && (modifiers & Qt::ShiftModifier);
        if (wasDragging)
            finishDrag({});
        else if (shiftSelects)
            finishDrag(state_.regionSelected ? regionBorderCells() : CellList{});
        return;
    }
    stroke_.reset();
    session_.mapReleased();
    // Painting showed every cell as it went; the release only marks the map modified.
    if (state_.tool() != MapTool::Paint)
        showChanges({});
    else
        updateCommandItems();
}

void TForm1::finishDrag(const CellList& oldOutline)
{
    // The band's cells are drawn again, so that nothing of it stays on the map.
    Changes changes{bandCells(), false, {}};
    changes.cells.insert(changes.cells.end(), oldOutline.begin(), oldOutline.end());
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

    if (state_.tool() == MapTool::BoxFill) {
        const BoxGroup* group =
            palette_ ? palette_->groups(palette_->activeLayer()).boxGroupForMode(state_.editMode) : nullptr;
        if (group) {
            const Changes filled = session_.fillBox(region, state_.currentLayer, *group);
            changes.cells.insert(changes.cells.end(), filled.cells.begin(), filled.cells.end());
        }
        stroke_.reset();
    } else {
        // A click on the last column or row widens the region inward, keeping it on the grid.
        region.firstColumn = std::min(region.firstColumn, kMapSize - 2);
        region.firstRow = std::min(region.firstRow, kMapSize - 2);
        region.endColumn = std::min(region.endColumn + 1, kMapSize);
        region.endRow = std::min(region.endRow + 1, kMapSize);
        state_.regionSelected = true;
    }
    showChanges(changes);
}

void TForm1::endPress()
{
    if (!stroke_)
        return;
    stroke_.reset();
    state_.mouseDown = false;
    // An abandoned box fill's rubber band goes with it.
    showChanges(dragsRectangle(state_.tool()) ? Changes{bandCells(), false, {}} : Changes{});
}

// Another window taking the activation, a dialog among them, takes the mouse: the release
// may never reach the map.
void TForm1::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        endPress();
    QMainWindow::changeEvent(event);
}

// Only the left button clears: a middle or right double-click must not erase the overlay.
void TForm1::MapBoxDblClick(Qt::MouseButton button)
{
    if (button == Qt::LeftButton && state_.tool() == MapTool::Paint && state_.cursorInsideGrid())
        showChanges(session_.clearOverlay(cursorCell()));
}

// The wheel scrolls as the arrow keys do (across with Shift) and with Ctrl zooms as "+" and "-" do.
void TForm1::MapBoxWheel(Qt::KeyboardModifiers modifiers, int notches)
{
    const int direction = notches > 0 ? 1 : -1;
    for (int notch = 0; notch < std::abs(notches); ++notch) {
        if (modifiers & Qt::ControlModifier)
            FormKeyPress(direction > 0 ? '+' : '-');
        else
            scrollBy(modifiers & Qt::ShiftModifier ? XScroll : YScroll, -direction);
    }
}

}  // namespace xemap
