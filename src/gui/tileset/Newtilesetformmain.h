#pragma once

#include <QDialog>

#include <optional>

class QListWidget;

namespace xemap {

class Prompter;

// Choose a Tileset: lists the registered tilesets for a new map.
class TNewTilesetForm : public QDialog {
public:
    TNewTilesetForm();

    // The selected list position after OK (-1 when nothing is selected), or nothing
    // when the dialog was cancelled.
    std::optional<int> Choose(Prompter& prompter, const QWidget& mainWindow, const QStringList& tilesetNames);

private:
    QListWidget* TilesetList = nullptr;
};

}  // namespace xemap
