#include "gui/app/TypeAheadGuard.h"
#include "support/MainWindowTestSupport.h"

using namespace xemap;
using namespace xemap::testing;

namespace {

class KeyboardWindowTest : public ColourMapFixture {
protected:
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&form(), k, modifiers); }
    void type(char c) { QTest::keyClick(&form(), c); }
    // The cell as it shows once the cursor leaves it.
    QImage cleanCell() { return form().renderer()->underCursorImage().copy(); }
};

// Keys zoom past the disabled buttons, so the zoom itself must stop at one and eight.
TEST_F(KeyboardWindowTest, ZoomKeysStopAtOneAndEightAndArrowsScrollOnlyWhenZoomed)
{
    type('-');
    key(Qt::Key_Right);
    EXPECT_EQ(form().state().zoomFactor, 1.0f);
    EXPECT_EQ(bar("XScroll")->value(), 0);
    type('=');
    for (int i = 0; i < 70; ++i)
        key(Qt::Key_Right);
    EXPECT_EQ(bar("XScroll")->value(), 64);
    key(Qt::Key_Down, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(bar("YScroll")->value(), 4);
    QTest::keyClicks(&form(), "++++");
    EXPECT_EQ(form().state().zoomFactor, 8.0f);
}

TEST_F(KeyboardWindowTest, KeypadTogglesDoorsThatUndoRestoresAndMainDigitsLeaveAlone)
{
    hover(4, 6);
    const QImage bare = cleanCell();
    form().document().grid.door(4, 6, North) = 3;

    key(Qt::Key_8);
    EXPECT_EQ(grid().door(4, 6, North), 3) << "the digit on the main keys is no door key";
    key(Qt::Key_8, Qt::KeypadModifier);
    EXPECT_EQ(cleanCell(), bare) << "a door taken away leaves no glyph";
    key(Qt::Key_8, Qt::KeypadModifier);
    EXPECT_EQ(grid().door(4, 6, North), 1);

    for (int expected : {1, -1, 0}) {
        key(Qt::Key_5, Qt::KeypadModifier);
        EXPECT_EQ(grid().door(4, 6, Center), expected);
    }
    key(Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(grid().door(4, 6, West), 1);

    // Ctrl+Shift+Z is Ctrl+Z; Ctrl+R redoes.
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(grid().door(4, 6, West), 0);
    key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(grid().door(4, 6, West), 1);
}

TEST_F(KeyboardWindowTest, SpacePicksTheCursorTileAndRotationKeysWrapThePaletteTile)
{
    form().document().grid.tile(2, 3, 1) = 37;
    form().document().grid.rotation(2, 3, 1) = 2;
    palette().TileBoxMouseUp(Qt::LeftButton, 5, 45);  // a terrain tile of the base tab
    palette().TileBoxMouseUp(Qt::LeftButton, 45, 45);
    form().SelectButtonClick();
    hover(2, 3);
    type(' ');
    EXPECT_EQ(palette().selectedTile(), 37);
    EXPECT_EQ(palette().selectedRotation(), 2);
    EXPECT_EQ(form().statusText(), "Normal Mode");

    QTest::keyClicks(&form(), ">>,");
    EXPECT_EQ(palette().selectedRotation(), 3) << "turned to 3, 0 and back";
    EXPECT_EQ(grid().rotation(2, 3, 1), 2) << "the map cell keeps its rotation";

    // A tile number the palette has no cell for is not picked.
    form().document().grid.tile(2, 3, 1) = 1234;
    type(' ');
    EXPECT_EQ(palette().selectedTile(), 37);
}

TEST_F(KeyboardWindowTest, PaletteKeysHideAndResizeThePalette)
{
    palette().show();
    type('s');
    EXPECT_EQ(palette().paletteScale(), 1);
    EXPECT_FALSE(action("ViewLargeTileset")->isChecked());
    type('H');
    EXPECT_FALSE(palette().isVisible());
}

TEST_F(KeyboardWindowTest, KeysDoNothingWhileTheirItemIsDisabledOrTheCursorIsOffTheGrid)
{
    hover(1, 1);
    for (Qt::Key k : {Qt::Key_C, Qt::Key_V})
        key(k, Qt::ControlModifier | Qt::AltModifier);
    for (Qt::Key k : {Qt::Key_V, Qt::Key_Z})
        key(k, Qt::ControlModifier);
    EXPECT_TRUE(form().document().descriptions.empty());
    EXPECT_FALSE(form().session().modified());

    // A drag that ends past the map's edge leaves the cursor cell off the grid.
    form().MapBoxMouseDown(Qt::LeftButton, {}, 10, 10);
    form().MapBoxMouseUp(Qt::LeftButton, {}, 700, -30);
    ASSERT_FALSE(form().state().cursorInsideGrid());
    const MapGrid before = grid();
    key(Qt::Key_8, Qt::KeypadModifier);
    type(' ');
    type('d');
    EXPECT_EQ(grid(), before);
    EXPECT_TRUE(prompter.dialogsShown.isEmpty());
}

// Ctrl let go a moment before the letter, as fast typists and remote desktops do.
TEST_F(KeyboardWindowTest, AChordWhoseCtrlIsReleasedFirstStillActs)
{
    hover(4, 6);
    key(Qt::Key_8, Qt::KeypadModifier);
    ASSERT_EQ(grid().door(4, 6, North), 1);
    QTest::keyPress(&form(), Qt::Key_Control);
    QTest::keyPress(&form(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyRelease(&form(), Qt::Key_Control, Qt::ControlModifier);
    QTest::keyRelease(&form(), Qt::Key_Z);
    EXPECT_EQ(grid().door(4, 6, North), 0) << "undone";
    QTest::keyPress(&form(), Qt::Key_R, Qt::ControlModifier);
    QTest::keyRelease(&form(), Qt::Key_R);
    EXPECT_EQ(grid().door(4, 6, North), 1) << "redone";
    key(Qt::Key_Z);
    EXPECT_EQ(grid().door(4, 6, North), 1) << "a plain Z does nothing";
}

// The windowing system reports Alt+t as "t"; only the menu's Alt+F mnemonic may act.
TEST_F(KeyboardWindowTest, CharactersTypedWithAltOrCtrlRunNoCharacterCommand)
{
    windows->show();
    palette().show();
    hover(2, 2);
    for (const Qt::KeyboardModifier modifier : {Qt::AltModifier, Qt::ControlModifier})
        for (QWidget* target : std::initializer_list<QWidget*>{&form(), &palette()})
            for (const char c : {'t', 'd', 'h', 's', '+', ','})
                QTest::keyClick(target, c, modifier);
    EXPECT_TRUE(prompter.dialogsShown.isEmpty()) << "neither Describe nor Doors opened";
    EXPECT_TRUE(palette().isVisible());
    EXPECT_EQ(palette().paletteScale(), 2);
    EXPECT_EQ(form().state().zoomFactor, 1.0f);
    EXPECT_EQ(palette().selectedRotation(), 0);
    QTest::keyClick(&palette(), 'h');
    EXPECT_FALSE(palette().isVisible()) << "the plain character still acts";
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
    ASSERT_EQ(grid().door(4, 6, North), 1);

    auto typeAtTheMapWindows = [this] {
        QTest::keyClicks(&form(), "dhs+");
        key(Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(form().windowHandle(), Qt::Key_G, Qt::ControlModifier);  // a menu shortcut
        QTest::keyClick(&palette(), 'h');
    };
    auto expectNothingDone = [this](const char* when) {
        EXPECT_EQ(prompter.dialogsShown, QStringList(prompter.dialogsShown.size(), "TileDescForm")) << when;
        EXPECT_EQ(grid().door(4, 6, North), 1) << when << ": nothing undone";
        EXPECT_TRUE(action("ViewGrid")->isChecked()) << when;
        EXPECT_TRUE(palette().isVisible()) << when;
        EXPECT_EQ(palette().paletteScale(), 2) << when;
        EXPECT_EQ(form().state().zoomFactor, 1.0f) << when;
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
        form().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
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
