#include "gui/descriptions/Doorformmain.h"

#include "core/document/EditorState.h"
#include "gui/dialogs/DialogControls.h"
#include "render/Xedrawfuncs.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <functional>

namespace xemap {

namespace {

constexpr QPoint kOffsetFromMainWindow{100, 100};
constexpr int kPreviewPenWidth = 2;

// Door positions in list order: each shows and writes one door slot, the Center slot
// negated for the door across the vertical centre line.
struct DoorPositionRow {
    const char* text;
    DoorSlot slot;
    int sign;
};

constexpr std::array<DoorPositionRow, 6> kDoorPositionRows{{
    {"North", North, 1},
    {"East", East, 1},
    {"South", South, 1},
    {"West", West, 1},
    {"Center Horiz", Center, 1},
    {"Center Vert", Center, -1},
}};

// Door type numbers 0 to 7 in list order.
constexpr std::array<const char*, 8> kDoorTypeNames{
    "No Door", "Door", "Locked Door", "Hidden Door", "Secret Door", "One-way Door", "False Door", "Triggered Door",
};

// A fixed-size surface whose picture is drawn by its owner.
class PaintBox final : public QWidget {
public:
    PaintBox(QWidget* parent, std::function<void(QPainter&)> paint) : QWidget(parent), paint_(std::move(paint)) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter canvas(this);
        paint_(canvas);
    }

private:
    std::function<void(QPainter&)> paint_;
};

}  // namespace

TDoorForm::TDoorForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("DoorForm");
    setWindowTitle("Doors");
    TileBox = new PaintBox(this, [this](QPainter& canvas) { TileBoxPaint(canvas); });
    TileBox->setObjectName("TileBox");
    TileBox->setGeometry(16, 16, kCellImageSize, kCellImageSize);

    DoorList = new QListWidget(this);
    DoorList->setObjectName("DoorList");
    QFont bold = DoorList->font();
    bold.setPixelSize(13);
    bold.setBold(true);
    DoorList->setFont(bold);
    for (const DoorPositionRow& position : kDoorPositionRows)
        DoorList->addItem(position.text);
    // Tall enough for every position, so the list never scrolls.
    const int listHeight = DoorList->sizeHintForRow(0) * DoorList->count() + 2 * DoorList->frameWidth();
    DoorList->setGeometry(112, 16, 121, std::max(listHeight, kCellImageSize));
    connect(DoorList, &QListWidget::itemSelectionChanged, this, &TDoorForm::DoorListClick);
    const int top = DoorList->geometry().bottom() + 14;

    auto* label = new QLabel("Door Type", this);
    label->setObjectName("Label36");
    label->setGeometry(16, top, 217, 17);

    DoorType = new QComboBox(this);
    DoorType->setObjectName("DoorType");
    DoorType->setGeometry(16, top + 18, 217, 22);
    DoorType->setEditable(false);
    DoorType->setStyleSheet(
        "QComboBox { background-color: rgb(192, 192, 192); border: 1px solid rgb(128, 128, 128); padding-left: 4px; }");
    for (const char* name : kDoorTypeNames)
        DoorType->addItem(name);
    connect(DoorType, &QComboBox::currentIndexChanged, this, &TDoorForm::DoorTypeChange);

    QPushButton* done = addButton(this, "BitBtn1", "Done", {158, top + 50, 75, 25});
    QPushButton* cancel = addButton(this, "BitBtn2", "Cancel", {16, top + 50, 75, 25});
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(249, top + 83);
    DoorListClick();
}

void TDoorForm::FormShow(const MapGrid& grid, MapRenderer& renderer, EditorState& state, int column, int row,
                         QPoint mainWindowTopLeft)
{
    move(mainWindowTopLeft + kOffsetFromMainWindow);
    onGrid_ = insideGrid(column, row);
    doors_ = onGrid_ ? grid.doors[column][row] : CellDoors{};
    renderer_ = &renderer;
    column_ = column;
    row_ = row;

    // The preview draws the glyphs itself, over the bare cell.
    const bool showDoors = state.showDoors;
    state.showDoors = false;
    cellPicture_ = renderer.composeCellImage(column, row);
    state.showDoors = showDoors;

    DoorList->setCurrentRow(-1);
    DoorList->clearSelection();
    DoorListClick();
    TileBox->update();
}

int TDoorForm::shownType(int position) const
{
    const DoorPositionRow& entry = kDoorPositionRows[position];
    const int type = entry.sign * doors_[entry.slot];
    return type >= 0 && type < int(kDoorTypeNames.size()) ? type : -1;
}

// The selected row, not the current one: the list takes a current row of its own when it
// gets the focus, and that chooses nothing.
int TDoorForm::chosenPosition() const
{
    const QList<QListWidgetItem*> selected = DoorList->selectedItems();
    return selected.isEmpty() ? -1 : DoorList->row(selected.front());
}

void TDoorForm::DoorListClick()
{
    const int position = chosenPosition();
    const bool chosen = onGrid_ && position >= 0;
    // A type means nothing until a position is chosen.
    DoorType->setEnabled(chosen);
    DoorType->setCurrentIndex(chosen ? shownType(position) : -1);
}

void TDoorForm::DoorTypeChange(int typeNumber)
{
    const int position = chosenPosition();
    if (!onGrid_ || position < 0 || typeNumber < 0)
        return;
    const DoorPositionRow& entry = kDoorPositionRows[position];
    doors_[entry.slot] = entry.sign * typeNumber;
    TileBox->update();
}

void TDoorForm::TileBoxPaint(QPainter& canvas) const
{
    if (!renderer_)
        return;
    canvas.drawImage(TileBox->rect(), cellPicture_);
    renderer_->drawDoorGlyphs(doors_, canvas, kPreviewPenWidth);
}

}  // namespace xemap
