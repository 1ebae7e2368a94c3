#include "core/mapfile/TmxImport.h"

#include "core/descriptions/RecordFields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <set>
#include <type_traits>

namespace xemap {

namespace {

using namespace tmx;

// Why the map cannot be taken; thrown inside the import only.
struct Refusal {
    std::string reason;
};

[[noreturn]] void refuse(std::string reason) { throw Refusal{std::move(reason)}; }

std::string quoted(std::string_view text) { return '\'' + std::string(text) + '\''; }

// "cell (4, 6)": as the editor shows cells, counted from 1.
std::string cellName(int x, int y) { return "cell (" + std::to_string(x + 1) + ", " + std::to_string(y + 1) + ")"; }

std::optional<std::int32_t> wholeNumber(std::string_view text)
{
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// "a,b": two whole numbers.
std::optional<std::pair<std::int32_t, std::int32_t>> numberPair(std::string_view text)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const auto first = wholeNumber(text.substr(0, comma)), second = wholeNumber(text.substr(comma + 1));
    if (!first || !second)
        return std::nullopt;
    return std::pair{*first, *second};
}

constexpr std::string_view kBlanks = " \t\n";

// A set of properties taken one by one; what is left over has no place in the map.
class PropertyReader {
public:
    PropertyReader(const Properties& properties, std::string where) : properties_(properties), where_(std::move(where))
    {
    }

    std::optional<std::string> take(std::string_view name)
    {
        const auto found = properties_.find(name);
        if (found == properties_.end())
            return std::nullopt;
        taken_.insert(found->first);
        return found->second;
    }
    bool hasPrefix(std::string_view prefix) const
    {
        const auto next = properties_.lower_bound(prefix);
        return next != properties_.end() && next->first.starts_with(prefix);
    }

    std::optional<std::int32_t> number(std::string_view name)
    {
        const auto value = take(name);
        if (!value)
            return std::nullopt;
        const auto parsed = wholeNumber(*value);
        if (!parsed)
            refuse(where_ + "the property " + quoted(name) + " is " + quoted(*value) + ", not a whole number");
        return parsed;
    }
    bool flag(std::string_view name)
    {
        const auto value = take(name).value_or("false");
        if (value != "true" && value != "false")
            refuse(where_ + "the property " + quoted(name) + " is " + quoted(value) + ", not true or false");
        return value == "true";
    }
    // A text field's bytes, with its encoding property.
    std::string text(std::string_view name, std::string_view value)
    {
        const std::string encodingName = std::string(name) + std::string(kEncodingSuffix);
        const std::string encoding = take(encodingName).value_or("");
        auto bytes = fieldBytes(value, encoding);
        if (!bytes)
            refuse(where_ + "the property " + quoted(encodingName) + " is " + quoted(encoding)
                   + ", not latin-1, escaped or latin-1, escaped");
        return std::move(*bytes);
    }
    std::string text(std::string_view name) { return text(name, take(name).value_or("")); }

    void refuseLeftovers(std::string_view owner) const
    {
        for (const auto& [name, value] : properties_)
            if (!taken_.count(name))
                refuse(where_ + "the property " + quoted(name) + " has no place in " + std::string(owner));
    }

private:
    const Properties& properties_;
    std::string where_;  // starts every refusal: "object 7 at cell (2, 3): ", or nothing
    std::set<std::string, std::less<>> taken_;
};

class Importer {
public:
    explicit Importer(const Map& map) : map_(map) {}

    MapDocument document()
    {
        if (map_.tileWidth <= 0 || map_.tileHeight <= 0)
            refuse("the map's tiles have no size");
        PropertyReader properties(map_.properties, "");
        readMapProperties(properties);
        properties.refuseLeftovers("a map");
        readTileLayers();
        readObjects();
        return std::move(document_);
    }

private:
    void readMapProperties(PropertyReader& properties)
    {
        document_.mapName = properties.text(kMapName);
        const auto tileset = properties.number(kTileset);
        if (!tileset)
            refuse("the map property " + quoted(kTileset) + " is missing: the map's tileset is not known");
        document_.tilesetIndex = *tileset;
        for (int layer = 0; layer < kCellLayers; ++layer)
            if (const auto values = properties.take(layerValuesProperty(layer)))
                readLayerValues(layer, *values);
    }

