#pragma once

#include "core/tileset/Registry.h"

#include <QKeyEvent>
#include <QString>
#include <QStringList>

#include <optional>

namespace xemap {

class TTilesetForm;

// The character a key press hands to the character handler. None with Ctrl or Alt held:
// the windowing system reports Alt+T as a plain "t", which must not open Describe.
inline std::optional<QChar> typedCharacter(const QKeyEvent& event)
{
    const QString text = event.text();
    if (text.size() != 1 || (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return std::nullopt;
    return text.front();
}

// What the palette asks of the main window: the registry's lists to load a tileset
// from, and where to report what the user picked. It never sees the document.
class PaletteHost {
public:
    virtual ~PaletteHost() = default;

    // The palette that draws the map's tiles; null while there is none.
    virtual void setPalette(TTilesetForm* palette) = 0;

    virtual QString programDirectory() const = 0;
    virtual int tilesetCount() const = 0;
    // Tileset index of the list, with the folder its relative file names (layers, tips,
    // groups, icons) resolve against; null when there is none.
    virtual const RegisteredTileset* registeredTileset(int index) const = 0;
    // The palette names each layer's modes as it reads the layer's groups.
    virtual void setModeNames(int layer, const QStringList& names) = 0;
    virtual QString modeName(int layer, int mode) const = 0;
    virtual int editMode() const = 0;

    virtual void tilesetLoaded(int index, int cellLayerCount) = 0;
    virtual void editModeChosen(int editMode, bool connector, const QString& statusText) = 0;
    virtual void layerChosen(int cellLayer) = 0;
    virtual void oneLayerChosen(bool oneLayer) = 0;
    virtual void dropRegionSelection(bool redraw = true) = 0;
    virtual void setStatusText(const QString& text) = 0;
    virtual void redrawAll() = 0;
    // Keys typed on the palette act as on the map.
    virtual void FormKeyPress(QChar key) = 0;
};

}  // namespace xemap
