#pragma once

#include "ArtKit.h"

#include <QPainterPath>

// Base tiles: terrains, their decorations and the transition pieces the terrain brush lays.
namespace xemap::art {

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

}  // namespace xemap::art
