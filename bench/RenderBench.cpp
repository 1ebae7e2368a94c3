#include "render/CellComposer.h"
#include "render/ExportPicture.h"
#include "render/Tileset.h"
#include "render/Xedrawfuncs.h"

#include <QPainter>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>

namespace xemap {
namespace {

// Sheets with noisy opaque bases and overlays that are half magenta.
LayerSheets benchSheets()
{
    std::mt19937 random(7);
    LayerSheets sheets;
    for (int layer = 0; layer < 2; ++layer) {
        QImage sheet(kSheetSize, kSheetSize, QImage::Format_RGB32);
        sheet.fill(kTransparentColour);
        QPainter painter(&sheet);
        for (int tile = 0; tile < kTileCount; ++tile) {
            const QRect area = tileArea(tile);
            for (int i = 0; i < 40; ++i)
                painter.fillRect(area.x() + static_cast<int>(random() % 60), area.y() + static_cast<int>(random() % 70),
                                 layer ? 12 : 20, 10, QColor::fromRgb(0xff000000 | (random() & 0xfefefe)));
        }
        sheets[layer] = sheet;
    }
    return sheets;
}

// A full map: base, base overlay and one overlay on every cell at mixed rotations,
// 200 descriptions and doors on every seventh cell.
struct BenchMap {
    BenchMap(QSize view, float zoom) : tileset(benchSheets()), renderer(document, state, tileset, view)
    {
        std::mt19937 random(3);
        state.layerCount = 3;
        state.zoomFactor = zoom;
        state.cellSize = static_cast<int>(20 * zoom);
        for (int x = 0; x < kMapSize; ++x)
            for (int y = 0; y < kMapSize; ++y) {
                for (int layer = 0; layer < 3; ++layer) {
                    document.grid.tile(x, y, layer) = 1 + static_cast<int>(random() % 98);
                    document.grid.rotation(x, y, layer) = static_cast<int>(random() % 4);
                }
                if ((x + y * kMapSize) % 7 == 0)
                    document.grid.door(x, y, static_cast<int>(random() % 5)) = 1 + static_cast<int>(random() % 7);
            }
        for (int i = 0; i < 200; ++i) {
            auto tile = std::make_shared<XETile>();
            tile->cellIndex = (i * 37) % kCellCount;
            document.descriptions.append(tile);
        }
    }
    MapDocument document;
    EditorState state;
    Tileset tileset;
    MapRenderer renderer;
};

// The straightforward compositor: every pixel of every layer read, turned, tested for
// magenta and written one by one, then scaled pixel by pixel; labels and doors drawn
// as the renderer draws them.
void referenceRedrawAll(const BenchMap& map, QImage& out)
{
    const MapGrid& grid = map.document.grid;
    const int size = map.state.cellSize;
    QImage cell(kCellImageSize, kCellImageSize, QImage::Format_RGB32);
    out.fill(Qt::white);
    const auto source = [](int rotation, int x, int y) {
        switch (rotation) {
        case 1: return QPoint(y, 79 - x);
        case 2: return QPoint(79 - x, 79 - y);
        case 3: return QPoint(79 - y, x);
        default: return QPoint(x, y);
        }
    };
    for (int x = 0; x < std::min(kMapSize, out.width() / size); ++x)
        for (int y = 0; y < std::min(kMapSize, out.height() / size); ++y) {
            for (int layer = 0; layer < map.state.layerCount; ++layer) {
                const int tile = grid.tile(x, y, layer);
                if (layer > 0 && grid.layerEmpty(x, y, layer))
                    continue;
                const QImage& sheet = map.tileset.sheet(tilesetLayerOf(layer)).original();
                const QRect area = tileArea(tile);
                for (int py = 0; py < kTileSize; ++py)
                    for (int px = 0; px < kTileSize; ++px) {
                        const QPoint from = source(grid.rotation(x, y, layer), px, py) + area.topLeft();
                        const QRgb colour = sheet.pixel(from);
                        if (layer == 0 || colour != kTransparentColour)
                            cell.setPixel(px, py, colour);
                    }
            }
            {
                QPainter painter(&cell);
                if (const auto position = map.document.descriptions.find(cellIndexOf(x, y)))
                    writeLabel(painter, *position + 1, viewLabelStyle(map.state.zoomFactor));
                drawDoorGlyphs(painter, grid.doors[x][y], kStartupDoorGeometry, doorPenWidth(map.state.zoomFactor));
            }
            for (int py = 0; py < size; ++py)
                for (int px = 0; px < size; ++px)
                    out.setPixel(x * size + px, y * size + py,
                                 cell.pixel(px * kCellImageSize / size, py * kCellImageSize / size));
        }
}

// Arguments: zoom factor and map image side. The 640-pixel view shows all 1024 cells
// at zoom 1, 64 of them at zoom 4 and 16 at zoom 8; a 2560-pixel image holds all 1024 at zoom 4.
QSize viewOf(const benchmark::State& run) { return QSize(run.range(1), run.range(1)); }

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Wall seconds of the fastest of three reference redraws.
double referenceSeconds(const BenchMap& map, QSize view)
{
    QImage out(view, QImage::Format_RGB32);
    double best = 1e9;
    for (int pass = 0; pass < 3; ++pass) {
        const auto start = std::chrono::steady_clock::now();
        referenceRedrawAll(map, out);
        benchmark::DoNotOptimize(out.constBits());
        best = std::min(best, secondsSince(start));
    }
    return best;
}

// Reports "x_reference": how many times faster than the reference compositor, in this run.
void BM_RedrawAll(benchmark::State& run)
{
    const float zoom = static_cast<float>(run.range(0));
    BenchMap map(viewOf(run), zoom);
    const double reference = referenceSeconds(map, viewOf(run));
    map.renderer.redrawAll();  // fills the rotation cache, as the first redraw after a load does
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : run) {
        map.renderer.redrawAll();
        benchmark::DoNotOptimize(map.renderer.mapImage().constBits());
    }
    run.counters["x_reference"] = reference * static_cast<double>(run.iterations()) / secondsSince(start);
}
BENCHMARK(BM_RedrawAll)
    ->Args({1, 640})
    ->Args({4, 640})
    ->Args({8, 640})
    ->Args({4, 2560})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// One painted cell with every layer, a label and doors: what each stroke step redraws.
void BM_DrawOneCell(benchmark::State& run)
{
    BenchMap map(QSize(640, 640), 4.0f);
    map.renderer.redrawAll();
    int cell = 0;
    for (auto _ : run) {
        cell = (cell + 1) % 64;
        map.renderer.drawOneCell(cell % 8, cell / 8);
    }
}
BENCHMARK(BM_DrawOneCell)->Unit(benchmark::kMicrosecond);

void BM_CursorPreviewMove(benchmark::State& run)
{
    BenchMap map(QSize(640, 640), 4.0f);
    map.state.currentLayer = 2;
    map.renderer.redrawAll();
    const PaletteTile selected{12, 1, 1};
    int x = 0;
    for (auto _ : run) {
        map.renderer.restoreUnderCursor(x, 3);
        x = (x + 1) % 8;
        map.renderer.cursorPreview(x, 3, selected);
    }
}
BENCHMARK(BM_CursorPreviewMove)->Unit(benchmark::kMicrosecond);

// Argument: the scale item in hundredths (100 is "1.00", a 1280 x 1280 picture).
void BM_ExportPicture(benchmark::State& run)
{
    BenchMap map(QSize(640, 640), 1.0f);
    const float scale = exportScale(static_cast<float>(run.range(0)) / 100.0f);
    for (auto _ : run) {
        const QImage picture = exportPicture(map.document, map.state, map.tileset, kStartupDoorGeometry, scale);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_ExportPicture)->Arg(100)->Arg(50)->Arg(25)->Arg(10)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace xemap
