#include "core/compare/ShowMap.h"

#include "core/compare/DescriptionMatch.h"
#include "core/compare/MapWords.h"

namespace xemap {

namespace {

void showCell(std::string& out, const MapGrid& grid, int cell)
{
    const auto [x, y] = gridCellOf(cell);
    std::string parts;
    const auto add = [&parts](const std::string& part) { parts += (parts.empty() ? "" : "; ") + part; };
    for (int layer = 0; layer < kCellLayers; ++layer)
        if (!grid.layerEmpty(x, y, layer) || grid.rotation(x, y, layer) != 0)
            add(std::string(layerName(layer)) + " "
                + layerWords(layer, grid.tile(x, y, layer), grid.rotation(x, y, layer)));
    for (int slot = 0; slot < kDoorSlots; ++slot)
        if (grid.door(x, y, slot) != 0)
            add(doorSlotName(slot) + " " + doorWords(slot, grid.door(x, y, slot)));
    if (!parts.empty())
        out += cellName(cell) + ": " + parts + '\n';
}

template <class Record>
void showRecord(std::string& out, const Record& record)
{
    out += "  " + recordName(record);
    forEachRecordField<Record>([&](std::string_view label, auto member) {
        out += ", " + std::string(label) + " " + fieldWords(record.*member);
    });
    out += '\n';
}

void showDescription(std::string& out, const XETile& tile, int position, const DescriptionKey& key)
{
    out += "location ID " + std::to_string(locationIdOf(position)) + ": " + descriptionName(key) + '\n';
    out += "  short name " + quoted(tile.shortName) + '\n';
    out += "  area text " + quoted(tile.areaText) + '\n';
    forEachRecordKind([&](auto kind) {
        for (const auto& record : tile.*kind.records)
            showRecord(out, *record);
    });
}

}  // namespace

std::string showMap(const MapDocument& document)
{
    std::string out = "map name " + quoted(document.mapName) + '\n';
    out += "tileset " + std::to_string(document.tilesetIndex) + '\n';
    for (int cell = 0; cell < kCellCount; ++cell)
        showCell(out, document.grid, cell);
    const auto keys = descriptionKeys(document.descriptions);
    for (int position = 0; position < document.descriptions.size(); ++position)
        showDescription(out, *document.descriptions.at(position), position, keys[position]);
    return out;
}

}  // namespace xemap
