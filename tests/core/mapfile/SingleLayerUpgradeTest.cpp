#include "core/mapfile/SingleLayerUpgrade.h"
#include "core/mapfile/MapReader.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

using namespace xemap;

using namespace xemap::testing;

using Layers = std::array<int, 6>;  // tile and rotation of cell layers 0, 1 and 2

Layers converted(int tilesetIndex, int oldTile, int oldRotation, int layerCount = 6)
{
    MapGrid grid;
    convertSingleLayerCell(grid, tilesetIndex, 3, 4, oldTile, oldRotation, layerCount);
    return {grid.tile(3, 4, 0),     grid.rotation(3, 4, 0), grid.tile(3, 4, 1),
            grid.rotation(3, 4, 1), grid.tile(3, 4, 2),     grid.rotation(3, 4, 2)};
}

// Samples of each table, with the old rotation 1: "+k" gives (1 + k) mod 4.
TEST(SingleLayerUpgrade, ConvertsTilesAsEachTableSays)
{
    // Tileset index, old tile, and the layers it gives.
    const std::tuple<int, int, Layers> cases[] = {
        {0, 7, {10, 1, 99, 1, 7, 1}},  {4, 18, {0, 1, 99, 1, 50, 2}}, {0, 29, {0, 1, 41, 3, 0, 1}},
        {0, 92, {10, 1, 99, 1, 0, 1}}, {1, 5, {50, 1, 99, 0, 0, 1}},  {3, 58, {0, 1, 61, 3, 0, 1}},
        {2, 1, {0, 1, 31, 0, 0, 1}},   {2, 31, {0, 1, 99, 1, 41, 3}},
    };
    for (const auto& [tileset, oldTile, expected] : cases)
        EXPECT_EQ(converted(tileset, oldTile, 1), expected) << "tileset " << tileset << " tile " << oldTile;

    // Tileset 1, old tile 14 at rotation 2 with four layers: only layers 0 to 3 turn.
    MapGrid grid;
    convertSingleLayerCell(grid, 1, 0, 0, 14, 2, 4);
    EXPECT_EQ(converted(1, 14, 2, 4), (Layers{0, 2, 52, 1, 55, 3}));
    EXPECT_EQ((std::array{grid.rotation(0, 0, 3), grid.rotation(0, 0, 4), grid.rotation(0, 0, 5)}),
              (std::array{2, 0, 0}));
}

TEST(SingleLayerUpgrade, LeavesUnlistedTilesEmptyWithTheirRotation)
{
    const std::pair<int, int> unlisted[] = {{0, 8}, {0, 100}, {0, -5}, {1, 59}, {2, 5}, {5, 1}, {-1, 1}};
    for (auto [tileset, oldTile] : unlisted)
        EXPECT_EQ(converted(tileset, oldTile, 3, 3), (Layers{0, 3, 99, 3, 0, 3}))
            << "tileset " << tileset << " tile " << oldTile;
    // An old rotation kept as read, however large, never overflows the turn.
    EXPECT_EQ(converted(0, 18, 2147483647)[5], 0);
}

TEST(SingleLayerUpgrade, UpgradesASingleLayerFileOnlyWhenConfirmed)
{
    const auto bytes = fileBytes(testData("legacy/single_layer.xem"));
    int asked = 0;
    ReadOptions options;
    options.layerCount = 3;
    options.confirmUpgrade = [&] { return ++asked, true; };
    const auto result = readMap(bytes, options);
    ASSERT_TRUE(result.ok()) << result.fault().reason;
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(result->singleLayer && !result->hasMapNameLine);
    const auto& grid = result->document.grid;
    EXPECT_EQ(grid.tile(0, 0, 1), 52) << "converted by the table of the file's tileset index 1";
    EXPECT_EQ(grid.door(0, 1, Center), -2);
    EXPECT_EQ(grid.tile(31, 31, 0), 10);
    EXPECT_EQ(result->document.descriptions.at(0)->shortName, "Old Ford");

    options.confirmUpgrade = [] { return false; };
    EXPECT_EQ(readMap(bytes, options).fault().kind, Fault::Kind::Declined);
    options.confirmUpgrade = [&] { return ++asked, false; };
    EXPECT_TRUE(readMap(fileBytes(testData("maps/crossroads.xem")), options).ok());
    EXPECT_EQ(asked, 1) << "a layered file is never asked about";
}
