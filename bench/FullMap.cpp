#include "FullMap.h"

#include <string>

namespace xemap {

namespace {

template <class Record>
std::shared_ptr<Record> named(const std::string& name)
{
    auto record = std::make_shared<Record>();
    record->name = name;
    record->script = name + "_script";
    record->text = {"A line of notes about " + name + ".", "And a second one."};
    return record;
}

}  // namespace

// Every cell layer painted, doors on every fourth cell, 200 descriptions with records.
MapDocument fullMap()
{
    MapDocument document;
    document.mapName = "Benchmark Keep";
    for (int x = 0; x < kMapSize; ++x)
        for (int y = 0; y < kMapSize; ++y) {
            for (int layer = 0; layer < kCellLayers; ++layer) {
                document.grid.tile(x, y, layer) = 1 + (x * 13 + y * 7 + layer) % 98;
                document.grid.rotation(x, y, layer) = (x + y + layer) % 4;
            }
            if ((x + y) % 4 == 0)
                for (int slot = 0; slot < kDoorSlots; ++slot)
                    document.grid.door(x, y, slot) = slot == Center ? -((x + slot) % 8) : (y + slot) % 8;
        }
    for (int i = 0; i < 200; ++i) {
        auto tile = std::make_shared<XETile>();
        tile->cellIndex = i * 5;
        tile->shortName = "Place " + std::to_string(i);
        tile->areaText = {"The first line of the area description.", "A second line.", "A third line."};
        auto npc = named<XENPC>("Guard");
        npc->align = "Lawful Neutral", npc->race = "Human", npc->npcClass = "Fighter";
        auto item = named<XEItem>("Torch");
        item->value = "1 gp", item->moveable = true;
        auto portal = named<XEPortal>("Stairs");
        portal->location = "Stairs down", portal->targetMap = "cellar.xem", portal->targetTile = "12";
        tile->npcs = {npc, npc}, tile->creatures = {named<XECreature>("Rat")}, tile->items = {item};
        tile->events = {named<XEEvent>("Ambush")}, tile->portals = {portal};
        document.descriptions.append(tile);
    }
    return document;
}

}  // namespace xemap
