#include "gui/tileset/Tilesetformmain.h"

#include "core/tileset/Registry.h"
#include "gui/dialogs/Prompter.h"
#include "gui/tileset/PaletteHost.h"
#include "render/MaskedBlit.h"
#include "render/TextBytes.h"

#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>
#include <QToolButton>

namespace xemap {

namespace {

constexpr int kTerrainRows = 10;
constexpr int kButtonsPerPanel = 8;
constexpr const char* kTabCaptions[kTilesetLayers] = {"Base", "Layer 1", "Layer 2", "Layer 3", "Layer 4"};

// Control places that the palette size changes: large, then small.
struct SizedPlace {
    int large, small;
    int at(int scale) const { return scale == 2 ? large : small; }
};
constexpr SizedPlace kCheckBoxTop{16, 4}, kCheckBoxStep{40, 20}, kPanel3Height{402, 200};
constexpr SizedPlace kSecondPanelLeft{0, 40}, kSecondPanelTop{200, 0}, kTitleWidth{200, 100};
constexpr SizedPlace kOneLayerLeft{210, 110}, kOneLayerWidth{120, 70}, kOnTopLeft{350, 180};
constexpr SizedPlace kLayerTileBoxLeft{40, 80};

QImage blankTile(QRgb colour)
{
    QImage tile(kTileSize, kTileSize, QImage::Format_RGB32);
    tile.fill(colour);
    return tile;
}

}  // namespace

TileBox::TileBox(int layer, QWidget* parent) : QWidget(parent)
{
    setObjectName(QString("TileBox%1").arg(layer));
    setMouseTracking(true);
}

void TileBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawImage(0, 0, image);
}

void TileBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    Q_EMIT moved(p.x(), p.y());
}

void TileBox::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    Q_EMIT released(event->button(), p.x(), p.y());
}

TTilesetForm::TTilesetForm(QWidget& mainWindow, PaletteHost& host, Prompter& prompter)
    : QWidget(&mainWindow, Qt::Tool), host_(host), prompter_(prompter)
{
    setObjectName("TilesetForm");
    setWindowTitle("Tile Palette");
    // A compact bold face, so that the captions fit their fixed places.
    QFont bold = font();
    bold.setBold(true);
    bold.setPixelSize(11);
    setFont(bold);
    buildControls();
    const QRect frame = mainWindow.frameGeometry();
    move(frame.left() + frame.width() + 20, frame.top());
    resize(457, 460);
    host_.setPalette(this);
    placeForScale();
    LoadTileset(0);
    // Until the user picks anything the status line keeps the main window's first text.
    host_.setStatusText("Normal Draw");
    RedrawPalette(activeLayer_);
    host_.redrawAll();
}

TTilesetForm::~TTilesetForm() { host_.setPalette(nullptr); }

void TTilesetForm::buildControls()
{
    TileTitle = new QLineEdit(this);
    TileTitle->setObjectName("TileTitle");
    TileTitle->setReadOnly(true);
    TileTitle->setFocusPolicy(Qt::NoFocus);

    oneLayerBox = new QCheckBox("Hide Other Layers", this);
    oneLayerBox->setObjectName("oneLayerBox");
    // Regular, as the bold caption would not fit its 120 pixels.
    QFont regular = font();
    regular.setBold(false);
    oneLayerBox->setFont(regular);
    connect(oneLayerBox, &QCheckBox::clicked, this, [this](bool checked) { host_.oneLayerChosen(checked); });

    OnTopBox = new QCheckBox("Stay On Top", this);
    OnTopBox->setObjectName("OnTopBox");
    connect(OnTopBox, &QCheckBox::clicked, this, [this](bool checked) {
        const bool shown = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, checked);
        if (shown)
            show();
    });

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setFocusPolicy(Qt::NoFocus);
    buildBaseTab();
    for (int layer = 1; layer < kTilesetLayers; ++layer)
        buildLayerTab(layer);
    for (int layer = 0; layer < kTilesetLayers; ++layer) {
        TileBox* box = tileBoxes_[layer];
        connect(box, &TileBox::moved, this, &TTilesetForm::TileBoxMouseMove);
        connect(box, &TileBox::released, this, &TTilesetForm::TileBoxMouseUp);
        PageControl1->setTabVisible(layer, layer == 0);
    }
    connect(PageControl1, &QTabWidget::currentChanged, this, &TTilesetForm::PageControl1Change);
    for (QWidget* child : findChildren<QWidget*>())
        child->setFocusPolicy(Qt::NoFocus);
}

