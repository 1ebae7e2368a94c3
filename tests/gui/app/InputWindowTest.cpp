#include "gui/app/TypeAheadGuard.h"
#include "support/MainWindowTestSupport.h"

using namespace xemap;
using namespace xemap::testing;

namespace {

class MouseWindowTest : public MainWindowFixture {
protected:
    // Picks palette tile `tile` of the base tab with the large palette.
    void pickBaseTile(int tile) { palette().TileBoxMouseUp(Qt::LeftButton, tile % 10 * 40 + 5, tile / 10 * 40 + 5); }
    std::array<int, 4> region()
    {
        const Region& r = form().state().region;
        return {r.firstColumn, r.endColumn, r.firstRow, r.endRow};
    }
};

TEST_F(MouseWindowTest, StartsWithAnUntouchedMapAndThePaletteBesideIt)
{
    EXPECT_EQ(label("Label1"), "Normal Draw");
    EXPECT_FALSE(button("SaveButton")->isEnabled() || button("UndoButton")->isEnabled()
                 || button("RedoButton")->isEnabled());
    EXPECT_EQ(palette().pos(), QPoint(form().x() + form().frameGeometry().width() + 20, form().y()));

    // Export and Print ask for their configuration first.
    for (const char* name : {"ExportButton", "PrintButton"}) {
        rejectNextDialog();
        button(name)->click();
    }
    EXPECT_EQ(prompter.dialogsShown, (QStringList{"TPrintConfig", "TPrintConfig"}));
}

TEST_F(MouseWindowTest, ADragPaintsEveryGridCellItCrossesWhereAShiftClickOnlyRotates)
{
    loadColourTileset();
    pickBaseTile(23);
    drag({cellCentre(6, 6)}, Qt::ShiftModifier);
    EXPECT_EQ(palette().selectedRotation(), 3);
    EXPECT_EQ(grid(), MapGrid());
    EXPECT_TRUE(form().session().modified()) << "a release in normal draw marks the map modified";
    form().MapBoxMouseUp(Qt::RightButton, Qt::ShiftModifier, 10, 10);
    EXPECT_EQ(palette().selectedRotation(), 0);
    drag({cellCentre(2, 5), cellCentre(3, 5), cellCentre(4, 5), cellCentre(4, 6)});
    for (auto [x, y] : {std::pair{2, 5}, {3, 5}, {4, 5}, {4, 6}})
        EXPECT_EQ(grid().tile(x, y, 1), 23) << x << "," << y;
    EXPECT_EQ(label("XTile") + label("YTile"), "57");
    button("UndoButton")->click();
    EXPECT_EQ(grid(), MapGrid());

    // Pixels divide toward zero: less than a cell left of the view is still column 0.
    pickBaseTile(7);
    button("ZoomInButton")->click();
    drag({QPoint(100, 100), QPoint(-30, 100), QPoint(-50, 140), QPoint(100, 2000), QPoint(5000, 5000)});
    MapGrid expected;
    expected.tile(2, 2, 1) = 7;
    expected.tile(0, 2, 1) = 7;
    EXPECT_EQ(grid(), expected);
}

// However a press ends, its stroke marks the map modified: another window taking the
// activation before the release, or File > New asking about the map.
TEST_F(MouseWindowTest, APressThatNeverSeesItsReleaseStillEndsItsStroke)
{
    pickBaseTile(23);
    const auto press = [this](int column, int row) {
        form().MapBoxMouseDown(Qt::LeftButton, {}, cellCentre(column, row).x(), cellCentre(column, row).y());
    };
    ASSERT_TRUE(activate(form()));
    press(2, 2);
    EXPECT_EQ(grid().tile(2, 2, 1), 23);
    EXPECT_FALSE(form().session().modified());
    QWidget other;
    ASSERT_TRUE(activate(other));
    EXPECT_TRUE(form().session().modified());
    form().MapBoxMouseMove({}, cellCentre(3, 2).x(), cellCentre(3, 2).y());
    EXPECT_EQ(grid().tile(3, 2, 1), 99) << "the lost press paints no more";

    saveTo("saved.xem");
    press(5, 5);
    dismissYesNo();
    form().NewButtonClick();
    EXPECT_EQ(asked, QStringList{"Save Changes to Current Map?"});
    EXPECT_TRUE(form().session().modified());
}

TEST_F(MouseWindowTest, RegionSelectionCoversTheDraggedOrShiftClickedCellsAndStaysOnTheGrid)
{
    // Dragged from, to, and the selected columns and rows as first and end.
    const std::tuple<QPoint, QPoint, std::array<int, 4>> cases[] = {
        {cellCentre(5, 5), cellCentre(3, 7), {3, 6, 5, 8}},
        {cellCentre(31, 31), cellCentre(31, 31), {30, 32, 30, 32}},
        {cellCentre(30, 2), QPoint(900, -300), {30, 32, 0, 3}},
    };
    for (const auto& [from, to, expected] : cases) {
        button("SelectButton")->click();
        EXPECT_EQ(label("Label1"), "Select Region");
        drag({from, to});
        EXPECT_EQ(region(), expected);
    }
    EXPECT_EQ(std::tuple(grid(), form().session().modified()), std::tuple(MapGrid(), false))
        << "selecting changes nothing";

    // A shift-click finishes the region from its first corner.
    button("SelectButton")->click();
    drag({cellCentre(5, 5), cellCentre(6, 6)});
    drag({cellCentre(8, 9)}, Qt::ShiftModifier);
    EXPECT_EQ(region(), (std::array{5, 9, 5, 10}));

    palette().TileBoxMouseUp(Qt::LeftButton, 45, 5);
    EXPECT_FALSE(form().state().regionSelected || action("CopyRegion")->isEnabled());
}

TEST_F(MouseWindowTest, ADoubleClickOrAWheelTurnActsAsItsButtonAndModifiersSay)
{
    QWidget* view = form().findChild<QWidget*>("MapBox");
    for (const Qt::MouseButton b : {Qt::MiddleButton, Qt::RightButton, Qt::LeftButton}) {
        mapToSetUp(form().session()).grid.tile(4, 4, 1) = 23;
        hover(4, 4);
        form().MapBoxDblClick(b);
        EXPECT_EQ(grid().tile(4, 4, 1), b == Qt::LeftButton ? 99 : 23) << "button " << b;
    }
    // The map view hands the button on.
    mapToSetUp(form().session()).grid.tile(4, 4, 1) = 23;
    QTest::mouseDClick(view, Qt::MiddleButton, {}, cellCentre(4, 4));
    EXPECT_EQ(grid().tile(4, 4, 1), 23);
    // The simulated double click leaves its button down for the tests that follow.
    QTest::mouseRelease(view, Qt::MiddleButton, {}, cellCentre(4, 4));

    // Angle, modifiers, and the zoom and scroll values after it: a notch towards the user is one
    // arrow step down, and half a notch waits for the other half.
    const std::tuple<int, Qt::KeyboardModifiers, float, int, int> steps[] = {{120, Qt::ControlModifier, 2.0f, 0, 0},
                                                                             {-120, {}, 2.0f, 0, 4},
                                                                             {-60, Qt::ShiftModifier, 2.0f, 0, 4},
                                                                             {-60, Qt::ShiftModifier, 2.0f, 4, 4},
                                                                             {-240, Qt::ControlModifier, 1.0f, 0, 0}};
    for (const auto& [angle, modifiers, zoom, x, y] : steps) {
        QWheelEvent event(QPointF(100, 100), view->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, angle),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view, &event);
        EXPECT_EQ(std::tuple(form().state().zoomFactor, bar("XScroll")->value(), bar("YScroll")->value(),
                             form().state().viewRow, button("ZoomOutButton")->isEnabled()),
                  std::tuple(zoom, x, y, y / 4, zoom > 1))
            << angle << " " << modifiers;
    }
}

