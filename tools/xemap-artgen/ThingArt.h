#pragma once

#include "TerrainArt.h"

namespace xemap::art {

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
