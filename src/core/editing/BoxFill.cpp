#include "core/editing/BoxFill.h"

#include <algorithm>
#include <array>

namespace xemap {

namespace {

struct BoxPlace {
    int piece;
    int turn;
};

// By row place, then column place: 0 first, 1 between, 2 last. A first place wins
// over a last one, so a box one cell wide or high shows its left and top pieces.
constexpr std::array<std::array<BoxPlace, 3>, 3> kBoxPlaces{{
    {{{1, 0}, {2, 0}, {1, 1}}},
    {{{2, 3}, {0, 0}, {2, 1}}},
    {{{1, 3}, {2, 2}, {1, 2}}},
}};

constexpr int placeOf(int value, int first, int last) { return value == first ? 0 : value == last ? 2 : 1; }

}  // namespace

CellList boxFill(MapGrid& grid, int layer, const BoxGroup& group, int firstColumn, int lastColumn, int firstRow,
                 int lastRow)
{
    if (layer < 0 || layer >= kCellLayers)
        return {};
    const int c1 = std::max(std::min(firstColumn, lastColumn), 0);
    const int c2 = std::min(std::max(firstColumn, lastColumn), kMapSize - 1);
    const int r1 = std::max(std::min(firstRow, lastRow), 0);
    const int r2 = std::min(std::max(firstRow, lastRow), kMapSize - 1);

    CellList written;
    for (int x = c1; x <= c2; ++x) {
        for (int y = r1; y <= r2; ++y) {
            const BoxPlace place = kBoxPlaces[placeOf(y, r1, r2)][placeOf(x, c1, c2)];
            const GroupPiece& piece = group.pieces[place.piece];
            if (place.piece == 0 && piece.tile == 0)
                continue;
            grid.tile(x, y, layer) = piece.tile;
            grid.rotation(x, y, layer) = quarterTurns(std::int64_t{piece.rotation} + place.turn);
            written.push_back({x, y});
        }
    }
    return written;
}

}  // namespace xemap
