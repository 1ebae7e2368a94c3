#include "core/editing/BoxFill.h"

#include <gtest/gtest.h>

using namespace xemap;

namespace {

constexpr int kLayer = 2;
constexpr std::int32_t kMarker = 77;

// Interior 30, corner 31, edge 32, as a group file would give them.
BoxGroup house(std::int32_t interior = 30, std::int32_t cornerRotation = 0)
{
    return BoxGroup{{{{interior, 0}, {31, cornerRotation}, {32, 0}, {33, 0}}}};
}

struct Expected {
    int x, y;
    std::int32_t tile, rotation;
};

void expectCells(const MapGrid& grid, std::initializer_list<Expected> cells)
{
    for (const Expected& e : cells) {
        EXPECT_EQ(grid.tile(e.x, e.y, kLayer), e.tile) << "cell " << e.x << "," << e.y;
        EXPECT_EQ(grid.rotation(e.x, e.y, kLayer), e.rotation) << "cell " << e.x << "," << e.y;
    }
}

}  // namespace

TEST(BoxFillTest, FramesTheBorderAndKeepsATransparentInterior)
{
    MapGrid grid;
    grid.fill(kMarker);
    boxFill(grid, kLayer, house(0), 10, 14, 20, 23);
    expectCells(grid, {{10, 20, 31, 0}, {12, 20, 32, 0}, {14, 20, 31, 1}, {10, 21, 32, 3}});
    expectCells(grid, {{14, 22, 32, 1}, {10, 23, 31, 3}, {11, 23, 32, 2}, {14, 23, 31, 2}});
    EXPECT_EQ(grid.tile(11, 21, kLayer), kMarker);
    EXPECT_EQ(grid.tile(13, 22, kLayer), kMarker);
    // The same box again changes nothing, yet every framed cell is given to be redrawn.
    EXPECT_EQ(boxFill(grid, kLayer, house(0), 10, 14, 20, 23).size(), 14u);

    boxFill(grid, kLayer, house(30), 10, 14, 20, 23);
    expectCells(grid, {{12, 21, 30, 0}});
}

TEST(BoxFillTest, BoxesDraggedPastAnEdgeEndAtTheGrid)
{
    MapGrid grid;
    EXPECT_EQ(boxFill(grid, kLayer, house(), 29, 40, 5, 6).size(), 6u);
    expectCells(grid, {{29, 5, 31, 0}, {30, 5, 32, 0}, {31, 5, 31, 1}, {31, 6, 31, 2}});

    // Corners drawn turned are turned further to their places.
    MapGrid negative;
    boxFill(negative, kLayer, house(30, 2), -3, 1, -1, 1);
    expectCells(negative, {{0, 0, 31, 2}, {1, 0, 31, 3}, {0, 1, 31, 1}, {1, 1, 31, 0}});

    MapGrid outside;
    EXPECT_TRUE(boxFill(outside, kLayer, house(), 32, 40, 0, 3).empty());
    EXPECT_TRUE(boxFill(outside, kCellLayers, house(), 0, 3, 0, 3).empty());
    EXPECT_EQ(outside, MapGrid{});
}
