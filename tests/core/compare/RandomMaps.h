#pragma once

#include "core/compare/MapWords.h"
#include "core/document/MapDocument.h"

#include <algorithm>
#include <random>
#include <string>

namespace xemap::testing {

// A copy that shares nothing with the original, so that editing it leaves the original.
inline MapDocument deepCopy(const MapDocument& document)
{
    MapDocument copy = document;
    std::vector<TilePtr> tiles;
    for (const TilePtr& tile : document.descriptions.tiles()) {
        tiles.push_back(std::make_shared<XETile>(*tile));
        forEachRecordKind([&](auto kind) {
            for (auto& record : (*tiles.back()).*kind.records)
                record = std::make_shared<std::decay_t<decltype(*record)>>(*record);
        });
    }
    copy.descriptions.assign(std::move(tiles));
    return copy;
}

// Small random maps and edits: few values, so that two edits often meet on one cell,
// description or record.
class RandomMaps {
public:
    explicit RandomMaps(unsigned seed) : random_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    std::string word() { return std::string(1, static_cast<char>('A' + below(3))); }

    MapDocument map()
    {
        MapDocument document;
        document.mapName = word();
        for (int i = below(40); i > 0; --i)
            paint(document);
        for (int i = below(6); i > 0; --i)
            addDescription(document);
        return document;
    }

    // One to four edits of any kind, on a copy.
    MapDocument edited(const MapDocument& original)
    {
        MapDocument document = deepCopy(original);
        for (int i = 1 + below(4); i > 0; --i)
            edit(document);
        return document;
    }

private:
    // Cells near the corner, so that edits meet.
    int cell() { return below(4) * kMapSize + below(4); }

    void paint(MapDocument& document)
    {
        const auto [x, y] = gridCellOf(cell());
        const int layer = below(kCellLayers);
        if (below(3) == 0)
            document.grid.door(x, y, below(kDoorSlots)) = below(5) - 2;
        else
            document.grid.tile(x, y, layer) = below(4), document.grid.rotation(x, y, layer) = below(4);
    }

    template <class Record>
    void addRecord(RecordList<Record>& list)
    {
        auto record = std::make_shared<Record>();
        record->name = word();
        forEachRecordField<Record>([&](std::string_view, auto member) { change((*record).*member); });
        list.insert(list.begin() + below(static_cast<int>(list.size()) + 1), record);
    }

    template <class Field>
    void change(Field& field)
    {
        if constexpr (std::is_same_v<Field, bool>)
            field = below(2) == 1;
        else if constexpr (std::is_same_v<Field, StringList>)
            field = StringList(below(3), word());
        else
            field = word();
    }

    void addDescription(MapDocument& document)
    {
        auto tile = std::make_shared<XETile>();
        tile->cellIndex = below(5) == 0 ? -1 : cell();
        tile->shortName = word();
        tile->areaText = StringList(below(3), word());
        forEachRecordKind([&](auto kind) {
            for (int i = below(3); i > 0; --i)
                addRecord((*tile).*kind.records);
        });
        document.descriptions.insert(below(document.descriptions.size() + 1), tile);
    }

    template <class Record>
    void editRecords(RecordList<Record>& list)
    {
        const int choice = below(3);
        if (choice == 0 || list.empty())
            return addRecord(list);
        const auto at = list.begin() + below(static_cast<int>(list.size()));
        if (choice == 1)
            return void(list.erase(at));
        int field = 0, chosen = below(8);
        forEachRecordField<Record>([&](std::string_view, auto member) {
            if (field++ == chosen)
                change((**at).*member);
        });
    }

    void edit(MapDocument& document)
    {
        auto& list = document.descriptions;
        switch (below(list.empty() ? 3 : 7)) {
        case 0: paint(document); break;
        case 1: addDescription(document); break;
        case 2: document.mapName = word(); break;
        case 3: list.removeAt(below(list.size())); break;
        case 4: list.at(below(list.size()))->shortName = word(); break;
        case 5: list.at(below(list.size()))->areaText = StringList(below(3), word()); break;
        default: {
            XETile& tile = *list.at(below(list.size()));
            int kindIndex = 0;
            const int chosen = below(kSectionCount);
            forEachRecordKind([&](auto kind) {
                if (kindIndex++ == chosen)
                    editRecords(tile.*kind.records);
            });
        }
        }
    }

    std::mt19937 random_;
};

}  // namespace xemap::testing
