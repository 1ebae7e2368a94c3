#pragma once

#include <QColor>
#include <QRect>

#include <array>
#include <cstdint>

namespace xemap {

// The six places a door glyph can sit; the Center slot's sign picks one of the last two.
enum DoorPosition { DoorNorth, DoorEast, DoorSouth, DoorWest, DoorCenterHoriz, DoorCenterVert };
constexpr int kDoorPositions = 6;
constexpr int kDoorTypes = 7;

// Left, top, right, bottom in cell-image pixels; right and bottom lie outside.
struct DoorEdges {
    int left, top, right, bottom;
    QRect rect() const { return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)); }
};

struct DoorGlyph {
    DoorEdges bar;
    DoorEdges box;
};

using DoorGeometry = std::array<DoorGlyph, kDoorPositions>;

// In force until the first tileset is loaded by New or Open.
constexpr DoorGeometry kStartupDoorGeometry{{
    {{22, 20, 60, 23}, {34, 16, 48, 26}},
    {{60, 22, 63, 60}, {56, 34, 66, 48}},
    {{22, 60, 60, 63}, {34, 56, 48, 66}},
    {{20, 22, 23, 60}, {16, 34, 26, 48}},
    {{22, 39, 60, 41}, {34, 35, 48, 45}},
    {{39, 22, 41, 60}, {35, 34, 45, 48}},
}};

// Once a tileset is loaded the edge doors move: near the cell border for the second
// tileset, a little further in for every other one.
constexpr DoorGeometry kSecondTilesetDoorGeometry{{
    {{22, 9, 60, 11}, {34, 5, 48, 15}},
    {{69, 22, 71, 60}, {65, 34, 75, 48}},
    {{22, 69, 60, 71}, {34, 65, 48, 75}},
    {{9, 22, 11, 60}, {5, 34, 15, 48}},
    kStartupDoorGeometry[DoorCenterHoriz],
    kStartupDoorGeometry[DoorCenterVert],
}};

constexpr DoorGeometry kOtherTilesetDoorGeometry{{
    {{22, 19, 60, 21}, {34, 15, 48, 25}},
    {{59, 22, 61, 60}, {55, 34, 65, 48}},
    {{22, 59, 60, 61}, {34, 55, 48, 65}},
    {{19, 22, 21, 60}, {15, 34, 25, 48}},
    kStartupDoorGeometry[DoorCenterHoriz],
    kStartupDoorGeometry[DoorCenterVert],
}};

constexpr const DoorGeometry& doorGeometryFor(std::int32_t tilesetIndex)
{
    return tilesetIndex == 1 ? kSecondTilesetDoorGeometry : kOtherTilesetDoorGeometry;
}

struct DoorColours {
    QRgb pen;
    QRgb fill;
};

// Door types 1 to 7.
constexpr std::array<DoorColours, kDoorTypes> kDoorColours{{
    {0xff000000, 0xffffffff},
    {0xff000000, 0xff000000},
    {0xff000000, 0xffc0c0c0},
    {0xff000000, 0xff008000},
    {0xff000000, 0xff808080},
    {0xff808080, 0xff808080},
    {0xff000000, 0xffffff00},
}};

}  // namespace xemap
