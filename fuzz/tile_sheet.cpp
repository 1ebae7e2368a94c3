// Loads arbitrary bytes as a tile-sheet file, the way a tileset load reads its layer
// bitmaps, then fetches tiles at every rotation from it. Every rotation of a tile
// must show the unturned tile turned, whatever size or depth the picture had.
#include "render/TilesetLoader.h"

#include <QString>
#include <QTransform>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The loader reads from a path: one scratch file per fuzzing process.
const std::filesystem::path& scratchFile()
{
    static const auto path =
        std::filesystem::temp_directory_path() / ("xemap-fuzz-sheet-" + std::to_string(::getpid()) + ".bmp");
    return path;
}

QImage fetched(const xemap::Tileset& tileset, int tile, int rotation, int layer)
{
    QImage picture(xemap::kTileSize, xemap::kTileSize, QImage::Format_RGB32);
    picture.fill(Qt::cyan);
    require(tileset.FetchTile(picture, tile, rotation, layer));
    return picture;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        std::ofstream out(scratchFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    xemap::TilesetProblems problems;
    const auto loaded =
        xemap::TilesetLoader(scratchFile().parent_path())
            .loadSheets({"Fuzz", {scratchFile().filename().string(), "null", "null", "null", "null"}}, problems);
    require(loaded.ok());
    const xemap::Tileset& tileset = *loaded;
    require(tileset.layerCount() == 1);
    if (!problems.empty()) {
        require(!tileset.hasSheet(0));
        return 0;
    }
    for (const int tile : {0, 37, 99}) {
        const QImage plain = fetched(tileset, tile, 0, 0);
        for (int rotation = 1; rotation < xemap::kRotationCount; ++rotation)
            require(fetched(tileset, tile, rotation, 0) == plain.transformed(QTransform().rotate(90.0 * rotation)));
        require(tileset.keyedTile(tile, 3, 0).has_value());
    }
    QImage untouched(xemap::kTileSize, xemap::kTileSize, QImage::Format_RGB32);
    require(!tileset.FetchTile(untouched, 100, 0, 0) && !tileset.FetchTile(untouched, 5, 4, 0)
            && !tileset.FetchTile(untouched, 5, 0, 1));
    return 0;
}
