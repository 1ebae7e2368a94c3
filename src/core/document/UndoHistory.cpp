#include "core/document/UndoHistory.h"

namespace xemap {

UndoSnapshot UndoSnapshot::take(const MapDocument& document)
{
    UndoSnapshot snapshot{document.grid, document.descriptions.tiles(), {}};
    snapshot.cellIndexes.reserve(snapshot.descriptions.size());
    for (const auto& tile : snapshot.descriptions)
        snapshot.cellIndexes.push_back(tile->cellIndex);
    return snapshot;
}

void UndoSnapshot::restoreInto(MapDocument& document) const
{
    document.grid = grid;
    for (std::size_t i = 0; i < descriptions.size(); ++i)
        descriptions[i]->cellIndex = cellIndexes[i];
    document.descriptions.assign(descriptions);
}

void UndoHistory::push(Stack& stack, UndoSnapshot snapshot)
{
    if (stack.size() > kDropAbove)
        stack.pop_front();
    stack.push_back(std::move(snapshot));
}

bool UndoHistory::swap(Stack& from, Stack& to, MapDocument& document)
{
    if (from.empty())
        return false;
    push(to, UndoSnapshot::take(document));
    from.back().restoreInto(document);
    from.pop_back();
    return true;
}

void UndoHistory::record(const MapDocument& document) { record(UndoSnapshot::take(document)); }

void UndoHistory::record(UndoSnapshot before)
{
    push(undo_, std::move(before));
    redo_.clear();
}

bool UndoHistory::undo(MapDocument& document) { return swap(undo_, redo_, document); }

bool UndoHistory::redo(MapDocument& document) { return swap(redo_, undo_, document); }

void UndoHistory::forget()
{
    undo_.clear();
    redo_.clear();
}

}  // namespace xemap
