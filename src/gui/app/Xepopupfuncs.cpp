// The map view's popup commands: describe, doors, the description and region
// clipboards and tile rotation, all acting on the cursor cell.
#include "gui/app/Xemapmain.h"

#include "gui/descriptions/Doorformmain.h"
#include "gui/descriptions/Tiledescmain.h"
#include "gui/dialogs/Prompter.h"

#include <QAction>
#include <QMenu>
#include <QPainter>

#include <algorithm>

namespace xemap {

void TForm1::connectMapMenu()
{
    connect(DescItem, &QAction::triggered, this, &TForm1::DescItemClick);
    connect(DoorItem, &QAction::triggered, this, &TForm1::DoorItemClick);
    connect(CutDesc, &QAction::triggered, this, &TForm1::CutDescClick);
    connect(CopyDesc, &QAction::triggered, this, &TForm1::CopyDescClick);
    connect(PasteDesc, &QAction::triggered, this, &TForm1::PasteDescClick);
    connect(CutRegion, &QAction::triggered, this, [this] { CutRegionClick(CutRegion); });
    connect(CopyRegion, &QAction::triggered, this, [this] { CutRegionClick(CopyRegion); });
    connect(PasteRegion, &QAction::triggered, this, &TForm1::PasteRegionClick);
    connect(LRotate, &QAction::triggered, this, [this] { RotateClick(LRotate); });
    connect(RRotate, &QAction::triggered, this, [this] { RotateClick(RRotate); });
}

void TForm1::openMapMenu(QPoint screenPoint)
{
    const std::optional<int> position =
        state_.cursorInsideGrid() ? document_.descriptions.find(state_.cursorCellIndex) : std::nullopt;
    CutDesc->setEnabled(position.has_value());
    CopyDesc->setEnabled(position.has_value());
    if (position) {
        state_.cursorDescriptionIndex = *position;
        menuCellIndex_ = state_.cursorCellIndex;
    }
    MapMenu->popup(screenPoint);
}

void TForm1::DescItemClick()
{
    if (!dialogs_.tileDesc || !state_.cursorInsideGrid())
        return;
    dialogs_.tileDesc->FormShow(document_.descriptions, state_.cursorCellIndex);
    const int result = prompter_.exec(*dialogs_.tileDesc);
    if (result == QDialog::Accepted)
        applyDescription(dialogs_.tileDesc->workingDescription(), dialogs_.tileDesc->locationId());
    else if (result == TTileDescForm::RemoveAllResult)
        removeDescription();
    else if (dialogs_.tileDesc->changedTheDocument())
        markModified();  // so that closing asks before a cancelled dialog's record edits are lost
}

// Done: a copy of the working description takes the place the Location ID asks for.
void TForm1::applyDescription(const TilePtr& working, int locationId)
{
    recordUndo();
    DescriptionList& list = document_.descriptions;
    const std::optional<int> oldPosition = list.find(state_.cursorCellIndex);
    TilePtr placed = working->copy();
    placed->cellIndex = state_.cursorCellIndex;
    const int position = list.placeBefore(std::move(placed), oldPosition, locationId);
    const int firstAffected = oldPosition ? std::min(*oldPosition, position) : position;
    if (renderer_)
        renderer_->redrawLabelledCells(firstAffected, list.size());
    redrawCursorCell();
    writeUnderCursorLabel(locationIdOf(position), viewLabelStyle(state_.zoomFactor).origin);
    markModified();
}

void TForm1::removeDescription()
{
    DescriptionList& list = document_.descriptions;
    const std::optional<int> position = list.find(state_.cursorCellIndex);
    if (!position) {
        prompter_.message("Tile description not found");
        return;
    }
    // Unlike a bare removal, Remove All can be undone like every other change.
    recordUndo();
    list.removeAt(*position);
    redrawCursorCell();
    if (renderer_)
        renderer_->redrawLabelledCells(*position, list.size());
    present();
    markModified();
}

void TForm1::DoorItemClick()
{
    if (!dialogs_.doors || !renderer_ || !state_.cursorInsideGrid())
        return;
    const int x = state_.cursorColumn;
    const int y = state_.cursorRow;
    // The dialog writes the grid as types are chosen, so the state is taken first; it becomes an
    // undo step only if a door changed, so that a cancelled dialog keeps the redo history.
    UndoSnapshot before = UndoSnapshot::take(document_);
    dialogs_.doors->FormShow(document_.grid, *renderer_, state_, x, y, pos());
    if (prompter_.exec(*dialogs_.doors) == QDialog::Accepted) {
        drawOneCell(x, y);
        QImage& underCursor = renderer_->underCursorImage();
        underCursor = renderer_->cellImage().copy();
        QPainter canvas(&underCursor);
        renderer_->drawDoorGlyphs(x, y, canvas, doorPenWidth(state_.zoomFactor));
        present();
    }
    if (document_.grid.doors[x][y] != before.grid.doors[x][y]) {
        history_.record(std::move(before));
        updateHistoryButtons();
        markModified();
    }
}

void TForm1::CopyDescClick()
{
    if (descriptionClipboard_.copyFrom(document_, menuCellIndex_))
        PasteDesc->setEnabled(true);
}

void TForm1::CutDescClick()
{
    if (!document_.descriptions.find(menuCellIndex_))
        return;
    recordUndo();
    drawCells(descriptionClipboard_.cutFrom(document_, menuCellIndex_));
    redrawCursorCell();
    PasteDesc->setEnabled(true);
    markModified();
}

void TForm1::PasteDescClick()
{
    if (!descriptionClipboard_.canPaste() || !state_.cursorInsideGrid())
        return;
    recordUndo();
    drawCells(descriptionClipboard_.pasteTo(document_, state_.cursorCellIndex));
    writeUnderCursorLabel(locationIdOf(document_.descriptions.size() - 1), QPoint(2, 2));
    present();
    PasteDesc->setEnabled(false);
    markModified();
}

void TForm1::CutRegionClick(QAction* sender)
{
    recordUndo();
    const RegionTake take = sender == CutRegion ? RegionTake::Cut : RegionTake::Copy;
    finishRegionCommand(takeRegion(document_, state_.region, take, regionClipboard_));
    PasteRegion->setEnabled(true);
}

void TForm1::PasteRegionClick()
{
    if (!state_.cursorInsideGrid())
        return;
    recordUndo();
    finishRegionCommand(pasteRegion(document_, regionClipboard_, state_.cursorColumn, state_.cursorRow));
}

// Region commands change cells or the cells their descriptions belong to.
void TForm1::finishRegionCommand(const CellList& cells)
{
    drawCells(cells);
    state_.lastHoveredColumn = -1;
    present();
    markModified();
}

void TForm1::RotateClick(QAction* sender)
{
    if (!state_.cursorInsideGrid())
        return;
    recordUndo();
    rotateTile(document_.grid, state_.cursorColumn, state_.cursorRow, state_.currentLayer,
               sender == LRotate ? TurnDirection::Left : TurnDirection::Right);
    redrawCursorCell();
    markModified();
}

// The cursor cell shows the new location ID once the cursor leaves it.
void TForm1::writeUnderCursorLabel(int number, QPoint origin)
{
    if (!renderer_)
        return;
    QPainter canvas(&renderer_->underCursorImage());
    writeLabel(canvas, number, {viewLabelStyle(state_.zoomFactor).fontHeight, origin});
}

}  // namespace xemap