void TTilesetForm::buildBaseTab()
{
    auto* page = new QWidget;
    page->setObjectName("Tab0");
    PageControl1->addTab(page, kTabCaptions[0]);
    Panel3 = new QWidget(page);
    Panel3->setObjectName("Panel3");
    Panel3->setAutoFillBackground(true);
    QPalette lowered = Panel3->palette();
    lowered.setColor(QPalette::Window, lowered.color(QPalette::Mid));
    Panel3->setPalette(lowered);
    for (int row = 0; row < kTerrainRows; ++row) {
        auto* box = new QCheckBox(Panel3);
        box->setObjectName(QString("CheckBox%1").arg(row + 1));
        box->setChecked(true);
        box->setToolTip("draw with group brush?");
        connect(box, &QCheckBox::clicked, this, [this, row] { CheckBoxClick(row); });
        terrainBoxes_[row] = box;
    }
    tileBoxes_[0] = new TileBox(0, page);
}

void TTilesetForm::buildLayerTab(int layer)
{
    auto* page = new QWidget;
    page->setObjectName(QString("Tab%1").arg(layer));
    PageControl1->addTab(page, kTabCaptions[layer]);
    for (int panel = 0; panel < 2; ++panel) {
        auto* holder = new QWidget(page);
        holder->setObjectName(QString("GroupPanel%1_%2").arg(layer).arg(panel));
        groupPanels_[layer][panel] = holder;
        for (int j = 0; j < kButtonsPerPanel; ++j) {
            const int slot = kButtonsPerPanel * panel + j;
            auto* button = new QToolButton(holder);
            button->setObjectName(QString("GroupButton%1_%2").arg(layer).arg(slot));
            button->setGeometry(8, 4 + 24 * j, 22, 22);
            button->setIconSize(QSize(18, 18));
            button->hide();
            connect(button, &QToolButton::clicked, this, [this, slot] { GroupButtonClick(slot); });
            groupButtons_[layer][slot] = button;
        }
    }
    tileBoxes_[layer] = new TileBox(layer, page);
}

// Places the controls for the palette size and sizes the window around the tiles.
void TTilesetForm::placeForScale()
{
    const int s = paletteScale_;
    const int side = 200 * s;
    TileTitle->setGeometry(0, 0, kTitleWidth.at(s), 21);
    oneLayerBox->setGeometry(kOneLayerLeft.at(s), 0, kOneLayerWidth.at(s), 17);
    OnTopBox->setGeometry(kOnTopLeft.at(s), 0, 97, 17);
    Panel3->setGeometry(0, 0, 38, kPanel3Height.at(s));
    for (int row = 0; row < kTerrainRows; ++row)
        terrainBoxes_[row]->setGeometry(10, kCheckBoxTop.at(s) + kCheckBoxStep.at(s) * row, 18, 17);
    for (int layer = 0; layer < kTilesetLayers; ++layer) {
        const int left = layer == 0 ? 40 : kLayerTileBoxLeft.at(s);
        tileBoxes_[layer]->setGeometry(left, 0, side, side);
        QImage& image = tileBoxes_[layer]->image;
        if (!image.isNull() && image.width() != side)
            image = image.scaled(side, side);
        if (layer > 0) {
            groupPanels_[layer][0]->setGeometry(0, 0, 38, 200);
            groupPanels_[layer][1]->setGeometry(kSecondPanelLeft.at(s), kSecondPanelTop.at(s), 38, 200);
        }
    }
    const int width = side + 56 + (s == 1 ? 40 : 0);
    const int height = side + 80;
    setFixedSize(width, height);
    PageControl1->setGeometry(0, 24, width, height - 24);
}

void TTilesetForm::setLargeTiles(bool large)
{
    paletteScale_ = large ? 2 : 1;
    placeForScale();
    RedrawPalette(activeLayer_);
}

void TTilesetForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    placeForScale();
    RedrawPalette(activeLayer_);
}

