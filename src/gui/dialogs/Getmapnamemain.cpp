#include "gui/dialogs/Getmapnamemain.h"

#include "gui/dialogs/DialogControls.h"
#include "gui/dialogs/Prompter.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace xemap {

namespace {

constexpr QPoint kOffsetFromMainWindow{200, 200};

}  // namespace

TGetMapName::TGetMapName(const QWidget& mainWindow)
{
    setObjectName("GetMapName");
    setWindowTitle("Map Name");
    setFixedSize(289, 105);
    move(mainWindow.pos() + kOffsetFromMainWindow);

    auto* label = new QLabel("Name for Map:", this);
    label->setObjectName("Label1");
    label->setGeometry(8, 8, 273, 18);
    MapName = new QLineEdit(this);
    MapName->setObjectName("MapName");
    MapName->setGeometry(8, 30, 273, 24);

    QPushButton* ok = addButton(this, "BitBtn1", "OK", {206, 68, 75, 25});
    QPushButton* cancel = addButton(this, "BitBtn2", "Cancel", {8, 68, 75, 25});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<QString> TGetMapName::Ask(Prompter& prompter)
{
    MapName->setFocus();
    MapName->selectAll();
    if (prompter.exec(*this) != QDialog::Accepted)
        return std::nullopt;
    return MapName->text();
}

}  // namespace xemap
