#pragma once

#include "ArtKit.h"

namespace xemap::art {

// Direction bits of connector arms, as the connector brush counts neighbours.
enum Arm { ArmNorth = 1, ArmEast = 2, ArmSouth = 4, ArmWest = 8 };
enum class ConnectorStyle { StoneWall, WoodFence, Road, Hedge, DungeonWall, IronBars, Carpet };
void paintConnector(QPainter& p, ConnectorStyle style, int arms, Rng& rng);
// A connector piece with a door across its west-east run.
void paintDoorway(QPainter& p, ConnectorStyle style, Rng& rng);

}  // namespace xemap::art
