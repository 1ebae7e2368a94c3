#pragma once

#include "core/descriptions/Xeobject.h"
#include "core/document/MapGrid.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The TMX map as the tmx command writes it and import reads it back, also after Tiled
// saved it again: what Tiled shows (tile layers, objects on their cells) is the map, and
// properties hold what it cannot show. Tiled sorts properties by name, so nothing
// depends on their order.
namespace xemap::tmx {

inline constexpr int kTileSize = 80;
inline constexpr int kSheetSize = 802;
inline constexpr int kSheetTiles = 100;
inline constexpr int kSheetColumns = 10;

// Tiled's flip flags in the top bits of a tile number; a quarter turn is a pair of flips.
// The fourth bit turns hexagonal tiles, which no cell of a map does.
inline constexpr std::uint32_t kFlipHorizontal = 0x80000000u;
inline constexpr std::uint32_t kFlipVertical = 0x40000000u;
inline constexpr std::uint32_t kFlipDiagonal = 0x20000000u;
inline constexpr std::uint32_t kFlagBits = 0xF0000000u;
inline constexpr std::array<std::uint32_t, 4> kTurnFlags{
    0, kFlipDiagonal | kFlipHorizontal, kFlipHorizontal | kFlipVertical, kFlipDiagonal | kFlipVertical};

// The base sheet feeds cell layers 0 and 1.
constexpr int tilesetLayerOf(int cellLayer) { return cellLayer <= 1 ? 0 : cellLayer - 1; }

// Map properties.
inline constexpr std::string_view kMapName = "map name";
inline constexpr std::string_view kTileset = "tileset";
// The values of a cell layer that its tile layer cannot show (no tile layer, a tile or
// turn out of range, the turn of an empty layer): "column,row:tile,rotation" entries,
// column and row counted from 0 as Tiled counts them.
std::string layerValuesProperty(int cellLayer);
std::string tileLayerName(int cellLayer);
// The tileset property that says which sheet of the map's tileset a TMX tileset is.
inline constexpr std::string_view kTilesetLayer = "tileset layer";

// Objects: one per cell with doors, one per description in an object layer of each.
inline constexpr std::string_view kDoorsType = "doors";
inline constexpr std::string_view kDescriptionType = "description";
inline constexpr std::array<std::string_view, kDoorSlots> kDoorProperties{"north", "east", "south", "west", "center"};
// A description's short name is its object's name.
inline constexpr std::string_view kShortName = "short name";
inline constexpr std::string_view kLocationId = "location ID";
inline constexpr std::string_view kAreaText = "area text";
// Record fields: "npc 2 race", in lower case; name, the kind's stored fields, text, and an
// item's flag.
inline constexpr std::string_view kRecordName = "name";
inline constexpr std::string_view kRecordText = "text";
inline constexpr std::string_view kMoveable = "can be taken";
std::string recordProperty(std::string_view noun, int number, std::string_view field);

// A text field as a property value: the field's bytes in the form the windows show them.
// A field that is Latin-1, or that holds characters XML cannot keep (control characters,
// a carriage return, line breaks with nothing but blanks around them), carries a second
// property, the field's name + kEncodingSuffix, saying so; escaped text writes those
// characters and the backslash as \xHH, \uHHHH and \\.
inline constexpr std::string_view kEncodingSuffix = " encoding";
struct TextProperty {
    std::string value;
    std::string encoding;  // empty for UTF-8 text kept as it is
};
TextProperty textProperty(std::string_view bytes);
// The field's bytes again; nothing when the encoding is none of those textProperty gives.
std::optional<std::string> fieldBytes(std::string_view value, std::string_view encoding);

// Lines as one text: a last line that is empty is followed by a line break, so that a
// list of one empty line differs from an empty list, and a line break at the end of a
// text ends its last line.
std::string joinedLines(const StringList& lines);
StringList splitLines(std::string_view text);

// What import takes from a TMX file: values as Tiled writes them, text in UTF-8.
using Properties = std::map<std::string, std::string, std::less<>>;

struct Tileset {
    std::string name;
    std::int64_t firstGid = 0;
    Properties properties;
};

struct TileLayer {
    std::string name;
    std::vector<std::uint32_t> gids;  // 32 × 32, row by row
};

struct Object {
    std::int64_t id = 0;
    std::string name;
    std::string type;  // Tiled's "type", or "class" from Tiled 1.9 on
    double x = 0, y = 0, width = 0, height = 0;
    Properties properties;
};

// A map of 32 x 32 cells: the parser refuses any other.
struct Map {
    int tileWidth = 0, tileHeight = 0;
    Properties properties;
    std::vector<Tileset> tilesets;
    std::vector<TileLayer> tileLayers;
    std::vector<Object> objects;
};

}  // namespace xemap::tmx
