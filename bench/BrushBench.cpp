// Brush work alone, without drawing: a terrain stroke across the map and a box fill
// of the whole map. Alternating two terrains or groups makes every pass a real repaint.
#include "core/editing/BoxFill.h"
#include "core/editing/ConnectorBrush.h"
#include "core/editing/TerrainBrush.h"

#include <benchmark/benchmark.h>

namespace {

using namespace xemap;

void BM_TerrainStrokeAcrossTheMap(benchmark::State& state)
{
    MapGrid grid;
    std::int32_t terrain = 20;
    for (auto _ : state) {
        terrain = terrain == 20 ? 30 : 20;
        for (int x = 0; x < kMapSize; ++x) {
            grid.tile(x, 16, 0) = terrain;
            grid.rotation(x, 16, 0) = 0;
            grid.tile(x, 16, 1) = emptyTile(1);
            grid.rotation(x, 16, 1) = 0;
            benchmark::DoNotOptimize(TerrainBrush(grid, x, 16, 0, terrain));
        }
    }
    state.SetItemsProcessed(state.iterations() * kMapSize);
}
BENCHMARK(BM_TerrainStrokeAcrossTheMap)->Unit(benchmark::kMicrosecond);

void BM_BoxFillWholeMap(benchmark::State& state)
{
    const BoxGroup groups[2] = {{{{{30, 0}, {31, 0}, {32, 0}, {33, 0}}}}, {{{{40, 0}, {41, 1}, {42, 0}, {43, 0}}}}};
    MapGrid grid;
    int pass = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(boxFill(grid, 2, groups[++pass % 2], 0, kMapSize - 1, 0, kMapSize - 1));
}
BENCHMARK(BM_BoxFillWholeMap)->Unit(benchmark::kMicrosecond);

void BM_ConnectorStrokeAcrossTheMap(benchmark::State& state)
{
    constexpr Conversion kUnused{-1, -1, 0};
    const ConnectorGroup walls[2] = {
        {{{{50, 0}, {51, 0}, {52, 0}, {53, 0}}},
         {kUnused, kUnused, kUnused, kUnused},
         {kUnused, kUnused, kUnused, kUnused}},
        {{{{60, 0}, {61, 0}, {62, 0}, {63, 0}}},
         {kUnused, kUnused, kUnused, kUnused},
         {kUnused, kUnused, kUnused, kUnused}},
    };
    MapGrid grid;
    int pass = 0;
    for (auto _ : state) {
        const ConnectorGroup& wall = walls[++pass % 2];
        for (int x = 0; x < kMapSize; ++x)
            benchmark::DoNotOptimize(connectorBrush(grid, 2, wall, x, 16));
    }
}
BENCHMARK(BM_ConnectorStrokeAcrossTheMap)->Unit(benchmark::kMicrosecond);

}  // namespace
