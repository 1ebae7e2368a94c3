#pragma once

#include "core/document/EditorState.h"
#include "core/editing/BrushEdit.h"
#include "core/editing/EditSession.h"
#include "core/editing/KeyCommands.h"
#include "core/tileset/Registry.h"
#include "gui/tileset/PaletteHost.h"
#include "render/Tileset.h"
#include "render/Xedrawfuncs.h"

#include <QImage>
#include <QMainWindow>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class QToolButton;

namespace xemap {

class Autosave;
class MapView;
struct LoadedMap;
struct MapOutputContext;
class Prompter;
struct RecoveryEntry;
enum class RecoveryChoice;
class TAddTilesetForm;
class TCommandsForm;
class TDoorForm;
class TGetMapName;
class TNewTilesetForm;
class TPrintConfig;
class TTileDescForm;
class TTilesetForm;
class TXEAbout;
class TYesNo;

// The dialogs the main window opens; they are created after it, beside it.
struct MainWindowDialogs {
    TYesNo* yesNo = nullptr;
    TXEAbout* about = nullptr;
    TNewTilesetForm* newTileset = nullptr;
    TCommandsForm* commands = nullptr;
    TGetMapName* mapName = nullptr;
    TAddTilesetForm* addTileset = nullptr;
    TTileDescForm* tileDesc = nullptr;
    TDoorForm* doors = nullptr;
};

// The absolute folder of a file, as maps remember where they were opened and saved.
std::string folderOf(const QString& path);
// The user's own data folder: recovery files, and the user's registry and tilesets when
// the program folder is shared.
QString userDataFolder();

// The main window: map view, toolbar, menus and status line. Its handlers read the
// event, change the map through the edit session and show what changed.
class TForm1 : public QMainWindow, public PaletteHost {
    Q_OBJECT

public:
    TForm1(Prompter& prompter, const QString& programDirectory, QWidget* parent = nullptr);
    ~TForm1() override;

    // The palette is created after the main window; the map is drawn with its tileset.
    void setPalette(TTilesetForm* palette) override;
    void setDialogs(const MainWindowDialogs& dialogs) { dialogs_ = dialogs; }
    void setPrintConfig(TPrintConfig* printConfig) { printConfig_ = printConfig; }
    TTilesetForm* palette() const { return palette_; }
    Prompter& prompter() const { return prompter_; }

    EditSession& session() { return session_; }
    const EditSession& session() const { return session_; }
    const MapDocument& document() const { return session_.document(); }
    EditorState& state() { return state_; }
    const EditorState& state() const { return state_; }
    const UndoHistory& history() const { return session_.history(); }
    const QImage& mapImage() const;
    MapRenderer* renderer() const { return renderer_.get(); }
    QString programDirectory() const override { return programDirectory_; }
    // Where Add Tileset registers: the program folder, or the user's data folder when
    // the program folder is shared.
    QString addedTilesetFolder() const { return QString::fromStdString(registryFolders_.added().string()); }

    // What the palette reads and reports.
    int tilesetCount() const override { return int(tilesets_.size()); }
    const RegisteredTileset* registeredTileset(int index) const override;
    void setModeNames(int layer, const QStringList& names) override { modeNames_[layer] = names; }
    QString modeName(int layer, int mode) const override { return modeNames_[layer].value(mode); }
    int editMode() const override { return state_.editMode; }
    void tilesetLoaded(int index, int cellLayerCount) override;
    void editModeChosen(int editMode, bool connector, const QString& statusText) override;
    void layerChosen(int cellLayer) override;
    void oneLayerChosen(bool oneLayer) override;

    // The registered tilesets' names, as File > New lists them.
    QStringList tilesetNames() const;
    // Adds a tileset to the list and its "New " item to the File menu.
    void registerTileset(RegisteredTileset tileset);

    // The one way the screen follows a change: draws what changed, puts the region outline
    // and the cursor preview back over fresh cells, and sets the items that depend on the map.
    void showChanges(const Changes& changes);
    void setStatusText(const QString& text) override;
    QString statusText() const;
    // Drops a finished region selection (and its Cut/Copy Region items).
    void dropRegionSelection(bool redraw = true) override;

    void redrawAll() override;

    // Toolbar and menu commands.
    void NewButtonClick();
    void NewClick(const QString& itemName);
    // File > Add Tileset...: registers the tileset and appends it to the registry file.
    void AddTileset();
    // File > Save and Save As; the map stays modified when nothing was written.
    void Save(bool asSaveAs);
    // File > Open: replaces the map only with a file read whole.
    void Open();
    // File > Open once the file is chosen; also the map named when the program starts.
    void OpenFile(const QString& path);
    // At start: offers the maps of editors that did not close normally (Xerecoveryfuncs.cpp).
    void offerRecovery();
    Autosave& autosave() { return *autosave_; }
    void ExportClick();
    void Print1Click();
    // False when the registry could be neither read nor created; the program then ends.
    bool registryReady() const { return registryReady_; }
    void UndoButtonClick();
    void RedoButtonClick();
    void SelectButtonClick();
    void ViewGridClick();
    void ViewDoorsClick();
    void ViewLabelsClick();
    void ViewLargeTilesetClick();
    void XScrollChange(int position);
    void YScrollChange(int position);

    // Mouse editing of the map view.
    void MapBoxMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void MapBoxMouseMove(Qt::KeyboardModifiers modifiers, int x, int y);
    void MapBoxMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void MapBoxDblClick(Qt::MouseButton button);
    // Wheel notches over the map view, positive away from the user.
    void MapBoxWheel(Qt::KeyboardModifiers modifiers, int notches);

