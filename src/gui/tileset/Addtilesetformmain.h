#pragma once

#include "core/tileset/Registry.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;

namespace xemap {

class Prompter;
class TYesNo;

// Add Tileset: a new tileset's name and its layer bitmaps, each checked as it is named.
class TAddTilesetForm : public QDialog {
public:
    // Browse starts in the program folder (or the user's documents when that is shared);
    // typed relative names are looked up in namesFolder, where the entry's names resolve.
    TAddTilesetForm(Prompter& prompter, TYesNo& yesNo, const QString& programDirectory, const QString& namesFolder);

    // After OK, the entry the boxes describe ("null" for empty file boxes), and the
    // boxes are emptied for the next use; nothing when cancelled, and the boxes stay.
    std::optional<TilesetEntry> Ask();

    // Fills the layer's box from the file-open dialog.
    void BrowseClick(int layer);
    // Checks the file the layer's box names; runs on every change of its text.
    void FileNameChange(int layer);
    // The last bitmap that passed the check.
    const QImage& previewBitmap() const { return preview_; }

private:
    TilesetEntry entry() const;
    void clearBoxes();

    Prompter& prompter_;
    TYesNo& yesNo_;
    QString namesFolder_;
    // Browse remembers the folder of the last bitmap picked.
    QString browseFolder_;
    QImage preview_;

    QLineEdit* NameText = nullptr;
    std::array<QLineEdit*, kRegistryLayerFiles> fileNameTexts_{};
    QLabel* PreviewBox = nullptr;
};

}  // namespace xemap
