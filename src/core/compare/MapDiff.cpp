#include "core/compare/MapDiff.h"

#include "core/compare/DescriptionMatch.h"
#include "core/compare/MapWords.h"

#include <algorithm>
#include <set>

namespace xemap {

namespace {

std::string change(const std::string& before, const std::string& after) { return before + " → " + after; }

class Differ {
public:
    explicit Differ(std::vector<MapDifference>& out) : out_(out) {}

    void grid(const MapGrid& a, const MapGrid& b);
    void descriptions(const DescriptionList& a, const DescriptionList& b);
    void add(int cellIndex, ChangeKind kind, std::string text) { out_.push_back({cellIndex, kind, std::move(text)}); }

private:
    void description(const XETile& a, const XETile& b, const std::string& where);
    template <class Record>
    void records(const RecordList<Record>& a, const RecordList<Record>& b, const std::string& where);
    template <class Record>
    void recordFields(const Record& a, const Record& b, const std::string& where);

    std::vector<MapDifference>& out_;
    int cell_ = 0;
};

void Differ::grid(const MapGrid& a, const MapGrid& b)
{
    for (int cell = 0; cell < kCellCount; ++cell) {
        const auto [x, y] = gridCellOf(cell);
        for (int layer = 0; layer < kCellLayers; ++layer) {
            const auto ta = a.tile(x, y, layer), ra = a.rotation(x, y, layer);
            const auto tb = b.tile(x, y, layer), rb = b.rotation(x, y, layer);
            if (ta != tb || ra != rb)
                add(cell, ChangeKind::Tiles,
                    cellName(cell) + " " + std::string(layerName(layer)) + ": "
                        + change(layerWords(layer, ta, ra), layerWords(layer, tb, rb)));
        }
        for (int slot = 0; slot < kDoorSlots; ++slot)
            if (a.door(x, y, slot) != b.door(x, y, slot))
                add(cell, ChangeKind::Doors,
                    cellName(cell) + " " + doorSlotName(slot) + ": "
                        + change(doorWords(slot, a.door(x, y, slot)), doorWords(slot, b.door(x, y, slot))));
    }
}

template <class Record>
void Differ::recordFields(const Record& a, const Record& b, const std::string& where)
{
    forEachRecordField<Record>([&](std::string_view label, auto member) {
        if (a.*member != b.*member)
            add(cell_, ChangeKind::Descriptions,
                where + ": " + std::string(label) + " " + change(fieldWords(a.*member), fieldWords(b.*member)));
    });
}

// Records of a that b lacks are removed, records of b that a lacks added, in list order.
template <class Record>
void Differ::records(const RecordList<Record>& a, const RecordList<Record>& b, const std::string& where)
{
    const auto match = matchRecords(a, b);
    std::size_t next = 0;  // the first record of a not yet passed
    const auto removeUpTo = [&](std::size_t end) {
        for (; next < end; ++next)
            add(cell_, ChangeKind::Descriptions, where + ": " + recordName(*a[next]) + " removed");
    };
    for (std::size_t j = 0; j < b.size(); ++j) {
        if (!match[j]) {
            add(cell_, ChangeKind::Descriptions, where + ": " + recordName(*b[j]) + " added");
            continue;
        }
        removeUpTo(*match[j]);
        if (!(*a[next] == *b[j]))
            recordFields(*a[next], *b[j], where + ": " + recordName(*b[j]));
        ++next;
    }
    removeUpTo(a.size());
}

void Differ::description(const XETile& a, const XETile& b, const std::string& where)
{
    if (a.shortName != b.shortName)
        add(cell_, ChangeKind::Descriptions,
            where + ": short name " + change(quoted(a.shortName), quoted(b.shortName)));
    if (a.areaText != b.areaText)
        add(cell_, ChangeKind::Descriptions, where + ": area text " + change(quoted(a.areaText), quoted(b.areaText)));
    forEachRecordKind([&](auto kind) { records(a.*kind.records, b.*kind.records, where); });
}

void Differ::descriptions(const DescriptionList& a, const DescriptionList& b)
{
    const auto keysA = descriptionKeys(a), keysB = descriptionKeys(b);
    const auto positionsA = keyPositions(keysA), positionsB = keyPositions(keysB);
    std::set<DescriptionKey> all(keysA.begin(), keysA.end());
    all.insert(keysB.begin(), keysB.end());
    for (const DescriptionKey& key : all) {
        cell_ = key.cellIndex;
        const std::string where = descriptionName(key);
        const auto inA = positionsA.find(key), inB = positionsB.find(key);
        if (inB == positionsB.end()) {
            const XETile& gone = *a.at(inA->second);
            add(cell_, ChangeKind::Descriptions,
                where + " " + quoted(gone.shortName) + " removed (location ID "
                    + std::to_string(locationIdOf(inA->second)) + ")");
            continue;
        }
        const XETile& now = *b.at(inB->second);
        if (inA == positionsA.end()) {
            add(cell_, ChangeKind::Descriptions,
                where + " added as location ID " + std::to_string(locationIdOf(inB->second)));
            XETile blank;
            blank.cellIndex = now.cellIndex;
            description(blank, now, where);
            continue;
        }
        if (inA->second != inB->second)
            add(cell_, ChangeKind::Descriptions,
                where + ": location ID "
                    + change(std::to_string(locationIdOf(inA->second)), std::to_string(locationIdOf(inB->second))));
        description(*a.at(inA->second), now, where);
    }
}

int sortKey(int cellIndex) { return cellIndex == kWholeMap ? -1 : cellIndex < 0 ? kCellCount : cellIndex; }

}  // namespace

void sortByCell(std::vector<MapDifference>& differences)
{
    std::stable_sort(differences.begin(), differences.end(), [](const MapDifference& a, const MapDifference& b) {
        return sortKey(a.cellIndex) < sortKey(b.cellIndex);
    });
}

std::vector<MapDifference> mapDiff(const MapDocument& a, const MapDocument& b)
{
    std::vector<MapDifference> differences;
    Differ differ(differences);
    if (a.mapName != b.mapName)
        differ.add(kWholeMap, ChangeKind::Map, "map name: " + change(quoted(a.mapName), quoted(b.mapName)));
    if (a.tilesetIndex != b.tilesetIndex)
        differ.add(kWholeMap, ChangeKind::Map,
                   "tileset: " + change(std::to_string(a.tilesetIndex), std::to_string(b.tilesetIndex)));
    differ.grid(a.grid, b.grid);
    differ.descriptions(a.descriptions, b.descriptions);
    sortByCell(differences);
    return differences;
}

}  // namespace xemap
