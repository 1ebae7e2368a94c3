// Undo snapshot and restore of a full map with 200 descriptions, and the heap a full
// history holds (target: 51 + 51 snapshots under 10 MB).
#include "FullMap.h"
#include "core/document/UndoHistory.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {

using namespace xemap;

void BM_UndoSnapshot(benchmark::State& state)
{
    const MapDocument document = fullMap();
    UndoHistory history;
    for (auto _ : state)
        history.record(document);
}
BENCHMARK(BM_UndoSnapshot)->Unit(benchmark::kMicrosecond);

// One undo and one redo per iteration, each restoring a whole snapshot.
void BM_UndoRestore(benchmark::State& state)
{
    MapDocument document = fullMap();
    UndoHistory history;
    history.record(document);
    for (auto _ : state) {
        history.undo(document);
        history.redo(document);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_UndoRestore)->Unit(benchmark::kMicrosecond);

// The heap of the largest history the limits allow, 51 undo and 51 redo snapshots,
// reported as "history_MB". Undo and redo only move snapshots between the stacks, so
// two histories with a full undo stack stand for it: a snapshot weighs the same on either.
void BM_FullUndoHistory(benchmark::State& state)
{
    MapDocument document = fullMap();
    double heldBytes = 0;
    std::size_t snapshots = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        UndoHistory histories[2];
        for (UndoHistory& history : histories)
            for (std::size_t edit = 0; edit <= UndoHistory::kDropAbove + 1; ++edit) {
                document.grid.tile(static_cast<int>(edit % kMapSize), 0, 0) = static_cast<int>(edit % 98);
                history.record(document);
            }
        heldBytes = static_cast<double>(mallinfo2().uordblks - before);
        snapshots = histories[0].undoDepth() + histories[1].undoDepth();
    }
    state.counters["snapshots"] = static_cast<double>(snapshots);
    state.counters["history_MB"] = heldBytes / (1024.0 * 1024.0);
}
BENCHMARK(BM_FullUndoHistory)->Unit(benchmark::kMillisecond);

}  // namespace