    // "column,row:tile,rotation" entries separated by blanks.
    void readLayerValues(int layer, std::string_view values)
    {
        for (std::size_t start = values.find_first_not_of(kBlanks); start != std::string_view::npos;
             start = values.find_first_not_of(kBlanks, start)) {
            const std::string_view entry = values.substr(start, values.find_first_of(kBlanks, start) - start);
            start += entry.size();
            const std::size_t colon = entry.find(':');
            const auto place = numberPair(entry.substr(0, colon));
            const auto value = colon == std::string_view::npos ? std::nullopt : numberPair(entry.substr(colon + 1));
            if (!place || !insideGrid(place->first, place->second) || !value)
                refuse("the map property " + quoted(layerValuesProperty(layer)) + " has " + quoted(entry)
                       + ", not column,row:tile,rotation of a cell");
            document_.grid.tile(place->first, place->second, layer) = value->first;
            document_.grid.rotation(place->first, place->second, layer) = value->second;
        }
    }

    int cellLayerNamed(const std::string& name) const
    {
        for (int layer = 0; layer < kCellLayers; ++layer)
            if (name == tileLayerName(layer))
                return layer;
        refuse("the tile layer " + quoted(name) + " is none of the cell layers 'cell layer 0' to 'cell layer 5'");
    }

    // The tileset a tile number belongs to: the one with the highest first number not above it.
    const Tileset* tilesetOf(std::uint32_t gid) const
    {
        const Tileset* owner = nullptr;
        for (const Tileset& tileset : map_.tilesets)
            if (tileset.firstGid <= gid && (!owner || tileset.firstGid > owner->firstGid))
                owner = &tileset;
        return owner;
    }

    void readTile(int layer, int x, int y, std::uint32_t gid)
    {
        const std::string where = cellName(x, y) + " of " + tileLayerName(layer) + ": ";
        const auto turn = std::find(kTurnFlags.begin(), kTurnFlags.end(), gid & kFlagBits);
        if (turn == kTurnFlags.end())
            refuse(where + "the tile is mirrored, which no rotation gives");
        const std::uint32_t number = gid & ~kFlagBits;
        const Tileset* tileset = tilesetOf(number);
        const auto sheet = tileset ? tileset->properties.find(kTilesetLayer) : Properties::const_iterator();
        const auto tilesetLayer =
            tileset && sheet != tileset->properties.end() ? wholeNumber(sheet->second) : std::nullopt;
        if (!tilesetLayer)
            refuse(where + "the tile is from " + (tileset ? "the tileset " + quoted(tileset->name) : "no tileset")
                   + ", not from the map's tileset");
        const std::int64_t tile = std::int64_t{number} - tileset->firstGid;
        if (tile >= kSheetTiles)
            refuse(where + "the tile is beyond the " + std::to_string(kSheetTiles) + " tiles of its sheet");
        if (*tilesetLayer != tilesetLayerOf(layer))
            refuse(where + "the tile is from the sheet of tileset layer " + std::to_string(*tilesetLayer)
                   + ", but the cell layer draws from tileset layer " + std::to_string(tilesetLayerOf(layer)));
        document_.grid.tile(x, y, layer) = static_cast<std::int32_t>(tile);
        document_.grid.rotation(x, y, layer) = static_cast<std::int32_t>(turn - kTurnFlags.begin());
    }

    void readTileLayers()
    {
        std::set<int> seen;
        for (const TileLayer& tileLayer : map_.tileLayers) {
            const int layer = cellLayerNamed(tileLayer.name);
            if (!seen.insert(layer).second)
                refuse("two tile layers are " + quoted(tileLayer.name));
            if (tileLayer.gids.size() != static_cast<std::size_t>(kCellCount))
                refuse("the tile layer " + quoted(tileLayer.name) + " is not 32 x 32 cells");
            for (int y = 0; y < kMapSize; ++y)
                for (int x = 0; x < kMapSize; ++x)
                    if (const std::uint32_t gid = tileLayer.gids[static_cast<std::size_t>(y * kMapSize + x)])
                        readTile(layer, x, y, gid);
        }
    }

