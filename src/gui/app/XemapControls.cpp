// The main window's controls: map view, scroll bars, toolbar, menus and the map's popup menu.
#include "gui/app/Xemapmain.h"

#include "core/tileset/Registry.h"
#include "gui/app/MapView.h"
#include "gui/app/ToolbarGlyphs.h"
#include "gui/dialogs/Commandsformmain.h"
#include "gui/dialogs/Prompter.h"
#include "gui/dialogs/Xeaboutmain.h"
#include "render/TextBytes.h"

#include <QAction>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>

namespace xemap {

namespace {

constexpr int kClientWidth = 660;
constexpr int kClientHeight = 722;
constexpr int kMapTop = 42;

// The toolbar, left to right; a group change puts a separator between buttons.
struct ToolbarButton {
    const char* name;
    const char* hint;
    const char* themeIcon;
    Glyph glyph;
    int group;
    bool enabled;
};

constexpr ToolbarButton kToolbar[] = {
    {"NewButton", "New...", "document-new", Glyph::New, 0, true},
    {"OpenButton", "Open...", "document-open", Glyph::Open, 0, true},
    {"SaveButton", "Save...", "document-save", Glyph::Save, 0, false},
    {"ExportButton", "Export...", "document-send", Glyph::Export, 0, true},
    {"PrintButton", "Print...", "document-print", Glyph::Print, 0, true},
    {"UndoButton", "Undo", "edit-undo", Glyph::Undo, 1, false},
    {"RedoButton", "Redo", "edit-redo", Glyph::Redo, 1, false},
    {"ZoomInButton", "Zoom In", "zoom-in", Glyph::ZoomIn, 2, true},
    {"ZoomOutButton", "Zoom Out", "zoom-out", Glyph::ZoomOut, 2, false},
    {"RedrawButton", "Refresh Image", "view-refresh", Glyph::Refresh, 3, true},
    {"SelectButton", "Selection Mode", "", Glyph::Select, 4, true},
    {"RotLeftButton", "Rotate Left", "object-rotate-left", Glyph::RotateLeft, 5, true},
    {"RotRightButton", "Rotate Right", "object-rotate-right", Glyph::RotateRight, 5, true},
};

QAction* addItem(QMenu* menu, const char* name, const QString& text, const QKeySequence& shortcut = {})
{
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

QAction* addCheckItem(QMenu* menu, const char* name, const QString& text, const QKeySequence& shortcut)
{
    QAction* action = addItem(menu, name, text, shortcut);
    action->setCheckable(true);
    action->setChecked(true);
    return action;
}

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, QPoint at)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(at);
    return label;
}

}  // namespace

void TForm1::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName("Client");
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    buildToolbar(client);

    MapBox = new MapView(*this, client);
    MapBox->setGeometry(0, kMapTop, kViewSize, kViewSize);

    XScroll = new QScrollBar(Qt::Horizontal, client);
    XScroll->setObjectName("XScroll");
    XScroll->setGeometry(0, kMapTop + kViewSize, kViewSize, 16);
    YScroll = new QScrollBar(Qt::Vertical, client);
    YScroll->setObjectName("YScroll");
    YScroll->setGeometry(kViewSize + 2, kMapTop, 16, kViewSize);
    for (QScrollBar* bar : {XScroll, YScroll}) {
        bar->setSingleStep(4);
        bar->setPageStep(16);
        bar->setRange(0, scrollMaximum(state_.quarterCellSize));
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        bar->setEnabled(false);
    }
    connect(XScroll, &QScrollBar::valueChanged, this, &TForm1::XScrollChange);
    connect(YScroll, &QScrollBar::valueChanged, this, &TForm1::YScrollChange);

    Label1 = addLabel(client, "Label1", QString(), QPoint(8, 698));
    QFont bold = Label1->font();
    bold.setBold(true);
    bold.setPixelSize(16);
    Label1->setFont(bold);
    Label1->setFixedSize(540, 22);

    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(14);
    XTile = addLabel(client, "XTile", "000", QPoint(568, 700));
    YTile = addLabel(client, "YTile", "000", QPoint(616, 700));
    for (QLabel* label : {XTile, YTile}) {
        label->setFont(fixed);
        label->setFixedSize(40, 18);
    }
}

