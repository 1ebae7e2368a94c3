// The File menu: new maps, the save prompts and closing.
#include "app/Xemapmain.h"

#include "dialogs/Prompter.h"
#include "tileset/Tilesetformmain.h"

#include <QAction>
#include <QCloseEvent>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

namespace xemap {

namespace {

const QString kSaveChanges = "Save Changes to Current Map?";
const QString kYesSave = "Yes, Save";

}  // namespace

bool TForm1::saveChangesFirst(const QString& question, const QString& discardCaption)
{
    if (!state_.modified)
        return true;
    if (!askYesNo(question, kYesSave, discardCaption))
        return true;
    Save(false);
    return !state_.modified;
}

// What both New commands do once the tileset is chosen, apart from preparing the grid.
void TForm1::startMapWith(int tilesetIndex)
{
    palette_->LoadTileset(tilesetIndex);
    renderer_->applyDoorGeometry(tilesetIndex);
    document_.descriptions.clear();
}

void TForm1::finishNewMap()
{
    redrawAll();
    state_.modified = false;
    SaveButton->setEnabled(false);
    forgetHistory();
}

void TForm1::NewButtonClick()
{
    if (!palette_ || !saveChangesFirst(kSaveChanges, "Discard Changes"))
        return;
    const std::optional<int> chosen = chooseTileset();
    if (!chosen)
        return;
    if (*chosen < 0 || *chosen >= tilesetNames.size()) {
        prompter_.message("Error: Could not open this Tileset.");
        return;
    }
    startMapWith(*chosen);
    // The base layer takes the palette's tile; overlays start empty so that they do not
    // hide what is painted on the base later. Doors stay.
    const int tile = palette_->selectedTile();
    MapGrid& grid = document_.grid;
    for (int x = 0; x < kMapSize; ++x) {
        for (int y = 0; y < kMapSize; ++y) {
            for (int layer = 0; layer < kCellLayers; ++layer) {
                grid.tile(x, y, layer) = layer == 0 ? tile : emptyTile(layer);
                grid.rotation(x, y, layer) = 0;
            }
        }
    }
    finishNewMap();
}

void TForm1::NewClick(const QString& itemName)
{
    if (!palette_ || !saveChangesFirst(kSaveChanges, "Discard Changes"))
        return;
    setWindowTitle("XEMap");
    document_.mapFileName.clear();
    int index = 0;
    while (index < tilesetNames.size() && itemName != QString("Tileset%1").arg(index))
        ++index;
    if (index == tilesetNames.size()) {
        prompter_.message("Error: could not select this tileset");
        return;
    }
    DoorItem->setEnabled(index > 0);
    startMapWith(index);
    document_.grid.clear(state_.layerCount);
    finishNewMap();
}

void TForm1::Save(bool) {}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (saveChangesFirst("Would you like to save your map before exiting?", "No, Discard"))
        event->accept();
    else
        event->ignore();
}

// ---- Questions asked through the prompter ----

bool TForm1::askYesNo(const QString& question, const QString& yesCaption, const QString& noCaption)
{
    QMessageBox box(QMessageBox::Question, "YesNo", question, QMessageBox::NoButton, this);
    box.setObjectName("YesNo");
    QPushButton* no = box.addButton(noCaption, QMessageBox::RejectRole);
    QPushButton* yes = box.addButton(yesCaption, QMessageBox::AcceptRole);
    const int result = prompter_.exec(box);
    return box.clickedButton() ? box.clickedButton() == yes && box.clickedButton() != no
                               : result == QDialog::Accepted;
}

std::optional<int> TForm1::chooseTileset()
{
    QInputDialog dialog(this);
    dialog.setObjectName("NewTilesetForm");
    dialog.setWindowTitle("Choose a Tileset...");
    dialog.setComboBoxItems(tilesetNames);
    if (prompter_.exec(dialog) != QDialog::Accepted)
        return std::nullopt;
    return tilesetNames.indexOf(dialog.textValue());
}

}  // namespace xemap
