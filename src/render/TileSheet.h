#pragma once

#include <QImage>
#include <QRect>

#include <array>

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

// A tile's picture: its area in an image that holds it at the asked rotation.
struct TilePicture {
    const QImage* sheet;
    QRect area;
};

// One tileset layer: the bitmap as loaded (rotation 0) and the rotation cache. Each
// tile is turned, and masked for overlays, by itself on its first use in that form,
// and kept; a tile never used at a rotation costs nothing.
class TileSheet {
public:
    TileSheet() = default;
    // Any size is accepted: the picture is placed at the top-left of a sheet of the
    // fixed size, and what it does not cover stays transparent.
    explicit TileSheet(const QImage& loaded);

    bool isNull() const { return original_.isNull(); }
    const QImage& original() const { return original_; }

    // The tile turned by the rotation, opaque (magenta kept, for copies) or keyed
    // (magenta transparent, for overlays). Valid tile and rotation only, and not on a
    // null sheet; the picture stays valid as long as the sheet.
    TilePicture opaqueTile(int tile, int rotation) const;
    TilePicture keyedTile(int tile, int rotation) const;

    // Fills the rotation cache for one tile; nothing happens if it is ready.
    void turn(int tile, int rotation) const;

    // A sheet that draws one picture and is then dropped, as the command-line tool's is,
    // need not keep what it turned: it turns and masks each tile as it is asked for it,
    // and the picture handed out then holds only until the next request to this sheet.
    void setKeepsTurnedTiles(bool keeps) { keepsTurnedTiles_ = keeps; }

private:
    const QImage& turned(int tile, int rotation) const;

    QImage original_;
    // Caches of the original: filling them does not change what the sheet shows, so
    // it happens behind const access. Rotation 0 of the opaque tiles is the original.
    using TileImages = std::array<std::array<QImage, kTileCount>, kRotationCount>;
    mutable TileImages opaque_;
    mutable TileImages keyed_;
    bool keepsTurnedTiles_ = true;
    // The one opaque and one keyed tile of a sheet that keeps nothing.
    mutable QImage passingOpaque_;
    mutable QImage passingKeyed_;
};

}  // namespace xemap
