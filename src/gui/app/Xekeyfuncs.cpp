// The keyboard of the main window: typed characters and released keys, looked up in
// the key table and dispatched here.
#include "gui/app/Xemapmain.h"

#include "gui/tileset/Tilesetformmain.h"

#include <QAction>
#include <QKeyEvent>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <array>

namespace xemap {

namespace {

struct QtKey {
    int qtKey;
    Key key;
};

constexpr std::array<QtKey, 14> kQtKeys{{
    {Qt::Key_Left, Key::ArrowLeft},
    {Qt::Key_Right, Key::ArrowRight},
    {Qt::Key_Up, Key::ArrowUp},
    {Qt::Key_Down, Key::ArrowDown},
    {Qt::Key_2, Key::Digit2},
    {Qt::Key_4, Key::Digit4},
    {Qt::Key_5, Key::Digit5},
    {Qt::Key_6, Key::Digit6},
    {Qt::Key_8, Key::Digit8},
    {Qt::Key_X, Key::X},
    {Qt::Key_C, Key::C},
    {Qt::Key_V, Key::V},
    {Qt::Key_Z, Key::Z},
    {Qt::Key_R, Key::R},
}};

ReleasedKey keyOf(const QKeyEvent& event)
{
    const auto found = std::ranges::find(kQtKeys, event.key(), &QtKey::qtKey);
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return {found == kQtKeys.end() ? Key::Other : found->key, modifiers.testFlag(Qt::KeypadModifier),
            modifiers.testFlag(Qt::ControlModifier), modifiers.testFlag(Qt::AltModifier)};
}

// A popup command reached by key runs as its menu item would, and not at all while disabled.
void triggerIfEnabled(QAction* item)
{
    if (item->isEnabled())
        item->trigger();
}

}  // namespace

void TForm1::keyPressEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat())
        chords_.pressed(keyOf(*event));
    if (const std::optional<QChar> character = typedCharacter(*event))
        FormKeyPress(*character);
    else
        QMainWindow::keyPressEvent(event);
}

// Held keys repeat their presses, but a release command acts once, when the key is let go.
void TForm1::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat())
        return;
    FormKeyUp(chords_.released(keyOf(*event)));
}

void TForm1::FormKeyPress(QChar key) { runKeyCommand(commandForCharacter(key.toLatin1())); }

void TForm1::FormKeyUp(const ReleasedKey& key) { runKeyCommand(commandForRelease(key)); }

void TForm1::runKeyCommand(KeyCommand command)
{
    switch (command) {
    case KeyCommand::None: break;
    case KeyCommand::PickTile: pickTileUnderCursor(); break;
    case KeyCommand::ZoomIn: applyZoom(2.0f); break;
    case KeyCommand::ZoomOut: applyZoom(0.5f); break;
    case KeyCommand::RotateLeft: rotatePaletteTile(-1); break;
    case KeyCommand::RotateRight: rotatePaletteTile(1); break;
    case KeyCommand::Describe: DescItemClick(); break;
    case KeyCommand::Doors:
        // The key opens the dialog even on maps whose popup item is disabled.
        DoorItemClick();
        break;
    case KeyCommand::TogglePalette:
        if (palette_)
            palette_->setVisible(!palette_->isVisible());
        break;
    case KeyCommand::TogglePaletteSize: togglePaletteSize(); break;
    case KeyCommand::ScrollLeft: scrollBy(XScroll, -1); break;
    case KeyCommand::ScrollRight: scrollBy(XScroll, 1); break;
    case KeyCommand::ScrollUp: scrollBy(YScroll, -1); break;
    case KeyCommand::ScrollDown: scrollBy(YScroll, 1); break;
    case KeyCommand::ToggleNorthDoor:
    case KeyCommand::ToggleEastDoor:
    case KeyCommand::ToggleSouthDoor:
    case KeyCommand::ToggleWestDoor:
    case KeyCommand::CycleCenterDoor: toggleDoor(doorSlotOf(command)); break;
    case KeyCommand::Undo:
        if (UndoButton->isEnabled())
            UndoButtonClick();
        break;
    case KeyCommand::Redo:
        if (RedoButton->isEnabled())
            RedoButtonClick();
        break;
    case KeyCommand::CutRegion: triggerIfEnabled(CutRegion); break;
    case KeyCommand::CopyRegion: triggerIfEnabled(CopyRegion); break;
    case KeyCommand::PasteRegion: triggerIfEnabled(PasteRegion); break;
    case KeyCommand::CutDescription: triggerIfEnabled(CutDesc); break;
    case KeyCommand::CopyDescription: triggerIfEnabled(CopyDesc); break;
    case KeyCommand::PasteDescription: triggerIfEnabled(PasteDesc); break;
    }
}

// Space: the palette selects the cursor cell's tile and rotation on the current layer.
void TForm1::pickTileUnderCursor()
{
    if (!palette_ || !state_.cursorInsideGrid())
        return;
    const int x = state_.cursorColumn;
    const int y = state_.cursorRow;
    const int layer = state_.currentLayer;
    if (palette_->pickTile(document().grid.tile(x, y, layer), document().grid.rotation(x, y, layer)))
        showChanges({});
}

// The rotation belongs to the palette tile and is used by the next paint.
void TForm1::rotatePaletteTile(int step)
{
    if (!palette_)
        return;
    palette_->rotateSelectedTile(step);
    showChanges({});
}

void TForm1::togglePaletteSize()
{
    if (!palette_)
        return;
    viewLargeTileset_->setChecked(palette_->paletteScale() != 2);
    ViewLargeTilesetClick();
}

// Scroll positions count quarter cells; the bar clamps, and its change moves the view.
void TForm1::scrollBy(QScrollBar* bar, int direction)
{
    if (state_.zoomFactor <= 1.0f)
        return;
    bar->setValue(bar->value() + direction * bar->singleStep());
}

// The cell is composed again, so that a door taken away leaves no glyph behind.
void TForm1::toggleDoor(int slot) { showChanges(session_.toggleDoor(cursorCell(), slot)); }

}  // namespace xemap