void TForm1::buildToolbar(QWidget* client)
{
    auto* toolbar = new QToolBar(client);
    toolbar->setObjectName("ToolBar1");
    toolbar->setGeometry(0, 0, kClientWidth, 40);
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(24, 24));

    int group = 0;
    for (const ToolbarButton& entry : kToolbar) {
        if (entry.group != group)
            toolbar->addSeparator();
        group = entry.group;
        auto* button = new QToolButton(toolbar);
        button->setObjectName(entry.name);
        button->setToolTip(entry.hint);
        button->setIcon(entry.glyph == Glyph::Select ? QIcon(QPixmap::fromImage(selectGlyph()))
                                                     : toolbarIcon(entry.themeIcon, entry.glyph));
        button->setEnabled(entry.enabled);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(true);
        toolbar->addWidget(button);
    }

    auto* spacer = new QWidget(toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(spacer);
    PreviewImage = new QLabel(toolbar);
    PreviewImage->setObjectName("PreviewImage");
    PreviewImage->setFixedSize(40, 38);
    PreviewImage->setScaledContents(true);
    toolbar->addWidget(PreviewImage);

    auto button = [toolbar](const char* name) { return toolbar->findChild<QToolButton*>(name); };
    SaveButton = button("SaveButton");
    UndoButton = button("UndoButton");
    RedoButton = button("RedoButton");
    ZoomInButton = button("ZoomInButton");
    ZoomOutButton = button("ZoomOutButton");
    connect(button("NewButton"), &QToolButton::clicked, this, &TForm1::NewButtonClick);
    connect(button("OpenButton"), &QToolButton::clicked, this, &TForm1::Open);
    connect(button("ExportButton"), &QToolButton::clicked, this, &TForm1::ExportClick);
    connect(button("PrintButton"), &QToolButton::clicked, this, &TForm1::Print1Click);
    connect(SaveButton, &QToolButton::clicked, this, [this] { Save(false); });
    connect(UndoButton, &QToolButton::clicked, this, &TForm1::UndoButtonClick);
    connect(RedoButton, &QToolButton::clicked, this, &TForm1::RedoButtonClick);
    connect(ZoomInButton, &QToolButton::clicked, this, [this] { FormKeyPress('+'); });
    connect(ZoomOutButton, &QToolButton::clicked, this, [this] { FormKeyPress('-'); });
    connect(button("RedrawButton"), &QToolButton::clicked, this, &TForm1::redrawAll);
    connect(button("SelectButton"), &QToolButton::clicked, this, &TForm1::SelectButtonClick);
    connect(button("RotLeftButton"), &QToolButton::clicked, this, [this] { FormKeyPress(','); });
    connect(button("RotRightButton"), &QToolButton::clicked, this, [this] { FormKeyPress('.'); });
}

void TForm1::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    fileMenu_ = bar->addMenu("&File");
    fileMenu_->setObjectName("FileMenu");
    addTilesetItem_ = addItem(fileMenu_, "AddTilesetItem", "Add Tileset...");
    connect(addTilesetItem_, &QAction::triggered, this, &TForm1::AddTileset);
    newItemsEnd_ = fileMenu_->addSeparator();
    connect(addItem(fileMenu_, "OpenItem", "&Open..."), &QAction::triggered, this, &TForm1::Open);
    connect(addItem(fileMenu_, "SaveItem", "&Save", QKeySequence("Ctrl+S")), &QAction::triggered, this,
            [this] { Save(false); });
    connect(addItem(fileMenu_, "SaveAsItem", "Save &As..."), &QAction::triggered, this, [this] { Save(true); });
    connect(addItem(fileMenu_, "ExportItem", "&Export..."), &QAction::triggered, this, &TForm1::ExportClick);
    connect(addItem(fileMenu_, "PrintItem", "&Print..."), &QAction::triggered, this, &TForm1::Print1Click);
    fileMenu_->addSeparator();
    connect(addItem(fileMenu_, "ExitItem", "E&xit", QKeySequence("Ctrl+Q")), &QAction::triggered, this,
            &QWidget::close);

    QMenu* view = bar->addMenu("View");
    view->setObjectName("ViewMenu");
    viewGrid_ = addCheckItem(view, "ViewGrid", "Grid", QKeySequence("Ctrl+G"));
    viewDoors_ = addCheckItem(view, "ViewDoors", "Doors", QKeySequence("Ctrl+D"));
    viewLabels_ = addCheckItem(view, "ViewLabels", "Labels", QKeySequence("Ctrl+L"));
    view->addSeparator();
    viewLargeTileset_ = addCheckItem(view, "ViewLargeTileset", "Large Tileset", {});
    connect(viewGrid_, &QAction::triggered, this, &TForm1::ViewGridClick);
    connect(viewDoors_, &QAction::triggered, this, &TForm1::ViewDoorsClick);
    connect(viewLabels_, &QAction::triggered, this, &TForm1::ViewLabelsClick);
    connect(viewLargeTileset_, &QAction::triggered, this, &TForm1::ViewLargeTilesetClick);
    state_.showDoors = viewDoors_->isChecked();
    state_.showLabels = viewLabels_->isChecked();

    QMenu* help = bar->addMenu("Help");
    help->setObjectName("HelpMenu");
    connect(addItem(help, "CommandsItem", "Commands..."), &QAction::triggered, this, [this] {
        dialogs_.commands->show();
        dialogs_.commands->raise();
    });
    connect(addItem(help, "AboutItem", "&About"), &QAction::triggered, this,
            [this] { dialogs_.about->ShowModal(prompter_, *this); });
}

