#include "core/mapfile/TmxWriter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace xemap {

namespace {

constexpr int kTmxTileSize = 80;
constexpr int kTmxSheetSize = 802;
constexpr int kSheetTiles = 100;

// Tiled's flip flags in the top bits of a tile number; a turn is a pair of flips.
constexpr std::uint32_t kFlipHorizontal = 0x80000000u;
constexpr std::uint32_t kFlipVertical = 0x40000000u;
constexpr std::uint32_t kFlipDiagonal = 0x20000000u;
constexpr std::array<std::uint32_t, 4> kTurnFlags{0, kFlipDiagonal | kFlipHorizontal, kFlipHorizontal | kFlipVertical,
                                                  kFlipDiagonal | kFlipVertical};

constexpr std::array<const char*, kDoorSlots> kDoorNames{"door north", "door east", "door south", "door west",
                                                         "door center"};

// The base sheet feeds cell layers 0 and 1.
constexpr int tilesetLayerOf(int cellLayer) { return cellLayer <= 1 ? 0 : cellLayer - 1; }

// Latin-1 text as UTF-8 with XML's special characters escaped; control characters
// that XML cannot hold are left out, line breaks kept.
std::string xmlText(const std::string& latin1)
{
    std::string out;
    for (const char byte : latin1) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x80) {
            out += static_cast<char>(0xc0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3f));
        } else if (byte == '&') {
            out += "&amp;";
        } else if (byte == '<') {
            out += "&lt;";
        } else if (byte == '>') {
            out += "&gt;";
        } else if (byte == '"') {
            out += "&quot;";
        } else if (code >= 0x20 || byte == '\n' || byte == '\t') {
            out += byte;
        }
    }
    return out;
}

std::string attribute(const char* name, const std::string& value)
{
    return std::string(" ") + name + "=\"" + value + '"';
}
std::string attribute(const char* name, long long value) { return attribute(name, std::to_string(value)); }

// "tilesets/indoor_bases.bmp" names its tileset "indoor_bases".
std::string fileStem(const std::string& path)
{
    const std::size_t start = path.find_last_of('/') + 1;
    const std::size_t dot = path.find_last_of('.');
    return path.substr(start, dot == std::string::npos || dot < start ? std::string::npos : dot - start);
}

std::string joinedLines(const StringList& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\n" : "") + lines[i];
    return text;
}

class TmxDocument {
public:
    TmxDocument(const MapDocument& document, int cellLayerCount, const std::vector<TmxTileSheet>& sheets)
        : document_(document), layers_(std::clamp(cellLayerCount, 1, kCellLayers)), sheets_(sheets)
    {
    }

