// Loading the default Dungeon tileset from its sheets, and turning every tile of it at
// every rotation, each against the plain decoding of the same files in the same run.
#include "render/TilesetLoader.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <chrono>

namespace xemap {
namespace {

// The default registry's Dungeon, loaded as the editor loads it.
const TilesetEntry kDungeon{"Dungeon",
                            {"tilesets/indoor_bases.bmp", "tilesets/indoor_layer.bmp", "null", "null", "null"}};
const TilesetLoader kLoader(XEMAP_PROGRAM_DIR);

// Seconds to decode the two sheets and nothing more: what any load must pay.
double decodeSeconds()
{
    const auto start = std::chrono::steady_clock::now();
    for (const char* file :
         {XEMAP_PROGRAM_DIR "/tilesets/indoor_bases.bmp", XEMAP_PROGRAM_DIR "/tilesets/indoor_layer.bmp"}) {
        const QImage picture(file);
        benchmark::DoNotOptimize(picture.constBits());
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void reportAgainstDecoding(benchmark::State& run, double seconds)
{
    double bestDecode = decodeSeconds();
    for (int i = 0; i < 2; ++i)
        bestDecode = std::min(bestDecode, decodeSeconds());
    run.counters["x_decode"] = seconds / static_cast<double>(run.iterations()) / bestDecode;
}

void BM_LoadTileset(benchmark::State& run)
{
    double seconds = 0;
    for (auto _ : run) {
        const auto start = std::chrono::steady_clock::now();
        TilesetProblems problems;
        if (!kLoader.loadSheets(kDungeon, problems) || !problems.empty())
            run.SkipWithError("the Dungeon sheets did not load");
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    reportAgainstDecoding(run, seconds);
}
BENCHMARK(BM_LoadTileset)->UseRealTime()->Unit(benchmark::kMillisecond);

// A load followed by the first fetch of all 200 tiles at all four rotations.
void BM_LoadAndTurnEveryTile(benchmark::State& run)
{
    QImage tile(kTileSize, kTileSize, QImage::Format_RGB32);
    double seconds = 0;
    for (auto _ : run) {
        const auto start = std::chrono::steady_clock::now();
        TilesetProblems problems;
        const Tileset tileset = kLoader.loadSheets(kDungeon, problems).value();
        for (int layer = 0; layer < 2; ++layer)
            for (int rotation = 0; rotation < kRotationCount; ++rotation)
                for (int number = 0; number < kTileCount; ++number)
                    tileset.FetchTile(tile, number, rotation, layer);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    reportAgainstDecoding(run, seconds);
}
BENCHMARK(BM_LoadAndTurnEveryTile)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace xemap
