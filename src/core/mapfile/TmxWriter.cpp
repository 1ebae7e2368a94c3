#include "core/mapfile/TmxWriter.h"

#include "core/descriptions/RecordFields.h"
#include "core/mapfile/TmxFormat.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <type_traits>

namespace xemap {

namespace {

using namespace tmx;

// A description is a square on its cell; later ones on the same cell are drawn smaller
// inside it, so that Tiled shows each.
constexpr int kNestedInset = 8;
constexpr int kMostNested = 4;

std::string xmlEscaped(std::string_view text, bool inAttribute)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += inAttribute ? "&quot;" : "\""; break;
        case '\t': out += inAttribute ? "&#9;" : "\t"; break;
        case '\n': out += inAttribute ? "&#10;" : "\n"; break;
        default: out += c;
        }
    }
    return out;
}

std::string attribute(std::string_view name, std::string_view value)
{
    return ' ' + std::string(name) + "=\"" + xmlEscaped(value, true) + '"';
}
std::string attribute(std::string_view name, long long value) { return attribute(name, std::to_string(value)); }

// "tilesets/indoor_bases.bmp" names its tileset "indoor_bases".
std::string fileStem(const std::string& path)
{
    const std::size_t start = path.find_last_of('/') + 1;
    const std::size_t dot = path.find_last_of('.');
    return path.substr(start, dot == std::string::npos || dot < start ? std::string::npos : dot - start);
}

// Properties as Tiled writes them: a value with a line break as the element's text.
class PropertyWriter {
public:
    PropertyWriter(std::string& out, std::string indent) : out_(out), indent_(std::move(indent)) {}

    void plain(std::string_view name, std::string_view type, std::string_view value)
    {
        if (!opened_)
            out_ += indent_ + "<properties>\n";
        opened_ = true;
        out_ += indent_ + " <property" + attribute("name", name);
        if (!type.empty())
            out_ += attribute("type", type);
        if (value.find('\n') == std::string_view::npos)
            out_ += attribute("value", value) + "/>\n";
        else
            out_ += '>' + xmlEscaped(value, false) + "</property>\n";
    }
    void number(std::string_view name, long long value) { plain(name, "int", std::to_string(value)); }
    void flag(std::string_view name, bool value) { plain(name, "bool", value ? "true" : "false"); }
    void text(std::string_view name, std::string_view bytes)
    {
        const TextProperty property = textProperty(bytes);
        plain(name, "", property.value);
        encoding(name, property.encoding);
    }
    void encoding(std::string_view name, std::string_view encoding)
    {
        if (!encoding.empty())
            plain(std::string(name) + std::string(kEncodingSuffix), "", encoding);
    }
    void close()
    {
        if (opened_)
            out_ += indent_ + "</properties>\n";
        opened_ = false;
    }

private:
    std::string& out_;
    std::string indent_;
    bool opened_ = false;
};

class TmxDocument {
public:
    TmxDocument(const MapDocument& document, int cellLayerCount, const std::vector<TmxTileSheet>& sheets)
        : document_(document), layerCount_(std::clamp(cellLayerCount, 1, kCellLayers)), sheets_(sheets)
    {
        for (int layer = 0; layer < layerCount_; ++layer)
            if (sheetOf(tilesetLayerOf(layer)))
                tileLayers_.push_back(layer);
    }

    std::string text()
    {
        const int objects = doorCellCount() + document_.descriptions.size();
        const int layers = static_cast<int>(tileLayers_.size()) + 2;
        out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        out_ += "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\""
                + attribute("width", kMapSize) + attribute("height", kMapSize) + attribute("tilewidth", kTileSize)
                + attribute("tileheight", kTileSize) + " infinite=\"0\"" + attribute("nextlayerid", layers + 1)
                + attribute("nextobjectid", objects + 1) + ">\n";
        writeMapProperties();
        for (std::size_t i = 0; i < sheets_.size(); ++i)
            writeTileset(sheets_[i], firstGid(i));
        int id = 0;
        for (const int layer : tileLayers_)
            writeTileLayer(++id, layer);
        writeDoors(++id);
        writeDescriptions(++id);
        out_ += "</map>\n";
        return out_;
    }

private:
    static std::uint32_t firstGid(std::size_t sheet) { return 1 + kSheetTiles * static_cast<std::uint32_t>(sheet); }

