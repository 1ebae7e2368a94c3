// Map file write and read of a full map with 200 descriptions (target: under 10 ms
// each), the read of a single-layer map with its upgrade, and the listing of those
// descriptions (target: under 5 ms).
#include "FullMap.h"
#include "core/mapfile/MapReader.h"
#include "core/mapfile/MapWriter.h"
#include "core/output/Listing.h"

#include <benchmark/benchmark.h>

namespace {

using namespace xemap;

void BM_WriteMap(benchmark::State& state)
{
    const MapDocument document = fullMap();
    for (auto _ : state)
        benchmark::DoNotOptimize(writeMap(document));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(writeMap(document).size()));
}
BENCHMARK(BM_WriteMap)->Unit(benchmark::kMillisecond);

void BM_ReadMap(benchmark::State& state)
{
    const std::string text = writeMap(fullMap());
    for (auto _ : state)
        benchmark::DoNotOptimize(readMap(text));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadMap)->Unit(benchmark::kMillisecond);

// The full map's descriptions behind a single-layer header (tileset 1, no map name line)
// and single-layer cell lines, so that every cell goes through the upgrade.
std::string singleLayerText()
{
    const std::string layered = writeMap(fullMap());
    std::size_t descriptions = 0;
    for (int line = 0; line < 2 + kCellCount; ++line)
        descriptions = layered.find('\n', descriptions) + 1;
    std::string text = "1\r\n";
    for (int cell = 0; cell < kCellCount; ++cell)
        text += std::to_string(1 + cell * 13 % 98) + " " + std::to_string(cell % 4) + " : 0 0 0 0 0\r\n";
    return text + layered.substr(descriptions);
}

void BM_ReadSingleLayerMap(benchmark::State& state)
{
    const std::string text = singleLayerText();
    if (!readMap(text).ok() || !readMap(text)->singleLayer)
        state.SkipWithError("the text is not read as a single-layer map");
    for (auto _ : state)
        benchmark::DoNotOptimize(readMap(text));
}
BENCHMARK(BM_ReadSingleLayerMap)->Unit(benchmark::kMillisecond);

void BM_Listing(benchmark::State& state)
{
    MapDocument document = fullMap();
    for (auto _ : state)
        benchmark::DoNotOptimize(listingText(document.descriptions));
}
BENCHMARK(BM_Listing)->Unit(benchmark::kMillisecond);

}  // namespace
