#include "gui/tileset/Newtilesetformmain.h"

#include "gui/dialogs/DialogControls.h"
#include "gui/dialogs/Prompter.h"

#include <QListWidget>
#include <QPushButton>

namespace xemap {

namespace {

constexpr QPoint kOffsetFromMainWindow{100, 100};

}  // namespace

TNewTilesetForm::TNewTilesetForm()
{
    setObjectName("NewTilesetForm");
    setWindowTitle("Choose a Tileset...");
    setFixedSize(267, 281);

    TilesetList = new QListWidget(this);
    TilesetList->setObjectName("TilesetList");
    TilesetList->setGeometry(8, 8, 249, 225);
    connect(TilesetList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    QPushButton* ok = addButton(this, "BitBtn1", "OK", {184, 248, 75, 25});
    QPushButton* cancel = addButton(this, "BitBtn2", "Cancel", {8, 248, 75, 25});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<int> TNewTilesetForm::Choose(Prompter& prompter, const QWidget& mainWindow,
                                           const QStringList& tilesetNames)
{
    move(mainWindow.pos() + kOffsetFromMainWindow);
    TilesetList->clear();
    TilesetList->addItems(tilesetNames);
    if (prompter.exec(*this) != QDialog::Accepted)
        return std::nullopt;
    const QList<QListWidgetItem*> selected = TilesetList->selectedItems();
    return selected.isEmpty() ? -1 : TilesetList->row(selected.constFirst());
}

}  // namespace xemap
