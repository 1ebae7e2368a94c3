#pragma once

#include "core/document/MapGrid.h"

#include <QDialog>
#include <QImage>

class QComboBox;
class QListWidget;
class QPainter;

namespace xemap {

struct EditorState;
class MapRenderer;

// Sets the door types of one map cell. Every type chosen is written into the grid at
// once; the caller redraws the cell when the dialog closes with Done.
class TDoorForm : public QDialog {
public:
    explicit TDoorForm(QWidget* parent = nullptr);

    // The opening steps: places itself 100 px right of and below mainWindowTopLeft, takes the
    // cell, composes the cell image with state.showDoors off for that one drawing (then restored),
    // clears both selections. The grid is written directly as types are chosen.
    void FormShow(MapGrid& grid, MapRenderer& renderer, EditorState& state, int column, int row,
                  QPoint mainWindowTopLeft);

    int column() const { return column_; }
    int row() const { return row_; }

private:
    void DoorListClick();
    void DoorTypeChange(int typeNumber);
    void TileBoxPaint(QPainter& canvas) const;

    // The selected position, -1 for none.
    int chosenPosition() const;
    // The slot value of the selected position shown as a type number, -1 for none.
    int shownType(int position) const;

    QWidget* TileBox = nullptr;
    QListWidget* DoorList = nullptr;
    QComboBox* DoorType = nullptr;

    MapGrid* grid_ = nullptr;
    const MapRenderer* renderer_ = nullptr;
    int column_ = 0;
    int row_ = 0;
    // The cell as composed on opening, without its door glyphs.
    QImage cellPicture_;
};

}  // namespace xemap
