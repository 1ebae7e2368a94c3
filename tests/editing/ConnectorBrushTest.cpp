#include "editing/ConnectorBrush.h"

#include <gtest/gtest.h>

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

void paintStroke(MapGrid& grid, const ConnectorGroup& group, const std::vector<GridCell>& stroke)
{
    for (GridCell cell : stroke)
        connectorBrush(grid, kLayer, group, cell.x, cell.y);
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
        ConnectorGroup group;
        std::vector<GridCell> stroke;
        std::vector<Expected> expected;
    };
    const Case cases[] = {
        {"lone cell", wall(), {{5, 5}}, {{5, 5, 40, 0}}},
        {"west to east", wall(), {{5, 5}, {6, 5}, {7, 5}}, {{5, 5, 40, 0}, {6, 5, 40, 0}, {7, 5, 40, 0}}},
        {"north to south", wall(), {{5, 4}, {5, 5}, {5, 6}}, {{5, 4, 40, 1}, {5, 5, 40, 1}, {5, 6, 40, 1}}},
        {"corner east-south", wall(), {{6, 5}, {5, 5}, {5, 6}}, {{5, 5, 41, 0}, {6, 5, 40, 0}, {5, 6, 40, 1}}},
        {"corner north-east", wall(), {{5, 4}, {5, 5}, {6, 5}}, {{5, 5, 41, 3}}},
        {"corner north-west", wall(), {{5, 4}, {5, 5}, {4, 5}}, {{5, 5, 41, 2}}},
        {"corner south-west", wall(), {{5, 6}, {5, 5}, {4, 5}}, {{5, 5, 41, 1}}},
        {"T north-east-south", wall(), {{5, 4}, {5, 5}, {5, 6}, {6, 5}}, {{5, 5, 42, 3}}},
        {"T east-south-west", wall(), {{4, 5}, {5, 5}, {6, 5}, {5, 6}}, {{5, 5, 42, 0}}},
        {"T north-south-west", wall(), {{5, 4}, {5, 5}, {5, 6}, {4, 5}}, {{5, 5, 42, 1}}},
        {"T north-east-west", wall(), {{4, 5}, {5, 5}, {6, 5}, {5, 4}}, {{5, 5, 42, 2}}},
        {"plus built from its centre",
         wall(),
         {{5, 5}, {5, 4}, {6, 5}, {5, 6}, {4, 5}},
         {{5, 5, 43, 0}, {5, 4, 40, 1}, {6, 5, 40, 0}, {5, 6, 40, 1}, {4, 5, 40, 0}}},
        {"plus without a cross piece", wall(kNoCrossPiece, 2), {{5, 4}, {6, 5}, {5, 6}, {4, 5}, {5, 5}},
         {{5, 5, 42, 2}}},
        {"map corner", wall(), {{0, 0}, {1, 0}, {0, 1}}, {{0, 0, 41, 0}, {1, 0, 40, 0}, {0, 1, 40, 1}}},
        {"far corner", wall(), {{31, 31}, {30, 31}, {31, 30}}, {{31, 31, 41, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapGrid grid;
        paintStroke(grid, c.group, c.stroke);
        expectCells(grid, c.expected);
    }
}

TEST(ConnectorBrushTest, BaseRotationsAndTurnsComeBackIntoZeroToThree)
{
    ConnectorGroup turned = wall();
    turned.pieces[0].rotation = 3;
    turned.pieces[1].rotation = 2;
    MapGrid grid;
    paintStroke(grid, turned, {{5, 4}, {5, 5}, {6, 5}});
    expectCells(grid, {{5, 4, 40, 0}, {5, 5, 41, 1}, {6, 5, 40, 3}});

    // Values from a damaged group file or map neither overflow nor take long to bring round.
    ConnectorGroup huge = wall();
    huge.pieces[0].rotation = std::numeric_limits<std::int32_t>::max();
    huge.first[0] = {44, 51, std::numeric_limits<std::int32_t>::max()};
    MapGrid extreme;
    extreme.tile(5, 5, kLayer) = 44;
    extreme.rotation(5, 5, kLayer) = std::numeric_limits<std::int32_t>::max();
    connectorBrush(extreme, kLayer, huge, 5, 5);
    connectorBrush(extreme, kLayer, huge, 7, 7);
    expectCells(extreme, {{5, 5, 51, 2}, {7, 7, 40, 3}});
}

TEST(ConnectorBrushTest, NeighbourMatchingTwoOfTheGroupsTilesCountsOnce)
{
    ConnectorGroup group = wall();
    group.second[0] = {150, 40, 0};  // a replacement that is also the straight piece
    MapGrid grid;
    grid.tile(5, 4, kLayer) = 40;
    connectorBrush(grid, kLayer, group, 5, 5);
    // North only: a north-south straight, not a west-east one.
    expectCells(grid, {{5, 5, 40, 1}});
}

TEST(ConnectorBrushTest, ConversionTablesTurnMatchedTilesIntoReplacements)
{
    ConnectorGroup group = wall();
    group.first[1] = {205, 50, 1};   // tile 5 on cell layer 2
    group.first[2] = {44, 51, -1};   // tile 44 on the brush layer
    group.second[0] = {150, 60, 2};  // tile 50 on cell layer 1

    MapGrid other;
    other.tile(5, 5, 2) = 5;
    other.rotation(5, 5, kLayer) = 3;
    other.tile(6, 5, kLayer) = 40;
    connectorBrush(other, kLayer, group, 5, 5);
    EXPECT_EQ(other.tile(5, 5, 2), 0) << "the matched layer is emptied";
    expectCells(other, {{5, 5, 50, 0}, {6, 5, 40, 0}});

    MapGrid same;
    same.tile(5, 5, kLayer) = 44;
    connectorBrush(same, kLayer, group, 5, 5);
    expectCells(same, {{5, 5, 51, 3}});

    MapGrid second;
    second.tile(5, 5, 1) = 50;
    second.rotation(5, 5, 1) = 3;
    second.tile(5, 6, kLayer) = 40;
    connectorBrush(second, kLayer, group, 5, 5);
    EXPECT_EQ(second.tile(5, 5, 1), 99);
    expectCells(second, {{5, 5, 60, 1}, {5, 6, 40, 1}});  // the neighbour joins the gate

    MapGrid kept;
    kept.tile(5, 5, kLayer) = 60;
    kept.rotation(5, 5, kLayer) = 2;
    connectorBrush(kept, kLayer, group, 5, 5);
    expectCells(kept, {{5, 5, 60, 2}});  // a replacement already there is not joined over

    group.first[3] = {950, 70, 0};  // a cell layer the map does not have
    MapGrid none;
    connectorBrush(none, kLayer, group, 5, 5);
    expectCells(none, {{5, 5, 40, 0}});
}

TEST(ConnectorBrushTest, ReportsExactlyTheCellsItChanged)
{
    MapGrid grid;
    EXPECT_EQ(connectorBrush(grid, kLayer, wall(), 5, 5), (CellList{{5, 5}}));
    EXPECT_EQ(connectorBrush(grid, kLayer, wall(), 5, 6), (CellList{{5, 6}, {5, 5}}));
    EXPECT_TRUE(connectorBrush(grid, kLayer, wall(), 5, 6).empty());
    EXPECT_TRUE(connectorBrush(grid, kLayer, wall(), 32, 0).empty());
    EXPECT_TRUE(connectorBrush(grid, kCellLayers, wall(), 1, 1).empty());
}
