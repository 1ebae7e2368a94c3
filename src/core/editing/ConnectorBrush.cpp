#include "core/editing/ConnectorBrush.h"

#include "core/document/EditorState.h"

#include <algorithm>
#include <array>
#include <optional>

namespace xemap {

namespace {

struct JoinPiece {
    int piece;
    int turn;
};

// By the mask of member neighbours (N 1, E 2, S 4, W 8). Piece 0 is drawn joining
// west and east, piece 1 east and south, piece 2 east, south and west.
constexpr std::array<JoinPiece, 16> kJoinPieces{{
    {0, 0},
    {0, 1},
    {0, 0},
    {1, 3},
    {0, 1},
    {0, 1},
    {1, 0},
    {2, 3},
    {0, 0},
    {1, 2},
    {0, 0},
    {2, 2},
    {1, 1},
    {2, 1},
    {2, 0},
    {3, 0},
}};
constexpr int kAllFourSides = 15;

struct LayerTile {
    int layer;
    std::int32_t tile;
};

// A match above 100 names a tile on another cell layer; one on a layer the cell does
// not have matches nothing.
std::optional<LayerTile> decodeMatch(std::int32_t match, int brushLayer)
{
    if (match <= 100)
        return LayerTile{brushLayer, match};
    const int layer = match / 100;
    if (layer >= kCellLayers)
        return std::nullopt;
    return LayerTile{layer, match - 100 * layer};
}

bool isReplacement(const ConnectorGroup& group, std::int32_t tile)
{
    auto replaces = [tile](const Conversion& c) { return c.tile == tile; };
    return std::any_of(group.first.begin(), group.first.end(), replaces)
           || std::any_of(group.second.begin(), group.second.end(), replaces);
}

bool isPiece(const ConnectorGroup& group, std::int32_t tile)
{
    return std::any_of(group.pieces.begin(), group.pieces.end(),
                       [tile](const GroupPiece& p) { return p.tile == tile; });
}

class ConnectorStroke {
public:
    ConnectorStroke(MapGrid& grid, int layer, const ConnectorGroup& group)
        : edit_(grid), grid_(grid), layer_(layer), group_(group)
    {
    }

    void paint(GridCell cell);
    CellList changedCells() && { return std::move(edit_).changedCells(); }

private:
    std::int32_t tileAt(GridCell cell, int layer) const { return grid_.tile(cell.x, cell.y, layer); }
    const Conversion* matchingConversion(GridCell cell, const ConversionTable& table, LayerTile& matched) const;
    bool convertFirst(GridCell cell);
    bool convertSecond(GridCell cell);
    void joinConnector(GridCell cell);
    int memberMask(GridCell cell) const;

    BrushEdit edit_;
    const MapGrid& grid_;
    int layer_;
    const ConnectorGroup& group_;
};

void ConnectorStroke::paint(GridCell cell)
{
    bool converted = convertFirst(cell);
    converted = isReplacement(group_, tileAt(cell, layer_)) || converted;
    converted = convertSecond(cell) || converted;
    if (!converted)
        joinConnector(cell);
    for (std::size_t d = 0; d < kNeighbourBits.size(); ++d) {
        const GridCell next{cell.x + kNeighbourColumnOffsets[d], cell.y + kNeighbourRowOffsets[d]};
        if (insideGrid(next.x, next.y) && isPiece(group_, tileAt(next, layer_)))
            joinConnector(next);
    }
}

const Conversion* ConnectorStroke::matchingConversion(GridCell cell, const ConversionTable& table,
                                                      LayerTile& matched) const
{
    for (const Conversion& conversion : table) {
        const auto wanted = decodeMatch(conversion.match, layer_);
        if (wanted && tileAt(cell, wanted->layer) == wanted->tile) {
            matched = *wanted;
            return &conversion;
        }
    }
    return nullptr;
}

// A tile of another layer is taken off that layer and replaced on the brush layer,
// turned further by the addend.
bool ConnectorStroke::convertFirst(GridCell cell)
{
    LayerTile matched{};
    const Conversion* conversion = matchingConversion(cell, group_.first, matched);
    if (!conversion)
        return false;
    if (matched.layer != layer_)
        edit_.setTile(cell, matched.layer, emptyTile(matched.layer));
    edit_.setTile(cell, layer_, conversion->tile);
    edit_.setRotation(cell, layer_,
                      quarterTurns(std::int64_t{grid_.rotation(cell.x, cell.y, layer_)} + conversion->rotationAddend));
    return true;
}

// The replacement takes the matched tile's turn plus the addend.
bool ConnectorStroke::convertSecond(GridCell cell)
{
    LayerTile matched{};
    const Conversion* conversion = matchingConversion(cell, group_.second, matched);
    if (!conversion)
        return false;
    const std::int64_t matchedRotation = grid_.rotation(cell.x, cell.y, matched.layer);
    edit_.setTile(cell, matched.layer, emptyTile(matched.layer));
    edit_.setTile(cell, layer_, conversion->tile);
    edit_.setRotation(cell, layer_, quarterTurns(matchedRotation + conversion->rotationAddend));
    return true;
}

// Each member neighbour counts once, however many of the group's tiles it equals.
int ConnectorStroke::memberMask(GridCell cell) const
{
    int mask = 0;
    for (std::size_t d = 0; d < kNeighbourBits.size(); ++d) {
        const GridCell next{cell.x + kNeighbourColumnOffsets[d], cell.y + kNeighbourRowOffsets[d]};
        if (!insideGrid(next.x, next.y))
            continue;
        const std::int32_t tile = tileAt(next, layer_);
        if (isPiece(group_, tile) || isReplacement(group_, tile))
            mask += kNeighbourBits[d];
    }
    return mask;
}

void ConnectorStroke::joinConnector(GridCell cell)
{
    const int mask = memberMask(cell);
    const JoinPiece join = kJoinPieces[mask];
    std::int32_t tile = group_.pieces[join.piece].tile;
    if (mask == kAllFourSides && tile == kNoCrossPiece)
        tile = group_.pieces[2].tile;
    edit_.setTile(cell, layer_, tile);
    edit_.setRotation(cell, layer_, quarterTurns(std::int64_t{group_.pieces[join.piece].rotation} + join.turn));
}

}  // namespace

CellList connectorBrush(MapGrid& grid, int layer, const ConnectorGroup& group, int column, int row)
{
    if (layer < 0 || layer >= kCellLayers || !insideGrid(column, row))
        return {};
    ConnectorStroke stroke(grid, layer, group);
    stroke.paint({column, row});
    return std::move(stroke).changedCells();
}

}  // namespace xemap
