#include "gui/descriptions/Doorformmain.h"
#include "render/Tileset.h"
#include "render/Xedrawfuncs.h"
#include "support/TestSheets.h"
#include "support/WindowTest.h"

using namespace xemap;

namespace {

constexpr int kColumn = 3;
constexpr int kRow = 4;
constexpr int kBaseTile = 7;
// Inside the box of the North door in the start-up geometry, clear of its outline.
constexpr QPoint kNorthBoxInside{41, 21};
constexpr QPoint kEastBoxInside{61, 41};

class DoorFormTest : public ::testing::Test {
protected:
    DoorFormTest() { document.grid.tile(kColumn, kRow, 0) = kBaseTile; }

    void open() { form.FormShow(document.grid, renderer, state, kColumn, kRow, QPoint(50, 60)); }

    void selectPosition(int row)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }

    QRgb previewPixel(QPoint at) { return form.findChild<QWidget*>("TileBox")->grab().toImage().pixel(at); }

    MapDocument document;
    EditorState state;
    Tileset tileset{LayerSheets{test::solidSheet(0)}};
    MapRenderer renderer{document, state, tileset};
    TDoorForm form;
    QListWidget* list = form.findChild<QListWidget*>("DoorList");
    QComboBox* types = form.findChild<QComboBox*>("DoorType");
};

TEST_F(DoorFormTest, EveryPositionWritesItsOwnSlotAndTheCenterRowsShareOneByItsSign)
{
    const std::tuple<int, DoorSlot, int> cases[] = {{0, North, 1}, {1, East, 1},   {2, South, 1},
                                                    {3, West, 1},  {4, Center, 1}, {5, Center, -1}};
    for (const auto& [row, slot, sign] : cases) {
        for (int type : {7, 0}) {
            SCOPED_TRACE(::testing::Message() << "row " << row << " type " << type);
            document.grid = MapGrid();
            document.grid.door(kColumn, kRow, slot) = 5 * sign;  // something to replace
            open();
            EXPECT_EQ(list->currentRow(), -1);  // nothing kept from the last opening
            selectPosition(row);
            EXPECT_EQ(types->currentIndex(), 5);
            types->setCurrentIndex(type);
            CellDoors expected{};
            expected[slot] = sign * type;
            EXPECT_EQ(form.doors(), expected);
            EXPECT_EQ(document.grid.door(kColumn, kRow, slot), 5 * sign) << "the dialog chooses on a copy";
        }
    }

    document.grid.door(kColumn, kRow, Center) = -3;
    open();
    // The list takes a current row when it gets the focus, but no position is chosen by it.
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    list->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(types->isEnabled());
    const CellDoors before = form.doors();
    types->setCurrentIndex(6);  // a type with no position chosen writes no slot
    EXPECT_EQ(form.doors(), before);

    // Showing a slot does not write it; "Door" across the horizontal line replaces the vertical hidden door.
    selectPosition(4);
    EXPECT_EQ(std::pair(types->currentIndex(), form.doors()[Center]), std::pair(-1, -3));
    types->setCurrentIndex(1);
    EXPECT_EQ(form.doors()[Center], 1);
    selectPosition(5);
    EXPECT_EQ(types->currentIndex(), -1);
    // Cancel closes the dialog as Done does; the window applies the choices either way.
    QTest::mouseClick(form.findChild<QPushButton*>("BitBtn2"), Qt::LeftButton);
    EXPECT_EQ(std::pair(form.isVisible(), form.result()), std::pair(false, int(QDialog::Rejected)));
}

TEST_F(DoorFormTest, OpensBesideTheMainWindowAndPreviewsGlyphsOnlyWithViewDoors)
{
    const QRgb tile = test::renderSheetColour(0, kBaseTile);
    const QImage mapBefore = renderer.mapImage();
    document.grid.door(kColumn, kRow, North) = 2;  // black box
    open();
    EXPECT_EQ(std::tuple(form.windowTitle(), form.pos(), list->verticalScrollBar()->maximum()),
              std::tuple("Doors", QPoint(150, 160), 0));
    EXPECT_EQ(previewPixel(kNorthBoxInside), 0xff000000);
    // The cell image holds the bare cell, and the map view is left as it was.
    EXPECT_TRUE(renderer.cellImage().pixel(kNorthBoxInside) == tile && renderer.mapImage() == mapBefore);

    selectPosition(1);
    types->setCurrentIndex(7);  // yellow box
    EXPECT_EQ(previewPixel(kEastBoxInside), 0xffffff00);

    state.showDoors = false;
    open();
    EXPECT_EQ(previewPixel(kNorthBoxInside), tile);
}

}  // namespace
