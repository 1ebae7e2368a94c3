#pragma once

#include <QImage>
#include <QRect>

#include <array>
#include <bitset>

namespace xemap {

// Sheet geometry: 10 x 10 tiles of 80 x 80 inside a 1-pixel margin.
constexpr int kTileSize = 80;
constexpr int kSheetColumns = 10;
constexpr int kTileCount = kSheetColumns * kSheetColumns;
constexpr int kSheetMargin = 1;
constexpr int kSheetSize = kSheetColumns * kTileSize + 2 * kSheetMargin;
constexpr int kRotationCount = 4;

// Magenta pixels of a tile let what lies below show through.
constexpr QRgb kTransparentColour = 0xffff00ff;

constexpr bool validTile(int tile) { return tile >= 0 && tile < kTileCount; }
constexpr bool validRotation(int rotation) { return rotation >= 0 && rotation < kRotationCount; }

// The tile's area in its sheet; callers pass a valid tile number.
QRect tileArea(int tile);

// A copy of an opaque picture in which magenta pixels are fully transparent, ready
// to be laid over another picture with plain source-over composition.
QImage keyedCopy(const QImage& opaque);

// One tileset layer: the bitmap as loaded (rotation 0) and the rotation cache, sheets
// of the same layout whose tile areas are turned on first use and kept. Each sheet
// exists twice: opaque (magenta kept, for copies) and keyed (magenta transparent, for
// overlays), so that laying a tile over a cell is one composition.
class TileSheet {
public:
    TileSheet() = default;
    // Any size is accepted: the picture is placed at the top-left of a sheet of the
    // fixed size, and what it does not cover stays transparent.
    explicit TileSheet(const QImage& loaded);

    bool isNull() const { return turned_[0].opaque.isNull(); }
    const QImage& original() const { return turned_[0].opaque; }

    // Sheets whose tileArea(tile) holds the tile turned by the rotation, turning it
    // first if it is not ready. Valid tile and rotation only, and not on a null sheet.
    const QImage& opaqueSheet(int tile, int rotation) const;
    const QImage& keyedSheet(int tile, int rotation) const;

    bool ready(int tile, int rotation) const { return turned_[rotation].ready[tile]; }
    // Fills the rotation cache for one tile; nothing happens if it is ready.
    void turn(int tile, int rotation) const;

private:
    struct Turned {
        QImage opaque;
        QImage keyed;
        std::bitset<kTileCount> ready;
    };
    // Turned tiles are a cache of the original: filling it does not change what the
    // sheet shows, so it happens behind const access.
    mutable std::array<Turned, kRotationCount> turned_;
};

}  // namespace xemap
