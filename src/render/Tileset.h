#pragma once

#include "render/TileSheet.h"

#include <QImage>
#include <QRect>

#include <array>
#include <optional>

namespace xemap {

constexpr int kTilesetLayers = 5;

using LayerSheets = std::array<QImage, kTilesetLayers>;

// The loaded tileset's layer sheets with their rotation caches.
class Tileset {
public:
    Tileset() = default;
    // Sheets in memory, a null image for a layer without one; the layer count follows
    // the highest layer that has a sheet.
    explicit Tileset(const LayerSheets& sheets);
    // As loaded from a registry entry: a layer whose file could not be read has no
    // sheet but still counts for the layer count.
    Tileset(const LayerSheets& sheets, int layerCount);

    // 1 + the highest layer the tileset has (at least 1).
    int layerCount() const { return layerCount_; }
    bool hasSheet(int layer) const;
    const TileSheet& sheet(int layer) const { return sheets_[layer]; }

    // Copies the tile at the rotation into the 80 x 80 destination at (0, 0). Returns
    // false and leaves the destination alone for a layer without a sheet or a tile,
    // rotation or layer out of range.
    bool FetchTile(QImage& destination, int tile, int rotation, int layer) const;
    // Turns one tile into the rotation cache, once per load.
    void RotateTile(int tile, int rotation, int layer) const;

    // Where the tile's picture lies, opaque (magenta kept) or keyed (magenta
    // transparent); nothing when FetchTile would fetch nothing.
    std::optional<TilePicture> opaqueTile(int tile, int rotation, int layer) const;
    std::optional<TilePicture> keyedTile(int tile, int rotation, int layer) const;

    // See TileSheet::setKeepsTurnedTiles: for a tileset that draws one picture.
    void setKeepsTurnedTiles(bool keeps);

private:
    bool fetchable(int tile, int rotation, int layer) const;

    std::array<TileSheet, kTilesetLayers> sheets_;
    int layerCount_ = 1;
};

}  // namespace xemap
