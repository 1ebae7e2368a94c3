#include "core/editing/ConnectorBrush.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

using namespace xemap;

namespace {

constexpr int kLayer = 3;
constexpr Conversion kUnused{-1, -1, 0};
constexpr ConversionTable kNoConversions{kUnused, kUnused, kUnused, kUnused};

// Straight 40, corner 41, T 42, cross 43, all drawn at base rotation 0.
ConnectorGroup wall(std::int32_t cross = 43, std::int32_t crossRotation = 0)
{
    return {{{{40, 0}, {41, 0}, {42, 0}, {cross, crossRotation}}}, kNoConversions, kNoConversions};
}

struct Expected {
    int x, y;
    std::int32_t tile, rotation;
};

// Presses along the stroke on a map holding the given {x, y, layer, tile, rotation}.
MapGrid painted(const ConnectorGroup& group, const std::vector<GridCell>& stroke,
                std::initializer_list<std::array<int, 5>> tiles = {})
{
    MapGrid grid;
    for (const auto& [x, y, layer, tile, rotation] : tiles) {
        grid.tile(x, y, layer) = tile;
        grid.rotation(x, y, layer) = rotation;
    }
    for (GridCell cell : stroke)
        connectorBrush(grid, kLayer, group, cell.x, cell.y);
    return grid;
}

void expectCells(const MapGrid& grid, const std::vector<Expected>& cells)
{
    for (const Expected& e : cells) {
        EXPECT_EQ(grid.tile(e.x, e.y, kLayer), e.tile) << "cell " << e.x << "," << e.y;
        EXPECT_EQ(grid.rotation(e.x, e.y, kLayer), e.rotation) << "cell " << e.x << "," << e.y;
    }
}

}  // namespace

TEST(ConnectorBrushTest, JoinsEachCellToItsNeighboursAsTheStrokeGrows)
{
    struct Case {
        const char* name;
        std::vector<GridCell> stroke;
        std::vector<Expected> expected;
    };
    const Case cases[] = {
        {"lone cell", {{5, 5}}, {{5, 5, 40, 0}}},
        {"corner east-south", {{6, 5}, {5, 5}, {5, 6}}, {{5, 5, 41, 0}, {6, 5, 40, 0}, {5, 6, 40, 1}}},
        {"corner north-east", {{5, 4}, {5, 5}, {6, 5}}, {{5, 5, 41, 3}}},
        {"T north-east-south", {{5, 4}, {5, 5}, {5, 6}, {6, 5}}, {{5, 5, 42, 3}}},
        {"T north-east-west", {{4, 5}, {5, 5}, {6, 5}, {5, 4}}, {{5, 5, 42, 2}}},
        {"plus built from its centre",
         {{5, 5}, {5, 4}, {6, 5}, {5, 6}, {4, 5}},
         {{5, 5, 43, 0}, {5, 4, 40, 1}, {6, 5, 40, 0}, {5, 6, 40, 1}, {4, 5, 40, 0}}},
        {"map corner", {{0, 0}, {1, 0}, {0, 1}}, {{0, 0, 41, 0}, {1, 0, 40, 0}, {0, 1, 40, 1}}},
        {"far corner", {{31, 31}, {30, 31}, {31, 30}}, {{31, 31, 41, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectCells(painted(wall(), c.stroke), c.expected);
    }
}

TEST(ConnectorBrushTest, BaseRotationsAndTurnsComeBackIntoZeroToThree)
{
    ConnectorGroup turned = wall();
    turned.pieces[0].rotation = 3;
    turned.pieces[1].rotation = 2;
    expectCells(painted(turned, {{5, 4}, {5, 5}, {6, 5}}), {{5, 4, 40, 0}, {5, 5, 41, 1}, {6, 5, 40, 3}});
    // Without a cross piece a crossing takes the cross's rotation on a T.
    expectCells(painted(wall(kNoCrossPiece, 2), {{5, 4}, {6, 5}, {5, 6}, {4, 5}, {5, 5}}), {{5, 5, 42, 2}});

    // Values from a damaged group file or map neither overflow nor take long to bring round.
    const std::int32_t most = std::numeric_limits<std::int32_t>::max();
    ConnectorGroup huge = wall();
    huge.pieces[0].rotation = most;
    huge.first[0] = {44, 51, most};
    expectCells(painted(huge, {{5, 5}, {7, 7}}, {{5, 5, kLayer, 44, most}}), {{5, 5, 51, 2}, {7, 7, 40, 3}});
}

TEST(ConnectorBrushTest, ConversionTablesTurnMatchedTilesIntoReplacements)
{
    ConnectorGroup group = wall();
    group.first[1] = {205, 50, 1};   // tile 5 on cell layer 2
    group.first[2] = {44, 51, -1};   // tile 44 on the brush layer
    group.second[0] = {150, 60, 2};  // tile 50 on cell layer 1

    const MapGrid other = painted(group, {{5, 5}}, {{5, 5, 2, 5, 0}, {5, 5, kLayer, 0, 3}, {6, 5, kLayer, 40, 0}});
    EXPECT_EQ(other.tile(5, 5, 2), 0) << "the matched layer is emptied";
    expectCells(other, {{5, 5, 50, 0}, {6, 5, 40, 0}});
    expectCells(painted(group, {{5, 5}}, {{5, 5, kLayer, 44, 0}}), {{5, 5, 51, 3}});

    const MapGrid second = painted(group, {{5, 5}}, {{5, 5, 1, 50, 3}, {5, 6, kLayer, 40, 0}});
    EXPECT_EQ(second.tile(5, 5, 1), 99);
    expectCells(second, {{5, 5, 60, 1}, {5, 6, 40, 1}});  // the neighbour joins the gate
    // A replacement already there is not joined over.
    expectCells(painted(group, {{5, 5}}, {{5, 5, kLayer, 60, 2}}), {{5, 5, 60, 2}});

    // A neighbour matching two of the group's tiles counts once: north only makes a
    // north-south straight, not a west-east one.
    group.second[1] = {150, 40, 0};
    expectCells(painted(group, {{5, 5}}, {{5, 4, kLayer, 40, 0}}), {{5, 5, 40, 1}});

    group.first[3] = {950, 70, 0};  // a cell layer the map does not have
    expectCells(painted(group, {{5, 5}}), {{5, 5, 40, 0}});
    MapGrid none;
    EXPECT_TRUE(connectorBrush(none, kLayer, group, 32, 0).empty());
    EXPECT_TRUE(connectorBrush(none, kCellLayers, group, 1, 1).empty());
}
