#include "core/compare/MapWords.h"

#include "core/compare/ShownText.h"
#include "core/document/MapGrid.h"

#include <cstdlib>

namespace xemap {

namespace {

constexpr std::array<std::string_view, 8> kDoorTypes{"No Door",     "Door",         "Locked Door", "Hidden Door",
                                                     "Secret Door", "One-way Door", "False Door",  "Triggered Door"};
constexpr std::array<std::string_view, kDoorSlots> kDoorSlotNames{"North", "East", "South", "West", "Center"};
constexpr std::array<std::string_view, kCellLayers> kLayerNames{"base",    "base overlay", "layer 1",
                                                                "layer 2", "layer 3",      "layer 4"};

}  // namespace

std::string cellName(int cellIndex)
{
    if (cellIndex < 0 || cellIndex >= kCellCount)
        return "detached";
    const GridCell cell = gridCellOf(cellIndex);
    return "cell (" + std::to_string(cell.x + 1) + ", " + std::to_string(cell.y + 1) + ")";
}

std::string descriptionName(const DescriptionKey& key)
{
    if (key.cellIndex < 0 || key.cellIndex >= kCellCount)
        return "detached description " + std::to_string(key.ordinal + 1);
    std::string name = cellName(key.cellIndex) + " description";
    if (key.ordinal > 0)
        name += ' ' + std::to_string(key.ordinal + 1);
    return name;
}

std::string_view layerName(int cellLayer) { return kLayerNames.at(cellLayer); }

std::string layerWords(int cellLayer, std::int32_t tile, std::int32_t rotation)
{
    // The base is always drawn: its tile 0 is a tile like any other.
    std::string words = cellLayer > 0 && tile == emptyTile(cellLayer) ? "empty" : "tile " + std::to_string(tile);
    if (rotation >= 1 && rotation <= 3)
        words += " rotated " + std::to_string(90 * rotation) + "°";
    else if (rotation != 0)
        words += " rotation " + std::to_string(rotation);
    return words;
}

std::string doorSlotName(int slot) { return std::string(kDoorSlotNames.at(slot)) + " door"; }

std::string doorWords(int slot, std::int32_t value)
{
    const std::int32_t type = slot == Center && value != INT32_MIN ? std::abs(value) : value;
    if (type < 0 || type >= static_cast<std::int32_t>(kDoorTypes.size()))
        return "door value " + std::to_string(value);
    std::string words(kDoorTypes[type]);
    if (slot == Center && value != 0)
        words += value > 0 ? " (Center Horiz)" : " (Center Vert)";
    return words;
}

std::string quoted(std::string_view bytes) { return '"' + shownText(bytes) + '"'; }

std::string quoted(const StringList& lines)
{
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i)
        joined += (i ? "\n" : "") + lines[i];
    return quoted(joined);
}

std::string fieldWords(const std::string& value) { return quoted(value); }
std::string fieldWords(const StringList& lines) { return quoted(lines); }
std::string fieldWords(bool moveable) { return moveable ? "yes" : "no"; }

}  // namespace xemap
