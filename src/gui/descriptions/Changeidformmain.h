#pragma once

#include <QDialog>

class QListWidget;
class QListWidgetItem;

namespace xemap {

class DescriptionList;

// Chooses the description before which the one being edited is placed: row r stands
// for location ID r + 1. It changes nothing by itself.
class TChangeIDForm : public QDialog {
public:
    explicit TChangeIDForm(QWidget* parent = nullptr);

    // Refills TileList with one row per description (its short name), nothing selected,
    // and places the dialog at its usual spot on the screen.
    void FormShow(const DescriptionList& list);

    // The selected row, -1 for none.
    int selectedRow() const;

private:
    void TileListDblClick(QListWidgetItem* item);

    QListWidget* TileList = nullptr;
};

}  // namespace xemap
