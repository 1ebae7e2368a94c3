#include "core/editing/TerrainBrush.h"

#include "core/document/EditorState.h"

#include <array>
#include <deque>

namespace xemap {

namespace {

// Pieces as offsets from the terrain tile.
constexpr std::int32_t kOuterCorner = 1;
constexpr std::int32_t kEdge = 2;
constexpr std::int32_t kInnerCorner = 3;
constexpr std::int32_t kFill = -1;

struct TerrainPiece {
    std::int32_t piece;
    std::int32_t rotation;
};

// By the mask of orthogonal terrain neighbours (N 1, E 2, S 4, W 8); terrain on two
// opposite sides fills the cell.
constexpr std::array<TerrainPiece, 16> kPieceByMask{{
    {kFill, 0},  // no orthogonal neighbour: decided by the diagonals
    {kEdge, 2},
    {kEdge, 3},
    {kInnerCorner, 3},
    {kEdge, 0},
    {kFill, 0},
    {kInnerCorner, 0},
    {kFill, 0},
    {kEdge, 1},
    {kInnerCorner, 2},
    {kFill, 0},
    {kFill, 0},
    {kInnerCorner, 1},
    {kFill, 0},
    {kFill, 0},
    {kFill, 0},
}};

// South-east, south-west, north-west, north-east: the index is also the rotation that
// turns the outer corner towards that diagonal.
constexpr std::array<std::array<int, 2>, 4> kDiagonalOffsets{{{1, 1}, {-1, 1}, {-1, -1}, {1, -1}}};

class TerrainStroke {
public:
    TerrainStroke(MapGrid& grid, int layer, std::int32_t terrain)
        : edit_(grid), grid_(grid), layer_(layer), terrain_(terrain)
    {
    }

    void run(int column, int row);
    CellList changedCells() && { return std::move(edit_).changedCells(); }

private:
    bool isTerrain(int x, int y) const { return insideGrid(x, y) && grid_.tile(x, y, layer_) == terrain_; }
    int orthogonalMask(GridCell cell) const;
    // Returns false when the cell must wait until the others are decided.
    bool decideByDiagonals(GridCell cell, bool othersWaiting);
    void fill(GridCell cell);
    void layPiece(GridCell cell, std::int32_t piece, std::int32_t rotation);

    BrushEdit edit_;
    const MapGrid& grid_;
    int layer_;
    std::int32_t terrain_;
    std::deque<GridCell> work_;
};

void TerrainStroke::run(int column, int row)
{
    for (int x = column - 1; x <= column + 1; ++x)
        for (int y = row - 1; y <= row + 1; ++y)
            if (insideGrid(x, y) && !isTerrain(x, y))
                work_.push_back({x, y});

    // Only a fill changes what the cells decide on, so once every waiting cell has been
    // put back in a row without one, they would wait on each other for ever.
    std::size_t waitedInARow = 0;
    while (!work_.empty() && waitedInARow < work_.size()) {
        const GridCell cell = work_.front();
        work_.pop_front();
        if (isTerrain(cell.x, cell.y)) {
            waitedInARow = 0;
            continue;
        }
        const int mask = orthogonalMask(cell);
        const TerrainPiece action = kPieceByMask[mask];
        if (mask == 0) {
            if (!decideByDiagonals(cell, !work_.empty())) {
                work_.push_back(cell);
                ++waitedInARow;
                continue;
            }
        } else if (action.piece == kFill) {
            fill(cell);
        } else {
            layPiece(cell, action.piece, action.rotation);
        }
        waitedInARow = 0;
    }
}

int TerrainStroke::orthogonalMask(GridCell cell) const
{
    int mask = 0;
    for (std::size_t d = 0; d < kNeighbourBits.size(); ++d)
        if (isTerrain(cell.x + kNeighbourColumnOffsets[d], cell.y + kNeighbourRowOffsets[d]))
            mask += kNeighbourBits[d];
    return mask;
}

bool TerrainStroke::decideByDiagonals(GridCell cell, bool othersWaiting)
{
    int count = 0;
    std::int32_t last = 0;
    for (std::size_t d = 0; d < kDiagonalOffsets.size(); ++d) {
        if (isTerrain(cell.x + kDiagonalOffsets[d][0], cell.y + kDiagonalOffsets[d][1])) {
            ++count;
            last = static_cast<std::int32_t>(d);
        }
    }
    if (count == 1)
        layPiece(cell, kOuterCorner, last);
    return count < 2 || !othersWaiting;
}

// Both of the cell's rotations stay as they were; the layer above is emptied with its
// own empty value.
void TerrainStroke::fill(GridCell cell)
{
    edit_.setTile(cell, layer_, terrain_);
    edit_.setTile(cell, layer_ + 1, emptyTile(layer_ + 1));
    work_.push_back(cell);
}

void TerrainStroke::layPiece(GridCell cell, std::int32_t piece, std::int32_t rotation)
{
    edit_.setTile(cell, layer_ + 1, terrain_ + piece);
    edit_.setRotation(cell, layer_ + 1, rotation);
}

}  // namespace

CellList TerrainBrush(MapGrid& grid, int column, int row, int layer, std::int32_t terrain)
{
    if (layer < 0 || layer + 1 >= kCellLayers)
        return {};
    TerrainStroke stroke(grid, layer, terrain);
    stroke.run(column, row);
    return std::move(stroke).changedCells();
}

}  // namespace xemap
