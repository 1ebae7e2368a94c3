#include "core/compare/MapMerge.h"

#include "core/compare/DescriptionMatch.h"
#include "core/compare/MapWords.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
#include <set>

namespace xemap {

namespace {

using Keys = std::vector<DescriptionKey>;

// The keys of seq that pass keep, in seq's order.
template <class Keep>
Keys keysWhere(const Keys& seq, Keep keep)
{
    Keys kept;
    std::copy_if(seq.begin(), seq.end(), std::back_inserter(kept), keep);
    return kept;
}

// Additions of a side stand before the skeleton item that follows them on that side (or
// at the end, place n); at one place, OURS's come before THEIRS's. "Before the next" is
// how the editor places a description (Change Location ID inserts before a tile), and it
// keeps additions that both sides appended at the end.
template <class Item>
class Anchored {
public:
    explicit Anchored(std::size_t places) : before_(places + 1) {}
    // Items of a side in order; placeOf gives the skeleton place of an item of the
    // skeleton, or nothing for an addition.
    template <class PlaceOf>
    void addSide(const std::vector<Item>& side, PlaceOf placeOf)
    {
        std::vector<Item> pending;
        for (const Item& item : side) {
            if (const std::optional<std::size_t> place = placeOf(item)) {
                flush(pending, *place);
            } else {
                pending.push_back(item);
            }
        }
        flush(pending, before_.size() - 1);
    }
    std::vector<Item>& at(std::size_t place) { return before_[place]; }

private:
    void flush(std::vector<Item>& pending, std::size_t place)
    {
        before_[place].insert(before_[place].end(), pending.begin(), pending.end());
        pending.clear();
    }

    std::vector<std::vector<Item>> before_;
};

class Merger {
public:
    Merger(const MapDocument& base, const MapDocument& ours, const MapDocument& theirs)
        : base_(base), ours_(ours), theirs_(theirs)
    {
    }

    MergeResult run();

private:
    // OURS's value where both sides changed it differently, and the conflict named; where()
    // and words(value) name them only then.
    template <class T, class Where, class Words>
    T take(const T& base, const T& ours, const T& theirs, Where where, Words words);
    void conflict(const std::string& where, const std::string& base, const std::string& ours,
                  const std::string& theirs);

    void mergeGrid(MapGrid& grid);
    void mergeDescriptions(DescriptionList& merged);
    TilePtr mergeDescription(const TilePtr& base, const TilePtr& ours, const TilePtr& theirs, const std::string& where);
    TilePtr pickDescription(const TilePtr& base, const TilePtr& ours, const TilePtr& theirs, const std::string& where);
    template <class Record>
    RecordList<Record> mergeRecords(const RecordList<Record>& base, const RecordList<Record>& ours,
                                    const RecordList<Record>& theirs, const std::string& where);
    template <class Record>
    std::shared_ptr<Record> mergeRecord(const std::shared_ptr<Record>& base, const std::shared_ptr<Record>& ours,
                                        const std::shared_ptr<Record>& theirs, const std::string& where);
    Keys mergedOrder(const Keys& base, const Keys& ours, const Keys& theirs,
                     const std::map<DescriptionKey, TilePtr>& kept);
    void listLocationIdChanges(const Keys& order, const DescriptionList& merged, const Keys& ours, const Keys& theirs);