bool TTilesetForm::LoadTileset(int index)
{
    const RegisteredTileset* registered = host_.registeredTileset(index);
    if (!registered)
        return false;
    QDir::setCurrent(host_.programDirectory());
    TilesetProblems problems;
    // Relative names in the entry, its companion files and icons resolve against its own folder.
    const auto load = TilesetLoader(registered->folder).load(registered->entry, loaded_, problems);
    if (!load) {
        prompter_.message(QString::fromStdString(load.fault().reason));
        return false;
    }
    for (const TilesetProblem& problem : problems)
        report(problem);
    TileTitle->setText(displayText(registered->entry.name));
    selectedTile_.fill(0);
    for (auto& rotations : paletteRotation_)
        rotations.fill(0);
    host_.tilesetLoaded(index, tileset().layerCount() + 1);
    showLayers();
    for (int layer = 0; layer < tileset().layerCount(); ++layer)
        showModeNames(layer);
    host_.editModeChosen(NormalDraw, false, host_.modeName(activeLayer_, NormalDraw));
    for (int layer = 0; layer < tileset().layerCount(); ++layer)
        RedrawPalette(layer);
    return true;
}

// The message names the file; the reason goes in its informative text.
void TTilesetForm::report(const TilesetProblem& problem)
{
    prompter_.message(problem.text, QString::fromStdString(problem.fault.reason));
}

void TTilesetForm::showLayers()
{
    const int side = 200 * paletteScale_;
    for (int layer = 0; layer < kTilesetLayers; ++layer) {
        const bool used = tileset().hasSheet(layer);
        PageControl1->setTabVisible(layer, used);
        QImage& image = tileBoxes_[layer]->image;
        image = used ? tileset().sheet(layer).original().scaled(side, side) : QImage();
    }
}

// Mode names and group buttons of a layer the tileset uses.
void TTilesetForm::showModeNames(int layer)
{
    QStringList names{"Normal Mode", "Selection Mode"};
    if (layer > 0) {
        for (const std::string& name : groups(layer).groupNames())
            names << displayText(name);
        showGroupButtons(layer);
    }
    host_.setModeNames(layer, names);
}

void TTilesetForm::showGroupButtons(int layer)
{
    const LayerGroups& layerGroups = groups(layer);
    for (int slot = 0; slot < kGroupButtons; ++slot) {
        QToolButton* button = groupButtons_[layer][slot];
        const bool used = slot < layerGroups.slotCount;
        button->setVisible(used);
        if (!used)
            continue;
        button->setToolTip(displayText(layerGroups.slots[slot].name));
        button->setIcon(QIcon(QPixmap::fromImage(loaded_.groupIcons[layer][slot])));
    }
}