    // The cell under the middle of an object, if it lies on the map.
    std::optional<GridCell> cellOf(const Object& object) const
    {
        const double x = std::floor((object.x + object.width / 2) / map_.tileWidth);
        const double y = std::floor((object.y + object.height / 2) / map_.tileHeight);
        if (!(x >= 0 && x < kMapSize && y >= 0 && y < kMapSize))
            return std::nullopt;
        return GridCell{static_cast<int>(x), static_cast<int>(y)};
    }

    static std::string objectName(const Object& object, std::optional<GridCell> cell)
    {
        return "object " + std::to_string(object.id) + (cell ? " at " + cellName(cell->x, cell->y) : "") + ": ";
    }

    void readDoors(const Object& object, std::vector<bool>& doorCells)
    {
        const auto cell = cellOf(object);
        if (!cell)
            refuse(objectName(object, cell) + "doors outside the map");
        if (doorCells[static_cast<std::size_t>(cellIndexOf(cell->x, cell->y))])
            refuse(objectName(object, cell) + "the cell has doors already");
        doorCells[static_cast<std::size_t>(cellIndexOf(cell->x, cell->y))] = true;
        PropertyReader properties(object.properties, objectName(object, cell));
        for (int slot = 0; slot < kDoorSlots; ++slot)
            document_.grid.door(cell->x, cell->y, slot) = properties.number(kDoorProperties[slot]).value_or(0);
        properties.refuseLeftovers("doors");
    }

    // Records numbered from 1; the first number with no field ends the list.
    template <class Kind>
    static void readRecords(PropertyReader& properties, XETile& description)
    {
        using Record = typename Kind::Record;
        for (int number = 1; properties.hasPrefix(recordProperty(Kind::noun, number, "")); ++number) {
            const auto field = [&](std::string_view name) { return recordProperty(Kind::noun, number, name); };
            auto record = std::make_shared<Record>();
            record->name = properties.text(field(kRecordName));
            for (std::size_t i = 0; i < Kind::stored.size(); ++i)
                (*record).*Kind::stored[i] = properties.text(field(Kind::storedNames[i]));
            if constexpr (std::is_same_v<Record, XEItem>)
                record->moveable = properties.flag(field(kMoveable));
            record->text = splitLines(properties.text(field(kRecordText)));
            (description.*Kind::records).push_back(std::move(record));
        }
    }

    // The description and where its location ID puts it (objects without one go last).
    std::pair<std::int64_t, TilePtr> readDescription(const Object& object)
    {
        const auto cell = cellOf(object);
        PropertyReader properties(object.properties, objectName(object, cell));
        auto description = std::make_shared<XETile>();
        description->cellIndex = cell ? cellIndexOf(cell->x, cell->y) : -1;
        description->shortName = properties.text(kShortName, object.name);
        const std::int64_t order = properties.number(kLocationId).value_or(std::numeric_limits<std::int32_t>::max());
        description->areaText = splitLines(properties.text(kAreaText));
        forEachRecordKind([&](auto kind) { readRecords<decltype(kind)>(properties, *description); });
        properties.refuseLeftovers("a description");
        return {order, std::move(description)};
    }

    void readObjects()
    {
        std::vector<bool> doorCells(kCellCount, false);
        std::vector<std::pair<std::int64_t, TilePtr>> descriptions;
        for (const Object& object : map_.objects) {
            if (object.type == kDoorsType)
                readDoors(object, doorCells);
            else if (object.type == kDescriptionType)
                descriptions.push_back(readDescription(object));
            else
                refuse(objectName(object, cellOf(object)) + "its type " + quoted(object.type)
                       + " is neither description nor doors");
        }
        std::stable_sort(descriptions.begin(), descriptions.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [order, description] : descriptions)
            document_.descriptions.append(std::move(description));
    }

    const Map& map_;
    MapDocument document_;
};

}  // namespace

Result<MapDocument> importTmx(const tmx::Map& map, const std::string& file)
{
    try {
        return Importer(map).document();
    } catch (const Refusal& refusal) {
        return Fault{Fault::Kind::Malformed, file, 0, refusal.reason};
    }
}

}  // namespace xemap