void TForm1::buildMapMenu()
{
    MapMenu = new QMenu(this);
    MapMenu->setObjectName("MapMenu");
    auto item = [this](const char* name, const char* text, const char* shortcut, bool enabled) {
        QAction* action = addItem(MapMenu, name, text, QKeySequence(shortcut));
        // The keys are handled by the key-release handler; the menu only shows them.
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setEnabled(enabled);
        return action;
    };
    DescItem = item("DescItem", "Describe...", "", true);
    CutDesc = item("CutDesc", "Cut Description", "Ctrl+Alt+X", false);
    CopyDesc = item("CopyDesc", "Copy Description", "Ctrl+Alt+C", false);
    PasteDesc = item("PasteDesc", "Paste Description", "Ctrl+Alt+V", false);
    MapMenu->addSeparator();
    DoorItem = item("DoorItem", "Doors...", "", true);
    MapMenu->addSeparator();
    CutRegion = item("CutRegion", "Cut Region", "Ctrl+X", false);
    CopyRegion = item("CopyRegion", "Copy Region", "Ctrl+C", false);
    PasteRegion = item("PasteRegion", "Paste Region", "Ctrl+V", false);
    MapMenu->addSeparator();
    LRotate = item("LRotate", "Rotate Tile Left", "", true);
    RRotate = item("RRotate", "Rotate Tile Right", "", true);
}

void TForm1::readRegistry()
{
    registryFolders_ = registryFolders(programDirectory_.toStdString(), userDataFolder().toStdString());
    const Result<CombinedRegistry> registry = loadCombinedRegistry(registryFolders_);
    if (!registry) {
        prompter_.report("Cannot create default INI file.", registry.fault());
        return;
    }
    // A refused user registry leaves the program's tilesets usable.
    if (registry->userFault)
        prompter_.message(QString::fromStdString(registry->userFault->describe()));
    for (RegisteredTileset tileset : registry->tilesets)
        registerTileset(std::move(tileset));
    registryReady_ = true;
}

void TForm1::registerTileset(RegisteredTileset tileset)
{
    tilesets_.push_back(std::move(tileset));
    insertNewItem(tilesetCount() - 1);
}

// The New item of tileset i stands at menu position i + 1, after "Add Tileset...".
// Qt inserts a menu item in time linear in the menu's length, so a menu of every
// entry of a huge registry would take quadratic time to build; tilesets past the
// first kNewItems are chosen through the New button's list instead.
void TForm1::insertNewItem(int tilesetIndex)
{
    constexpr int kNewItems = 1000;
    if (tilesetIndex >= kNewItems)
        return;
    const QString name = QString("Tileset%1").arg(tilesetIndex);
    auto* action = new QAction("New " + displayText(tilesets_[std::size_t(tilesetIndex)].entry.name), fileMenu_);
    action->setObjectName(name);
    fileMenu_->insertAction(newItemsEnd_, action);
    connect(action, &QAction::triggered, this, [this, name] { NewClick(name); });
}

}  // namespace xemap
