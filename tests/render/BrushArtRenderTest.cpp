#include "core/editing/ConnectorBrush.h"
#include "core/editing/TerrainBrush.h"
#include "core/tileset/GroupFile.h"
#include "render/TilesetLoader.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// The default tilesets must fit the brushes: wherever a brush puts two pieces side by
// side, what one draws along the shared side must meet what the other draws there.
namespace xemap {
namespace {

constexpr int kGroupLayer = 2;  // cell layer of the overlay sheet

// Which pixels along one side (0 north, 1 east, 2 south, 3 west) of a cell's tile on
// one tileset layer are drawn; none for a tile that draws nothing.
std::vector<bool> sideProfile(const Tileset& tileset, std::int32_t tile, std::int32_t rotation, int layer, int side)
{
    QImage picture(kTileSize, kTileSize, QImage::Format_RGB32);
    picture.fill(kTransparentColour);
    tileset.FetchTile(picture, tile, rotation, layer);
    std::vector<bool> drawn;
    for (int k = 0, last = kTileSize - 1; k < kTileSize; ++k) {
        const QPoint along[] = {{k, 0}, {last, k}, {k, last}, {0, k}};
        drawn.push_back(picture.pixel(along[side]) != kTransparentColour);
    }
    return drawn;
}

// Every drawn pixel on one side has one within a pixel on the other: a step of one
// pixel at a join is not seen at the zooms that show whole maps.
bool within(const std::vector<bool>& from, const std::vector<bool>& to)
{
    for (std::size_t k = 0; k < from.size(); ++k)
        if (from[k] && !to[k] && !(k > 0 && to[k - 1]) && !(k + 1 < to.size() && to[k + 1]))
            return false;
    return true;
}

// For every east and south neighbour pair whose cells both pass `counts`: the profiles
// each draws along the side they share meet.
void expectSeamsMeet(const auto& counts, const auto& profile)
{
    for (int x = 0; x < kMapSize; ++x)
        for (int y = 0; y < kMapSize; ++y)
            for (const auto [dx, dy, side] : {std::array{1, 0, 1}, std::array{0, 1, 2}})
                if (insideGrid(x + dx, y + dy) && counts(x, y) && counts(x + dx, y + dy)) {
                    const auto one = profile(x, y, side), other = profile(x + dx, y + dy, (side + 2) % 4);
                    EXPECT_TRUE(within(one, other) && within(other, one))
                        << "between " << x << "," << y << " and " << x + dx << "," << y + dy;
                }
}

// A pond with a bay and a promontory: every edge, outer corner and inner corner.
constexpr GridCell kPond[] = {{4, 4}, {5, 4}, {6, 4}, {7, 4}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5},
                              {4, 6}, {6, 6}, {7, 6}, {8, 6}, {4, 7}, {5, 7}, {6, 7}, {9, 6}, {5, 8}};

TEST(BrushArtTest, TerrainAndConnectorPiecesMeetAtEverySeam)
{
    const TilesetLoader loader(QCoreApplication::applicationDirPath().toStdString());
    using Names = std::pair<std::string, std::string>;
    for (const auto& [bases, overlay] : {Names{"outdoor_bases", "city_layer"}, Names{"indoor_bases", "indoor_layer"}}) {
        TilesetData loaded;
        TilesetProblems problems;
        ASSERT_TRUE(
            loader.load({"", {"tilesets/" + bases + ".bmp", "tilesets/" + overlay + ".bmp", "null", "null", "null"}},
                        loaded, problems));
        ASSERT_TRUE(problems.empty()) << problems.front().fault.describe();
        const Tileset& tileset = loaded.tileset;
        const LayerGroups& groups = loaded.groups[1];
        ASSERT_GT(groups.slotCount, 0);

        for (int row = 0; row < 10; ++row) {
            SCOPED_TRACE(bases + " terrain row " + std::to_string(row));
            const std::int32_t terrain = 10 * row;
            // The pond lies in the next row's terrain, with no pieces over either yet.
            MapGrid grid;
            for (int x = 0; x < kMapSize; ++x)
                for (int y = 0; y < kMapSize; ++y)
                    grid.tile(x, y, 0) = 10 * ((row + 1) % 10);
            for (GridCell c : kPond) {
                grid.tile(c.x, c.y, 0) = terrain;
                TerrainBrush(grid, c.x, c.y, 0, terrain);
            }
            auto near = [&](int x, int y) {
                return grid.tile(x, y, 0) == terrain
                       || (grid.tile(x, y, 1) > terrain && grid.tile(x, y, 1) <= terrain + 3);
            };
            expectSeamsMeet(near, [&](int x, int y, int side) {
                if (grid.tile(x, y, 0) == terrain)
                    return std::vector<bool>(kTileSize, true);
                return sideProfile(tileset, grid.tile(x, y, 1), grid.rotation(x, y, 1), 0, side);
            });
        }

        for (int s = 0; s < groups.connectorCount; ++s) {
            SCOPED_TRACE(overlay + " connector " + std::to_string(s));
            const ConnectorGroup& group = groups.connectors[s];
            MapGrid grid;
            // A frame split by a cross wall: corners, T junctions, a crossing and line ends.
            const GridCell lines[][2] = {{{2, 2}, {10, 2}}, {{10, 2}, {10, 9}}, {{10, 9}, {2, 9}},
                                         {{2, 9}, {2, 2}},  {{6, 0}, {6, 12}},  {{0, 5}, {13, 5}}};
            for (const auto& [from, to] : lines) {
                const int dx = (to.x > from.x) - (to.x < from.x), dy = (to.y > from.y) - (to.y < from.y);
                for (GridCell c = from; c != GridCell{to.x + dx, to.y + dy}; c = {c.x + dx, c.y + dy})
                    connectorBrush(grid, kGroupLayer, group, c.x, c.y);
            }
            auto isPiece = [&](int x, int y) {
                const std::int32_t tile = grid.tile(x, y, kGroupLayer);
                return std::ranges::any_of(group.pieces, [tile](const GroupPiece& p) { return p.tile == tile; });
            };
            expectSeamsMeet(isPiece, [&](int x, int y, int side) {
                return sideProfile(tileset, grid.tile(x, y, kGroupLayer), grid.rotation(x, y, kGroupLayer), 1, side);
            });
        }
    }
}

}  // namespace
}  // namespace xemap
