#pragma once

#include "render/TilesetLoader.h"
#include "render/Xedrawfuncs.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QLineEdit;
class QTabWidget;
class QToolButton;

namespace xemap {

class PaletteHost;
class Prompter;

constexpr int kGroupButtons = 16;

inline const QColor kPlainFrame{128, 0, 0};
inline const QColor kGroupFrame{0, 128, 0};

// One layer's palette image, with the mouse handed to the palette window.
class TileBox final : public QWidget {
    Q_OBJECT

public:
    TileBox(int layer, QWidget* parent);
    QImage image;

Q_SIGNALS:
    void moved(int x, int y);
    void released(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The floating palette: the loaded tileset's layers as tabs of 10 x 10 tiles, the
// terrain check boxes and the group buttons. It owns the tileset and tells the main
// window the current layer, the edit mode and the status text.
class TTilesetForm final : public QWidget {
    Q_OBJECT

public:
    TTilesetForm(QWidget& mainWindow, PaletteHost& host, Prompter& prompter);
    ~TTilesetForm() override;

    const Tileset& tileset() const { return loaded_.tileset; }
    const LayerGroups& groups(int layer) const { return loaded_.groups[layer]; }
    const TileTips& tileTips(int layer) const { return loaded_.tips[layer]; }
    // Loads registry entry `index` of the host's lists and resets the palette. False when
    // memory ran out: the palette keeps the tileset it had, and a message says so.
    bool LoadTileset(int index);

    int activeLayer() const { return activeLayer_; }
    int selectedTile() const { return selectedTile_[activeLayer_]; }
    int selectedRotation() const { return paletteRotation_[selectedTile()][activeLayer_]; }
    int paletteScale() const { return paletteScale_; }
    // What the next paint lays down: the active tab's selected tile at its rotation.
    PaletteTile paletteTile() const { return {selectedTile(), selectedRotation(), activeLayer_}; }
    const QImage& paletteImage(int layer) const { return tileBoxes_[layer]->image; }

    // Rotation keys: the selected tile's palette rotation turned by a quarter step.
    void rotateSelectedTile(int step);
    // Tile picking: the active layer selects `tile` at `rotation` in normal mode. False,
    // and nothing changed, for a tile or rotation the palette does not have.
    bool pickTile(int tile, int rotation);
    void setLargeTiles(bool large);

    // Palette events, reached by the controls and by tests.
    void TileBoxMouseMove(int x, int y);
    void TileBoxMouseUp(Qt::MouseButton button, int x, int y);
    void CheckBoxClick(int row);
    void GroupButtonClick(int slot);
    void PageControl1Change(int tab);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void DrawPaletteCell(int tile, int rotation, int layer);
    void RedrawPalette(int layer);
    void DrawSelectionFrame(int tile, int layer, const QColor& colour);
    void buildControls();
    void buildBaseTab();
    void buildLayerTab(int layer);
    void placeForScale();
    void showLayers();
    void showModeNames(int layer);
    void showGroupButtons(int layer);
    void report(const TilesetProblem& problem);
    int cellSize() const { return 20 * paletteScale_; }
    QPoint cellAt(int x, int y) const;
    // Moves the active layer's selection to tile and shows it, framed when a frame
    // colour is given.
    void selectTile(int tile, const std::optional<QColor>& frame);
    // Tells the host the edit mode and its status text.
    void chooseMode(int editMode, bool connector);

    PaletteHost& host_;
    Prompter& prompter_;
    TilesetData loaded_;

    int activeLayer_ = 0;
    std::array<int, kTilesetLayers> selectedTile_{};
    std::array<std::array<int, kTilesetLayers>, kTileCount> paletteRotation_{};
    int paletteScale_ = 2;
    QPoint lastHovered_{-1, -1};

    QLineEdit* TileTitle = nullptr;
    QCheckBox* oneLayerBox = nullptr;
    QCheckBox* OnTopBox = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* Panel3 = nullptr;
    std::array<QCheckBox*, 10> terrainBoxes_{};
    std::array<TileBox*, kTilesetLayers> tileBoxes_{};
    std::array<std::array<QWidget*, 2>, kTilesetLayers> groupPanels_{};
    std::array<std::array<QToolButton*, kGroupButtons>, kTilesetLayers> groupButtons_{};
};

}  // namespace xemap
