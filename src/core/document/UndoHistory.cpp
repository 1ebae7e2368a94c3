#include "core/document/UndoHistory.h"

namespace xemap {

UndoSnapshot::UndoSnapshot(const MapDocument& document)
    : grid(document.grid), descriptions(document.descriptions.tiles())
{
    cellIndexes.reserve(descriptions.size());
    for (const auto& tile : descriptions)
        cellIndexes.push_back(tile->cellIndex);
}

void UndoSnapshot::restoreInto(MapDocument& document) const
{
    document.grid = grid;
    for (std::size_t i = 0; i < descriptions.size(); ++i)
        descriptions[i]->cellIndex = cellIndexes[i];
    document.descriptions.assign(descriptions);
}

// The snapshot is made in its place on the stack: a grid is a plain array, so each
// move of a snapshot would copy it again.
void UndoHistory::push(Stack& stack, const MapDocument& document)
{
    if (stack.size() > kDropAbove)
        stack.pop_front();
    stack.emplace_back(document);
}

bool UndoHistory::swap(Stack& from, Stack& to, MapDocument& document)
{
    if (from.empty())
        return false;
    push(to, document);
    from.back().restoreInto(document);
    from.pop_back();
    return true;
}

void UndoHistory::record(const MapDocument& document)
{
    push(undo_, document);
    redo_.clear();
}

void UndoHistory::record(UndoSnapshot before)
{
    if (undo_.size() > kDropAbove)
        undo_.pop_front();
    undo_.push_back(std::move(before));
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
