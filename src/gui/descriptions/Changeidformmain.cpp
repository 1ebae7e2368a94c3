#include "gui/descriptions/Changeidformmain.h"

#include "core/descriptions/DescriptionList.h"
#include "gui/dialogs/DialogControls.h"
#include "render/TextBytes.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace xemap {

namespace {

constexpr QPoint kHomePosition{18, 645};
constexpr QSize kFormSize{233, 281};

}  // namespace

TChangeIDForm::TChangeIDForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("ChangeIDForm");
    setWindowTitle("Change Location ID");

    auto* label = new QLabel("Insert Before Tile:", this);
    label->setObjectName("Label1");
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setGeometry(12, 8, 209, 20);

    TileList = new QListWidget(this);
    TileList->setObjectName("TileList");
    TileList->setSelectionMode(QAbstractItemView::SingleSelection);
    TileList->setGeometry(12, 30, 209, 198);
    connect(TileList, &QListWidget::itemDoubleClicked, this, &TChangeIDForm::TileListDblClick);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("BitBtn1");
    ok->setGeometry(12, 242, 90, 27);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("BitBtn2");
    cancel->setGeometry(131, 242, 90, 27);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(kFormSize);
    move(kHomePosition);
}

void TChangeIDForm::FormShow(const DescriptionList& list)
{
    TileList->clear();
    for (const TilePtr& tile : list.tiles())
        TileList->addItem(displayText(tile->shortName));
    TileList->setCurrentRow(-1);
    TileList->clearSelection();

    // The usual spot is near the bottom left; on a smaller screen the dialog stays fully visible.
    placeOnScreen(*this, kHomePosition);
}

int TChangeIDForm::selectedRow() const
{
    const QList<QListWidgetItem*> chosen = TileList->selectedItems();
    return chosen.isEmpty() ? -1 : TileList->row(chosen.front());
}

void TChangeIDForm::TileListDblClick(QListWidgetItem* item)
{
    if (!item)
        return;
    TileList->setCurrentItem(item);
    item->setSelected(true);
    accept();
}

}  // namespace xemap
