#pragma once

#include "core/document/MapDocument.h"

#include <cstddef>
#include <deque>
#include <vector>

namespace xemap {

// The whole grid plus which descriptions were in the list, in order. Descriptions
// are shared, not copied; their cell indexes are kept too, so that undoing a region
// cut reattaches the descriptions it detached.
struct UndoSnapshot {
    MapGrid grid;
    std::vector<TilePtr> descriptions;
    std::vector<std::int32_t> cellIndexes;

    // The grid is copied straight into place: it is a plain array, so a default grid
    // cleared first and then overwritten would cost twice.
    explicit UndoSnapshot(const MapDocument& document);
    static UndoSnapshot take(const MapDocument& document) { return UndoSnapshot(document); }
    void restoreInto(MapDocument& document) const;
};

class UndoHistory {
public:
    // A stack holding more than this many snapshots drops its oldest before a push,
    // so each stack holds at most one more than this.
    static constexpr std::size_t kDropAbove = 50;

    // Before an edit: the current state goes on the undo stack and redo is forgotten.
    void record(const MapDocument& document);
    // The same for a state taken earlier, when the edit was only known to change the map afterwards.
    void record(UndoSnapshot before);
    bool undo(MapDocument& document);
    bool redo(MapDocument& document);
    void forget();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    std::size_t undoDepth() const { return undo_.size(); }
    std::size_t redoDepth() const { return redo_.size(); }

private:
    using Stack = std::deque<UndoSnapshot>;
    static void push(Stack& stack, const MapDocument& document);
    static bool swap(Stack& from, Stack& to, MapDocument& document);

    Stack undo_;
    Stack redo_;
};

}  // namespace xemap