// A group file with a house of box pieces.
TEST_F(MouseWindowTest, ABuildingPickedFromABoxPieceIsDrawnAsOneUndoStepWithNoBandLeftBehind)
{
    writeBytes(folder.filePath("layer.grp").toStdString(), "B: 50 0 51 0 52 0 53 0 : House : house.bmp\r\n");
    loadColourTileset();

    // A right click on a box piece picks the building, framed in green; it is drawn with one undo step.
    palette().PageControl1Change(1);
    palette().TileBoxMouseUp(Qt::RightButton, 0 * 40 + 5, 5 * 40 + 5);
    EXPECT_EQ(label("Label1"), "House");
    EXPECT_EQ(palette().paletteImage(1).pixel(2, 5 * 40 + 10), qRgb(0, 128, 0));
    drag({cellCentre(3, 3)});
    EXPECT_EQ(std::pair(grid().tile(4, 4, 2), grid().rotation(4, 4, 2)), std::pair(51, 2));
    button("UndoButton")->click();
    EXPECT_EQ(grid(), MapGrid());

    // A box drag whose release goes to another window leaves no rubber band on the map.
    ASSERT_TRUE(activate(form()));
    const QPoint bandEdge(22 * 20 + 10, 20 * 20 + 2);
    const QRgb mapThere = mapPixel(bandEdge);
    form().MapBoxMouseDown(Qt::LeftButton, {}, cellCentre(20, 20).x(), cellCentre(20, 20).y());
    form().MapBoxMouseMove({}, cellCentre(24, 22).x(), cellCentre(24, 22).y());
    EXPECT_NE(mapPixel(bandEdge), mapThere);
    QWidget other;
    ASSERT_TRUE(activate(other));
    EXPECT_EQ(mapPixel(bandEdge), mapThere);
    EXPECT_EQ(grid(), MapGrid());
}