    std::optional<std::size_t> sheetOf(int tilesetLayer) const
    {
        for (std::size_t i = 0; i < sheets_.size(); ++i)
            if (sheets_[i].tilesetLayer == tilesetLayer)
                return i;
        return std::nullopt;
    }

    bool hasTileLayer(int layer) const
    {
        return std::find(tileLayers_.begin(), tileLayers_.end(), layer) != tileLayers_.end();
    }

    // The tile number Tiled shows for a cell layer, 0 where it shows nothing.
    std::uint32_t gidAt(int x, int y, int layer) const
    {
        const MapGrid& grid = document_.grid;
        const std::int32_t tile = grid.tile(x, y, layer);
        const std::int32_t rotation = grid.rotation(x, y, layer);
        const auto sheet = sheetOf(tilesetLayerOf(layer));
        if (!sheet || !hasTileLayer(layer) || (layer > 0 && grid.layerEmpty(x, y, layer)) || tile < 0
            || tile >= kSheetTiles || rotation < 0 || rotation >= static_cast<int>(kTurnFlags.size()))
            return 0;
        return (firstGid(*sheet) + static_cast<std::uint32_t>(tile)) | kTurnFlags[rotation];
    }

    // Where a cell layer holds what its tile layer does not show, and what import would
    // otherwise take (the layer's empty value, unturned): "column,row:tile,rotation".
    std::string hiddenValues(int layer) const
    {
        const MapGrid& grid = document_.grid;
        std::string values;
        for (int y = 0; y < kMapSize; ++y)
            for (int x = 0; x < kMapSize; ++x) {
                const std::int32_t tile = grid.tile(x, y, layer), rotation = grid.rotation(x, y, layer);
                if (gidAt(x, y, layer) != 0 || (tile == emptyTile(layer) && rotation == 0))
                    continue;
                if (!values.empty())
                    values += ' ';
                values += std::to_string(x) + ',' + std::to_string(y) + ':' + std::to_string(tile) + ','
                          + std::to_string(rotation);
            }
        return values;
    }

    void writeMapProperties()
    {
        PropertyWriter properties(out_, " ");
        properties.text(kMapName, document_.mapName);
        properties.number(kTileset, document_.tilesetIndex);
        for (int layer = 0; layer < kCellLayers; ++layer)
            if (const std::string values = hiddenValues(layer); !values.empty())
                properties.plain(layerValuesProperty(layer), "", values);
        properties.close();
    }

    void writeTileset(const TmxTileSheet& sheet, std::uint32_t gid)
    {
        out_ += " <tileset" + attribute("firstgid", gid) + attribute("name", fileStem(sheet.imagePath))
                + attribute("tilewidth", kTileSize) + attribute("tileheight", kTileSize) + " spacing=\"0\" margin=\"1\""
                + attribute("tilecount", kSheetTiles) + attribute("columns", kSheetColumns) + ">\n";
        PropertyWriter properties(out_, "  ");
        properties.number(kTilesetLayer, sheet.tilesetLayer);
        properties.close();
        out_ += "  <image" + attribute("source", sheet.imagePath) + " trans=\"ff00ff\"" + attribute("width", kSheetSize)
                + attribute("height", kSheetSize) + "/>\n";
        out_ += " </tileset>\n";
    }

    void writeTileLayer(int id, int layer)
    {
        out_ += " <layer" + attribute("id", id) + attribute("name", tileLayerName(layer)) + attribute("width", kMapSize)
                + attribute("height", kMapSize) + ">\n  <data encoding=\"csv\">\n";
        for (int y = 0; y < kMapSize; ++y) {
            for (int x = 0; x < kMapSize; ++x) {
                out_ += std::to_string(gidAt(x, y, layer));
                if (x + 1 < kMapSize || y + 1 < kMapSize)
                    out_ += ',';
            }
            out_ += '\n';
        }
        out_ += "  </data>\n </layer>\n";
    }

    void openObject(std::string_view name, std::string_view type, int x, int y, int size)
    {
        out_ += "  <object" + attribute("id", ++objectId_);
        if (!name.empty())
            out_ += attribute("name", name);
        out_ += attribute("type", type) + attribute("x", x) + attribute("y", y) + attribute("width", size)
                + attribute("height", size) + ">\n";
    }

