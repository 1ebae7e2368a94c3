#pragma once

#include <array>
#include <cstdint>

namespace xemap {

enum EditMode : std::int32_t {
    TerrainDrawing = -1,
    NormalDraw = 0,
    RegionSelection = 1,
    FirstGroupBrush = 2,
};

// What a left press on the map does, as the edit mode and the connector flag decide it.
enum class MapTool { Paint, Terrain, Connector, SelectRegion, BoxFill };
// Selection and box fill drag out a rectangle; the other tools paint as the pointer goes.
inline bool dragsRectangle(MapTool tool) { return tool == MapTool::SelectRegion || tool == MapTool::BoxFill; }

struct CellRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const CellRect&) const = default;
};

// Region bounds: first column and row inclusive, end column and row exclusive.
struct Region {
    std::int32_t firstColumn = 0, endColumn = 0, firstRow = 0, endRow = 0;
};

// Neighbour order North, East, South, West, as the brushes walk it.
constexpr std::array<std::int32_t, 4> kNeighbourColumnOffsets{0, 1, 0, -1};
constexpr std::array<std::int32_t, 4> kNeighbourRowOffsets{-1, 0, 1, 0};
constexpr std::array<std::int32_t, 4> kNeighbourBits{1, 2, 4, 8};

// The view and editing state the main window keeps beside the document.
struct EditorState {
    float zoomFactor = 1.0f;
    std::int32_t cellSize = 20;
    std::int32_t quarterCellSize = 5;
    std::int32_t viewColumn = 0, viewRow = 0;
    std::int32_t cursorColumn = 0, cursorRow = 0;
    std::int32_t cursorCellIndex = 0;
    std::int32_t cursorDescriptionIndex = 0;
    std::int32_t lastHoveredColumn = -1, lastHoveredRow = 0;
    std::int32_t currentLayer = 0;
    std::int32_t layerCount = 1;
    std::int32_t editMode = NormalDraw;
    bool connector = false;
    bool oneLayer = false;
    bool showDoors = true;
    bool showLabels = true;
    CellRect tileSource{0, 0, 80, 80};
    bool mouseDown = false;
    Region region;
    bool regionSelected = false;
    CellRect dragRange;
    std::uint32_t cursorColour = 0x800000;  // dark red, as 0xRRGGBB

    bool cursorInsideGrid() const;
    MapTool tool() const;
};

}  // namespace xemap
