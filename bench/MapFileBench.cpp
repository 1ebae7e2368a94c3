// Map file write and read of a full map with 200 descriptions (target: under 10 ms
// each), and the listing of those descriptions (target: under 5 ms).
#include "mapfile/MapReader.h"
#include "mapfile/MapWriter.h"
#include "output/Listing.h"

#include <benchmark/benchmark.h>

namespace {

using namespace xemap;

template <class Record>
std::shared_ptr<Record> named(const std::string& name)
{
    auto record = std::make_shared<Record>();
    record->name = name;
    record->script = name + "_script";
    record->text = {"A line of notes about " + name + ".", "And a second one."};
    return record;
}

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

void BM_WriteMap(benchmark::State& state)
{
    const MapDocument document = fullMap();
    for (auto _ : state)
        benchmark::DoNotOptimize(writeMap(document));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(writeMap(document).size()));
}
BENCHMARK(BM_WriteMap)->Unit(benchmark::kMillisecond);

void BM_ReadMap(benchmark::State& state)
{
    const std::string text = writeMap(fullMap());
    for (auto _ : state)
        benchmark::DoNotOptimize(readMap(text));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadMap)->Unit(benchmark::kMillisecond);

void BM_Listing(benchmark::State& state)
{
    MapDocument document = fullMap();
    for (auto _ : state)
        benchmark::DoNotOptimize(listingText(document.descriptions));
}
BENCHMARK(BM_Listing)->Unit(benchmark::kMillisecond);

}  // namespace