    int doorCellCount() const
    {
        int cells = 0;
        for (int cell = 0; cell < kCellCount; ++cell)
            cells += document_.grid.hasDoor(gridCellOf(cell).x, gridCellOf(cell).y);
        return cells;
    }

    void writeDoors(int id)
    {
        out_ += " <objectgroup" + attribute("id", id) + attribute("name", "doors") + ">\n";
        for (int cell = 0; cell < kCellCount; ++cell) {
            const auto [x, y] = gridCellOf(cell);
            if (!document_.grid.hasDoor(x, y))
                continue;
            openObject("", kDoorsType, x * kTileSize, y * kTileSize, kTileSize);
            PropertyWriter properties(out_, "   ");
            for (int slot = 0; slot < kDoorSlots; ++slot)
                if (const std::int32_t door = document_.grid.door(x, y, slot); door != 0)
                    properties.number(kDoorProperties[slot], door);
            properties.close();
            out_ += "  </object>\n";
        }
        out_ += " </objectgroup>\n";
    }

    template <class Kind>
    static void writeRecords(PropertyWriter& properties, const XETile& description)
    {
        int number = 0;
        for (const auto& record : description.*Kind::records) {
            const auto field = [&](std::string_view name) { return recordProperty(Kind::noun, number, name); };
            ++number;
            properties.text(field(kRecordName), record->name);
            for (std::size_t i = 0; i < Kind::stored.size(); ++i)
                properties.text(field(Kind::storedNames[i]), (*record).*Kind::stored[i]);
            if constexpr (std::is_same_v<typename Kind::Record, XEItem>)
                properties.flag(field(kMoveable), record->moveable);
            properties.text(field(kRecordText), joinedLines(record->text));
        }
    }

    // On its cell (drawn smaller when others are there before it); a detached
    // description stands in the columns left of the map.
    struct Square {
        int x, y, size;
    };
    static Square squareOf(std::optional<GridCell> cell, int nesting, int detached)
    {
        if (!cell)
            return {-kTileSize * (1 + detached / kMapSize), kTileSize * (detached % kMapSize), kTileSize};
        const int inset = std::min(nesting, kMostNested) * kNestedInset;
        return {cell->x * kTileSize + inset, cell->y * kTileSize + inset, kTileSize - 2 * inset};
    }

    void writeDescription(const XETile& description, int position, Square square)
    {
        const TextProperty shortName = textProperty(description.shortName);
        openObject(shortName.value, kDescriptionType, square.x, square.y, square.size);
        PropertyWriter properties(out_, "   ");
        properties.encoding(kShortName, shortName.encoding);
        properties.number(kLocationId, locationIdOf(position));
        if (!description.areaText.empty())
            properties.text(kAreaText, joinedLines(description.areaText));
        forEachRecordKind([&](auto kind) { writeRecords<decltype(kind)>(properties, description); });
        properties.close();
        out_ += "  </object>\n";
    }

    void writeDescriptions(int id)
    {
        out_ += " <objectgroup" + attribute("id", id) + attribute("name", "descriptions") + ">\n";
        std::vector<int> onCell(kCellCount, 0);
        int detached = 0;
        const auto& tiles = document_.descriptions.tiles();
        for (std::size_t position = 0; position < tiles.size(); ++position) {
            const int cell = tiles[position]->cellIndex;
            const Square square = cell >= 0 && cell < kCellCount ? squareOf(gridCellOf(cell), onCell[cell]++, 0)
                                                                 : squareOf(std::nullopt, 0, detached++);
            writeDescription(*tiles[position], static_cast<int>(position), square);
        }
        out_ += " </objectgroup>\n";
    }

    const MapDocument& document_;
    const int layerCount_;
    const std::vector<TmxTileSheet>& sheets_;
    std::vector<int> tileLayers_;  // the cell layers shown as tile layers
    int objectId_ = 0;
    std::string out_;
};

}  // namespace

std::string writeTmx(const MapDocument& document, int cellLayerCount, const std::vector<TmxTileSheet>& sheets)
{
    return TmxDocument(document, cellLayerCount, sheets).text();
}

}  // namespace xemap
