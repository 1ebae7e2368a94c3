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

// Chooses the door types of one map cell on a copy of its doors, which the caller gives
// the cell when the dialog closes, with Done or Cancel alike.
class TDoorForm : public QDialog {
public:
    explicit TDoorForm(QWidget* parent = nullptr);

    // The opening steps: places itself 100 px right of and below mainWindowTopLeft, takes the
    // cell's doors, composes the cell image with state.showDoors off for that one drawing (then
    // restored), clears both selections. A cell off the grid has no slots to choose.
    void FormShow(const MapGrid& grid, MapRenderer& renderer, EditorState& state, int column, int row,
                  QPoint mainWindowTopLeft);

    int column() const { return column_; }
    int row() const { return row_; }
    // The doors as chosen so far.
    const CellDoors& doors() const { return doors_; }

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

    CellDoors doors_{};
    bool onGrid_ = false;
    const MapRenderer* renderer_ = nullptr;
    int column_ = 0;
    int row_ = 0;
    // The cell as composed on opening, without its door glyphs.
    QImage cellPicture_;
};

}  // namespace xemap