class KeyboardWindowTest : public ColourMapFixture {
protected:
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&form(), k, modifiers); }
    void type(char c) { QTest::keyClick(&form(), c); }
};

// The windowing system reports Alt+t as "t", which must not open Describe Tile.
TEST_F(KeyboardWindowTest, OnlyPlainCharactersActAsCommands)
{
    for (const Qt::KeyboardModifier modifier : {Qt::AltModifier, Qt::ControlModifier})
        for (QWidget* target : std::initializer_list<QWidget*>{&form(), &palette()})
            QTest::keyClicks(target, "tdhs+,", modifier);
    EXPECT_EQ(std::tuple(prompter.dialogsShown.size(), palette().paletteScale(), form().state().zoomFactor,
                         palette().selectedRotation()),
              std::tuple(0, 2, 1.0f, 0));
}

// Keys zoom past the disabled buttons, so the zoom itself must stop at one and eight.
TEST_F(KeyboardWindowTest, ZoomStopsAtOneAndEightAndArrowsScrollOnlyWhenZoomed)
{
    type('s');
    EXPECT_FALSE(action("ViewLargeTileset")->isChecked());
    type('=');
    for (int i = 0; i < 70; ++i)
        key(Qt::Key_Right);
    key(Qt::Key_Down, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(std::tuple(bar("XScroll")->value(), bar("YScroll")->value()), std::tuple(64, 4));
    QTest::keyClicks(&form(), "++++");
    EXPECT_EQ(std::tuple(form().state().zoomFactor, bar("XScroll")->maximum(), button("ZoomInButton")->isEnabled()),
              std::tuple(8.0f, 112, false));
    for (const char* name : {"ZoomOutButton", "ZoomOutButton", "ZoomOutButton", "ZoomInButton", "ZoomOutButton"})
        button(name)->click();
    EXPECT_EQ(std::tuple(form().state().zoomFactor, bar("XScroll")->isEnabled(), button("ZoomOutButton")->isEnabled(),
                         button("ZoomInButton")->isEnabled()),
              std::tuple(1.0f, false, false, true));
}

TEST_F(KeyboardWindowTest, ADoorToggledByAKeypadDigitIsUndoneEvenByAChordWhoseCtrlIsReleasedFirst)
{
    hover(4, 6);
    mapToSetUp(form().session()).grid.door(4, 6, North) = 3;
    key(Qt::Key_8, Qt::KeypadModifier);
    key(Qt::Key_8, Qt::KeypadModifier);
    EXPECT_EQ(grid().door(4, 6, North), 1);

    // Ctrl let go a moment before the letter, as fast typists and remote desktops do, still acts.
    QTest::keyPress(&form(), Qt::Key_Control);
    QTest::keyPress(&form(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyRelease(&form(), Qt::Key_Control, Qt::ControlModifier);
    QTest::keyRelease(&form(), Qt::Key_Z);
    EXPECT_EQ(grid().door(4, 6, North), 0) << "undone";
    QTest::keyPress(&form(), Qt::Key_R, Qt::ControlModifier);
    QTest::keyRelease(&form(), Qt::Key_R);
    EXPECT_EQ(grid().door(4, 6, North), 1) << "redone";
}

TEST_F(KeyboardWindowTest, SpacePicksTheTileUnderTheCursorAndNoKeyActsOffTheGrid)
{
    hover(4, 6);
    // A drag that ends past the map's edge leaves the cursor cell off the grid.
    form().MapBoxMouseDown(Qt::LeftButton, {}, 10, 10);
    form().MapBoxMouseUp(Qt::LeftButton, {}, 700, -30);
    const MapGrid before = grid();
    key(Qt::Key_8, Qt::KeypadModifier);
    type(' ');
    type('d');
    EXPECT_EQ(grid(), before);

    // Space picks the cursor tile, and ends the region mode.
    mapToSetUp(form().session()).grid.tile(2, 3, 1) = 37;
    mapToSetUp(form().session()).grid.rotation(2, 3, 1) = 2;
    palette().TileBoxMouseUp(Qt::LeftButton, 5, 45);  // a terrain tile of the base tab
    palette().TileBoxMouseUp(Qt::LeftButton, 45, 45);
    form().SelectButtonClick();
    hover(2, 3);
    type(' ');
    EXPECT_EQ(std::tuple(palette().selectedTile(), palette().selectedRotation(), form().statusText()),
              std::tuple(37, 2, "Normal Mode"));

    // A tile number the palette has no cell for is not picked.
    mapToSetUp(form().session()).grid.tile(2, 3, 1) = 1234;
    type(' ');
    EXPECT_EQ(palette().selectedTile(), 37);
}

// Typing meant for Describe Tile that runs on as a typed character closes it must not open Doors,
// undo or hide the palette; once the typist pauses, keys at the map and at the palette act again.
TEST_F(KeyboardWindowTest, KeysTypedForAModalDialogNeverReachTheMap)
{
    windows->show();
    auto now = TypeAheadGuard::Clock::now();
    windows->typeAheadGuard->setClock([&now] { return now; });
    hover(4, 6);
    key(Qt::Key_8, Qt::KeypadModifier);

    auto typeAtTheMapWindows = [this] {
        QTest::keyClicks(&form(), "dhs+");
        key(Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(form().windowHandle(), Qt::Key_G, Qt::ControlModifier);  // a menu shortcut
        QTest::keyClick(&palette(), 'h');
    };
    // Only Describe Tile opened; no undo, grid, palette or zoom change.
    auto expectNothingDone = [this](const char* when) {
        EXPECT_EQ(prompter.dialogsShown, QStringList(prompter.dialogsShown.size(), "TileDescForm")) << when;
        EXPECT_EQ(std::tuple(grid().door(4, 6, North), action("ViewGrid")->isChecked(), palette().isVisible(),
                             palette().paletteScale(), form().state().zoomFactor),
                  std::tuple(1, true, true, 2, 1.0f))
            << when;
    };
    enum class WhileOpen { TypeAtTheMap, TypeAName, TypeANameAndEnter };
    auto describeAndClose = [&](WhileOpen whileOpen) {
        prompter.expectDialog([&, whileOpen](QDialog& dialog) {
            dialog.setWindowModality(Qt::ApplicationModal);
            dialog.show();
            if (whileOpen == WhileOpen::TypeAtTheMap)
                typeAtTheMapWindows();
            else
                QTest::keyClicks(dialog.findChild<QWidget*>("TileName"), "Old");
            if (whileOpen == WhileOpen::TypeANameAndEnter)
                QTest::keyClick(dialog.findChild<QWidget*>("TileName"), Qt::Key_Return);
            dialog.hide();
            return int(QDialog::Rejected);
        });
        type('t');
        // The main window is active again, so that its menu shortcuts could act.
        ASSERT_TRUE(activate(form()));
    };

    describeAndClose(WhileOpen::TypeAtTheMap);
    expectNothingDone("while open");
    now += 2 * TypeAheadGuard::kTypingPause;
    describeAndClose(WhileOpen::TypeAName);
    for (int step = 0; step < 3; ++step) {
        typeAtTheMapWindows();
        now += TypeAheadGuard::kTypingPause / 2;  // the typing runs on without a pause
    }
    expectNothingDone("typed ahead");

    now += TypeAheadGuard::kTypingPause;
    QTest::keyClick(&palette(), 'h');
    EXPECT_FALSE(palette().isVisible()) << "the palette hands its characters on again";
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid().door(4, 6, North), 0);
    QTest::keyClick(form().windowHandle(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_FALSE(action("ViewGrid")->isChecked());

    // A dialog closed by a key that types nothing leaves the next key to the map at once.
    describeAndClose(WhileOpen::TypeANameAndEnter);
    rejectNextDialog();
    type('d');
    EXPECT_EQ(prompter.dialogsShown.size(), 4);
}

}  // namespace
