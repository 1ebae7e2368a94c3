#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>

#include <cstdint>
#include <random>

// Drawing primitives of the default tilesets. Everything is drawn aliased with
// opaque colours, so that magenta stays exactly magenta where a tile is see-through.
namespace xemap::art {

constexpr int kTile = 80;

class Rng {
public:
    explicit Rng(std::uint32_t seed) : engine_(seed) {}
    int range(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
    bool chance(double probability) { return std::uniform_real_distribution<double>(0, 1)(engine_) < probability; }

private:
    std::mt19937 engine_;
};

QColor shade(QRgb colour, int percent);  // 100 keeps the colour, less darkens, more lightens
QColor jitter(QRgb colour, Rng& rng, int spread);

enum class Pattern { Noise, Water, Cobbles, Flagstones, Planks, Rock, Marble, Lava };

struct Terrain {
    QRgb base;
    QRgb speckle;
    QRgb edge;
    Pattern pattern;
};

enum class Decoration { Plain, Pebbles, Cracks, Tufts, Flowers, Moss, Puddle, Bones, Leaves, Ripples };

void paintTerrain(QPainter& p, const Terrain& terrain, Rng& rng);
void paintDecoration(QPainter& p, Decoration decoration, const Terrain& terrain, Rng& rng);
// The darker pixel ring that View > Grid shows around every base tile.
void paintGridRing(QPainter& p);

// Transition pieces as the terrain brush lays them, unturned: terrain in the
// bottom-right corner, along the bottom edge, along the bottom and right edges.
QPainterPath outerCornerRegion();
QPainterPath edgeRegion();
QPainterPath innerCornerRegion();
void paintTerrainPiece(QPainter& p, const Terrain& terrain, const QPainterPath& region, Rng& rng);

// Direction bits of connector arms, as the connector brush counts neighbours.
enum Arm { ArmNorth = 1, ArmEast = 2, ArmSouth = 4, ArmWest = 8 };
enum class ConnectorStyle { StoneWall, WoodFence, Road, Hedge, DungeonWall, IronBars, Carpet };
void paintConnector(QPainter& p, ConnectorStyle style, int arms, Rng& rng);
// A connector piece with a door across its west-east run.
void paintDoorway(QPainter& p, ConnectorStyle style, Rng& rng);

enum class BoxKind { Roof, Bed, Pond, Field, Awning, Rug, Table, Pit, Dais };
struct BoxStyle {
    BoxKind kind;
    QRgb fill;
    QRgb detail;
    QRgb rim;
};
enum class BoxPiece { Interior, Corner, Edge };
void paintBoxPiece(QPainter& p, const BoxStyle& style, BoxPiece piece, Rng& rng);

// Free-standing objects on a transparent tile.
enum class Thing {
    Oak,
    Pine,
    Bush,
    Rock,
    Boulder,
    Flowers,
    Well,
    Barrel,
    Crate,
    LampPost,
    Bench,
    Signpost,
    Cart,
    Haystack,
    Stump,
    LogPile,
    Statue,
    Fountain,
    Bridge,
    Stairs,
    Stall,
    Tent,
    Campfire,
    WoodDoor,
    IronGate,
    Arch,
    Anvil,
    Table,
    Chair,
    Grave,
    Chest,
    Bed,
    Bookshelf,
    Throne,
    Torch,
    Skeleton,
    StairsDown,
    Altar,
    Coffin,
    Pillar,
    Rubble,
    Web,
    Cauldron,
    Candles,
    Trapdoor,
    Lever,
    Banner,
    Mushrooms,
    Crystal,
};
void paintThing(QPainter& p, Thing thing, Rng& rng);

}  // namespace xemap::art

namespace xemap::art {
// The tile with its magenta pixels made transparent, for pictures built from tiles.
QImage keyed(const QImage& tile);
}  // namespace xemap::art
