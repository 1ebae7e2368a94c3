// The map view's popup commands: describe, doors, the description and region
// clipboards and tile rotation, all acting on the cursor cell.
#include "gui/app/Xemapmain.h"

#include "gui/descriptions/Doorformmain.h"
#include "gui/descriptions/Tiledescmain.h"
#include "gui/dialogs/Prompter.h"

#include <QAction>
#include <QMenu>

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
        state_.cursorInsideGrid() ? document().descriptions.find(state_.cursorCellIndex) : std::nullopt;
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
    dialogs_.tileDesc->FormShow(session_, state_.cursorCellIndex);
    const int result = prompter_.exec(*dialogs_.tileDesc);
    if (result == QDialog::Accepted) {
        showChanges(session_.describe(state_.cursorCellIndex, dialogs_.tileDesc->workingDescription(),
                                      dialogs_.tileDesc->locationId()));
        return;
    }
    if (result == TTileDescForm::RemoveAllResult) {
        removeDescription();
        return;
    }
    // Record edits of a cancelled dialog are the map's already, and the session has marked them.
    showChanges({});
}

void TForm1::removeDescription()
{
    const std::optional<Changes> changes = session_.removeDescription(state_.cursorCellIndex);
    if (!changes)
        prompter_.message("Tile description not found");
    showChanges(changes.value_or(Changes{}));
}

void TForm1::DoorItemClick()
{
    if (!dialogs_.doors || !renderer_ || !state_.cursorInsideGrid())
        return;
    dialogs_.doors->FormShow(document().grid, *renderer_, state_, state_.cursorColumn, state_.cursorRow, pos());
    prompter_.exec(*dialogs_.doors);
    // The types chosen stand whichever button closed the dialog.
    showChanges(session_.setDoors(cursorCell(), dialogs_.doors->doors()));
}

void TForm1::CopyDescClick()
{
    session_.copyDescription(menuCellIndex_);
    updateCommandItems();
}

void TForm1::CutDescClick() { showChanges(session_.cutDescription(menuCellIndex_)); }

void TForm1::PasteDescClick()
{
    if (state_.cursorInsideGrid())
        showChanges(session_.pasteDescription(state_.cursorCellIndex));
}

void TForm1::CutRegionClick(QAction* sender)
{
    const RegionTake take = sender == CutRegion ? RegionTake::Cut : RegionTake::Copy;
    showChanges(session_.takeRegion(state_.region, take));
}

void TForm1::PasteRegionClick() { showChanges(session_.pasteRegion(cursorCell())); }

void TForm1::RotateClick(QAction* sender)
{
    showChanges(session_.rotate(cursorCell(), state_.currentLayer,
                                sender == LRotate ? TurnDirection::Left : TurnDirection::Right));
}

}  // namespace xemap
