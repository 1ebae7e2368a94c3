#pragma once

#include "core/document/EditorState.h"
#include "core/document/MapDocument.h"
#include "core/document/UndoHistory.h"
#include "core/editing/KeyCommands.h"
#include "core/editing/MapClipboard.h"
#include "core/tileset/BrushEdit.h"
#include "render/Tileset.h"
#include "render/Xedrawfuncs.h"

#include <QImage>
#include <QMainWindow>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class QToolButton;

namespace xemap {

class MapView;
struct MapOutputContext;
class Prompter;
class TAddTilesetForm;
struct TilesetEntry;
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

// The main window: map view, toolbar, menus and status line. It owns the
// document, the editor state, the undo history and the clipboards.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    TForm1(Prompter& prompter, const QString& programDirectory, QWidget* parent = nullptr);
    ~TForm1() override;

    // The palette is created after the main window; the map is drawn with its tileset.
    void setPalette(TTilesetForm* palette);
    void setDialogs(const MainWindowDialogs& dialogs) { dialogs_ = dialogs; }
    void setPrintConfig(TPrintConfig* printConfig) { printConfig_ = printConfig; }
    TTilesetForm* palette() const { return palette_; }
    Prompter& prompter() const { return prompter_; }

    MapDocument& document() { return document_; }
    const MapDocument& document() const { return document_; }
    EditorState& state() { return state_; }
    const EditorState& state() const { return state_; }
    const UndoHistory& history() const { return history_; }
    const QImage& mapImage() const;
    MapRenderer* renderer() const { return renderer_.get(); }
    const QString& programDirectory() const { return programDirectory_; }

    // Registry lists: one row per tileset, one file list and one mode-name list per
    // tileset layer.
    QStringList tilesetNames;
    std::array<QStringList, kTilesetLayers> tilesetFiles;
    std::array<QStringList, kTilesetLayers> modeNames;
    // Adds a tileset to the lists and its "New " item to the File menu.
    void registerTileset(const QString& name, const LayerFiles& files);
    void registerTileset(const TilesetEntry& entry);

    // Editing services shared by the mouse, keyboard, popup and palette handlers.
    void markModified();
    void recordUndo();
    void setStatusText(const QString& text);
    QString statusText() const;
    // Drops a finished region selection (and its Cut/Copy Region items).
    void dropRegionSelection(bool redraw = true);

    // Drawing, through the renderer.
    void redrawAll();
    void drawOneCell(int column, int row);
    void cursorPreview(int column, int row);
    void outline(int firstColumn, int firstRow, int endColumn, int endRow);
    void present();
    // The clean cell under the cursor outline, kept so that leaving the cell restores it.
    void saveUnderCursor(int column, int row);
    void restoreUnderCursor(int column, int row);

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
    void MapBoxDblClick();

    // ---- Keyboard and popup commands (Xekeyfuncs.cpp, Xepopupfuncs.cpp) ----
    // The character handler: typed keys, and the zoom and rotate toolbar buttons.
    void FormKeyPress(QChar key);
    // The key-release handler, with the modifiers held at release.
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
    // ---- end of keyboard and popup commands ----

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void buildToolbar(QWidget* client);
    void buildMenus();
    void buildMapMenu();
    void insertNewItem(int tilesetIndex);
    void updateHistoryButtons();
    void forgetHistory();
    void applyZoom(float factor);

    // Document lifecycle (Xemenufuncs.cpp).
    // Asks to save a modified map; false when the caller must not go on.
    bool saveChangesFirst(const QString& question, const QString& discardCaption);
    void readMapFileInto(const QString& path);
    void startMapWith(int tilesetIndex);
    void finishNewMap();
    bool askYesNo(const QString& question, const QString& yesCaption, const QString& noCaption);
    // The registry position chosen, or nothing when the dialog was cancelled.
    std::optional<int> chooseTileset();
    std::optional<QString> askMapName();
    void showMapNameCaption();
    void readRegistry();
    void runOutput(void (*command)(MapOutputContext&));
    void showPreview();

    // Keyboard and popup steps (Xekeyfuncs.cpp, Xepopupfuncs.cpp).
    void connectMapMenu();
    void runKeyCommand(KeyCommand command);
    void pickTileUnderCursor();
    void rotatePaletteTile(int step);
    void togglePaletteSize();
    void scrollBy(QScrollBar* bar, int direction);
    void toggleDoor(int slot);
    // Redraws the cursor cell with the cursor preview, for commands that changed it.
    void redrawCursorCell();
    void applyDescription(const TilePtr& working, int locationId);
    void removeDescription();
    void writeUnderCursorLabel(int number, QPoint origin);
    void drawChangedCells(const ChangedCells& cells);
    void finishRegionCommand(const ChangedCells& cells);

    // Mouse editing steps (Xemousefuncs.cpp).
    void setCursorCell(int x, int y);
    void paintCursorCell();
    void startDrag();
    void restoreLastHovered();
    void drawRubberBand();
    void finishDrag();
    void drawCells(const std::vector<GridCell>& cells);

    Prompter& prompter_;
    QString programDirectory_;
    TTilesetForm* palette_ = nullptr;
    TPrintConfig* printConfig_ = nullptr;
    bool registryReady_ = false;
    MainWindowDialogs dialogs_;

    MapDocument document_;
    EditorState state_;
    UndoHistory history_;
    DescriptionClipboard descriptionClipboard_;
    RegionClipboard regionClipboard_;
    // The cell the map menu was opened on; its own description is the one cut or copied.
    int menuCellIndex_ = -1;
    std::unique_ptr<MapRenderer> renderer_;

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