    const MapDocument& base_;
    const MapDocument& ours_;
    const MapDocument& theirs_;
    MergeResult result_;
    // What the next conflict is about.
    int cell_ = kWholeMap;
    ChangeKind kind_ = ChangeKind::Map;
};

void Merger::conflict(const std::string& where, const std::string& base, const std::string& ours,
                      const std::string& theirs)
{
    result_.conflicts.push_back({cell_, kind_, where + ": base " + base + " / ours " + ours + " / theirs " + theirs});
}

template <class T, class Where, class Words>
T Merger::take(const T& base, const T& ours, const T& theirs, Where where, Words words)
{
    if (ours == theirs || theirs == base)
        return ours;
    if (ours == base)
        return theirs;
    conflict(where(), words(base), words(ours), words(theirs));
    return ours;
}

void Merger::mergeGrid(MapGrid& grid)
{
    using Layer = std::pair<std::int32_t, std::int32_t>;
    for (int cell = 0; cell < kCellCount; ++cell) {
        cell_ = cell;
        // Plain names: the fuzz build's clang cannot capture a structured binding in a lambda.
        const auto place = gridCellOf(cell);
        const int x = place.x, y = place.y;
        const auto layerOf = [&](const MapGrid& side, int layer) {
            return Layer{side.tile(x, y, layer), side.rotation(x, y, layer)};
        };
        kind_ = ChangeKind::Tiles;
        for (int layer = 0; layer < kCellLayers; ++layer) {
            const auto words = [layer](const Layer& value) { return layerWords(layer, value.first, value.second); };
            const Layer merged = take(
                layerOf(base_.grid, layer), layerOf(ours_.grid, layer), layerOf(theirs_.grid, layer),
                [&] { return cellName(cell) + " " + std::string(layerName(layer)); }, words);
            grid.tile(x, y, layer) = merged.first;
            grid.rotation(x, y, layer) = merged.second;
        }
        kind_ = ChangeKind::Doors;
        for (int slot = 0; slot < kDoorSlots; ++slot)
            grid.door(x, y, slot) = take(
                base_.grid.door(x, y, slot), ours_.grid.door(x, y, slot), theirs_.grid.door(x, y, slot),
                [&] { return cellName(cell) + " " + doorSlotName(slot); },
                [slot](std::int32_t value) { return doorWords(slot, value); });
    }
}

template <class Record>
std::shared_ptr<Record> Merger::mergeRecord(const std::shared_ptr<Record>& base, const std::shared_ptr<Record>& ours,
                                            const std::shared_ptr<Record>& theirs, const std::string& where)
{
    if (*ours == *base)
        return theirs;
    if (*theirs == *base)
        return ours;
    auto merged = std::make_shared<Record>(*ours);
    forEachRecordField<Record>([&](std::string_view label, auto member) {
        (*merged).*member =
            take((*base).*member, (*ours).*member, (*theirs).*member, [&] { return where + ": " + std::string(label); },
                 [](const auto& v) { return fieldWords(v); });
    });
    return merged;
}

template <class Record>
RecordList<Record> Merger::mergeRecords(const RecordList<Record>& base, const RecordList<Record>& ours,
                                        const RecordList<Record>& theirs, const std::string& where)
{
    using Ptr = std::shared_ptr<Record>;
    // For each base record, the record standing for it on a side, and each side's additions.
    std::vector<Ptr> inOurs(base.size()), inTheirs(base.size());
    Anchored<Ptr> oursAdded(base.size()), theirsAdded(base.size());
    const auto sort = [&](const RecordList<Record>& side, std::vector<Ptr>& matched, Anchored<Ptr>& added) {
        const auto match = matchRecords(base, side);
        for (std::size_t j = 0; j < side.size(); ++j)
            if (match[j])
                matched[*match[j]] = side[j];
        std::size_t j = 0;
        added.addSide(side, [&](const Ptr&) { return match[j++]; });
    };
    sort(ours, inOurs, oursAdded);
    sort(theirs, inTheirs, theirsAdded);

    RecordList<Record> merged;
    const auto appendAdditions = [&](std::size_t place) {
        std::vector<Ptr>& mine = oursAdded.at(place);
        merged.insert(merged.end(), mine.begin(), mine.end());
        // The same record added at the same place by both sides is kept once.
        for (const Ptr& record : theirsAdded.at(place)) {
            const auto twin =
                std::find_if(mine.begin(), mine.end(), [&](const Ptr& added) { return added && *added == *record; });
            if (twin != mine.end())
                twin->reset();
            else
                merged.push_back(record);
        }
    };
    for (std::size_t i = 0; i < base.size(); ++i) {
        appendAdditions(i);
        const std::string name = where + ": " + recordName(*base[i]);
        const Ptr& ours = inOurs[i];
        const Ptr& theirs = inTheirs[i];
        if (ours && theirs)
            merged.push_back(mergeRecord(base[i], ours, theirs, name));
        else if (ours && !(*ours == *base[i]))
            conflict(name, "as it was", "changed", "removed"), merged.push_back(ours);
        else if (theirs && !(*theirs == *base[i]))
            conflict(name, "as it was", "removed", "changed");
    }
    appendAdditions(base.size());
    return merged;
}

TilePtr Merger::mergeDescription(const TilePtr& base, const TilePtr& ours, const TilePtr& theirs,
                                 const std::string& where)
{
    if (sameContents(*ours, *base))
        return theirs;
    if (sameContents(*theirs, *base))
        return ours;
    auto merged = std::make_shared<XETile>(*ours);
    merged->shortName = take(
        base->shortName, ours->shortName, theirs->shortName, [&] { return where + ": short name"; },
        [](const std::string& v) { return quoted(v); });
    merged->areaText = take(
        base->areaText, ours->areaText, theirs->areaText, [&] { return where + ": area text"; },
        [](const StringList& v) { return quoted(v); });
    forEachRecordKind([&](auto kind) {
        (*merged).*kind.records =
            mergeRecords((*base).*kind.records, (*ours).*kind.records, (*theirs).*kind.records, where);
    });
    return merged;
}

// A description missing from one side or more; nothing when it is removed.
TilePtr Merger::pickDescription(const TilePtr& base, const TilePtr& ours, const TilePtr& theirs,
                                const std::string& where)
{
    const auto name = [](const TilePtr& tile) { return quoted(tile->shortName); };
    if (!base) {
        if (ours && theirs && !sameContents(*ours, *theirs))
            conflict(where, "none", "added " + name(ours), "added " + name(theirs));
        return ours ? ours : theirs;
    }
    // Only one side still has it: the other removed it.
    if (ours && !sameContents(*ours, *base)) {
        conflict(where, name(base), "changed", "removed");
        return ours;
    }
    if (theirs && !sameContents(*theirs, *base))
        conflict(where, name(base), "removed", "changed");
    return nullptr;
}

// The order of the descriptions both sides kept from the base is the one of the side that
// changed it (OURS's when both did); every other description stands before the one that
// follows it on its side.
Keys Merger::mergedOrder(const Keys& base, const Keys& ours, const Keys& theirs,
                         const std::map<DescriptionKey, TilePtr>& kept)
{
    const std::set<DescriptionKey> inBase(base.begin(), base.end()), inOurs(ours.begin(), ours.end()),
        inTheirs(theirs.begin(), theirs.end());
    const auto isIn = [](const std::set<DescriptionKey>& set) {
        return [&set](const DescriptionKey& key) { return set.count(key) > 0; };
    };
    const auto survives = [&](const DescriptionKey& key) { return inBase.count(key) && kept.count(key); };
    const bool oursReordered = keysWhere(ours, isIn(inBase)) != keysWhere(base, isIn(inOurs));
    const bool theirsReordered = keysWhere(theirs, isIn(inBase)) != keysWhere(base, isIn(inTheirs));
    const Keys* skeletonSide = theirsReordered && !oursReordered ? &theirs : &ours;
    if (oursReordered && theirsReordered) {
        const auto common = [&](const DescriptionKey& key) {
            return survives(key) && inOurs.count(key) && inTheirs.count(key);
        };
        if (keysWhere(ours, common) != keysWhere(theirs, common)) {
            cell_ = kWholeMap;
            conflict("descriptions: order", "as it was", "changed", "changed differently");
        }
    }
    const Keys skeleton = keysWhere(*skeletonSide, survives);
    const std::map<DescriptionKey, int> place = keyPositions(skeleton);
    Anchored<DescriptionKey> added(skeleton.size());
    std::set<DescriptionKey> placed(skeleton.begin(), skeleton.end());
    for (const Keys* side : {&ours, &theirs}) {
        // What the merge removed stands nowhere; what the other side placed already stays there.
        added.addSide(keysWhere(*side,
                                [&](const DescriptionKey& key) {
                                    return place.count(key) || (kept.count(key) && placed.insert(key).second);
                                }),
                      [&](const DescriptionKey& key) -> std::optional<std::size_t> {
                          const auto found = place.find(key);
                          if (found == place.end())
                              return std::nullopt;
                          return static_cast<std::size_t>(found->second);
                      });
    }
    Keys order;
    for (std::size_t i = 0; i <= skeleton.size(); ++i) {
        const Keys& before = added.at(i);
        order.insert(order.end(), before.begin(), before.end());
        if (i < skeleton.size())
            order.push_back(skeleton[i]);
    }
    return order;
}

void Merger::listLocationIdChanges(const Keys& order, const DescriptionList& merged, const Keys& ours,
                                   const Keys& theirs)
{
    const auto inOurs = keyPositions(ours), inTheirs = keyPositions(theirs);
    for (std::size_t position = 0; position < order.size(); ++position) {
        const int id = locationIdOf(static_cast<int>(position));
        std::string before;
        for (const auto& [side, positions] : {std::pair{"ours", &inOurs}, std::pair{"theirs", &inTheirs}}) {
            const auto found = positions->find(order[position]);
            if (found != positions->end() && locationIdOf(found->second) != id)
                before += (before.empty() ? "" : ", ") + std::to_string(locationIdOf(found->second)) + " in " + side;
        }
        if (!before.empty())
            result_.locationIdChanges.push_back(descriptionName(order[position]) + " "
                                                + quoted(merged.at(static_cast<int>(position))->shortName)
                                                + ": location ID " + before + " → " + std::to_string(id));
    }
}

void Merger::mergeDescriptions(DescriptionList& merged)
{
    const Keys base = descriptionKeys(base_.descriptions), ours = descriptionKeys(ours_.descriptions),
               theirs = descriptionKeys(theirs_.descriptions);
    const auto inBase = keyPositions(base), inOurs = keyPositions(ours), inTheirs = keyPositions(theirs);
    const auto tileAt = [](const DescriptionList& list, const std::map<DescriptionKey, int>& positions,
                           const DescriptionKey& key) {
        const auto found = positions.find(key);
        return found == positions.end() ? TilePtr() : list.at(found->second);
    };
    std::set<DescriptionKey> all(base.begin(), base.end());
    all.insert(ours.begin(), ours.end());
    all.insert(theirs.begin(), theirs.end());
    std::map<DescriptionKey, TilePtr> kept;
    kind_ = ChangeKind::Descriptions;
    for (const DescriptionKey& key : all) {
        cell_ = key.cellIndex;
        const TilePtr b = tileAt(base_.descriptions, inBase, key), o = tileAt(ours_.descriptions, inOurs, key),
                      t = tileAt(theirs_.descriptions, inTheirs, key);
        const std::string where = descriptionName(key);
        if (TilePtr tile = b && o && t ? mergeDescription(b, o, t, where) : pickDescription(b, o, t, where))
            kept.emplace(key, std::move(tile));
    }
    const Keys order = mergedOrder(base, ours, theirs, kept);
    std::vector<TilePtr> tiles;
    tiles.reserve(order.size());
    for (const DescriptionKey& key : order)
        tiles.push_back(kept.at(key));
    merged.assign(std::move(tiles));
    listLocationIdChanges(order, merged, ours, theirs);
}

MergeResult Merger::run()
{
    MapDocument& merged = result_.document;
    merged.mapFileName = ours_.mapFileName;
    merged.mapDirectory = ours_.mapDirectory;
    merged.mapName = take(
        base_.mapName, ours_.mapName, theirs_.mapName, [] { return std::string("map name"); },
        [](const std::string& v) { return quoted(v); });
    merged.tilesetIndex = take(
        base_.tilesetIndex, ours_.tilesetIndex, theirs_.tilesetIndex, [] { return std::string("tileset"); },
        [](std::int32_t v) { return std::to_string(v); });
    mergeGrid(merged.grid);
    mergeDescriptions(merged.descriptions);
    sortByCell(result_.conflicts);
    return std::move(result_);
}

}  // namespace

MergeResult mergeMaps(const MapDocument& base, const MapDocument& ours, const MapDocument& theirs)
{
    return Merger(base, ours, theirs).run();
}

}  // namespace xemap