void TTilesetForm::DrawPaletteCell(int tile, int rotation, int layer)
{
    if (tile < 0 || tile >= kTileCount || rotation < 0 || rotation > 3 || layer < 0 || layer >= kTilesetLayers) {
        prompter_.message("Illegal Tile Request");
        return;
    }
    QImage& image = tileBoxes_[layer]->image;
    if (image.isNull())
        return;
    // Overlay tiles show over base tile 0, base tiles over black.
    QImage cell = blankTile(0xff000000);
    if (layer > 0)
        tileset().FetchTile(cell, 0, 0, 0);
    QImage picture = blankTile(kTransparentColour);
    if (tileset().FetchTile(picture, tile, rotation, layer))
        maskedBlit(cell, picture);
    const int s = cellSize();
    QPainter painter(&image);
    painter.drawImage(QRect((tile % 10) * s + 1, (tile / 10) * s + 1, s, s),
                      cell.scaled(s, s, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

void TTilesetForm::DrawSelectionFrame(int tile, int layer, const QColor& colour)
{
    QImage& image = tileBoxes_[layer]->image;
    if (image.isNull())
        return;
    const int s = cellSize();
    const int c = tile % 10;
    const int r = tile / 10;
    QPainter painter(&image);
    painter.setPen(QPen(colour, 1));
    painter.drawPolygon(QPolygon({QPoint(c * s + 2, r * s + 2), QPoint((c + 1) * s - 2, r * s + 2),
                                  QPoint((c + 1) * s - 2, (r + 1) * s - 2), QPoint(c * s + 2, (r + 1) * s - 2)}));
}

void TTilesetForm::RedrawPalette(int layer)
{
    if (tileBoxes_[layer]->image.isNull())
        return;
    for (int tile = 0; tile < kTileCount; ++tile)
        DrawPaletteCell(tile, paletteRotation_[tile][layer], layer);
    DrawSelectionFrame(selectedTile_[layer], layer, host_.editMode() > 0 ? kGroupFrame : kPlainFrame);
    tileBoxes_[layer]->update();
}

QPoint TTilesetForm::cellAt(int x, int y) const { return {x / 20 / paletteScale_, y / 20 / paletteScale_}; }

void TTilesetForm::TileBoxMouseMove(int x, int y)
{
    const QPoint cell = cellAt(x, y);
    if (cell == lastHovered_)
        return;
    lastHovered_ = cell;
    const TileTips& tips = tileTips(activeLayer_);
    const auto tile = static_cast<std::size_t>(cell.y() * 10 + cell.x());
    tileBoxes_[activeLayer_]->setToolTip(tile < tips.size() ? displayText(tips[tile]) : QString("No Description"));
}

void TTilesetForm::chooseMode(int editMode, bool connector)
{
    host_.editModeChosen(editMode, connector,
                         editMode == TerrainDrawing ? QString("Draw Terrain") : host_.modeName(activeLayer_, editMode));
}

void TTilesetForm::selectTile(int tile, const std::optional<QColor>& frame)
{
    const int layer = activeLayer_;
    DrawPaletteCell(selectedTile_[layer], paletteRotation_[selectedTile_[layer]][layer], layer);
    selectedTile_[layer] = tile;
    DrawPaletteCell(tile, paletteRotation_[tile][layer], layer);
    if (frame)
        DrawSelectionFrame(tile, layer, *frame);
    tileBoxes_[layer]->update();
}

void TTilesetForm::TileBoxMouseUp(Qt::MouseButton button, int x, int y)
{
    const QPoint cell = cellAt(x, y);
    if (cell.x() < 0 || cell.x() > 9 || cell.y() < 0 || cell.y() > 9)
        return;
    const int layer = activeLayer_;
    const int tile = cell.y() * 10 + cell.x();
    const std::optional<GroupChoice> group =
        button == Qt::RightButton ? groups(layer).groupOfTile(tile) : std::optional<GroupChoice>();
    // Only the left and right buttons frame the tile; the frame shows a group's tile.
    std::optional<QColor> frame;
    if (button == Qt::LeftButton || button == Qt::RightButton)
        frame = group ? kGroupFrame : kPlainFrame;
    selectTile(tile, frame);

    const bool terrain = layer == 0 && cell.x() == 0;
    chooseMode(terrain && terrainBoxes_[cell.y()]->isChecked() ? TerrainDrawing : NormalDraw, false);
    host_.layerChosen(terrain ? 0 : layer + 1);
    host_.dropRegionSelection();
    if (group)
        chooseMode(group->editMode, group->connector);
}

void TTilesetForm::CheckBoxClick(int row)
{
    const bool checked = terrainBoxes_[row]->isChecked();
    host_.editModeChosen(checked ? TerrainDrawing : NormalDraw, false, checked ? "Draw Terrain" : "Normal Mode");
    selectTile(10 * row, kPlainFrame);
}

void TTilesetForm::GroupButtonClick(int slot)
{
    const int layer = activeLayer_;
    const int editMode = slot + FirstGroupBrush;
    const BoxGroup* box = groups(layer).boxGroupForMode(editMode);
    const ConnectorGroup* connector = groups(layer).connectorGroupForMode(editMode);
    const int firstPiece = box ? box->pieces[0].tile : connector ? connector->pieces[0].tile : -1;
    selectTile(validTile(firstPiece) ? firstPiece : selectedTile_[layer], kGroupFrame);
    chooseMode(editMode, connector != nullptr);
    host_.dropRegionSelection(false);
}

void TTilesetForm::PageControl1Change(int tab)
{
    if (tab < 0)
        return;
    activeLayer_ = tab;
    RedrawPalette(activeLayer_);
    host_.layerChosen(tab == 0 ? 0 : tab + 1);
}

void TTilesetForm::rotateSelectedTile(int step)
{
    const int layer = activeLayer_;
    const int tile = selectedTile_[layer];
    int& rotation = paletteRotation_[tile][layer];
    rotation = (rotation + step + 4) % 4;
    DrawPaletteCell(tile, rotation, layer);
    DrawSelectionFrame(tile, layer, kPlainFrame);
    tileBoxes_[layer]->update();
}

bool TTilesetForm::pickTile(int tile, int rotation)
{
    if (!validTile(tile) || rotation < 0 || rotation > 3)
        return false;
    paletteRotation_[tile][activeLayer_] = rotation;
    selectTile(tile, kPlainFrame);
    chooseMode(NormalDraw, false);
    return true;
}

void TTilesetForm::keyPressEvent(QKeyEvent* event)
{
    if (const std::optional<QChar> character = typedCharacter(*event))
        host_.FormKeyPress(*character);
}

}  // namespace xemap
