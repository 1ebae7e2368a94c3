#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace xemap {

constexpr int kMapSize = 32;
constexpr int kCellCount = kMapSize * kMapSize;
constexpr int kCellLayers = 6;
constexpr int kDoorSlots = 5;

enum DoorSlot { North = 0, East = 1, South = 2, West = 3, Center = 4 };

// Cell layer 1 is an overlay cut from the base sheet, whose last tile is its "nothing".
constexpr std::int32_t emptyTile(int cellLayer) { return cellLayer == 1 ? 99 : 0; }

constexpr int cellIndexOf(int x, int y) { return y * kMapSize + x; }

struct GridCell {
    int x = 0;
    int y = 0;
    bool operator==(const GridCell&) const = default;
};

// Cells a command changed, for the window to redraw.
using CellList = std::vector<GridCell>;

constexpr GridCell gridCellOf(int cellIndex) { return {cellIndex % kMapSize, cellIndex / kMapSize}; }
constexpr bool insideGrid(int x, int y) { return x >= 0 && x < kMapSize && y >= 0 && y < kMapSize; }

// The three per-cell arrays, indexed [x][y][...] with x outermost, as the map
// file and the undo snapshots lay them out.
// A cell's five door slots.
using CellDoors = std::array<std::int32_t, kDoorSlots>;

struct MapGrid {
    template <int N>
    using CellArray = std::array<std::array<std::array<std::int32_t, N>, kMapSize>, kMapSize>;

    CellArray<kCellLayers> tiles{};
    CellArray<kCellLayers> rotations{};
    CellArray<kDoorSlots> doors{};

    MapGrid() { clear(kCellLayers); }

    std::int32_t& tile(int x, int y, int layer) { return tiles[x][y][layer]; }
    std::int32_t tile(int x, int y, int layer) const { return tiles[x][y][layer]; }
    std::int32_t& rotation(int x, int y, int layer) { return rotations[x][y][layer]; }
    std::int32_t rotation(int x, int y, int layer) const { return rotations[x][y][layer]; }
    std::int32_t& door(int x, int y, int slot) { return doors[x][y][slot]; }
    std::int32_t door(int x, int y, int slot) const { return doors[x][y][slot]; }

    bool hasDoor(int x, int y) const;
    bool layerEmpty(int x, int y, int layer) const { return tile(x, y, layer) == emptyTile(layer); }

    // Cell layers below layerCount take their empty value; all door slots are cleared.
    void clear(int layerCount);
    // Every cell layer of every cell takes the tile at rotation 0; doors stay.
    void fill(std::int32_t tileNumber);

    bool operator==(const MapGrid&) const = default;
};

}  // namespace xemap
