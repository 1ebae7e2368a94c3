#include "gui/app/Xemapmain.h"

#include "gui/app/Autosave.h"
#include "gui/app/MapView.h"
#include "gui/dialogs/Prompter.h"
#include "gui/tileset/Tilesetformmain.h"
#include "render/TextBytes.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>

namespace xemap {

TForm1::TForm1(Prompter& prompter, const QString& programDirectory, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), programDirectory_(programDirectory),
      autosave_(std::make_unique<Autosave>(session_, [this](const QString& text) { prompter_.message(text); }))
{
    setObjectName("Form1");
    setWindowTitle("XEMap");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    buildControls();
    buildMenus();
    buildMapMenu();
    connectMapMenu();
    // Sized now, not at the first show, so that the palette can be placed beside it.
    adjustSize();
    move(50, 50);
    setStatusText("Normal Draw");

    // Relative tileset, registry and picture names resolve against the program folder.
    QDir::setCurrent(programDirectory_);
    session_.setFolder(programDirectory_.toStdString());
    readRegistry();
}

TForm1::~TForm1() = default;

void TForm1::setPalette(TTilesetForm* palette)
{
    palette_ = palette;
    renderer_.reset();
    if (!palette)
        return;
    renderer_ = std::make_unique<MapRenderer>(session_.document(), state_, palette->tileset());
    renderer_->setPresenter([this] { MapBox->update(); });
}

const QImage& TForm1::mapImage() const
{
    static const QImage none;
    return renderer_ ? renderer_->mapImage() : none;
}

// ---- What the palette reads and reports ----

const RegisteredTileset* TForm1::registeredTileset(int index) const
{
    return index >= 0 && index < tilesetCount() ? &tilesets_[std::size_t(index)] : nullptr;
}

QStringList TForm1::tilesetNames() const
{
    QStringList names;
    for (const RegisteredTileset& tileset : tilesets_)
        names << displayText(tileset.entry.name);
    return names;
}

void TForm1::tilesetLoaded(int index, int cellLayerCount)
{
    state_.layerCount = cellLayerCount;
    session_.setTilesetIndex(index);
}

void TForm1::editModeChosen(int editMode, bool connector, const QString& statusText)
{
    state_.editMode = editMode;
    state_.connector = connector;
    setStatusText(statusText);
}

// With other layers hidden the view shows the current layer alone, so it is redrawn.
void TForm1::layerChosen(int cellLayer)
{
    const bool changed = state_.currentLayer != cellLayer;
    state_.currentLayer = cellLayer;
    if (changed && state_.oneLayer)
        redrawAll();
}

void TForm1::oneLayerChosen(bool oneLayer)
{
    state_.oneLayer = oneLayer;
    redrawAll();
}

void TForm1::setStatusText(const QString& text) { Label1->setText(text); }

QString TForm1::statusText() const { return Label1->text(); }

void TForm1::dropRegionSelection(bool redraw)
{
    if (!state_.regionSelected)
        return;
    state_.regionSelected = false;
    // Without a full redraw the outline's cells are still drawn again, so that it goes.
    showChanges(redraw ? Changes::everything() : Changes{regionBorderCells(), false, {}});
}

// Every cell a rubber band of this drag may have crossed: the cells the pointer went
// over, the first corner and the cell beside it (a band is never narrower than two).
CellList TForm1::bandCells() const
{
    const CellRect& range = state_.dragRange;
    const Region& r = state_.region;
    CellList cells;
    for (int x = std::min(range.left, r.firstColumn) - 1; x <= std::max(range.right, r.firstColumn + 1); ++x)
        for (int y = std::min(range.top, r.firstRow) - 1; y <= std::max(range.bottom, r.firstRow + 1); ++y)
            if (insideGrid(x, y))
                cells.push_back({x, y});
    return cells;
}

CellList TForm1::regionBorderCells() const
{
    const Region& r = state_.region;
    CellList cells;
    for (int x = r.firstColumn; x < r.endColumn; ++x)
        for (int y = r.firstRow; y < r.endRow; ++y)
            if ((x == r.firstColumn || x == r.endColumn - 1 || y == r.firstRow || y == r.endRow - 1)
                && insideGrid(x, y))
                cells.push_back({x, y});
    return cells;
}

// ---- The screen ----

void TForm1::showChanges(const Changes& changes)
{
    if (renderer_) {
        if (changes.all) {
            // A full redraw takes the cursor preview away until the pointer moves again.
            renderer_->redrawAll();
            state_.lastHoveredColumn = -1;
        } else {
            // The cell under the preview is drawn by the preview itself, below.
            const GridCell previewed{state_.lastHoveredColumn, state_.lastHoveredRow};
            for (const GridCell& cell : changes.cells)
                if (cell != previewed || !palette_)
                    renderer_->drawOneCell(cell.x, cell.y);
            if (changes.labelsFrom)
                renderer_->redrawLabelledCells(*changes.labelsFrom, session_.document().descriptions.size());
        }
        // The preview draws the cell under it clean first and keeps that image to restore
        // it, so what the cursor leaves behind is never stale.
        drawRegionOutline();
        if (state_.lastHoveredColumn >= 0)
            cursorPreview(state_.lastHoveredColumn, state_.lastHoveredRow);
        present();
    }
    updateCommandItems();
}

void TForm1::updateCommandItems()
{
    SaveButton->setEnabled(session_.modified());
    UndoButton->setEnabled(session_.history().canUndo());
    RedoButton->setEnabled(session_.history().canRedo());
    PasteDesc->setEnabled(session_.canPasteDescription());
    PasteRegion->setEnabled(session_.canPasteRegion());
    CutRegion->setEnabled(state_.regionSelected);
    CopyRegion->setEnabled(state_.regionSelected);
    autosave_->follow();
}

void TForm1::redrawAll() { showChanges(Changes::everything()); }

void TForm1::followCursor()
{
    const GridCell hovered{state_.lastHoveredColumn, state_.lastHoveredRow};
    if (hovered == cursorCell())
        return;
    if (hovered.x >= 0)
        restoreLastHovered();
    if (!state_.cursorInsideGrid()) {
        state_.lastHoveredColumn = -1;
        return;
    }
    state_.lastHoveredColumn = state_.cursorColumn;
    state_.lastHoveredRow = state_.cursorRow;
    cursorPreview(state_.cursorColumn, state_.cursorRow);
}

// Puts back the cell the cursor leaves, with the region outline where it crossed it.
void TForm1::restoreLastHovered()
{
    const int x = state_.lastHoveredColumn;
    const int y = state_.lastHoveredRow;
    if (!renderer_ || !insideGrid(x, y))
        return;
    renderer_->restoreUnderCursor(x, y);
    const Region& r = state_.region;
    const bool onBorder = x == r.firstColumn || x == r.endColumn - 1 || y == r.firstRow || y == r.endRow - 1;
    if (!state_.mouseDown && onBorder)
        drawRegionOutline();
}

// While a drag is under way the rubber band stands for the region.
void TForm1::drawRegionOutline()
{
    const Region& r = state_.region;
    if (renderer_ && state_.regionSelected && !state_.mouseDown)
        renderer_->outline(r.firstColumn - state_.viewColumn, r.firstRow - state_.viewRow,
                           r.endColumn - state_.viewColumn, r.endRow - state_.viewRow);
}

void TForm1::drawRubberBand()
{
    if (!renderer_)
        return;
    CellRect& range = state_.dragRange;
    range.left = std::min(range.left, state_.cursorColumn);
    range.right = std::max(range.right, state_.cursorColumn);
    range.top = std::min(range.top, state_.cursorRow);
    range.bottom = std::max(range.bottom, state_.cursorRow);
    for (const GridCell& cell : bandCells())
        renderer_->drawOneCell(cell.x, cell.y);

    // The band is never narrower than two cells, as the release widens a click to two.
    auto span = [](int a, int b) {
        const auto [first, last] = std::minmax(a, b);
        return std::pair{first, first == last ? first + 2 : last + 1};
    };
    const auto [c1, c2] = span(state_.cursorColumn - state_.viewColumn, state_.region.firstColumn - state_.viewColumn);
    const auto [r1, r2] = span(state_.cursorRow - state_.viewRow, state_.region.firstRow - state_.viewRow);
    renderer_->outline(c1, r1, c2, r2);
}

void TForm1::cursorPreview(int column, int row)
{
    if (!renderer_ || !palette_ || !insideGrid(column, row))
        return;
    renderer_->cursorPreview(column, row, palette_->paletteTile());
    showPreview();
}

void TForm1::showPreview() { PreviewImage->setPixmap(QPixmap::fromImage(renderer_->previewImage())); }

void TForm1::present() { MapBox->update(); }

// ---- Undo, Redo and the view ----

void TForm1::UndoButtonClick() { showChanges(session_.undo()); }

void TForm1::RedoButtonClick() { showChanges(session_.redo()); }

void TForm1::SelectButtonClick()
{
    state_.editMode = RegionSelection;
    state_.connector = false;
    setStatusText("Select Region");
}

void TForm1::ViewGridClick()
{
    state_.tileSource = viewGrid_->isChecked() ? CellRect{0, 0, 80, 80} : CellRect{1, 1, 79, 79};
    redrawAll();
}

void TForm1::ViewDoorsClick()
{
    state_.showDoors = viewDoors_->isChecked();
    redrawAll();
}

void TForm1::ViewLabelsClick()
{
    state_.showLabels = viewLabels_->isChecked();
    redrawAll();
}

void TForm1::ViewLargeTilesetClick()
{
    if (palette_)
        palette_->setLargeTiles(viewLargeTileset_->isChecked());
}

void TForm1::XScrollChange(int position)
{
    state_.viewColumn = position * state_.quarterCellSize / state_.cellSize;
    redrawAll();
    setFocus();
}

void TForm1::YScrollChange(int position)
{
    state_.viewRow = position * state_.quarterCellSize / state_.cellSize;
    redrawAll();
    setFocus();
}

void TForm1::applyZoom(float factor)
{
    state_.zoomFactor = std::clamp(state_.zoomFactor * factor, 1.0f, 8.0f);
    ZoomInButton->setEnabled(state_.zoomFactor < 8.0f);
    ZoomOutButton->setEnabled(state_.zoomFactor > 1.0f);
    state_.cellSize = static_cast<int>(20 * state_.zoomFactor);
    state_.quarterCellSize = state_.cellSize / 4;
    const bool scrolls = kMapSize * state_.cellSize > kViewSize;
    for (QScrollBar* bar : {XScroll, YScroll}) {
        bar->setMaximum(scrollMaximum(state_.quarterCellSize));
        bar->setVisible(scrolls);
        bar->setEnabled(scrolls);
    }
    state_.viewColumn = XScroll->value() * state_.quarterCellSize / state_.cellSize;
    state_.viewRow = YScroll->value() * state_.quarterCellSize / state_.cellSize;
    redrawAll();
}

}  // namespace xemap
