#pragma once

#include "core/document/EditorState.h"
#include "core/document/MapDocument.h"
#include "core/document/UndoHistory.h"
#include "core/editing/MapClipboard.h"
#include "core/files/Fault.h"
#include "core/tileset/GroupFile.h"

#include <functional>
#include <optional>

namespace xemap {

// What a command changed, for the window to bring the screen up to date.
struct Changes {
    CellList cells;
    // The whole view is drawn again.
    bool all = false;
    // Labels of the descriptions from this list position on show new location IDs.
    std::optional<int> labelsFrom;

    static Changes everything() { return {{}, true, {}}; }
    static Changes cell(GridCell cell) { return {{cell}, false, {}}; }
};

// The one way the map changes. The session owns the document, the undo history, the
// modified flag and both clipboards; each command records its undo step, changes the
// map and sets the modified flag as that command does, and says what it changed.
class EditSession {
public:
    const MapDocument& document() const { return document_; }
    const UndoHistory& history() const { return history_; }
    bool modified() const { return modified_; }
    bool canPasteDescription() const { return descriptionClipboard_.canPaste(); }
    bool canPasteRegion() const { return regionTaken_; }

    // A map press that edits (paint, terrain, connector, box fill) is one undo step, taken
    // when its stroke begins. However the stroke ends (the release, or the press lost to
    // another window, a dialog, or a map replaced or closed), the map is marked modified,
    // however many cells the drag painted.
    class Stroke {
    public:
        explicit Stroke(EditSession& session) : session_(session) { session.recordUndo(); }
        ~Stroke() { session_.modified_ = true; }
        Stroke(const Stroke&) = delete;
        Stroke& operator=(const Stroke&) = delete;

    private:
        EditSession& session_;
    };
    Changes paint(GridCell cell, int layer, int tile, int rotation);
    Changes paintTerrain(GridCell cell, int layer, int terrain);
    Changes connectorStep(GridCell cell, int layer, const ConnectorGroup& group);
    Changes fillBox(const Region& region, int layer, const BoxGroup& group);
    // A release on the map outside region selection marks it modified, whatever the button.
    void mapReleased() { modified_ = true; }
    // A double-click clears cell layer 1; its press recorded the step, its release marks the map.
    Changes clearOverlay(GridCell cell);

    Changes toggleDoor(GridCell cell, int slot);
    // The Doors dialog closed, with Done or Cancel: the cell takes the doors chosen. An undo
    // step only when a door changed, so that a dialog that changed nothing keeps the redo history.
    Changes setDoors(GridCell cell, const CellDoors& doors);
    Changes rotate(GridCell cell, int layer, TurnDirection direction);

    // Describe Tile: Done places a copy of the working description at the location ID asked.
    Changes describe(int cellIndex, const TilePtr& working, int locationId);
    // Describe Tile edits a record that its working copy shares with the map's description:
    // the edit is the map's at once, in place and without an undo step (snapshots share
    // records too), and the map is modified whichever button then closes the dialog.
    void editSharedRecord(const std::function<void()>& edit);
    // Remove All; nothing when the cell has no description.
    std::optional<Changes> removeDescription(int cellIndex);
    bool copyDescription(int cellIndex);
    Changes cutDescription(int cellIndex);
    Changes pasteDescription(int cellIndex);

    // Cut and Copy Region both detach the region's descriptions, so both are undo steps.
    Changes takeRegion(const Region& region, RegionTake take);
    Changes pasteRegion(GridCell cell);

    // The description listing as the export writes it, after giving items without a value
    // "0 gp" in the map itself, as the export always has (no undo step; the map's modified
    // flag is left as it was).
    std::string exportListing();

    // Undo and Redo change the map, so unlike a save they leave it modified.
    Changes undo();
    Changes redo();

    // A new or opened map starts a fresh history and is unmodified (an upgraded one is modified).
    void forgetFileName() { document_.mapFileName.clear(); }
    void setTilesetIndex(int index) { document_.tilesetIndex = index; }
    Changes newMapFilled(int baseTile);
    Changes newMapCleared(int layerCount);
    Changes open(MapDocument document, bool upgraded);
    void setMapName(std::string name) { document_.mapName = std::move(name); }
    void setFolder(std::string folder) { document_.mapDirectory = std::move(folder); }
    // Writes the map to path, which then becomes its file name, and leaves it unmodified.
    // A failed write changes nothing: a Save As to a place that refuses it keeps the old name.
    Result<void> save(std::string path);

private:
    // Tests set maps up through it; the program changes the map only through the commands.
    friend struct SessionSetUp;

    void recordUndo() { history_.record(document_); }
    Changes startFresh();

    MapDocument document_;
    UndoHistory history_;
    bool modified_ = false;
    DescriptionClipboard descriptionClipboard_;
    RegionClipboard regionClipboard_;
    bool regionTaken_ = false;
};

}  // namespace xemap