    std::string text()
    {
        out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        out_ += "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\""
                + attribute("width", kMapSize) + attribute("height", kMapSize) + attribute("tilewidth", kTmxTileSize)
                + attribute("tileheight", kTmxTileSize) + " infinite=\"0\"" + attribute("nextlayerid", layers_ + 2)
                + attribute("nextobjectid", objectCells().size() + 1) + ">\n";
        for (std::size_t i = 0; i < sheets_.size(); ++i)
            writeTileset(sheets_[i], firstGid(i));
        for (int layer = 0; layer < layers_; ++layer)
            writeTileLayer(layer);
        writeObjectLayer();
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

    void writeTileset(const TmxTileSheet& sheet, std::uint32_t gid)
    {
        out_ += " <tileset" + attribute("firstgid", gid) + attribute("name", xmlText(fileStem(sheet.imagePath)))
                + attribute("tilewidth", kTmxTileSize) + attribute("tileheight", kTmxTileSize)
                + " spacing=\"0\" margin=\"1\"" + attribute("tilecount", kSheetTiles) + " columns=\"10\">\n";
        out_ += "  <image" + attribute("source", xmlText(sheet.imagePath)) + " trans=\"ff00ff\""
                + attribute("width", kTmxSheetSize) + attribute("height", kTmxSheetSize) + "/>\n";
        out_ += " </tileset>\n";
    }

    // The tile number of a cell layer, 0 where nothing is drawn.
    std::uint32_t gidAt(int x, int y, int layer, std::optional<std::size_t> sheet) const
    {
        const MapGrid& grid = document_.grid;
        const std::int32_t tile = grid.tile(x, y, layer);
        const std::int32_t rotation = grid.rotation(x, y, layer);
        if (!sheet || (layer > 0 && grid.layerEmpty(x, y, layer)) || tile < 0 || tile >= kSheetTiles || rotation < 0
            || rotation >= static_cast<int>(kTurnFlags.size()))
            return 0;
        return (firstGid(*sheet) + static_cast<std::uint32_t>(tile)) | kTurnFlags[rotation];
    }

    void writeTileLayer(int layer)
    {
        const auto sheet = sheetOf(tilesetLayerOf(layer));
        out_ += " <layer" + attribute("id", layer + 1) + attribute("name", "cell layer " + std::to_string(layer))
                + attribute("width", kMapSize) + attribute("height", kMapSize) + ">\n  <data encoding=\"csv\">\n";
        for (int y = 0; y < kMapSize; ++y) {
            for (int x = 0; x < kMapSize; ++x) {
                out_ += std::to_string(gidAt(x, y, layer, sheet));
                if (x + 1 < kMapSize || y + 1 < kMapSize)
                    out_ += ',';
            }
            out_ += '\n';
        }
        out_ += "  </data>\n </layer>\n";
    }

    // Cells with a description or a door, row by row.
    std::vector<int> objectCells() const
    {
        std::vector<int> cells;
        for (int cell = 0; cell < kCellCount; ++cell)
            if (document_.descriptions.find(cell) || document_.grid.hasDoor(cell % kMapSize, cell / kMapSize))
                cells.push_back(cell);
        return cells;
    }

    void writeProperty(const char* name, const std::string& type, const std::string& value)
    {
        out_ += "    <property" + attribute("name", name);
        if (!type.empty())
            out_ += attribute("type", type);
        if (value.find('\n') == std::string::npos)
            out_ += attribute("value", value) + "/>\n";
        else
            out_ += ">" + value + "</property>\n";
    }

    void writeObject(int id, int cell)
    {
        const int x = cell % kMapSize, y = cell / kMapSize;
        const auto position = document_.descriptions.find(cell);
        out_ += "  <object" + attribute("id", id);
        if (position)
            out_ += attribute("name", xmlText(document_.descriptions.at(*position)->shortName));
        out_ += attribute("x", x * kTmxTileSize) + attribute("y", y * kTmxTileSize) + attribute("width", kTmxTileSize)
                + attribute("height", kTmxTileSize) + ">\n   <properties>\n";
        if (position) {
            const XETile& description = *document_.descriptions.at(*position);
            writeProperty("location ID", "int", std::to_string(locationIdOf(*position)));
            writeProperty("short name", "", xmlText(description.shortName));
            writeProperty("area text", "", xmlText(joinedLines(description.areaText)));
        }
        for (int slot = 0; slot < kDoorSlots; ++slot)
            if (const std::int32_t door = document_.grid.door(x, y, slot); door != 0)
                writeProperty(kDoorNames[slot], "int", std::to_string(door));
        out_ += "   </properties>\n  </object>\n";
    }

    void writeObjectLayer()
    {
        out_ += " <objectgroup" + attribute("id", layers_ + 1) + " name=\"descriptions\">\n";
        int id = 0;
        for (const int cell : objectCells())
            writeObject(++id, cell);
        out_ += " </objectgroup>\n";
    }

    const MapDocument& document_;
    const int layers_;
    const std::vector<TmxTileSheet>& sheets_;
    std::string out_;
};

}  // namespace

std::string writeTmx(const MapDocument& document, int cellLayerCount, const std::vector<TmxTileSheet>& sheets)
{
    return TmxDocument(document, cellLayerCount, sheets).text();
}

}  // namespace xemap