    // ---- Keyboard and popup commands (Xekeyfuncs.cpp, Xepopupfuncs.cpp) ----
    // The character handler: typed keys, and the zoom and rotate toolbar buttons.
    void FormKeyPress(QChar key) override;
    // The key-release handler, with Ctrl and Alt as held at release or at the key's press.
    void FormKeyUp(const ReleasedKey& key);
    // Right press in the map view: sets the description items and pops the menu up at `screenPoint`.
    void openMapMenu(QPoint screenPoint);
    void DescItemClick();
    void DoorItemClick();
    void CutDescClick();
    void CopyDescClick();
    void PasteDescClick();
    // Cut Region and Copy Region share one handler, told apart by the sender.
    void CutRegionClick(QAction* sender);
    void PasteRegionClick();
    void RotateClick(QAction* sender);
    // ---- end of keyboard and popup commands ----

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void buildToolbar(QWidget* client);
    void buildMenus();
    void buildMapMenu();
    void insertNewItem(int tilesetIndex);
    void updateCommandItems();
    void applyZoom(float factor);

    // Ends the press on the map: its stroke marks the map modified, and moves no longer paint.
    // Also when the release never comes, because another window or a dialog took the mouse.
    void endPress();

    // Document lifecycle (Xemenufuncs.cpp).
    // Asks to save a modified map; false when the caller must not go on.
    bool saveChangesFirst(const QString& question, const QString& discardCaption);
    void readMapFileInto(const QString& path);
    bool knowsTileset(int tilesetIndex);
    // An opened or restored map's tileset and door geometry, then the whole map drawn.
    void showOpenedMap(const Changes& changes);
    RecoveryChoice offerRecoveryMap(const RecoveryEntry& entry);
    void restoreMap(LoadedMap& loaded, const std::string& mapFileName);
    bool startMapWith(int tilesetIndex);
    bool askYesNo(const QString& question, const QString& yesCaption, const QString& noCaption);
    // The registry position chosen, or nothing when the dialog was cancelled.
    std::optional<int> chooseTileset();
    std::optional<QString> askMapName();
    void showMapNameCaption();
    void readRegistry();
    void runOutput(void (*command)(MapOutputContext&));

    // Keyboard and popup steps (Xekeyfuncs.cpp, Xepopupfuncs.cpp).
    void connectMapMenu();
    void runKeyCommand(KeyCommand command);
    void pickTileUnderCursor();
    void rotatePaletteTile(int step);
    void togglePaletteSize();
    void scrollBy(QScrollBar* bar, int direction);
    void toggleDoor(int slot);
    void removeDescription();

    // Mouse editing steps (Xemousefuncs.cpp).
    void setCursorCell(int x, int y);
    Changes paintCursorCell();
    void startDrag();
    // Ends a selection or box drag; `oldOutline` is a region outline no press has erased yet.
    void finishDrag(const CellList& oldOutline);

    // Drawing steps (Xemapmain.cpp).
    GridCell cursorCell() const { return {state_.cursorColumn, state_.cursorRow}; }
    // Moves the cursor preview to the cursor cell; the cell it leaves gets its clean image back.
    void followCursor();
    void restoreLastHovered();
    void drawRubberBand();
    void drawRegionOutline();
    CellList regionBorderCells() const;
    CellList bandCells() const;
    void cursorPreview(int column, int row);
    void showPreview();
    void present();

    Prompter& prompter_;
    QString programDirectory_;
    RegistryFolders registryFolders_;
    TTilesetForm* palette_ = nullptr;
    TPrintConfig* printConfig_ = nullptr;
    bool registryReady_ = false;
    MainWindowDialogs dialogs_;

    // The tilesets of the registries in list order, and the mode names of the palette's layers.
    std::vector<RegisteredTileset> tilesets_;
    std::array<QStringList, kTilesetLayers> modeNames_;

    EditSession session_;
    std::unique_ptr<Autosave> autosave_;
    EditorState state_;
    // The edit of the left button held down on the map; it ends when the press ends.
    std::optional<EditSession::Stroke> stroke_;
    // The cell the map menu was opened on; its own description is the one cut or copied.
    int menuCellIndex_ = -1;
    std::unique_ptr<MapRenderer> renderer_;
    ChordMemory chords_;

    // The map popup menu and its items (tests find them by these object names).
    QMenu* MapMenu = nullptr;
    QAction* DescItem = nullptr;
    QAction* CutDesc = nullptr;
    QAction* CopyDesc = nullptr;
    QAction* PasteDesc = nullptr;
    QAction* DoorItem = nullptr;
    QAction* CutRegion = nullptr;
    QAction* CopyRegion = nullptr;
    QAction* PasteRegion = nullptr;
    QAction* LRotate = nullptr;
    QAction* RRotate = nullptr;

    MapView* MapBox = nullptr;
    QScrollBar* XScroll = nullptr;
    QScrollBar* YScroll = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* XTile = nullptr;
    QLabel* YTile = nullptr;
    QLabel* PreviewImage = nullptr;
    QToolButton* SaveButton = nullptr;
    QToolButton* UndoButton = nullptr;
    QToolButton* RedoButton = nullptr;
    QToolButton* ZoomInButton = nullptr;
    QToolButton* ZoomOutButton = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* addTilesetItem_ = nullptr;
    QAction* newItemsEnd_ = nullptr;
    QAction* viewGrid_ = nullptr;
    QAction* viewDoors_ = nullptr;
    QAction* viewLabels_ = nullptr;
    QAction* viewLargeTileset_ = nullptr;
};

}  // namespace xemap
