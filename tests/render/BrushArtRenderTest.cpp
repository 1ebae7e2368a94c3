#include "core/editing/ConnectorBrush.h"
#include "core/editing/TerrainBrush.h"
#include "core/tileset/GroupFile.h"
#include "render/TilesetLoader.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

// The default tilesets must fit the brushes: wherever a brush puts two pieces side by
// side, what one draws along the shared side must meet what the other draws there.
namespace xemap {
namespace {

constexpr int kGroupLayer = 2;  // cell layer of the overlay sheet

// Which pixels along one side (0 north, 1 east, 2 south, 3 west) of a tile are drawn.
std::vector<bool> sideProfile(const Tileset& tileset, std::int32_t tile, std::int32_t rotation, int layer, int side)
{
    QImage picture(kTileSize, kTileSize, QImage::Format_RGB32);
    picture.fill(kTransparentColour);
    tileset.FetchTile(picture, tile, rotation, layer);
    std::vector<bool> drawn;
    for (int k = 0, last = kTileSize - 1; k < kTileSize; ++k)
        drawn.push_back(picture.pixel(std::array<QPoint, 4>{{{k, 0}, {last, k}, {k, last}, {0, k}}}[side])
                        != kTransparentColour);
    return drawn;
}

// Every drawn pixel on one side has one within a pixel on the other: a step of one
// pixel at a join is not seen at the zooms that show whole maps.
bool within(const std::vector<bool>& from, const std::vector<bool>& to)
{
    for (int k = 0; k < kTileSize; ++k)
        if (from[k] && !to[k] && !(k > 0 && to[k - 1]) && !(k + 1 < kTileSize && to[k + 1]))
            return false;
    return true;
}

// The profile a cell draws along a side, or none for a cell the brush did not lay.
using Profile = std::function<std::optional<std::vector<bool>>(int x, int y, int side)>;

void expectSeamsMeet(const Profile& profile)
{
    for (int x = 0; x < kMapSize; ++x)
        for (int y = 0; y < kMapSize; ++y)
            for (const auto [dx, dy, side] : {std::array{1, 0, 1}, std::array{0, 1, 2}}) {
                const auto one = profile(x, y, side);
                const auto other = insideGrid(x + dx, y + dy) ? profile(x + dx, y + dy, (side + 2) % 4) : std::nullopt;
                EXPECT_TRUE(!one || !other || (within(*one, *other) && within(*other, *one)))
                    << "between " << x << "," << y << " and " << x + dx << "," << y + dy;
            }
}

// A pond with a bay and a promontory: every edge, outer corner and inner corner.
constexpr GridCell kPond[] = {{4, 4}, {5, 4}, {6, 4}, {7, 4}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5},
                              {4, 6}, {6, 6}, {7, 6}, {8, 6}, {4, 7}, {5, 7}, {6, 7}, {9, 6}, {5, 8}};
// A frame split by a cross wall: corners, T junctions, a crossing and line ends.
constexpr std::array<int, 4> kWalls[] = {{2, 2, 10, 2}, {10, 2, 10, 9}, {2, 9, 10, 9},
                                         {2, 2, 2, 9},  {6, 0, 6, 12},  {0, 5, 13, 5}};

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
        ASSERT_TRUE(problems.empty() && loaded.groups[1].slotCount > 0);
        const Tileset& tileset = loaded.tileset;

        for (std::int32_t terrain = 0; terrain < 100; terrain += 10) {
            SCOPED_TRACE(bases + " terrain " + std::to_string(terrain));
            // The pond lies in the next row's terrain, with no pieces over either yet.
            MapGrid grid;
            for (int i = 0; i < kCellCount; ++i)
                grid.tile(i % kMapSize, i / kMapSize, 0) = (terrain + 10) % 100;
            for (GridCell c : kPond) {
                grid.tile(c.x, c.y, 0) = terrain;
                TerrainBrush(grid, c.x, c.y, 0, terrain);
            }
            expectSeamsMeet([&](int x, int y, int side) -> std::optional<std::vector<bool>> {
                const std::int32_t piece = grid.tile(x, y, 1);
                if (grid.tile(x, y, 0) == terrain)
                    return std::vector<bool>(kTileSize, true);
                if (piece > terrain && piece <= terrain + 3)
                    return sideProfile(tileset, piece, grid.rotation(x, y, 1), 0, side);
                return std::nullopt;
            });
        }

        for (int s = 0; s < loaded.groups[1].connectorCount; ++s) {
            SCOPED_TRACE(overlay + " connector " + std::to_string(s));
            const ConnectorGroup& group = loaded.groups[1].connectors[s];
            MapGrid grid;
            for (const auto [x0, y0, x1, y1] : kWalls)
                for (int x = x0; x <= x1; ++x)
                    for (int y = y0; y <= y1; ++y)
                        connectorBrush(grid, kGroupLayer, group, x, y);
            expectSeamsMeet([&](int x, int y, int side) -> std::optional<std::vector<bool>> {
                const std::int32_t tile = grid.tile(x, y, kGroupLayer);
                if (std::ranges::none_of(group.pieces, [tile](const GroupPiece& p) { return p.tile == tile; }))
                    return std::nullopt;
                return sideProfile(tileset, tile, grid.rotation(x, y, kGroupLayer), 1, side);
            });
        }
    }
}

}  // namespace
}  // namespace xemap
